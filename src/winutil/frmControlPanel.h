#pragma once

#include "DesktopApplications.h"
#include "RunDialog.h"
#include "SpecialFolders.h"
#include "SystemInformationWindow.h"

#include <QMainWindow>
#include <QPointer>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;
class ShellBrowser;
class ToolStrip;

// The "Windows Utility" window: doors into the running desktop. Control Panel pages, the icon
// strip and the tool bar open the desktop's own settings pages through the desktop map; special
// folders show inside the window; buttons browse well-known folders and start the desktop's
// default accessories; disk tools open the disk utility for removable drives; Run, Shut Down,
// taskbar hide/show and System Information. Closing it shows the taskbar again, clears the main
// window's tool caption and ends the program.
class frmControlPanel : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmControlPanel(QWidget *parent = nullptr);
    ~frmControlPanel() override;

    void ShowRun();
    void ShowShutDown();
    void StartSysInfo();
    // Opens the desktop's disk utility for the drive chosen in the drive list, when removable.
    void ShowFormat();

    // The windows the panel opened that are still open; null when none.
    SystemInformationWindow *systemInformation() const { return m_sysInfo; }
    RunDialog *runDialog() const { return m_run; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // A button that browses a folder, or starts an accessory.
    struct FolderButton {
        QString name, caption, icon;
        SpecialFolders::Browse folder;
    };
    struct AccessoryButton {
        QString name, caption, icon;
        DesktopApplications::Accessory accessory;
        bool fullStop; // the message ends with a full stop
    };
    static const QList<FolderButton> &folderButtons();
    static const QList<AccessoryButton> &accessoryButtons();

    // Building (frmControlPanel.cpp).
    void buildToolBar();
    QWidget *buildIconStrip();
    QGroupBox *buildPanelBox();
    QGroupBox *buildFolderBox();
    QGroupBox *buildAccessoryBox();
    QGroupBox *buildDiskBox();
    QGroupBox *buildSystemBox();
    QGroupBox *buildShellFolderBox();
    QPushButton *button(const QString &name, const QString &caption, const QString &icon);
    void describeCommands();

    // Pages, programs and the system (frmControlPanel_Commands.cpp).
    void runTool(const QString &id);
    void choosePanelEntry(int index);
    void launch(const QString &key);
    void startAccessory(const AccessoryButton &accessory);
    void runCommand(const QString &text);
    void hideTaskbar();
    void showTaskbar();
    void driveChanged();
    void diskCopy();
    void formatDrive();
    void closeWindow();

    // Folders (frmControlPanel_Folders.cpp).
    void chooseShellFolder(int index);
    void showShellFolder(int csidl);
    void browse(SpecialFolders::Browse folder, const QString &title);

    ToolStrip *m_tools = nullptr;        // SSActiveToolBars2
    QComboBox *m_panel = nullptr;        // cboPanel
    QComboBox *m_shellFolders = nullptr; // cboShellFolders
    QLabel *m_path = nullptr;            // lblPath, the path caption
    ShellBrowser *m_browser = nullptr;   // ShellBrowser
    QComboBox *m_drive = nullptr;        // Drive1
    QPushButton *m_formatFloppy = nullptr;
    QPushButton *m_hide = nullptr;
    QPushButton *m_show = nullptr;
    QList<QToolButton *> m_icons; // Icon, by index
    bool m_taskbarHidden = false;
    QPointer<SystemInformationWindow> m_sysInfo;
    QPointer<RunDialog> m_run;
};
