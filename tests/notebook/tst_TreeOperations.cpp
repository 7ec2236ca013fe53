#include "ContentIndex.h"
#include "NotesCatalogue.h"
#include "TreeOperations.h"

#include "ReadOnlyFolder.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "TestTrash.h"

#include <QDir>
#include <QTest>

namespace
{

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The tree's commands on real folders: the disk and the catalogue's rows after each one, names
// with quotes, "%" and non-ASCII letters, taken names, read-only folders and the trash.
class tst_TreeOperations : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestTrash> m_trash;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<NotesCatalogue> m_catalogue;
    std::unique_ptr<TreeOperations> m_tree;

    QString path(const QString &relative) const { return m_env->scratch() + u'/' + relative; }

    // A document file with its row: DocType "List", a keyword and a body copy, so that what a
    // copy leaves out shows.
    QString document(const QString &relative, const QByteArray &bytes = "{\\rtf1 text}")
    {
        const QString file = m_env->writeFile(relative, bytes);
        DocumentRecord record = NotesCatalogue::linkRecord(file);
        record.docType = "List";
        record.keyword = "red,blue";
        record.picFileLink = "/pictures/x.png";
        record.content = "{\\rtf1 text}";
        record.category1 = "Home";
        if (!m_catalogue->writeRow(record))
            qFatal("row not written");
        return file;
    }

    QStringList rowPaths() const
    {
        return m_store->column("select path from nv_notesdairy1 order by path");
    }

    QStringList entries(const QString &relative) const
    {
        return QDir(path(relative))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QString lastMessage() const { return m_env->dialogs().shown().last().text; }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_trash = std::make_unique<TestTrash>();
        m_store = std::make_unique<Store>(Store::Kind::Data);
        m_catalogue = std::make_unique<NotesCatalogue>(*m_store);
        m_tree = std::make_unique<TreeOperations>(*m_catalogue, "Notebook");
    }
    void cleanup()
    {
        m_tree.reset();
        m_catalogue.reset();
        m_store.reset();
        m_trash.reset();
        m_env.reset();
    }

