#include "frmDblist.h"

#include "Dialogs.h"
#include "FileExportWindow.h"
#include "FileFacts.h"
#include "FrmScan.h"
#include "HelpButton.h"
#include "JobRunner.h"
#include "KeyedGrid.h"
#include "ListPrintWindow.h"
#include "NotebookList.h"
#include "RecordGridDelegate.h"
#include "RecordOrderJob.h"
#include "RecordPager.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"
#include "ToolHost.h"
#include "ToolStrip.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{

const QString Caption = QStringLiteral("DBViewer");

QLabel *captionLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

frmDblist::frmDblist(QWidget *parent) : QWidget(parent), m_info(Store::Kind::Info)
{
    setObjectName(QStringLiteral("frmDblist"));
    setWindowTitle(Caption);
    setWindowIcon(ThemeIcon::get(QStringLiteral("x-office-spreadsheet")));
    m_look = GridLook::read();
    m_back = m_backAlternate = FavouritesCatalogue::DefaultBackColor;
    m_fore = FavouritesCatalogue::DefaultForeColor;
    m_fillTimer = new QTimer(this);
    m_fillTimer->setInterval(0);
    connect(m_fillTimer, &QTimer::timeout, this, &frmDblist::fillMore);
    buildWindow();
    applyLook();
    paintColourButtons();
    fillSchemeBoxes();
    // Favourites whose file has gone are forgotten before the list is read.
    m_browser.favourites().cleanUp();
    LoadFavourites();
    setRecordMode(RecordMode::View);
    resize(1240, 720);
}

frmDblist::~frmDblist()
{
    m_fillTimer->stop();
    // The grid lets go of the pager before the connection it reads closes.
    m_grid->grid()->setRowSource(nullptr);
    m_pager.reset();
}

KeyedGridModel *frmDblist::records() const
{
    return m_grid->grid();
}

void frmDblist::handOver(const QString &file, bool outer)
{
    if (outer) {
        m_outer = true;
        setProperty("Tag", QStringLiteral("Outer"));
    }
    if (!file.isEmpty())
        AddFromFileManager(file);
}

void frmDblist::closeEvent(QCloseEvent *event)
{
    // A window whose records are being read stays open until the job has ended.
    if (m_busy) {
        event->ignore();
        return;
    }
    // Typed texts that cannot be written keep the window open, so they can be put right.
    if (!finishEditing()) {
        event->ignore();
        return;
    }
    m_fillTimer->stop();
    event->accept();
    if (!m_outer) {
        if (ToolHost *host = ToolHost::instance())
            host->showNavigation();
    }
}

void frmDblist::report(const QString &message)
{
    if (m_browser.firstReport(message))
        Dialogs::instance().message(message, Caption, Dialogs::Icon::Warning);
}

void frmDblist::reportTableError(const QString &error)
{
    // Named by its file, and by its table where the file has several.
    const QString file = QFileInfo(m_browser.path()).fileName();
    const QString table = m_browser.table();
    report(table.isEmpty() || table == file
               ? QStringLiteral("%1: %2").arg(file, error)
               : QStringLiteral("%1, table %2: %3").arg(file, table, error));
}

bool frmDblist::runOrderJob(const std::shared_ptr<RecordPager> &pager)
{
    // The pager on screen reads nothing while the job has the connection.
    if (m_pager)
        m_pager->freeze(true);
    m_fillTimer->stop();
    m_busy = true;
    RecordOrderJob job(pager);
    JobRunner::run(job, this, tr("Reading records"));
    m_busy = false;
    if (m_pager)
        m_pager->freeze(false);
    if (!job.succeeded()) {
        if (!job.error().isEmpty())
            reportTableError(job.error());
        if (m_pager && !m_pager->isComplete())
            m_fillTimer->start();
        return false;
    }
    return true;
}

