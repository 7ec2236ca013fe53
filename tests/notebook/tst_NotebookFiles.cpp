#include "DocTypeIcons.h"
#include "DocumentText.h"
#include "FileFacts.h"
#include "FolderSizeJob.h"
#include "FolderTree.h"

#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTest>

// The notebook's side of the file system: the tree's entries and roots, the kinds and texts of
// document files (real RTF samples included), file facts and folder sizes.
class tst_NotebookFiles : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void captionsOfAllCapitalNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("all capitals") << "WINDOWS"
                                      << "Windows";
        QTest::newRow("as written") << "Windows"
                                    << "Windows";
        QTest::newRow("lower case") << "windows"
                                    << "windows";
        QTest::newRow("capitals and digits") << "DOCS2024"
                                             << "Docs2024";
        QTest::newRow("digits only") << "2024"
                                     << "2024";
        QTest::newRow("non-ASCII capitals") << "ÜBERSICHT"
                                            << "Übersicht";
        QTest::newRow("one letter") << "A"
                                    << "A";
    }

    void captionsOfAllCapitalNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QCOMPARE(FolderTree::caption(name), caption);
    }

    void aFolderListsFoldersThenFiles()
    {
        m_env->writeFile(QStringLiteral("tree/b.txt"));
        m_env->writeFile(QStringLiteral("tree/A.rtf"));
        m_env->writeFile(QStringLiteral("tree/.secret"));
        m_env->writeFile(QStringLiteral("tree/zeta/inside.txt"));
        m_env->writeFile(QStringLiteral("tree/ALPHA/inside.txt"));
        m_env->writeFile(QStringLiteral("tree/.hidden/inside.txt"));
        const QString folder = m_env->scratch() + QStringLiteral("/tree");
        bool readable = false;
        const std::vector<FolderTree::Entry> entries = FolderTree::list(folder, &readable);
        QVERIFY(readable);
        QStringList seen;
        for (const FolderTree::Entry &entry : entries)
            seen << FolderTree::tagText(entry.tag) + ':' + entry.caption;
        QCOMPARE(seen, (QStringList{"Folder:Alpha", "Folder:zeta", "File:A.rtf", "File:b.txt"}));
        // Keys are the paths as the disk has them, whatever the caption.
        QCOMPARE(entries[0].path, folder + QStringLiteral("/ALPHA"));
        FolderTree::list(folder + QStringLiteral("/none"), &readable);
        QVERIFY(!readable);
    }

    void userVolumes_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("kept");
        QTest::newRow("root, even on overlay") << "/"
                                               << "overlay"
                                               << "overlay" << true;
        QTest::newRow("home partition") << "/home"
                                        << "/dev/sda3"
                                        << "ext4" << true;
        QTest::newRow("usb stick") << "/media/ann/STICK"
                                   << "/dev/sdb1"
                                   << "vfat" << true;
        QTest::newRow("usb stick under run") << "/run/media/ann/STICK"
                                             << "/dev/sdb1"
                                             << "vfat" << true;
        QTest::newRow("network share") << "/mnt/share"
                                       << "//nas/share"
                                       << "cifs" << true;
        QTest::newRow("memory") << "/tmp"
                                << "tmpfs"
                                << "tmpfs" << false;
        QTest::newRow("kernel") << "/proc"
                                << "proc"
                                << "proc" << false;
        QTest::newRow("snap") << "/snap/core/1"
                              << "/dev/loop3"
                              << "squashfs" << false;
        QTest::newRow("boot") << "/boot/efi"
                              << "/dev/sda1"
                              << "vfat" << false;
        QTest::newRow("run on a device") << "/run/user/1000/doc"
                                         << "/dev/sda1"
                                         << "ext4" << false;
        QTest::newRow("no device") << "/srv/x"
                                   << "none"
                                   << "fuse.portal" << false;
    }

    void userVolumes()
    {
        QFETCH(QString, root);
        QFETCH(QString, device);
        QFETCH(QString, type);
        QFETCH(bool, kept);
        QCOMPARE(FolderTree::isUserVolume({QString(), root, device, type}), kept);
    }

    void myComputerListsHomeThenVolumes()
    {
        const std::vector<FolderTree::Entry> entries = FolderTree::myComputer(
            {{QString(), QStringLiteral("/"), QStringLiteral("/dev/sda2"), QStringLiteral("ext4")},
             {QStringLiteral("STICK"), QStringLiteral("/media/stick"), QStringLiteral("/dev/sdb1"),
              QStringLiteral("vfat")}},
            QStringLiteral("/home/ann"));
        QCOMPARE(entries.size(), size_t(3));
        QCOMPARE(entries[0].caption, QStringLiteral("Home (/home/ann)"));
        QCOMPARE(entries[1].caption, QStringLiteral("(/)"));
        QCOMPARE(entries[2].caption, QStringLiteral("STICK (/media/stick)"));
        QCOMPARE(entries[2].path, QStringLiteral("/media/stick"));
        for (const FolderTree::Volume &volume : FolderTree::mountedVolumes())
            QVERIFY(QFileInfo(volume.root).isDir());
    }

    void duplicatesCompareExactly()
    {
        const QStringList siblings = {QStringLiteral("/d/Notes"), QStringLiteral("/d/a.rtf")};
        QVERIFY(CheckDuplicate(siblings, QStringLiteral("Notes")));
        QVERIFY(!CheckDuplicate(siblings, QStringLiteral("notes")));
        QVERIFY(CheckDuplicate(siblings, QStringLiteral("a.rtf")));
        QVERIFY(!CheckDuplicate({}, QStringLiteral("a.rtf")));
        QCOMPARE(IFBACKSLASH(QStringLiteral("/home/ann")), QStringLiteral("/home/ann/"));
        QCOMPARE(IFBACKSLASH(QStringLiteral("/")), QStringLiteral("/"));
    }

    void kindsByTheLastThreeCharacters_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("kind");
        QTest::newRow("rtf") << "/d/a.rtf" << int(DocumentText::Kind::RichText);
        QTest::newRow("RTF") << "/d/a.RTF" << int(DocumentText::Kind::RichText);
        QTest::newRow("txt") << "/d/a.Txt" << int(DocumentText::Kind::PlainText);
        QTest::newRow("doc") << "/d/a.doc" << int(DocumentText::Kind::PlainText);
        QTest::newRow("docx is other") << "/d/a.docx" << int(DocumentText::Kind::Other);
        QTest::newRow("list") << "/d/Prices.nvs" << int(DocumentText::Kind::List);
        QTest::newRow("picture") << "/d/photo.PNG" << int(DocumentText::Kind::Picture);
        QTest::newRow("jpeg") << "/d/photo.jpeg" << int(DocumentText::Kind::Picture);
        QTest::newRow("no extension") << "/d.png/README" << int(DocumentText::Kind::Other);
        QTest::newRow("sound") << "/d/a.wav" << int(DocumentText::Kind::Other);
    }

    void kindsByTheLastThreeCharacters()
    {
        QFETCH(QString, path);
        QFETCH(int, kind);
        QCOMPARE(int(DocumentText::kindOf(path)), kind);
    }

    void plainTextDecoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8") << QByteArray("Caf\xC3\xA9\n") << "Café\n";
        QTest::newRow("byte-order mark dropped") << QByteArray("\xEF\xBB\xBFhi") << "hi";
        QTest::newRow("code page 1252") << QByteArray("Caf\xE9 \x80") << "Café €";
        QTest::newRow("binary bytes dropped") << QByteArray("a\0b\x01\tc\r\n", 8) << "ab\tc\r\n";
    }

    void plainTextDecoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DocumentText::plainOfBytes(bytes), text);
    }

    void textForTheIndex()
    {
        const QString rtf = m_env->writeFile(QStringLiteral("a.rtf"), "{\\rtf1 from the file}");
        QCOMPARE(DocumentText::forIndex(rtf, QStringLiteral("{\\rtf1 copy}")).trimmed(),
                 QStringLiteral("from the file"));
        // No file: the body copy speaks for it.
        QCOMPARE(
            DocumentText::forIndex(QStringLiteral("/gone.rtf"), QStringLiteral("{\\rtf1 copy}"))
                .trimmed(),
            QStringLiteral("copy"));
        QCOMPARE(DocumentText::forIndex(QStringLiteral("/gone.rtf"), QString()), QString());
        const QString list = m_env->writeFile(QStringLiteral("l.nvs"),
                                              "NuvelaList\t1\nsize\t1\t2\nrow\t0\tBread\t2.50\n");
        QCOMPARE(DocumentText::forIndex(list, QString()), QStringLiteral("Bread\t2.50"));
        const QString picture = m_env->writeFile(QStringLiteral("p.png"), "not read");
        QCOMPARE(DocumentText::forIndex(picture, QStringLiteral("{\\rtf1 caption}")).trimmed(),
                 QStringLiteral("caption"));
        bool damaged = false;
        QCOMPARE(DocumentText::plainOfRtf("{\\rtf1 cut {\\b short", &damaged).trimmed(),
                 QStringLiteral("cut short"));
        QVERIFY(damaged);
        bool ok = true;
        QVERIFY(DocumentText::readFile(QStringLiteral("/nowhere/x.txt"), &ok).isEmpty());
        QVERIFY(!ok);
    }

    void realRtfFilesGiveTheirText_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Word, German menu") << "Speiseplan_KW_32-33_Eybl.rtf"
                                           << "Speiseplan";
        QTest::newRow("Word, Chinese") << "issue_11.rtf"
                                       << "\u6D4B\u8BD5";
        QTest::newRow("WordPad, Korean code page") << "testKoreanEncoding.rtf"
                                                   << "ProjectPlus";
        QTest::newRow("TextEdit table") << "pages_table_sample.rtf"
                                        << "\t";
    }

    void realRtfFilesGiveTheirText()
    {
        NUVELA_REQUIRE_SAMPLES();
        QFETCH(QString, file);
        QFETCH(QString, expected);
        const QString path = SamplesDir(QStringLiteral("rtf")) + '/' + file;
        const QString text = DocumentText::forIndex(path, QString());
        QVERIFY2(text.contains(expected), qPrintable(text.left(200)));
        QVERIFY(!text.contains(QLatin1String("\\rtf")));
    }

    void factsOfAFile()
    {
        const QString path =
            m_env->writeFile(QStringLiteral("Größe 'x'.txt"), QByteArray(2048, 'x'));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 3, 4), QTime(10, 0)),
                                 QFileDevice::FileModificationTime));
        file.close();
        FileFacts facts = FileFacts::of(path, true);
        QVERIFY(facts.exists);
        QVERIFY(!facts.isFolder);
        QCOMPARE(facts.name, QStringLiteral("Größe 'x'.txt"));
        QCOMPARE(facts.sizeText, QStringLiteral("2Kb"));
        QCOMPARE(facts.modified, QStringLiteral("04 Mar-2026"));
        QVERIFY(!facts.typeName.isEmpty());
        QVERIFY(!facts.created.isEmpty());
        QCOMPARE(FileFacts::of(path, false).modified, QStringLiteral("Mar 04-2026"));
        facts = FileFacts::of(QStringLiteral("/no/such.rtf"), false);
        QVERIFY(!facts.exists);
        QCOMPARE(facts.name, QStringLiteral("such.rtf"));
        QVERIFY(facts.sizeText.isEmpty());
        QVERIFY(FileFacts::of(m_env->scratch(), false).isFolder);
    }

    void folderSizeCountsEveryFileOnce()
    {
        m_env->writeFile(QStringLiteral("size/a.txt"), QByteArray(100, 'a'));
        m_env->writeFile(QStringLiteral("size/sub/b.txt"), QByteArray(50, 'b'));
        m_env->writeFile(QStringLiteral("size/.hidden"), QByteArray(7, 'h'));
        const QString folder = m_env->scratch() + QStringLiteral("/size");
        // A link back up the tree is not followed.
        QVERIFY(QFile::link(folder, folder + QStringLiteral("/sub/loop")));
        FolderSizeJob job(folder);
        job.runHere();
        QCOMPARE(job.total(), qint64(157));
        QCOMPARE(job.filesDone(), qint64(3));
    }

    void docTypeIcons()
    {
        QCOMPARE(DocTypeIcons::of(QStringLiteral("Notes")).control, QStringLiteral("ImgNote"));
        QCOMPARE(DocTypeIcons::of(QStringLiteral("Quick Notes")).control,
                 QStringLiteral("ImgQuickNote"));
        QCOMPARE(DocTypeIcons::of(QStringLiteral("Prs Records")).control, QStringLiteral("ImgPr"));
        QCOMPARE(DocTypeIcons::of(QStringLiteral("List")).control, QStringLiteral("ImgList"));
        QCOMPARE(DocTypeIcons::of(QStringLiteral("Multimedia")).control,
                 QStringLiteral("ImgOther"));
        QCOMPARE(DocTypeIcons::of(QStringLiteral("notes")).control, QStringLiteral("ImgOther"));
        QCOMPARE(DocTypeIcons::of(QString()).control, QStringLiteral("ImgOther"));
    }
};

QTEST_MAIN(tst_NotebookFiles)
#include "tst_NotebookFiles.moc"
