#include "Drives.h"
#include "FakeDesktop.h"
#include "SpecialFolders.h"
#include "TestEnvironment.h"

#include <QTest>
#include <QUrl>

#include <memory>

// Special folders as this desktop has them, the recent files and the trash, the browse
// buttons' folders, and removable drives told from a fake sysfs.
class tst_SpecialFolders : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup()
    {
        QVERIFY(m_env->dialogs().shown().isEmpty());
        m_env.reset();
    }

    void show_data()
    {
        QTest::addColumn<int>("csidl");
        QTest::addColumn<QString>("path"); // the platform's answer: "" none, "made", "never-made"
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("caption"); // "." for the folder's path
        const QString missing = "The folder does not exist on this system.";
        const QString noPath = "Folder has no path (is a vitual folder).";
        const QString old = "Is either a vitual folder, or Shell32.dll is < v4.71 and it doesn't "
                            "know about the CSIDL value)";
        QTest::newRow("real folder") << 21 << "made" << true << ".";
        QTest::newRow("not made") << 21 << "never-made" << false << missing;
        QTest::newRow("no meaning, above 21") << 33 << "made" << false << old;
        QTest::newRow("a number not offered") << 13 << "made" << false << missing;
        QTest::newRow("empty trash is still shown") << 10 << "" << true << noPath;
    }
    void show()
    {
        QFETCH(int, csidl);
        QFETCH(QString, path);
        QFETCH(bool, visible);
        QFETCH(QString, caption);
        m_env->platform().folders.insert(28, m_env->scratch() + "/data");
        const QString given = path.isEmpty() ? QString() : m_env->scratch() + '/' + path;
        if (!path.isEmpty())
            m_env->platform().folders.insert(csidl, given);
        if (path == "made")
            QDir().mkpath(given);
        const SpecialFolders::Shown shown = SpecialFolders::show(csidl);
        QCOMPARE(shown.visible, visible);
        QCOMPARE(shown.folder, caption == "." ? given : QString());
        QCOMPARE(shown.caption, caption == "." ? given : caption);
        QVERIFY(shown.items.isEmpty());
    }

    // Newest first, only local files that still exist; a damaged list gives what it can.
    void recentFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("names");
        const QByteArray good = "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\">\n%old%new%gone"
                                "<bookmark href=\"https://example.org/\" visited=\"2025-02\"/>\n"
                                "</xbel>\n";
        QTest::newRow("newest first") << good << QStringList{"new er é.txt", "older.txt"};
        QTest::newRow("cut short")
            << QByteArray("<xbel>%old<bookmark href=") << QStringList{"older.txt"};
        QTest::newRow("not XML") << QByteArray("\x00\x01garbage", 9) << QStringList{};
        QTest::newRow("empty") << QByteArray() << QStringList{};
    }
    void recentFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, names);
        const auto bookmark = [](const QString &path, const QString &day) {
            return QString(
                       "<bookmark href=\"%1\" modified=\"%2T10:00:00Z\" visited=\"%2T10:00:00Z\"/>")
                .arg(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded), day)
                .toUtf8();
        };
        content.replace("%old", bookmark(m_env->writeFile("docs/older.txt"), "2023-01-01"))
            .replace("%new", bookmark(m_env->writeFile("docs/new er é.txt"), "2024-05-01"))
            .replace("%gone", bookmark(m_env->scratch() + "/gone.txt", "2025-01-01"));
        QStringList found;
        for (const auto &item : SpecialFolders::recentFiles(m_env->writeFile("r.xbel", content)))
            found << item.name;
        QCOMPARE(found, names);
        QVERIFY(SpecialFolders::recentFiles(m_env->scratch() + "/none.xbel").isEmpty());
    }

    void browseFolders()
    {
        using Browse = SpecialFolders::Browse;
        FakeDesktop fake;
        const DesktopEnvironment env = fake.environment();
        m_env->platform().folders.insert(40, m_env->scratch());
        QVERIFY(SpecialFolders::browseFolder(Browse::MyWebs, env).isEmpty()); // no public_html
        QVERIFY(SpecialFolders::browseFolder(Browse::Themes, env).isEmpty());
        QDir().mkpath(fake.data() + "/themes");
        QCOMPARE(SpecialFolders::browseFolder(Browse::Themes, env), fake.data() + "/themes");
        QDir().mkpath(fake.dataHome() + "/themes");
        QCOMPARE(SpecialFolders::browseFolder(Browse::Themes, env), fake.dataHome() + "/themes");

        QDir().mkpath(fake.data() + "/openclipart");
        QCOMPARE(SpecialFolders::browseFolder(Browse::Clipart, env), fake.data() + "/openclipart");
    }

    void removableDrives_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("removable");
        QTest::addColumn<QString>("mount");
        QTest::newRow("removable disk") << "/dev/sdb" << true << "/mnt/x";
        QTest::newRow("partition of a removable disk") << "/dev/sdb1" << true << "/mnt/x";
        QTest::newRow("partition of a fixed disk") << "/dev/sda2" << false << "/home";
        QTest::newRow("mounted by the desktop") << "/dev/sda2" << true << "/media/u/STICK";
        QTest::newRow("mounted by udisks") << "/dev/nvme0n1p1" << true << "/run/media/u/X";
        QTest::newRow("partition without a disk flag") << "/dev/sdc1" << false << "/mnt/c";
    }
    void removableDrives()
    {
        QFETCH(QString, device);
        QFETCH(QString, mount);
        QFETCH(bool, removable);
        FakeDesktop fake;
        const QString sys = fake.bin() + "/../sys";
        // sysfs: class/block/<name> links to the device folder; a partition's folder lies in
        // its disk's folder.
        const QString devices = sys + "/devices/pci/block";
        fake.write(devices + "/sda/removable", "0\n");
        fake.write(devices + "/sda/sda2/partition", "2\n");
        fake.write(devices + "/sdb/removable", "1\n");
        fake.write(devices + "/sdb/sdb1/partition", "1\n");
        fake.write(devices + "/sdc/sdc1/partition", "1\n");
        QDir().mkpath(sys + "/class/block");
        for (const char *name : {"sda", "sda/sda2", "sdb", "sdb/sdb1", "sdc/sdc1"}) {
            const QString target = devices + '/' + name;
            QFile::link(target, sys + "/class/block/" + QFileInfo(target).fileName());
        }
        QCOMPARE(Drives::isRemovable(device, mount, sys), removable);
    }

    void realDrivesHoldADevice()
    {
        for (const Drives::Drive &drive : Drives::list())
            QVERIFY(drive.device.startsWith("/dev/") && !drive.device.startsWith("/dev/loop"));
    }
};

QTEST_GUILESS_MAIN(tst_SpecialFolders)
#include "tst_SpecialFolders.moc"