    void newFolder_data()
    {
        QTest::addColumn<QString>("answer"); // null cancels the prompt
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *tag, const QString &answer, const QString &made,
                            const QString &message) {
            QTest::newRow(tag) << answer << made << message;
        };
        row("quotes, percent, non-ASCII", " O'Brien \"100%\" Ü ", "O'Brien \"100%\" Ü", "");
        row("cancelled", QString(), "", "");
        row("taken", "Old", "", "Name already exits");
        row("taken by a hidden file", ".secret", "", "Name already exits");
        row("a separator", "a/b", "", "\"a/b\" cannot be the name of a file or folder.");
    }

    void newFolder()
    {
        QFETCH(QString, answer);
        QFETCH(QString, made);
        QFETCH(QString, message);
        m_env->writeFile("root/.secret");
        QDir().mkpath(path("root/Old"));
        answer.isNull() ? m_env->dialogs().cancelNext() : m_env->dialogs().answerInput(answer);
        const QString result = m_tree->newFolder(path("root"));
        QCOMPARE(m_env->dialogs().shown().first().text, "Enter New Folder To Create");
        QStringList after{".secret", "Old"};
        if (!made.isEmpty())
            after.insert(1, made);
        QCOMPARE(entries("root"), after);
        QCOMPARE(result, made.isEmpty() ? QString() : path("root/" + made));
        QCOMPARE(m_env->dialogs().shown().size(), message.isEmpty() ? 1 : 2);
        if (!message.isEmpty())
            QCOMPARE(lastMessage(), message);
        // In a read-only folder the reason is told.
        QDir().mkpath(path("locked"));
        ReadOnlyFolder locked(path("locked"));
        m_env->dialogs().answerInput("New");
        QVERIFY(m_tree->newFolder(path("locked")).isEmpty());
        QCOMPARE(lastMessage(),
                 "The folder could not be created:\n\n" + path("locked/New - Permission denied"));
    }

    void renameAFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("renamed"); // "" when nothing is renamed
        QTest::addColumn<QString>("ext");     // the row's ext afterwards
        QTest::addColumn<QString>("message");
        const auto row = [](const char *tag, const QString &file, const QString &answer,
                            const QString &renamed, const QString &ext, const QString &message) {
            QTest::newRow(tag) << file << answer << renamed << ext << message;
        };
        row("text gets .xls", "note.txt", "memo", "memo.xls", "xls", "");
        row("RTF gets .rtf", "note.RTF", "letter", "letter.rtf", "rtf", "");
        row("typed extension", "note.rtf", "memo.doc", "memo.doc", "doc", "");
        row("quotes, percent, non-ASCII", "note.rtf", "it's 100%_ Ü", "it's 100%_ Ü.rtf", "rtf",
            "");
        row("typed name taken", "note.rtf", "memo.rtf", "", "rtf", "Name Already Exists");
        row("completed name taken: both stay", "note.rtf", "memo", "memo (2).rtf", "rtf",
            "memo.rtf is taken, so both files stay: the renamed one is\n");
    }

    void renameAFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, answer);
        QFETCH(QString, renamed);
        QFETCH(QString, ext);
        QFETCH(QString, message);
        const QString old = document("d/" + file, "body");
        m_env->writeFile("d/memo.rtf", "other");
        m_env->dialogs().answerInput(answer);
        const QString result = m_tree->rename(old, FolderTree::Tag::File, file);
        QCOMPARE(m_env->dialogs().shown().first().text, "Rename File " + file + " To ");
        const QString now = renamed.isEmpty() ? old : path("d/" + renamed);
        QCOMPARE(result, renamed.isEmpty() ? QString() : now);
        QCOMPARE(readAll(now), QByteArray("body"));
        QCOMPARE(QFileInfo::exists(old), renamed.isEmpty());
        QCOMPARE(readAll(path("d/memo.rtf")), QByteArray("other"));
        QCOMPARE(rowPaths(), QStringList{now});
        const DocumentRecord row = *m_catalogue->byPath(now);
        QCOMPARE(row.documentName, QFileInfo(now).fileName().section(u'.', 0, 0));
        QCOMPARE(row.ext, ext);
        QCOMPARE(row.keyword, "red,blue"); // the rest of the row stays
        QCOMPARE(m_env->dialogs().shown().size(), message.isEmpty() ? 1 : 2);
        if (!message.isEmpty())
            QVERIFY(lastMessage().startsWith(message));
    }

    void aRenameThatFailsChangesNothing()
    {
        const QString old = document("locked/note.rtf", "body");
        const QString file = m_env->writeFile("loose.txt", "loose"); // no row
        {
            ReadOnlyFolder locked(path("locked"));
            m_env->dialogs().answerInput("memo");
            QVERIFY(m_tree->rename(old, FolderTree::Tag::File, "note.rtf").isEmpty());
        }
        QVERIFY(lastMessage().startsWith("It could not be renamed:\n\n" + old +
                                         " - Permission denied"));
        QCOMPARE(rowPaths(), QStringList{old});
        QCOMPARE(readAll(old), QByteArray("body"));
        // A file without a row is renamed all the same; the root never.
        m_env->dialogs().answerInput("tight");
        QCOMPARE(m_tree->rename(file, FolderTree::Tag::File, "loose.txt"), path("tight.xls"));
        QVERIFY(m_tree->rename(path(QString()), FolderTree::Tag::Main, "Desktop").isEmpty());
        QCOMPARE(rowPaths(), QStringList{old});
    }

    // Rows of the files of a renamed folder follow it; a folder whose name only begins alike
    // keeps its rows.
    void renameAFolder()
    {
        const QString a = document("Plans/a.rtf");
        document("Plans/sub/b.rtf");
        document("Plans 2/c.rtf");
        m_env->dialogs().answerInput("Pläne");
        QCOMPARE(m_tree->rename(path("Plans"), FolderTree::Tag::Folder, "Plans"), path("Pläne"));
        QCOMPARE(m_env->dialogs().shown().first().text, "Rename Folder Plans To ");
        QVERIFY(!QFileInfo::exists(a));
        QCOMPARE(rowPaths(), (QStringList{path("Plans 2/c.rtf"), path("Pläne/a.rtf"),
                                          path("Pläne/sub/b.rtf")}));
        QVERIFY(QFileInfo::exists(path("Pläne/sub/b.rtf")));
        QCOMPARE(m_catalogue->byPath(path("Pläne/a.rtf"))->docType, "List");
    }

    void deleteAFile_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("trash");   // a trash can be made
        QTest::addColumn<bool>("forGood"); // the answer to the second question
        QTest::addColumn<bool>("deleted");
        QTest::newRow("declined") << false << true << false << false;
        QTest::newRow("to the trash") << true << true << false << true;
        QTest::newRow("no trash, removed for good") << true << false << true << true;
        QTest::newRow("no trash, kept") << true << false << false << false;
    }

    void deleteAFile()
    {
        QFETCH(bool, yes);
        QFETCH(bool, trash);
        QFETCH(bool, forGood);
        QFETCH(bool, deleted);
        const QString file = document("d/it's 100%.rtf", "body");
        const QString kept = document("d/kept.rtf");
        if (!trash)
            m_trash->makeUnavailable();
        m_env->dialogs().answerQuestion(yes);
        if (yes && !trash)
            m_env->dialogs().answerQuestion(forGood);
        QCOMPARE(m_tree->remove(file, FolderTree::Tag::File), deleted);
        QCOMPARE(m_env->dialogs().shown().first().text, "Are you sure want to delete this File");
        QCOMPARE(m_env->dialogs().shown().first().icon, Dialogs::Icon::Information);
        QCOMPARE(QFileInfo::exists(file), !deleted);
        QCOMPARE(rowPaths(), deleted ? QStringList{kept} : (QStringList{file, kept}));
        QCOMPARE(m_trash->trashed(),
                 deleted && trash ? QStringList{"it's 100%.rtf"} : QStringList());
        QCOMPARE(m_env->platform().sounds.size(), deleted ? 1 : 0);
    }

    void deleteAFolder()
    {
        document("Plans/a.rtf");
        document("Plans/sub/b.rtf");
        const QString other = document("Plans 2/c.rtf");
        const QString loose = m_env->writeFile("loose.txt"); // no row
        m_env->dialogs().answerQuestion(true);
        QVERIFY(m_tree->remove(path("Plans"), FolderTree::Tag::Folder));
        QCOMPARE(m_env->dialogs().shown().first().text, "Are you sure want to delete this Folder");
        QCOMPARE(rowPaths(), QStringList{other});
        QCOMPARE(m_trash->trashed(), QStringList{"Plans"});
        QVERIFY(QFileInfo::exists(m_trash->trashedPath("Plans/sub/b.rtf")));
        // A file without a row is deleted alone; the root never.
        m_env->dialogs().answerQuestion(true);
        QVERIFY(m_tree->remove(loose, FolderTree::Tag::File));
        QVERIFY(!m_tree->remove(m_env->scratch(), FolderTree::Tag::Main));
        QCOMPARE(rowPaths(), QStringList{other});
    }

    // Paste of a file, copied or cut, onto a free name, onto its own place and onto another
    // file of the name.
    void pasteAFile_data()
    {
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QString>("into");  // the folder pasted into
        QTest::addColumn<bool>("occupied"); // "to/it's 100% Ü.rtf" is there before
        QTest::addColumn<int>("answer");    // -1: no question; 0 No; 1 Yes
        QTest::addColumn<bool>("pasted");
        QTest::newRow("copy") << false << "to" << false << -1 << true;
        QTest::newRow("cut") << true << "to" << false << -1 << true;
        QTest::newRow("copy onto itself, yes") << false << "from" << false << 1 << true;
        QTest::newRow("cut onto itself, yes") << true << "from" << false << 1 << true;
        QTest::newRow("copy onto another, no") << false << "to" << true << 0 << false;
        QTest::newRow("copy onto another, yes") << false << "to" << true << 1 << true;
        QTest::newRow("cut onto another, yes") << true << "to" << true << 1 << true;
    }

    void pasteAFile()
    {
        QFETCH(bool, cut);
        QFETCH(QString, into);
        QFETCH(bool, occupied);
        QFETCH(int, answer);
        QFETCH(bool, pasted);
        const QString source = document("from/it's 100% Ü.rtf", "new");
        const QString target = path("to/it's 100% Ü.rtf");
        QDir().mkpath(path("to"));
        if (occupied) {
            m_env->writeFile("to/it's 100% Ü.rtf", "old");
            DocumentRecord there = NotesCatalogue::linkRecord(target);
            there.docType = "Letters";
            QVERIFY(m_catalogue->writeRow(there));
        }
        m_tree->setClipboard(source, cut ? TreeOperations::Mode::Cut : TreeOperations::Mode::Copy);
        if (answer >= 0)
            m_env->dialogs().answerQuestion(answer == 1);
        const QString result = m_tree->paste(path(into));
        if (answer >= 0)
            QCOMPARE(m_env->dialogs().shown().first().text,
                     "File Exists.Do you want to overwrite ? ");
        else
            QVERIFY(m_env->dialogs().shown().isEmpty());
        QCOMPARE(!result.isEmpty(), pasted);
        if (into == QLatin1String("from")) {
            // Overwriting a file with itself leaves file and row as they were.
            QCOMPARE(readAll(source), QByteArray("new"));
            QCOMPARE(rowPaths(), QStringList{source});
            QCOMPARE(m_tree->clipboardPath().isEmpty(), cut);
            return;
        }
        QCOMPARE(readAll(target), pasted ? QByteArray("new") : QByteArray("old"));
        QCOMPARE(QFileInfo::exists(source), !(cut && pasted));
        QCOMPARE(m_trash->trashed(),
                 occupied && pasted ? QStringList{"it's 100% Ü.rtf"} : QStringList());
        if (!pasted)
            return;
        QCOMPARE(rowPaths(), cut ? QStringList{target} : (QStringList{source, target}));
        // The copied row has the facts but neither DocType, picture link nor body copy; a row
        // that was there keeps its own DocType.
        const DocumentRecord row = *m_catalogue->byPath(target);
        QCOMPARE(row.keyword, "red,blue");
        QCOMPARE(row.category1, "Home");
        QCOMPARE(row.docType, occupied ? "Letters" : QString());
        QVERIFY(row.picFileLink.isNull());
        QVERIFY(row.content.isNull());
        QCOMPARE(m_tree->clipboardPath().isEmpty(), cut);
    }

    // A file pasted where a folder has its name keeps both, without a question.
    void aFolderOfTheNameStays()
    {
        const QString file = document("from/Plans", "file");
        m_env->writeFile("to/Plans/inside.txt", "inside");
        m_tree->setClipboard(file, TreeOperations::Mode::Copy);
        QCOMPARE(m_tree->paste(path("to")), path("to/Plans (2)"));
        QCOMPARE(readAll(path("to/Plans/inside.txt")), QByteArray("inside"));
        QVERIFY(m_env->dialogs().shown().isEmpty());
        QVERIFY(m_trash->trashed().isEmpty());
    }

    void pasteAFolder_data()
    {
        QTest::addColumn<bool>("cut");
        QTest::addColumn<bool>("merge"); // "to/Plans" is there, with a file of the same name
        QTest::newRow("copy") << false << false;
        QTest::newRow("cut") << true << false;
        QTest::newRow("copy, merged") << false << true;
        QTest::newRow("cut, merged") << true << true;
    }

    void pasteAFolder()
    {
        QFETCH(bool, cut);
        QFETCH(bool, merge);
        const QString a = document("from/Plans/a.rtf", "a");
        document("from/Plans/sub/b.rtf", "b");
        QDir().mkpath(path("to"));
        if (merge) {
            m_env->writeFile("to/Plans/a.rtf", "old a");
            m_env->writeFile("to/Plans/mine.txt", "mine");
            m_env->dialogs().answerQuestion(true);
        }
        m_tree->setClipboard(path("from/Plans"),
                             cut ? TreeOperations::Mode::Cut : TreeOperations::Mode::Copy);
        QCOMPARE(m_tree->paste(path("to")), path("to/Plans"));
        if (merge)
            QCOMPARE(m_env->dialogs().shown().first().text,
                     "Folder Exists.Do you want to overwrite ? ");
        QCOMPARE(readAll(path("to/Plans/a.rtf")), QByteArray("a"));
        QCOMPARE(readAll(path("to/Plans/sub/b.rtf")), QByteArray("b"));
        QCOMPARE(readAll(path("to/Plans/mine.txt")), merge ? QByteArray("mine") : QByteArray());
        QCOMPARE(QFileInfo::exists(path("from/Plans")), !cut);
        QCOMPARE(m_trash->trashed(), merge ? QStringList{"a.rtf"} : QStringList());
        const QStringList moved = {path("to/Plans/a.rtf"), path("to/Plans/sub/b.rtf")};
        const QStringList copied = QStringList{a, path("from/Plans/sub/b.rtf")} + moved;
        QCOMPARE(rowPaths(), cut ? moved : copied);
        // Rows that moved with their folder keep everything; copies leave the DocType out.
        QCOMPARE(m_catalogue->byPath(moved.first())->docType, cut ? "List" : QString());
    }

    void pasteRefusals_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("into");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *tag, const QString &source, const QString &into,
                            const QString &reason) {
            QTest::newRow(tag) << source << into << reason;
        };
        row("into its own sub-folder", "Plans", "Plans/sub", "A folder cannot go into itself.");
        row("gone meanwhile", "gone.rtf", "Plans", "It does not exist any more.");
        row("read-only target", "Plans/sub/b.rtf", "locked", "Permission denied");
    }

    void pasteRefusals()
    {
        QFETCH(QString, source);
        QFETCH(QString, into);
        QFETCH(QString, reason);
        const QString b = document("Plans/sub/b.rtf", "b");
        QDir().mkpath(path("locked"));
        ReadOnlyFolder locked(path("locked"));
        for (const auto mode : {TreeOperations::Mode::Copy, TreeOperations::Mode::Cut}) {
            m_env->dialogs().clear();
            m_tree->setClipboard(path(source), mode);
            QVERIFY(m_tree->paste(path(into)).isEmpty());
            QVERIFY2(lastMessage().startsWith("It could not be pasted:\n\n" + path(source) + " - "),
                     qPrintable(lastMessage()));
            QVERIFY2(lastMessage().endsWith(reason), qPrintable(lastMessage()));
            QCOMPARE(readAll(b), QByteArray("b"));
            QCOMPARE(rowPaths(), QStringList{b});
            QCOMPARE(entries("locked"), QStringList());
        }
    }
};

QTEST_GUILESS_MAIN(tst_TreeOperations)
#include "tst_TreeOperations.moc"
