#include "AppFolders.h"
#include "AppState.h"
#include "MDIForm1.h"
#include "Store.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <sqlite3.h>

namespace {

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

QList<int> openTools(const MDIForm1 &window)
{
    QList<int> tools;
    for (QMdiSubWindow *sub : window.mdiArea()->subWindowList())
        tools << sub->widget()->property("nuvelaTool").toInt();
    return tools;
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
    void init() { m_env = std::make_unique<TestEnvironment>(); }
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

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestMDIForm1::toolKeyDispatch_data()
{
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<QList<int>>("tools");
    QTest::newRow("file organizer") << "key='filemanager'" << QList<int>{int(Tool::FileOrganizer)};
    QTest::newRow("database utility") << "key='dbutility'" << QList<int>{int(Tool::DatabaseUtility)};
    QTest::newRow("notebook") << "key='notebook'" << QList<int>{int(Tool::Notebook)};
    QTest::newRow("conversions") << "key='form1'" << QList<int>{int(Tool::Conversions)};
    QTest::newRow("case matters") << "key='FileManager'" << QList<int>{};
    QTest::newRow("sibling key ignored") << "key='fomwinfo'" << QList<int>{};
    QTest::newRow("unknown key") << "key='nothing'" << QList<int>{};
    QTest::newRow("empty key") << "key=''" << QList<int>{};
    QTest::newRow("null key like empty") << "key=NULL" << QList<int>{};
}

void TestMDIForm1::toolKeyDispatch()
{
    QFETCH(QString, assignment);
    QFETCH(QList<int>, tools);
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
    QCOMPARE(openTools(window), QList<int>{int(Tool::Conversions)});
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
        QCOMPARE(openTools(window), QList<int>{int(Tool::Notebook)});
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
        QVERIFY(m_env->platform().started.first().first().endsWith(QLatin1String("Nuvela Contacts.exe")));
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
    QCOMPARE(openTools(window), (QList<int>{int(Tool::FileOrganizer), int(Tool::Conversions),
                                            int(Tool::QuickConversions)}));
    QVERIFY(!window.runTool(QStringLiteral("ID_Phonebook")));

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

QTEST_MAIN(TestMDIForm1)
#include "tst_MDIForm1.moc"
