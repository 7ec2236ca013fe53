#include "FormNotes.h"

#include "ContentIndex.h"
#include "EditorAutosave.h"
#include "KeyedGrid.h"
#include "KeyedGridModel.h"
#include "ListDocument.h"
#include "NotesCatalogue.h"
#include "Screenshot.h"
#include "SharedRoutines.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "ToolStrip.h"

#include <QLabel>
#include <QListWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

// The notebook's Edit Mode driven by its tools: new notes and lists, editing in place, saving
// to file and catalogue, cancel and close, autosave copies offered at start, and the list tools.
class tst_FormNotesEdit : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    template <typename T> static T *child(const QWidget &window, const char *name)
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    QString addDocument(const QString &file, const QByteArray &bytes, const QString &docType)
    {
        const QString path = m_env->writeFile(QStringLiteral("docs/") + file, bytes);
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        DocumentRecord record = NotesCatalogue::linkRecord(path);
        record.docType = docType;
        if (!catalogue.writeRow(record))
            qFatal("row not written");
        return path;
    }

    static void select(FormNotes &window, const QString &path)
    {
        window.finishLoading();
        const KeyedGridModel *grid = window.grid();
        for (int row = grid->fixedRows(); row < grid->rows(); ++row) {
            if (grid->text(row, QStringLiteral("path")) == path) {
                child<KeyedGrid>(window, "grid1")->setCurrentGridRow(row);
                return;
            }
        }
        QFAIL(qPrintable(path));
    }

    static DocumentRecord row(const QString &path)
    {
        Store store(Store::Kind::Data);
        const std::optional<DocumentRecord> found = NotesCatalogue(store).byPath(path);
        return found ? *found : DocumentRecord();
    }

    static QStringList found(const QString &text)
    {
        Store store(Store::Kind::Data);
        return store.column(QStringLiteral("select DocumentName from nv_notesdairy1 where ") +
                            ContentIndex::condition(text));
    }

    static void type(FormNotes &window, const QString &text)
    {
        QTextEdit *pane = child<QTextEdit>(window, "rtfText");
        QTextCursor cursor = pane->textCursor();
        cursor.movePosition(QTextCursor::End);
        pane->setTextCursor(cursor);
        QTest::keyClicks(pane, text);
    }

    static bool editMode(const FormNotes &window)
    {
        return window.isEditing() &&
               child<QLabel>(window, "lblMode")->text() == QStringLiteral("Edit Mode") &&
               !child<KeyedGrid>(window, "grid1")->isEnabled() &&
               !child<QTreeWidget>(window, "tvwdb")->isEnabled() &&
               child<QToolButton>(window, "SSCommand1")->isVisibleTo(&window);
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    // A new note: typed, saved under a name the user gives, catalogued, found by its words.
    void newNoteIsCreatedSavedAndFound()
    {
        FormNotes window;
        QVERIFY(window.runTool(QStringLiteral("New")));
        QVERIFY(editMode(window));
        QVERIFY(child<ToolStrip>(window, "SSActiveToolBars2")->isEnabled());
        QVERIFY(m_env->platform().sounds.last().endsWith(QStringLiteral("Edit.wav")));
        type(window, QStringLiteral("Buy saffron"));
        QVERIFY(window.runTool(QStringLiteral("Bold")));
        QVERIFY(window.runTool(QStringLiteral("TShort")));
        Screenshot(window, QStringLiteral("notebook-edit"), QSize(1240, 780));

        m_env->dialogs().cancelNext(); // no name yet: still editing
        QVERIFY(!window.SaveInPlace());
        QVERIFY(editMode(window));
        const QString path = m_env->userFiles() + QStringLiteral("/Notes Diary/Shopping");
        m_env->dialogs().answerPath(path);
        child<QToolButton>(window, "SSCommand1")->click();
        QVERIFY(!window.isEditing());
        QCOMPARE(child<QLabel>(window, "lblMode")->text(), QStringLiteral("View Mode"));
        QVERIFY(m_env->platform().sounds.last().endsWith(QStringLiteral("Save.wav")));
        QVERIFY(m_env->dialogs().shown()[0].folder.startsWith(m_env->userFiles() +
                                                              "/Notes Diary/Note "));
        const QByteArray saved = ReadBytes(path + ".rtf");
        QVERIFY(saved.startsWith("{\\rtf1") && saved.contains("Buy saffron"));
        const DocumentRecord note = row(path + ".rtf");
        QCOMPARE(note.docType, QStringLiteral("Notes"));
        QCOMPARE(note.documentName, QStringLiteral("Shopping"));
        QCOMPARE(note.mDate, QDate::currentDate().startOfDay());
        QCOMPARE(found(QStringLiteral("saffron")), QStringList{"Shopping"});
        QCOMPARE(window.grid()->text(child<KeyedGrid>(window, "grid1")->currentGridRow(),
                                     QStringLiteral("path")),
                 path + ".rtf");
        QVERIFY(!EditorAutosave::exists(path + ".rtf"));
    }

    void editingTheShownNote_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("save") << true;
        QTest::newRow("cancel") << false;
    }

    void editingTheShownNote()
    {
        QFETCH(bool, save);
        const QString path = addDocument(
            "Plan.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 plan\\par}", "Notes");
        FormNotes window;
        QVERIFY(!window.EnterEditMode(FormNotes::Edit::Shown)); // nothing shown yet
        select(window, path);
        QVERIFY(child<QTextEdit>(window, "rtfText")->isReadOnly());
        QVERIFY(window.runTool(QStringLiteral("EditDocuments")));
        QVERIFY(editMode(window));
        QVERIFY(!child<QTextEdit>(window, "rtfText")->isReadOnly());
        type(window, QStringLiteral(" isn't done"));
        if (save) {
            QVERIFY(window.SaveInPlace());
            QVERIFY(ReadBytes(path).contains("plan isn\\rquote t done") ||
                    ReadBytes(path).contains("plan isn't done"));
            QVERIFY(row(path).content.contains(QStringLiteral("isn`t done")));
            QCOMPARE(found(QStringLiteral("done")), QStringList{"Plan"});
        } else {
            child<QToolButton>(window, "SSCommand2")->click();
            QCOMPARE(ReadBytes(path),
                     QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 plan\\par}"));
            QVERIFY(child<QTextEdit>(window, "rtfText")->toPlainText().endsWith("isn't done"));
        }
        QVERIFY(!window.isEditing());
        QVERIFY(child<QTextEdit>(window, "rtfText")->isReadOnly());
        QVERIFY(child<KeyedGrid>(window, "grid1")->isEnabled());
    }

    void failedSaveStaysInEditMode()
    {
        const QString path = addDocument("sub/Lost.rtf", "{\\rtf1 x\\par}", "Notes");
        FormNotes window;
        select(window, path);
        QVERIFY(window.EnterEditMode(FormNotes::Edit::Shown));
        QVERIFY(QFile::remove(path) && QDir().rmdir(FolderOfPath(path)));
        QVERIFY(WriteBytes(FolderOfPath(path), "a file where the folder was"));
        type(window, QStringLiteral("kept"));
        QVERIFY(!window.SaveInPlace());
        QCOMPARE(m_env->dialogs().shown().last().icon, Dialogs::Icon::Critical);
        QVERIFY(editMode(window));
        m_env->dialogs().answerQuestion(false); // closing asks; No keeps the window
        QVERIFY(!window.close());
        m_env->dialogs().answerQuestion(true);
        QVERIFY(window.close());
    }

    // A blank list sheet, edited and saved as a list document of the notebook.
    void newListSheet()
    {
        FormNotes window;
        window.ShowDocType(5); // the List tab offers list editing
        QVERIFY(!window.runTool(QStringLiteral("New")));
        QVERIFY(window.runTool(QStringLiteral("EditGriidList")));
        QCOMPARE(window.pane(), FormNotes::Pane::List);
        const KeyedGridModel *sheet = window.listGrid();
        QCOMPARE(sheet->rows(), 500);
        QCOMPARE(sheet->columns(), 50);
        Screenshot(window, QStringLiteral("notebook-list-sheet"), QSize(1240, 780));
        auto *view = child<QTableView>(window, "GridList");
        QVERIFY(!(view->model()->flags(view->model()->index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(view->model()->setData(view->model()->index(0, 1), QStringLiteral("Milk")));
        QVERIFY(view->model()->setData(view->model()->index(2, 3), QStringLiteral("2,50 €")));
        const QString path = m_env->scratch() + QStringLiteral("/Groceries.nvs");
        m_env->dialogs().answerPath(path);
        QVERIFY(window.SaveInPlace());
        const std::optional<ListDocument> list = ListDocument::load(path);
        QVERIFY(list);
        QCOMPARE(list->rows(), 500);
        QCOMPARE(list->fixedColumns(), 1);
        QCOMPARE(list->cell(1, 1), QStringLiteral("Milk"));
        QCOMPARE(list->cell(3, 3), QStringLiteral("2,50 €"));
        QCOMPARE(list->cell(0, 3), QStringLiteral("C3"));
        QCOMPARE(row(path).docType, QStringLiteral("List"));
        QCOMPARE(row(path).documentName, QStringLiteral("Groceries.nvs"));
        QCOMPARE(found(QStringLiteral("milk")), QStringList{"Groceries.nvs"});
    }

    void editingAListAndItsTools()
    {
        const QString path = addDocument(
            "Prices.nvs",
            "NuvelaList\t1\nsize\t3\t2\nfixed\t1\t0\nrow\t0\tItem\tPrice\nrow\t1\tBread\t2.50\n"
            "row\t2\tCaf\xC3\xA9\t3.20\n",
            "List");
        FormNotes window;
        window.ShowDocType(5);
        select(window, path);
        QCOMPARE(window.pane(), FormNotes::Pane::List);
        QVERIFY(window.runTool(QStringLiteral("EditGriidList")));
        QVERIFY(editMode(window));
        auto *view = child<QTableView>(window, "GridList");
        QVERIFY(view->model()->setData(view->model()->index(0, 1), QStringLiteral("2.75")));
        QVERIFY(window.SaveInPlace());
        QCOMPARE(ListDocument::load(path)->cell(1, 1), QStringLiteral("2.75"));
        QCOMPARE(row(path).mDate, QDate::currentDate().startOfDay());
        QVERIFY(!(view->model()->flags(view->model()->index(0, 1)) & Qt::ItemIsEditable));

        // The list tools work on the shown list: a list of its own, an Excel file.
        select(window, path);
        const QString copy = m_env->scratch() + QStringLiteral("/Copy of prices.nvs");
        m_env->dialogs().answerPath(copy);
        QVERIFY(window.runTool(QStringLiteral("Saveas")));
        QCOMPARE(ListDocument::load(copy)->cell(2, 0), QStringLiteral("Café"));
        QCOMPARE(row(copy).docType, QStringLiteral("List"));
        select(window, path);
        const QString xlsx = m_env->scratch() + QStringLiteral("/prices");
        m_env->dialogs().answerPath(xlsx);
        QVERIFY(window.runTool(QStringLiteral("SaveasXL")));
        QVERIFY(
            m_env->dialogs().shown().last().folder.endsWith("Exported Files/Excel/Prices.xlsx"));
        QVERIFY(ReadBytes(xlsx + ".xlsx").startsWith("PK"));
    }

    void notebookStampsAndWordList()
    {
        Store store(Store::Kind::Data);
        QVERIFY(store.exec("insert into ut_NbKeyword values ('because', 'English')"));
        FormNotes window;
        window.show();
        QVERIFY(window.EnterEditMode(FormNotes::Edit::NewNote));
        QVERIFY(window.runTool(QStringLiteral("DMedium")));
        QVERIFY(child<QTextEdit>(window, "rtfText")->toPlainText().startsWith("  Date: "));
        QVERIFY(!window.runTool(QStringLiteral("Medium"))); // the editor's name is not the bar's
        type(window, QStringLiteral(" bec"));
        QVERIFY(window.runTool(QStringLiteral("Autotext")));
        auto *words = window.findChild<QListWidget *>(QStringLiteral("grdWord"));
        QCOMPARE(words->count(), 1);
        QTest::keyClick(words, Qt::Key_Return);
        QVERIFY(child<QTextEdit>(window, "rtfText")->toPlainText().endsWith(" because "));
        window.CancelInPlace();
        QCOMPARE(window.pane(), FormNotes::Pane::None); // a new note given up goes
    }

    // A copy left by an edit that never ended is offered when the notebook opens.
    void autosaveOfferedAtStart_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::newRow("restore") << true;
        QTest::newRow("decline") << false;
    }

    void autosaveOfferedAtStart()
    {
        QFETCH(bool, restore);
        const QString path = addDocument("Draft.rtf", "{\\rtf1 saved text\\par}", "Notes");
        QVERIFY(EditorAutosave::save(path, "{\\rtf1 lost text\\par}"));
        m_env->dialogs().answerQuestion(restore);
        FormNotes window;
        QTRY_COMPARE(m_env->dialogs().pendingAnswers(), 0);
        QCOMPARE(window.isEditing(), restore);
        if (restore) {
            QCOMPARE(child<QTextEdit>(window, "rtfText")->toPlainText(),
                     QStringLiteral("lost text"));
            QVERIFY(window.SaveInPlace());
            QVERIFY(ReadBytes(path).contains("lost text"));
        }
        QVERIFY(!EditorAutosave::exists(path));
    }
};

QTEST_MAIN(tst_FormNotesEdit)
#include "tst_FormNotesEdit.moc"
