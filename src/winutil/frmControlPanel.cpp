#include "frmControlPanel.h"

#include "DesktopMap.h"
#include "Drives.h"
#include "HelpButton.h"
#include "PanelCommands.h"
#include "ShellBrowser.h"
#include "ThemeIcon.h"
#include "ToolHost.h"
#include "ToolStrip.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using Browse = SpecialFolders::Browse;
using Accessory = DesktopApplications::Accessory;

const QList<frmControlPanel::FolderButton> &frmControlPanel::folderButtons()
{
    static const QList<FolderButton> buttons = {
        {"SSCommand15", "My Documents", "folder-documents", Browse::MyDocuments},
        {"CmdMymusic", "My Music", "folder-music", Browse::MyMusic},
        {"CmdMypicture", "My Pictures", "folder-pictures", Browse::MyPictures},
        {"CmdMyWeb", "My Webs", "folder-publicshare", Browse::MyWebs},
        {"CmdClipart", "Clipart", "image-x-generic", Browse::Clipart},
        {"CmdStationary", "Stationery", "folder-templates", Browse::Stationery},
        {"CmdThemes", "Themes", "preferences-desktop-theme", Browse::Themes},
        {"SSCommand11", "Favorites", "bookmark-new", Browse::Favorites},
        {"SSCommand12", "NV User files", "folder", Browse::UserFiles},
        {"SSCommand13", "Windows", "folder", Browse::Windows},
        {"SSCommand14", "Program Files", "folder", Browse::ProgramFiles},
    };
    return buttons;
}

const QList<frmControlPanel::AccessoryButton> &frmControlPanel::accessoryButtons()
{
    static const QList<AccessoryButton> buttons = {
        {"SSCommand16", "Internet Explorer", "web-browser", Accessory::Browser, true},
        {"SSCommand17", "MS-Outlook", "mail-unread", Accessory::Mail, true},
        {"SSCommand18", "File Manager", "system-file-manager", Accessory::FileManager, true},
        {"SSCommand22", "Calculator", "accessories-calculator", Accessory::Calculator, true},
        {"cmdTextEditor", "Text Editor", "accessories-text-editor", Accessory::TextEditor, true},
        {"cmdTerminal", "Terminal", "utilities-terminal", Accessory::Terminal, true},
        {"SSCommand23", "Phone Dialer", "call-start", Accessory::PhoneDialer, false},
        {"SSCommand3", "CD Player", "media-optical", Accessory::CdPlayer, false},
        {"SSCommand7", "Win Media Player", "multimedia-player", Accessory::MediaPlayer, false},
    };
    return buttons;
}

frmControlPanel::frmControlPanel(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmControlPanel"));
    setWindowTitle(QStringLiteral("Windows Utility"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("preferences-system")));

    buildToolBar();
    auto *left = new QVBoxLayout;
    left->addWidget(buildPanelBox());
    left->addWidget(buildFolderBox());
    left->addWidget(buildAccessoryBox());
    left->addWidget(buildDiskBox());
    left->addWidget(buildSystemBox());
    left->addStretch();
    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(buildShellFolderBox(), 1);

    auto *close =
        button(QStringLiteral("SSCommand1"), tr("&Close"), QStringLiteral("window-close"));
    connect(close, &QPushButton::clicked, this, &frmControlPanel::closeWindow);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(new HelpButton(QStringLiteral("UTL0029"), this));
    bottom->addStretch();
    bottom->addWidget(close);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(buildIconStrip());
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
    setCentralWidget(central);

    describeCommands();
    if (ToolHost *host = ToolHost::instance())
        host->setToolCaption(QStringLiteral("Windows Utility"));
    resize(1000, 720);
}

frmControlPanel::~frmControlPanel() = default;

QPushButton *frmControlPanel::button(const QString &name, const QString &caption,
                                     const QString &icon)
{
    auto *b = new QPushButton(ThemeIcon::get(icon), caption, this);
    b->setObjectName(name);
    return b;
}

void frmControlPanel::buildToolBar()
{
    m_tools = new ToolStrip(QStringLiteral("SSActiveToolBars2"), this);
    m_tools->addTool(QStringLiteral("MyDoc"), tr("My Documents"),
                     QStringLiteral("folder-documents"));
    m_tools->addTool(QStringLiteral("MyComp"), tr("My Computer"), QStringLiteral("computer"));
    m_tools->addTool(QStringLiteral("Desktop"), tr("Desktop"), QStringLiteral("user-desktop"));
    m_tools->addTool(QStringLiteral("Favorite"), tr("Favorites"), QStringLiteral("bookmark-new"));
    m_tools->addSeparator();
    m_tools->addTool(QStringLiteral("InetExp"), tr("Internet"), QStringLiteral("web-browser"));
    m_tools->addTool(QStringLiteral("Network"), tr("Network"), QStringLiteral("network-wired"));
    m_tools->addTool(QStringLiteral("AddnewHardware"), tr("Add Hardware"),
                     QStringLiteral("list-add"));
    m_tools->addTool(QStringLiteral("DateTime"), tr("Date/Time"),
                     QStringLiteral("x-office-calendar"));
    m_tools->addTool(QStringLiteral("Mouse"), tr("Mouse"), QStringLiteral("input-mouse"));
    m_tools->addTool(QStringLiteral("KeyPad"), tr("Keyboard"), QStringLiteral("input-keyboard"));
    m_tools->addSeparator();
    m_tools->addTool(QStringLiteral("User"), tr("Control Panel"),
                     QStringLiteral("preferences-system"));
    addToolBar(m_tools);
    connect(m_tools, &ToolStrip::toolClicked, this, &frmControlPanel::runTool);
}

