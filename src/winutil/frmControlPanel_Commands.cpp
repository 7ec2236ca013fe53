// The panel's pages, programs and system commands.
#include "frmControlPanel.h"

#include "DesktopMap.h"
#include "Dialogs.h"
#include "Drives.h"
#include "PanelCommands.h"
#include "Platform.h"
#include "RunCommand.h"
#include "RunDialog.h"
#include "RunHistory.h"
#include "SystemInformationWindow.h"
#include "ToolHost.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QPushButton>

namespace
{

const QString SettingsApplication = QStringLiteral("Nuvela Utilities");

std::optional<Drives::Drive> driveAt(const QComboBox *list)
{
    const QString root = list->currentData().toString();
    for (const Drives::Drive &drive : Drives::list()) {
        if (drive.rootPath == root)
            return drive;
    }
    return std::nullopt;
}

} // namespace

void frmControlPanel::runTool(const QString &id)
{
    if (id == QLatin1String("MyDoc"))
        browse(SpecialFolders::Browse::MyDocuments, tr("My Documents"));
    else if (id == QLatin1String("MyComp"))
        showShellFolder(17);
    else if (id == QLatin1String("Desktop"))
        browse(SpecialFolders::Browse::Desktop, tr("Desktop"));
    else if (id == QLatin1String("Favorite"))
        browse(SpecialFolders::Browse::Favorites, tr("Favorites"));
    else if (id == QLatin1String("InetExp"))
        startAccessory(accessoryButtons().first());
    else if (const QString key = PanelCommands::toolKey(id); !key.isEmpty())
        launch(key);
}

void frmControlPanel::choosePanelEntry(int index)
{
    if (index < 0 || index >= PanelCommands::controlPanel().size())
        return;
    launch(PanelCommands::controlPanel().at(index).key);
}

void frmControlPanel::launch(const QString &key)
{
    if (DesktopMap::launch(key, DesktopEnvironment::current()) ==
        DesktopMap::Command::Kind::SystemInformation)
        StartSysInfo();
}

void frmControlPanel::StartSysInfo()
{
    if (!m_sysInfo)
        m_sysInfo = new SystemInformationWindow(this);
    else
        m_sysInfo->refresh();
    m_sysInfo->show();
    m_sysInfo->raise();
    m_sysInfo->activateWindow();
}

void frmControlPanel::startAccessory(const AccessoryButton &accessory)
{
    const auto app =
        DesktopApplications(DesktopEnvironment::current()).accessory(accessory.accessory);
    if (app && Platform::instance().startProgram(app->program, app->arguments))
        return;
    const QString text = QStringLiteral("This application is not installed on your system");
    Dialogs::instance().message(accessory.fullStop ? text + '.' : text);
}

void frmControlPanel::ShowRun()
{
    if (m_run) {
        m_run->raise();
        return;
    }
    const QStringList history =
        Platform::instance()
            .setting(SettingsApplication, QStringLiteral("Run"), QStringLiteral("History"))
            .toStringList();
    m_run = new RunDialog(history, this);
    m_run->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_run, &QDialog::accepted, this, [this] { runCommand(m_run->command()); });
    m_run->open();
}

void frmControlPanel::runCommand(const QString &text)
{
    const RunCommand command =
        RunCommand::resolve(text, DesktopEnvironment::current(), QDir::homePath());
    Platform &platform = Platform::instance();
    bool done = false;
    switch (command.kind) {
    case RunCommand::Kind::Nothing:
        return;
    case RunCommand::Kind::Unbalanced:
        Dialogs::instance().message(tr("The command has a quotation mark that is not closed."),
                                    tr("Run"), Dialogs::Icon::Warning);
        return;
    case RunCommand::Kind::Start:
        done = platform.startProgram(command.program, command.arguments);
        break;
    case RunCommand::Kind::Open:
        done = platform.openDocument(command.program);
        break;
    case RunCommand::Kind::NotFound:
        break;
    }
    if (!done) {
        Dialogs::instance().message(
            tr("\"%1\" was not found. Check the name, then try again.").arg(command.program),
            tr("Run"), Dialogs::Icon::Warning);
        return;
    }
    const QStringList history =
        platform.setting(SettingsApplication, QStringLiteral("Run"), QStringLiteral("History"))
            .toStringList();
    platform.setSetting(SettingsApplication, QStringLiteral("Run"), QStringLiteral("History"),
                        RunHistory::add(history, text));
}

void frmControlPanel::ShowShutDown()
{
    // Never without a question: the desktop's own prompt may follow, logind's does not.
    if (!Dialogs::instance().question(tr("Do you want to shut down the computer?"),
                                      tr("Shut Down")))
        return;
    launch(PanelCommands::shutDown());
}

void frmControlPanel::hideTaskbar()
{
    if (DesktopMap::launch(PanelCommands::taskbarHide(), DesktopEnvironment::current()) !=
        DesktopMap::Command::Kind::Start)
        return;
    m_taskbarHidden = true;
    m_hide->setEnabled(false);
    m_show->setEnabled(true);
}

void frmControlPanel::showTaskbar()
{
    if (DesktopMap::launch(PanelCommands::taskbarShow(), DesktopEnvironment::current()) !=
        DesktopMap::Command::Kind::Start)
        return;
    m_taskbarHidden = false;
    m_hide->setEnabled(true);
    m_show->setEnabled(false);
}

void frmControlPanel::driveChanged()
{
    const auto drive = driveAt(m_drive);
    const bool removable = drive && drive->removable;
    m_formatFloppy->setEnabled(removable);
    m_formatFloppy->setToolTip(removable ? QString() : DesktopMap::notAvailableText());
    if (drive && !drive->ready && sender() == m_drive)
        Dialogs::instance().message(QStringLiteral("Device Unavailable!. Please check drive ") +
                                    drive->rootPath);
}

void frmControlPanel::diskCopy()
{
    const auto drive = driveAt(m_drive);
    if (!drive || !drive->removable) {
        Dialogs::instance().message(QStringLiteral("Only floppies can\nbe diskcopied!"),
                                    QStringLiteral("DiskCopy Example"));
        return;
    }
    launch(PanelCommands::diskCopy());
}

void frmControlPanel::formatDrive()
{
    const auto drive = driveAt(m_drive);
    if (drive && drive->removable) {
        ShowFormat();
        return;
    }
    // Either answer formats nothing: fixed disks are not formatted from here.
    Dialogs::instance().question(
        QStringLiteral("This drive is not a removeable\ndrive! Format this drive?"),
        QStringLiteral("SHFormatDrive Example"));
}

void frmControlPanel::ShowFormat()
{
    const auto drive = driveAt(m_drive);
    if (!drive || !drive->removable) {
        Dialogs::instance().message(DesktopMap::notAvailableText(),
                                    DesktopMap::notAvailableTitle());
        return;
    }
    launch(PanelCommands::format());
}

void frmControlPanel::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void frmControlPanel::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_taskbarHidden) {
        // Silently: the program is ending, and a panel that cannot come back has nothing to say.
        const DesktopMap::Command show =
            DesktopMap::resolve(PanelCommands::taskbarShow(), DesktopEnvironment::current());
        if (show.kind == DesktopMap::Command::Kind::Start &&
            Platform::instance().startProgram(show.program, show.arguments))
            m_taskbarHidden = false;
    }
    if (ToolHost *host = ToolHost::instance())
        host->setToolCaption(QString());
    Platform::instance().exitProcess();
}
