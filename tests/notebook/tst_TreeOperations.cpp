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
        record.docType = QStringLiteral("List");
        record.keyword = QStringLiteral("red,blue");
        record.picFileLink = QStringLiteral("/pictures/x.png");
        record.content = QStringLiteral("{\\rtf1 text}");
        record.category1 = QStringLiteral("Home");
        if (!m_catalogue->writeRow(record))
            qFatal("row not written");
        return file;
    }

    QStringList rowPaths() const
    {
        return m_store->column(QStringLiteral("select path from nv_notesdairy1 order by path"));
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
        m_tree = std::make_unique<TreeOperations>(*m_catalogue, QStringLiteral("Notebook"));
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
        QTest::addColumn<QString>("answer"); // "<cancel>" cancels the prompt
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("message");
        QTest::newRow("made") << "Plans" << QStringList{".secret", "Old", "Plans"} << "";
        QTest::newRow("quotes, percent, non-ASCII")
            << "  O'Brien \"100%\" Übersicht "
            << QStringList{".secret", "O'Brien \"100%\" Übersicht", "Old"} << "";
        QTest::newRow("cancelled") << "<cancel>" << QStringList{".secret", "Old"} << "";
        QTest::newRow("empty") << "  " << QStringList{".secret", "Old"} << "";
        QTest::newRow("taken") << "Old" << QStringList{".secret", "Old"} << "Name already exits";
        QTest::newRow("taken by a hidden file")
            << ".secret" << QStringList{".secret", "Old"} << "Name already exits";
        QTest::newRow("a separator") << "a/b" << QStringList{".secret", "Old"}
                                     << "\"a/b\" cannot be the name of a file or folder.";
    }

    void newFolder()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, after);
        QFETCH(QString, message);
        m_env->writeFile(QStringLiteral("root/.secret"));
        QDir().mkpath(path(QStringLiteral("root/Old")));
        if (answer == QLatin1String("<cancel>"))
            m_env->dialogs().cancelNext();
        else
            m_env->dialogs().answerInput(answer);
        const QString made = m_tree->newFolder(path(QStringLiteral("root")));
        QCOMPARE(m_env->dialogs().shown().first().text,
                 QStringLiteral("Enter New Folder To Create"));
        QCOMPARE(entries(QStringLiteral("root")), after);
        QCOMPARE(made.isEmpty(), after.size() == 2);
        if (!made.isEmpty())
            QVERIFY(QFileInfo(made).isDir());
        QCOMPARE(m_env->dialogs().shown().size(), message.isEmpty() ? 1 : 2);
        if (!message.isEmpty())
            QCOMPARE(lastMessage(), message);
    }

    void aFolderInAReadOnlyFolderFailsWithItsReason()
    {
        QDir().mkpath(path(QStringLiteral("locked")));
        ReadOnlyFolder locked(path(QStringLiteral("locked")));
        m_env->dialogs().answerInput(QStringLiteral("New"));
        QVERIFY(m_tree->newFolder(path(QStringLiteral("locked"))).isEmpty());
        QCOMPARE(lastMessage(), QStringLiteral("The folder could not be created:\n\n") +
                                    path(QStringLiteral("locked/New")) +
                                    QStringLiteral(" - Permission denied"));
        QCOMPARE(m_env->dialogs().shown().last().icon, Dialogs::Icon::Warning);
    }

    void renameAFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("renamed"); // "" when nothing is renamed
        QTest::addColumn<QString>("name");    // the row's DocumentName afterwards
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("message");
        QTest::newRow("text file gets .xls") << "note.txt"
                                             << "memo"
                                             << "memo.xls"
                                             << "memo"
                                             << "xls"
                                             << "";
        QTest::newRow("RTF in any case gets .rtf") << "note.RTF"
                                                   << "letter"
                                                   << "letter.rtf"
                                                   << "letter"
                                                   << "rtf"
                                                   << "";
        QTest::newRow("an extension is kept as typed") << "note.rtf"
                                                       << "memo.doc"
                                                       << "memo.doc"
                                                       << "memo"
                                                       << "doc"
                                                       << "";
        QTest::newRow("quotes, percent, non-ASCII") << "note.rtf"
                                                    << "it's 100%_ Übersicht"
                                                    << "it's 100%_ Übersicht.rtf"
                                                    << "it's 100%_ Übersicht"
                                                    << "rtf"
                                                    << "";
        QTest::newRow("typed name taken") << "note.rtf"
                                          << "memo.rtf"
                                          << ""
                                          << "note"
                                          << "rtf"
                                          << "Name Already Exists";
        QTest::newRow("completed name taken: both stay")
            << "note.rtf"
            << "memo"
            << "memo (2).rtf"
            << "memo (2)"
            << "rtf"
            << "memo.rtf is taken, so both files stay: the renamed one is\n";
        QTest::newRow("same name") << "note.rtf"
                                   << "note.rtf"
                                   << ""
                                   << "note"
                                   << "rtf"
                                   << "Name Already Exists";
    }

    void renameAFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, answer);
        QFETCH(QString, renamed);
        QFETCH(QString, name);
        QFETCH(QString, ext);
        QFETCH(QString, message);
        const QString old = document(QStringLiteral("d/") + file, "body");
        m_env->writeFile(QStringLiteral("d/memo.rtf"), "other");
        m_env->dialogs().answerInput(answer);
        const QString result = m_tree->rename(old, FolderTree::Tag::File, file);
        QCOMPARE(m_env->dialogs().shown().first().text,
                 QStringLiteral("Rename File ") + file + QStringLiteral(" To "));
        QCOMPARE(result, renamed.isEmpty() ? QString() : path(QStringLiteral("d/") + renamed));
        const QString now = renamed.isEmpty() ? old : result;
        QCOMPARE(readAll(now), QByteArray("body"));
        QCOMPARE(QFileInfo::exists(old), renamed.isEmpty());
        QCOMPARE(readAll(path(QStringLiteral("d/memo.rtf"))), QByteArray("other"));
        QCOMPARE(rowPaths(), QStringList{now});
        const DocumentRecord row = *m_catalogue->byPath(now);
        QCOMPARE(row.documentName, name);
        QCOMPARE(row.ext, ext);
        QCOMPARE(row.keyword, QStringLiteral("red,blue")); // the rest of the row stays
        if (message.isEmpty())
            QCOMPARE(m_env->dialogs().shown().size(), 1);
        else
            QVERIFY(lastMessage().startsWith(message));
    }

    void aRenameThatFailsChangesNothing()
    {
        const QString old = document(QStringLiteral("locked/note.rtf"), "body");
        const QString file = m_env->writeFile(QStringLiteral("loose.txt"), "loose"); // no row
        {
            ReadOnlyFolder locked(path(QStringLiteral("locked")));
            m_env->dialogs().answerInput(QStringLiteral("memo"));
            QVERIFY(
                m_tree->rename(old, FolderTree::Tag::File, QStringLiteral("note.rtf")).isEmpty());
        }
        QVERIFY(lastMessage().startsWith(QStringLiteral("It could not be renamed:\n\n") + old +
                                         QStringLiteral(" - Permission denied")));
        QCOMPARE(rowPaths(), QStringList{old});
        QCOMPARE(readAll(old), QByteArray("body"));
        // A file without a row is renamed all the same; the root never.
        m_env->dialogs().answerInput(QStringLiteral("tight"));
        QCOMPARE(m_tree->rename(file, FolderTree::Tag::File, QStringLiteral("loose.txt")),
                 path(QStringLiteral("tight.xls")));
        QVERIFY(m_tree->rename(path(QString()), FolderTree::Tag::Main, QStringLiteral("Desktop"))
                    .isEmpty());
        QCOMPARE(rowPaths(), QStringList{old});
    }

    // Rows of the files of a renamed folder follow it; a folder whose name only begins alike
    // keeps its rows.
    void renameAFolder()
    {
        const QString a = document(QStringLiteral("Plans/a.rtf"));
        const QString b = document(QStringLiteral("Plans/sub/b.rtf"));
        const QString other = document(QStringLiteral("Plans 2/c.rtf"));
        m_env->dialogs().answerInput(QStringLiteral("Pläne"));
        QCOMPARE(m_tree->rename(path(QStringLiteral("Plans")), FolderTree::Tag::Folder,
                                QStringLiteral("Plans")),
                 path(QStringLiteral("Pläne")));
        QCOMPARE(m_env->dialogs().shown().first().text, QStringLiteral("Rename Folder Plans To "));
        QVERIFY(!QFileInfo::exists(a));
        QCOMPARE(rowPaths(), (QStringList{path(QStringLiteral("Plans 2/c.rtf")),
                                          path(QStringLiteral("Pläne/a.rtf")),
                                          path(QStringLiteral("Pläne/sub/b.rtf"))}));
        QVERIFY(QFileInfo::exists(path(QStringLiteral("Pläne/sub/b.rtf"))));
        QCOMPARE(m_catalogue->byPath(path(QStringLiteral("Pläne/a.rtf")))->docType,
                 QStringLiteral("List"));
        Q_UNUSED(b);
        Q_UNUSED(other);
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
        const QString file = document(QStringLiteral("d/it's 100%.rtf"), "body");
        const QString kept = document(QStringLiteral("d/kept.rtf"));
        if (!trash)
            m_trash->makeUnavailable();
        m_env->dialogs().answerQuestion(yes);
        if (yes && !trash)
            m_env->dialogs().answerQuestion(forGood);
        QCOMPARE(m_tree->remove(file, FolderTree::Tag::File), deleted);
        QCOMPARE(m_env->dialogs().shown().first().text,
                 QStringLiteral("Are you sure want to delete this File"));
        QCOMPARE(m_env->dialogs().shown().first().icon, Dialogs::Icon::Information);
        QCOMPARE(QFileInfo::exists(file), !deleted);
        QCOMPARE(rowPaths(), deleted ? QStringList{kept} : (QStringList{file, kept}));
        QCOMPARE(m_trash->trashed(),
                 deleted && trash ? QStringList{"it's 100%.rtf"} : QStringList());
        QCOMPARE(m_env->platform().sounds.size(), deleted ? 1 : 0);
    }

    void deleteAFolder()
    {
        document(QStringLiteral("Plans/a.rtf"));
        document(QStringLiteral("Plans/sub/b.rtf"));
        const QString other = document(QStringLiteral("Plans 2/c.rtf"));
        const QString loose = m_env->writeFile(QStringLiteral("loose.txt")); // no row
        m_env->dialogs().answerQuestion(true);
        QVERIFY(m_tree->remove(path(QStringLiteral("Plans")), FolderTree::Tag::Folder));
        QCOMPARE(m_env->dialogs().shown().first().text,
                 QStringLiteral("Are you sure want to delete this Folder"));
        QCOMPARE(rowPaths(), QStringList{other});
        QCOMPARE(m_trash->trashed(), QStringList{"Plans"});
        QVERIFY(QFileInfo::exists(m_trash->trashedPath(QStringLiteral("Plans/sub/b.rtf"))));
        // A file without a row is deleted alone; the root never.
        m_env->dialogs().answerQuestion(true);
        QVERIFY(m_tree->remove(loose, FolderTree::Tag::File));
        QVERIFY(!m_tree->remove(m_env->scratch(), FolderTree::Tag::Main));
        QCOMPARE(rowPaths(), QStringList{other});
    }

    void aDeleteThatFailsKeepsFileAndRow()
    {
        const QString file = document(QStringLiteral("locked/note.rtf"), "body");
        {
            ReadOnlyFolder locked(path(QStringLiteral("locked")));
            m_env->dialogs().answerQuestion(true);
            QVERIFY(!m_tree->remove(file, FolderTree::Tag::File));
        }
        QCOMPARE(lastMessage(), QStringLiteral("It could not be deleted:\n\n") + file +
                                    QStringLiteral(" - Permission denied"));
        QCOMPARE(readAll(file), QByteArray("body"));
        QCOMPARE(rowPaths(), QStringList{file});
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
        const QString source = document(QStringLiteral("from/it's 100% Ü.rtf"), "new");
        const QString target = path(QStringLiteral("to/it's 100% Ü.rtf"));
        QDir().mkpath(path(QStringLiteral("to")));
        if (occupied) {
            m_env->writeFile(QStringLiteral("to/it's 100% Ü.rtf"), "old");
            DocumentRecord there = NotesCatalogue::linkRecord(target);
            there.docType = QStringLiteral("Letters");
            QVERIFY(m_catalogue->writeRow(there));
        }
        m_tree->setClipboard(source, cut ? TreeOperations::Mode::Cut : TreeOperations::Mode::Copy);
        if (answer >= 0)
            m_env->dialogs().answerQuestion(answer == 1);
        const QString result = m_tree->paste(path(into));
        if (answer >= 0)
            QCOMPARE(m_env->dialogs().shown().first().text,
                     QStringLiteral("File Exists.Do you want to overwrite ? "));
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
        QCOMPARE(row.keyword, QStringLiteral("red,blue"));
        QCOMPARE(row.category1, QStringLiteral("Home"));
        QCOMPARE(row.docType, occupied ? QStringLiteral("Letters") : QString());
        QVERIFY(row.picFileLink.isNull());
        QVERIFY(row.content.isNull());
        QCOMPARE(m_tree->clipboardPath().isEmpty(), cut);
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
        const QString a = document(QStringLiteral("from/Plans/a.rtf"), "a");
        document(QStringLiteral("from/Plans/sub/b.rtf"), "b");
        QDir().mkpath(path(QStringLiteral("to")));
        if (merge) {
            m_env->writeFile(QStringLiteral("to/Plans/a.rtf"), "old a");
            m_env->writeFile(QStringLiteral("to/Plans/mine.txt"), "mine");
            m_env->dialogs().answerQuestion(true);
        }
        m_tree->setClipboard(path(QStringLiteral("from/Plans")),
                             cut ? TreeOperations::Mode::Cut : TreeOperations::Mode::Copy);
        QCOMPARE(m_tree->paste(path(QStringLiteral("to"))), path(QStringLiteral("to/Plans")));
        if (merge)
            QCOMPARE(m_env->dialogs().shown().first().text,
                     QStringLiteral("Folder Exists.Do you want to overwrite ? "));
        QCOMPARE(readAll(path(QStringLiteral("to/Plans/a.rtf"))), QByteArray("a"));
        QCOMPARE(readAll(path(QStringLiteral("to/Plans/sub/b.rtf"))), QByteArray("b"));
        QCOMPARE(readAll(path(QStringLiteral("to/Plans/mine.txt"))),
                 merge ? QByteArray("mine") : QByteArray());
        QCOMPARE(QFileInfo::exists(path(QStringLiteral("from/Plans"))), !cut);
        QCOMPARE(m_trash->trashed(), merge ? QStringList{"a.rtf"} : QStringList());
        const QStringList moved = {path(QStringLiteral("to/Plans/a.rtf")),
                                   path(QStringLiteral("to/Plans/sub/b.rtf"))};
        const QStringList copied =
            QStringList{a, path(QStringLiteral("from/Plans/sub/b.rtf"))} + moved;
        QCOMPARE(rowPaths(), cut ? moved : copied);
        // Rows that moved with their folder keep everything; copies leave the DocType out.
        QCOMPARE(m_catalogue->byPath(moved.first())->docType,
                 cut ? QStringLiteral("List") : QString());
    }

    void pasteRefusals_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("into");
        QTest::addColumn<QString>("reason");
        QTest::newRow("into its own sub-folder") << "Plans"
                                                 << "Plans/sub"
                                                 << "A folder cannot go into itself.";
        QTest::newRow("gone meanwhile") << "gone.rtf"
                                        << "Plans"
                                        << "It does not exist any more.";
        QTest::newRow("read-only target") << "Plans/sub/b.rtf"
                                          << "locked"
                                          << "Permission denied";
    }

    void pasteRefusals()
    {
        QFETCH(QString, source);
        QFETCH(QString, into);
        QFETCH(QString, reason);
        const QString b = document(QStringLiteral("Plans/sub/b.rtf"), "b");
        QDir().mkpath(path(QStringLiteral("locked")));
        ReadOnlyFolder locked(path(QStringLiteral("locked")));
        for (const auto mode : {TreeOperations::Mode::Copy, TreeOperations::Mode::Cut}) {
            m_env->dialogs().clear();
            m_tree->setClipboard(path(source), mode);
            QVERIFY(m_tree->paste(path(into)).isEmpty());
            QVERIFY2(lastMessage().startsWith(QStringLiteral("It could not be pasted:\n\n") +
                                              path(source) + QStringLiteral(" - ")),
                     qPrintable(lastMessage()));
            QVERIFY2(lastMessage().endsWith(reason), qPrintable(lastMessage()));
            QCOMPARE(readAll(b), QByteArray("b"));
            QCOMPARE(rowPaths(), QStringList{b});
            QCOMPARE(entries(QStringLiteral("locked")), QStringList());
        }
    }
};

QTEST_GUILESS_MAIN(tst_TreeOperations)
#include "tst_TreeOperations.moc"