void frmDblist::buildWindow()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    buildTools();
    outer->addWidget(m_tools);

    auto *body = new QWidget(this);
    auto *bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(6, 6, 6, 6);
    auto *splitter = new QSplitter(Qt::Horizontal, body);
    splitter->setChildrenCollapsible(false);
    bodyLayout->addWidget(splitter);
    outer->addWidget(body, 1);

    m_leftPanels = new QStackedWidget(splitter);
    m_leftPanels->setObjectName(QStringLiteral("pnlLeft"));
    m_leftPanels->addWidget(buildFavouritesPanel());
    m_leftPanels->addWidget(buildSearchPanel());
    splitter->addWidget(m_leftPanels);
    m_middle = new QStackedWidget(splitter);
    m_middle->addWidget(buildFieldsPane());
    m_scan = new FrmScan(m_middle);
    m_middle->addWidget(m_scan);
    connect(m_scan, &FrmScan::scanRequested, this, &frmDblist::CmdScan_Click);
    connect(m_scan, &FrmScan::closeRequested, this, [this] { m_middle->setCurrentIndex(0); });
    splitter->addWidget(m_middle);
    splitter->addWidget(buildRecordsPane());
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 0);
    splitter->setStretchFactor(2, 1);
    splitter->setSizes({220, 250, 770});
}

void frmDblist::iconOnly(QAction *tool)
{
    if (auto *button = qobject_cast<QToolButton *>(m_tools->widgetForAction(tool))) {
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setToolTip(tool->text().remove(QLatin1Char('&')));
    }
}

QAction *frmDblist::addMenuTool(QMenu *menu, const QString &id, const QString &text,
                                const QString &icon)
{
    // Tools of drop-down menus belong to the window, so they are found by their identifier.
    auto *action = new QAction(text, this);
    action->setObjectName(id);
    if (!icon.isEmpty())
        action->setIcon(ThemeIcon::get(icon));
    connect(action, &QAction::triggered, this, [this, id] { onToolClicked(id); });
    menu->addAction(action);
    return action;
}

QMenu *frmDblist::addMenuButton(const QString &id, const QString &text, const QString &icon,
                                bool withText)
{
    QAction *tool = m_tools->addTool(id, text, icon);
    auto *menu = new QMenu(this);
    tool->setMenu(menu);
    if (auto *button = qobject_cast<QToolButton *>(m_tools->widgetForAction(tool)))
        button->setPopupMode(QToolButton::InstantPopup);
    if (!withText)
        iconOnly(tool);
    return menu;
}

void frmDblist::buildTools()
{
    m_tools = new ToolStrip(QStringLiteral("SSActiveToolBars1"), this);
    m_tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_tools->addTool(QStringLiteral("Favorites"), tr("Browse"), QStringLiteral("user-bookmarks"));
    m_tools->addTool(QStringLiteral("Add"), tr("Add"), QStringLiteral("list-add"));
    iconOnly(m_tools->addTool(QStringLiteral("Delete"), tr("Delete the Favourite"),
                              QStringLiteral("list-remove")));
    iconOnly(m_tools->addTool(QStringLiteral("DeleteAll"), tr("Delete All Favourites"),
                              QStringLiteral("edit-clear-all")));
    iconOnly(m_tools->addTool(QStringLiteral("ScanDatabase"), tr("Scan for Databases"),
                              QStringLiteral("folder-saved-search")));
    m_tools->addSeparator();

    QMenu *sortMenu = addMenuButton(QStringLiteral("Sort"), tr("Sort"),
                                    QStringLiteral("view-sort-ascending"), true);
    sortMenu->setObjectName(QStringLiteral("ID_SortMenu"));
    for (int i = 1; i <= 5; ++i)
        addMenuTool(sortMenu, QStringLiteral("ID_Sort%1").arg(i), QString())->setVisible(false);
    m_tools->tool(QStringLiteral("Sort"))->setVisible(false);
    iconOnly(m_tools->addTool(QStringLiteral("ID_List"), tr("Show the Filter Boxes"),
                              QStringLiteral("edit-find")));
    m_tools->addTool(QStringLiteral("ID_Query"), tr("Query"), QStringLiteral("utilities-terminal"));
    iconOnly(m_tools->addTool(QStringLiteral("Simple"), tr("Marked Fields"),
                              QStringLiteral("format-justify-left")));
    iconOnly(m_tools->addTool(QStringLiteral("Details"), tr("Field Details"),
                              QStringLiteral("document-properties")));
    m_tools->addSeparator();
    QMenu *saveMenu = addMenuButton(QStringLiteral("Saveas"), tr("Save as List"),
                                    QStringLiteral("document-save-as"), false);
    saveMenu->setObjectName(QStringLiteral("SaveasM"));
    addMenuTool(saveMenu, QStringLiteral("Saveas1"), tr("Save as Notebook List"),
                QStringLiteral("document-save-as"));
    addMenuTool(saveMenu, QStringLiteral("FileExport"), tr("Export..."),
                QStringLiteral("document-export"));
    iconOnly(m_tools->addTool(QStringLiteral("ListPrint"), tr("Print the Records"),
                              QStringLiteral("document-print")));
    m_tools->addSeparator();
    buildLookTools();

    auto *spacer = new QWidget(m_tools);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_tools->addWidget(spacer);
    m_tools->addWidget(new HelpButton(QStringLiteral("UTL0031"), m_tools));
    connect(m_tools, &ToolStrip::toolClicked, this, &frmDblist::onToolClicked);
}

