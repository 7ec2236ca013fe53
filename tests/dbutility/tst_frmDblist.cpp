// The Database utility window driven as a user drives it: favourites added and removed, tables
// browsed, records sorted, filtered and grouped, the grid's look and colours, file attributes.

#include "DbTestFiles.h"
#include "FileFacts.h"
#include "KeyedGrid.h"
#include "ListDocument.h"
#include "OleColor.h"
#include "RecordGridDelegate.h"
#include "RecordPager.h"
#include "Screenshot.h"
#include "SqlText.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "ToolRegistry.h"
#include "ToolStrip.h"
#include "frmDblist.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <algorithm>

namespace
{

template <typename T> T *child(const QWidget &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

void trigger(const QWidget &window, const QString &id)
{
    child<QAction>(window, id)->trigger();
}

void choose(QComboBox *box, const QString &text)
{
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

QStringList column(const KeyedGridModel &model, int column)
{
    QStringList texts;
    for (int row = model.fixedRows(); row < model.rows(); ++row)
        texts << model.textAt(row, column);
    return texts;
}

void tick(QListWidget *list, const QString &text, bool on = true)
{
    const QList<QListWidgetItem *> items = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    items.first()->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

} // namespace

class tst_frmDblist : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    QString sample(const QString &file) { return CopySample(file, m_env->scratch()); }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void addFromTheAddPanel();
    void everySampleInTheWindow_data();
    void everySampleInTheWindow();
    void deleteAsks_data();
    void deleteAsks();
    void deleteAllKeepsTheFiles();
    void missingFilesForgottenOnOpening();
    void sixthMarkIsRefused();
    void visibilityPicksTheColumns();
    void damagedFileToldOnce();
    void accessTableThatFailsToLoadToldOnce();
    void browsePanelOpensByContent();
    void movingBetweenRecords();
    void largeTableShowsItsFirstPageFirst();
    void sqliteFavourite();
    void recordsSavedAsANotebookList();
};

void tst_frmDblist::addFromTheAddPanel()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString path = sample(QStringLiteral("dbf/dbase_8b.dbf"));
    frmDblist window;
    QCOMPARE(window.windowTitle(), QStringLiteral("DBViewer"));
    QCOMPARE(child<QComboBox>(window, "cboDbType")->currentText(), QStringLiteral("Access"));
    Screenshot(window, "dblist-empty");
    trigger(window, QStringLiteral("Add"));
    QVERIFY(!child<QFrame>(window, "frmAdd")->isHidden());
    // Picking nothing adds nothing.
    m_env->dialogs().cancelNext();
    child<QPushButton>(window, "cmdAdd")->click();
    KeyedGrid *favourites = child<KeyedGrid>(window, "grdFavData");
    QCOMPARE(favourites->grid()->dataRows(), 0);
    QVERIFY(m_env->platform().sounds.isEmpty());
    m_env->dialogs().answerPath(path);
    child<QPushButton>(window, "cmdAdd")->click();
    QVERIFY(m_env->dialogs().shown().last().text.startsWith(QLatin1String("Database |*.mdb;")));
    QVERIFY(child<QFrame>(window, "frmAdd")->isHidden());
    QCOMPARE(favourites->grid()->dataRows(), 1);
    QCOMPARE(favourites->grid()->text(1, QStringLiteral("Name")), QStringLiteral("dbase_8b.dbf"));
    QVERIFY(favourites->isColumnHidden(1) && !favourites->isColumnHidden(0));
    QCOMPARE(favourites->currentGridRow(), 1);
    QCOMPARE(child<QLabel>(window, "LblName")->text(), path);
    QCOMPARE(child<QLabel>(window, "lblTblName")->text(), QStringLiteral("dbase_8b.dbf"));
    QCOMPARE(child<QComboBox>(window, "cboDbType")->currentText(), QStringLiteral("Dbase 5.0;"));
    QCOMPARE(child<QListWidget>(window, "lstFields")->count(), 6);
    QCOMPARE(child<KeyedGrid>(window, "Grid3")->grid()->text(2, QStringLiteral("Type")),
             QStringLiteral("Numeric Double"));
    QCOMPARE(child<QTableWidget>(window, "Grid4")->rowCount(), 6);
    QVERIFY(m_env->platform().sounds.last().endsWith(QLatin1String("Save.wav")));
    QVERIFY(m_env->dialogs().messages().isEmpty());
}

void tst_frmDblist::everySampleInTheWindow_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("table");
    QTest::addColumn<qint64>("records");
    for (const SampleDatabase &sample : DatabaseSamples())
        QTest::newRow(qPrintable(sample.file)) << sample.file << sample.table << sample.records;
}

