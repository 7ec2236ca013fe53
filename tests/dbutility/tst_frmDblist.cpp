// The Database utility window driven as a user drives it: favourites added and removed, tables
// browsed, records sorted, filtered and grouped, the grid's look and colours, file attributes.

#include "DbTestFiles.h"
#include "FileFacts.h"
#include "KeyedGrid.h"
#include "OleColor.h"
#include "RecordGridDelegate.h"
#include "RecordPager.h"
#include "SqlText.h"
#include "TestEnvironment.h"
#include "ThemeIcon.h"
#include "ToolHost.h"
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
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

namespace
{

// Stands in for the main window: counts the navigation shown again.
class NavigationHost final : public ToolHost
{
public:
    NavigationHost() { ToolHost::install(this); }
    ~NavigationHost() override { ToolHost::install(nullptr); }
    QWidget *openTool(const QString &, const ToolRequest &) override { return nullptr; }
    void setToolCaption(const QString &) override {}
    void showNavigation() override { ++shown; }
    int shown = 0;
};

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

// With NUVELA_SCREENSHOT_DIR set, saves a picture of the window for a person to look at.
void screenshot(QWidget &window, const QString &name)
{
    if (!qEnvironmentVariableIsSet("NUVELA_SCREENSHOT_DIR"))
        return;
    ThemeIcon::setUpTheme();
    window.show();
    QTest::qWait(100);
    window.grab().save(qEnvironmentVariable("NUVELA_SCREENSHOT_DIR") + '/' + name + ".png");
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

    void opensEmpty();
    void addFromTheAddPanel();
    void pickingNothingAddsNothing();
    void everySampleInTheWindow_data();
    void everySampleInTheWindow();
};

void tst_frmDblist::opensEmpty()
{
    frmDblist window;
    QCOMPARE(window.windowTitle(), QStringLiteral("DBViewer"));
    QComboBox *types = child<QComboBox>(window, "cboDbType");
    QCOMPARE(types->currentText(), QStringLiteral("Access"));
    QCOMPARE(types->itemText(1), QStringLiteral("Dbase 5.0;"));
    QCOMPARE(child<QComboBox>(window, "Id_Font1")->currentText(), QStringLiteral("MS Serif"));
    QCOMPARE(child<QComboBox>(window, "Id_FontSize")->currentText(), QStringLiteral("10"));
    QCOMPARE(child<KeyedGrid>(window, "grdFavData")->grid()->dataRows(), 0);
    QVERIFY(child<QComboBox>(window, "cboScheme2")->count() >= 5);
    screenshot(window, "dblist-empty");
}

void tst_frmDblist::addFromTheAddPanel()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString path = sample(QStringLiteral("dbf/dbase_8b.dbf"));
    frmDblist window;
    trigger(window, QStringLiteral("Add"));
    QVERIFY(!child<QFrame>(window, "frmAdd")->isHidden());
    m_env->dialogs().answerPath(path);
    child<QPushButton>(window, "cmdAdd")->click();
    QCOMPARE(m_env->dialogs().shown().last().kind, QStringLiteral("open"));
    QVERIFY(m_env->dialogs().shown().last().text.startsWith(QLatin1String("Database |*.mdb;")));
    QVERIFY(child<QFrame>(window, "frmAdd")->isHidden());
    const KeyedGridModel *favourites = child<KeyedGrid>(window, "grdFavData")->grid();
    QCOMPARE(favourites->dataRows(), 1);
    QCOMPARE(favourites->text(1, QStringLiteral("Name")), QStringLiteral("dbase_8b.dbf"));
    QVERIFY(child<KeyedGrid>(window, "grdFavData")->isColumnHidden(1));
    QVERIFY(!child<KeyedGrid>(window, "grdFavData")->isColumnHidden(0));
    QCOMPARE(child<KeyedGrid>(window, "grdFavData")->currentGridRow(), 1);
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

void tst_frmDblist::pickingNothingAddsNothing()
{
    frmDblist window;
    trigger(window, QStringLiteral("Add"));
    m_env->dialogs().cancelNext();
    child<QPushButton>(window, "cmdAdd")->click();
    QCOMPARE(child<KeyedGrid>(window, "grdFavData")->grid()->dataRows(), 0);
    QVERIFY(m_env->platform().sounds.isEmpty());
    Store store(Store::Kind::Data);
    QCOMPARE(store.value(QStringLiteral("select count(*) from favdbname")).toInt(), 0);
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
        screenshot(window, "dblist-filtered");
    const QStringList kept = column(*grid, grid->column(field));
    QVERIFY(!kept.isEmpty());
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
    QCOMPARE(grid->outlineLevel(1), 0);
    grid->setOutlineCollapsed(1, false);
    if (file == QLatin1String("mdb/nwind.mdb"))
        screenshot(window, "dblist-grouped");
    QCOMPARE(grid->outlineLevel(2), -1);
    QCOMPARE(grid->text(2, field).trimmed(), grid->textAt(1, 0));
    child<QPushButton>(window, "cmdReffresh")->click();
    window.finishCounting();
    QCOMPARE(grid->dataRows(), records);
    QCOMPARE(child<QLabel>(window, "LblMode")->text(), QStringLiteral("View Mode"));
    QVERIFY(m_env->dialogs().messages().isEmpty());
}

QTEST_MAIN(tst_frmDblist)
#include "tst_frmDblist.moc"
