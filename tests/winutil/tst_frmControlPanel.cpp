#include "Drives.h"
#include "FakeDesktop.h"
#include "HelpButton.h"
#include "PanelCommands.h"
#include "RecordingToolHost.h"
#include "ShellBrowser.h"
#include "TestEnvironment.h"
#include "ToolStrip.h"
#include "frmControlPanel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <memory>

namespace
{

const QString NotAvailable = "The selected function is not available on this system";

// Chooses an entry of a drop-down list as a user does: open it, move there, press Enter.
void choose(QComboBox *combo, int index)
{
    combo->showPopup();
    combo->view()->setCurrentIndex(combo->model()->index(index, 0));
    QTest::keyClick(combo->view(), Qt::Key_Return);
}

} // namespace

// The Windows Utility window driven through its controls, on desktops made of fake PATH folders
// and desktop names; the recording platform starts nothing real.
class tst_frmControlPanel : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakeDesktop> m_fake;
    std::unique_ptr<RecordingToolHost> m_host;
    std::unique_ptr<frmControlPanel> m_form;

    template <typename T = QPushButton> T *child(const QString &name) const
    {
        T *widget = m_form->findChild<T *>(name);
        if (!widget)
            qWarning("no control %s", qPrintable(name));
        return widget;
    }
    void click(const QString &name) const { QTest::mouseClick(child(name), Qt::LeftButton); }
    void useDesktop(const QString &names, const QStringList &programs = {})
    {
        m_fake->setDesktop(names);
        m_fake->apply();
        for (const QString &program : programs)
            m_fake->addProgram(program);
    }
    void reopen()
    {
        m_form.reset();
        m_form = std::make_unique<frmControlPanel>();
    }
    QList<QStringList> started() const { return m_env->platform().started; }
    QStringList messages() const { return m_env->dialogs().messages(); }
    QStringList bin(const QStringList &command) const
    {
        return QStringList{m_fake->bin() + '/' + command.first()} + command.mid(1);
    }
    QString folder(int number, const QString &relative) const
    {
        const QString path = m_env->scratch() + '/' + relative;
        QDir().mkpath(path);
        m_env->platform().folders.insert(number, path);
        return path;
    }
    QString caption() const { return child<QLabel>("lblPath")->text(); }
    ShellBrowser *browser() const { return child<ShellBrowser>("ShellBrowser"); }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_fake = std::make_unique<FakeDesktop>("GNOME");
        m_fake->apply();
        Drives::install([] {
            return QList<Drives::Drive>{{"/", "File System", "/dev/sda1", false, true},
                                        {"/media/u/STICK", "STICK", "/dev/sdb1", true, true},
                                        {"/mnt/gone", "gone", "/dev/sdc1", false, false}};
        });
        m_host = std::make_unique<RecordingToolHost>();
        m_form = std::make_unique<frmControlPanel>();
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

    void loadsReady()
    {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Windows Utility"));
        QCOMPARE(m_host->caption, QStringLiteral("Windows Utility"));
        auto *panel = child<QComboBox>("cboPanel");
        QCOMPARE(panel->count(), 34);
        QCOMPARE(panel->itemText(0), QStringLiteral("System Information"));
        QCOMPARE(panel->itemText(2),
                 QStringLiteral("Add/Remove Programs Properties (Windows Setup)"));
        QCOMPARE(panel->itemText(32), QStringLiteral("Add New Hardware Wizard"));
        QCOMPARE(panel->itemText(33), QStringLiteral("Date/Time Properties"));
        auto *folders = child<QComboBox>("cboShellFolders");
        QCOMPARE(folders->count(), 30);
        QCOMPARE(folders->itemText(folders->findData(33)), QStringLiteral("Cookies"));
        QCOMPARE(folders->findData(28), -1);
        QCOMPARE(child<HelpButton>("CmdHelp")->code(), QStringLiteral("UTL0029"));
        QVERIFY(child("cmdHide")->isEnabled());
        QVERIFY(!child("cmdShow")->isEnabled());
        QVERIFY(browser()->isHidden());
        QVERIFY(messages().isEmpty());
        QVERIFY(started().isEmpty());
    }

    void everyControlIsThere_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"cboPanel",
                                 "cboShellFolders",
                                 "ShellBrowser",
                                 "CmdMymusic",
                                 "CmdMypicture",
                                 "CmdMyWeb",
                                 "SSCommand15",
                                 "CmdRecent",
                                 "CmdClipart",
                                 "CmdStationary",
                                 "CmdThemes",
                                 "SSCommand11",
                                 "SSCommand12",
                                 "SSCommand13",
                                 "SSCommand14",
                                 "SSCommand16",
                                 "SSCommand17",
                                 "SSCommand18",
                                 "SSCommand22",
                                 "SSCommand23",
                                 "SSCommand3",
                                 "SSCommand7",
                                 "SSActiveToolBars2",
                                 "Control",
                                 "cmdSystemProperties",
                                 "cmdRun",
                                 "cmdShutDown",
                                 "cmdFormatFloppy",
                                 "cmdHide",
                                 "cmdShow",
                                 "SSCommand1",
                                 "CmdHelp",
                                 "Drive1",
                                 "cmdDiskCopy",
                                 "cmdFormat"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void everyControlIsThere()
    {
        QFETCH(QString, name);
        QVERIFY(m_form->findChild<QWidget *>(name));
    }

    void iconStripAndToolBarAreComplete()
    {
        const QList<QToolButton *> icons = m_form->findChildren<QToolButton *>("Icon");
        QCOMPARE(icons.size(), 15);
        for (int i = 0; i < icons.size(); ++i)
            QCOMPARE(icons.at(i)->property("index").toInt(), i);
        auto *tools = child<ToolStrip>("SSActiveToolBars2");
        for (const char *id : {"MyDoc", "MyComp", "Desktop", "InetExp", "Network", "AddnewHardware",
                               "DateTime", "User", "Favorite", "Mouse", "KeyPad"})
            QVERIFY2(tools->tool(id), id);
    }

    void panelEntries_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("command"); // empty: not available
        QTest::newRow("KDE wallpaper") << "KDE" << QStringList{"systemsettings"} << 4
                                       << QStringList{"systemsettings", "kcm_wallpaper"};
        QTest::newRow("printers anywhere") << "LXQt" << QStringList{"system-config-printer"} << 16
                                           << QStringList{"system-config-printer"};
        QTest::newRow("no hardware profiles")
            << "GNOME" << QStringList{"gnome-control-center"} << 30 << QStringList{};
    }
    void panelEntries()
    {
        QFETCH(QString, desktop);
        QFETCH(QStringList, programs);
        QFETCH(int, index);
        QFETCH(QStringList, command);
        useDesktop(desktop, programs);
        choose(child<QComboBox>("cboPanel"), index);
        if (command.isEmpty()) {
            QVERIFY(started().isEmpty());
            QCOMPARE(messages(), QStringList{NotAvailable});
            QCOMPARE(m_env->dialogs().shown().first().title, QStringLiteral("Not available"));
        } else {
            QCOMPARE(started(), QList<QStringList>{bin(command)});
            QVERIFY(messages().isEmpty());
        }
    }

    void firstEntryOpensSystemInformation()
    {
        choose(child<QComboBox>("cboPanel"), 0);
        QVERIFY(m_form->systemInformation());
        QVERIFY(m_form->systemInformation()->isVisible());
        choose(child<QComboBox>("cboPanel"), 0);
        QCOMPARE(m_form->findChildren<SystemInformationWindow *>().size(), 1);
        QVERIFY(started().isEmpty());
        QVERIFY(messages().isEmpty());
    }

    void iconStrip()
    {
        useDesktop("GNOME", {"gnome-control-center"});
        const QList<QToolButton *> icons = m_form->findChildren<QToolButton *>("Icon");
        QTest::mouseClick(icons.at(4), Qt::LeftButton);
        QCOMPARE(started(), QList<QStringList>{bin({"gnome-control-center", "network"})});
        // System on a desktop without its own page: the program's System Information.
        useDesktop("XFCE");
        QTest::mouseClick(icons.at(14), Qt::LeftButton);
        QVERIFY(m_form->systemInformation());
        QTest::mouseClick(icons.at(5), Qt::LeftButton);
        QCOMPARE(messages(), QStringList{NotAvailable});
    }

    void toolBarPages_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("command");
        QTest::newRow("User: settings manager") << "User"
                                                << "XFCE" << QStringList{"xfce4-settings-manager"};
        QTest::newRow("AddnewHardware")
            << "AddnewHardware"
            << "Budgie:GNOME" << QStringList{"gnome-control-center", "bluetooth"};
    }
    void toolBarPages()
    {
        QFETCH(QString, tool);
        QFETCH(QString, desktop);
        QFETCH(QStringList, command);
        useDesktop(desktop, {command.first()});
        QVERIFY(child<ToolStrip>("SSActiveToolBars2")->trigger(tool));
        QCOMPARE(started(), QList<QStringList>{bin(command)});
    }

    void controlProgramAndSystemProperties()
    {
        useDesktop("KDE", {"systemsettings5", "kinfocenter"});
        click("Control");
        click("cmdSystemProperties");
        QCOMPARE(started(), QList<QStringList>({bin({"systemsettings5"}), bin({"kinfocenter"})}));
    }

    void folderButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("number"); // special folder given to the platform, -1 none
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("exists");
        QTest::newRow("My Music") << "CmdMymusic" << 13 << "Music" << true;
        QTest::newRow("My Pictures missing") << "CmdMypicture" << 39 << "Pictures" << false;
        QTest::newRow("My Webs") << "CmdMyWeb" << 40 << "home/public_html" << true;
        QTest::newRow("My Documents") << "SSCommand15" << 5 << "documents" << true;
        QTest::newRow("Stationery is templates") << "CmdStationary" << 21 << "Templates" << true;
        QTest::newRow("Windows") << "SSCommand13" << 36 << "windows" << true;
        QTest::newRow("Program Files") << "SSCommand14" << 38 << "usr" << true;
        QTest::newRow("Favorites") << "SSCommand11" << -1 << "" << false;
    }
    void folderButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, number);
        QFETCH(QString, relative);
        QFETCH(bool, exists);
        QString path;
        if (number >= 0) {
            path = folder(number, relative);
            if (number == 40) // the home folder, whose public_html is browsed
                m_env->platform().folders.insert(40, m_env->scratch() + "/home");
            if (!exists)
                QDir(path).removeRecursively();
        }
        if (exists)
            m_env->dialogs().cancelNext();
        click(button);
        if (exists) {
            QCOMPARE(m_env->dialogs().shown().size(), 1);
            QCOMPARE(m_env->dialogs().shown().first().kind, QStringLiteral("open"));
            QCOMPARE(m_env->dialogs().shown().first().folder, path);
            QCOMPARE(m_env->dialogs().shown().first().title, child(button)->text());
        } else {
            QCOMPARE(messages(), QStringList{"The folder does not exist on this system."});
        }
        QVERIFY(started().isEmpty());
    }

    void userFilesButton()
    {
        m_env->dialogs().answerPath(m_env->userFiles() + "/chosen.txt"); // chosen, never used
        click("SSCommand12");
        QCOMPARE(m_env->dialogs().shown().first().folder, m_env->userFiles());
        QVERIFY(started().isEmpty());
        QVERIFY(m_env->platform().opened.isEmpty());
    }

    void toolBarFolders()
    {
        m_env->dialogs().cancelNext();
        QVERIFY(child<ToolStrip>("SSActiveToolBars2")->trigger("Desktop"));
        QCOMPARE(m_env->dialogs().shown().last().folder, m_env->platform().folders.value(0));
        QVERIFY(child<ToolStrip>("SSActiveToolBars2")->trigger("Favorite"));
        QCOMPARE(messages(), QStringList{"The folder does not exist on this system."});
        QVERIFY(child<ToolStrip>("SSActiveToolBars2")->trigger("MyComp"));
        QCOMPARE(child<QComboBox>("cboShellFolders")->currentText(), QStringLiteral("My Computer"));
        QCOMPARE(caption(), QStringLiteral("Folder has no path (is a vitual folder)."));
        QVERIFY(browser()->isVisibleTo(m_form.get()));
        QCOMPARE(browser()->itemPaths(), QStringList({"/", "/media/u/STICK", "/mnt/gone"}));
    }

    void shellFolders_data()
    {
        QTest::addColumn<int>("csidl");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("caption"); // "" for the folder's own path
        QTest::newRow("My Documents") << 5 << true << "";
        QTest::newRow("Recycle Bin") << 10 << true << "Folder has no path (is a vitual folder).";
        QTest::newRow("Control Panel") << 3 << false << "The folder does not exist on this system.";
        QTest::newRow("Cookies") << 33 << false
                                 << "Is either a vitual folder, or Shell32.dll is < v4.71 and it "
                                    "doesn't know about the CSIDL value)";
    }
    void shellFolders()
    {
        QFETCH(int, csidl);
        QFETCH(bool, visible);
        QFETCH(QString, caption);
        folder(28, "data");
        auto *list = child<QComboBox>("cboShellFolders");
        choose(list, list->findData(csidl));
        QCOMPARE(browser()->isVisibleTo(m_form.get()), visible);
        const QString documents = m_env->platform().folders.value(5);
        QCOMPARE(this->caption(), caption.isEmpty() ? documents : caption);
        if (caption.isEmpty())
            QCOMPARE(browser()->folder(), documents);
        // Another choice replaces the caption and view.
        choose(list, list->findData(3));
        QVERIFY(browser()->isHidden());
    }

    void folderViewOpensItems()
    {
        const QString data = folder(28, "data");
        QDir().mkpath(data + "/Trash/files/kept folder");
        const QString file = m_env->writeFile("data/Trash/files/letter.txt");
        choose(child<QComboBox>("cboShellFolders"),
               child<QComboBox>("cboShellFolders")->findData(10));
        QCOMPARE(browser()->itemPaths(), QStringList({data + "/Trash/files/kept folder", file}));
        browser()->openItem(browser()->model()->index(1, 0));
        QCOMPARE(m_env->platform().opened, QStringList{file});
        browser()->openItem(browser()->model()->index(0, 0));
        QCOMPARE(browser()->folder(), data + "/Trash/files/kept folder");
        QCOMPARE(caption(), data + "/Trash/files/kept folder");
    }

    void folderViewSendsToDesktop()
    {
        const QString data = folder(28, "data");
        const QString file = m_env->writeFile("data/Trash/files/Résumé 'v2'.txt");
        choose(child<QComboBox>("cboShellFolders"),
               child<QComboBox>("cboShellFolders")->findData(10));
        const QString made = browser()->sendToDesktop(browser()->model()->index(0, 0));
        QCOMPARE(made, m_env->platform().folders.value(0) + "/Résumé 'v2'.txt.desktop");
        QFile entry(made);
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains(QUrl::fromLocalFile(file).toEncoded()));
    }

    void recentButtonShowsRecentFiles()
    {
        folder(28, "data");
        const QString file = m_env->writeFile("docs/notes.txt");
        m_env->writeFile("data/recently-used.xbel",
                         "<xbel><bookmark href=\"" + QUrl::fromLocalFile(file).toEncoded() +
                             "\" visited=\"2024-01-01T00:00:00Z\"/></xbel>");
        click("CmdRecent");
        QCOMPARE(child<QComboBox>("cboShellFolders")->currentText(),
                 QStringLiteral("Recent Documents"));
        QCOMPARE(browser()->itemPaths(), QStringList{file});
        QVERIFY(m_env->dialogs().shown().isEmpty());
    }

    void accessories_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QString>("message");
        const QString stop = "This application is not installed on your system.";
        const QString noStop = "This application is not installed on your system";
        QTest::newRow("calculator") << "SSCommand22" << true << true << "";
        QTest::newRow("browser") << "SSCommand16" << true << true << "";
        QTest::newRow("media player") << "SSCommand7" << true << true << "";
        QTest::newRow("no browser") << "SSCommand16" << false << true << stop;
        QTest::newRow("no mail") << "SSCommand17" << false << true << stop;
        QTest::newRow("no file manager") << "SSCommand18" << false << true << stop;
        QTest::newRow("no phone dialer") << "SSCommand23" << false << true << noStop;
        QTest::newRow("no CD player") << "SSCommand3" << false << true << noStop;
        QTest::newRow("no media player") << "SSCommand7" << false << true << noStop;
        QTest::newRow("start fails") << "SSCommand22" << true << false << stop;
    }
    void accessories()
    {
        QFETCH(QString, button);
        QFETCH(bool, installed);
        QFETCH(bool, starts);
        QFETCH(QString, message);
        if (installed) {
            m_fake->addProgram("app");
            m_fake->addApplication("calc.desktop", "Name=Calc\nExec=app --calc\n"
                                                   "Categories=Utility;Calculator;\n");
            m_fake->addApplication("web.desktop", "Name=Web\nExec=app --web %u\n"
                                                  "MimeType=x-scheme-handler/http;\n");
            m_fake->addApplication("video.desktop", "Name=Video\nExec=app --video %U\n"
                                                    "MimeType=video/mp4;\n");
        }
        m_env->platform().startSucceeds = starts;
        click(button);
        QCOMPARE(messages(), message.isEmpty() ? QStringList() : QStringList{message});
        if (installed) {
            QCOMPARE(started().size(), 1);
            QCOMPARE(started().first().first(), m_fake->bin() + "/app");
        } else {
            QVERIFY(started().isEmpty());
        }
    }

    void accessoriesNameWhatTheyOpen()
    {
        m_fake->addProgram("app");
        m_fake->addApplication("calc.desktop",
                               "Name=Pocket Calc\nExec=app\nCategories=Calculator;\n");
        reopen();
        QCOMPARE(child("SSCommand22")->toolTip(), QStringLiteral("Opens Pocket Calc"));
        QCOMPARE(child("SSCommand23")->toolTip(), QStringLiteral("Not installed"));
    }

    void disksOnAFixedDrive()
    {
        QCOMPARE(child<QComboBox>("Drive1")->count(), 3);
        QVERIFY(!child("cmdFormatFloppy")->isEnabled());
        click("cmdDiskCopy");
        QCOMPARE(messages(), QStringList{"Only floppies can\nbe diskcopied!"});
        QCOMPARE(m_env->dialogs().shown().last().title, QStringLiteral("DiskCopy Example"));
        for (const bool yes : {false, true}) {
            m_env->dialogs().answerQuestion(yes);
            click("cmdFormat");
            QCOMPARE(m_env->dialogs().shown().last().text,
                     QStringLiteral("This drive is not a removeable\ndrive! Format this drive?"));
            QCOMPARE(m_env->dialogs().shown().last().title,
                     QStringLiteral("SHFormatDrive Example"));
        }
        QVERIFY(started().isEmpty());
    }

    void disksOnARemovableDrive()
    {
        useDesktop("GNOME", {"gnome-disks"});
        choose(child<QComboBox>("Drive1"), 1);
        QVERIFY(child("cmdFormatFloppy")->isEnabled());
        click("cmdDiskCopy");
        click("cmdFormat");
        click("cmdFormatFloppy");
        QCOMPARE(started(), QList<QStringList>(3, bin({"gnome-disks"})));
        QVERIFY(messages().isEmpty());
        // Without a disk utility the desktop has no such function.
        QFile::remove(m_fake->bin() + "/gnome-disks");
        click("cmdFormat");
        QCOMPARE(messages(), QStringList{NotAvailable});
    }

    void unreadableDrive()
    {
        choose(child<QComboBox>("Drive1"), 2);
        QCOMPARE(messages(), QStringList{"Device Unavailable!. Please check drive /mnt/gone"});
        QVERIFY(!child("cmdFormatFloppy")->isEnabled());
    }

    void closing_data()
    {
        QTest::addColumn<bool>("button");
        QTest::newRow("Close button") << true;
        QTest::newRow("window closed") << false;
    }
    void closing()
    {
        QFETCH(bool, button);
        if (button)
            click("SSCommand1");
        else
            m_form->close();
        QCOMPARE(m_env->platform().exits, 1);
        QCOMPARE(m_host->caption, QString());
        QVERIFY(started().isEmpty()); // the taskbar was never hidden
    }
};

QTEST_MAIN(tst_frmControlPanel)
#include "tst_frmControlPanel.moc"
