// The main window's navigation: the menu strip MenuL, the layout panes and the list bar.
#include "MDIForm1.h"

#include "AppFolders.h"
#include "Dialogs.h"
#include "Platform.h"
#include "SharedRoutines.h"
#include "SqlText.h"
#include "Store.h"
#include "ThemeIcon.h"
#include "ToolStrip.h"

#include <QDockWidget>
#include <QFileInfo>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBox>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

struct MenuTool {
    const char *id;
    const char *text;
    const char *icon;
};

// Sibling programs started from the menu, by tool identifier.
const QHash<QString, QString> &siblingTools()
{
    static const QHash<QString, QString> tools = {
        {"ID_Contacts", "Nuvela Contacts.exe"},
        {"ID_Diary", "Nuvela Scheduler.exe"},
        {"ID_PocketMoney", "Nuvela PocketMoney.exe"},
        {"ID_Photographs", "Nuvela Photos.exe"},
        {"ID_PersonalRecord", "Nuvela PersonalRecords.exe"},
        {"ID_Hobbies", "Nuvela Hobbies.exe"},
        {"ID_HomeManager", "Nuvela HomeManager.exe"},
        {"ID_Kids", "Nuvela Kids.exe"},
    };
    return tools;
}

// A readable caption for a list bar item: its tool key without the form prefix.
QString itemCaption(const QString &code, const SuiteCode &target)
{
    if (target.toolKey.isEmpty())
        return QStringLiteral("Open ") + target.group;
    QString name = target.toolKey;
    for (const char *prefix : {"frm", "form", "fom"}) {
        if (name.startsWith(QLatin1String(prefix)) && name.size() > int(qstrlen(prefix))) {
            name = name.mid(int(qstrlen(prefix)));
            break;
        }
    }
    name[0] = name.at(0).toUpper();
    return name + QStringLiteral(" (") + code + ')';
}

} // namespace

void MDIForm1::buildMenu()
{
    QMenuBar *menu = menuBar();
    menu->setObjectName(QStringLiteral("MenuL"));
    auto *strip = new ToolStrip(QStringLiteral("MainTools"), this);
    strip->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    addToolBar(Qt::TopToolBarArea, strip);

    auto addMenu = [this, menu](const QString &title, std::initializer_list<MenuTool> tools) {
        QMenu *m = menu->addMenu(title);
        for (const MenuTool &t : tools) {
            if (!t.id) {
                m->addSeparator();
                continue;
            }
            QAction *a = m->addAction(ThemeIcon::get(QString::fromLatin1(t.icon)),
                                      QString::fromLatin1(t.text));
            a->setObjectName(QString::fromLatin1(t.id));
            const QString id = a->objectName();
            connect(a, &QAction::triggered, this, [this, id] { runTool(id); });
        }
        return m;
    };
    addMenu(tr("&Utilities"),
            {{"ID_File", "&File Organizer", "system-file-manager"},
             {"NuvelaNoteBook", "&Notebook", "accessories-text-editor"},
             {"Database", "&Database Utility", "x-office-spreadsheet"},
             {nullptr, nullptr, nullptr},
             {"ID_Conversion", "&Conversions", "accessories-calculator"},
             {"AllUnits", "All &Units", "accessories-calculator"},
             {"AreaVolumeWeight", "&Area, Volume and Weight", "accessories-calculator"},
             {"QuickConversions", "&Quick Conversions", "accessories-calculator"},
             {nullptr, nullptr, nullptr},
             {"ID_Windows", "&Windows Utility", "preferences-system"},
             {nullptr, nullptr, nullptr},
             {"ID_RD", "&Repair Database", "tools-check-spelling"},
             {nullptr, nullptr, nullptr},
             {"ID_Exit", "E&xit", "application-exit"}});
    addMenu(tr("&Suite"), {{"ID_Contacts", "&Contacts", "x-office-address-book"},
                           {"ID_Diary", "&Scheduler", "x-office-calendar"},
                           {"ID_PocketMoney", "&PocketMoney", "accessories-calculator"},
                           {"ID_Photographs", "P&hotos", "image-x-generic"},
                           {"ID_PersonalRecord", "Personal &Records", "x-office-document"},
                           {"ID_Hobbies", "Ho&bbies", "applications-games"},
                           {"ID_HomeManager", "Home &Manager", "go-home"},
                           {"ID_Kids", "&Kids", "applications-games"}});
    addMenu(tr("&View"), {{"ID_ToolBar", "&Tool Bar", "view-grid"},
                          {"ID_ListBar", "&List Bar", "view-list"},
                          {"ID_TreeListBar", "Tree &and List Bar", "view-list"},
                          {"ID_Tree", "T&ree", "view-list"},
                          {"ID_Web", "&Web", "web-browser"}});
    addMenu(tr("&Help"), {{"Help1", "&Contents", "help-contents"},
                          {"NuvelaSuiteProductDetails", "&Nuvela Suite", "help-about"}});

    for (const char *id : {"ID_File", "NuvelaNoteBook", "Database", "ID_Conversion",
                           "QuickConversions", "ID_Windows"})
        strip->addAction(findChild<QAction *>(QString::fromLatin1(id)));
}

