#include "HelpButton.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "ToolStrip.h"

#include <QAction>
#include <QEvent>
#include <QSignalSpy>
#include <QTest>

class TestCommonWidgets : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void helpTooltipIsReadAfreshEachHover();
    void toolStripDispatchesByIdentifier();
    void unscriptedDialogFailsTheTest();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

// The texts are cached; a change written through another handle shows on the next hover.
void TestCommonWidgets::helpTooltipIsReadAfreshEachHover()
{
    HelpButton button(QStringLiteral("UTL0035"));
    QCOMPARE(button.objectName(), QStringLiteral("CmdHelp"));
    QEvent hover(QEvent::Enter);
    QApplication::sendEvent(&button, &hover);
    QVERIFY(button.toolTip().startsWith(QLatin1String("File organizer")));

    Store store(Store::Kind::Data);
    QVERIFY(
        store.exec(QStringLiteral("update nv_tooltip set Tooltip='Changed' where Code='UTL0035'")));
    QApplication::sendEvent(&button, &hover);
    QCOMPARE(button.toolTip(), QStringLiteral("Changed"));

    // A missing row leaves the tooltip as it was.
    QVERIFY(store.exec(QStringLiteral("delete from nv_tooltip where Code='UTL0035'")));
    QApplication::sendEvent(&button, &hover);
    QCOMPARE(button.toolTip(), QStringLiteral("Changed"));

    // Codes compare without regard to case, as the store's lookups do.
    HelpButton lower(QStringLiteral("utl005"));
    QApplication::sendEvent(&lower, &hover);
    QVERIFY(!lower.toolTip().isEmpty());

    HelpButton unknown(QStringLiteral("UTL9999"));
    unknown.setToolTip(QStringLiteral("before"));
    QApplication::sendEvent(&unknown, &hover);
    QCOMPARE(unknown.toolTip(), QStringLiteral("before"));

    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(m_env->platform().help.size(), 1);
}

void TestCommonWidgets::toolStripDispatchesByIdentifier()
{
    ToolStrip strip(QStringLiteral("SSActiveToolBars1"));
    strip.addTool(QStringLiteral("ID_Copy"), QStringLiteral("Copy"), QStringLiteral("edit-copy"));
    strip.addTool(QStringLiteral("SelectAll"), QStringLiteral("Select All"));
    QSignalSpy clicked(&strip, &ToolStrip::toolClicked);
    QVERIFY(strip.trigger(QStringLiteral("SelectAll")));
    QVERIFY(!strip.trigger(QStringLiteral("ID_Missing")));
    strip.tool(QStringLiteral("ID_Copy"))->trigger();
    QCOMPARE(clicked.size(), 2);
    QCOMPARE(clicked.at(0).at(0).toString(), QStringLiteral("SelectAll"));
    QCOMPARE(clicked.at(1).at(0).toString(), QStringLiteral("ID_Copy"));
    QVERIFY(!strip.tool(QStringLiteral("ID_Copy"))->icon().isNull());
}

// The test environment itself: a dialog no test scripted must fail the test that raised it.
void TestCommonWidgets::unscriptedDialogFailsTheTest()
{
    QEXPECT_FAIL("", "an unscripted question fails the running test", Continue);
    const bool yes =
        Dialogs::instance().question(QStringLiteral("Delete?"), QString(), Dialogs::Icon::Question);
    QVERIFY(!yes); // answered No, so the code under test goes on
    QCOMPARE(m_env->dialogs().unexpected().size(), 1);
}

QTEST_MAIN(TestCommonWidgets)
#include "tst_CommonWidgets.moc"