QWidget *frmDblist::buildFavouritesPanel()
{
    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("frmFavourites"));
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    QLabel *caption = captionLabel(tr("Favourites"), panel);
    m_captions.append(caption);
    layout->addWidget(caption);
    grdFavData = new KeyedGrid(panel);
    grdFavData->setObjectName(QStringLiteral("grdFavData"));
    grdFavData->setSelectionMode(QAbstractItemView::SingleSelection);
    grdFavData->setSelectionBehavior(QAbstractItemView::SelectRows);
    KeyedGridModel *favourites = grdFavData->grid();
    favourites->setFormatText(QStringLiteral("Db Name                        |dbname|Loc|dbtype"));
    favourites->setColumnKeys({"Name", "dbname", "Loc", "dbtype"});
    for (const char *hidden : {"dbname", "Loc", "dbtype"})
        favourites->setColumnHidden(QLatin1String(hidden), true);
    connect(grdFavData, &KeyedGrid::currentGridRowChanged, this, &frmDblist::SelectFavourite);
    layout->addWidget(grdFavData, 1);

    layout->addWidget(buildAddPanel(panel));
    layout->addWidget(buildColourButtons(panel));
    layout->addWidget(buildAttributeBoxes(panel));
    return panel;
}

QFrame *frmDblist::buildAddPanel(QWidget *panel)
{
    m_addPanel = new QFrame(panel);
    m_addPanel->setObjectName(QStringLiteral("frmAdd"));
    m_addPanel->setFrameShape(QFrame::StyledPanel);
    auto *add = new QGridLayout(m_addPanel);
    add->addWidget(new QLabel(tr("Database file:"), m_addPanel), 0, 0, 1, 3);
    m_addPath = new QLineEdit(m_addPanel);
    m_addPath->setObjectName(QStringLiteral("txtAddPath"));
    m_addPath->setPlaceholderText(tr("Path of the file"));
    add->addWidget(m_addPath, 1, 0, 1, 2);
    auto *pick = new QToolButton(m_addPanel);
    pick->setObjectName(QStringLiteral("cmdAddBrowse"));
    pick->setIcon(ThemeIcon::get(QStringLiteral("document-open")));
    pick->setToolTip(tr("Choose the file"));
    add->addWidget(pick, 1, 2);
    auto *addButton =
        new QPushButton(ThemeIcon::get(QStringLiteral("list-add")), tr("Add"), m_addPanel);
    addButton->setObjectName(QStringLiteral("cmdAdd"));
    auto *cancel = new QPushButton(tr("Cancel"), m_addPanel);
    cancel->setObjectName(QStringLiteral("cmdAddCancel"));
    add->addWidget(addButton, 2, 0);
    add->addWidget(cancel, 2, 1, 1, 2);
    m_addPanel->hide();
    connect(pick, &QToolButton::clicked, this, [this] {
        const QString path = Dialogs::instance().openFileName(tr("Add a Database"), QString(),
                                                              DbSourceType::favouriteFilter());
        if (!path.isEmpty())
            m_addPath->setText(path);
    });
    connect(addButton, &QPushButton::clicked, this, &frmDblist::onAddClicked);
    connect(cancel, &QPushButton::clicked, m_addPanel, &QWidget::hide);

    return m_addPanel;
}