void MDIForm1::buildNavigation()
{
    m_navigation = new QWidget(this);
    auto *layout = new QVBoxLayout(m_navigation);
    layout->setContentsMargins(0, 0, 0, 0);

    m_listBar = new QToolBox(m_navigation);
    m_listBar->setObjectName(QStringLiteral("lBarMain"));
    m_tree = new QTreeWidget(m_navigation);
    m_tree->setObjectName(QStringLiteral("trwL"));
    m_tree->setHeaderLabel(tr("Nuvela Suite"));
    m_list = new QListWidget(m_navigation);
    m_list->setObjectName(QStringLiteral("lstL"));

    QString group;
    QListWidget *page = nullptr;
    QTreeWidgetItem *branch = nullptr;
    for (const auto &[code, target] : SuiteCodes::all()) {
        if (target.group != group) {
            group = target.group;
            page = new QListWidget(m_listBar);
            page->setObjectName(QStringLiteral("lBarGroup_") + group);
            connect(page, &QListWidget::itemClicked, this,
                    [this](QListWidgetItem *item) { listBarClicked(item->data(Qt::UserRole).toString()); });
            QString title = group;
            title.replace('&', QLatin1String("&&")); // a literal ampersand, not a mnemonic
            m_listBar->addItem(page, ThemeIcon::get(QStringLiteral("folder")), title);
            branch = new QTreeWidgetItem(m_tree, {group});
        }
        auto *item = new QListWidgetItem(itemCaption(code, target), page);
        item->setData(Qt::UserRole, code);
        auto *leaf = new QTreeWidgetItem(branch, {itemCaption(code, target)});
        leaf->setData(0, Qt::UserRole, code);
    }
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        const QString code = item->data(0, Qt::UserRole).toString();
        if (!code.isEmpty())
            listBarClicked(code);
    });

    for (Tool tool : {Tool::FileOrganizer, Tool::Notebook, Tool::DatabaseUtility,
                      Tool::Conversions, Tool::QuickConversions, Tool::WindowsUtility}) {
        auto *item = new QListWidgetItem(ToolKeys::caption(tool), m_list);
        item->setData(Qt::UserRole, int(tool));
    }
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showTool(Tool(item->data(Qt::UserRole).toInt())); });

    layout->addWidget(m_listBar, 4);
    layout->addWidget(m_tree, 4);
    layout->addWidget(m_list, 1);
    m_tree->hide();

    auto *dock = new QDockWidget(tr("Navigation"), this);
    dock->setObjectName(QStringLiteral("navigation"));
    dock->setWidget(m_navigation);
    dock->setFeatures(QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    resizeDocks({dock}, {230}, Qt::Horizontal);
}