void tst_frmDblist::everySampleInTheWindow()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(QString, file);
    QFETCH(QString, table);
    QFETCH(qint64, records);
    const QString path = sample(file);
    frmDblist window;
    window.handOver(path, true);
    QVERIFY2(m_env->dialogs().messages().isEmpty(),
             qPrintable(m_env->dialogs().messages().join('\n')));
    QListWidget *tables = child<QListWidget>(window, "lstTables");
    if (!tables->isHidden() && tables->currentItem()->text() != table) {
        tables->setCurrentItem(tables->findItems(table, Qt::MatchExactly).value(0));
        child<QPushButton>(window, "CmdNext")->click();
    }
    QCOMPARE(child<QLabel>(window, "lblTblName")->text(), table);
    window.finishCounting();
    KeyedGridModel *grid = window.records();
    QVERIFY(grid->isLazy());
    QCOMPARE(grid->dataRows(), records);
    QCOMPARE(child<QLabel>(window, "lblPosition")->text(), QStringLiteral("1/%1").arg(records));
    QCOMPARE(child<QLabel>(window, "LblRcount")->text(),
             QStringLiteral("Records: %1").arg(records));

    // Mark the first text field with values: it sorts, filters and groups.
    QString field;
    QStringList values;
    for (const FieldInfo &info : window.browser().fields()) {
        if (info.valueClass() != ValueClass::Text)
            continue;
        values = window.browser().distinctValues(info.name);
        if (values.size() > 1 || (!values.isEmpty() && records == 1)) {
            field = info.name;
            break;
        }
    }
    QVERIFY(!field.isEmpty());
    tick(child<QListWidget>(window, "lstFields"), field);
    QAction *sort = child<QAction>(window, "ID_Sort1");
    QVERIFY(sort->isVisible());
    QCOMPARE(sort->text(), QStringLiteral("Sort By ") + field);
    sort->trigger();
    const int c = grid->column(field);
    QVERIFY(c >= 0);
    const QStringList sorted = column(*grid, c);
    QCOMPARE(sorted.size(), records);
    for (int i = 1; i < sorted.size(); ++i) {
        const QByteArray a = sorted[i - 1].toUtf8().toLower(), b = sorted[i].toUtf8().toLower();
        QVERIFY2(a <= b, qPrintable(sorted[i - 1] + " > " + sorted[i]));
    }

    const bool access = window.browser().isAccessPath();
    QComboBox *box = child<QComboBox>(window, access ? "mdbCombo1" : "dbfCombo1");
    QVERIFY(box->isVisible() || !window.isVisible());
    QCOMPARE(box->itemText(0), QStringLiteral("All"));
    QCOMPARE(box->count(), values.size() + 1);
    choose(box, values.first());
    if (file == QLatin1String("csv/uk-500.csv"))
        Screenshot(window, "dblist-filtered");
    const QStringList kept = column(*grid, grid->column(field));
    // Every record of that value, compared as the text columns compare: without case.
    QCOMPARE(kept.size(), std::count_if(sorted.begin(), sorted.end(), [&values](const QString &v) {
                 return v.compare(values.first(), Qt::CaseInsensitive) == 0;
             }));
    for (const QString &text : kept)
        QCOMPARE(text.toLower(), values.first().toLower());
    choose(box, QStringLiteral("All"));
    window.finishCounting();
    QCOMPARE(grid->dataRows(), records);

    QTabBar *groups = child<QTabBar>(window, "VTabs");
    QCOMPARE(groups->count(), 2);
    QCOMPARE(groups->tabText(1), field);
    Q_EMIT groups->tabBarClicked(1);
    QVERIFY(grid->dataRows() > 0 && grid->dataRows() <= records);
    QVERIFY(grid->isRowHeading(1));
    // Opened, the headings part the records: each run under one heading holds its value.
    const int headings = grid->dataRows();
    for (int row = grid->rows() - 1; row >= grid->fixedRows(); --row)
        grid->setHeadingCollapsed(row, false);
    QCOMPARE(grid->dataRows(), records + headings);
    QString heading;
    for (int row = grid->fixedRows(); row < grid->rows(); ++row) {
        if (grid->isRowHeading(row)) {
            QVERIFY(row == 1 || grid->textAt(row, 0) != heading);
            heading = grid->textAt(row, 0);
        } else {
            QCOMPARE(grid->text(row, field).trimmed(), heading);
        }
    }
    for (int row = grid->rows() - 1; row >= grid->fixedRows(); --row)
        grid->setHeadingCollapsed(row, true);
    QCOMPARE(grid->dataRows(), headings);
    grid->setHeadingCollapsed(1, false);
    if (file == QLatin1String("mdb/nwind.mdb"))
        Screenshot(window, "dblist-grouped");
    QVERIFY(!grid->isRowHeading(2));
    QCOMPARE(grid->text(2, field).trimmed(), grid->textAt(1, 0));
    child<QPushButton>(window, "cmdReffresh")->click();
    window.finishCounting();
    QCOMPARE(grid->dataRows(), records);
    QCOMPARE(child<QLabel>(window, "LblMode")->text(), QStringLiteral("View Mode"));
    QVERIFY(m_env->dialogs().messages().isEmpty());
}