QWidget *frmDblist::buildColourButtons(QWidget *panel)
{
    auto *colours = new QGroupBox(tr("Colours"), panel);
    m_captions.append(colours);
    auto *colourLayout = new QHBoxLayout(colours);
    CmdBackcolor = new QPushButton(tr("Back"), colours);
    CmdBackcolor->setObjectName(QStringLiteral("CmdBackcolor"));
    cmdBackColorA = new QPushButton(tr("Alternate"), colours);
    cmdBackColorA->setObjectName(QStringLiteral("cmdBackColorA"));
    CmdForeColor = new QPushButton(tr("Text"), colours);
    CmdForeColor->setObjectName(QStringLiteral("CmdForeColor"));
    for (QPushButton *button : {CmdBackcolor, cmdBackColorA, CmdForeColor})
        colourLayout->addWidget(button);
    connect(CmdBackcolor, &QPushButton::clicked, this,
            [this] { chooseColour(FavouritesCatalogue::Colour::Back); });
    connect(cmdBackColorA, &QPushButton::clicked, this,
            [this] { chooseColour(FavouritesCatalogue::Colour::BackAlternate); });
    connect(CmdForeColor, &QPushButton::clicked, this,
            [this] { chooseColour(FavouritesCatalogue::Colour::Fore); });

    return colours;
}

QWidget *frmDblist::buildAttributeBoxes(QWidget *panel)
{
    auto *attributes = new QGroupBox(tr("File Attributes"), panel);
    m_captions.append(attributes);
    auto *attributeLayout = new QGridLayout(attributes);
    chkAttrArchive = new QCheckBox(tr("Archive"), attributes);
    chkAttrArchive->setObjectName(QStringLiteral("chkAttrArchive"));
    chkAttrHidden = new QCheckBox(tr("Hidden"), attributes);
    chkAttrHidden->setObjectName(QStringLiteral("chkAttrHidden"));
    chkAttrReadolny = new QCheckBox(tr("Read-only"), attributes);
    chkAttrReadolny->setObjectName(QStringLiteral("chkAttrReadolny"));
    chkAttrSystem = new QCheckBox(tr("System"), attributes);
    chkAttrSystem->setObjectName(QStringLiteral("chkAttrSystem"));
    attributeLayout->addWidget(chkAttrArchive, 0, 0);
    attributeLayout->addWidget(chkAttrHidden, 0, 1);
    attributeLayout->addWidget(chkAttrReadolny, 1, 0);
    attributeLayout->addWidget(chkAttrSystem, 1, 1);
    const QList<QPair<QCheckBox *, int>> boxes{{chkAttrArchive, FileFacts::Archive},
                                               {chkAttrHidden, FileFacts::Hidden},
                                               {chkAttrReadolny, FileFacts::ReadOnly},
                                               {chkAttrSystem, FileFacts::System}};
    for (const auto &[box, attribute] : boxes) {
        connect(box, &QCheckBox::clicked, this,
                [this, box = box, attribute = attribute] { onAttributeTicked(box, attribute); });
    }
    return attributes;
}