QWidget *frmControlPanel::buildIconStrip()
{
    auto *strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("fraIcons"));
    strip->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QHBoxLayout(strip);
    layout->setContentsMargins(4, 2, 4, 2);
    const QList<PanelCommands::Entry> &entries = PanelCommands::iconStrip();
    for (int i = 0; i < entries.size(); ++i) {
        // A control array: every icon has the same name and differs by its index.
        auto *icon = new QToolButton(strip);
        icon->setObjectName(QStringLiteral("Icon"));
        icon->setProperty("index", i);
        icon->setIcon(ThemeIcon::get(entries.at(i).icon));
        icon->setIconSize(QSize(32, 32));
        icon->setAutoRaise(true);
        icon->setToolTip(entries.at(i).caption);
        connect(icon, &QToolButton::clicked, this,
                [this, i] { launch(PanelCommands::iconStrip().at(i).key); });
        layout->addWidget(icon);
        m_icons << icon;
    }
    layout->addStretch();
    return strip;
}

QGroupBox *frmControlPanel::buildPanelBox()
{
    auto *box = new QGroupBox(tr("Control Panel"), this);
    m_panel = new QComboBox(box);
    m_panel->setObjectName(QStringLiteral("cboPanel"));
    for (const PanelCommands::Entry &entry : PanelCommands::controlPanel())
        m_panel->addItem(ThemeIcon::get(entry.icon), entry.caption);
    m_panel->setMaxVisibleItems(20);
    m_panel->setCurrentIndex(-1);
    m_panel->setPlaceholderText(tr("Choose a settings page"));
    connect(m_panel, &QComboBox::activated, this, &frmControlPanel::choosePanelEntry);

    auto *properties = button(QStringLiteral("cmdSystemProperties"), tr("System Properties"),
                              QStringLiteral("computer"));
    connect(properties, &QPushButton::clicked, this,
            [this] { launch(PanelCommands::systemProperties()); });
    auto *control = button(QStringLiteral("Control"), tr("Control Panel"),
                           QStringLiteral("preferences-system"));
    connect(control, &QPushButton::clicked, this,
            [this] { launch(PanelCommands::controlProgram()); });
    auto *layout = new QGridLayout(box);
    layout->addWidget(m_panel, 0, 0, 1, 2);
    layout->addWidget(properties, 1, 0);
    layout->addWidget(control, 1, 1);
    return box;
}

QGroupBox *frmControlPanel::buildFolderBox()
{
    auto *box = new QGroupBox(tr("Folders"), this);
    auto *layout = new QGridLayout(box);
    int cell = 0;
    for (const FolderButton &folder : folderButtons()) {
        auto *b = button(folder.name, folder.caption, folder.icon);
        connect(b, &QPushButton::clicked, this,
                [this, folder] { browse(folder.folder, folder.caption); });
        layout->addWidget(b, cell / 3, cell % 3);
        ++cell;
    }
    // Recent files are no folder here: they show in the window's folder view.
    auto *recent =
        button(QStringLiteral("CmdRecent"), tr("Recent"), QStringLiteral("document-open-recent"));
    connect(recent, &QPushButton::clicked, this, [this] { showShellFolder(8); });
    layout->addWidget(recent, cell / 3, cell % 3);
    return box;
}

QGroupBox *frmControlPanel::buildAccessoryBox()
{
    auto *box = new QGroupBox(tr("Accessories"), this);
    auto *layout = new QGridLayout(box);
    int cell = 0;
    for (const AccessoryButton &accessory : accessoryButtons()) {
        auto *b = button(accessory.name, accessory.caption, accessory.icon);
        connect(b, &QPushButton::clicked, this, [this, accessory] { startAccessory(accessory); });
        layout->addWidget(b, cell / 3, cell % 3);
        ++cell;
    }
    return box;
}