void tst_frmDblist::deleteAsks_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void tst_frmDblist::deleteAsks()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(bool, yes);
    const QString first = sample(QStringLiteral("dbf/people.dbf"));
    const QString second = sample(QStringLiteral("dbf/dbase_03.dbf"));
    frmDblist window;
    QVERIFY(window.AddFavourite(first));
    QVERIFY(window.AddFavourite(second));
    KeyedGrid *favourites = child<KeyedGrid>(window, "grdFavData");
    QCOMPARE(favourites->currentGridRow(), 2);
    m_env->dialogs().answerQuestion(yes);
    trigger(window, QStringLiteral("Delete"));
    QCOMPARE(m_env->dialogs().shown().last().text,
             QStringLiteral(" You want to delete this Record"));
    QCOMPARE(m_env->dialogs().shown().last().icon, Dialogs::Icon::Question);
    Store store(Store::Kind::Data);
    const QStringList left = yes ? QStringList{first} : QStringList{first, second};
    QCOMPARE(store.column(QStringLiteral("select Loc from favdbname")), left);
    QCOMPARE(store
                 .value(QStringLiteral("select count(*) from favfldname where dbpath=") +
                        SqlText::literal(second))
                 .toInt(),
             yes ? 0 : 31);
    QCOMPARE(favourites->grid()->dataRows(), yes ? 1 : 2);
    QCOMPARE(m_env->platform().sounds.last().endsWith(QLatin1String("Del.wav")), yes);
    QVERIFY(QFileInfo::exists(second));
    if (yes)
        QVERIFY(child<QLabel>(window, "lblTblName")->text().isEmpty());
}

