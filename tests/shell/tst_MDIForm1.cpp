#include "AppFolders.h"
#include "AppState.h"
#include "MDIForm1.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "ToolHost.h"
#include "ToolRegistry.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolBar>

#include <sqlite3.h>

namespace
{

void setSetup(const QString &assignments)
{
    Store store(Store::Kind::Data);
    QVERIFY(store.exec(QStringLiteral("update nv_setup set ") + assignments));
}

QString storedKey()
{
    Store store(Store::Kind::Data);
    return store.value(QStringLiteral("select key from nv_setup")).toString();
}

QStringList openTools(const MDIForm1 &window)
{
    QStringList tools;
    for (QMdiSubWindow *sub : window.mdiArea()->subWindowList())
        tools << sub->widget()->property("nuvelaTool").toString();
    return tools;
}

// Tools as the tool libraries would register them; this test links none of them, so the keys
// they do not claim ("dbutility", "notebook") open placeholders.
void registerFakeTools(QList<ToolRequest> *handedOver)
{
    auto window = [] { return new QWidget; };
    ToolRegistry::add({.name = QStringLiteral("filemanager"),
                       .caption = QStringLiteral("File Organizer"),
                       .icon = QStringLiteral("system-file-manager"),
                       .keys = {QStringLiteral("filemanager")},
                       .commands = {{QStringLiteral("ID_File"), QStringLiteral("&Files")}},
                       .section = 1,
                       .create = window,
                       .handOver = [handedOver](QWidget *, const ToolRequest &request) {
                           handedOver->append(request);
                       }});
    ToolRegistry::add({.name = QStringLiteral("form1"),
                       .caption = QStringLiteral("Conversions"),
                       .icon = QStringLiteral("accessories-calculator"),
                       .keys = {QStringLiteral("form1")},
                       .commands = {{QStringLiteral("ID_Conversion"), QStringLiteral("&Units")},
                                    {QStringLiteral("AllUnits"), QStringLiteral("&All")},
                                    {QStringLiteral("AreaVolumeWeight"), QStringLiteral("A&rea")}},
                       .section = 2,
                       .create = window,
                       .handOver = {}});
    ToolRegistry::add({.name = QStringLiteral("quickconversions"),
                       .caption = QStringLiteral("Quick Conversions"),
                       .icon = QStringLiteral("accessories-calculator"),
                       .keys = {},
                       .commands = {{QStringLiteral("QuickConversions"), QStringLiteral("&Quick")}},
                       .section = 2,
                       .create = window,
                       .handOver = {}});
    // Opened by other windows only: no command, no key.
    ToolRegistry::add({.name = QStringLiteral("viewer"),
                       .caption = QStringLiteral("Viewer"),
                       .icon = QStringLiteral("image-x-generic"),
                       .keys = {},
                       .commands = {},
                       .section = 3,
                       .create = window,
                       .handOver = {}});
}

void makeProgramFile(const TestEnvironment &env, const QString &name)
{
    QFile file(env.programFolder() + '/' + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class TestMDIForm1 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { registerFakeTools(&m_handedOver); }
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_handedOver.clear();
    }
    void cleanup() { m_env.reset(); }

    void toolKeyDispatch_data();
    void toolKeyDispatch();
    void secondActivationOpensNothing();
    void dateLabelFollowsNationalFlag();
    void businessHidesOneElement();
    void brokenStoreStillStarts();
    void lockedStoreStillStarts();
    void listBarStartsInstalledSiblingOnly();
    void menuCommands();
    void registeredToolOpensFromKeyMenuAndListBar();
    void toolsOpenEachOtherWithARequest();

private:
    std::unique_ptr<TestEnvironment> m_env;
    QList<ToolRequest> m_handedOver;
};

void TestMDIForm1::toolKeyDispatch_data()
{
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<QStringList>("tools");
    QTest::newRow("file organizer") << "key='filemanager'" << QStringList{"filemanager"};
    QTest::newRow("database utility, not built") << "key='dbutility'" << QStringList{"dbutility"};
    QTest::newRow("notebook, not built") << "key='notebook'" << QStringList{"notebook"};
    QTest::newRow("conversions") << "key='form1'" << QStringList{"form1"};
    QTest::newRow("case matters") << "key='FileManager'" << QStringList{};
    QTest::newRow("sibling key ignored") << "key='fomwinfo'" << QStringList{};
    QTest::newRow("unknown key") << "key='nothing'" << QStringList{};
    QTest::newRow("a tool's name is no key") << "key='quickconversions'" << QStringList{};
    QTest::newRow("empty key") << "key=''" << QStringList{};
    QTest::newRow("null key like empty") << "key=NULL" << QStringList{};
}

void TestMDIForm1::toolKeyDispatch()
{
    QFETCH(QString, assignment);
    QFETCH(QStringList, tools);
    setSetup(assignment);
    MDIForm1 window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Nuvela Utilities"));
    // Consumed by the load step, before any window shows, whatever it named.
    QCOMPARE(storedKey(), QString());
    QVERIFY(window.mdiArea()->subWindowList().isEmpty());
    window.show();
    QCOMPARE(openTools(window), tools);
    QCOMPARE(storedKey(), QString());
}

void TestMDIForm1::secondActivationOpensNothing()
{
    setSetup(QStringLiteral("key='form1'"));
    MDIForm1 window;
    window.show();
    window.MDIForm_Activate();
    window.MDIForm_Activate();
    QCOMPARE(openTools(window), QStringList{"form1"});
}

void TestMDIForm1::dateLabelFollowsNationalFlag()
{
    const QDate today = QDate::currentDate();
    setSetup(QStringLiteral("national=true"));
    {
        MDIForm1 window;
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblDate"))->text(),
                 QLocale::c().toString(today, QStringLiteral("dd MMM-yyyy")));
        QVERIFY(AppState::instance().national);
    }
    setSetup(QStringLiteral("national=false"));
    MDIForm1 window;
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblDate"))->text(),
             QLocale::c().toString(today, QStringLiteral("MMM dd-yyyy")));
    QVERIFY(!AppState::instance().national);
}

