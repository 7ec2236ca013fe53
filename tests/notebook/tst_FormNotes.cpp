#include "FormNotes.h"

#include "AppState.h"
#include "DocumentDelegate.h"
#include "HelpButton.h"
#include "KeyedGrid.h"
#include "MDIForm1.h"
#include "NotesCatalogue.h"
#include "SharedRoutines.h"
#include "SqlText.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "RecordingToolHost.h"
#include "ToolStrip.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

namespace
{

QByteArray rtf(const QByteArray &body)
{
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + body + "}";
}

} // namespace

// The Notebook window driven as a user drives it: the grid's views and strips, the view pane,
// the tree, the filter, content-search and scan panels, against real files and a real store.
class tst_FormNotes : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QString m_docs;

    template <typename T> static T *child(const QWidget &window, const char *name)
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    static QStringList column(const FormNotes &window, const QString &key)
    {
        const KeyedGridModel *grid = window.grid();
        QStringList values;
        for (int row = grid->fixedRows(); row < grid->rows(); ++row)
            values << (grid->isRowHeading(row) ? QStringLiteral("# ") : QString()) +
                          grid->text(row, key);
        return values;
    }

    static QStringList shownColumns(const FormNotes &window)
    {
        QStringList keys;
        for (int c = 0; c < window.grid()->columns(); ++c) {
            if (!window.grid()->columnInfo(c).hidden)
                keys << window.grid()->columnInfo(c).key;
        }
        return keys;
    }

    static int rowOf(const FormNotes &window, const QString &name)
    {
        const KeyedGridModel *grid = window.grid();
        for (int row = grid->fixedRows(); row < grid->rows(); ++row) {
            if (grid->text(row, QStringLiteral("DocumentName")) == name)
                return row;
        }
        return -1;
    }

    static void select(FormNotes &window, const QString &name)
    {
        const int row = rowOf(window, name);
        QVERIFY2(row >= 0, qPrintable(name));
        child<KeyedGrid>(window, "grid1")->setCurrentGridRow(row);
    }

    static void trigger(FormNotes &window, const QString &id)
    {
        QVERIFY2(window.runTool(id), qPrintable(id));
    }

    // With NUVELA_SCREENSHOT_DIR set, saves a picture of the window for a person to look at.
    static void screenshot(FormNotes &window, const QString &name)
    {
        if (!qEnvironmentVariableIsSet("NUVELA_SCREENSHOT_DIR"))
            return;
        window.resize(1240, 780);
        window.show();
        QTest::qWait(100);
        window.grab().save(qEnvironmentVariable("NUVELA_SCREENSHOT_DIR") + '/' + name + ".png");
    }

    QString addDocument(const QString &file, const QByteArray &bytes, const QString &docType,
                        const QString &category, const QString &keyword = QString(),
                        std::optional<qint64> bgcolor = std::nullopt, const QString &link = {})
    {
        const QString path = bytes.isNull()
                                 ? m_docs + '/' + file
                                 : m_env->writeFile(QStringLiteral("docs/") + file, bytes);
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        DocumentRecord record = NotesCatalogue::linkRecord(path);
        record.docType = docType;
        record.category1 = category;
        record.keyword = keyword;
        record.bgcolor = bgcolor;
        record.picFileLink = link;
        record.date =
            QDate(
                2026, 3,
                1 + int(store.value(QStringLiteral("select count(*) from nv_notesdairy1")).toInt()))
                .startOfDay();
        if (!catalogue.writeRow(record))
            qFatal("row not written");
        return path;
    }

    void addDocuments()
    {
        addDocument(QStringLiteral("Shopping.rtf"), rtf("Shopping: caf\\'e9 and {\\b bread}.\\par"),
                    QStringLiteral("Notes"), QStringLiteral("Home"), QStringLiteral("food,weekly"));
        addDocument(QStringLiteral("garden.txt"), "Tomatoes and beans.\n",
                    QStringLiteral("Quick Notes"), QStringLiteral("Home"), QString(), 255);
        addDocument(QStringLiteral("Letter to O'Brien 100%_.rtf"), rtf("Dear Sir"),
                    QStringLiteral("Letters"), QStringLiteral("Work"));
        addDocument(QStringLiteral("Broken.rtf"), "{\\rtf1\\ansi Half a {\\b sentence",
                    QStringLiteral("Notes"), QStringLiteral("Work"));
        addDocument(
            QStringLiteral("Prices.nvs"),
            "NuvelaList\t1\nsize\t3\t2\nfixed\t1\t0\nrow\t0\tItem\tPrice\nrow\t1\tBread\t2.50\n"
            "row\t2\tCaf\xC3\xA9\t3.20\n",
            QStringLiteral("List"), QStringLiteral("Undefined"));
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        const QString png = m_docs + QStringLiteral("/Logo.png");
        picture.save(png);
        addDocument(QStringLiteral("Logo.png"), QByteArray(), QStringLiteral("Picture"),
                    QStringLiteral("Work"));
        addDocument(QStringLiteral("Holiday.rtf"), rtf("Beach"), QStringLiteral("Multimedia"),
                    QStringLiteral("Home"), QString(), std::nullopt, png);
        addDocument(QStringLiteral("Gone.rtf"), QByteArray(), QStringLiteral("Notes"),
                    QStringLiteral("Home"));
        addDocument(QStringLiteral("Übersicht.rtf"), rtf("Overview"), QStringLiteral("Notes"),
                    QStringLiteral("Work"));
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_docs = m_env->scratch() + QStringLiteral("/docs");
        QDir().mkpath(m_docs);
    }
    void cleanup() { m_env.reset(); }

    void opensOnTheDefaultList()
    {
        addDocuments();
        m_env->writeFile(QStringLiteral("desktop/Plans/a.txt"));
        m_env->writeFile(QStringLiteral("desktop/todo.txt"));
        FormNotes window;
        screenshot(window, QStringLiteral("notebook"));
        QCOMPARE(column(window, QStringLiteral("DocumentName")),
                 (QStringList{"Broken", "garden", "Gone", "Holiday", "Letter to O'Brien 100%_",
                              "Logo", "Prices", "Shopping", "Übersicht"}));
        QCOMPARE(shownColumns(window), QStringList{"DocumentName"});
        QCOMPARE(child<QTabBar>(window, "Notes")->count(), 23);
        QCOMPARE(child<QTabBar>(window, "Notes")->currentIndex(), 0);
        QVERIFY(child<ToolStrip>(window, "SSActiveToolBars1")->tool("StDocname")->isChecked());
        QCOMPARE(child<QLabel>(window, "StatusBar1")->text(), QStringLiteral("9 document(s)"));
        QVERIFY(!window.isLoading());

        // The tree: the desktop's entries at once, "My Computer" with the home folder.
        QTreeWidget *tree = child<QTreeWidget>(window, "tvwdb");
        QTreeWidgetItem *desktop = tree->topLevelItem(0);
        QCOMPARE(desktop->text(0), QStringLiteral("Desktop"));
        QCOMPARE(desktop->data(0, Qt::UserRole).toString(), m_env->scratch() + "/desktop");
        QCOMPARE(desktop->childCount(), 2);
        QCOMPARE(desktop->child(0)->text(0), QStringLiteral("Plans"));
        QCOMPARE(desktop->child(1)->data(0, Qt::UserRole + 1).toString(), QStringLiteral("File"));
        QTreeWidgetItem *computer = tree->topLevelItem(1);
        QCOMPARE(computer->text(0), QStringLiteral("My Computer"));
        QVERIFY(computer->childCount() >= 1);
        QCOMPARE(computer->child(0)->data(0, Qt::UserRole).toString(), QDir::homePath());
        // Folders are read when they open, not before.
        QTreeWidgetItem *plans = desktop->child(0);
        QCOMPARE(plans->childCount(), 0);
        plans->setExpanded(true);
        QCOMPARE(plans->childCount(), 1);
        QCOMPARE(plans->child(0)->text(0), QStringLiteral("a.txt"));
    }

    void alphabeticAndDocTypeStrips()
    {
        addDocuments();
        FormNotes window;
        QTabBar *letters = child<QTabBar>(window, "Notes");
        letters->setCurrentIndex(NotesViewsLetter('L'));
        QCOMPARE(column(window, QStringLiteral("DocumentName")),
                 (QStringList{"Letter to O'Brien 100%_", "Logo"}));
        letters->setCurrentIndex(NotesViewsLetter('G'));
        QCOMPARE(column(window, QStringLiteral("DocumentName")), (QStringList{"garden", "Gone"}));
        letters->setCurrentIndex(0);
        QCOMPARE(window.grid()->dataRows(), 9);

        ToolStrip *tools = child<ToolStrip>(window, "SSActiveToolBars1");
        QTabBar *types = child<QTabBar>(window, "SSActiveTabs3");
        QCOMPARE(types->count(), 6);
        Q_EMIT types->tabBarClicked(4);
        QCOMPARE(column(window, QStringLiteral("DocumentName")), QStringList{"Prices"});
        QVERIFY(tools->tool("EditGriidList")->isVisible());
        QVERIFY(!tools->tool("EditDoc-Full")->isVisible());
        QVERIFY(child<QTableWidget>(window, "GridList")->isVisibleTo(&window));
        Q_EMIT types->tabBarClicked(0);
        QCOMPARE(column(window, QStringLiteral("DocumentName")),
                 (QStringList{"Broken", "Gone", "Holiday", "Shopping", "Übersicht"}));
        QVERIFY(!tools->tool("EditGriidList")->isVisible());
        QVERIFY(tools->tool("EditDoc-Full")->isVisible());
        QVERIFY(child<QTextEdit>(window, "rtfText")->isVisibleTo(&window));
        Q_EMIT types->tabBarClicked(1);
        QCOMPARE(column(window, QStringLiteral("DocumentName")), QStringList{"garden"});
    }

    static int NotesViewsLetter(char letter) { return 1 + (letter - 'A'); }

    void sortToolsAndViews()
    {
        addDocuments();
        FormNotes window;
        trigger(window, QStringLiteral("StbyCat"));
        ToolStrip *tools = child<ToolStrip>(window, "SSActiveToolBars1");
        QVERIFY(tools->tool("StbyCat")->isChecked());
        QVERIFY(!tools->tool("StDocname")->isChecked());
        QCOMPARE(column(window, QStringLiteral("CATEGORY1")).first(), QStringLiteral("Home"));
        QCOMPARE(column(window, QStringLiteral("CATEGORY1")).last(), QStringLiteral("Work"));
        QVERIFY(!shownColumns(window).contains(QStringLiteral("id")));
        QVERIFY(shownColumns(window).contains(QStringLiteral("Author")));
        trigger(window, QStringLiteral("StDatewise"));
        QCOMPARE(column(window, QStringLiteral("DOCUMENTNAME")).first(),
                 QStringLiteral("Shopping"));
        trigger(window, QStringLiteral("StDocname"));
        QCOMPARE(column(window, QStringLiteral("DocumentName")).first(), QStringLiteral("Broken"));

        trigger(window, QStringLiteral("ID_Details"));
        QVERIFY(shownColumns(window).contains(QStringLiteral("Author")));
        QVERIFY(shownColumns(window).contains(QStringLiteral("path")));
        // A column choice hides a detail column, now and after the next fill.
        QMenu *columns = child<QMenu>(window, "mnuColumns");
        Q_EMIT columns->aboutToShow();
        child<QAction>(window, "Show_Author")->setChecked(false);
        QVERIFY(!shownColumns(window).contains(QStringLiteral("Author")));
        child<QTabBar>(window, "Notes")->setCurrentIndex(2);
        QVERIFY(!shownColumns(window).contains(QStringLiteral("Author")));
        QVERIFY(shownColumns(window).contains(QStringLiteral("Version")));
        trigger(window, QStringLiteral("ID_Simple"));
        QCOMPARE(shownColumns(window), QStringList{"DocumentName"});
    }

    void groupedViews()
    {
        addDocuments();
        {
            Store store(Store::Kind::Data);
            QVERIFY(store.exec(QStringLiteral("update nv_notesdairy1 set mDate=#02-Feb-2026# where "
                                              "DocumentName in ('Shopping','Prices')")));
            QVERIFY(store.exec(QStringLiteral("update nv_notesdairy1 set mDate=#10-Mar-2026# where "
                                              "DocumentName='Logo'")));
        }
        FormNotes window;
        QTabBar *views = child<QTabBar>(window, "SSActiveTabs1");
        views->setCurrentIndex(2);
        const QStringList byCategory = column(window, QStringLiteral("DOCUMENTNAME"));
        QCOMPARE(byCategory.count(QStringLiteral("# ")), 3); // Home, Undefined, Work
        QCOMPARE(column(window, QStringLiteral("CATEGORY1")).first(), QStringLiteral("# Home"));
        views->setCurrentIndex(1);
        QCOMPARE(column(window, QStringLiteral("MONTH")),
                 (QStringList{"# March", "3", "# February", "2", "2"}));
        views->setCurrentIndex(0);
        QCOMPARE(window.grid()->dataRows(), 9);
    }

    void showingDocuments()
    {
        addDocuments();
        FormNotes window;
        QTextEdit *text = child<QTextEdit>(window, "rtfText");
        select(window, QStringLiteral("Shopping"));
        QCOMPARE(window.pane(), FormNotes::Pane::Text);
        QCOMPARE(text->toPlainText(), QStringLiteral("Shopping: café and bread."));
        QCOMPARE(child<QLabel>(window, "lblCharacters")->text(),
                 QStringLiteral("No Of Character   -  25"));
        // No stored colour: the pane takes &HD8CFC5.
        QCOMPARE(text->palette().color(QPalette::Base), QColor(0xC5, 0xCF, 0xD8));
        QCOMPARE(child<QLabel>(window, "lblFileName")->text(), QStringLiteral("Shopping.rtf"));
        QCOMPARE(child<QLabel>(window, "lblDocument")->text(), QStringLiteral("Shopping"));
        QCOMPARE(child<QLabel>(window, "lblDocInfo")->text(),
                 QStringLiteral("Home  ·  Business  ·  Mar 01-2026"));
        QTableWidget *keywords = child<QTableWidget>(window, "grdKeyword");
        QCOMPARE(keywords->rowCount(), 11);
        QCOMPARE(keywords->item(1, 0)->text(), QStringLiteral("weekly"));
        QCOMPARE(child<QLabel>(window, "StatusBar1")->text(), QStringLiteral("8 Of 9"));
        QCOMPARE(window.currentDocumentPath(), m_docs + QStringLiteral("/Shopping.rtf"));
        QVERIFY(!child<QLabel>(window, "lblNotice")->isVisibleTo(&window));

        select(window, QStringLiteral("garden"));
        QCOMPARE(text->toPlainText(), QStringLiteral("Tomatoes and beans.\n"));
        QCOMPARE(text->palette().color(QPalette::Base), QColor(255, 0, 0));

        select(window, QStringLiteral("Broken"));
        QCOMPARE(text->toPlainText(), QStringLiteral("Half a sentence"));
        QVERIFY(child<QLabel>(window, "lblNotice")->isVisibleTo(&window));

        select(window, QStringLiteral("Prices"));
        QCOMPARE(window.pane(), FormNotes::Pane::List);
        QTableWidget *list = child<QTableWidget>(window, "GridList");
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->horizontalHeaderItem(1)->text(), QStringLiteral("Price"));
        QCOMPARE(list->item(1, 0)->text(), QStringLiteral("Café"));

        select(window, QStringLiteral("Logo"));
        QCOMPARE(window.pane(), FormNotes::Pane::Picture);
        QVERIFY(!child<QLabel>(window, "imgPicture")->pixmap().isNull());
        RecordingToolHost host;
        trigger(window, QStringLiteral("EditPicture"));
        QCOMPARE(host.opened.size(), 1);
        QCOMPARE(host.opened[0].name, QStringLiteral("photoeditor"));
        QCOMPARE(host.opened[0].file, m_docs + QStringLiteral("/Logo.png"));
        QVERIFY(host.opened[0].outer);

        select(window, QStringLiteral("Holiday"));
        QCOMPARE(text->toPlainText(), QStringLiteral("Beach"));
        QVERIFY(child<QLabel>(window, "imgPicfilelink")->isVisibleTo(&window));
        QVERIFY(!child<ToolStrip>(window, "SSActiveToolBars1")->tool("EditPicture")->isEnabled());

        // The properties tab reads the row.
        child<QTabWidget>(window, "SSActiveTabs2")->setCurrentIndex(1);
        QCOMPARE(child<QLineEdit>(window, "LblDocName")->text(), QStringLiteral("Holiday"));
        QVERIFY(child<QLineEdit>(window, "LblDocName")->property("id").toLongLong() > 0);
        QCOMPARE(child<QComboBox>(window, "CmbCategory1")->currentText(), QStringLiteral("Home"));
        QCOMPARE(child<QLineEdit>(window, "TxtVersion")->text(), QStringLiteral("1"));
        select(window, QStringLiteral("Übersicht"));
        QCOMPARE(child<QComboBox>(window, "CmbCategory1")->currentText(), QStringLiteral("Work"));
        screenshot(window, QStringLiteral("notebook-document"));
    }

    void aMissingDocumentShowsGreyedAndCanBeRemoved()
    {
        addDocuments();
        FormNotes window;
        const int gone = rowOf(window, QStringLiteral("Gone"));
        QVERIFY(window.isDocumentMissing(gone));
        QVERIFY(!window.isDocumentMissing(rowOf(window, QStringLiteral("Shopping"))));
        auto *delegate =
            qobject_cast<DocumentDelegate *>(child<KeyedGrid>(window, "grid1")->itemDelegate());
        QVERIFY(delegate);
        QVERIFY(delegate->isMissing(gone));
        QAction *remove = child<ToolStrip>(window, "SSActiveToolBars1")->tool("ID_RemoveLink");
        select(window, QStringLiteral("Shopping"));
        QVERIFY(!remove->isEnabled());
        select(window, QStringLiteral("Gone"));
        QVERIFY(remove->isEnabled());
        QVERIFY(child<QLabel>(window, "StatusBar1")->text().contains(QLatin1String("missing")));
        QCOMPARE(window.pane(), FormNotes::Pane::None);

        m_env->dialogs().answerQuestion(false);
        trigger(window, QStringLiteral("ID_RemoveLink"));
        QCOMPARE(window.grid()->dataRows(), 9);
        m_env->dialogs().answerQuestion(true);
        trigger(window, QStringLiteral("ID_RemoveLink"));
        QCOMPARE(window.grid()->dataRows(), 8);
        QCOMPARE(rowOf(window, QStringLiteral("Gone")), -1);
        QCOMPARE(m_env->platform().sounds, QStringList{SoundCuePath(SoundCue::Del)});
        Store store(Store::Kind::Data);
        QCOMPARE(store.value(QStringLiteral("select count(*) from nv_notesdairy1")).toInt(), 8);
    }

    void treeFilesAreShownOrOpened()
    {
        m_env->writeFile(QStringLiteral("desktop/Note.RTF"), rtf("From the desktop"));
        m_env->writeFile(QStringLiteral("desktop/data.bin"), "\x01\x02");
        FormNotes window;
        QTreeWidget *tree = child<QTreeWidget>(window, "tvwdb");
        QTreeWidgetItem *desktop = tree->topLevelItem(0);
        QCOMPARE(desktop->childCount(), 2);
        Q_EMIT tree->itemClicked(desktop->child(1), 0); // Note.RTF after data.bin
        QCOMPARE(child<QTextEdit>(window, "rtfText")->toPlainText(),
                 QStringLiteral("From the desktop"));
        QCOMPARE(child<QLabel>(window, "lblFileName")->text(), QStringLiteral("Note.RTF"));

        m_env->dialogs().answerQuestion(false);
        Q_EMIT tree->itemClicked(desktop->child(0), 0);
        QCOMPARE(m_env->dialogs().shown().last().text,
                 QStringLiteral(
                     "It is not a text file. It may take some time. Do you want to open it ?"));
        QCOMPARE(window.pane(), FormNotes::Pane::None);
        QVERIFY(m_env->platform().opened.isEmpty());
        m_env->dialogs().answerQuestion(true);
        Q_EMIT tree->itemClicked(desktop->child(0), 0);
        QCOMPARE(window.pane(), FormNotes::Pane::Object);
        QCOMPARE(m_env->platform().opened, QStringList{m_env->scratch() + "/desktop/data.bin"});

        // A folder shows its facts; its size is counted aside.
        m_env->writeFile(QStringLiteral("desktop/Sub/x.txt"), QByteArray(3000, 'x'));
        FormNotes again;
        QTreeWidget *fresh = child<QTreeWidget>(again, "tvwdb");
        Q_EMIT fresh->itemClicked(fresh->topLevelItem(0)->child(0), 0);
        QTRY_COMPARE(child<QLabel>(again, "lblFileSize")->text(), QStringLiteral("3Kb"));
        QCOMPARE(child<QLabel>(again, "lblFileName")->text(), QStringLiteral("Sub"));
    }

    void sideNoteMarksTheDocument()
    {
        addDocuments();
        FormNotes window;
        select(window, QStringLiteral("Shopping"));
        trigger(window, QStringLiteral("SideNote"));
        QCOMPARE(child<QTextEdit>(window, "rtfText")->palette().color(QPalette::Base),
                 QColor(0xF7, 0xDA, 0x75));
        Store store(Store::Kind::Data);
        QCOMPARE(store
                     .value(QStringLiteral("select DocType from nv_notesdairy1 where "
                                           "DocumentName='Shopping'"))
                     .toString(),
                 QStringLiteral("Quick Notes"));
        QCOMPARE(store
                     .value(QStringLiteral("select bgcolor from nv_notesdairy1 where "
                                           "DocumentName='Shopping'"))
                     .toLongLong(),
                 qint64(7723767));
        // Lists and pictures are no side notes.
        select(window, QStringLiteral("Prices"));
        trigger(window, QStringLiteral("SideNote"));
        QCOMPARE(store
                     .value(QStringLiteral("select DocType from nv_notesdairy1 where "
                                           "DocumentName='Prices'"))
                     .toString(),
                 QStringLiteral("List"));
    }

    void filterPanel()
    {
        addDocuments();
        FormNotes window;
        trigger(window, QStringLiteral("Search1"));
        QVERIFY(child<QGroupBox>(window, "fraFilter")->isVisibleTo(&window));
        QComboBox *keyword = child<QComboBox>(window, "cboKeyword");
        QCOMPARE(keyword->itemText(0), QStringLiteral("All"));
        QCOMPARE(keyword->count(), 3);
        QComboBox *ext = child<QComboBox>(window, "cboFileType");
        QCOMPARE(ext->findText(QStringLiteral("All")), -1);
        QVERIFY(ext->findText(QStringLiteral("nvs")) >= 0);
        QCOMPARE(ext->currentText(), QString());

        QComboBox *category = child<QComboBox>(window, "cboCateg");
        category->setCurrentText(QStringLiteral("Work"));
        child<QPushButton>(window, "cmdFilter")->click();
        QCOMPARE(column(window, QStringLiteral("DOCUMENTNAME")),
                 (QStringList{"Letter to O'Brien 100%_", "Broken", "Logo", "Übersicht"}));
        QCOMPARE(window.grid()->columnInfo(1).caption, QStringLiteral("Date Cr."));

        QComboBox *dateKind = child<QComboBox>(window, "cboDate");
        QVERIFY(!child<QDateEdit>(window, "dtpDate1")->isVisibleTo(&window));
        dateKind->setCurrentText(QStringLiteral("Created"));
        QVERIFY(child<QDateEdit>(window, "dtpDate1")->isVisibleTo(&window));
        child<QDateEdit>(window, "dtpDate1")->setDate(QDate(2026, 3, 3));
        child<QDateEdit>(window, "dtpDate2")->setDate(QDate(2026, 3, 4));
        child<QPushButton>(window, "cmdFilter")->click();
        QCOMPARE(column(window, QStringLiteral("DOCUMENTNAME")),
                 (QStringList{"Letter to O'Brien 100%_", "Broken"}));

        // A name with a quote, a percent and an underscore, typed as it is.
        category->setCurrentText(QStringLiteral("All"));
        dateKind->setCurrentText(QStringLiteral("All"));
        child<QLineEdit>(window, "txtFileName")->setText(QStringLiteral("letter to o'brien 100%_"));
        child<QPushButton>(window, "cmdFilter")->click();
        QCOMPARE(column(window, QStringLiteral("DOCUMENTNAME")),
                 QStringList{"Letter to O'Brien 100%_"});
        child<QLineEdit>(window, "txtFileName")->setText(QStringLiteral("üb"));
        child<QPushButton>(window, "cmdFilter")->click();
        QCOMPARE(column(window, QStringLiteral("DOCUMENTNAME")), QStringList{"Übersicht"});

        child<QLineEdit>(window, "Text4")->setText(QStringLiteral("weekly"));
        child<QPushButton>(window, "cmdFilter")->click();
        QCOMPARE(column(window, QStringLiteral("DOCUMENTNAME")), QStringList{"Shopping"});
        QCOMPARE(window.grid()->columnInfo(1).caption, QStringLiteral("Date Crr."));

        // Refresh puts every field back.
        child<QToolButton>(window, "CmdRefresh")->click();
        QVERIFY(child<QLineEdit>(window, "Text4")->text().isEmpty());
        QVERIFY(child<QLineEdit>(window, "txtFileName")->text().isEmpty());
        QCOMPARE(category->currentText(), QStringLiteral("All"));
        QCOMPARE(dateKind->currentText(), QStringLiteral("All"));
        QCOMPARE(window.grid()->dataRows(), 9);
    }

    void contentSearchThroughTheIndex()
    {
        addDocuments();
        FormNotes window;
        trigger(window, QStringLiteral("SearchContent"));
        QVERIFY(child<QGroupBox>(window, "fraContent")->isVisibleTo(&window));
        QLineEdit *text = child<QLineEdit>(window, "txtContent");
        text->setText(QStringLiteral("CAFÉ AND"));
        child<QPushButton>(window, "CmdCntSearch")->click();
        QCOMPARE(column(window, QStringLiteral("DocumentName")), QStringList{"Shopping"});
        text->setText(QStringLiteral("Bread"));
        child<QPushButton>(window, "CmdCntSearch")->click();
        // The list document's cells are its text too.
        QCOMPARE(column(window, QStringLiteral("DocumentName")),
                 (QStringList{"Prices", "Shopping"}));

        // A row another program wrote is found on the next search.
        Store store(Store::Kind::Data);
        QVERIFY(
            store.exec(QStringLiteral("insert into nv_notesdairy1 (DocumentName, path, Content) "
                                      "values ('Sibling', '/elsewhere/s.rtf', ") +
                       SqlText::literal(QString::fromLatin1(rtf("fresh bread"))) + ')'));
        child<QPushButton>(window, "CmdCntSearch")->click();
        QCOMPARE(column(window, QStringLiteral("DocumentName")),
                 (QStringList{"Prices", "Shopping", "Sibling"}));

        // A damaged index says so; the rebuild brings it back.
        QVERIFY(QSqlQuery(store.database())
                    .exec(QStringLiteral("drop table nv_notesdairy1_text_data")));
        child<QPushButton>(window, "CmdCntSearch")->click();
        QCOMPARE(
            m_env->dialogs().messages(),
            QStringList{"The content index cannot be read. Rebuild it with Tools, Rebuild Content "
                        "Index."});
        child<QAction>(window, "ID_RebuildIndex")->trigger();
        QCOMPARE(child<QLabel>(window, "StatusBar1")->text(),
                 QStringLiteral("10 document(s) indexed"));
        child<QPushButton>(window, "CmdCntSearch")->click();
        QCOMPARE(column(window, QStringLiteral("DocumentName")),
                 (QStringList{"Prices", "Shopping", "Sibling"}));
    }

    void manyStaleRowsAreIndexedByAJob()
    {
        Store store(Store::Kind::Data);
        {
            NotesCatalogue catalogue(store); // makes the index, empty
        }
        QVERIFY(store.transaction());
        for (int i = 0; i < 260; ++i)
            QVERIFY(store.exec(
                QStringLiteral("insert into nv_notesdairy1 (DocumentName, path, "
                               "Content) values (") +
                SqlText::literal(QStringLiteral("n%1").arg(i, 3, 10, QLatin1Char('0'))) +
                QStringLiteral(", '/x/%1.rtf', ").arg(i) +
                SqlText::literal(QString::fromLatin1(rtf(i % 2 ? "odd one" : "even one"))) + ')'));
        QVERIFY(store.commit());
        FormNotes window;
        // The first page is shown at once, the rest read while the window stays responsive.
        QCOMPARE(window.grid()->dataRows(), 200);
        QVERIFY(window.isLoading());
        QTRY_COMPARE(window.grid()->dataRows(), 260);
        QCOMPARE(child<QLabel>(window, "StatusBar1")->text(), QStringLiteral("260 document(s)"));
        child<QLineEdit>(window, "txtContent")->setText(QStringLiteral("odd"));
        child<QPushButton>(window, "CmdCntSearch")->click();
        window.finishLoading();
        QCOMPARE(window.grid()->dataRows(), 130);
    }

    void scanPanelLinksAFolder()
    {
        m_env->writeFile(QStringLiteral("scan/one.txt"), "first");
        m_env->writeFile(QStringLiteral("scan/Two.RTF"), rtf("second"));
        m_env->writeFile(QStringLiteral("scan/three.doc"), "third");
        FormNotes window;
        trigger(window, QStringLiteral("ID_Scan"));
        QVERIFY(child<QGroupBox>(window, "fraScan")->isVisibleTo(&window));
        child<QLineEdit>(window, "FolderView")->setText(m_env->scratch() + "/scan");
        child<QPushButton>(window, "CmdScan")->click();
        QCOMPARE(column(window, QStringLiteral("DocumentName")), (QStringList{"one", "Two"}));
        QCOMPARE(child<QLabel>(window, "StatusBar1")->text(),
                 QStringLiteral("2 document(s) added"));

        child<QLineEdit>(window, "FolderView")->setText(m_env->scratch() + "/none");
        child<QPushButton>(window, "CmdScan")->click();
        QCOMPARE(m_env->dialogs().messages(),
                 QStringList{"The folder cannot be read:\n" + m_env->scratch() + "/none"});

        // No folder typed: the folder picker is asked; cancelling it scans nothing.
        child<QLineEdit>(window, "FolderView")->clear();
        m_env->dialogs().cancelNext();
        QVERIFY(!window.ScanFolder(QString()));
        QCOMPARE(window.grid()->dataRows(), 2);
    }

    void editorAndHandOver()
    {
        addDocuments();
        RecordingToolHost host;
        FormNotes window;
        select(window, QStringLiteral("Gone"));
        trigger(window, QStringLiteral("EditDoc-Full")); // no file: nothing happens
        QVERIFY(host.opened.isEmpty());
        select(window, QStringLiteral("Shopping"));
        trigger(window, QStringLiteral("EditDoc-Full"));
        QCOMPARE(host.opened.size(), 1);
        QCOMPARE(host.opened[0].name, QStringLiteral("notebookeditor"));
        QCOMPARE(host.opened[0].file, m_docs + QStringLiteral("/Shopping.rtf"));

        window.openDocument(m_docs + QStringLiteral("/garden.txt"));
        QCOMPARE(child<KeyedGrid>(window, "grid1")->currentGridRow(),
                 rowOf(window, QStringLiteral("garden")));
        QCOMPARE(child<QTextEdit>(window, "rtfText")->toPlainText(),
                 QStringLiteral("Tomatoes and beans.\n"));
    }

    void settingsAreReadAndSaved()
    {
        m_env->platform().settings.insert(QStringLiteral("Nuvela Utilities/Drag/Textfile"), false);
        auto *window = new FormNotes;
        QVERIFY(!child<QTextEdit>(*window, "rtfText")->acceptDrops());
        QVERIFY(child<QLabel>(*window, "imgPicture")->acceptDrops());
        window->setGeometry(30, 40, 900, 600);
        window->close();
        delete window;
        QCOMPARE(
            m_env->platform().settings.value(QStringLiteral("Nuvela Utilities/Settings/MainWidth")),
            QVariant(900));
        QCOMPARE(
            m_env->platform().settings.value(QStringLiteral("Nuvela Utilities/Settings/MainLeft")),
            QVariant(30));
    }

    void opensFromKeyMenuAndListBar()
    {
        {
            Store store(Store::Kind::Data);
            QVERIFY(store.exec(QStringLiteral("update nv_setup set key='notebook'")));
        }
        MDIForm1 main;
        main.show();
        QTRY_VERIFY(main.findChild<FormNotes *>());
        QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
        main.mdiArea()->closeAllSubWindows();
        QVERIFY(main.runTool(QStringLiteral("NuvelaNoteBook")));
        QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
        QWidget *fromMenu = main.mdiArea()->subWindowList().first()->widget();
        QVERIFY(qobject_cast<FormNotes *>(fromMenu));
        // Another window hands over a document: the open notebook shows it.
        const QString letter = m_env->writeFile(QStringLiteral("docs/letter.rtf"), rtf("Hello"));
        QCOMPARE(ToolHost::instance()->openTool(QStringLiteral("notebook"), {letter, true}),
                 fromMenu);
        QCOMPARE(fromMenu->findChild<QTextEdit *>(QStringLiteral("rtfText"))->toPlainText(),
                 QStringLiteral("Hello"));
        auto *page = main.findChild<QListWidget *>(QStringLiteral("lBarGroup_Utilities"));
        QVERIFY(page);
        QCOMPARE(page->findItems(QStringLiteral("Notebook"), Qt::MatchExactly).size(), 1);
        QCOMPARE(fromMenu->findChild<HelpButton *>(QStringLiteral("CmdHelp"))->code(),
                 QStringLiteral("UTL0020"));
    }
};

QTEST_MAIN(tst_FormNotes)
#include "tst_FormNotes.moc"