void tst_frmDblist::deleteAllKeepsTheFiles()
{
    NUVELA_REQUIRE_SAMPLES();
    frmDblist window;
    const QStringList files{sample(QStringLiteral("dbf/people.dbf")),
                            sample(QStringLiteral("paradox/FILMS.DB")),
                            sample(QStringLiteral("csv/european.csv"))};
    for (const QString &file : files)
        QVERIFY(window.AddFavourite(file));
    Store store(Store::Kind::Data);
    QVERIFY(store.exec(QStringLiteral("insert into favchoices values(%1, 'FILMS.DB', 'Year', "
                                      "'1999')")
                           .arg(SqlText::literal(files[1]))));
    m_env->dialogs().answerQuestion(true);
    trigger(window, QStringLiteral("DeleteAll"));
    QVERIFY(m_env->dialogs().shown().last().text.startsWith(
        QLatin1String(" This will delete all links of database files")));
    QVERIFY(m_env->dialogs().shown().last().text.contains(QLatin1String("in there  original")));
    for (const char *table : {"favdbname", "FavTable", "favfldname"})
        QCOMPARE(
            store.value(QStringLiteral("select count(*) from ") + QLatin1String(table)).toInt(), 0);
    QCOMPARE(store.value(QStringLiteral("select count(*) from favchoices")).toInt(), 1);
    for (const QString &file : files)
        QVERIFY(QFileInfo::exists(file));
    QCOMPARE(child<KeyedGrid>(window, "grdFavData")->grid()->dataRows(), 0);
    QCOMPARE(child<QListWidget>(window, "lstFields")->count(), 0);
    QCOMPARE(
        child<QPushButton>(window, "CmdBackcolor")->icon().pixmap(16).toImage().pixelColor(8, 8),
        QColor(0xE0, 0xE0, 0xE0));
}

void tst_frmDblist::missingFilesForgottenOnOpening()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString kept = sample(QStringLiteral("dbf/people.dbf"));
    const QString gone = sample(QStringLiteral("dbf/dbase_8b.dbf"));
    {
        frmDblist window;
        QVERIFY(window.AddFavourite(kept));
        QVERIFY(window.AddFavourite(gone));
    }
    QVERIFY(QFile::remove(gone));
    frmDblist window;
    Store store(Store::Kind::Data);
    QCOMPARE(store.column(QStringLiteral("select Loc from favdbname")), QStringList{kept});
    QCOMPARE(store.column(QStringLiteral("select distinct dbpath from favfldname")),
             QStringList{kept});
    QCOMPARE(child<KeyedGrid>(window, "grdFavData")->grid()->dataRows(), 1);
}

void tst_frmDblist::sixthMarkIsRefused()
{
    NUVELA_REQUIRE_SAMPLES();
    frmDblist window;
    QVERIFY(window.AddFavourite(sample(QStringLiteral("dbf/dbase_30.dbf"))));
    QListWidget *fields = child<QListWidget>(window, "lstFields");
    QCOMPARE(fields->count(), 145);
    for (int i = 0; i < 6; ++i)
        fields->item(i)->setCheckState(Qt::Checked);
    QCOMPARE(m_env->dialogs().messages(), QStringList{"You can select maximum of five fields"});
    QCOMPARE(m_env->dialogs().shown().last().icon, Dialogs::Icon::Information);
    QCOMPARE(fields->item(5)->checkState(), Qt::Unchecked);
    QCOMPARE(window.browser().filterFields(),
             (QStringList{"ACCESSNO", "ACQVALUE", "APPNOTES", "APPRAISOR", "CABINET"}));
    // Clearing always works; a new sixth is then a fifth.
    fields->item(0)->setCheckState(Qt::Unchecked);
    fields->item(5)->setCheckState(Qt::Checked);
    QCOMPARE(m_env->dialogs().messages().size(), 1);
    QCOMPARE(window.browser().filterFields().size(), 5);
    // Marks come back when the favourite is chosen again.
    frmDblist again;
    child<KeyedGrid>(again, "grdFavData")->setCurrentGridRow(1);
    QCOMPARE(child<QListWidget>(again, "lstFields")->item(5)->checkState(), Qt::Checked);
    QCOMPARE(child<QListWidget>(again, "lstFields")->item(0)->checkState(), Qt::Unchecked);
}