void TestMDIForm1::businessHidesOneElement()
{
    auto visibleActions = [](const MDIForm1 &w) {
        QStringList names;
        for (QAction *a : w.findChildren<QAction *>())
            if (a->isVisible() && !a->objectName().isEmpty())
                names << a->objectName();
        names.sort();
        return names;
    };
    QStringList ordinary;
    {
        MDIForm1 window;
        ordinary = visibleActions(window);
    }
    setSetup(QStringLiteral("Business=true"));
    MDIForm1 window;
    QStringList business = visibleActions(window);
    QCOMPARE(business.size(), ordinary.size() - 1);
    ordinary.removeOne(QStringLiteral("NuvelaSuiteProductDetails"));
    QCOMPARE(business, ordinary);
}

void TestMDIForm1::brokenStoreStillStarts()
{
    QFile file(AppFolders::dataStorePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a database");
    file.close();
    MDIForm1 window;
    window.show();
    QVERIFY(window.mdiArea()->subWindowList().isEmpty());
    QVERIFY(!AppState::instance().national);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblDate"))->text(),
             QLocale::c().toString(QDate::currentDate(), QStringLiteral("MMM dd-yyyy")));
    QVERIFY(m_env->dialogs().shown().isEmpty()); // start-up never stops with a message
}

// A sibling program holds the store for writing during our whole start.
void TestMDIForm1::lockedStoreStillStarts()
{
    setSetup(QStringLiteral("key='notebook'"));
    sqlite3 *sibling = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(AppFolders::dataStorePath()).constData(), &sibling),
             SQLITE_OK);
    QCOMPARE(sqlite3_exec(sibling, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    {
        MDIForm1 window;
        window.show();
        // The key was still read (readers are not blocked) and dispatched once.
        QCOMPARE(openTools(window), QStringList{"notebook"});
    }
    sqlite3_exec(sibling, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(sibling);
}

void TestMDIForm1::listBarStartsInstalledSiblingOnly()
{
    setSetup(QStringLiteral("key='unchanged'"));
    {
        MDIForm1 window; // the load step clears the key; put it back to see a click leave it
        setSetup(QStringLiteral("key='unchanged'"));
        window.listBarClicked(QStringLiteral("abook"));
        QCOMPARE(storedKey(), QStringLiteral("unchanged"));
        QVERIFY(m_env->platform().started.isEmpty());
        QCOMPARE(m_env->platform().exits, 0);
    }
    makeProgramFile(*m_env, QStringLiteral("Nuvela Contacts.exe"));
    {
        MDIForm1 window;
        window.listBarClicked(QStringLiteral("abook"));
        QCOMPARE(storedKey(), QStringLiteral("frmselector"));
        QCOMPARE(m_env->platform().started.size(), 1);
        QVERIFY(m_env->platform().started.first().first().endsWith(
            QLatin1String("Nuvela Contacts.exe")));
        QCOMPARE(m_env->platform().exits, 1);
        // A code without a tool key hands over an empty key; unknown codes do nothing.
        window.listBarClicked(QStringLiteral("ct"));
        QCOMPARE(storedKey(), QString());
        window.listBarClicked(QStringLiteral("Ct"));
        QCOMPARE(m_env->platform().exits, 2);
    }
}

void TestMDIForm1::menuCommands()
{
    MDIForm1 window;
    window.show();
    QVERIFY(window.runTool(QStringLiteral("ID_File")));
    QVERIFY(window.runTool(QStringLiteral("AllUnits")));
    QVERIFY(window.runTool(QStringLiteral("AreaVolumeWeight"))); // the open Conversions again
    QVERIFY(window.runTool(QStringLiteral("QuickConversions")));
    QCOMPARE(openTools(window), (QStringList{"filemanager", "form1", "quickconversions"}));
    QVERIFY(!window.runTool(QStringLiteral("ID_Phonebook")));
    QVERIFY(!window.runTool(QStringLiteral("NuvelaNoteBook"))); // no notebook in this build

    // Repair reports success, also when the store file is gone.
    QFile::remove(AppFolders::dataStorePath());
    QVERIFY(window.runTool(QStringLiteral("ID_RD")));
    QCOMPARE(m_env->dialogs().messages(),
             QStringList{QStringLiteral("The database is successfully repaired.!")});

    QVERIFY(window.runTool(QStringLiteral("Help1")));
    QCOMPARE(m_env->platform().help.size(), 1);
    QVERIFY(window.runTool(QStringLiteral("NuvelaSuiteProductDetails")));
    QVERIFY(m_env->platform().opened.first().endsWith(QLatin1String("DescIndex.htm")));

    QVERIFY(window.runTool(QStringLiteral("ID_Kids"))); // not installed: nothing starts
    QVERIFY(m_env->platform().started.isEmpty());
    makeProgramFile(*m_env, QStringLiteral("Nuvela Kids.exe"));
    QVERIFY(window.runTool(QStringLiteral("ID_Kids")));
    QCOMPARE(m_env->platform().started.size(), 1);
    QCOMPARE(m_env->platform().exits, 0); // the menu leaves this program open

    QVERIFY(window.runTool(QStringLiteral("ID_Web")));
    QVERIFY(window.findChild<QWidget *>(QStringLiteral("wBro"))->isVisible());
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("trwL"))->isVisible());
    QVERIFY(window.runTool(QStringLiteral("ID_Tree")));
    QVERIFY(window.findChild<QWidget *>(QStringLiteral("trwL"))->isVisible());
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("wBro"))->isVisible());

    window.close();
    QCOMPARE(m_env->platform().exits, 1);
}

