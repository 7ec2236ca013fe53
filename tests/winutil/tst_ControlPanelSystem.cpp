#include "Drives.h"
#include "FakeDesktop.h"
#include "MDIForm1.h"
#include "RecordingToolHost.h"
#include "SystemInformation.h"
#include "TestEnvironment.h"
#include "ToolRegistry.h"
#include "frmControlPanel.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace
{

const QString NotAvailable = "The selected function is not available on this system";

} // namespace

// The panel's system commands: Run with its history, Shut Down, taskbar hide and show, System
// Information, and the panel opened and closed from the main window's menu.
class tst_ControlPanelSystem : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakeDesktop> m_fake;
    std::unique_ptr<RecordingToolHost> m_host;
    std::unique_ptr<frmControlPanel> m_form;

    QPushButton *button(const QString &name) const
    {
        return m_form->findChild<QPushButton *>(name);
    }
    void click(const QString &name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    void useDesktop(const QString &names, const QStringList &programs = {})
    {
        m_fake->setDesktop(names);
        m_fake->apply();
        for (const QString &program : programs)
            m_fake->addProgram(program);
    }
    QList<QStringList> started() const { return m_env->platform().started; }
    QStringList messages() const { return m_env->dialogs().messages(); }
    QStringList history() const
    {
        return m_env->platform().settings.value("Nuvela Utilities/Run/History").toStringList();
    }
    // Opens Run, types the line and presses OK (or Cancel).
    void run(const QString &line, bool ok = true)
    {
        click("cmdRun");
        RunDialog *dialog = m_form->runDialog();
        QVERIFY(dialog && dialog->isVisible());
        dialog->commandBox()->setEditText(line);
        QTest::mouseClick(dialog->findChild<QPushButton *>(ok ? "cmdOK" : "cmdCancel"),
                          Qt::LeftButton);
        QTRY_VERIFY(!m_form->runDialog());
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_fake = std::make_unique<FakeDesktop>("GNOME");
        m_fake->apply();
        Drives::install([] { return QList<Drives::Drive>{}; });
        m_host = std::make_unique<RecordingToolHost>();
        m_form = std::make_unique<frmControlPanel>();
        m_form->show();
    }
    void cleanup()
    {
        m_form.reset();
        m_host.reset();
        Drives::install({});
        QVERIFY(m_env->dialogs().unexpected().isEmpty());
        m_fake.reset();
        m_env.reset();
    }

    void runStartsWithoutAShell()
    {
        const QString tool = m_fake->addProgram("tool");
        run("tool --title 'My Notes' \"a;b\" $HOME");
        QCOMPARE(started(), QList<QStringList>({{tool, "--title", "My Notes", "a;b", "$HOME"}}));
        QCOMPARE(history(), QStringList{"tool --title 'My Notes' \"a;b\" $HOME"});
        QVERIFY(messages().isEmpty());
    }

    void runOpensFoldersAndDocuments()
    {
        const QString doc = m_env->writeFile("My Letters/to Anna.txt");
        run(QStringLiteral("\"%1\"").arg(doc));
        QCOMPARE(m_env->platform().opened, QStringList{doc});
        QVERIFY(started().isEmpty());
    }

    void runRefusesWhatItCannotDo_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown program")
            << "nosuchprogram --x"
            << "\"nosuchprogram\" was not found. Check the name, then try again.";
        QTest::newRow("open quote") << "tool \"a b"
                                    << "The command has a quotation mark that is not closed.";
        QTest::newRow("document with arguments")
            << "%1 --x"
            << "\"%1\" was not found. Check the name, then try again.";
    }
    void runRefusesWhatItCannotDo()
    {
        QFETCH(QString, line);
        QFETCH(QString, message);
        m_fake->addProgram("tool");
        const QString doc = m_env->writeFile("letter.txt");
        const auto withDoc = [&doc](QString text) { return text.replace("%1", doc); };
        run(withDoc(line));
        QCOMPARE(messages(), QStringList{withDoc(message)});
        QVERIFY(started().isEmpty());
        QVERIFY(history().isEmpty());
    }

    void runFailingStartKeepsNoHistory()
    {
        m_fake->addProgram("tool");
        m_env->platform().startSucceeds = false;
        run("tool");
        QCOMPARE(messages(), QStringList{"\"" + m_fake->bin() +
                                         "/tool\" was not found. Check the "
                                         "name, then try again."});
        QVERIFY(history().isEmpty());
    }

    void runHistoryComesBack()
    {
        m_fake->addProgram("a");
        m_env->platform().settings.insert("Nuvela Utilities/Run/History", QStringList{"b", "a"});
        click("cmdRun");
        QComboBox *box = m_form->runDialog()->commandBox();
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(0), QStringLiteral("b"));
        QCOMPARE(box->currentText(), QStringLiteral("b")); // the newest, ready to run again
        box->setEditText("a");
        QTest::mouseClick(m_form->runDialog()->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        QCOMPARE(history(), QStringList({"a", "b"}));
    }

    void runCancelled()
    {
        m_fake->addProgram("tool");
        run("tool", false);
        QVERIFY(started().isEmpty());
        QVERIFY(history().isEmpty());
    }

    void shutDown_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("command"); // empty: nothing started
        QTest::newRow("no") << "GNOME" << QStringList{"gnome-session-quit", "systemctl"} << false
                            << QStringList{};
        QTest::newRow("GNOME's prompt") << "GNOME" << QStringList{"gnome-session-quit", "systemctl"}
                                        << true << QStringList{"gnome-session-quit", "--power-off"};
        QTest::newRow("XFCE's prompt") << "XFCE" << QStringList{"xfce4-session-logout"} << true
                                       << QStringList{"xfce4-session-logout"};
        QTest::newRow("logind after our question")
            << "LXQt" << QStringList{"systemctl"} << true << QStringList{"systemctl", "poweroff"};
        QTest::newRow("nothing to shut down with")
            << "LXQt" << QStringList{} << true << QStringList{};
    }
    void shutDown()
    {
        QFETCH(QString, desktop);
        QFETCH(QStringList, programs);
        QFETCH(bool, yes);
        QFETCH(QStringList, command);
        useDesktop(desktop, programs);
        m_env->dialogs().answerQuestion(yes);
        click("cmdShutDown");
        QCOMPARE(m_env->dialogs().shown().first().kind, QStringLiteral("question"));
        if (command.isEmpty()) {
            QVERIFY(started().isEmpty());
        } else {
            command[0] = m_fake->bin() + '/' + command[0];
            QCOMPARE(started(), QList<QStringList>{command});
        }
        QCOMPARE(messages(), yes && command.isEmpty() ? QStringList{NotAvailable} : QStringList{});
    }

    void taskbarHideAndShow()
    {
        useDesktop("XFCE", {"xfconf-query"});
        click("cmdHide");
        QCOMPARE(started().size(), 1);
        QCOMPARE(started().last().last(), QStringLiteral("2"));
        QVERIFY(!button("cmdHide")->isEnabled());
        QVERIFY(button("cmdShow")->isEnabled());
        click("cmdShow");
        QCOMPARE(started().size(), 2);
        QCOMPARE(started().last().last(), QStringLiteral("0"));
        QVERIFY(button("cmdHide")->isEnabled());
        QVERIFY(!button("cmdShow")->isEnabled());
        QVERIFY(messages().isEmpty());
    }

    void taskbarNotAvailable()
    {
        QCOMPARE(button("cmdHide")->toolTip(), NotAvailable);
        useDesktop("GNOME", {"gnome-control-center", "xfconf-query", "qdbus"});
        click("cmdHide");
        QCOMPARE(messages(), QStringList{NotAvailable});
        QVERIFY(started().isEmpty());
        QVERIFY(button("cmdHide")->isEnabled());
        QVERIFY(!button("cmdShow")->isEnabled());
    }

    void closingShowsTheTaskbarAgain()
    {
        useDesktop("KDE", {"qdbus"});
        click("cmdHide");
        m_form->close();
        QCOMPARE(started().size(), 2);
        QVERIFY(started().last().last().contains("p.hiding='none'"));
        QCOMPARE(m_env->platform().exits, 1);
        QCOMPARE(m_host->caption, QString());
        QVERIFY(messages().isEmpty());
    }

    void systemInformationCopies()
    {
        m_form->StartSysInfo();
        SystemInformationWindow *window = m_form->systemInformation();
        QVERIFY(window);
        auto *tree = window->findChild<QTreeWidget *>("tvInfo");
        int rows = 0;
        for (const auto &section : window->sections())
            rows += 1 + int(section.rows.size());
        QCOMPARE(tree->topLevelItemCount(), rows);
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(window->findChild<QPushButton *>("cmdCopy"), Qt::LeftButton);
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, SystemInformation::text(window->sections()));
        QVERIFY(copied.contains("Operating system: "));
        QVERIFY(copied.contains("Memory\n"));
        QTest::mouseClick(window->findChild<QPushButton *>("cmdClose"), Qt::LeftButton);
        QTRY_VERIFY(!m_form->systemInformation());
    }

    void opensFromTheMainMenuAndEndsTheProgram()
    {
        m_form.reset();
        m_host.reset();
        const ToolRegistry::Tool tool = ToolRegistry::findByCommand("ID_Windows");
        QVERIFY(tool);
        QCOMPARE(tool->name, QStringLiteral("winutil"));
        MDIForm1 main;
        QVERIFY(main.runTool("ID_Windows"));
        const QList<QMdiSubWindow *> subs = main.mdiArea()->subWindowList();
        QCOMPARE(subs.size(), 1);
        QVERIFY(qobject_cast<frmControlPanel *>(subs.first()->widget()));
        QCOMPARE(main.findChild<QLabel *>("lblTool")->text(), QStringLiteral("Windows Utility"));
        QTest::mouseClick(subs.first()->widget()->findChild<QPushButton *>("SSCommand1"),
                          Qt::LeftButton);
        QCOMPARE(m_env->platform().exits, 1);
        QCOMPARE(main.findChild<QLabel *>("lblTool")->text(), QString());
    }
};

QTEST_MAIN(tst_ControlPanelSystem)
#include "tst_ControlPanelSystem.moc"
