// Records changed from the Database utility window as a user changes them: typed, pasted from a
// spreadsheet's clipboard, added and deleted in dBase, FoxPro, text and Paradox tables, each
// file checked afterwards with its backup; refusals told (Access once, Paradox by its rule, a
// bad value by its field, the row kept as typed).

#include "DbTestFiles.h"
#include "ForeignDatabase.h"
#include "KeyedGrid.h"
#include "RecordPager.h"
#include "Screenshot.h"
#include "TestEnvironment.h"
#include "frmDblist.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

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

// A button on a tool bar is shown or hidden through its action there.
bool toolShown(const QWidget &window, const QString &name)
{
    auto *button = child<QWidget>(window, name);
    auto *bar = qobject_cast<QToolBar *>(button->parentWidget());
    for (QAction *action : bar->actions()) {
        if (bar->widgetForAction(action) == button)
            return action->isVisible();
    }
    return false;
}

// The made tables: NAME, a number and a date first, records Ann (30, 1994-03-12) and Bob (41).
struct Table {
    QString path;
    QString name;
    QString numberField;
};

Table makeTable(const QString &format, const QString &folder)
{
    if (format == QLatin1String("dBase"))
        return {MakePeopleDbf(folder + QStringLiteral("/people.dbf"),
                              {{"Ann", 30, "1994-03-12", 1}, {"Bob", 41, {}, 0}}),
                QStringLiteral("people.dbf"), QStringLiteral("AGE")};
    if (format == QLatin1String("FoxPro")) {
        const QString path = folder + QStringLiteral("/parts.dbf");
        QString error;
        DbfTable::create(path,
                         {{QStringLiteral("NAME"), 'C', 12, 0},
                          {QStringLiteral("AGE"), 'I', 4, 0},
                          {QStringLiteral("BORN"), 'D', 8, 0}},
                         0x30, 1252, &error);
        SourceOptions options;
        options.backupSuffix.clear();
        auto table = DbfTable::open(path, options, &error);
        qint64 slot = 0;
        table->beginWrite(&error);
        table->insertRow({{0, "Ann"}, {1, 30}, {2, "1994-03-12"}}, &slot, &error);
        table->insertRow({{0, "Bob"}, {1, 41}}, &slot, &error);
        table->commitWrite(&error);
        return {path, QStringLiteral("parts.dbf"), QStringLiteral("AGE")};
    }
    if (format == QLatin1String("CSV")) {
        const QString path = folder + QStringLiteral("/people.csv");
        WriteBytes(path, "NAME,AGE,BORN\r\nAnn,30,1994-03-12\r\nBob,41,\r\n");
        return {path, QStringLiteral("people.csv"), QStringLiteral("AGE")};
    }
    return {MakeUnkeyedParadox(folder + QStringLiteral("/loose.db"),
                               {{"Ann", 30, "1994-03-12", 1}, {"Bob", 41, {}, 0}}),
            QStringLiteral("loose.db"), QStringLiteral("Count")};
}

// The live records of a table file as the source layer reads it: name and number of each.
QStringList readBack(const QString &path, const QString &tableName)
{
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    if (!database)
        return {error};
    const SourceTable *table = database->table(tableName);
    QStringList rows;
    for (qint64 slot = 0; slot < table->slotCount(); ++slot) {
        if (table->isLive(slot))
            rows << table->value(slot, 0).toString() + QLatin1Char('/') +
                        table->value(slot, 1).toString();
    }
    return rows;
}

} // namespace

class tst_frmDblistRecords : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    // Makes the file a favourite and shows its records, every one counted.
    void show(frmDblist &window, const QString &path);
    QModelIndex cell(frmDblist &window, int dataRow, int column)
    {
        return window.records()->index(dataRow, column);
    }
    void moveTo(frmDblist &window, int dataRow)
    {
        child<KeyedGrid>(window, "grdData")->setCurrentIndex(cell(window, dataRow, 0));
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void typePasteAddDelete_data();
    void typePasteAddDelete();
    void badValueKeepsTheRowAsTyped();
    void cellCommandsInEditModeOnly();
    void cutAndCopyAsASpreadsheetTakesThem();
    void deleteAsks();
    void accessSaysReadOnlyOnce();
    void paradoxSaysWhichRuleBlocks_data();
    void paradoxSaysWhichRuleBlocks();
    void refreshAndListEndEditing();
};

void tst_frmDblistRecords::show(frmDblist &window, const QString &path)
{
    QVERIFY(window.AddFavourite(path));
    window.CmdNext_Click();
    window.finishCounting();
}

void tst_frmDblistRecords::typePasteAddDelete_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("dBase") << "dBase";
    QTest::newRow("FoxPro") << "FoxPro";
    QTest::newRow("text") << "CSV";
    QTest::newRow("Paradox") << "Paradox";
}