// Adding a tool touches nothing in the shell: its registration alone puts it behind its key, in
// the menu, on the tool bar and in the list bar.
void TestMDIForm1::registeredToolOpensFromKeyMenuAndListBar()
{
    ToolRegistry::add({.name = QStringLiteral("notes"),
                       .caption = QStringLiteral("Notes"),
                       .icon = QStringLiteral("accessories-text-editor"),
                       .keys = {QStringLiteral("notebook")},
                       .commands = {{QStringLiteral("NuvelaNoteBook"), QStringLiteral("&Notes")}},
                       .section = 1,
                       .create = [] { return new QWidget; },
                       .handOver = {}});
    setSetup(QStringLiteral("key='notebook'"));
    {
        MDIForm1 window;
        window.show();
        QCOMPARE(openTools(window), QStringList{"notes"});
    }
    {
        MDIForm1 window;
        window.show();
        auto *menuAction = window.findChild<QAction *>(QStringLiteral("NuvelaNoteBook"));
        QVERIFY(menuAction);
        QVERIFY(window.findChild<QToolBar *>(QStringLiteral("MainTools"))
                    ->actions()
                    .contains(menuAction));
        menuAction->trigger();
        QCOMPARE(openTools(window), QStringList{"notes"});
    }
    {
        MDIForm1 window;
        window.show();
        auto *page = window.findChild<QListWidget *>(QStringLiteral("lBarGroup_Utilities"));
        QVERIFY(page);
        const QList<QListWidgetItem *> items =
            page->findItems(QStringLiteral("Notes"), Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        // Tools without a menu command are opened by other windows only.
        QVERIFY(page->findItems(QStringLiteral("Viewer"), Qt::MatchExactly).isEmpty());
        Q_EMIT page->itemClicked(items.first());
        Q_EMIT page->itemClicked(items.first()); // the open window again, not a second one
        QCOMPARE(openTools(window), QStringList{"notes"});
    }
    ToolRegistry::remove(QStringLiteral("notes"));
}

void TestMDIForm1::toolsOpenEachOtherWithARequest()
{
    MDIForm1 window;
    window.show();
    QCOMPARE(ToolHost::instance(), static_cast<ToolHost *>(&window));
    QWidget *first = ToolHost::instance()->openTool(QStringLiteral("filemanager"),
                                                    {QStringLiteral("/tmp/a.dbf"), true});
    QWidget *again = ToolHost::instance()->openTool(QStringLiteral("filemanager"),
                                                    {QStringLiteral("/tmp/b.dbf"), false});
    QCOMPARE(first, again);
    QCOMPARE(m_handedOver.size(), 2);
    QCOMPARE(m_handedOver[0].file, QStringLiteral("/tmp/a.dbf"));
    QVERIFY(m_handedOver[0].outer);
    QCOMPARE(m_handedOver[1].file, QStringLiteral("/tmp/b.dbf"));
    QVERIFY(!m_handedOver[1].outer);
    QVERIFY(ToolHost::instance()->openTool(QStringLiteral("viewer")));
    QVERIFY(!ToolHost::instance()->openTool(QStringLiteral("missing")));
    QCOMPARE(openTools(window), (QStringList{"filemanager", "viewer"}));
}

QTEST_MAIN(TestMDIForm1)
#include "tst_MDIForm1.moc"
