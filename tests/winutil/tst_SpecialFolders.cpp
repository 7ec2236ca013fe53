#include "Drives.h"
#include "FakeDesktop.h"
#include "SpecialFolders.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QTest>
#include <QUrl>

#include <memory>

using Kind = SpecialFolders::Kind;

// Special folders as this desktop has them, the recent files and the trash, the browse
// buttons' folders, and removable drives told from a fake sysfs.
class tst_SpecialFolders : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    QString folder(int number, const QString &relative)
    {
        const QString path = m_env->scratch() + '/' + relative;
        QDir().mkpath(path);
        m_env->platform().folders.insert(number, path);
        return path;
    }
    static QString bookmark(const QString &path, const QString &visited)
    {
        return QStringLiteral("<bookmark href=\"%1\" added=\"%2\" modified=\"%2\" visited=\"%2\"/>")
            .arg(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded), visited);
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup()
    {
        QVERIFY(m_env->dialogs().shown().isEmpty());
        m_env.reset();
    }

    void listOffersTheOldNumbers()
    {
        const auto &entries = SpecialFolders::entries();
        QCOMPARE(entries.size(), 30);
        for (const int missing : {12, 13, 14, 15, 28})
            QVERIFY(SpecialFolders::name(missing).isEmpty());
        QCOMPARE(SpecialFolders::name(10), QStringLiteral("Recycle Bin"));
        QCOMPARE(SpecialFolders::name(33), QStringLiteral("Cookies"));
        QCOMPARE(entries.last().name, QStringLiteral("History"));
        for (qsizetype i = 1; i < entries.size(); ++i)
            QVERIFY(entries.at(i - 1).csidl < entries.at(i).csidl);
    }

    void realFolder()
    {
        const QString documents = m_env->platform().folders.value(5);
        const SpecialFolders::Shown shown = SpecialFolders::show(5);
        QVERIFY(shown.visible);
        QCOMPARE(shown.folder, documents);
        QCOMPARE(shown.caption, documents);
    }

    void missingFolder_data()
    {
        QTest::addColumn<int>("csidl");
        QTest::addColumn<bool>("known");
        QTest::newRow("fonts unknown to the platform") << 20 << false;
        QTest::newRow("templates folder not made") << 21 << true;
    }
    void missingFolder()
    {
        QFETCH(int, csidl);
        QFETCH(bool, known);
        if (known)
            m_env->platform().folders.insert(csidl, m_env->scratch() + "/never-made");
        const SpecialFolders::Shown shown = SpecialFolders::show(csidl);
        QVERIFY(!shown.visible);
        QCOMPARE(shown.caption, QStringLiteral("The folder does not exist on this system."));
    }

    void foldersWithoutMeaning_data()
    {
        QTest::addColumn<int>("csidl");
        QTest::addColumn<QString>("caption");
        const QString missing = "The folder does not exist on this system.";
        QTest::newRow("Control Panel") << 3 << missing;
        QTest::newRow("Printers") << 4 << missing;
        QTest::newRow("Network Neighborhood Directory") << 19 << missing;
        QTest::newRow("Desktop Directory (All Users), above 21")
            << 25
            << "Is either a vitual folder, or Shell32.dll is < v4.71 and it doesn't know "
               "about the CSIDL value)";
        QTest::newRow("Cookies") << 33
                                 << "Is either a vitual folder, or Shell32.dll is < v4.71 and it "
                                    "doesn't know about the CSIDL value)";
        QTest::newRow("a number not offered") << 13 << missing;
    }
    void foldersWithoutMeaning()
    {
        QFETCH(int, csidl);
        QFETCH(QString, caption);
        m_env->platform().folders.insert(csidl, m_env->scratch()); // never asked
        const SpecialFolders::Shown shown = SpecialFolders::show(csidl);
        QVERIFY(!shown.visible);
        QVERIFY(shown.folder.isEmpty());
        QCOMPARE(shown.caption, caption);
    }

    void recycleBinListsTheTrash()
    {
        const QString data = folder(28, "data");
        QDir().mkpath(data + "/Trash/files/old folder");
        m_env->writeFile("data/Trash/files/b.txt");
        m_env->writeFile("data/Trash/files/A report.doc");
        const SpecialFolders::Shown shown = SpecialFolders::show(10);
        QVERIFY(shown.visible);
        QVERIFY(shown.folder.isEmpty());
        QCOMPARE(shown.caption, QStringLiteral("Folder has no path (is a vitual folder)."));
        QStringList names;
        for (const auto &item : shown.items)
            names << item.name;
        QCOMPARE(names, QStringList({"A report.doc", "b.txt", "old folder"}));
        QCOMPARE(shown.items.first().path, data + "/Trash/files/A report.doc");
    }

    void emptyTrashIsStillShown()
    {
        folder(28, "data");
        const SpecialFolders::Shown shown = SpecialFolders::show(10);
        QVERIFY(shown.visible);
        QVERIFY(shown.items.isEmpty());
    }

    void recentFilesNewestFirst()
    {
        folder(28, "data");
        const QString older = m_env->writeFile("docs/older.txt");
        const QString newer = m_env->writeFile("docs/new er é.txt");
        const QString xbel =
            "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\">\n" +
            bookmark(older, "2023-01-01T10:00:00Z") + bookmark(newer, "2024-05-01T10:00:00Z") +
            bookmark(m_env->scratch() + "/gone.txt", "2025-01-01T10:00:00Z") +
            "<bookmark href=\"https://example.org/\" visited=\"2025-02-01T10:00:00Z\"/>\n"
            "</xbel>\n";
        m_env->writeFile("data/recently-used.xbel", xbel.toUtf8());
        const SpecialFolders::Shown shown = SpecialFolders::show(8);
        QVERIFY(shown.visible);
        QCOMPARE(shown.items.size(), 2);
        QCOMPARE(shown.items.at(0).path, newer);
        QCOMPARE(shown.items.at(0).name, QStringLiteral("new er é.txt"));
        QCOMPARE(shown.items.at(1).path, older);
    }

    void recentFilesSurviveBadFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("count");
        QTest::newRow("cut short after one") << QByteArray("<xbel>%1<bookmark href=") << 1;
        QTest::newRow("not XML") << QByteArray("\x00\x01garbage", 9) << 0;
        QTest::newRow("empty") << QByteArray() << 0;
    }
    void recentFilesSurviveBadFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, count);
        const QString file = m_env->writeFile("docs/a.txt");
        content.replace("%1", bookmark(file, "2024-01-01T00:00:00Z").toUtf8());
        const QString xbel = m_env->writeFile("recent.xbel", content);
        QCOMPARE(SpecialFolders::recentFiles(xbel).size(), count);
        QVERIFY(SpecialFolders::recentFiles(m_env->scratch() + "/none.xbel").isEmpty());
    }

    void browseFolders()
    {
        using Browse = SpecialFolders::Browse;
        FakeDesktop fake;
        const DesktopEnvironment env = fake.environment();
        const QString home = folder(40, "home");
        QVERIFY(SpecialFolders::browseFolder(Browse::MyWebs, env).isEmpty());
        QDir().mkpath(home + "/public_html");
        QCOMPARE(SpecialFolders::browseFolder(Browse::MyWebs, env), home + "/public_html");

        QVERIFY(SpecialFolders::browseFolder(Browse::Themes, env).isEmpty());
        QDir().mkpath(fake.data() + "/themes");
        QCOMPARE(SpecialFolders::browseFolder(Browse::Themes, env), fake.data() + "/themes");
        QDir().mkpath(fake.dataHome() + "/themes");
        QCOMPARE(SpecialFolders::browseFolder(Browse::Themes, env), fake.dataHome() + "/themes");

        QDir().mkpath(fake.data() + "/openclipart");
        QCOMPARE(SpecialFolders::browseFolder(Browse::Clipart, env), fake.data() + "/openclipart");
        QVERIFY(SpecialFolders::browseFolder(Browse::Favorites, env).isEmpty());
        QCOMPARE(SpecialFolders::browseFolder(Browse::UserFiles, env), m_env->userFiles());
        QCOMPARE(SpecialFolders::browseFolder(Browse::MyDocuments, env),
                 m_env->platform().folders.value(5));
    }

    void removableDrives_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("mount");
        QTest::addColumn<bool>("removable");
        QTest::newRow("removable disk") << "/dev/sdb"
                                        << "/mnt/x" << true;
        QTest::newRow("partition of a removable disk") << "/dev/sdb1"
                                                       << "/mnt/x" << true;
        QTest::newRow("fixed disk") << "/dev/sda"
                                    << "/" << false;
        QTest::newRow("partition of a fixed disk") << "/dev/sda2"
                                                   << "/home" << false;
        QTest::newRow("mounted by the desktop") << "/dev/sda2"
                                                << "/media/u/STICK" << true;
        QTest::newRow("mounted by udisks") << "/dev/nvme0n1p1"
                                           << "/run/media/u/X" << true;
        QTest::newRow("unknown device") << "/dev/sdz9"
                                        << "/mnt/z" << false;
        QTest::newRow("fake partition without a disk flag") << "/dev/sdc1"
                                                            << "/mnt/c" << false;
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

    void drivesCanBeInstalled()
    {
        Drives::install([] {
            return QList<Drives::Drive>{{"/media/x", "X", "/dev/sdb1", true, true}};
        });
        QCOMPARE(Drives::list().size(), 1);
        QCOMPARE(SpecialFolders::show(17).items.first().path, QStringLiteral("/media/x"));
        Drives::install({});
        for (const Drives::Drive &drive : Drives::list())
            QVERIFY(drive.device.startsWith("/dev/") && !drive.device.startsWith("/dev/loop"));
    }
};

QTEST_GUILESS_MAIN(tst_SpecialFolders)
#include "tst_SpecialFolders.moc"