QWidget *frmDblist::buildSearchPanel()
{
    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("frmSearch"));
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    QLabel *caption = captionLabel(tr("Browse"), panel);
    m_captions.append(caption);
    layout->addWidget(caption);
    layout->addWidget(new QLabel(tr("Type of database:"), panel));
    cboDbType = new QComboBox(panel);
    cboDbType->setObjectName(QStringLiteral("cboDbType"));
    cboDbType->addItems(DbSourceType::boxItems());
    layout->addWidget(cboDbType);
    layout->addWidget(new QLabel(tr("File:"), panel));
    auto *row = new QHBoxLayout;
    m_browsePath = new QLineEdit(panel);
    m_browsePath->setObjectName(QStringLiteral("txtPath"));
    m_browsePath->setPlaceholderText(tr("Path of the database"));
    auto *open = new QToolButton(panel);
    open->setObjectName(QStringLiteral("cmdOpen"));
    open->setIcon(ThemeIcon::get(QStringLiteral("document-open")));
    open->setToolTip(tr("Choose the file"));
    row->addWidget(m_browsePath, 1);
    row->addWidget(open);
    layout->addLayout(row);
    auto *addBrowsed = new QPushButton(ThemeIcon::get(QStringLiteral("user-bookmarks")),
                                       tr("Add to Favourites"), panel);
    addBrowsed->setObjectName(QStringLiteral("cmdAddBrowsed"));
    layout->addWidget(addBrowsed);
    layout->addStretch(1);
    m_dialogFilter = DbSourceType::dialogFilter(QString());
    connect(cboDbType, &QComboBox::activated, this,
            [this] { m_dialogFilter = DbSourceType::dialogFilter(cboDbType->currentText()); });
    connect(open, &QToolButton::clicked, this, &frmDblist::chooseFile);
    connect(m_browsePath, &QLineEdit::returnPressed, this, [this] {
        if (!m_browsePath->text().trimmed().isEmpty())
            OpenSource(m_browsePath->text().trimmed(), cboDbType->currentText());
    });
    connect(addBrowsed, &QPushButton::clicked, this, [this] {
        const QString path = m_browsePath->text().trimmed();
        if (!path.isEmpty() && AddFavourite(path))
            toggleFavourites();
    });
    return panel;
}

QWidget *frmDblist::buildFieldsPane()
{
    auto *pane = new QWidget;
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tablesCaption = captionLabel(tr("Tables"), pane);
    m_captions.append(m_tablesCaption);
    layout->addWidget(m_tablesCaption);
    m_tableList = new QListWidget(pane);
    m_tableList->setObjectName(QStringLiteral("lstTables"));
    connect(m_tableList, &QListWidget::currentTextChanged, this, [this](const QString &table) {
        if (!m_filling && !table.isEmpty())
            ListFields(table);
    });
    connect(m_tableList, &QListWidget::itemDoubleClicked, this, [this] { CmdNext_Click(); });
    layout->addWidget(m_tableList, 2);

    m_fieldTabs = new QTabWidget(pane);
    m_fieldTabs->setObjectName(QStringLiteral("tabFields"));
    lstFields = new QListWidget(m_fieldTabs);
    lstFields->setObjectName(QStringLiteral("lstFields"));
    lstFields->setToolTip(tr("Tick up to five fields to sort, filter and group by"));
    connect(lstFields, &QListWidget::itemChanged, this, &frmDblist::onFieldTicked);
    m_fieldTabs->addTab(lstFields, tr("Marked"));
    Grid3 = new KeyedGrid(m_fieldTabs);
    Grid3->setObjectName(QStringLiteral("Grid3"));
    Grid3->grid()->setFormatText(QStringLiteral("Name            |Type           |Size     "));
    m_fieldTabs->addTab(Grid3, tr("Fields"));
    Grid4 = new QTableWidget(0, 2, m_fieldTabs);
    Grid4->setObjectName(QStringLiteral("Grid4"));
    Grid4->setHorizontalHeaderLabels({tr("Name"), tr("View")});
    Grid4->verticalHeader()->hide();
    Grid4->horizontalHeader()->setStretchLastSection(true);
    Grid4->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(Grid4, &QTableWidget::cellChanged, this, &frmDblist::onVisibilityChanged);
    m_fieldTabs->addTab(Grid4, tr("View"));
    m_details = new KeyedGrid(m_fieldTabs);
    m_details->setObjectName(QStringLiteral("grdDetails"));
    m_details->grid()->setFormatText(QStringLiteral("Name          |Type         |Size   |View"));
    m_fieldTabs->addTab(m_details, tr("Details"));
    layout->addWidget(m_fieldTabs, 3);

    auto *buttons = new QHBoxLayout;
    auto *single = new QPushButton(ThemeIcon::get(QStringLiteral("go-first")), tr("Single"), pane);
    single->setObjectName(QStringLiteral("CmdSingle"));
    single->setToolTip(tr("Choose another database"));
    auto *next = new QPushButton(ThemeIcon::get(QStringLiteral("go-next")), tr("Next"), pane);
    next->setObjectName(QStringLiteral("CmdNext"));
    next->setToolTip(tr("Show the records of the table"));
    next->setDefault(true);
    buttons->addWidget(single);
    buttons->addStretch(1);
    buttons->addWidget(next);
    layout->addLayout(buttons);
    connect(single, &QPushButton::clicked, this, &frmDblist::CmdSingle_Click);
    connect(next, &QPushButton::clicked, this, &frmDblist::CmdNext_Click);
    return pane;
}