void tst_frmDblist::visibilityPicksTheColumns()
{
    NUVELA_REQUIRE_SAMPLES();
    frmDblist window;
    QVERIFY(window.AddFavourite(sample(QStringLiteral("dbf/dbase_8b.dbf"))));
    window.CmdNext_Click();
    QCOMPARE(window.records()->columns(), 6);
    QTableWidget *view = child<QTableWidget>(window, "Grid4");
    QCOMPARE(view->item(1, 0)->text(), QStringLiteral("NUMERICAL"));
    view->item(1, 1)->setCheckState(Qt::Unchecked);
    view->item(5, 1)->setCheckState(Qt::Unchecked);
    QCOMPARE(window.browser().VisibleFieldList(),
             QStringLiteral("[CHARACTER],[DATE],[LOGICAL],[FLOAT]"));
    QCOMPARE(window.records()->columns(), 4);
    QCOMPARE(window.records()->column(QStringLiteral("NUMERICAL")), -1);
    QCOMPARE(window.pager()->query().text(),
             QStringLiteral("Select [CHARACTER],[DATE],[LOGICAL],[FLOAT] from dbase_8b.dbf  "));
    // None visible: every field.
    for (int row = 0; row < view->rowCount(); ++row)
        view->item(row, 1)->setCheckState(Qt::Unchecked);
    QCOMPARE(window.records()->columns(), 6);
}

void tst_frmDblist::damagedFileToldOnce()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString path = sample(QStringLiteral("dbf/people.dbf"));
    const QString other = sample(QStringLiteral("paradox/FILMS.DB"));
    frmDblist window;
    QVERIFY(window.AddFavourite(path));
    QVERIFY(window.AddFavourite(other));
    QVERIFY(WriteBytes(path, QByteArray("\x03garbage that is no table", 25)));
    KeyedGrid *favourites = child<KeyedGrid>(window, "grdFavData");
    favourites->setCurrentGridRow(1);
    QCOMPARE(m_env->dialogs().messages().size(), 1);
    QVERIFY2(m_env->dialogs().messages().first().contains(QLatin1String("people.dbf")),
             qPrintable(m_env->dialogs().messages().first()));
    QCOMPARE(m_env->dialogs().shown().first().title, QStringLiteral("DBViewer"));
    // The window goes on: another favourite browses, and the damaged one is not told again.
    favourites->setCurrentGridRow(2);
    window.CmdNext_Click();
    QCOMPARE(window.records()->dataRows(), 36);
    favourites->setCurrentGridRow(1);
    QCOMPARE(m_env->dialogs().messages().size(), 1);
    QVERIFY(child<QLabel>(window, "lblTblName")->text().isEmpty());
}

void tst_frmDblist::accessTableThatFailsToLoadToldOnce()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString path = sample(QStringLiteral("mdb/nwind.mdb"));
    frmDblist window;
    QVERIFY(window.AddFavourite(path));
    QCOMPARE(child<QLabel>(window, "lblTblName")->text(), QStringLiteral("Order Details"));
    // The file is cut short under the open database: its other tables can no longer be read.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(8192));
    file.close();
    QListWidget *tables = child<QListWidget>(window, "lstTables");
    tables->setCurrentRow(1);
    QCOMPARE(m_env->dialogs().messages().size(), 1);
    QCOMPARE(m_env->dialogs().messages().first(),
             QStringLiteral("nwind.mdb: the table Orders cannot be read"));
    window.CmdNext_Click();
    QCOMPARE(window.records()->dataRows(), 0);
    tables->setCurrentRow(2);
    tables->setCurrentRow(1);
    QCOMPARE(m_env->dialogs().messages().size(), 2);
    QVERIFY(m_env->dialogs().messages().last().contains(QLatin1String("Products")));
}

