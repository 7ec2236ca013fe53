// The Database utility window's look: grid lines, fonts and tool sizes kept in the settings,
// colours and colour schemes kept per favourite, fonts of single cells, file attributes, and
// the window as another window opens and closes it.

#include "DbTestFiles.h"
#include "KeyedGrid.h"
#include "RecordGridDelegate.h"
#include "RecordingToolHost.h"
#include "Screenshot.h"
#include "SqlText.h"
#include "TestEnvironment.h"
#include "ToolStrip.h"
#include "frmDblist.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

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

} // namespace

class tst_frmDblistLook : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    QString setting(const char *key) const
    {
        return m_env->platform()
            .settings.value(QStringLiteral("Nuvela Utilities/DBViewer/") + QLatin1String(key))
            .toString();
    }
    QList<qint64> storedColours(const QString &path) const
    {
        Store store(Store::Kind::Data);
        QSqlQuery query = store.query(
            QStringLiteral("select BackColor, BackColorA, ForColor from favdbname where Loc=") +
            SqlText::literal(path));
        if (!query.next())
            return {};
        return {query.value(0).toLongLong(), query.value(1).toLongLong(),
                query.value(2).toLongLong()};
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void lineStylesAndFontsKeptInSettings_data();
    void lineStylesAndFontsKeptInSettings();
    void fontPicker();
    void toolSizes();
    void coloursKeptPerFavourite();
    void schemeSavedForTheFavourite();
    void cellFontsToggleOnTheSelection();
    void attributeBoxes();
    void outerWindowKeepsTheNavigationAway_data();
    void outerWindowKeepsTheNavigationAway();
};

void tst_frmDblistLook::lineStylesAndFontsKeptInSettings_data()
{
    QTest::addColumn<QString>("tool");
    for (const QString &tool : GridLook::lineStyleTools())
        QTest::newRow(qPrintable(tool)) << tool;
}

void tst_frmDblistLook::lineStylesAndFontsKeptInSettings()
{
    QFETCH(QString, tool);
    {
        frmDblist window;
        trigger(window, tool);
        choose(child<QComboBox>(window, "Id_Font1"), QStringLiteral("Courier New"));
        choose(child<QComboBox>(window, "Id_FontSize"), QStringLiteral("14"));
        QCOMPARE(child<KeyedGrid>(window, "grdData")->font().pointSize(), 14);
        QVERIFY(child<QAction>(window, tool)->isChecked());
    }
    QCOMPARE(setting("LineStyle"), tool);
    QCOMPARE(setting("FontName"), QStringLiteral("Courier New"));
    QCOMPARE(setting("FontSize"), QStringLiteral("14"));
    frmDblist window;
    QCOMPARE(child<QComboBox>(window, "Id_Font1")->currentText(), QStringLiteral("Courier New"));
    QCOMPARE(child<QComboBox>(window, "Id_FontSize")->currentText(), QStringLiteral("14"));
    auto *delegate =
        qobject_cast<RecordGridDelegate *>(child<KeyedGrid>(window, "grdData")->itemDelegate());
    QVERIFY(delegate);
    GridLook::LineStyle style;
    QVERIFY(GridLook::lineStyleOfTool(tool, &style));
    QCOMPARE(delegate->lineStyle(), style);
    for (const QString &other : GridLook::lineStyleTools())
        QCOMPARE(child<QAction>(window, other)->isChecked(), other == tool);
}

void tst_frmDblistLook::fontPicker()
{
    frmDblist window;
    QFont font(QStringLiteral("Verdana"), 16);
    font.setBold(true);
    font.setStrikeOut(true);
    m_env->dialogs().answerFont(font);
    trigger(window, QStringLiteral("ID_Font"));
    const QFont grid = child<KeyedGrid>(window, "grdData")->font();
    QVERIFY(grid.bold() && grid.strikeOut() && !grid.italic());
    QCOMPARE(grid.pointSize(), 16);
    QCOMPARE(setting("FontBold"), QStringLiteral("true"));
    QCOMPARE(setting("FontStrikeOut"), QStringLiteral("true"));
    QCOMPARE(child<QComboBox>(window, "Id_FontSize")->currentText(), QStringLiteral("16"));
    m_env->dialogs().cancelNext();
    trigger(window, QStringLiteral("ID_Font"));
    QCOMPARE(child<KeyedGrid>(window, "grdData")->font().pointSize(), 16);
}