void tst_frmDblistRecords::typePasteAddDelete()
{
    QFETCH(QString, format);
    const Table table = makeTable(format, m_env->scratch());
    QVERIFY(!table.path.isEmpty());
    const QByteArray original = ReadBytes(table.path);
    frmDblist window;
    show(window, table.path);
    KeyedGridModel *grid = window.records();
    QCOMPARE(grid->dataRows(), 2);
    QLabel *mode = child<QLabel>(window, "LblMode");
    QCOMPARE(mode->text(), QStringLiteral("View Mode"));
    QVERIFY(!(grid->flags(cell(window, 1, 0)) & Qt::ItemIsEditable));

    trigger(window, "ID_Edit");
    QCOMPARE(mode->text(), QStringLiteral("Edit Mode"));
    QVERIFY(m_env->platform().sounds.last().endsWith(QLatin1String("Edit.wav")));
    // Typed into Bob's record: written when the row is left.
    moveTo(window, 1);
    QVERIFY(grid->setData(cell(window, 1, 0), QStringLiteral("Robert")));
    QCOMPARE(ReadBytes(table.path), original);
    moveTo(window, 0);
    QCOMPARE(readBack(table.path, table.name), (QStringList{"Ann/30", "Robert/41"}));
    QCOMPARE(ReadBytes(table.path + QStringLiteral(".bak")), original);

    // Three rows from a spreadsheet onto two records: the third becomes a new record.
    QGuiApplication::clipboard()->setText(QStringLiteral("Xena\t7\r\nYuri\t8\r\nZack\t9\r\n"));
    trigger(window, "Paste");
    QCOMPARE(readBack(table.path, table.name), (QStringList{"Xena/7", "Yuri/8", "Zack/9"}));
    QCOMPARE(grid->dataRows(), 3);
    QCOMPARE(grid->data(cell(window, 2, 0)).toString(), QStringLiteral("Zack"));

    trigger(window, "ID_Add");
    QCOMPARE(mode->text(), QStringLiteral("Add Mode"));
    QVERIFY(m_env->platform().sounds.last().endsWith(QLatin1String("Add.wav")));
    QCOMPARE(grid->dataRows(), 4);
    KeyedGrid *view = child<KeyedGrid>(window, "grdData");
    QCOMPARE(view->currentIndex().row(), 3);
    QCOMPARE(child<QLabel>(window, "lblPosition")->text(), QStringLiteral("4/4"));
    QVERIFY(grid->setData(cell(window, 3, 0), QStringLiteral("Wes")));
    QVERIFY(grid->setData(cell(window, 3, 1), QStringLiteral("12")));
    child<QPushButton>(window, "CmdRecSave")->click();
    QVERIFY(m_env->platform().sounds.last().endsWith(QLatin1String("Save.wav")));
    QCOMPARE(readBack(table.path, table.name),
             (QStringList{"Xena/7", "Yuri/8", "Zack/9", "Wes/12"}));

    m_env->dialogs().answerQuestion(true);
    trigger(window, "ID_Delete");
    QCOMPARE(m_env->dialogs().shown().last().text,
             QStringLiteral(" You want to delete this Record"));
    QVERIFY(m_env->platform().sounds.last().endsWith(QLatin1String("Del.wav")));
    QCOMPARE(readBack(table.path, table.name), (QStringList{"Xena/7", "Yuri/8", "Zack/9"}));
    QCOMPARE(grid->dataRows(), 3);
    QCOMPARE(child<QLabel>(window, "LblRcount")->text(), QStringLiteral("Records: 3"));
    // Every change of this opening keeps the copy made before the first.
    QCOMPARE(ReadBytes(table.path + QStringLiteral(".bak")), original);
    const QByteArray bytes = ReadBytes(table.path);
    if (format == QLatin1String("CSV"))
        QCOMPARE(bytes, QByteArray("NAME,AGE,BORN\r\nXena,7,1994-03-12\r\nYuri,8,\r\nZack,9,\r\n"));
    if (format == QLatin1String("dBase") || format == QLatin1String("FoxPro")) {
        // The deleted record stays in the file, flagged.
        const DbfLayout layout(bytes);
        QCOMPARE(layout.records, 4u);
        QCOMPARE(layout.flag(bytes, 3), '*');
        QCOMPARE(layout.field(bytes, 0, "NAME"), QByteArray("Xena        "));
        QCOMPARE(layout.field(bytes, 0, "BORN"), QByteArray("19940312"));
        QCOMPARE(layout.field(bytes, 2, "NAME"), QByteArray("Zack        "));
    }
    QVERIFY2(m_env->dialogs().messages().isEmpty(),
             qPrintable(m_env->dialogs().messages().join('\n')));
    Screenshot(window, "dblist-records-" + format.toLower());
}