QWidget *frmDblist::buildRecordsPane()
{
    auto *pane = new QWidget;
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *heading = new QGridLayout;
    LblName = new QLabel(pane);
    LblName->setObjectName(QStringLiteral("LblName"));
    LblName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblTblName = captionLabel(QString(), pane);
    lblTblName->setObjectName(QStringLiteral("lblTblName"));
    m_captions.append(lblTblName);
    LblRcount = new QLabel(pane);
    LblRcount->setObjectName(QStringLiteral("LblRcount"));
    m_created = new QLabel(pane);
    m_created->setObjectName(QStringLiteral("lblDtCreated"));
    m_fileSize = new QLabel(pane);
    m_fileSize->setObjectName(QStringLiteral("lblFileSize"));
    m_fileType = new QLabel(pane);
    m_fileType->setObjectName(QStringLiteral("lblFileType"));
    heading->addWidget(lblTblName, 0, 0);
    heading->addWidget(LblRcount, 0, 1);
    heading->addWidget(LblName, 1, 0, 1, 2);
    heading->addWidget(m_created, 0, 2);
    heading->addWidget(m_fileSize, 0, 3);
    heading->addWidget(m_fileType, 1, 2, 1, 2);
    heading->setColumnStretch(0, 1);
    layout->addLayout(heading);

    m_filterRow = new QWidget(pane);
    auto *filters = new QHBoxLayout(m_filterRow);
    filters->setContentsMargins(0, 0, 0, 0);
    for (int i = 1; i <= 5; ++i) {
        auto *caption = new QLabel(m_filterRow);
        caption->hide();
        m_filterCaptions.append(caption);
        filters->addWidget(caption);
        for (const bool access : {true, false}) {
            auto *box = new QComboBox(m_filterRow);
            // The fifth box of the other types has always been spelt in lower case.
            box->setObjectName(access   ? QStringLiteral("mdbCombo%1").arg(i)
                               : i == 5 ? QStringLiteral("dbfcombo5")
                                        : QStringLiteral("dbfCombo%1").arg(i));
            box->setMinimumContentsLength(10);
            box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            box->hide();
            (access ? m_mdbBoxes : m_dbfBoxes).append(box);
            filters->addWidget(box);
            connect(box, &QComboBox::activated, this, [this, box] { onFilterChosen(box); });
        }
    }
    filters->addStretch(1);
    layout->addWidget(m_filterRow);

    QLayout *grid = buildRecordGrid(pane);
    layout->addWidget(buildRecordTools(pane));
    layout->addLayout(grid, 1);
    layout->addLayout(buildNavigation(pane));
    layout->addWidget(buildValuesPanel());
    m_colourPanel = buildColourPanel();
    layout->addWidget(m_colourPanel);
    return pane;
}