QGroupBox *frmControlPanel::buildDiskBox()
{
    auto *box = new QGroupBox(tr("Disks"), this);
    m_drive = new QComboBox(box);
    m_drive->setObjectName(QStringLiteral("Drive1"));
    for (const Drives::Drive &drive : Drives::list()) {
        m_drive->addItem(ThemeIcon::get(drive.removable ? QStringLiteral("drive-removable-media")
                                                        : QStringLiteral("drive-harddisk")),
                         QStringLiteral("%1  (%2)").arg(drive.rootPath, drive.name),
                         drive.rootPath);
    }
    auto *copy =
        button(QStringLiteral("cmdDiskCopy"), tr("Disk Copy"), QStringLiteral("edit-copy"));
    auto *format =
        button(QStringLiteral("cmdFormat"), tr("Format"), QStringLiteral("drive-harddisk"));
    m_formatFloppy = button(QStringLiteral("cmdFormatFloppy"), tr("Format Floppy"),
                            QStringLiteral("media-floppy"));
    connect(copy, &QPushButton::clicked, this, &frmControlPanel::diskCopy);
    connect(format, &QPushButton::clicked, this, &frmControlPanel::formatDrive);
    connect(m_formatFloppy, &QPushButton::clicked, this, &frmControlPanel::ShowFormat);
    auto *layout = new QGridLayout(box);
    layout->addWidget(m_drive, 0, 0, 1, 3);
    layout->addWidget(copy, 1, 0);
    layout->addWidget(format, 1, 1);
    layout->addWidget(m_formatFloppy, 1, 2);
    driveChanged();
    // Only a choice the user makes reports an unreadable drive.
    connect(m_drive, &QComboBox::activated, this, &frmControlPanel::driveChanged);
    return box;
}

QGroupBox *frmControlPanel::buildSystemBox()
{
    auto *box = new QGroupBox(tr("System"), this);
    auto *run = button(QStringLiteral("cmdRun"), tr("&Run..."), QStringLiteral("system-run"));
    auto *shutDown = button(QStringLiteral("cmdShutDown"), tr("Shut &Down..."),
                            QStringLiteral("system-shutdown"));
    m_hide = button(QStringLiteral("cmdHide"), tr("Hide Taskbar"), QStringLiteral("go-down"));
    m_show = button(QStringLiteral("cmdShow"), tr("Show Taskbar"), QStringLiteral("go-up"));
    m_show->setEnabled(false);
    connect(run, &QPushButton::clicked, this, &frmControlPanel::ShowRun);
    connect(shutDown, &QPushButton::clicked, this, &frmControlPanel::ShowShutDown);
    connect(m_hide, &QPushButton::clicked, this, &frmControlPanel::hideTaskbar);
    connect(m_show, &QPushButton::clicked, this, &frmControlPanel::showTaskbar);
    auto *layout = new QGridLayout(box);
    layout->addWidget(run, 0, 0);
    layout->addWidget(shutDown, 0, 1);
    layout->addWidget(m_hide, 1, 0);
    layout->addWidget(m_show, 1, 1);
    return box;
}

QGroupBox *frmControlPanel::buildShellFolderBox()
{
    auto *box = new QGroupBox(tr("Special Folders"), this);
    m_shellFolders = new QComboBox(box);
    m_shellFolders->setObjectName(QStringLiteral("cboShellFolders"));
    for (const SpecialFolders::Entry &entry : SpecialFolders::entries())
        m_shellFolders->addItem(entry.name, entry.csidl);
    m_shellFolders->setMaxVisibleItems(20);
    m_shellFolders->setCurrentIndex(-1);
    m_shellFolders->setPlaceholderText(tr("Choose a special folder"));
    connect(m_shellFolders, &QComboBox::activated, this, &frmControlPanel::chooseShellFolder);
    m_path = new QLabel(box);
    m_path->setObjectName(QStringLiteral("lblPath"));
    m_path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_path->setWordWrap(true);
    m_path->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_browser = new ShellBrowser(box);
    m_browser->hide();
    connect(m_browser, &ShellBrowser::folderEntered, m_path,
            [this](const QString &path) { m_path->setText(QDir::toNativeSeparators(path)); });
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(m_shellFolders);
    layout->addWidget(m_path);
    layout->addWidget(m_browser, 1);
    // Keeps the caption at the top while there is no view to show.
    layout->addStretch(0);
    return box;
}

void frmControlPanel::describeCommands()
{
    // What each door opens on this desktop, so the old names do not mislead.
    const DesktopEnvironment env = DesktopEnvironment::current();
    const DesktopApplications apps(env);
    for (const AccessoryButton &accessory : accessoryButtons()) {
        const auto app = apps.accessory(accessory.accessory);
        findChild<QPushButton *>(accessory.name)
            ->setToolTip(app ? tr("Opens %1").arg(app->name) : tr("Not installed"));
    }
    const bool taskbar = DesktopMap::resolve(PanelCommands::taskbarHide(), env).kind !=
                         DesktopMap::Command::Kind::NotAvailable;
    for (QPushButton *b : {m_hide, m_show})
        b->setToolTip(taskbar ? QString() : DesktopMap::notAvailableText());
}