void tst_frmDblistLook::toolSizes()
{
    frmDblist window;
    ToolStrip *tools = child<ToolStrip>(window, "SSActiveToolBars1");
    trigger(window, QStringLiteral("Large"));
    QCOMPARE(tools->iconSize(), QSize(32, 32));
    QCOMPARE(setting("ToolSize"), QStringLiteral("Large"));
    trigger(window, QStringLiteral("VerySmall"));
    QCOMPARE(tools->iconSize(), QSize(12, 12));
    frmDblist again;
    QCOMPARE(child<ToolStrip>(again, "SSActiveToolBars1")->iconSize(), QSize(12, 12));
}

void tst_frmDblistLook::coloursKeptPerFavourite()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString first = CopySample(QStringLiteral("dbf/people.dbf"), m_env->scratch());
    const QString second = CopySample(QStringLiteral("paradox/FILMS.DB"), m_env->scratch());
    frmDblist window;
    QVERIFY(window.AddFavourite(second));
    QVERIFY(window.AddFavourite(first));
    // A cancelled picker keeps the colour.
    m_env->dialogs().cancelNext();
    child<QPushButton>(window, "CmdBackcolor")->click();
    QCOMPARE(storedColours(first).value(0), FavouritesCatalogue::DefaultBackColor);
    m_env->dialogs().answerColor(QColor(0, 255, 0));
    trigger(window, QStringLiteral("Backcolor"));
    m_env->dialogs().answerColor(QColor(0x12, 0x34, 0x56));
    child<QPushButton>(window, "CmdForeColor")->click();
    m_env->dialogs().answerColor(QColor(0xEE, 0xEE, 0xEE));
    child<QPushButton>(window, "cmdBackColorA")->click();
    QCOMPARE(storedColours(first), (QList<qint64>{0x00FF00, 0xEEEEEE, 0x563412}));
    QCOMPARE(storedColours(second).value(0), FavouritesCatalogue::DefaultBackColor);
    KeyedGrid *grid = child<KeyedGrid>(window, "grdData");
    QCOMPARE(grid->palette().color(QPalette::Base), QColor(0, 255, 0));
    QCOMPARE(grid->palette().color(QPalette::Text), QColor(0x12, 0x34, 0x56));
    QVERIFY(grid->alternatingRowColors());
    KeyedGrid *favourites = child<KeyedGrid>(window, "grdFavData");
    favourites->setCurrentGridRow(1);
    QCOMPARE(grid->palette().color(QPalette::Base), window.palette().color(QPalette::Base));
    QVERIFY(!grid->alternatingRowColors());
    favourites->setCurrentGridRow(2);
    QCOMPARE(grid->palette().color(QPalette::AlternateBase), QColor(0xEE, 0xEE, 0xEE));
}

void tst_frmDblistLook::schemeSavedForTheFavourite()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString path = CopySample(QStringLiteral("dbf/people.dbf"), m_env->scratch());
    frmDblist window;
    QVERIFY(window.AddFavourite(path));
    trigger(window, QStringLiteral("ColorScheme"));
    QFrame *panel = child<QFrame>(window, "frmColor");
    QVERIFY(!panel->isHidden());
    choose(child<QComboBox>(window, "cboScheme2"), QStringLiteral("Ocean"));
    QVERIFY(child<QLabel>(window, "lblPreview")->text().contains(QLatin1String("#e3f2fd")));
    QCOMPARE(child<QComboBox>(window, "cboScheme1")->currentText(), QStringLiteral("Ocean"));
    Screenshot(window, "dblist-schemes");
    // Nothing is kept before the colours are applied.
    QCOMPARE(storedColours(path).value(0), FavouritesCatalogue::DefaultBackColor);
    child<QPushButton>(window, "CmdColorSave")->click();
    QCOMPARE(storedColours(path), (QList<qint64>{16777215, 16642787, 4531467}));
    QVERIFY(panel->isHidden());
    QVERIFY(m_env->platform().sounds.last().endsWith(QLatin1String("Save.wav")));
    QCOMPARE(child<KeyedGrid>(window, "grdData")->palette().color(QPalette::AlternateBase),
             QColor(0xE3, 0xF2, 0xFD));
}