QLayout *frmDblist::buildRecordGrid(QWidget *pane)
{
    auto *gridRow = new QHBoxLayout;
    gridRow->setSpacing(0);
    VTabs = new QTabBar(pane);
    VTabs->setObjectName(QStringLiteral("VTabs"));
    VTabs->setShape(QTabBar::RoundedWest);
    VTabs->addTab(tr("All"));
    VTabs->setToolTip(tr("Group the records by a marked field"));
    connect(VTabs, &QTabBar::tabBarClicked, this, &frmDblist::onGroupTab);
    VTabs->setElideMode(Qt::ElideNone);
    VTabs->setUsesScrollButtons(false);
    auto *tabColumn = new QVBoxLayout;
    tabColumn->addWidget(VTabs);
    tabColumn->addStretch(1);
    gridRow->addLayout(tabColumn);
    m_grid = new KeyedGrid(pane);
    m_grid->setObjectName(QStringLiteral("grdData"));
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->verticalHeader()->show();
    m_delegate = new RecordGridDelegate(m_grid);
    m_delegate->setChoices([this](int column) { return choicesOfColumn(column); });
    m_grid->setItemDelegate(m_delegate);
    m_grid->setShowGrid(false);
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->grid()->setHeadingBackground(QColor(0xDD, 0xE4, 0xEE));
    connect(m_grid, &KeyedGrid::currentGridRowChanged, this, &frmDblist::updatePosition);
    connect(m_grid, &KeyedGrid::currentGridRowChanged, this, &frmDblist::onRecordRowChanged);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (!m_pager || column < 0 || column >= m_pager->columnNames().size())
            return;
        const QString field = m_pager->columnNames().at(column);
        const RecordQuery &query = m_pager->query();
        SortBy(field, query.orderField == field && !query.grouped && !query.descending);
    });
    gridRow->addWidget(m_grid, 1);

    return gridRow;
}

QLayout *frmDblist::buildNavigation(QWidget *pane)
{
    auto *navigation = new QHBoxLayout;
    auto *previous = new QToolButton(pane);
    previous->setObjectName(QStringLiteral("CmdPrevious"));
    previous->setIcon(ThemeIcon::get(QStringLiteral("go-previous")));
    previous->setToolTip(tr("Previous record"));
    m_position = new QLabel(pane);
    m_position->setObjectName(QStringLiteral("lblPosition"));
    m_position->setMinimumWidth(90);
    m_position->setAlignment(Qt::AlignCenter);
    auto *nextRecord = new QToolButton(pane);
    nextRecord->setObjectName(QStringLiteral("Cmdnext1"));
    nextRecord->setIcon(ThemeIcon::get(QStringLiteral("go-next")));
    nextRecord->setToolTip(tr("Next record"));
    auto *refresh =
        new QPushButton(ThemeIcon::get(QStringLiteral("view-refresh")), tr("Refresh"), pane);
    refresh->setObjectName(QStringLiteral("cmdReffresh"));
    LblMode = new QLabel(tr("View Mode"), pane);
    LblMode->setObjectName(QStringLiteral("LblMode"));
    navigation->addWidget(previous);
    navigation->addWidget(m_position);
    navigation->addWidget(nextRecord);
    navigation->addSpacing(12);
    navigation->addWidget(refresh);
    navigation->addStretch(1);
    navigation->addWidget(LblMode);
    connect(previous, &QToolButton::clicked, this, [this] { moveRecord(-1); });
    connect(nextRecord, &QToolButton::clicked, this, [this] { moveRecord(1); });
    connect(refresh, &QPushButton::clicked, this, &frmDblist::Refresh);

    return navigation;
}

