// The main window's navigation: the menu strip MenuL, the layout panes and the list bar.
#include "MDIForm1.h"

#include "AppFolders.h"
#include "Dialogs.h"
#include "Platform.h"
#include "SetupRow.h"
#include "SharedRoutines.h"
#include "Store.h"
#include "ThemeIcon.h"
#include "ToolKeys.h"
#include "ToolRegistry.h"
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

namespace
{

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

    auto addTool = [this](QMenu *m, const QString &id, const QString &text, const QIcon &icon) {
        QAction *a = m->addAction(icon, text);
        a->setObjectName(id);
        connect(a, &QAction::triggered, this, [this, id] { runTool(id); });
        return a;
    };
    auto addMenu = [this, menu, addTool](const QString &title,
                                         std::initializer_list<MenuTool> tools) {
        QMenu *m = menu->addMenu(title);
        for (const MenuTool &t : tools) {
            if (!t.id)
                m->addSeparator();
            else
                addTool(m, QString::fromLatin1(t.id), QString::fromLatin1(t.text),
                        ThemeIcon::get(QString::fromLatin1(t.icon)));
        }
        return m;
    };

    // The tool windows of this program, as their libraries registered them.
    QMenu *utilities = menu->addMenu(tr("&Utilities"));
    int section = -1;
    for (const ToolRegistry::Tool &tool : ToolRegistry::all()) {
        if (tool->commands.isEmpty())
            continue;
        if (section != -1 && tool->section != section)
            utilities->addSeparator();
        section = tool->section;
        const QIcon icon = ThemeIcon::get(tool->icon);
        for (const ToolDescription::Command &command : tool->commands)
            addTool(utilities, command.id, command.text, icon);
        strip->addAction(findChild<QAction *>(tool->commands.first().id));
    }
    if (section != -1)
        utilities->addSeparator();
    addTool(utilities, QStringLiteral("ID_RD"), tr("&Repair Database"),
            ThemeIcon::get(QStringLiteral("tools-check-spelling")));
    utilities->addSeparator();
    addTool(utilities, QStringLiteral("ID_Exit"), tr("E&xit"),
            ThemeIcon::get(QStringLiteral("application-exit")));
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

    buildToolLists();
    QString group;
    QListWidget *page = nullptr;
    QTreeWidgetItem *branch = nullptr;
    for (const auto &[code, target] : SuiteCodes::all()) {
        if (target.group != group) {
            group = target.group;
            page = new QListWidget(m_listBar);
            page->setObjectName(QStringLiteral("lBarGroup_") + group);
            connect(page, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
                listBarClicked(item->data(Qt::UserRole).toString());
            });
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

    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { openTool(item->data(Qt::UserRole).toString()); });

    layout->addWidget(m_listBar, 4);
    layout->addWidget(m_tree, 4);
    layout->addWidget(m_list, 1);
    // The list bar lists the tools already; the tree and the list pane wait for the layout
    // commands.
    m_tree->hide();
    m_list->hide();

    auto *dock = new QDockWidget(tr("Navigation"), this);
    dock->setObjectName(QStringLiteral("navigation"));
    dock->setWidget(m_navigation);
    dock->setFeatures(QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    resizeDocks({dock}, {230}, Qt::Horizontal);
}

void MDIForm1::buildToolLists()
{
    // This program's own windows come first in the list bar; the list pane lists them too.
    auto *page = new QListWidget(m_listBar);
    page->setObjectName(QStringLiteral("lBarGroup_Utilities"));
    page->setIconSize(QSize(32, 32));
    connect(page, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { openTool(item->data(Qt::UserRole).toString()); });
    for (const ToolRegistry::Tool &tool : ToolRegistry::all()) {
        if (tool->commands.isEmpty())
            continue; // opened by other windows only
        const QIcon icon = ThemeIcon::get(tool->icon);
        for (QListWidget *list : {page, m_list}) {
            auto *item = new QListWidgetItem(icon, tool->caption, list);
            item->setData(Qt::UserRole, tool->name);
        }
    }
    if (page->count() == 0) {
        delete page;
        return;
    }
    m_listBar->addItem(page, ThemeIcon::get(QStringLiteral("applications-utilities")),
                       tr("Nuvela Utilities"));
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
    if (const ToolRegistry::Tool tool = ToolRegistry::findByCommand(id)) {
        openTool(tool->name);
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
    SetupRow::writeKey(*m_store, target->toolKey);
    Platform::instance().startProgram(program);
    // The sibling finds its key; this program must not hold the store any longer.
    Platform::instance().exitProcess();
}
