#include "DocImport.h"
#include "EditorAutosave.h"
#include "EditorText.h"
#include "KeyedGridModel.h"
#include "ListDocument.h"
#include "NotebookList.h"
#include "NotesCatalogue.h"
#include "OfficeTools.h"
#include "SqlText.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "WordList.h"

#include <QSqlQuery>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

// The editors' logic without windows: stamps, case, FindWord, palettes, word lists, keywords,
// the document save, DOC import, autosave copies and list documents from grids.
class tst_NotebookEditorCore : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    static void addWords(const Store &store, const QList<QStringList> &words)
    {
        for (const QStringList &word : words)
            QVERIFY(store.exec(QStringLiteral("insert into ut_NbKeyword (Keyword, Subject) values "
                                              "(%1, %2)")
                                   .arg(SqlText::literal(word[0]), SqlText::literal(word[1]))));
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void stamps_data()
    {
        QTest::addColumn<bool>("time");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("national");
        QTest::addColumn<QString>("stamp");
        using S = EditorText::Stamp;
        QTest::newRow("medium time") << true << int(S::Medium) << false << " Time: 03:07 PM";
        QTest::newRow("long time") << true << int(S::Long) << false << " Time: 03:07:09 PM";
        QTest::newRow("short time") << true << int(S::Short) << false << " Time: 15:07";
        QTest::newRow("medium national")
            << false << int(S::Medium) << true << "  Date: 04 Dec-2026";
        QTest::newRow("medium month first")
            << false << int(S::Medium) << false << "  Date: Dec 04-2026";
        QTest::newRow("short national") << false << int(S::Short) << true << "  Date: 4 Dec-26";
        QTest::newRow("short month first") << false << int(S::Short) << false << "  Date: Dec 4-26";
        QTest::newRow("long") << false << int(S::Long) << true << "  Date: Friday December 04 2026";
    }

    void stamps()
    {
        QFETCH(bool, time);
        QFETCH(int, kind);
        QFETCH(bool, national);
        QFETCH(QString, stamp);
        const auto k = EditorText::Stamp(kind);
        QCOMPARE(time ? EditorText::timeStamp(k, QTime(15, 7, 9))
                      : EditorText::dateStamp(k, QDate(2026, 12, 4), national),
                 stamp);
    }

    void shortTimeOfTheMorning()
    {
        QCOMPARE(EditorText::timeStamp(EditorText::Stamp::Short, QTime(9, 5)),
                 QStringLiteral(" Time: 9:05"));
        QCOMPARE(EditorText::timeStamp(EditorText::Stamp::Medium, QTime(0, 1)),
                 QStringLiteral(" Time: 12:01 AM"));
    }

    void caseChanges_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("changed");
        using C = EditorText::Case;
        QTest::newRow("lower") << int(C::Lower) << "Grüße AUS Köln"
                               << "grüße aus köln";
        QTest::newRow("upper") << int(C::Upper) << "Grüße aus Köln"
                               << "GRÜSSE AUS KÖLN";
        QTest::newRow("invert") << int(C::Invert) << "aBc Ä1é!"
                                << "AbC ä1É!";
        QTest::newRow("invert empty") << int(C::Invert) << ""
                                      << "";
    }

    void caseChanges()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, changed);
        QCOMPARE(EditorText::changeCase(text, EditorText::Case(kind)), changed);
    }

    void findWord_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("line");
        QTest::newRow("first line") << "alpha" << 0 << 0;
        QTest::newRow("whole words only") << "beta" << 0 << 2;
        QTest::newRow("after a line break") << "gamma" << 0 << 3;
        QTest::newRow("lines before count") << "DELTA" << 0 << 4;
        QTest::newRow("wraps to the start") << "alpha" << 20 << 0;
        QTest::newRow("not found") << "omega" << 0 << -1;
        QTest::newRow("blank") << " " << 0 << -1;
    }

    void findWord()
    {
        QFETCH(QString, word);
        QFETCH(int, from);
        QFETCH(int, line);
        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("alpha alphabet\nbetamax\nbeta") + QChar::LineSeparator +
                          QStringLiteral("gamma\ndelta"));
        QTextCursor start(&document);
        start.setPosition(from);
        const QTextCursor found = EditorText::findWord(document, word, start);
        if (line < 0) {
            QVERIFY(found.isNull());
            return;
        }
        QVERIFY(!found.isNull());
        QCOMPARE(found.selectedText().toLower(), word.toLower());
        QCOMPARE(EditorText::lineOf(document, found.selectionStart()), line);
    }

    void palettes()
    {
        const QList<qint64> &text = EditorText::textPalette();
        const QList<qint64> &back = EditorText::backPalette();
        QCOMPARE(text.size(), 26);
        QCOMPARE(back.size(), 28);
        for (const int i : {4, 11, 16, 23, 25})
            QCOMPARE(text[i - 1], 0x800000);
        for (const int i : {12, 24, 26})
            QCOMPARE(text[i - 1], 0x404080);
        QCOMPARE(back[0], 0xC0C0FF);
        QCOMPARE(back[9], 0xFF00);
        QCOMPARE(back[27], 0x9EB8DE);
    }

    void wordStatements_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("tab") << WordList::subjectStatement("Physics")
                             << QStringList{"phase", "photon", "quark"};
        QTest::newRow("tab All") << WordList::subjectStatement("All")
                                 << QStringList{"O'Neill",        "phase",   "photon",
                                                "photosynthesis", "physics", "quark"};
        QTest::newRow("two subjects") << WordList::subjectsStatement("Physics", "Biology", false)
                                      << QStringList{"phase", "photon", "photosynthesis", "quark"};
        QTest::newRow("all box") << WordList::subjectsStatement("Physics", "Biology", true)
                                 << QStringList{"O'Neill",        "phase",   "photon",
                                                "photosynthesis", "physics", "quark"};
        QTest::newRow("one list empty")
            << WordList::subjectsStatement("", "Biology", false) << QStringList{"photosynthesis"};
        QTest::newRow("ph with Physics twice")
            << WordList::completionStatement("ph", "Physics", "Physics")
            << QStringList{"phase", "photon"};
        QTest::newRow("prefix applies to both")
            << WordList::completionStatement("pho", "Physics", "Biology")
            << QStringList{"photon", "photosynthesis"};
        QTest::newRow("without subjects")
            << WordList::completionStatement("ph", "All", "")
            << QStringList{"phase", "photon", "photosynthesis", "physics"};
        QTest::newRow("quote in the prefix")
            << WordList::autotextStatement("o'n") << QStringList{"O'Neill"};
        QTest::newRow("wildcard typed") << WordList::autotextStatement("*") << QStringList{};
        QTest::newRow("notebook English")
            << WordList::notebookCompletionStatement("p") << QStringList{"physics"};
        QTest::newRow("notebook empty prefix")
            << WordList::notebookCompletionStatement("") << QStringList{"O'Neill", "physics"};
    }

    void wordStatements()
    {
        QFETCH(QString, statement);
        QFETCH(QStringList, words);
        Store store(Store::Kind::Data);
        addWords(store, {{"quark", "Physics"},
                         {"photon", "Physics"},
                         {"phase", "Physics"},
                         {"photosynthesis", "Biology"},
                         {"physics", "English"},
                         {"O'Neill", "English"}});
        const WordList list(store);
        QCOMPARE(list.words(statement), words);
        const QStringList subjects = list.subjects();
        QCOMPARE(QSet<QString>(subjects.begin(), subjects.end()),
                 QSet<QString>({"Physics", "Biology", "English"}));
    }

    void prefixes_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("next");
        QTest::newRow("letter") << "p"
                                << "h"
                                << "ph";
        QTest::newRow("blank resets") << "phot"
                                      << " "
                                      << "";
        QTest::newRow("tab resets") << "phot"
                                    << "\t"
                                    << "";
        QTest::newRow("control key") << "ph"
                                     << "\x01"
                                     << "ph";
        QTest::newRow("accented") << "caf"
                                  << "é"
                                  << "café";
    }

    void prefixes()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, typed);
        QFETCH(QString, next);
        QCOMPARE(WordList::nextPrefix(prefix, typed.at(0)), next);
    }

    void keywords_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("joined");
        QTest::newRow("in order") << QStringList{"red", "", "blue"} << "red,blue";
        QTest::newRow("same keyword twice") << QStringList{"red", "Red ", "red"} << "red";
        QTest::newRow("part of another") << QStringList{"party", "art"} << "party,art";
        QTest::newRow("none") << QStringList{"", " "} << "";
    }

    void keywords()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, joined);
        QCOMPARE(NotesCatalogue::joinKeywords(cells), joined);
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        const QString path = m_env->writeFile(QStringLiteral("k.rtf"), "{\\rtf1 k}");
        QVERIFY(catalogue.AddDocumentLink(path));
        QVERIFY(catalogue.saveKeywords(path, cells));
        QCOMPARE(catalogue.byPath(path)->keyword, joined);
        QVERIFY(!catalogue.saveKeywords(m_env->scratch() + "/none.rtf", cells));
    }

    // A save that cannot write its file changes neither the file nor the row (here the path is
    // a folder, which no one may replace by a file, root included).
    void failedSaveChangesNothing()
    {
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        const QString path = m_env->scratch() + QStringLiteral("/note.rtf");
        QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
        QVERIFY(catalogue.AddDocumentLink(path));
        const DocumentRecord before = *catalogue.byPath(path);
        QString error;
        QCOMPARE(
            catalogue.saveBody(path, "{\\rtf1 new}", "{\\rtf1 new}", 1, QDate(2026, 1, 2), &error),
            NotesCatalogue::Saved::Nothing);
        QVERIFY(!error.isEmpty());
        QVERIFY(QFileInfo(path + QStringLiteral("/inside")).isDir());
        const DocumentRecord after = *catalogue.byPath(path);
        QCOMPARE(after.mDate, before.mDate);
        QCOMPARE(after.bgcolor, before.bgcolor);
        QCOMPARE(after.content, before.content);
        QCOMPARE(QDir(m_env->scratch()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // The file of a plain-text document stays plain text; the body copy is the rich text.
    void plainTextDocumentsKeepTheirForm()
    {
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        const QString path = m_env->writeFile(QStringLiteral("t.txt"), "old");
        QVERIFY(catalogue.AddDocumentLink(path));
        QCOMPARE(
            catalogue.saveBody(path, "plain words", "{\\rtf1 plain words}", 5, QDate(2026, 2, 3)),
            NotesCatalogue::Saved::FileAndRow);
        QCOMPARE(ReadBytes(path), QByteArray("plain words"));
        QCOMPARE(catalogue.byPath(path)->content, QStringLiteral("{\\rtf1 plain words}"));
    }

    void createdRows_data()
    {
        QTest::addColumn<QString>("docType");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("category");
        QTest::newRow("note") << "Notes"
                              << "Idea.rtf"
                              << "Idea"
                              << "Undefined";
        QTest::newRow("list") << "List"
                              << "shop.nvs"
                              << "shop.nvs"
                              << "Undefined";
    }

    void createdRows()
    {
        QFETCH(QString, docType);
        QFETCH(QString, file);
        QFETCH(QString, name);
        QFETCH(QString, category);
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        const QString path = m_env->scratch() + u'/' + file;
        QVERIFY(catalogue.addCreated(path, docType, QDate(2026, 7, 1)));
        QVERIFY(!catalogue.addCreated(path, docType, QDate(2026, 7, 1)));
        const DocumentRecord row = *catalogue.byPath(path);
        QCOMPARE(row.docType, docType);
        QCOMPARE(row.documentName, name);
        QCOMPARE(row.category1, category);
        QCOMPARE(row.date, QDate(2026, 7, 1).startOfDay());
    }

    void docImport_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("raw");
        QTest::newRow("antiword's text")
            << "#!/bin/sh\nprintf '\\nFirst para\\n\\nSecond para\\n\\n'\n"
            << "First para\n\nSecond para" << false;
        QTest::newRow("antiword refuses") << "#!/bin/sh\necho 'not a Word file' >&2\nexit 1\n"
                                          << "raw \xc3\xa9 bytes" << true;
        QTest::newRow("antiword absent") << ""
                                         << "raw \xc3\xa9 bytes" << true;
    }

    void docImport()
    {
        QFETCH(QString, script);
        QFETCH(QString, text);
        QFETCH(bool, raw);
        const QString doc = m_env->writeFile(QStringLiteral("in.doc"), "raw \xc3\xa9 bytes");
        const QString program = m_env->scratch() + QStringLiteral("/antiword-stand-in");
        if (!script.isEmpty()) {
            QVERIFY(WriteBytes(program, script.toUtf8()));
            QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
        }
        const QString original = DocImport::program();
        DocImport::setProgram(program);
        const DocImport::Result result = DocImport::read(doc);
        DocImport::setProgram(original);
        QCOMPARE(result.text, text);
        QCOMPARE(result.fromRawBytes, raw);
        QVERIFY(result.readable);
        QVERIFY(!DocImport::read(m_env->scratch() + "/missing.doc").readable);
    }

    // A real Word file, made by LibreOffice, read through the real antiword.
    void docImportOfARealWordFile()
    {
        NUVELA_REQUIRE_OFFICE();
        if (QStandardPaths::findExecutable(QStringLiteral("antiword")).isEmpty())
            QSKIP("antiword is not installed");
        // antiword refuses documents of a few words: the letter has some length.
        QByteArray letter = "Dear Zo\xc3\xab,\n";
        for (int i = 0; i < 40; ++i)
            letter += "Paragraph " + QByteArray::number(i) + " says the meeting is on Monday.\n";
        const QString source = m_env->writeFile(QStringLiteral("letter.txt"), letter);
        const QString doc = OfficeConvert(source, QStringLiteral("doc"), m_env->scratch(),
                                          m_env->scratch() + QStringLiteral("/profile"));
        QVERIFY2(!doc.isEmpty(), "LibreOffice did not write the .doc");
        const DocImport::Result result = DocImport::read(doc);
        QVERIFY(!result.fromRawBytes);
        QVERIFY(result.text.startsWith(QStringLiteral("Dear Zoë,\nParagraph 0 says the meeting")));
        QVERIFY(
            result.text.endsWith(QStringLiteral("Paragraph 39 says the meeting is on Monday.")));
    }

    void autosaveCopies()
    {
        const QString first = QStringLiteral("/docs/Zoë's note.rtf");
        const QString second = QStringLiteral("/docs/other.rtf");
        QVERIFY(EditorAutosave::pending().isEmpty());
        QVERIFY(EditorAutosave::save(first, "{\\rtf1 one}"));
        QVERIFY(EditorAutosave::save(second, "{\\rtf1 two}"));
        QVERIFY(EditorAutosave::save(first, "{\\rtf1 one again}"));
        // Another file in the folder is no copy.
        QVERIFY(WriteBytes(EditorAutosave::folder() + "/stray.autosave", "garbage\n"));
        const QList<EditorAutosave::Copy> copies = EditorAutosave::pending();
        QCOMPARE(copies.size(), 2);
        QSet<QString> paths;
        for (const EditorAutosave::Copy &copy : copies)
            paths << copy.documentPath;
        QCOMPARE(paths, QSet<QString>({first, second}));
        QCOMPARE(EditorAutosave::restore(first), QByteArray("{\\rtf1 one again}"));
        QVERIFY(EditorAutosave::exists(second));
        EditorAutosave::discard(second);
        QVERIFY(!EditorAutosave::exists(second));
        QVERIFY(EditorAutosave::restore(second).isEmpty());
        QCOMPARE(EditorAutosave::pending().size(), 1);
    }

    void listsFromGrids()
    {
        KeyedGridModel grid;
        grid.setFormatText(QStringLiteral("Name|Amount  |Secret|Pipe a|b"));
        grid.setColumnKeys({"Name", "Amount", "Secret", "Pipe", "b"});
        grid.setColumnHidden(QStringLiteral("Secret"), true);
        grid.setColumnAlignment(QStringLiteral("Amount"), Qt::AlignRight | Qt::AlignVCenter);
        grid.appendRows(3, [&grid](int row) {
            grid.setText(row, 0, QStringLiteral("row %1\twith tab").arg(row));
            grid.setText(row, 1, QString::number(row * 10));
        });
        grid.setRowHidden(2, true);
        const ListDocument list = NotebookList::fromGrid(grid);
        QCOMPARE(list.rows(), 4);
        QCOMPARE(list.columns(), 5);
        QCOMPARE(list.fixedRows(), 1);
        QCOMPARE(list.cell(0, 1), QStringLiteral("Amount"));
        QCOMPARE(list.cell(2, 0), QStringLiteral("row 2\twith tab")); // hidden rows are kept
        QVERIFY(list.column(2).hidden);
        QCOMPARE(list.column(1).alignment, Qt::AlignRight);
        QCOMPARE(list.column(1).width, 8 * 8);

        // Written, read and shown again: the same grid.
        const std::optional<ListDocument> read = ListDocument::read(list.write());
        QVERIFY(read);
        KeyedGridModel back;
        NotebookList::toGrid(*read, back);
        QCOMPARE(back.columns(), 5);
        QCOMPARE(back.dataRows(), 3);
        QCOMPARE(back.columnInfo(1).caption, QStringLiteral("Amount"));
        QCOMPARE(back.columnInfo(1).widthChars, 8);
        QVERIFY(back.columnInfo(2).hidden);
        QCOMPARE(back.textAt(3, 1), QStringLiteral("30"));
        const ListDocument again = NotebookList::fromGrid(back);
        for (int c = 0; c < list.columns(); ++c) {
            QCOMPARE(again.column(c).width, list.column(c).width);
            QCOMPARE(again.column(c).hidden, list.column(c).hidden);
            QCOMPARE(again.column(c).alignment, list.column(c).alignment);
        }
        QCOMPARE(again, list);
    }

    void saveasFilesTheListUnderTheNotebook()
    {
        Store store(Store::Kind::Data);
        KeyedGridModel grid;
        grid.setFormatText(QStringLiteral("City|Shop"));
        grid.appendRows(2, [&grid](int row) { grid.setText(row, 0, QStringLiteral("Köln")); });

        m_env->dialogs().cancelNext();
        QVERIFY(!NotebookList::Saveas(grid, QStringLiteral("/db/shops.dbf"), store));
        QCOMPARE(m_env->dialogs().shown().last().folder,
                 NotebookList::folder() + QStringLiteral("/shops.dbf"));
        QCOMPARE(store.value(QStringLiteral("select count(*) from nv_notesdairy1")).toInt(), 0);

        const QString chosen = NotebookList::folder() + QStringLiteral("/shops");
        m_env->dialogs().answerPath(chosen);
        const std::optional<QString> saved = NotebookList::Saveas(grid, "shops.dbf", store);
        QCOMPARE(saved, std::optional<QString>(chosen + ".nvs"));
        QCOMPARE(m_env->dialogs().messages().last(),
                 QStringLiteral("Save List as Nuvela Notebook file in category - undefined. To "
                                "view file open Nuvela Notebook Programm."));
        QCOMPARE(m_env->dialogs().shown().last().icon, Dialogs::Icon::None);
        QVERIFY(m_env->platform().sounds.last().endsWith(QStringLiteral("Save.wav")));
        NotesCatalogue catalogue(store);
        const DocumentRecord row = *catalogue.byPath(*saved);
        QCOMPARE(row.docType, QStringLiteral("List"));
        QCOMPARE(row.documentName, QStringLiteral("shops.nvs"));
        QCOMPARE(row.category1, QStringLiteral("Undefined"));
        QCOMPARE(row.date.date(), QDate::currentDate());
        QCOMPARE(ListDocument::load(*saved)->cell(1, 0), QStringLiteral("Köln"));

        // Saved again under the same name: one row still.
        m_env->dialogs().answerPath(*saved);
        QVERIFY(NotebookList::Saveas(grid, "shops", store));
        QCOMPARE(store.value(QStringLiteral("select count(*) from nv_notesdairy1")).toInt(), 1);
    }

    void saveasThatCannotWriteTakesItsRowBack()
    {
        Store store(Store::Kind::Data);
        KeyedGridModel grid;
        grid.setFormatText(QStringLiteral("A"));
        const QString blocker = m_env->writeFile(QStringLiteral("plainfile"), "x");
        m_env->dialogs().answerPath(blocker + QStringLiteral("/list.nvs"));
        QVERIFY(!NotebookList::Saveas(grid, "x", store));
        QCOMPARE(m_env->dialogs().shown().last().icon, Dialogs::Icon::Critical);
        QCOMPARE(store.value(QStringLiteral("select count(*) from nv_notesdairy1")).toInt(), 0);
    }
};

QTEST_MAIN(tst_NotebookEditorCore)
#include "tst_NotebookEditorCore.moc"