void tst_frmDblistRecords::badValueKeepsTheRowAsTyped()
{
    const Table table = makeTable(QStringLiteral("dBase"), m_env->scratch());
    const QByteArray original = ReadBytes(table.path);
    frmDblist window;
    show(window, table.path);
    trigger(window, "ID_Edit");
    KeyedGridModel *grid = window.records();
    KeyedGrid *view = child<KeyedGrid>(window, "grdData");
    const int born = grid->column(QStringLiteral("BORN"));
    moveTo(window, 1);
    QVERIFY(grid->setData(cell(window, 1, 0), QStringLiteral("Bobby")));
    QVERIFY(grid->setData(cell(window, 1, born), QStringLiteral("30/02/1990")));
    moveTo(window, 0);
    QCOMPARE(m_env->dialogs().messages(),
             QStringList{"The field BORN takes a date such as 12/31/2024 or 2024-12-31; "
                         "\"30/02/1990\" is not one"});
    // Back on the refused cell, the row as typed, nothing written.
    QCOMPARE(view->currentIndex(), cell(window, 1, born));
    QCOMPARE(grid->data(cell(window, 1, born)).toString(), QStringLiteral("30/02/1990"));
    QCOMPARE(grid->data(cell(window, 1, 0)).toString(), QStringLiteral("Bobby"));
    QCOMPARE(child<QLabel>(window, "LblMode")->text(), QStringLiteral("Edit Mode"));
    QCOMPARE(ReadBytes(table.path), original);
    QVERIFY(!QFile::exists(table.path + QStringLiteral(".bak")));
    // Put right, the row is written whole.
    QVERIFY(grid->setData(cell(window, 1, born), QStringLiteral("02/28/1990")));
    moveTo(window, 0);
    QCOMPARE(m_env->dialogs().messages().size(), 1);
    QCOMPARE(readBack(table.path, table.name), (QStringList{"Ann/30", "Bobby/41"}));
    QCOMPARE(grid->data(cell(window, 1, born)).toString(), QStringLiteral("1990-02-28"));
}

void tst_frmDblistRecords::cellCommandsInEditModeOnly()
{
    const Table table = makeTable(QStringLiteral("dBase"), m_env->scratch());
    const QByteArray original = ReadBytes(table.path);
    frmDblist window;
    show(window, table.path);
    for (const char *id : {"Cut", "Copy", "Paste"})
        QVERIFY(!child<QAction>(window, id)->isVisible());
    QVERIFY(!toolShown(window, "CmdRecSave"));
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    moveTo(window, 0);
    for (const char *id : {"Cut", "Copy", "Paste"})
        trigger(window, id);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
    QCOMPARE(ReadBytes(table.path), original);
    trigger(window, "ID_Add");
    for (const char *id : {"Cut", "Copy", "Paste"})
        QVERIFY(!child<QAction>(window, id)->isVisible());
    QVERIFY(toolShown(window, "CmdRecSave"));
    trigger(window, "ID_Edit");
    for (const char *id : {"Cut", "Copy", "Paste"})
        QVERIFY(child<QAction>(window, id)->isVisible());
    QVERIFY(toolShown(window, "CmdRecCancel"));
}

void tst_frmDblistRecords::cutAndCopyAsASpreadsheetTakesThem()
{
    const Table table = makeTable(QStringLiteral("CSV"), m_env->scratch());
    frmDblist window;
    show(window, table.path);
    trigger(window, "ID_Edit");
    KeyedGrid *view = child<KeyedGrid>(window, "grdData");
    view->selectionModel()->select(QItemSelection(cell(window, 0, 0), cell(window, 1, 2)),
                                   QItemSelectionModel::ClearAndSelect);
    trigger(window, "Copy");
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("Ann\t30\t1994-03-12\nBob\t41\t\n"));
    // One value pasted onto a range fills every cell of it.
    QGuiApplication::clipboard()->setText(QStringLiteral("same\n"));
    view->selectionModel()->select(QItemSelection(cell(window, 0, 0), cell(window, 1, 0)),
                                   QItemSelectionModel::ClearAndSelect);
    trigger(window, "Paste");
    QCOMPARE(ReadBytes(table.path),
             QByteArray("NAME,AGE,BORN\r\nsame,30,1994-03-12\r\nsame,41,\r\n"));
    view->selectionModel()->select(QItemSelection(cell(window, 0, 1), cell(window, 0, 2)),
                                   QItemSelectionModel::ClearAndSelect);
    trigger(window, "Cut");
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("30\t1994-03-12\n"));
    QCOMPARE(ReadBytes(table.path), QByteArray("NAME,AGE,BORN\r\nsame,,\r\nsame,41,\r\n"));
}