QTextBrowser *MDIForm1::webPane()
{
    // Made on first use: a text browser costs start-up time most sessions never use.
    if (!m_web) {
        m_web = new QTextBrowser(this);
        m_web->setObjectName(QStringLiteral("wBro"));
        m_web->setOpenExternalLinks(true);
        m_centre->addWidget(m_web);
    }
    return m_web;
}

void MDIForm1::showPane(QWidget *pane)
{
    for (QWidget *w : {static_cast<QWidget *>(m_web), static_cast<QWidget *>(m_tree),
                       static_cast<QWidget *>(m_list)}) {
        if (w)
            w->setVisible(w == pane);
    }
    m_centre->setCurrentWidget(pane == m_web ? static_cast<QWidget *>(m_web) : m_mdi);
}

bool MDIForm1::runTool(const QString &id)
{
    static const QHash<QString, Tool> windows = {
        {"ID_File", Tool::FileOrganizer},     {"NuvelaNoteBook", Tool::Notebook},
        {"Database", Tool::DatabaseUtility},  {"ID_Conversion", Tool::Conversions},
        {"AllUnits", Tool::Conversions},      {"AreaVolumeWeight", Tool::Conversions},
        {"QuickConversions", Tool::QuickConversions}, {"ID_Windows", Tool::WindowsUtility},
    };
    if (const auto it = windows.constFind(id); it != windows.constEnd()) {
        showTool(*it);
        return true;
    }
    if (const auto it = siblingTools().constFind(id); it != siblingTools().constEnd()) {
        startSibling(*it);
        return true;
    }
    if (id == QLatin1String("ID_RD")) {
        Store::repair(AppFolders::dataStorePath());
        Dialogs::instance().message(QStringLiteral("The database is successfully repaired.!"),
                                    QString(), Dialogs::Icon::Information);
    } else if (id == QLatin1String("Help1")) {
        ShowHelpFile(AppFolders::helpFilePath());
    } else if (id == QLatin1String("NuvelaSuiteProductDetails")) {
        Platform::instance().openDocument(
            AppFolders::inProgramFolder(QStringLiteral("UserFiles/Misc/Readme/DescIndex.htm")));
    } else if (id == QLatin1String("ID_Web")) {
        const QString page = AppFolders::inProgramFolder(QStringLiteral("NuvelaSuite_Nuvela.htm"));
        QTextBrowser *web = webPane();
        if (QFileInfo::exists(page))
            web->setSource(QUrl::fromLocalFile(page));
        else
            web->setHtml(tr("<h2>Nuvela Utilities</h2><p>The suite's page is not installed.</p>"));
        showPane(web);
    } else if (id == QLatin1String("ID_ToolBar") || id == QLatin1String("ID_ListBar")) {
        showPane(m_list);
    } else if (id == QLatin1String("ID_TreeListBar") || id == QLatin1String("ID_Tree")) {
        showPane(m_tree);
    } else if (id == QLatin1String("ID_Exit")) {
        Platform::instance().exitProcess();
    } else {
        return false; // identifiers of the sibling programs' windows do nothing here
    }
    return true;
}

void MDIForm1::startSibling(const QString &exeName)
{
    const QString program = SiblingProgramPath(exeName);
    if (program.isEmpty()) {
        statusNote(tr("%1 is not installed.").arg(QFileInfo(exeName).completeBaseName()));
        return;
    }
    Platform::instance().startProgram(program);
}

void MDIForm1::listBarClicked(const QString &code)
{
    const std::optional<SuiteCode> target = SuiteCodes::find(code);
    if (!target)
        return;
    const QString program = SiblingProgramPath(target->program);
    if (program.isEmpty()) {
        statusNote(tr("%1 is not installed.").arg(QFileInfo(target->program).completeBaseName()));
        return;
    }
    m_store->exec(QStringLiteral("update nv_setup set key=") + SqlText::literal(target->toolKey));
    Platform::instance().startProgram(program);
    // The sibling finds its key; this program must not hold the store any longer.
    Platform::instance().exitProcess();
}
