#include "frmExpl.h"

#include "AppFolders.h"
#include "CategoryRules.h"
#include "Dialogs.h"
#include "FolderReader.h"
#include "HelpButton.h"
#include "JobRunner.h"
#include "KeyedGrid.h"
#include "ThemeIcon.h"
#include "ToolStrip.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace
{

constexpr int PathRole = Qt::UserRole;
constexpr int LoadedRole = Qt::UserRole + 1;

enum Tab { FolderTab, DatabaseTab, SearchTab };

QIcon folderIcon()
{
    // "Folder" normally, "OpenFolder" while selected.
    QIcon icon = ThemeIcon::get(QStringLiteral("folder"));
    const QIcon open = ThemeIcon::get(QStringLiteral("folder-open"));
    for (const QSize &size : open.availableSizes())
        icon.addPixmap(open.pixmap(size), QIcon::Selected);
    if (open.availableSizes().isEmpty())
        icon.addPixmap(open.pixmap(16), QIcon::Selected);
    return icon;
}

} // namespace

frmExpl::frmExpl(QWidget *parent) : QWidget(parent), m_store(Store::Kind::Data)
{
    setObjectName(QStringLiteral("frmExpl"));
    setWindowTitle(tr("File Organizer"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("system-file-manager")));
    readSettings();
    buildWindow();
    FileGridSetup();
    fillTree();
    resize(1000, 640);
}

frmExpl::~frmExpl() = default;

KeyedGridModel *frmExpl::grid() const
{
    return FileGrid->grid();
}

void frmExpl::readSettings()
{
    m_folders = OrganizerFolders::read(m_store);
}

void frmExpl::buildWindow()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    m_tools = new ToolStrip(QStringLiteral("SSActiveToolBars1"), this);
    m_tools->setIconSize(QSize(20, 20));
    m_tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_tools
        ->addTool(QStringLiteral("ID_User1"), tr("Favourite 1"), QStringLiteral("user-bookmarks"))
        ->setToolTip(m_folders.user1);
    m_tools
        ->addTool(QStringLiteral("ID_User2"), tr("Favourite 2"), QStringLiteral("user-bookmarks"))
        ->setToolTip(m_folders.user2);
    m_tools->addSeparator();
    m_tools->addTool(QStringLiteral("SelectAll"), tr("Select All"),
                     QStringLiteral("edit-select-all"));
    auto *spacer = new QWidget(m_tools);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_tools->addWidget(spacer);
    m_tools->addWidget(new HelpButton(QStringLiteral("UTL0035"), m_tools));
    connect(m_tools, &ToolStrip::toolClicked, this, &frmExpl::onToolClicked);
    outer->addWidget(m_tools);

    m_body = new QWidget(this);
    auto *bodyLayout = new QHBoxLayout(m_body);
    bodyLayout->setContentsMargins(6, 6, 6, 6);
    auto *splitter = new QSplitter(Qt::Horizontal, m_body);
    bodyLayout->addWidget(splitter);
    outer->addWidget(m_body, 1);

    // Left: the folder tree over the tabs of the views and the search.
    auto *left = new QSplitter(Qt::Vertical, splitter);
    tvFolder = new QTreeWidget(left);
    tvFolder->setObjectName(QStringLiteral("tvFolder"));
    tvFolder->setHeaderHidden(true);
    tvFolder->setUniformRowHeights(true);
    connect(tvFolder, &QTreeWidget::currentItemChanged, this, &frmExpl::onTreeItemChanged);
    connect(tvFolder, &QTreeWidget::itemExpanded, this, &frmExpl::fillSubfolders);

    m_tabs = new QTabWidget(left);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->addTab(buildFolderTab(), ThemeIcon::get(QStringLiteral("folder")), tr("Folder"));
    m_tabs->addTab(buildDatabaseTab(), ThemeIcon::get(QStringLiteral("drive-harddisk")),
                   tr("Database"));
    m_tabs->addTab(buildSearchTab(), ThemeIcon::get(QStringLiteral("edit-find")), tr("Search"));
    connect(m_tabs, &QTabWidget::currentChanged, this, &frmExpl::onTabChanged);
    left->setStretchFactor(0, 3);
    left->setStretchFactor(1, 2);

    // Right: the grid with the properties panel beside it, the status line under both.
    auto *right = new QWidget(splitter);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto *gridRow = new QHBoxLayout;
    FileGrid = new KeyedGrid(right);
    FileGrid->setObjectName(QStringLiteral("FileGrid"));
    gridRow->addWidget(FileGrid, 1);
    pnlPro = buildPropertiesPanel();
    gridRow->addWidget(pnlPro);
    rightLayout->addLayout(gridRow, 1);

    auto *status = new QHBoxLayout;
    m_recordLabel = new QLabel(right);
    m_recordLabel->setObjectName(QStringLiteral("lblRecord"));
    LblFileSize = new QLabel(right);
    LblFileSize->setObjectName(QStringLiteral("LblFileSize"));
    lblCurrentFolder = new QLabel(right);
    lblCurrentFolder->setObjectName(QStringLiteral("lblCurrentFolder"));
    lblCurrentFolder->setTextInteractionFlags(Qt::NoTextInteraction);
    Animation1 = new QProgressBar(right);
    Animation1->setObjectName(QStringLiteral("Animation1"));
    Animation1->setRange(0, 0);
    Animation1->setMaximumWidth(120);
    Animation1->setTextVisible(false);
    Animation1->hide();
    status->addWidget(m_recordLabel);
    status->addSpacing(24);
    status->addWidget(LblFileSize);
    status->addSpacing(24);
    status->addWidget(lblCurrentFolder, 1);
    status->addWidget(Animation1);
    rightLayout->addLayout(status);

    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 700});

    connect(FileGrid, &KeyedGrid::currentGridRowChanged, this, &frmExpl::onCurrentRowChanged);
    connect(FileGrid, &KeyedGrid::rowPicked, this, &frmExpl::onRowPicked);
    buildFilterBoxes();
}

