// The Database utility as the main window offers it: from the tool key, the menu and the list
// bar, and handed a file by another window.

#include "DbTestFiles.h"
#include "KeyedGridModel.h"
#include "MDIForm1.h"
#include "TestEnvironment.h"
#include "ToolRegistry.h"
#include "frmDblist.h"

#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace
{

QList<frmDblist *> openWindows(const MDIForm1 &main)
{
    QList<frmDblist *> windows;
    for (QMdiSubWindow *sub : main.mdiArea()->subWindowList()) {
        if (auto *window = qobject_cast<frmDblist *>(sub->widget()))
            windows << window;
    }
    return windows;
}

} // namespace

class tst_DbUtilityTool : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void opensFromTheToolKey();
    void opensFromTheMenuAndTheListBar();
    void handedAFileByAnotherWindow();
};

void tst_DbUtilityTool::opensFromTheToolKey()
{
    {
        Store store(Store::Kind::Data);
        QVERIFY(store.exec(QStringLiteral("update nv_setup set key='dbutility'")));
    }
    MDIForm1 main;
    main.show();
    const QList<frmDblist *> windows = openWindows(main);
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.first()->windowTitle(), QStringLiteral("DBViewer"));
    QVERIFY(!windows.first()->isOuter());
}

void tst_DbUtilityTool::opensFromTheMenuAndTheListBar()
{
    QCOMPARE(ToolRegistry::findByCommand(QStringLiteral("Database")),
             ToolRegistry::findByKey(QStringLiteral("dbutility")));
    MDIForm1 main;
    main.show();
    QVERIFY(main.runTool(QStringLiteral("Database")));
    QCOMPARE(openWindows(main).size(), 1);
    auto *page = main.findChild<QListWidget *>(QStringLiteral("lBarGroup_Utilities"));
    QVERIFY(page);
    const QList<QListWidgetItem *> items =
        page->findItems(QStringLiteral("Database Utility"), Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    Q_EMIT page->itemClicked(items.first());
    // The open window again, not a second one.
    QCOMPARE(openWindows(main).size(), 1);
}

void tst_DbUtilityTool::handedAFileByAnotherWindow()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString path = CopySample(QStringLiteral("paradox/ORDERS.DB"), m_env->scratch());
    MDIForm1 main;
    main.show();
    QWidget *opened = main.openTool(QStringLiteral("dbutility"), {path, true});
    auto *window = qobject_cast<frmDblist *>(opened);
    QVERIFY(window);
    QVERIFY(window->isOuter());
    QCOMPARE(window->property("Tag").toString(), QStringLiteral("Outer"));
    window->finishCounting();
    QCOMPARE(window->records()->dataRows(), 224);
    Store store(Store::Kind::Data);
    QCOMPARE(store.value(QStringLiteral("select dbtype from favdbname")).toString(),
             QStringLiteral("Paradox 5.x;"));
    // Handed the same file again: still one favourite, the same window.
    QCOMPARE(main.openTool(QStringLiteral("dbutility"), {path, true}), opened);
    QCOMPARE(store.value(QStringLiteral("select count(*) from favdbname")).toInt(), 1);
    QVERIFY(m_env->dialogs().messages().isEmpty());
}

QTEST_MAIN(tst_DbUtilityTool)
#include "tst_DbUtilityTool.moc"