QFrame *frmDblist::buildColourPanel()
{
    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("frmColor"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QHBoxLayout(panel);
    layout->addWidget(new QLabel(tr("Colour scheme:"), panel));
    m_panelScheme = new QComboBox(panel);
    m_panelScheme->setObjectName(QStringLiteral("cboScheme2"));
    layout->addWidget(m_panelScheme);
    m_preview = new QLabel(panel);
    m_preview->setObjectName(QStringLiteral("lblPreview"));
    m_preview->setMinimumWidth(180);
    m_preview->setTextFormat(Qt::RichText);
    layout->addWidget(m_preview, 1);
    auto *save =
        new QPushButton(ThemeIcon::get(QStringLiteral("document-save")), tr("Apply"), panel);
    save->setObjectName(QStringLiteral("CmdColorSave"));
    auto *close = new QPushButton(tr("Close"), panel);
    close->setObjectName(QStringLiteral("cmdColorClose"));
    layout->addWidget(save);
    layout->addWidget(close);
    connect(m_panelScheme, &QComboBox::activated, this,
            [this] { onSchemeChosen(m_panelScheme->currentText()); });
    connect(save, &QPushButton::clicked, this, &frmDblist::CmdColorSave_Click);
    connect(close, &QPushButton::clicked, panel, &QWidget::hide);
    panel->hide();
    return panel;
}

void frmDblist::onToolClicked(const QString &id)
{
    if (id == QLatin1String("Saveas") || id == QLatin1String("Saveas1") ||
        id == QLatin1String("FileExport") || id == QLatin1String("ListPrint")) {
        takeRecordsOut(id);
        return;
    }
    if (id == QLatin1String("Favorites"))
        toggleFavourites();
    else if (id == QLatin1String("Add"))
        showAddPanel();
    else if (id == QLatin1String("Delete"))
        onDeleteFavourite();
    else if (id == QLatin1String("DeleteAll"))
        onDeleteAll();
    else if (id == QLatin1String("ScanDatabase"))
        showScanPanel();
    else if (id.startsWith(QLatin1String("ID_Sort")) && id.size() == 8) {
        if (QAction *tool = findChild<QAction *>(id))
            SortBy(BrowseSql::sortCaptionField(tool->text()));
    } else if (id == QLatin1String("ID_List")) {
        if (finishEditing())
            setRecordMode(RecordMode::View);
        for (QComboBox *box : m_mdbBoxes + m_dbfBoxes)
            box->setVisible(box->count() > 0);
        for (int i = 0; i < m_filterCaptions.size(); ++i)
            m_filterCaptions[i]->setVisible(m_mdbBoxes[i]->count() + m_dbfBoxes[i]->count() > 0);
    } else if (id == QLatin1String("ID_Query"))
        openQueryWindow();
    else if (!onRecordTool(id))
        onLookTool(id);
}

bool frmDblist::onRecordTool(const QString &id)
{
    if (id == QLatin1String("ID_Add"))
        addRecord();
    else if (id == QLatin1String("ID_Edit"))
        startEditing();
    else if (id == QLatin1String("ID_Delete"))
        deleteRecord();
    else if (id == QLatin1String("Cut") || id == QLatin1String("Copy"))
        copyCells(id == QLatin1String("Cut"));
    else if (id == QLatin1String("Paste"))
        pasteCells();
    else if (id == QLatin1String("ID_Values")) {
        m_valuesPanel->setVisible(!m_valuesPanel->isVisible());
        if (m_valuesPanel->isVisible())
            fillValueFields();
    } else
        return false;
    return true;
}

void frmDblist::onLookTool(const QString &id)
{
    GridLook::LineStyle style;
    GridLook::ToolSize size;
    if (id == QLatin1String("Simple"))
        m_fieldTabs->setCurrentWidget(lstFields);
    else if (id == QLatin1String("Details"))
        m_fieldTabs->setCurrentWidget(m_details);
    else if (GridLook::lineStyleOfTool(id, &style))
        setLineStyle(style);
    else if (id == QLatin1String("Bold") || id == QLatin1String("Italic") ||
             id == QLatin1String("Underline"))
        toggleCellFont(id);
    else if (id == QLatin1String("ID_Font"))
        chooseFont();
    else if (id == QLatin1String("Backcolor"))
        chooseColour(FavouritesCatalogue::Colour::Back);
    else if (id == QLatin1String("BackcolorAlternate"))
        chooseColour(FavouritesCatalogue::Colour::BackAlternate);
    else if (id == QLatin1String("ID_ForeColor"))
        chooseColour(FavouritesCatalogue::Colour::Fore);
    else if (id == QLatin1String("ColorScheme"))
        m_colourPanel->setVisible(!m_colourPanel->isVisible());
    else if (GridLook::toolSizeOfTool(id, &size))
        setToolSize(size);
}

void frmDblist::takeRecordsOut(const QString &id)
{
    KeyedGridModel *grid = records();
    const QString table = m_browser.table();
    if (!grid || table.isEmpty())
        return;
    if (id == QLatin1String("FileExport")) {
        FileExportWindow::FileExport(*grid, table, this);
    } else if (id == QLatin1String("ListPrint")) {
        ListPrintWindow::ListPrint(*grid, table, this);
    } else {
        const QString name = FileNameOfPath(QDir::toNativeSeparators(table));
        NotebookList::Saveas(*grid, name, m_browser.store());
    }
}