QWidget *frmExpl::buildFolderTab()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    frmLookIn = new QFrame(page);
    frmLookIn->setObjectName(QStringLiteral("frmLookIn"));
    auto *lookInLayout = new QVBoxLayout(frmLookIn);
    lookInLayout->setContentsMargins(0, 0, 0, 0);
    lookInLayout->addWidget(new QLabel(tr("Look in:"), frmLookIn));
    auto *row = new QHBoxLayout;
    BrowseFolder1 = new QLineEdit(frmLookIn);
    BrowseFolder1->setObjectName(QStringLiteral("BrowseFolder1"));
    BrowseFolder1->setPlaceholderText(tr("Folder to list"));
    connect(BrowseFolder1, &QLineEdit::returnPressed, this,
            [this] { ListFolderToGrid(BrowseFolder1->text().trimmed()); });
    auto *browse = new QToolButton(frmLookIn);
    browse->setObjectName(QStringLiteral("cmdLookIn"));
    browse->setIcon(ThemeIcon::get(QStringLiteral("folder-open")));
    browse->setToolTip(tr("Choose a folder"));
    connect(browse, &QToolButton::clicked, this, &frmExpl::chooseLookInFolder);
    row->addWidget(BrowseFolder1, 1);
    row->addWidget(browse);
    lookInLayout->addLayout(row);
    layout->addWidget(frmLookIn);
    layout->addStretch(1);
    return page;
}

QWidget *frmExpl::buildDatabaseTab()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_rescan = new QCheckBox(tr("Rescan the default folder"), page);
    m_rescan->setObjectName(QStringLiteral("chkRescan"));
    m_rescan->setToolTip(m_folders.defaultFolder);
    layout->addWidget(m_rescan);
    SSListBar1 = new QListWidget(page);
    SSListBar1->setObjectName(QStringLiteral("SSListBar1"));
    SSListBar1->setIconSize(QSize(24, 24));
    connect(SSListBar1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { SelectCategory(item->text()); });
    layout->addWidget(SSListBar1, 1);
    return page;
}

