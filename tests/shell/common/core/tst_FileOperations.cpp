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

using Mode = FileTransferJob::Mode;
using Taken = FileTransferJob::Taken;

} // namespace

Q_DECLARE_METATYPE(FileTransferJob::Mode)
Q_DECLARE_METATYPE(FileTransferJob::Taken)

// The shared pieces of file operations, each checked on the disk: free names, the trash and
// its fallback, the failure summary, copies and moves as a job.
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

    void freeNames_data()
    {
        QTest::addColumn<QStringList>("present"); // a trailing "/" makes a folder
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("free");
        const auto row = [](const char *tag, const QStringList &present, const QString &name,
                            const QString &free) { QTest::newRow(tag) << present << name << free; };
        row("free", {"Note.rtf"}, "note.rtf", "note.rtf");
        row("second taken", {"n.rtf", "n (2).rtf"}, "n.rtf", "n (3).rtf");
        row("last dot", {"a.tar.gz"}, "a.tar.gz", "a.tar (2).gz");
        row("dot file", {".profile"}, ".profile", ".profile (2)");
        row("quotes and non-ASCII", {"O'Brien 100%_ Ü.rtf"}, "O'Brien 100%_ Ü.rtf",
            "O'Brien 100%_ Ü (2).rtf");
        row("a folder", {"Plans/"}, "Plans", "Plans (2)");
    }

    void freeNames()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, name);
        QFETCH(QString, free);
        QDir().mkpath(path("names"));
        for (const QString &entry : present)
            entry.endsWith(u'/') ? void(QDir(path("names")).mkpath(entry))
                                 : void(m_env->writeFile("names/" + entry));
        QCOMPARE(FreeName(path("names"), name), free);
    }

    void aFreeNameStaysWithinTheByteLimit()
    {
        // 125 two-byte letters and ".rtf" make 254 bytes: " (2)" must shorten the stem.
        const QString name = QString(125, QChar(0xFC)) + ".rtf";
        m_env->writeFile("long/" + name);
        const QString free = FreeName(path("long"), name);
        QVERIFY(free.endsWith(QLatin1String(" (2).rtf")));
        QVERIFY(QFile(path("long/") + free).open(QIODevice::WriteOnly));
    }

    void filesAndFoldersGoToTheTrash()
    {
        const QString file = m_env->writeFile("bin/Übersicht 100%.rtf", "text");
        m_env->writeFile("bin/Plans/inner.txt", "inner");
        QCOMPARE(FileTrash::discard(file, "T"), FileTrash::Result::Trashed);
        QCOMPARE(FileTrash::discard(path("bin/Plans"), "T"), FileTrash::Result::Trashed);
        QCOMPARE(entries(path("bin")), QStringList());
        QCOMPARE(m_trash->trashed(), (QStringList{"Plans", "Übersicht 100%.rtf"}));
        QCOMPARE(readAll(m_trash->trashedPath("Plans/inner.txt")), "inner");
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
        const QString file = m_env->writeFile("bin/it's.txt", "text");
        m_env->writeFile("bin/folder/a.txt");
        m_trash->makeUnavailable();
        // Qt 6.4 "trashed" such files into the working folder and reported success.
        const QString before = QDir::currentPath();
        QDir().mkpath(path("cwd"));
        QDir::setCurrent(path("cwd"));
        const auto back = qScopeGuard([&before] { QDir::setCurrent(before); });
        m_env->dialogs().answerQuestion(yes);
        m_env->dialogs().answerQuestion(yes);
        const auto result = yes ? FileTrash::Result::Removed : FileTrash::Result::Kept;
        QCOMPARE(FileTrash::discard(file, "T"), result);
        QCOMPARE(FileTrash::discard(path("bin/folder"), "T"), result);
        QCOMPARE(m_env->dialogs().shown().first().text, FileTrash::noTrashQuestion(file));
        QCOMPARE(entries(path("bin")), yes ? QStringList() : (QStringList{"folder", "it's.txt"}));
        QCOMPARE(entries(path("cwd")), QStringList());
    }

    void whatCannotGoFailsWithoutAQuestion()
    {
        const QString file = m_env->writeFile("locked/kept.txt", "kept");
        QString error;
        {
            ReadOnlyFolder locked(path("locked"));
            QCOMPARE(FileTrash::discard(file, "T", &error), FileTrash::Result::Failed);
        }
        QCOMPARE(error, "Permission denied");
        QCOMPARE(readAll(file), "kept");
        QCOMPARE(FileTrash::discard(path("none"), "T"), FileTrash::Result::Failed);
        QVERIFY(m_env->dialogs().shown().isEmpty());
    }

    void aSummaryListsEachFailureOnce()
    {
        FailureSummary summary;
        QVERIFY(!summary.report("Nothing", "T"));
        for (int i = 1; i <= FailureSummary::MaxListed + 2; ++i)
            summary.add(QStringLiteral("/d/f%1.txt").arg(i), "Disk full");
        const QString text = summary.text("Not copied:");
        QVERIFY(text.startsWith(QLatin1String("Not copied:\n\n/d/f1.txt - Disk full\n")));
        QVERIFY(text.contains(QLatin1String("/d/f12.txt")) && !text.contains("/d/f13.txt"));
        QVERIFY(text.endsWith("… and 2 more"));
        QVERIFY(summary.report("Not copied:", "T"));
        QVERIFY(summary.isEmpty());
        QCOMPARE(m_env->dialogs().messages(), QStringList{text});
    }

    // One file onto a free or a taken name, by each rule for a taken name.
    void oneFile_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<Taken>("taken");
        QTest::addColumn<bool>("occupied");
        QTest::addColumn<QStringList>("target"); // the target folder's entries afterwards
        QTest::addColumn<QByteArray>("arrived"); // what "b/it's 100%.txt" then holds
        const QStringList one{"it's 100%.txt"};
        QTest::newRow("copy, free") << Mode::Copy << Taken::Skip << false << one << "new"_qba;
        QTest::newRow("move, free") << Mode::Move << Taken::Skip << false << one << "new"_qba;
        QTest::newRow("copy, replace") << Mode::Copy << Taken::Replace << true << one << "new"_qba;
        QTest::newRow("move, keep both")
            << Mode::Move << Taken::KeepBoth << true
            << QStringList{"it's 100% (2).txt", "it's 100%.txt"} << "old"_qba;
        QTest::newRow("move, skip") << Mode::Move << Taken::Skip << true << one << "old"_qba;
    }

    void oneFile()
    {
        QFETCH(Mode, mode);
        QFETCH(Taken, taken);
        QFETCH(bool, occupied);
        QFETCH(QStringList, target);
        QFETCH(QByteArray, arrived);
        const QString source = m_env->writeFile("a/it's 100%.txt", "new");
        QDir().mkpath(path("b"));
        if (occupied)
            m_env->writeFile("b/it's 100%.txt", "old");
        const QString to = path("b/it's 100%.txt");
        FileTransferJob job(mode, {{source, to}}, taken);
        run(job);
        const bool skipped = occupied && taken == Taken::Skip;
        QCOMPARE(entries(path("b")), target);
        QCOMPARE(readAll(to), arrived);
        QCOMPARE(QFileInfo::exists(source), mode == Mode::Copy || skipped);
        QCOMPARE(job.failures().size(), skipped ? 1 : 0);
        QCOMPARE(m_trash->trashed(), occupied && taken == Taken::Replace ? target : QStringList());
        QCOMPARE(job.done().size(), skipped ? 0 : 1);
        if (!skipped)
            QCOMPARE(readAll(job.done().first().target), "new");
    }

    void foldersMergeAndMoveInOneStep()
    {
        m_env->writeFile("src/Plans/a.txt", "a");
        m_env->writeFile("src/Plans/sub/.hidden", "h");
        QDir().mkpath(path("src/Plans/empty"));
        m_env->writeFile("dst/Plans/a.txt", "old a");
        m_env->writeFile("dst/Plans/mine.txt", "mine");
        // A copy merges into the folder there; its same-named file goes to the trash.
        FileTransferJob copy(Mode::Copy, {{path("src/Plans"), path("dst/Plans")}}, Taken::Replace);
        QVERIFY(run(copy).failures().isEmpty());
        QCOMPARE(entries(path("dst/Plans")), (QStringList{"a.txt", "empty", "mine.txt", "sub"}));
        QCOMPARE(readAll(path("dst/Plans/sub/.hidden")), "h");
        QCOMPARE(m_trash->trashed(), QStringList{"a.txt"});
        QCOMPARE(copy.done().size(), 2); // file by file
        // A move to a free name is one rename of the whole folder.
        FileTransferJob move(Mode::Move, {{path("src/Plans"), path("dst/Moved")}}, Taken::Skip);
        QVERIFY(run(move).failures().isEmpty());
        QCOMPARE(move.done().size(), 1);
        QVERIFY(!QFileInfo::exists(path("src/Plans")));
        QCOMPARE(readAll(path("dst/Moved/a.txt")), "a");
        QCOMPARE(move.filesDone(), qint64(2));
        // Into a folder that is there a move goes file by file; what cannot go stays.
        m_env->writeFile("src/More/a.txt", "a2");
        m_env->writeFile("src/More/b.txt", "b");
        FileTransferJob merge(Mode::Move, {{path("src/More"), path("dst/Moved")}}, Taken::Skip);
        QCOMPARE(run(merge).failures().size(), 1);
        QCOMPARE(entries(path("src/More")), QStringList{"a.txt"});
        QCOMPARE(readAll(path("dst/Moved/b.txt")), "b");
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *tag, const QString &source, const QString &target,
                            const QString &reason) {
            QTest::newRow(tag) << source << target << reason;
        };
        row("into itself", "src", "src/sub/src", "A folder cannot go into itself.");
        row("missing", "src/none", "dst/none", "It does not exist.");
        row("read-only target", "src/sub/b", "locked/b", "Permission denied");
        row("a folder in the way", "src/sub/b", "dst/b", "A folder of that name is there already.");
    }

    void refusals()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(QString, reason);
        m_env->writeFile("src/sub/b", "b");
        QDir().mkpath(path("dst/b"));
        QDir().mkpath(path("locked"));
        for (const auto mode : {Mode::Copy, Mode::Move}) {
            ReadOnlyFolder locked(path("locked"));
            FileTransferJob job(mode, {{path(source), path(target)}}, Taken::Replace);
            run(job);
            QCOMPARE(job.failures().size(), 1);
            QCOMPARE(job.failures().failures().first().path, path(source));
            QVERIFY2(job.failures().failures().first().reason.endsWith(reason),
                     qPrintable(job.failures().failures().first().reason));
            QVERIFY(job.done().isEmpty());
            QCOMPARE(readAll(path("src/sub/b")), "b");
            QCOMPARE(entries(path("locked")), QStringList());
            QVERIFY(m_trash->trashed().isEmpty());
        }
    }

    // A cancelled copy keeps the files it wrote and lists exactly those.
    void aCancelledCopyListsWhatItDid()
    {
        for (int i = 0; i < 5; ++i)
            m_env->writeFile(QStringLiteral("src/%1.txt").arg(i), "x");
        FileTransferJob copy(Mode::Copy, {{path("src"), path("dst")}}, Taken::Skip);
        connect(&copy, &Job::filesCounted, this, [&copy](qint64 done) {
            if (done == 2)
                copy.cancel();
        });
        QCOMPARE(run(copy).done().size(), 2);
        QCOMPARE(entries(path("dst")), (QStringList{"0.txt", "1.txt"}));
    }

    // Across file systems a move copies and removes; /dev/shm is another one on most systems.
    void aMoveAcrossFileSystemsCopiesAndRemoves()
    {
        QTemporaryDir other("/dev/shm/nuvela-test-XXXXXX");
        if (!other.isValid() ||
            QStorageInfo(other.path()).device() == QStorageInfo(m_env->scratch()).device())
            QSKIP("no second file system at /dev/shm");
        m_env->writeFile("src/Trip/day 1.txt", "one");
        m_env->writeFile("src/Trip/sub/day 2.txt", "two");
        FileTransferJob move(Mode::Move, {{path("src/Trip"), other.path() + "/Trip"}}, Taken::Skip);
        QVERIFY(run(move).failures().isEmpty());
        QVERIFY(!QFileInfo::exists(path("src/Trip")));
        QCOMPARE(readAll(other.path() + "/Trip/sub/day 2.txt"), "two");
        QCOMPARE(move.done().size(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_FileOperations)
#include "tst_FileOperations.moc"