void tst_frmDblist::browsePanelOpensByContent()
{
    NUVELA_REQUIRE_SAMPLES();
    // A Paradox table under a dBase name, chosen while the type box says Access.
    const QString path = m_env->scratch() + QStringLiteral("/films.dbf");
    QVERIFY(QFile::copy(SamplesDir() + QStringLiteral("/paradox/FILMS.DB"), path));
    frmDblist window;
    QAction *favourites = child<QAction>(window, "Favorites");
    QCOMPARE(favourites->text(), QStringLiteral("Browse"));
    trigger(window, QStringLiteral("Favorites"));
    QCOMPARE(favourites->text(), QStringLiteral("Favorites"));
    QComboBox *types = child<QComboBox>(window, "cboDbType");
    choose(types, QStringLiteral("Paradox 5.x;"));
    m_env->dialogs().answerPath(path);
    child<QToolButton>(window, "cmdOpen")->click();
    QCOMPARE(m_env->dialogs().shown().last().text, QStringLiteral("Paradox File|*.db"));
    QCOMPARE(types->currentText(), QStringLiteral("Paradox 5.x;"));
    QCOMPARE(child<QLabel>(window, "lblTblName")->text(), QStringLiteral("films.dbf"));
    window.CmdNext_Click();
    QCOMPARE(window.records()->dataRows(), 36);
    // Browsing is no favourite until it is added.
    QCOMPARE(child<KeyedGrid>(window, "grdFavData")->grid()->dataRows(), 0);
    child<QPushButton>(window, "cmdAddBrowsed")->click();
    QCOMPARE(child<KeyedGrid>(window, "grdFavData")->grid()->dataRows(), 1);
    Store store(Store::Kind::Data);
    QCOMPARE(store.value(QStringLiteral("select dbtype from favdbname")).toString(),
             QStringLiteral("Paradox 5.x;"));
    QCOMPARE(favourites->text(), QStringLiteral("Browse"));
}

void tst_frmDblist::movingBetweenRecords()
{
    NUVELA_REQUIRE_SAMPLES();
    frmDblist window;
    window.handOver(sample(QStringLiteral("dbf/dbase_8b.dbf")), false);
    QLabel *position = child<QLabel>(window, "lblPosition");
    QCOMPARE(position->text(), QStringLiteral("1/10"));
    QToolButton *previous = child<QToolButton>(window, "CmdPrevious");
    QToolButton *next = child<QToolButton>(window, "Cmdnext1");
    previous->click();
    QCOMPARE(position->text(), QStringLiteral("1/10"));
    for (int i = 0; i < 12; ++i)
        next->click();
    QCOMPARE(position->text(), QStringLiteral("10/10"));
    previous->click();
    QCOMPARE(position->text(), QStringLiteral("9/10"));
    QVERIFY(!window.isOuter());
    QVERIFY(window.property("Tag").isNull());
}

void tst_frmDblist::largeTableShowsItsFirstPageFirst()
{
    QList<QVariantList> rows;
    for (int i = 0; i < 60000; ++i)
        rows.append({QStringLiteral("name %1").arg(i), i, QVariant(), 0});
    const QString path = MakePeopleDbf(m_env->scratch() + QStringLiteral("/big.dbf"), rows);
    QVERIFY(!path.isEmpty());
    frmDblist window;
    window.handOver(path, true);
    // Shown at once: one page; the grid holds no rows of its own.
    KeyedGridModel *grid = window.records();
    QVERIFY(grid->isLazy());
    QCOMPARE(grid->dataRows(), RecordPager::PageRows);
    QCOMPARE(grid->text(1, QStringLiteral("NAME")), QStringLiteral("name 0"));
    QTRY_COMPARE_WITH_TIMEOUT(grid->dataRows(), 60000, 20000);
    QCOMPARE(child<QLabel>(window, "lblPosition")->text(), QStringLiteral("1/60000"));
    QCOMPARE(grid->text(60000, QStringLiteral("AGE")), QStringLiteral("59999"));
}