QWidget *frmExpl::buildSearchTab()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    auto *folderRow = new QHBoxLayout;
    BrowseFolder2 = new QLineEdit(page);
    BrowseFolder2->setObjectName(QStringLiteral("BrowseFolder2"));
    BrowseFolder2->setText(m_folders.defaultFolder);
    auto *browse = new QToolButton(page);
    browse->setIcon(ThemeIcon::get(QStringLiteral("folder-open")));
    browse->setToolTip(tr("Choose the folder to search"));
    connect(browse, &QToolButton::clicked, this, [this] {
        const QString folder =
            Dialogs::instance().folderName(tr("Search in"), BrowseFolder2->text());
        if (!folder.isEmpty())
            BrowseFolder2->setText(folder);
    });
    folderRow->addWidget(BrowseFolder2, 1);
    folderRow->addWidget(browse);
    form->addRow(tr("Look in:"), folderRow);

    Combo1 = new QComboBox(page);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setToolTip(tr("File names, wildcards * and ?, several separated by ;"));
    form->addRow(tr("Named:"), Combo1);

    txFileName = new QComboBox(page);
    txFileName->setObjectName(QStringLiteral("txFileName"));
    txFileName->setEditable(true);
    txFileName->addItem(QString());
    txFileName->addItems(CategoryRules(m_store).extensionPatterns());
    form->addRow(tr("Type:"), txFileName);

    dxCheckBox1 = new QCheckBox(tr("Search subfolders"), page);
    dxCheckBox1->setObjectName(QStringLiteral("dxCheckBox1"));
    form->addRow(dxCheckBox1);

    cmdSearch = new QPushButton(ThemeIcon::get(QStringLiteral("edit-find")), tr("Search"), page);
    cmdSearch->setObjectName(QStringLiteral("cmdSearch"));
    connect(cmdSearch, &QPushButton::clicked, this, &frmExpl::onSearch);
    form->addRow(cmdSearch);
    return page;
}

QFrame *frmExpl::buildPropertiesPanel()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("pnlPro"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFixedWidth(200);
    auto *layout = new QVBoxLayout(panel);
    // The file's own name in bold, then its cells by caption; the full panel (type, preview,
    // attribute boxes) builds on these labels.
    lblFileName = new QLabel(panel);
    lblFileName->setObjectName(QStringLiteral("lblFileName"));
    lblFileName->setWordWrap(true);
    QFont bold = lblFileName->font();
    bold.setBold(true);
    lblFileName->setFont(bold);
    layout->addWidget(lblFileName);
    auto *form = new QFormLayout;
    auto makeLabel = [panel, form](const QString &name, const QString &caption) {
        auto *label = new QLabel(panel);
        label->setObjectName(name);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(caption, label);
        return label;
    };
    LblName = makeLabel(QStringLiteral("LblName"), tr("Name:"));
    LblSize = makeLabel(QStringLiteral("LblSize"), tr("Size:"));
    LblModified = makeLabel(QStringLiteral("LblModified"), tr("Modified:"));
    layout->addLayout(form);
    layout->addStretch(1);
    panel->hide();
    return panel;
}

