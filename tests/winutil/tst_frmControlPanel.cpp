#include "Drives.h"
#include "FakeDesktop.h"
#include "MDIForm1.h"
#include "RecordingToolHost.h"
#include "ShellBrowser.h"
#include "SystemInformation.h"
#include "TestEnvironment.h"
#include "ToolStrip.h"
#include "frmControlPanel.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <memory>

namespace
{

const QString NotAvailable = "The selected function is not available on this system";
const QString NotInstalled = "This application is not installed on your system";
const QString Missing = "The folder does not exist on this system.";

// Chooses an entry of a drop-down list as a user does: open it, move there, press Enter.
void choose(QComboBox *combo, int index)
{
    combo->showPopup();
    combo->view()->setCurrentIndex(combo->model()->index(index, 0));
    QTest::keyClick(combo->view(), Qt::Key_Return);
}

} // namespace

// The Windows Utility window driven through its controls, on desktops made of fake PATH folders
// and desktop names. Which program a page is on which desktop is the core tests' business; these
// prove each door leads to its page, folder, program or message, and the recording platform
// starts nothing real.
class tst_frmControlPanel : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakeDesktop> m_fake;
    std::unique_ptr<RecordingToolHost> m_host;
    std::unique_ptr<frmControlPanel> m_form;

    template <typename T = QPushButton> T *child(const QString &name) const
    {
        return m_form->findChild<T *>(name);
    }
    // Steps separated by commas: "on:NAMES" makes the desktop one of those names, "+PROGRAM" puts a
    // program on its PATH; "panel:N" chooses entry N of the Control Panel list, "folders:N"
    // special folder N, "drive:N" drive N; "icon:N" clicks icon N of the strip, "tool:ID" a tool
    // of the tool bar; "yes"/"no" answer the next question, "pick" the next file picker; "fail"
    // makes starting programs fail. Anything else names a button.
    void use(const QString &script) const
    {
        for (const QString &step : script.split(',')) {
            const QString kind = step.section(':', 0, 0);
            const int index = step.section(':', 1).toInt();
            auto *folders = child<QComboBox>("cboShellFolders");
            if (kind == "on")
                m_fake->apply(step.section(':', 1));
            else if (step.startsWith('+'))
                m_fake->addProgram(step.mid(1));
            else if (kind == "panel")
                choose(child<QComboBox>("cboPanel"), index);
            else if (kind == "folders")
                choose(folders, folders->findData(index));
            else if (kind == "drive")
                choose(child<QComboBox>("Drive1"), index);
            else if (kind == "icon")
                QTest::mouseClick(m_form->findChildren<QToolButton *>("Icon").at(index),
                                  Qt::LeftButton);
            else if (kind == "tool")
                QVERIFY(child<ToolStrip>("SSActiveToolBars2")->trigger(step.section(':', 1)));
            else if (kind == "yes" || kind == "no")
                m_env->dialogs().answerQuestion(kind == "yes");
            else if (kind == "pick")
                m_env->dialogs().answerPath(m_env->scratch() + "/chosen.txt");
            else if (kind == "fail")
                m_env->platform().startSucceeds = false;
            else if (QPushButton *button = child(step))
                QTest::mouseClick(button, Qt::LeftButton);
            else
                QFAIL(qPrintable("no control " + step));
        }
    }
    // Everything the window made happen: programs started (found in the fake PATH), documents
    // opened, dialogs shown ("browse" for a file picker and its folder) and System Information
    // windows open. "~" is the scratch folder.
    QStringList effects() const
    {
        QStringList out;
        for (const QStringList &command : m_env->platform().started)
            out << "start " + command.join(' ');
        for (const QString &path : m_env->platform().opened)
            out << "open " + path;
        for (const auto &shown : m_env->dialogs().shown())
            out << (shown.kind == "open" ? "browse " + shown.folder
                                         : shown.kind + ' ' + shown.text);
        for (int i = 0; i < m_form->findChildren<SystemInformationWindow *>().size(); ++i)
            out << "System Information";
        out.replaceInStrings(m_fake->bin() + '/', QString());
        out.replaceInStrings(m_env->userFiles(), "(user files)");
        return out.replaceInStrings(m_env->scratch(), "~");
    }
    ShellBrowser *browser() const { return child<ShellBrowser>("ShellBrowser"); }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_fake = std::make_unique<FakeDesktop>();
        m_fake->apply("GNOME");
        Drives::install([] {
            return QList<Drives::Drive>{{"/", "File System", "/dev/sda1", false, true},
                                        {"/media/u/STICK", "STICK", "/dev/sdb1", true, true},
                                        {"/mnt/gone", "gone", "/dev/sdc1", false, false}};
        });
        // Special folders, home with its public_html, and data for the trash and recent files.
        const QHash<int, QString> folders{{13, "Music"},   {39, "Pictures"}, {21, "Templates"},
                                          {36, "windows"}, {38, "usr"},      {40, "home"},
                                          {28, "data"}};
        for (auto it = folders.cbegin(); it != folders.cend(); ++it) {
            m_env->platform().folders.insert(it.key(), m_env->scratch() + '/' + it.value());
            QDir(m_env->scratch()).mkpath(it.value());
        }
        QDir(m_env->scratch()).mkpath("home/public_html");
        // A calculator and a browser; no mail program, CD player or phone dialer.
        m_fake->addProgram("app");
        m_fake->addApplication("calc.desktop",
                               "Name=Calc\nExec=app --calc\nCategories=Calculator;");
        m_fake->addApplication("web.desktop", "Exec=app --web %u\nMimeType=x-scheme-handler/http;");
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

    void doors_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("effects");
        using L = QStringList;
        // Settings pages through the desktop map.
        QTest::newRow("list: KDE wallpaper")
            << "on:KDE,+systemsettings,panel:4" << L{"start systemsettings kcm_wallpaper"};
        QTest::newRow("list: System Information, one window")
            << "panel:0,panel:0" << L{"System Information"};
        QTest::newRow("icon: Internet")
            << "+gnome-control-center,icon:4" << L{"start gnome-control-center network"};
        QTest::newRow("tool: User")
            << "on:XFCE,+xfce4-settings-manager,tool:User" << L{"start xfce4-settings-manager"};
        QTest::newRow("Control Panel")
            << "on:KDE,+systemsettings5,Control" << L{"start systemsettings5"};
        QTest::newRow("System Properties")
            << "on:KDE,+kinfocenter,cmdSystemProperties" << L{"start kinfocenter"};
        // Folders, browsed only: what is picked is neither opened nor started.
        QTest::newRow("My Music") << "pick,CmdMymusic" << L{"browse ~/Music"};
        QTest::newRow("My Pictures") << "pick,CmdMypicture" << L{"browse ~/Pictures"};
        QTest::newRow("My Webs") << "pick,CmdMyWeb" << L{"browse ~/home/public_html"};
        QTest::newRow("My Documents") << "pick,SSCommand15" << L{"browse ~/documents"};
        QTest::newRow("Stationery") << "pick,CmdStationary" << L{"browse ~/Templates"};
        QTest::newRow("Windows") << "pick,SSCommand13" << L{"browse ~/windows"};
        QTest::newRow("Program Files") << "pick,SSCommand14" << L{"browse ~/usr"};
        QTest::newRow("user files") << "pick,SSCommand12" << L{"browse (user files)"};
        QTest::newRow("Favorites") << "SSCommand11" << L{"message " + Missing};
        QTest::newRow("tool: Desktop") << "pick,tool:Desktop" << L{"browse ~/desktop"};
        // Accessories: the message of a missing one ends with a full stop, or not.
        QTest::newRow("calculator") << "SSCommand22" << L{"start app --calc"};
        QTest::newRow("tool: Internet browser") << "tool:InetExp" << L{"start app --web"};
        QTest::newRow("no mail program") << "SSCommand17" << L{"message " + NotInstalled + '.'};
        QTest::newRow("no CD player") << "SSCommand3" << L{"message " + NotInstalled};
        QTest::newRow("calculator fails to start")
            << "fail,SSCommand22" << L{"start app --calc", "message " + NotInstalled + '.'};
        // Disks: fixed ones are never copied or formatted from here, whatever the answer.
        QTest::newRow("fixed: disk copy")
            << "+gnome-disks,drive:0,cmdDiskCopy" << L{"message Only floppies can\nbe diskcopied!"};
        QTest::newRow("fixed: format, Yes")
            << "+gnome-disks,drive:0,yes,cmdFormat"
            << L{"question This drive is not a removeable\ndrive! Format this drive?"};
        QTest::newRow("a ready fixed drive says nothing") << "+gnome-disks,drive:0" << L{};
        QTest::newRow("removable: disk copy")
            << "+gnome-disks,drive:1,cmdDiskCopy" << L{"start gnome-disks"};
        QTest::newRow("removable: format floppy")
            << "+gnome-disks,drive:1,cmdFormatFloppy" << L{"start gnome-disks"};
        QTest::newRow("removable, no disk utility")
            << "drive:1,cmdFormat" << L{"message " + NotAvailable};
        QTest::newRow("unreadable drive")
            << "+gnome-disks,drive:2"
            << L{"message Device Unavailable!. Please check drive /mnt/gone"};
        // Shut Down never without a question: logind's power-off has no prompt of its own.
        const QString question = "question Do you want to shut down the computer?";
        QTest::newRow("shut down, No") << "+gnome-session-quit,no,cmdShutDown" << L{question};
        QTest::newRow("shut down, Yes") << "+gnome-session-quit,yes,cmdShutDown"
                                        << L{"start gnome-session-quit --power-off", question};
        QTest::newRow("nothing to shut down with")
            << "yes,cmdShutDown" << L{question, "message " + NotAvailable};
        QTest::newRow("closing with the taskbar shown") << "SSCommand1" << L{};
    }
    void doors()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, effects);
        use(script);
        QCOMPARE(this->effects(), effects);
        QCOMPARE(child("cmdFormatFloppy")->isEnabled(), script.contains("drive:1"));
    }

    // Opened on GNOME, whose top bar cannot be hidden, with a calculator and no phone dialer.
    void tooltipsSayWhatTheButtonsDo()
    {
        QCOMPARE(child("SSCommand22")->toolTip(), QStringLiteral("Opens Calc"));
        QCOMPARE(child("SSCommand23")->toolTip(), QStringLiteral("Not installed"));
        QCOMPARE(child("cmdShow")->toolTip(), NotAvailable);
    }

    // The list, the Recent button and the tool bar show virtual folders in the window.
    void shellFolders_data()
    {
        QTest::addColumn<QString>("door");
        QTest::addColumn<int>("csidl");         // the list's choice afterwards
        QTest::addColumn<QStringList>("items"); // shown in this order
        // Regression: the view sorted virtual folders by name.
        QTest::newRow("Recent keeps newest first")
            << "CmdRecent" << 8 << QStringList{"~/docs/b.txt", "~/docs/c.txt", "~/docs/a.txt"};
        QTest::newRow("tool: My Computer")
            << "tool:MyComp" << 17 << QStringList{"/", "/media/u/STICK", "/mnt/gone"};
    }
    void shellFolders()
    {
        QFETCH(QString, door);
        QFETCH(int, csidl);
        QFETCH(QStringList, items);
        QString xbel = "<xbel>";
        for (const QString &name : QStringList{"a 2022", "b 2024", "c 2023"}) {
            const QUrl url = QUrl::fromLocalFile(m_env->writeFile("docs/" + name.left(1) + ".txt"));
            xbel += QString("<bookmark href=\"%1\" visited=\"%2-01-01T00:00:00Z\"/>")
                        .arg(url.toString(), name.mid(2));
        }
        m_env->writeFile("data/recently-used.xbel", (xbel + "</xbel>").toUtf8());
        use(door);
        QCOMPARE(child<QComboBox>("cboShellFolders")->currentData().toInt(), csidl);
        QVERIFY(browser()->isVisibleTo(m_form.get()));
        QCOMPARE(browser()->itemPaths().replaceInStrings(m_env->scratch(), "~"), items);
        QCOMPARE(child<QLabel>("lblPath")->text(), "Folder has no path (is a vitual folder).");
        // Another choice replaces the caption and view.
        use("folders:3");
        QVERIFY(browser()->isHidden());
        QCOMPARE(child<QLabel>("lblPath")->text(), Missing);
    }

    void folderViewOpensItems()
    {
        const QString kept = m_env->scratch() + "/data/Trash/files/kept folder";
        QDir().mkpath(kept);
        m_env->writeFile("data/Trash/files/Résumé 'v2'.txt");
        use("folders:10");
        browser()->openItem(browser()->model()->index(1, 0));
        browser()->sendToDesktop(browser()->model()->index(1, 0));
        QCOMPARE(effects(), QStringList{"open ~/data/Trash/files/Résumé 'v2'.txt"});
        QVERIFY(QFileInfo::exists(m_env->scratch() + "/desktop/Résumé 'v2'.txt.desktop"));
        browser()->openItem(browser()->model()->index(0, 0));
        QCOMPARE(browser()->folder(), kept);
        QCOMPARE(child<QLabel>("lblPath")->text(), kept);
    }

    void taskbarComesBackWhenTheWindowCloses()
    {
        // GNOME's top bar cannot be hidden: the buttons stay as they are.
        use("+xfconf-query,cmdHide");
        QCOMPARE(effects(), QStringList{"message " + NotAvailable});
        QVERIFY(child("cmdHide")->isEnabled() && !child("cmdShow")->isEnabled());
        use("on:XFCE,cmdHide");
        QVERIFY(!child("cmdHide")->isEnabled() && child("cmdShow")->isEnabled());
        use("cmdShow");
        QVERIFY(child("cmdHide")->isEnabled() && !child("cmdShow")->isEnabled());
        use("cmdHide,SSCommand1");
        QCOMPARE(m_env->platform().exits, 1);
        QCOMPARE(m_host->caption, QString());
        QStringList last; // autohide-behavior: 2 hides, 0 shows
        for (const QStringList &command : m_env->platform().started)
            last << command.last();
        QCOMPARE(last, QStringList({"2", "0", "2", "0"}));
    }

    void runCommand_data()
    {
        QTest::addColumn<QString>("line"); // "%1" stands for the document
        QTest::addColumn<QStringList>("effects");
        QTest::addColumn<QString>("script"); // after the typing
        QTest::newRow("program without a shell")
            << "tool --title 'My Notes' \"a;b\" $HOME"
            << QStringList{"start tool --title My Notes a;b $HOME"} << "cmdOK";
        QTest::newRow("document opened")
            << "\"%1\"" << QStringList{"open ~/My Letters/to Anna.txt"} << "cmdOK";
        QTest::newRow("open quote")
            << "tool \"a b"
            << QStringList{"message The command has a quotation mark that is not closed."}
            << "cmdOK";
        QTest::newRow("start fails")
            << "tool"
            << QStringList{"start tool",
                           "message \"tool\" was not found. Check the name, then try again."}
            << "fail,cmdOK";
        QTest::newRow("cancelled") << "tool" << QStringList{} << "cmdCancel";
    }
    void runCommand()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, effects);
        QFETCH(QString, script);
        m_fake->addProgram("tool");
        m_env->platform().settings.insert("Nuvela Utilities/Run/History", QStringList{"b", "a"});
        line.replace("%1", m_env->writeFile("My Letters/to Anna.txt"));
        use("cmdRun");
        RunDialog *dialog = m_form->runDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->commandBox()->currentText(), QStringLiteral("b")); // newest, ready again
        dialog->commandBox()->setEditText(line);
        use(script);
        QTRY_VERIFY(!m_form->runDialog());
        QCOMPARE(this->effects(), effects);
        // Only what ran is remembered, newest first.
        const bool ran = !effects.isEmpty() && !effects.last().startsWith("message");
        QCOMPARE(m_env->platform().settings.value("Nuvela Utilities/Run/History").toStringList(),
                 ran ? QStringList({line, "b", "a"}) : QStringList({"b", "a"}));
    }

    void systemInformationCopies()
    {
        m_form->StartSysInfo();
        SystemInformationWindow *window = m_form->systemInformation();
        QVERIFY(window);
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(window->findChild<QPushButton *>("cmdCopy"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), SystemInformation::text(window->sections()));
        QVERIFY(QGuiApplication::clipboard()->text().contains("Operating system: "));
        QTest::mouseClick(window->findChild<QPushButton *>("cmdClose"), Qt::LeftButton);
        QTRY_VERIFY(!m_form->systemInformation());
    }

    void opensFromTheMainMenuAndEndsTheProgram()
    {
        m_form.reset();
        m_host.reset();
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

QTEST_MAIN(tst_frmControlPanel)
#include "tst_frmControlPanel.moc"