void tst_frmDblistLook::cellFontsToggleOnTheSelection()
{
    NUVELA_REQUIRE_SAMPLES();
    frmDblist window;
    window.handOver(CopySample(QStringLiteral("dbf/dbase_8b.dbf"), m_env->scratch()), true);
    KeyedGrid *grid = child<KeyedGrid>(window, "grdData");
    auto *delegate = qobject_cast<RecordGridDelegate *>(grid->itemDelegate());
    const QModelIndex a = grid->model()->index(0, 0);
    const QModelIndex b = grid->model()->index(1, 1);
    grid->selectionModel()->select(QItemSelection(a, b), QItemSelectionModel::ClearAndSelect);
    trigger(window, QStringLiteral("Bold"));
    trigger(window, QStringLiteral("Underline"));
    QCOMPARE(delegate->fontFlags(a), RecordGridDelegate::Bold | RecordGridDelegate::Underline);
    QCOMPARE(delegate->fontFlags(b), RecordGridDelegate::Bold | RecordGridDelegate::Underline);
    QCOMPARE(delegate->fontFlags(grid->model()->index(2, 0)), 0);
    // All of them bold: the next toggle takes it away from all.
    grid->selectionModel()->select(QItemSelection(a, grid->model()->index(0, 1)),
                                   QItemSelectionModel::ClearAndSelect);
    trigger(window, QStringLiteral("Bold"));
    QCOMPARE(delegate->fontFlags(a), int(RecordGridDelegate::Underline));
    QCOMPARE(delegate->fontFlags(b), RecordGridDelegate::Bold | RecordGridDelegate::Underline);
    // A new record source starts plain.
    child<QPushButton>(window, "cmdReffresh")->click();
    QCOMPARE(delegate->fontFlags(b), 0);
}

void tst_frmDblistLook::attributeBoxes()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString path = CopySample(QStringLiteral("dbf/people.dbf"), m_env->scratch());
    frmDblist window;
    QVERIFY(window.AddFavourite(path));
    QCheckBox *archive = child<QCheckBox>(window, "chkAttrArchive");
    QCheckBox *hidden = child<QCheckBox>(window, "chkAttrHidden");
    QCheckBox *readOnly = child<QCheckBox>(window, "chkAttrReadolny");
    QCheckBox *system = child<QCheckBox>(window, "chkAttrSystem");
    QVERIFY(archive->isChecked());
    hidden->click();
    QVERIFY(hidden->isChecked() && !archive->isChecked());
    QVERIFY(ReadBytes(m_env->scratch() + QStringLiteral("/.hidden")).contains("people.dbf"));
    readOnly->click();
    QVERIFY(readOnly->isChecked() && !hidden->isChecked());
    QVERIFY(!(QFile::permissions(path) & QFile::WriteOwner));
    QVERIFY(!QFileInfo::exists(m_env->scratch() + QStringLiteral("/.hidden")));
    readOnly->click();
    QVERIFY(QFile::permissions(path) & QFile::WriteOwner);
    system->click();
    QCOMPARE(m_env->dialogs().messages(),
             QStringList{"The selected function is not available on this system"});
    QVERIFY(!system->isChecked());
    QVERIFY(archive->isChecked());
}

void tst_frmDblistLook::outerWindowKeepsTheNavigationAway_data()
{
    QTest::addColumn<bool>("outer");
    QTest::newRow("opened by the File organizer") << true;
    QTest::newRow("opened from the navigation") << false;
}

void tst_frmDblistLook::outerWindowKeepsTheNavigationAway()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(bool, outer);
    RecordingToolHost host;
    const QString path = CopySample(QStringLiteral("paradox/CUSTOMER.DB"), m_env->scratch());
    auto *window = new frmDblist;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->handOver(outer ? path : QString(), outer);
    QCOMPARE(window->isOuter(), outer);
    QCOMPARE(window->property("Tag").toString(), outer ? QStringLiteral("Outer") : QString());
    if (outer) {
        QCOMPARE(window->records()->dataRows(), 20);
        QCOMPARE(child<QLabel>(*window, "lblTblName")->text(), QStringLiteral("CUSTOMER.DB"));
    }
    window->show();
    QVERIFY(window->close());
    QCOMPARE(host.navigationShown, outer ? 0 : 1);
}

QTEST_MAIN(tst_frmDblistLook)
#include "tst_frmDblistLook.moc"
