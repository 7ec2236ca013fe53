#include "frmExpl.h"

#include "AppFolders.h"
#include "AppState.h"
#include "CatalogueScanJob.h"
#include "FilterHeader.h"
#include "KeyedGrid.h"
#include "SelectionMark.h"
#include "SqlText.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "ToolStrip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

// The File organizer window driven as a user drives it: listing real temporary folders,
// building the catalogue, choosing categories, filters and searches.
class tst_frmExpl : public QObject
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

    static QStringList column(const frmExpl &window, const QString &key, bool shownOnly = true)
    {
        const KeyedGridModel *grid = window.grid();
        QStringList values;
        for (int row = grid->fixedRows(); row < grid->rows(); ++row) {
            if (!shownOnly || !grid->isRowHidden(row))
                values << grid->text(row, key);
        }
        return values;
    }

    static void choose(QComboBox *box, const QString &text)
    {
        const int index = box->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
    }

    void setModified(const QString &path, int daysAgo)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-daysAgo),
                                 QFileDevice::FileModificationTime));
    }

    void setDefaultFolder(const QString &folder)
    {
        Store store(Store::Kind::Data);
        QVERIFY(store.exec(QStringLiteral("update FileCategory set DefFolderPath=") +
                           SqlText::literal(folder)));
    }

    // With NUVELA_SCREENSHOT_DIR set, saves a picture of the window for a person to look at.
    static void screenshot(frmExpl &window, const QString &name)
    {
        if (!qEnvironmentVariableIsSet("NUVELA_SCREENSHOT_DIR"))
            return;
        window.show();
        QTest::qWait(50);
        window.grab().save(qEnvironmentVariable("NUVELA_SCREENSHOT_DIR") + '/' + name + ".png");
    }

    static void pick(frmExpl &window, int row)
    {
        KeyedGrid *grid = child<KeyedGrid>(window, "FileGrid");
        const QRect cell = grid->visualRect(window.grid()->indexOf(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void folderListingFillsTheGrid()
    {
        const QString folder = m_env->scratch() + "/list";
        m_env->writeFile("list/archive.tar.gz", QByteArray(1024, 'x'));
        m_env->writeFile("list/README", QByteArray(1023, 'x'));
        m_env->writeFile("list/big.bin", QByteArray(1024 * 1024, 'x'));
        m_env->writeFile("list/.profile", "");
        m_env->writeFile("list/sub/inside.txt");
        frmExpl window;
        window.ListFolderToGrid(folder);
        const KeyedGridModel *grid = window.grid();
        QCOMPARE(grid->rows(), 6);
        QCOMPARE(grid->fixedRows(), 2);
        QCOMPARE(column(window, "Name"), (QStringList{"", "archive.tar", "big", "README"}));
        QCOMPARE(column(window, "Ext"), (QStringList{"profile", "gz", "bin", ""}));
        QCOMPARE(column(window, "Size"), (QStringList{"0Byte", "1Kb", "1Mb", "1023Byte"}));
        QCOMPARE(column(window, "Attribute"), (QStringList{"AH", "A", "A", "A"}));
        QCOMPARE(column(window, "cDate"), (QStringList{"", "", "", ""}));
        QCOMPARE(column(window, "Location").at(1), folder + "/archive.tar.gz");
        QVERIFY(!column(window, "mDate").at(0).isEmpty());
        QCOMPARE(grid->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Size"));
        QCOMPARE(grid->columnInfo(grid->column("mDate")).format, QStringLiteral("MMM dd-yy"));
        QVERIFY(!child<QFrame>(window, "pnlPro")->isHidden());
        QCOMPARE(child<QLabel>(window, "lblFileName")->text(), QStringLiteral(".profile"));
        QCOMPARE(child<QLabel>(window, "LblSize")->text(), QStringLiteral("0Byte"));
        QVERIFY(window.currentFile().isEmpty());

        child<KeyedGrid>(window, "FileGrid")->setCurrentGridRow(3);
        QCOMPARE(child<QLabel>(window, "lblRecord")->text(), QStringLiteral("Record - 3 / 5"));
        QCOMPARE(child<QLabel>(window, "LblFileSize")->text(), QStringLiteral("Size - 1Kb"));
        QCOMPARE(window.currentFile(), folder + "/archive.tar.gz");
        QCOMPARE(child<QLabel>(window, "LblName")->text(), QStringLiteral("archive.tar"));
        QCOMPARE(child<QLabel>(window, "lblFileName")->text(), QStringLiteral("archive.tar.gz"));
    }

    void nationalFlagChoosesTheDateFormat()
    {
        AppState::instance().national = true;
        frmExpl window;
        QCOMPARE(window.grid()->columnInfo(window.grid()->column("cDate")).format,
                 QStringLiteral("dd MMM-yy"));
    }

    void emptyFolderHidesTheProperties()
    {
        m_env->writeFile("full/a.txt");
        QDir(m_env->scratch()).mkpath("empty/only a folder");
        frmExpl window;
        window.ListFolderToGrid(m_env->scratch() + "/full");
        QVERIFY(!child<QFrame>(window, "pnlPro")->isHidden());
        window.ListFolderToGrid(QString());
        QCOMPARE(window.grid()->rows(), 3);
        window.ListFolderToGrid(m_env->scratch() + "/empty");
        QCOMPARE(window.grid()->rows(), 2);
        QVERIFY(child<QFrame>(window, "pnlPro")->isHidden());
        window.ListFolderToGrid(m_env->scratch() + "/not there");
        QCOMPARE(window.grid()->rows(), 2);
    }

    void pickingMarksRowsAndANewListingClearsThem()
    {
        m_env->writeFile("mark/a.txt");
        m_env->writeFile("mark/b.txt");
        m_env->writeFile("mark/c.txt");
        frmExpl window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ListFolderToGrid(m_env->scratch() + "/mark");
        KeyedGridModel *grid = window.grid();
        const int last = grid->columns() - 1;
        pick(window, 3);
        QVERIFY(SelectionMark::isMark(grid->cellBackground(3, last)));
        QVERIFY(SelectionMark::isMark(grid->cellBackground(3, 0)));
        QVERIFY(!grid->cellBackground(2, last).isValid());
        QCOMPARE(SelectionMark::color(), QColor(0xE1, 0xC2, 0x8A));
        window.ListFolderToGrid(m_env->scratch() + "/mark");
        QVERIFY(!grid->cellBackground(3, last).isValid());
        QVERIFY(child<ToolStrip>(window, "SSActiveToolBars1")->trigger("SelectAll"));
        for (int row = 2; row < grid->rows(); ++row)
            QVERIFY(SelectionMark::isMark(grid->cellBackground(row, last)));
    }

    void treeListsTheChosenFolder()
    {
        m_env->writeFile("home/docs/letter.doc");
        setDefaultFolder(m_env->scratch() + "/home");
        frmExpl window;
        QCOMPARE(window.defaultFolder(), m_env->scratch() + "/home");
        QTreeWidget *tree = child<QTreeWidget>(window, "tvFolder");
        QCOMPARE(tree->topLevelItemCount(), 3);
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("File Manager"));
        QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("Find File"));
        QCOMPARE(tree->topLevelItem(2)->text(0), QStringLiteral("File Category Wise"));
        QTreeWidgetItem *root = tree->topLevelItem(0)->child(0);
        root->setExpanded(true);
        QCOMPARE(root->childCount(), 1);
        tree->setCurrentItem(root->child(0));
        QCOMPARE(window.branch(), frmExpl::Branch::FileManager);
        QCOMPARE(column(window, "Name"), QStringList{"letter"});
    }

    void lookInChooserListsTheChosenFolder()
    {
        m_env->writeFile("chosen/x.txt");
        frmExpl window;
        m_env->dialogs().answerPath(m_env->scratch() + "/chosen");
        QTest::mouseClick(child<QToolButton>(window, "cmdLookIn"), Qt::LeftButton);
        QCOMPARE(column(window, "Name"), QStringList{"x"});
        QCOMPARE(child<QLineEdit>(window, "BrowseFolder1")->text(),
                 QDir::toNativeSeparators(m_env->scratch() + "/chosen"));
        // Typing a folder into the chooser lists it too.
        m_env->writeFile("typed/y.txt");
        QLineEdit *chooser = child<QLineEdit>(window, "BrowseFolder1");
        chooser->setText(m_env->scratch() + "/typed");
        QTest::keyClick(chooser, Qt::Key_Return);
        QCOMPARE(column(window, "Name"), QStringList{"y"});
        // Cancelling the chooser keeps the listing.
        m_env->dialogs().cancelNext();
        QTest::mouseClick(child<QToolButton>(window, "cmdLookIn"), Qt::LeftButton);
        QCOMPARE(column(window, "Name"), QStringList{"y"});
    }

    void catalogueRoutinesAddRows()
    {
        m_env->writeFile("add/top.txt");
        m_env->writeFile("add/sub/below.jpg");
        frmExpl window;
        window.AddFolderFilesToCatalogue(m_env->scratch() + "/add");
        Store store(Store::Kind::Data);
        QCOMPARE(store.value("Select count(*) from filedetails").toInt(), 1);
        QVERIFY(window.ScanFolderToCatalogue(m_env->scratch() + "/add"));
        // The scan adds to what is there; only the rescan of the database view empties it.
        QCOMPARE(store.value("Select count(*) from filedetails").toInt(), 3);
        QCOMPARE(store.value("Select [Group] from filedetails where ext = 'jpg'").toString(),
                 QStringLiteral("Picture"));
    }

    void databaseViewShowsTheCatalogue()
    {
        const QString home = m_env->scratch() + "/db";
        m_env->writeFile("db/song.mp3");
        m_env->writeFile("db/a/b/photo.JPG");
        m_env->writeFile("db/a/noext");
        m_env->writeFile("db/a/letter.do");
        setDefaultFolder(home);
        frmExpl window;
        child<QCheckBox>(window, "chkRescan")->setChecked(true);
        child<QTabWidget>(window, "SSTab1")->setCurrentIndex(1);
        QCOMPARE(window.viewMode(), frmExpl::ViewMode::Database);
        QVERIFY(child<QFrame>(window, "frmLookIn")->isHidden());
        const KeyedGridModel *grid = window.grid();
        QCOMPARE(grid->rows(), 6);
        QCOMPARE(column(window, "Name"), (QStringList{"letter", "noext", "photo", "song"}));
        QCOMPARE(column(window, "Group"), (QStringList{"Document", "Others", "Picture", "Music"}));
        QVERIFY(grid->columnInfo(grid->column("Group")).hidden);
        QVERIFY(!column(window, "cDate").at(0).isEmpty());

        QListWidget *list = child<QListWidget>(window, "SSListBar1");
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries << list->item(i)->text();
        QCOMPARE(entries.first(), QStringLiteral("All"));
        QVERIFY(entries.indexOf("Others") > entries.indexOf("Archive"));
        for (const char *fixed : {"New", "Program Files", "System", "Music"})
            QVERIFY2(entries.count(fixed) == 1, fixed);
        QCOMPARE(list->findItems("Program Files", Qt::MatchExactly)
                     .first()
                     ->data(Qt::UserRole + 2)
                     .toString(),
                 QStringLiteral("PicKey7"));

        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, {},
            list->visualItemRect(list->findItems("Music", Qt::MatchExactly).first()).center());
        QCOMPARE(column(window, "Name"), QStringList{"song"});
        QVERIFY(!child<QFrame>(window, "pnlPro")->isHidden());
        screenshot(window, "database");
        window.SelectCategory("System");
        QCOMPARE(column(window, "Name"), QStringList());
        QVERIFY(child<QFrame>(window, "pnlPro")->isHidden());
        window.SelectCategory("All");
        QCOMPARE(column(window, "Name").size(), 4);
    }

    void categoryListTakesPictures()
    {
        // A category's own icon file, and a fixed entry's picture from the program folder.
        QImage picture(16, 16, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        const QString own = m_env->scratch() + "/music.png";
        QVERIFY(picture.save(own, "PNG"));
        QDir(m_env->programFolder()).mkpath("UserFiles/Misc");
        QVERIFY(picture.save(m_env->programFolder() + "/UserFiles/Misc/New.ico", "PNG"));
        Store store(Store::Kind::Data);
        QVERIFY(store.exec("update FileCategory set [Icon]=" + SqlText::literal(own) +
                           " where FolderType='Music'"));
        QVERIFY(store.exec(
            "update FileCategory set [Icon]='/no/such/file.ico' where FolderType='Video'"));
        frmExpl window;
        child<QTabWidget>(window, "SSTab1")->setCurrentIndex(1);
        QListWidget *list = child<QListWidget>(window, "SSListBar1");
        auto icon = [list](const char *caption) {
            return list->findItems(caption, Qt::MatchExactly).first()->icon();
        };
        QVERIFY(!icon("Music").availableSizes().isEmpty());
        QVERIFY(!icon("New").availableSizes().isEmpty());
        QVERIFY2(icon("Video").isNull(),
                 "a missing icon file leaves the category without a picture");
        QVERIFY(icon("System").isNull());
        QCOMPARE(
            list->findItems("New", Qt::MatchExactly).first()->data(Qt::UserRole + 2).toString(),
            QStringLiteral("PicKey5"));
    }

    void catalogueIsReusedUntilRescanned()
    {
        const QString home = m_env->scratch() + "/re";
        m_env->writeFile("re/one.txt");
        setDefaultFolder(home);
        frmExpl window;
        QTabWidget *tabs = child<QTabWidget>(window, "SSTab1");
        QCheckBox *rescan = child<QCheckBox>(window, "chkRescan");
        rescan->setChecked(true);
        tabs->setCurrentIndex(1);
        QCOMPARE(column(window, "Name"), QStringList{"one"});
        m_env->writeFile("re/two.txt");
        rescan->setChecked(false);
        tabs->setCurrentIndex(0);
        tabs->setCurrentIndex(1);
        QCOMPARE(column(window, "Name"), QStringList{"one"});
        rescan->setChecked(true);
        tabs->setCurrentIndex(0);
        tabs->setCurrentIndex(1);
        QCOMPARE(column(window, "Name"), (QStringList{"one", "two"}));
    }

    void categoryNodeNarrowsTheFilters()
    {
        const QString home = m_env->scratch() + "/cat";
        m_env->writeFile("cat/a.jpg");
        m_env->writeFile("cat/b.txt");
        m_env->writeFile("cat/c.txt");
        setDefaultFolder(home);
        // The catalogue of an earlier run, shown without a rescan.
        CatalogueScanJob earlier(AppFolders::dataStorePath(), home, CatalogueScanJob::Mode::Tree);
        earlier.runHere();
        frmExpl window;
        QTreeWidget *tree = child<QTreeWidget>(window, "tvFolder");
        QTreeWidgetItem *categories = tree->topLevelItem(2);
        QTreeWidgetItem *document = nullptr;
        for (int i = 0; i < categories->childCount(); ++i) {
            if (categories->child(i)->text(0) == "Document")
                document = categories->child(i);
        }
        QVERIFY(document);
        tree->setCurrentItem(document);
        QCOMPARE(window.branch(), frmExpl::Branch::CategoryWise);
        QCOMPARE(window.viewMode(), frmExpl::ViewMode::Database);
        QCOMPARE(column(window, "Name"), (QStringList{"b", "c"}));
        QComboBox *ext = child<QComboBox>(window, "cboExt");
        QCOMPARE(ext->count(), 2);
        QCOMPARE(ext->itemText(1), QStringLiteral("*.TXT"));
        // In category mode the extension box still keeps to the category.
        choose(child<QComboBox>(window, "cboExt"), "*.*");
        QCOMPARE(column(window, "Name"), (QStringList{"b", "c"}));
        choose(child<QComboBox>(window, "cboDateRangeM"), "Last 1 Week");
        QCOMPARE(column(window, "Name"), (QStringList{"b", "c"}));
    }

    void dateFilters()
    {
        const QString folder = m_env->scratch() + "/dates";
        setModified(m_env->writeFile("dates/today.txt"), 0);
        setModified(m_env->writeFile("dates/week.txt"), 6);
        setModified(m_env->writeFile("dates/month.jpg"), 25);
        setModified(m_env->writeFile("dates/quarter.JPG"), 80);
        setModified(m_env->writeFile("dates/old.txt"), 400);
        frmExpl window;
        window.ListFolderToGrid(folder);
        QComboBox *created = child<QComboBox>(window, "cboDateRangeC");
        QComboBox *modified = child<QComboBox>(window, "cboDateRangeM");
        QComboBox *ext = child<QComboBox>(window, "cboExt");
        QCOMPARE(modified->currentText(), QStringLiteral("All"));

        choose(modified, "Last 1 Week");
        QCOMPARE(column(window, "Name"), (QStringList{"today", "week"}));
        choose(modified, "Last 3 Month");
        QCOMPARE(column(window, "Name"), (QStringList{"month", "quarter", "today", "week"}));
        choose(modified, "Last During 1 Day");
        QCOMPARE(column(window, "Name"), QStringList{"today"});

        // The folder view has no creation dates: any created range hides every row, and
        // choosing it sets the modified range back to "All".
        choose(created, "Last 1 Year");
        QCOMPARE(modified->currentText(), QStringLiteral("All"));
        QCOMPARE(column(window, "Name"), QStringList());
        QVERIFY(!child<QFrame>(window, "pnlPro")->isHidden());
        choose(created, "All");
        QCOMPARE(column(window, "Name").size(), 5);

        QCOMPARE(ext->count(), 3);
        QCOMPARE(ext->itemText(1), QStringLiteral("*.JPG"));
        choose(ext, "*.JPG");
        QCOMPARE(column(window, "Name"), (QStringList{"month", "quarter"}));
        choose(modified, "Last 1 Month");
        QCOMPARE(created->currentText(), QStringLiteral("All"));
        QCOMPARE(column(window, "Name"), QStringList{"month"});
        // With an extension chosen, "All" makes no pass: the rows stay as they are.
        choose(modified, "All");
        QCOMPARE(column(window, "Name"), QStringList{"month"});
        choose(ext, "*.*");
        QCOMPARE(column(window, "Name").size(), 5);
        QCOMPARE(modified->currentText(), QStringLiteral("All"));
    }

    void extensionBoxOnAnEmptyGridDoesNothing()
    {
        QDir(m_env->scratch()).mkpath("none");
        frmExpl window;
        window.ListFolderToGrid(m_env->scratch() + "/none");
        QComboBox *modified = child<QComboBox>(window, "cboDateRangeM");
        modified->setCurrentText("Last 1 Week");
        choose(child<QComboBox>(window, "cboExt"), "*.*");
        QCOMPARE(modified->currentText(), QStringLiteral("Last 1 Week"));
    }

    void filterBoxesSitOverTheirColumns()
    {
        m_env->writeFile("pos/a.txt");
        frmExpl window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ListFolderToGrid(m_env->scratch() + "/pos");
        KeyedGrid *grid = child<KeyedGrid>(window, "FileGrid");
        QComboBox *ext = child<QComboBox>(window, "cboExt");
        QComboBox *modified = child<QComboBox>(window, "cboDateRangeM");
        QCOMPARE(ext->geometry(), grid->filterHeader()->bandRect(1));
        QCOMPARE(modified->geometry(), grid->filterHeader()->bandRect(4));
        grid->setColumnWidth(0, grid->columnWidth(0) + 40);
        QCOMPARE(ext->geometry(), grid->filterHeader()->bandRect(1));
        QVERIFY(ext->isVisible());
        screenshot(window, "folder");
    }

    void searchListsHitsAndAddsNodes()
    {
        const QString root = m_env->scratch() + "/search";
        m_env->writeFile("search/Notes.TXT");
        m_env->writeFile("search/readme.md");
        m_env->writeFile("search/skip.doc");
        m_env->writeFile("search/folder.txt/inside.bin");
        m_env->writeFile("search/deeper/more.txt", QByteArray(1536, 'x'));
        m_env->writeFile("search/deeper/not/here.doc");
        frmExpl window;
        child<QLineEdit>(window, "BrowseFolder2")->setText(root);
        child<QComboBox>(window, "Combo1")->setEditText(" *.TXT;*.md ");
        child<QCheckBox>(window, "dxCheckBox1")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(window, "cmdSearch"), Qt::LeftButton);
        QCOMPARE(column(window, "Name"), (QStringList{"Notes", "readme"}));
        QCOMPARE(column(window, "Location").first(), root + "/Notes.TXT");
        QVERIFY(!column(window, "cDate").first().isEmpty());
        QVERIFY(child<QProgressBar>(window, "Animation1")->isHidden());
        QVERIFY(child<QLabel>(window, "lblCurrentFolder")->text().isEmpty());

        QTreeWidgetItem *found = child<QTreeWidget>(window, "tvFolder")->topLevelItem(1);
        QCOMPARE(found->childCount(), 1);
        QTreeWidgetItem *node = found->child(0);
        QCOMPARE(node->text(0), QStringLiteral("search"));
        QCOMPARE(node->childCount(), 1);
        QCOMPARE(node->child(0)->text(0), QStringLiteral("deeper"));
        child<QTreeWidget>(window, "tvFolder")->setCurrentItem(node->child(0));
        QCOMPARE(window.branch(), frmExpl::Branch::FindFile);
        QCOMPARE(column(window, "Name"), QStringList{"more"});
        QCOMPARE(column(window, "Size").first(), QLocale().toString(1536.0 / 1024 / 1024, 'g', 15));
        QVERIFY(m_env->dialogs().messages().isEmpty());
        child<QTabWidget>(window, "SSTab1")->setCurrentIndex(2);
        screenshot(window, "search");
    }

    void searchWithoutAConditionSaysSo()
    {
        m_env->writeFile("blank/a.txt");
        frmExpl window;
        child<QLineEdit>(window, "BrowseFolder2")->setText(m_env->scratch() + "/blank");
        child<QComboBox>(window, "Combo1")->setEditText("  ");
        child<QComboBox>(window, "txFileName")->setEditText("");
        QTest::mouseClick(child<QPushButton>(window, "cmdSearch"), Qt::LeftButton);
        QCOMPARE(m_env->dialogs().messages(), QStringList{"Search condition not given"});
        QCOMPARE(window.grid()->rows(), 2);

        // The type box alone is a condition too; it is filled from every category's list.
        QComboBox *types = child<QComboBox>(window, "txFileName");
        QVERIFY(types->findText("*.docx") > 0);
        types->setEditText("*.txt");
        QTest::mouseClick(child<QPushButton>(window, "cmdSearch"), Qt::LeftButton);
        QCOMPARE(column(window, "Name"), QStringList{"a"});
        QCOMPARE(m_env->dialogs().messages().size(), 1);
    }

    void searchInAMissingFolderListsNothing()
    {
        frmExpl window;
        child<QLineEdit>(window, "BrowseFolder2")->setText(m_env->scratch() + "/missing");
        child<QComboBox>(window, "Combo1")->setEditText("*");
        QTest::mouseClick(child<QPushButton>(window, "cmdSearch"), Qt::LeftButton);
        QCOMPARE(window.grid()->rows(), 2);
        QCOMPARE(child<QTreeWidget>(window, "tvFolder")->topLevelItem(1)->childCount(), 0);
        QVERIFY(m_env->dialogs().messages().isEmpty());
    }
};

QTEST_MAIN(tst_frmExpl)
#include "tst_frmExpl.moc"