void tst_frmDblist::sqliteFavourite()
{
    const QString path = MakeSqliteFile(m_env->scratch() + QStringLiteral("/shop.db"));
    frmDblist window;
    window.handOver(path, true);
    QCOMPARE(child<QComboBox>(window, "cboDbType")->currentText(), QStringLiteral("SQLite"));
    QListWidget *tables = child<QListWidget>(window, "lstTables");
    QVERIFY(!tables->isHidden());
    QCOMPARE(tables->count(), 2);
    QCOMPARE(window.records()->dataRows(), 4);
    tick(child<QListWidget>(window, "lstFields"), QStringLiteral("name"));
    trigger(window, QStringLiteral("ID_Sort1"));
    // A SQLite file sorts by its own rules: this column was declared with case.
    QCOMPARE(column(*window.records(), 0), (QStringList{"Alice", "O'Neil", "alice", "bob"}));
    QComboBox *box = child<QComboBox>(window, "mdbCombo1");
    choose(box, QStringLiteral("O'Neil"));
    QCOMPARE(column(*window.records(), 0), QStringList{"O'Neil"});

    // The table goes away under the window: told once, naming the file and the table.
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("drop table codes")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    tables->setCurrentRow(1);
    child<QPushButton>(window, "CmdNext")->click();
    child<QPushButton>(window, "CmdNext")->click();
    QCOMPARE(m_env->dialogs().messages().size(), 1);
    QVERIFY2(m_env->dialogs().messages().first().startsWith(
                 QLatin1String("shop.db, table codes: no such table")),
             qPrintable(m_env->dialogs().messages().first()));
    tables->setCurrentRow(0);
    child<QPushButton>(window, "CmdNext")->click();
    QCOMPARE(window.records()->dataRows(), 4);
}

// The record grid leaves the window as a notebook list: the file holds every record, and the
// notebook's catalogue files it under "Undefined" whatever the table.
void tst_frmDblist::recordsSavedAsANotebookList()
{
    NUVELA_REQUIRE_SAMPLES();
    frmDblist window;
    window.handOver(sample(QStringLiteral("dbf/dbase_8b.dbf")), false);
    window.finishCounting();
    const QString path = m_env->scratch() + QStringLiteral("/people's list.nvs");
    m_env->dialogs().answerPath(path);
    trigger(window, QStringLiteral("Saveas1"));
    const std::optional<ListDocument> list = ListDocument::load(path);
    QVERIFY(list);
    QCOMPARE(list->rows(), 1 + 10); // the captions, then every record
    QCOMPARE(m_env->dialogs().messages(),
             QStringList{"Save List as Nuvela Notebook file in category - undefined. To view file "
                         "open Nuvela Notebook Programm."});
    Store store(Store::Kind::Data);
    QSqlQuery row = store.query("select DocType, documentName, category1 from nv_notesdairy1 "
                                "where Path=" +
                                SqlText::literal(path));
    QVERIFY(row.next());
    QCOMPARE(row.value(0).toString(), QStringLiteral("List"));
    QCOMPARE(row.value(1).toString(), QStringLiteral("people's list.nvs"));
    QCOMPARE(row.value(2).toString(), QStringLiteral("Undefined"));

    // A cancelled save dialog writes nothing.
    m_env->dialogs().cancelNext();
    trigger(window, QStringLiteral("Saveas"));
    QCOMPARE(store.value("select count(*) from nv_notesdairy1").toInt(), 1);
}

QTEST_MAIN(tst_frmDblist)
#include "tst_frmDblist.moc"
