#include "FailureSummary.h"
#include "FileTransferJob.h"
#include "FileTrash.h"
#include "FreeName.h"

#include "ReadOnlyFolder.h"
#include "TestEnvironment.h"
#include "TestTrash.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

namespace
{

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

// The shared pieces of file operations: free names, the trash and its fallback, the failure
// summary, and copies and moves as a job; each checked on the disk.
class tst_FileOperations : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestTrash> m_trash;

    QString path(const QString &relative) const { return m_env->scratch() + u'/' + relative; }

    FileTransferJob &run(FileTransferJob &job)
    {
        job.runHere();
        return job;
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_trash = std::make_unique<TestTrash>();
    }
    void cleanup()
    {
        m_trash.reset();
        m_env.reset();
    }

    void plainFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::newRow("ordinary") << "note.rtf" << true;
        QTest::newRow("quotes, percent, non-ASCII") << "O'Brien \"100%\" Übersicht" << true;
        QTest::newRow("dot file") << ".profile" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("separator") << "a/b" << false;
        QTest::newRow("255 bytes") << QString(255, 'x') << true;
        QTest::newRow("256 bytes") << QString(256, 'x') << false;
        QTest::newRow("128 two-byte letters") << QString(128, QChar(0xE9)) << false;
    }

    void plainFileNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, plain);
        QCOMPARE(IsPlainFileName(name), plain);
    }

    void freeNames_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("free");
        QTest::newRow("free") << QStringList{"other.rtf"} << "note.rtf"
                              << "note.rtf";
        QTest::newRow("taken") << QStringList{"note.rtf"} << "note.rtf"
                               << "note (2).rtf";
        QTest::newRow("second taken") << QStringList{"note.rtf", "note (2).rtf"} << "note.rtf"
                                      << "note (3).rtf";
        QTest::newRow("last dot") << QStringList{"archive.tar.gz"} << "archive.tar.gz"
                                  << "archive.tar (2).gz";
        QTest::newRow("no extension") << QStringList{"README"} << "README"
                                      << "README (2)";
        QTest::newRow("dot file") << QStringList{".profile"} << ".profile"
                                  << ".profile (2)";
        QTest::newRow("quotes, percent and non-ASCII")
            << QStringList{"Brief an O'Brien 100%_ Ü.rtf"} << "Brief an O'Brien 100%_ Ü.rtf"
            << "Brief an O'Brien 100%_ Ü (2).rtf";
        QTest::newRow("a folder takes it too") << QStringList{"Plans/"} << "Plans"
                                               << "Plans (2)";
        QTest::newRow("case tells names apart") << QStringList{"Note.rtf"} << "note.rtf"
                                                << "note.rtf";
    }

    void freeNames()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, name);
        QFETCH(QString, free);
        const QString folder = path(QStringLiteral("names"));
        QDir().mkpath(folder);
        for (const QString &entry : present) {
            if (entry.endsWith(u'/'))
                QDir(folder).mkpath(entry);
            else
                m_env->writeFile(QStringLiteral("names/") + entry);
        }
        QCOMPARE(FreeName(folder, name), free);
    }

    void aFreeNameStaysWithinTheByteLimit()
    {
        const QString folder = path(QStringLiteral("long"));
        QDir().mkpath(folder);
        // 125 two-byte letters and ".rtf": 254 bytes, taken; " (2)" must shorten the stem.
        const QString name = QString(125, QChar(0xFC)) + QStringLiteral(".rtf");
        m_env->writeFile(QStringLiteral("long/") + name);
        const QString free = FreeName(folder, name);
        QVERIFY(free.endsWith(QLatin1String(" (2).rtf")));
        QVERIFY(free.toUtf8().size() <= 255);
        QVERIFY(QFile(folder + u'/' + free).open(QIODevice::WriteOnly));
    }

    void aDanglingLinkTakesItsName()
    {
        const QString folder = path(QStringLiteral("links"));
        QDir().mkpath(folder);
        QVERIFY(QFile::link(folder + QStringLiteral("/missing"), folder + QStringLiteral("/a")));
        QCOMPARE(FreeName(folder, QStringLiteral("a")), QStringLiteral("a (2)"));
    }

    void filesAndFoldersGoToTheTrash()
    {
        const QString file = m_env->writeFile(QStringLiteral("bin/Übersicht 100%.rtf"), "text");
        m_env->writeFile(QStringLiteral("bin/Plans/inner.txt"), "inner");
        QCOMPARE(FileTrash::discard(file, QStringLiteral("Test")), FileTrash::Result::Trashed);
        QCOMPARE(FileTrash::discard(path(QStringLiteral("bin/Plans")), QStringLiteral("Test")),
                 FileTrash::Result::Trashed);
        QCOMPARE(entries(path(QStringLiteral("bin"))), QStringList());
        QCOMPARE(m_trash->trashed(), (QStringList{"Plans", "Übersicht 100%.rtf"}));
        QCOMPARE(readAll(m_trash->trashedPath(QStringLiteral("Plans/inner.txt"))),
                 QByteArray("inner"));
        QVERIFY(m_env->dialogs().shown().isEmpty());
    }

    // Where no trash can be made, a second question says the file goes for good.
    void withoutATrashTheUserIsAsked_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("removed for good") << true;
        QTest::newRow("kept") << false;
    }

    void withoutATrashTheUserIsAsked()
    {
        QFETCH(bool, yes);
        const QString file = m_env->writeFile(QStringLiteral("bin/it's.txt"), "text");
        m_env->writeFile(QStringLiteral("bin/folder/a.txt"));
        m_trash->makeUnavailable();
        // Qt 6.4 "trashed" such files into the working folder and reported success.
        const QString before = QDir::currentPath();
        QDir().mkpath(path(QStringLiteral("cwd")));
        QDir::setCurrent(path(QStringLiteral("cwd")));
        const auto back = qScopeGuard([&before] { QDir::setCurrent(before); });
        m_env->dialogs().answerQuestion(yes);
        m_env->dialogs().answerQuestion(yes);
        QCOMPARE(FileTrash::discard(file, QStringLiteral("Test")),
                 yes ? FileTrash::Result::Removed : FileTrash::Result::Kept);
        QCOMPARE(FileTrash::discard(path(QStringLiteral("bin/folder")), QStringLiteral("Test")),
                 yes ? FileTrash::Result::Removed : FileTrash::Result::Kept);
        QCOMPARE(m_env->dialogs().shown().first().text, FileTrash::noTrashQuestion(file));
        QCOMPARE(m_env->dialogs().shown().first().title, QStringLiteral("Test"));
        QCOMPARE(entries(path(QStringLiteral("bin"))),
                 yes ? QStringList() : (QStringList{"folder", "it's.txt"}));
        QCOMPARE(readAll(path(QStringLiteral("bin/folder/a.txt"))),
                 yes ? QByteArray() : QByteArray("x"));
        QCOMPARE(entries(path(QStringLiteral("cwd"))), QStringList());
    }

    void whatCannotGoFailsWithoutAQuestion()
    {
        const QString file = m_env->writeFile(QStringLiteral("locked/kept.txt"), "kept");
        QString error;
        {
            ReadOnlyFolder locked(path(QStringLiteral("locked")));
            QCOMPARE(FileTrash::discard(file, QStringLiteral("Test"), &error),
                     FileTrash::Result::Failed);
        }
        QCOMPARE(error, QStringLiteral("Permission denied"));
        QCOMPARE(readAll(file), QByteArray("kept"));
        QCOMPARE(
            FileTrash::discard(path(QStringLiteral("none.txt")), QStringLiteral("Test"), &error),
            FileTrash::Result::Failed);
        QVERIFY(m_env->dialogs().shown().isEmpty());
        QVERIFY(m_trash->trashed().isEmpty());
    }

    void aSummaryListsEachFailureOnce()
    {
        FailureSummary summary;
        QVERIFY(!summary.report(QStringLiteral("Nothing"), QStringLiteral("Test")));
        for (int i = 1; i <= FailureSummary::MaxListed + 2; ++i)
            summary.add(QStringLiteral("/d/file %1.txt").arg(i), QStringLiteral("Disk full"));
        const QString text = summary.text(QStringLiteral("These files were not copied:"));
        QVERIFY(text.startsWith(QLatin1String("These files were not copied:\n\n/d/file 1.txt - "
                                              "Disk full\n")));
        QVERIFY(text.contains(QLatin1String("/d/file 12.txt - Disk full")));
        QVERIFY(!text.contains(QLatin1String("file 13.txt")));
        QVERIFY(text.endsWith(QStringLiteral("… and 2 more")));
        QVERIFY(
            summary.report(QStringLiteral("These files were not copied:"), QStringLiteral("Test")));
        QVERIFY(summary.isEmpty());
        QCOMPARE(m_env->dialogs().shown().size(), 1);
        QCOMPARE(m_env->dialogs().shown().first().icon, Dialogs::Icon::Warning);
        QCOMPARE(m_env->dialogs().shown().first().text, text);
    }

    // One file onto a free or a taken name, copied or moved, by each rule for a taken name.
    void oneFile_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("taken");
        QTest::addColumn<bool>("occupied");
        QTest::addColumn<QStringList>("target"); // the target folder's entries afterwards
        QTest::addColumn<QByteArray>("arrived"); // what "b/it's 100%.txt" holds
        QTest::addColumn<bool>("sourceStays");
        QTest::addColumn<int>("failures");
        QTest::addColumn<QStringList>("trashed");
        const int copy = int(FileTransferJob::Mode::Copy);
        const int move = int(FileTransferJob::Mode::Move);
        const int replace = int(FileTransferJob::Taken::Replace);
        const int both = int(FileTransferJob::Taken::KeepBoth);
        const int skip = int(FileTransferJob::Taken::Skip);
        const QStringList one{"it's 100%.txt"};
        const QStringList two{"it's 100% (2).txt", "it's 100%.txt"};
        QTest::newRow("copy, free")
            << copy << skip << false << one << QByteArray("new") << true << 0 << QStringList();
        QTest::newRow("move, free")
            << move << skip << false << one << QByteArray("new") << false << 0 << QStringList();
        QTest::newRow("copy, replace")
            << copy << replace << true << one << QByteArray("new") << true << 0 << one;
        QTest::newRow("move, replace")
            << move << replace << true << one << QByteArray("new") << false << 0 << one;
        QTest::newRow("copy, keep both")
            << copy << both << true << two << QByteArray("old") << true << 0 << QStringList();
        QTest::newRow("move, keep both")
            << move << both << true << two << QByteArray("old") << false << 0 << QStringList();
        QTest::newRow("copy, skip")
            << copy << skip << true << one << QByteArray("old") << true << 1 << QStringList();
        QTest::newRow("move, skip")
            << move << skip << true << one << QByteArray("old") << true << 1 << QStringList();
    }

    void oneFile()
    {
        QFETCH(int, mode);
        QFETCH(int, taken);
        QFETCH(bool, occupied);
        QFETCH(QStringList, target);
        QFETCH(QByteArray, arrived);
        QFETCH(bool, sourceStays);
        QFETCH(int, failures);
        QFETCH(QStringList, trashed);
        const QString source = m_env->writeFile(QStringLiteral("a/it's 100%.txt"), "new");
        QDir().mkpath(path(QStringLiteral("b")));
        if (occupied)
            m_env->writeFile(QStringLiteral("b/it's 100%.txt"), "old");
        const QString to = path(QStringLiteral("b/it's 100%.txt"));
        FileTransferJob job(FileTransferJob::Mode(mode), {{source, to}},
                            FileTransferJob::Taken(taken));
        run(job);
        QCOMPARE(entries(path(QStringLiteral("b"))), target);
        QCOMPARE(readAll(to), arrived);
        QCOMPARE(QFileInfo::exists(source), sourceStays);
        QCOMPARE(int(job.failures().size()), failures);
        QCOMPARE(m_trash->trashed(), trashed);
        if (!trashed.isEmpty())
            QCOMPARE(readAll(m_trash->trashedPath(trashed.first())), QByteArray("old"));
        if (failures == 0) {
            QCOMPARE(job.done().size(), 1);
            QCOMPARE(job.done().first().source, source);
            QCOMPARE(readAll(job.done().first().target), QByteArray("new"));
        } else {
            QVERIFY(job.done().isEmpty());
            QCOMPARE(job.failures().failures().first().path, source);
        }
        QCOMPARE(job.filesDone(), qint64(1));
    }

    void foldersMergeAndMoveInOneStep()
    {
        m_env->writeFile(QStringLiteral("src/Plans/a.txt"), "a");
        m_env->writeFile(QStringLiteral("src/Plans/sub/b.txt"), "b");
        m_env->writeFile(QStringLiteral("src/Plans/.hidden"), "h");
        QDir().mkpath(path(QStringLiteral("src/Plans/empty")));
        m_env->writeFile(QStringLiteral("dst/Plans/a.txt"), "old a");
        m_env->writeFile(QStringLiteral("dst/Plans/mine.txt"), "mine");
        // A copy merges into the folder that is there; its same-named file goes to the trash.
        FileTransferJob copy(
            FileTransferJob::Mode::Copy,
            {{path(QStringLiteral("src/Plans")), path(QStringLiteral("dst/Plans"))}},
            FileTransferJob::Taken::Replace);
        run(copy);
        QVERIFY(copy.failures().isEmpty());
        QCOMPARE(entries(path(QStringLiteral("dst/Plans"))),
                 (QStringList{".hidden", "a.txt", "empty", "mine.txt", "sub"}));
        QCOMPARE(readAll(path(QStringLiteral("dst/Plans/a.txt"))), QByteArray("a"));
        QCOMPARE(readAll(path(QStringLiteral("dst/Plans/sub/b.txt"))), QByteArray("b"));
        QCOMPARE(m_trash->trashed(), QStringList{"a.txt"});
        QCOMPARE(copy.done().size(), 3); // file by file
        QCOMPARE(copy.filesTotal(), qint64(3));
        QCOMPARE(entries(path(QStringLiteral("src/Plans"))),
                 (QStringList{".hidden", "a.txt", "empty", "sub"}));

        // A move to a free name is one rename of the whole folder.
        FileTransferJob move(
            FileTransferJob::Mode::Move,
            {{path(QStringLiteral("src/Plans")), path(QStringLiteral("dst/Moved"))}},
            FileTransferJob::Taken::Skip);
        run(move);
        QVERIFY(move.failures().isEmpty());
        QCOMPARE(move.done().size(), 1);
        QCOMPARE(move.done().first().target, path(QStringLiteral("dst/Moved")));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("src/Plans"))));
        QCOMPARE(readAll(path(QStringLiteral("dst/Moved/sub/b.txt"))), QByteArray("b"));
        QCOMPARE(move.filesDone(), qint64(3));
    }

    void aMoveIntoATakenFolderGoesFileByFile()
    {
        m_env->writeFile(QStringLiteral("src/Plans/a.txt"), "a");
        m_env->writeFile(QStringLiteral("src/Plans/b.txt"), "b");
        m_env->writeFile(QStringLiteral("dst/Plans/a.txt"), "old a");
        FileTransferJob move(
            FileTransferJob::Mode::Move,
            {{path(QStringLiteral("src/Plans")), path(QStringLiteral("dst/Plans"))}},
            FileTransferJob::Taken::Skip);
        run(move);
        // The taken name keeps both files, so the source folder stays with what did not go.
        QCOMPARE(move.failures().size(), 1);
        QCOMPARE(move.failures().failures().first().path, path(QStringLiteral("src/Plans/a.txt")));
        QCOMPARE(entries(path(QStringLiteral("src/Plans"))), QStringList{"a.txt"});
        QCOMPARE(readAll(path(QStringLiteral("dst/Plans/a.txt"))), QByteArray("old a"));
        QCOMPARE(readAll(path(QStringLiteral("dst/Plans/b.txt"))), QByteArray("b"));
        QCOMPARE(move.done().size(), 1);
        QCOMPARE(move.done().first().source, path(QStringLiteral("src/Plans/b.txt")));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        QTest::newRow("into itself") << "src/Plans"
                                     << "src/Plans/sub/Plans"
                                     << "A folder cannot go into itself.";
        QTest::newRow("onto itself") << "src/Plans"
                                     << "src/Plans"
                                     << "A folder cannot go into itself.";
        QTest::newRow("missing") << "src/none.txt"
                                 << "dst/none.txt"
                                 << "It does not exist.";
        QTest::newRow("read-only target") << "src/Plans/sub/b.txt"
                                          << "locked/b.txt"
                                          << "Permission denied";
    }

    void refusals()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(QString, reason);
        m_env->writeFile(QStringLiteral("src/Plans/sub/b.txt"), "b");
        QDir().mkpath(path(QStringLiteral("locked")));
        for (const auto mode : {FileTransferJob::Mode::Copy, FileTransferJob::Mode::Move}) {
            ReadOnlyFolder locked(path(QStringLiteral("locked")));
            FileTransferJob job(mode, {{path(source), path(target)}},
                                FileTransferJob::Taken::Replace);
            run(job);
            QCOMPARE(job.failures().size(), 1);
            QCOMPARE(job.failures().failures().first().path, path(source));
            QVERIFY2(job.failures().failures().first().reason.contains(reason),
                     qPrintable(job.failures().failures().first().reason));
            QVERIFY(job.done().isEmpty());
            QCOMPARE(readAll(path(QStringLiteral("src/Plans/sub/b.txt"))), QByteArray("b"));
            QCOMPARE(entries(path(QStringLiteral("locked"))), QStringList());
        }
    }

    void linksAreCopiedAsLinks()
    {
        const QString file = m_env->writeFile(QStringLiteral("src/real.txt"), "real");
        QVERIFY(QFile::link(file, path(QStringLiteral("src/Box/link.txt"))) ||
                (QDir().mkpath(path(QStringLiteral("src/Box"))) &&
                 QFile::link(file, path(QStringLiteral("src/Box/link.txt")))));
        FileTransferJob copy(FileTransferJob::Mode::Copy,
                             {{path(QStringLiteral("src/Box")), path(QStringLiteral("dst/Box"))}},
                             FileTransferJob::Taken::Skip);
        QDir().mkpath(path(QStringLiteral("dst")));
        run(copy);
        QVERIFY(copy.failures().isEmpty());
        const QFileInfo link(path(QStringLiteral("dst/Box/link.txt")));
        QVERIFY(link.isSymLink());
        QCOMPARE(link.symLinkTarget(), file);
    }

    // A cancelled copy keeps the files it wrote and lists exactly those.
    void aCancelledCopyListsWhatItDid()
    {
        for (int i = 0; i < 5; ++i)
            m_env->writeFile(QStringLiteral("src/Many/%1.txt").arg(i), "x");
        QDir().mkpath(path(QStringLiteral("dst")));
        FileTransferJob copy(FileTransferJob::Mode::Copy,
                             {{path(QStringLiteral("src/Many")), path(QStringLiteral("dst/Many"))}},
                             FileTransferJob::Taken::Skip);
        connect(&copy, &Job::filesCounted, this, [&copy](qint64 done) {
            if (done == 2)
                copy.cancel();
        });
        run(copy);
        QCOMPARE(copy.done().size(), 2);
        QCOMPARE(entries(path(QStringLiteral("dst/Many"))), (QStringList{"0.txt", "1.txt"}));
        for (const FileTransferJob::Pair &pair : copy.done())
            QVERIFY(QFileInfo::exists(pair.target));
    }

    // Across file systems a move copies and removes; /dev/shm is another one on most systems.
    void aMoveAcrossFileSystemsCopiesAndRemoves()
    {
        QTemporaryDir other(QStringLiteral("/dev/shm/nuvela-test-XXXXXX"));
        if (!other.isValid() ||
            QStorageInfo(other.path()).device() == QStorageInfo(m_env->scratch()).device())
            QSKIP("no second file system at /dev/shm");
        m_env->writeFile(QStringLiteral("src/Trip/day 1.txt"), "one");
        m_env->writeFile(QStringLiteral("src/Trip/sub/day 2.txt"), "two");
        FileTransferJob move(FileTransferJob::Mode::Move,
                             {{path(QStringLiteral("src/Trip")), other.path() + "/Trip"}},
                             FileTransferJob::Taken::Skip);
        run(move);
        QVERIFY(move.failures().isEmpty());
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("src/Trip"))));
        QCOMPARE(readAll(other.path() + "/Trip/sub/day 2.txt"), QByteArray("two"));
        QCOMPARE(move.done().size(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_FileOperations)
#include "tst_FileOperations.moc"