void tst_frmDblistRecords::deleteAsks()
{
    const Table table = makeTable(QStringLiteral("dBase"), m_env->scratch());
    const QByteArray original = ReadBytes(table.path);
    frmDblist window;
    show(window, table.path);
    moveTo(window, 1);
    m_env->dialogs().answerQuestion(false);
    trigger(window, "ID_Delete");
    QCOMPARE(ReadBytes(table.path), original);
    QCOMPARE(window.records()->dataRows(), 2);
    m_env->dialogs().answerQuestion(true);
    trigger(window, "ID_Delete");
    QCOMPARE(readBack(table.path, table.name), QStringList{"Ann/30"});
    QCOMPARE(window.records()->dataRows(), 1);
    // The row left is current.
    QCOMPARE(child<KeyedGrid>(window, "grdData")->currentIndex().row(), 0);
}

void tst_frmDblistRecords::accessSaysReadOnlyOnce()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString path = CopySample(QStringLiteral("mdb/nwind.mdb"), m_env->scratch());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray original = ReadBytes(path);
    frmDblist window;
    show(window, path);
    trigger(window, "ID_Edit");
    trigger(window, "ID_Add");
    trigger(window, "ID_Edit");
    QCOMPARE(m_env->dialogs().messages(),
             QStringList{"nwind.mdb is an Access database, which this program can read but "
                         "not change"});
    QCOMPARE(child<QLabel>(window, "LblMode")->text(), QStringLiteral("View Mode"));
    QVERIFY(!(window.records()->flags(cell(window, 0, 1)) & Qt::ItemIsEditable));
    moveTo(window, 0);
    trigger(window, "ID_Delete");
    QCOMPARE(m_env->dialogs().messages().size(), 1);
    QCOMPARE(ReadBytes(path), original);
    QVERIFY(m_env->platform().sounds.filter(QStringLiteral("Edit.wav")).isEmpty());
}

void tst_frmDblistRecords::paradoxSaysWhichRuleBlocks_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("rule");
    QTest::newRow("keyed table: no new records") << "ORDERS.DB"
                                                 << "ID_Add"
                                                 << "pxlib does not keep its primary index";
    QTest::newRow("BLOB fields: no changes") << "CUSTOMER.DB"
                                             << "ID_Edit"
                                             << "pxlib cannot write its field";
}

void tst_frmDblistRecords::paradoxSaysWhichRuleBlocks()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(QString, file);
    QFETCH(QString, tool);
    QFETCH(QString, rule);
    const QString path = CopySample(QStringLiteral("paradox/") + file, m_env->scratch());
    for (const QString &name : QDir(m_env->scratch()).entryList(QDir::Files))
        QFile::setPermissions(m_env->scratch() + '/' + name, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray original = ReadBytes(path);
    frmDblist window;
    show(window, path);
    trigger(window, tool);
    QCOMPARE(m_env->dialogs().messages().size(), 1);
    QVERIFY2(m_env->dialogs().messages().first().contains(rule),
             qPrintable(m_env->dialogs().messages().first()));
    QCOMPARE(ReadBytes(path), original);
    QVERIFY(!QFile::exists(path + QStringLiteral(".bak")));
}

void tst_frmDblistRecords::refreshAndListEndEditing()
{
    const Table table = makeTable(QStringLiteral("dBase"), m_env->scratch());
    frmDblist window;
    show(window, table.path);
    trigger(window, "ID_Edit");
    KeyedGridModel *grid = window.records();
    QVERIFY(grid->setData(cell(window, 0, 1), QStringLiteral("many")));
    // Refresh with a value it cannot write: told, and still editing what was typed.
    child<QPushButton>(window, "cmdReffresh")->click();
    QCOMPARE(m_env->dialogs().messages().size(), 1);
    QCOMPARE(child<QLabel>(window, "LblMode")->text(), QStringLiteral("Edit Mode"));
    QCOMPARE(grid->data(cell(window, 0, 1)).toString(), QStringLiteral("many"));
    // Nor does the window close on it.
    QVERIFY(!window.close());
    QCOMPARE(m_env->dialogs().messages().size(), 2);
    // Cancel forgets it.
    child<QPushButton>(window, "CmdRecCancel")->click();
    QCOMPARE(grid->data(cell(window, 0, 1)).toString(), QStringLiteral("30"));
    QVERIFY(m_env->platform().sounds.last().endsWith(QLatin1String("Cancel.wav")));
    QVERIFY(grid->setData(cell(window, 0, 1), QStringLiteral("31")));
    trigger(window, "ID_List");
    QCOMPARE(child<QLabel>(window, "LblMode")->text(), QStringLiteral("View Mode"));
    QCOMPARE(readBack(table.path, table.name), (QStringList{"Ann/31", "Bob/41"}));
    QVERIFY(!(grid->flags(cell(window, 0, 1)) & Qt::ItemIsEditable));
}

QTEST_MAIN(tst_frmDblistRecords)
#include "tst_frmDblistRecords.moc"