void frmExpl::fillTree()
{
    tvFolder->clear();
    m_fileManagerNode = new QTreeWidgetItem(tvFolder, {tr("File Manager")});
    m_fileManagerNode->setIcon(0, ThemeIcon::get(QStringLiteral("system-file-manager")));
    m_findFileNode = new QTreeWidgetItem(tvFolder, {tr("Find File")});
    m_findFileNode->setIcon(0, ThemeIcon::get(QStringLiteral("edit-find")));
    m_categoryNode = new QTreeWidgetItem(tvFolder, {tr("File Category Wise")});
    m_categoryNode->setIcon(0, ThemeIcon::get(QStringLiteral("view-list-details")));

    // The folder branch starts at the default folder (the home folder when none is set).
    const QString start =
        m_folders.defaultFolder.isEmpty() ? QDir::homePath() : m_folders.defaultFolder;
    auto *root = new QTreeWidgetItem(m_fileManagerNode, {QDir::toNativeSeparators(start)});
    root->setData(0, PathRole, start);
    root->setIcon(0, folderIcon());
    root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    m_fileManagerNode->setExpanded(true);

    CategoryRules rules(m_store);
    QStringList categories;
    for (const CategoryRules::Category &category : rules.categories())
        categories << category.folderType;
    categories << CategoryRules::others();
    for (const QString &category : std::as_const(categories)) {
        auto *node = new QTreeWidgetItem(m_categoryNode, {category});
        node->setData(0, PathRole, category);
        node->setIcon(0, ThemeIcon::get(QStringLiteral("folder")));
    }
}

void frmExpl::fillSubfolders(QTreeWidgetItem *item)
{
    if (!item || item->parent() == nullptr || item->data(0, LoadedRole).toBool())
        return;
    QTreeWidgetItem *top = item;
    while (top->parent())
        top = top->parent();
    if (top != m_fileManagerNode)
        return;
    item->setData(0, LoadedRole, true);
    const QString folder = item->data(0, PathRole).toString();
    std::vector<FileEntry> entries;
    FolderReader::read(folder, entries);
    QStringList names;
    for (const FileEntry &entry : entries) {
        if (entry.isFolder)
            names << entry.name();
    }
    names.sort(Qt::CaseInsensitive);
    const QIcon icon = folderIcon();
    for (const QString &name : std::as_const(names)) {
        auto *child = new QTreeWidgetItem(item, {name});
        child->setData(0, PathRole, QDir(folder).filePath(name));
        child->setIcon(0, icon);
        child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    if (names.isEmpty())
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void frmExpl::onTreeItemChanged(QTreeWidgetItem *current)
{
    if (!current)
        return;
    QTreeWidgetItem *top = current;
    while (top->parent())
        top = top->parent();
    m_branch = top == m_findFileNode   ? Branch::FindFile
               : top == m_categoryNode ? Branch::CategoryWise
                                       : Branch::FileManager;
    m_category.clear();
    if (current == top)
        return;
    const QString key = current->data(0, PathRole).toString();
    switch (m_branch) {
    case Branch::FileManager:
        ListFolderToGrid(key);
        break;
    case Branch::FindFile:
        SearchResultsToGrid(key, m_searchHits.value(key));
        break;
    case Branch::CategoryWise:
        if (m_viewMode != ViewMode::Database)
            LoadCatalogueGrid();
        m_category = key;
        SelectCategory(key);
        ComboExtItem(key);
        break;
    }
}

void frmExpl::onTabChanged(int index)
{
    if (index == DatabaseTab)
        LoadCatalogueGrid();
    else if (index == FolderTab && m_viewMode == ViewMode::Database && !m_currentFolder.isEmpty())
        ListFolderToGrid(m_currentFolder);
}

void frmExpl::onToolClicked(const QString &id)
{
    if (id == QLatin1String("SelectAll"))
        SelectAll();
    else if (id == QLatin1String("ID_User1"))
        ListFolderToGrid(m_folders.user1);
    else if (id == QLatin1String("ID_User2"))
        ListFolderToGrid(m_folders.user2);
}

bool frmExpl::runJob(Job &job, const QString &title)
{
    m_jobRunning = true;
    const bool completed = JobRunner::run(job, m_body, title, lblCurrentFolder);
    m_jobRunning = false;
    return completed;
}

void frmExpl::closeEvent(QCloseEvent *event)
{
    if (m_jobRunning)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void frmExpl::chooseLookInFolder()
{
    const QString folder = Dialogs::instance().folderName(
        tr("Look in"), m_currentFolder.isEmpty() ? m_folders.defaultFolder : m_currentFolder);
    if (!folder.isEmpty())
        ListFolderToGrid(folder);
}
