#include "HelpButton.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "ToolStrip.h"
#include "WindowRoutines.h"

#include <QAction>
#include <QEvent>
#include <QScreen>
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
    void windowPlacement();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestCommonWidgets::helpTooltipIsReadAfreshEachHover()
{
    HelpButton button(QStringLiteral("UTL0035"));
    QCOMPARE(button.objectName(), QStringLiteral("CmdHelp"));
    QEvent hover(QEvent::Enter);
    QApplication::sendEvent(&button, &hover);
    QVERIFY(button.toolTip().startsWith(QLatin1String("File organizer")));

    Store store(Store::Kind::Data);
    QVERIFY(store.exec(QStringLiteral("update nv_tooltip set Tooltip='Changed' where Code='UTL0035'")));
    QApplication::sendEvent(&button, &hover);
    QCOMPARE(button.toolTip(), QStringLiteral("Changed"));

    // A missing row leaves the tooltip as it was.
    QVERIFY(store.exec(QStringLiteral("delete from nv_tooltip where Code='UTL0035'")));
    QApplication::sendEvent(&button, &hover);
    QCOMPARE(button.toolTip(), QStringLiteral("Changed"));

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

void TestCommonWidgets::windowPlacement()
{
    QWidget window;
    window.resize(301, 201);
    CenterOnScreen(&window);
    const QRect screen = window.screen()->geometry();
    QCOMPARE(window.x(), screen.left() + (screen.width() - 301) / 2);
    QCOMPARE(window.y(), screen.top() + (screen.height() - 201) / 2);

    QWidget source, target;
    source.setGeometry(10, 20, 130, 40);
    CopyPlacement(&target, &source);
    QCOMPARE(target.geometry(), QRect(10, 20, 130, 40));
}

QTEST_MAIN(TestCommonWidgets)
#include "tst_CommonWidgets.moc"
