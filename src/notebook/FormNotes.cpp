#include "FormNotes.h"

#include "ColumnChoice.h"
#include "Dialogs.h"
#include "DocumentDelegate.h"
#include "DocumentGrid.h"
#include "DocumentLoader.h"
#include "DocumentOperations.h"
#include "FolderSizeJob.h"
#include "HelpButton.h"
#include "IndexTabBar.h"
#include "JobRunner.h"
#include "KeyedGrid.h"
#include "KeywordDelegate.h"
#include "NotesCatalogue.h"
#include "NotesViews.h"
#include "Platform.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"
#include "ToolHost.h"
#include "ToolStrip.h"
#include "TreeOperations.h"
#include "WordListPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{

const QString SettingsApplication = QStringLiteral("Nuvela Utilities");

// A row of small labels under a caption, as the file facts and properties use them.
QLabel *factLabel(QFormLayout *form, const QString &name, const QString &caption)
{
    auto *label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(caption, label);
    return label;
}

QLineEdit *propertyBox(QFormLayout *form, const QString &name, const QString &caption)
{
    auto *box = new QLineEdit;
    box->setObjectName(name);
    box->setReadOnly(true);
    form->addRow(caption, box);
    return box;
}

QComboBox *propertyList(QFormLayout *form, const QString &name, const QString &caption)
{
    auto *box = new QComboBox;
    box->setObjectName(name);
    box->setEditable(true);
    box->setEnabled(false);
    form->addRow(caption, box);
    return box;
}

} // namespace

FormNotes::FormNotes(QWidget *parent)
    : QWidget(parent), m_store(Store::Kind::Data),
      m_catalogue(std::make_unique<NotesCatalogue>(m_store))
{
    setObjectName(QStringLiteral("FormNotes"));
    setWindowTitle(tr("Notebook"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("accessories-text-editor")));
    readSettings();
    buildWindow();
    clearPane();
    FileSystemTree();
    CmdRefresh_Click();
    resize(1240, 780);
    // Copies of documents that an editor left behind are offered once the window stands.
    QTimer::singleShot(0, this, &FormNotes::offerAutosaves);
}

FormNotes::~FormNotes()
{
    // Jobs counting folder sizes run on their own threads: they end before the window does.
    for (FolderSizeJob *job : findChildren<FolderSizeJob *>()) {
        job->cancel();
        job->wait();
    }
}

KeyedGridModel *FormNotes::grid() const
{
    return grid1->grid();
}

bool FormNotes::isDocumentMissing(int row) const
{
    return m_delegate->isMissing(row);
}

void FormNotes::readSettings()
{
    Platform &platform = Platform::instance();
    m_dragText =
        platform
            .setting(SettingsApplication, QStringLiteral("Drag"), QStringLiteral("Textfile"), true)
            .toBool();
    m_dragImage =
        platform.setting(SettingsApplication, QStringLiteral("Drag"), QStringLiteral("Image"), true)
            .toBool();
}

void FormNotes::saveSettings()
{
    QWidget *frame = qobject_cast<QMdiSubWindow *>(parentWidget()) ? parentWidget() : this;
    if (frame->isMinimized())
        return;
    Platform &platform = Platform::instance();
    const QRect placement = frame->geometry();
    const QString section = QStringLiteral("Settings");
    platform.setSetting(SettingsApplication, section, QStringLiteral("MainLeft"), placement.x());
    platform.setSetting(SettingsApplication, section, QStringLiteral("MainTop"), placement.y());
    platform.setSetting(SettingsApplication, section, QStringLiteral("MainWidth"),
                        placement.width());
    platform.setSetting(SettingsApplication, section, QStringLiteral("MainHeight"),
                        placement.height());
}

void FormNotes::buildWindow()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    buildTools();
    outer->addWidget(m_tools);

    m_body = new QWidget(this);
    auto *bodyLayout = new QVBoxLayout(m_body);
    bodyLayout->setContentsMargins(6, 6, 6, 4);
    auto *splitter = new QSplitter(Qt::Horizontal, m_body);
    splitter->setChildrenCollapsible(false);
    bodyLayout->addWidget(splitter, 1);
    outer->addWidget(m_body, 1);

    // Left: the file-system tree over the panel the tools open.
    auto *left = new QSplitter(Qt::Vertical, splitter);
    left->setChildrenCollapsible(false);
    auto *treeBox = new QWidget(left);
    auto *treeLayout = new QVBoxLayout(treeBox);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->setSpacing(0);
    tvwdb = new QTreeWidget(treeBox);
    tvwdb->setObjectName(QStringLiteral("tvwdb"));
    tvwdb->setHeaderHidden(true);
    tvwdb->setUniformRowHeights(true);
    tvwdb->setMinimumWidth(200);
    connect(tvwdb, &QTreeWidget::itemExpanded, this, &FormNotes::expandNode);
    connect(tvwdb, &QTreeWidget::itemClicked, this, &FormNotes::onNodeClicked);
    treeLayout->addWidget(buildTreeTools());
    treeLayout->addWidget(tvwdb, 1);
    m_sidePanels = new QStackedWidget(left);
    m_sidePanels->addWidget(buildFilterPanel());
    m_sidePanels->addWidget(buildContentPanel());
    m_sidePanels->addWidget(buildScanPanel());
    m_sidePanels->addWidget(buildAddPanel());
    m_sidePanels->addWidget(buildDeleteAllPanel());
    m_sidePanels->hide();
    left->setStretchFactor(0, 1);

    splitter->addWidget(buildGridSide());
    splitter->addWidget(buildPaneSide());
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 3);
    splitter->setStretchFactor(2, 2);
    splitter->setSizes({220, 560, 420});

    auto *status = new QHBoxLayout;
    StatusBar1 = new QLabel(m_body);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    lblCharacters = new QLabel(m_body);
    lblCharacters->setObjectName(QStringLiteral("lblCharacters"));
    status->addWidget(StatusBar1, 1);
    status->addWidget(lblCharacters);
    bodyLayout->addLayout(status);
}

void FormNotes::buildTools()
{
    m_tools = new ToolStrip(QStringLiteral("SSActiveToolBars1"), this);
    m_tools->setIconSize(QSize(20, 20));
    m_tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto *refresh = new QToolButton(m_tools);
    refresh->setObjectName(QStringLiteral("CmdRefresh"));
    refresh->setIcon(ThemeIcon::get(QStringLiteral("view-refresh")));
    refresh->setText(tr("Refresh"));
    refresh->setToolTip(tr("Show every document again"));
    refresh->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(refresh, &QToolButton::clicked, this, &FormNotes::CmdRefresh_Click);
    m_tools->addWidget(refresh);
    m_tools->addSeparator();
    struct Tool {
        const char *id;
        const char *text;
        const char *icon;
        bool iconOnly;
    };
    static const Tool tools[] = {
        {"StDocname", "By Name", "view-sort-ascending", true},
        {"StbyCat", "By Category", "view-list-bullet", true},
        {"StDatewise", "By Date", "x-office-calendar", true},
        {nullptr, nullptr, nullptr, false},
        {"ID_Simple", "Simple", "view-list", true},
        {"ID_Details", "Details", "view-grid", true},
        {nullptr, nullptr, nullptr, false},
        {"Search1", "Filter", "system-search", false},
        {"SearchContent", "Find in Text", "edit-find", false},
        {"ID_Scan", "Scan Folder", "folder-open", false},
        {nullptr, nullptr, nullptr, false},
        {"SideNote", "Side Note", "accessories-text-editor", true},
        {"New", "New Note", "document-new", true},
        {"EditDocuments", "Edit", "document-edit", true},
        {"EditDoc-Full", "Open in Editor", "document-open", true},
        {"EditGriidList", "Edit List", "x-office-spreadsheet", true},
        {"EditPicture", "Edit Picture", "image-x-generic", true},
        {"ID_RemoveLink", "Remove Link", "edit-delete", true},
    };
    for (const Tool &tool : tools) {
        if (!tool.id) {
            m_tools->addSeparator();
            continue;
        }
        QAction *action =
            m_tools->addTool(QLatin1String(tool.id), tr(tool.text), QLatin1String(tool.icon));
        if (tool.iconOnly) {
            if (auto *button = qobject_cast<QToolButton *>(m_tools->widgetForAction(action)))
                button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
    }
    for (const char *sort : {"StDocname", "StbyCat", "StDatewise"})
        m_tools->tool(QLatin1String(sort))->setCheckable(true);
    m_tools->tool(QStringLiteral("EditPicture"))->setEnabled(false);
    m_tools->tool(QStringLiteral("ID_RemoveLink"))->setEnabled(false);
    setEditTools(false);

    m_tools->addWidget(buildToolsMenu());
    m_tools->addSeparator();
    m_tools->addWidget(buildDocumentTools());

    auto *spacer = new QWidget(m_tools);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_tools->addWidget(spacer);
    m_tools->addWidget(new HelpButton(QStringLiteral("UTL0020"), m_tools));
    connect(m_tools, &ToolStrip::toolClicked, this, &FormNotes::onToolClicked);
}

QToolButton *FormNotes::buildToolsMenu()
{
    auto *more = new QToolButton(m_tools);
    more->setObjectName(QStringLiteral("cmdMore"));
    more->setIcon(ThemeIcon::get(QStringLiteral("preferences-system")));
    more->setText(tr("Tools"));
    more->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    more->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(more);
    QMenu *columns = menu->addMenu(tr("Detail Columns"));
    columns->setObjectName(QStringLiteral("mnuColumns"));
    connect(columns, &QMenu::aboutToShow, this, [this, columns] {
        columns->clear();
        const QList<ColumnChoice::Choice> choices = ColumnChoice::read(m_store);
        for (const QString &field : ColumnChoice::fields()) {
            QAction *action = columns->addAction(field);
            action->setObjectName(QStringLiteral("Show_") + field);
            action->setCheckable(true);
            action->setChecked(true);
            for (const ColumnChoice::Choice &choice : choices) {
                if (choice.field == field)
                    action->setChecked(choice.show);
            }
            connect(action, &QAction::toggled, this, [this, field](bool show) {
                ColumnChoice::write(m_store, field, show);
                if (m_details)
                    ApplyColumnChoice();
            });
        }
    });
    QAction *rebuild = menu->addAction(ThemeIcon::get(QStringLiteral("view-refresh")),
                                       tr("Rebuild Content Index"));
    rebuild->setObjectName(QStringLiteral("ID_RebuildIndex"));
    connect(rebuild, &QAction::triggered, this,
            [this] { runTool(QStringLiteral("ID_RebuildIndex")); });
    more->setMenu(menu);
    return more;
}

QWidget *FormNotes::buildGridSide()
{
    auto *side = new QWidget;
    auto *layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    SSActiveTabs1 = new QTabBar(side);
    SSActiveTabs1->setObjectName(QStringLiteral("SSActiveTabs1"));
    SSActiveTabs1->setExpanding(false);
    SSActiveTabs1->addTab(ThemeIcon::get(QStringLiteral("view-list")), tr("Documents"));
    SSActiveTabs1->addTab(ThemeIcon::get(QStringLiteral("x-office-calendar")), tr("By Month"));
    SSActiveTabs1->addTab(ThemeIcon::get(QStringLiteral("view-list-bullet")), tr("By Category"));
    connect(SSActiveTabs1, &QTabBar::currentChanged, this, &FormNotes::onViewTab);
    layout->addWidget(SSActiveTabs1);

    SSActiveTabs3 = new QTabBar(side);
    SSActiveTabs3->setObjectName(QStringLiteral("SSActiveTabs3"));
    SSActiveTabs3->setExpanding(false);
    SSActiveTabs3->setUsesScrollButtons(true);
    SSActiveTabs3->setDrawBase(false);
    for (const NotesViews::DocTypeTab &tab : NotesViews::docTypeTabs())
        SSActiveTabs3->addTab(tab.caption);
    connect(SSActiveTabs3, &QTabBar::tabBarClicked, this, &FormNotes::onDocTypeTab);
    layout->addWidget(SSActiveTabs3);

    // The alphabetic strip stands beside the grid like the index tabs of a notebook.
    auto *gridRow = new QHBoxLayout;
    gridRow->setSpacing(0);
    Notes = new IndexTabBar(side);
    Notes->setObjectName(QStringLiteral("Notes"));
    Notes->setUsesScrollButtons(true);
    for (const QString &caption : NotesViews::alphabetCaptions())
        Notes->addTab(caption);
    connect(Notes, &QTabBar::currentChanged, this, &FormNotes::onAlphabetTab);
    connect(Notes, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index == Notes->currentIndex())
            onAlphabetTab(index);
    });
    gridRow->addWidget(Notes, 0, Qt::AlignTop);

    grid1 = new KeyedGrid(side);
    grid1->setObjectName(QStringLiteral("grid1"));
    grid1->setAlternatingRowColors(true);
    // Several rows can be chosen ("SelectAll", shift and control clicks) for "ID_DelDoc".
    grid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid1->setStyleSheet(QStringLiteral("QTableView { gridline-color: #4b6a88; }"));
    grid1->setIconSize(QSize(16, 16));
    QPalette colours = grid1->palette();
    colours.setColor(QPalette::Base, DocumentGrid::backColour());
    colours.setColor(QPalette::AlternateBase, DocumentGrid::alternateColour());
    colours.setColor(QPalette::Text, Qt::white);
    grid1->setPalette(colours);
    m_delegate = new DocumentDelegate(grid1->grid(), grid1);
    grid1->setItemDelegate(m_delegate);
    connect(grid1, &KeyedGrid::currentGridRowChanged, this, &FormNotes::onCurrentRowChanged);
    gridRow->addWidget(grid1, 1);
    layout->addLayout(gridRow, 1);
    return side;
}

QWidget *FormNotes::buildPaneSide()
{
    auto *side = new QWidget;
    auto *layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *header = new QHBoxLayout;
    lblDocument = new QLabel(side);
    lblDocument->setObjectName(QStringLiteral("lblDocument"));
    lblDocument->setTextFormat(Qt::PlainText);
    QFont bold = lblDocument->font();
    bold.setBold(true);
    lblDocument->setFont(bold);
    lblDocInfo = new QLabel(side);
    lblDocInfo->setObjectName(QStringLiteral("lblDocInfo"));
    lblDocInfo->setTextFormat(Qt::PlainText);
    lblMode = new QLabel(tr("View Mode"), side);
    lblMode->setObjectName(QStringLiteral("lblMode"));
    CmdKey = new QToolButton(side);
    CmdKey->setObjectName(QStringLiteral("CmdKey"));
    CmdKey->setIcon(ThemeIcon::get(QStringLiteral("bookmark-new")));
    CmdKey->setText(tr("Keywords"));
    CmdKey->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    CmdKey->setCheckable(true);
    header->addWidget(lblDocument);
    header->addWidget(lblDocInfo, 1);
    header->addWidget(lblMode);
    SSCommand1 = new QToolButton(side);
    SSCommand1->setObjectName(QStringLiteral("SSCommand1"));
    SSCommand1->setIcon(ThemeIcon::get(QStringLiteral("document-save")));
    SSCommand1->setText(tr("Save"));
    SSCommand1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SSCommand2 = new QToolButton(side);
    SSCommand2->setObjectName(QStringLiteral("SSCommand2"));
    SSCommand2->setIcon(ThemeIcon::get(QStringLiteral("dialog-cancel")));
    SSCommand2->setText(tr("Cancel"));
    SSCommand2->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SSCommand1->hide();
    SSCommand2->hide();
    connect(SSCommand1, &QToolButton::clicked, this, &FormNotes::SaveInPlace);
    connect(SSCommand2, &QToolButton::clicked, this, &FormNotes::CancelInPlace);
    header->addWidget(SSCommand1);
    header->addWidget(SSCommand2);
    header->addWidget(CmdKey);
    layout->addLayout(header);

    lblNotice = new QLabel(side);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    lblNotice->setStyleSheet(QStringLiteral("QLabel { background: #fff4ce; color: #5c4400; "
                                            "padding: 3px; border: 1px solid #e0c060; }"));
    lblNotice->hide();
    layout->addWidget(lblNotice);

    auto *paneRow = new QSplitter(Qt::Vertical, side);
    auto *viewRow = new QSplitter(Qt::Horizontal, paneRow);
    m_paneStack = buildViewPane(viewRow);
    layout->insertWidget(1, buildFormatTools());
    imgPicfilelink = new QLabel(viewRow);
    imgPicfilelink->setObjectName(QStringLiteral("imgPicfilelink"));
    imgPicfilelink->setAlignment(Qt::AlignCenter);
    imgPicfilelink->setMinimumWidth(120);
    imgPicfilelink->hide();

    fraKeyword = buildKeywordPanel();
    auto *lower = new QWidget(paneRow);
    auto *lowerLayout = new QHBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    SSActiveTabs2 = new QTabWidget(lower);
    SSActiveTabs2->setObjectName(QStringLiteral("SSActiveTabs2"));
    SSActiveTabs2->addTab(buildFactsTab(), ThemeIcon::get(QStringLiteral("dialog-information")),
                          tr("File Info"));
    SSActiveTabs2->addTab(buildPropertiesTab(),
                          ThemeIcon::get(QStringLiteral("document-properties")), tr("Properties"));
    m_words = new WordListPanel(m_store, WordListPanel::Mode::Notebook);
    connect(m_words, &WordListPanel::wordChosen, this, &FormNotes::insertWord);
    SSActiveTabs2->addTab(m_words, ThemeIcon::get(QStringLiteral("accessories-dictionary")),
                          tr("Words"));
    connect(SSActiveTabs2, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 1)
            showProperties(m_currentPath);
    });
    lowerLayout->addWidget(SSActiveTabs2, 1);
    lowerLayout->addWidget(fraKeyword);
    paneRow->setStretchFactor(0, 3);
    paneRow->setStretchFactor(1, 2);
    layout->addWidget(paneRow, 1);
    connect(CmdKey, &QToolButton::toggled, fraKeyword, &QWidget::setVisible);
    return side;
}

// The pages of the view pane: rich or plain text, a list, a picture, another file, nothing.
QStackedWidget *FormNotes::buildViewPane(QWidget *parent)
{
    m_paneStack = new QStackedWidget(parent);
    rtfText = new QTextEdit(m_paneStack);
    rtfText->setObjectName(QStringLiteral("rtfText"));
    rtfText->setReadOnly(true);
    rtfText->setAcceptDrops(m_dragText);
    m_listPane = buildListPane();
    m_pictureArea = new QScrollArea(m_paneStack);
    m_pictureArea->setAlignment(Qt::AlignCenter);
    imgPicture = new QLabel;
    imgPicture->setObjectName(QStringLiteral("imgPicture"));
    imgPicture->setAcceptDrops(m_dragImage);
    m_pictureArea->setWidget(imgPicture);
    m_pictureArea->setWidgetResizable(true);
    imgPicture->setAlignment(Qt::AlignCenter);
    objectBox = new QFrame(m_paneStack);
    objectBox->setObjectName(QStringLiteral("objectBox"));
    auto *objectLayout = new QVBoxLayout(objectBox);
    m_objectLabel = new QLabel(objectBox);
    m_objectLabel->setAlignment(Qt::AlignCenter);
    m_objectLabel->setWordWrap(true);
    objectLayout->addStretch(1);
    objectLayout->addWidget(m_objectLabel);
    objectLayout->addStretch(1);
    m_emptyPane = new QLabel(tr("Choose a document in the list or the tree."), m_paneStack);
    m_emptyPane->setObjectName(QStringLiteral("lblNoDocument"));
    m_emptyPane->setAlignment(Qt::AlignCenter);
    m_emptyPane->setEnabled(false);
    m_paneStack->addWidget(m_emptyPane);
    m_paneStack->addWidget(rtfText);
    m_paneStack->addWidget(m_listPane);
    m_paneStack->addWidget(m_pictureArea);
    m_paneStack->addWidget(objectBox);
    return m_paneStack;
}

QWidget *FormNotes::buildFactsTab()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    lblFileType = factLabel(form, QStringLiteral("lblFileType"), tr("Type:"));
    lblFileSize = factLabel(form, QStringLiteral("lblFileSize"), tr("Size:"));
    lblFileName = factLabel(form, QStringLiteral("lblFileName"), tr("Name:"));
    lblCreated = factLabel(form, QStringLiteral("lblCreated"), tr("Created:"));
    lblModified = factLabel(form, QStringLiteral("lblModified"), tr("Modified:"));
    lblPath = factLabel(form, QStringLiteral("lblPath"), tr("Path:"));
    return page;
}

QWidget *FormNotes::buildPropertiesTab()
{
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *page = new QWidget;
    auto *columns = new QHBoxLayout(page);
    auto *first = new QFormLayout;
    auto *second = new QFormLayout;
    LblDocName = propertyBox(first, QStringLiteral("LblDocName"), tr("Name:"));
    CmbCategory1 = propertyList(first, QStringLiteral("CmbCategory1"), tr("Category:"));
    Text1 = propertyBox(first, QStringLiteral("Text1"), tr("Desc:"));
    TxtAuthor = propertyBox(first, QStringLiteral("TxtAuthor"), tr("Author:"));
    CmbFlags = propertyList(first, QStringLiteral("CmbFlags"), tr("Flags:"));
    CmbFlags->addItems(
        m_store.column(QStringLiteral("Select * from Ut_notebookMaster where flags is not null")));
    m_propPath = propertyBox(first, QStringLiteral("txtPropPath"), tr("Path:"));
    TxtVersion = propertyBox(second, QStringLiteral("TxtVersion"), tr("Version:"));
    LblSNo = propertyBox(second, QStringLiteral("LblSNo"), tr("Serial no:"));
    CmbProgress = propertyList(second, QStringLiteral("CmbProgress"), tr("Progress:"));
    m_propDocType = propertyBox(second, QStringLiteral("txtDocType"), tr("Doc type:"));
    m_propModified = propertyBox(second, QStringLiteral("txtModified"), tr("Modified:"));
    dtpDueDate = new QDateEdit;
    dtpDueDate->setObjectName(QStringLiteral("dtpDueDate"));
    dtpDueDate->setCalendarPopup(true);
    dtpDueDate->setSpecialValueText(QStringLiteral(" "));
    dtpDueDate->setMinimumDate(QDate(1900, 1, 1));
    dtpDueDate->setReadOnly(true);
    second->addRow(tr("Due date:"), dtpDueDate);
    ChkCurrent = new QCheckBox(tr("Current"));
    ChkCurrent->setObjectName(QStringLiteral("ChkCurrent"));
    ChkCurrent->setEnabled(false);
    second->addRow(QString(), ChkCurrent);
    columns->addLayout(first, 3);
    columns->addLayout(second, 2);
    second->addRow(buildPropertyButtons());
    scroll->setWidget(page);
    return scroll;
}

QFrame *FormNotes::buildKeywordPanel()
{
    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("fraKeyword"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFixedWidth(170);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(new QLabel(tr("Keywords"), panel));
    grdKeyword = new QTableWidget(11, 1, panel);
    grdKeyword->setObjectName(QStringLiteral("grdKeyword"));
    grdKeyword->horizontalHeader()->hide();
    grdKeyword->horizontalHeader()->setStretchLastSection(true);
    grdKeyword->verticalHeader()->hide();
    grdKeyword->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdKeyword->setItemDelegateForColumn(
        0, new KeywordDelegate(m_store.column(QStringLiteral("Select keyword from pda_Keyword1")),
                               grdKeyword));
    layout->addWidget(grdKeyword, 1);
    panel->hide();
    return panel;
}

void FormNotes::showSidePanel(QWidget *panel)
{
    const bool open = m_sidePanels->isVisible() && m_sidePanels->currentWidget() == panel;
    m_sidePanels->setCurrentWidget(panel);
    m_sidePanels->setVisible(!open);
}

bool FormNotes::runTool(const QString &id)
{
    if (id == QLatin1String("ID_RebuildIndex")) {
        RebuildContentIndex();
        return true;
    }
    // The formatting tools share names with document tools ("Picture"): while a document is
    // edited they come first, and the tools a disabled bar holds do not run.
    const QList<ToolStrip *> strips =
        m_editing
            ? QList<ToolStrip *>{SSActiveToolBars2, m_listTools, m_tools, tbTree, SSActiveToolBars3}
            : QList<ToolStrip *>{m_tools, tbTree, SSActiveToolBars3, SSActiveToolBars2,
                                 m_listTools};
    for (ToolStrip *strip : strips) {
        QAction *action = strip->tool(id);
        if (!action)
            continue;
        const bool barOff = (strip == tbTree || strip == SSActiveToolBars3) && !strip->isEnabled();
        if (!action->isEnabled() || barOff)
            return false;
        action->trigger();
        return true;
    }
    return false;
}

void FormNotes::onToolClicked(const QString &id)
{
    if (id == QLatin1String("StDocname") || id == QLatin1String("StbyCat") ||
        id == QLatin1String("StDatewise"))
        SortBy(id);
    else if (id == QLatin1String("ID_Simple") || id == QLatin1String("ID_Details"))
        ApplySimpleView(id == QLatin1String("ID_Details"));
    else if (id == QLatin1String("Search1")) {
        FillFilterLists();
        showSidePanel(fraFilter);
    } else if (id == QLatin1String("SearchContent"))
        showSidePanel(fraContent);
    else if (id == QLatin1String("ID_Scan"))
        showSidePanel(fraScan);
    else if (id == QLatin1String("SideNote"))
        markSideNote();
    else if (id == QLatin1String("EditDoc-Full"))
        openFullEditor();
    else if (id == QLatin1String("New"))
        EnterEditMode(Edit::NewNote);
    else if (id == QLatin1String("EditGriidList"))
        EnterEditMode(m_pane == Pane::List && !m_currentPath.isEmpty() ? Edit::Shown
                                                                       : Edit::NewList);
    else if (id == QLatin1String("EditDocuments"))
        EnterEditMode(Edit::Shown);
    else if (id == QLatin1String("EditPicture"))
        editPicture();
    else if (id == QLatin1String("ID_RemoveLink"))
        removeMissingLink();
}

void FormNotes::openFullEditor()
{
    const int row = grid1->currentGridRow();
    const QString path = row < 0 ? QString() : grid()->text(row, QStringLiteral("path"));
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    if (ToolHost *host = ToolHost::instance()) {
        if (host->openTool(QStringLiteral("notebookeditor"), {path, true}))
            close();
    }
}

void FormNotes::editPicture()
{
    if (m_pane != Pane::Picture || m_currentPath.isEmpty())
        return;
    if (ToolHost *host = ToolHost::instance())
        host->openTool(QStringLiteral("photoeditor"), {m_currentPath, true});
}

void FormNotes::removeMissingLink()
{
    const int row = grid1->currentGridRow();
    if (row < 0 || !isDocumentMissing(row))
        return;
    const QString path = grid()->text(row, QStringLiteral("path"));
    if (!Dialogs::instance().question(
            tr("The file of this document is gone:\n%1\n\nRemove the document from the notebook?")
                .arg(path),
            windowTitle()))
        return;
    if (m_catalogue->removeRow(grid()->text(row, QStringLiteral("id")).toLongLong())) {
        PlaySoundCue(SoundCue::Del);
        CmdRefresh_Click();
    }
}

bool FormNotes::runJob(Job &job, const QString &title)
{
    m_jobRunning = true;
    const bool completed = JobRunner::run(job, m_body, title, StatusBar1);
    m_jobRunning = false;
    return completed;
}

void FormNotes::setStatus(const QString &text)
{
    StatusBar1->setText(text);
}

void FormNotes::openDocument(const QString &path)
{
    if (path.isEmpty())
        return;
    ShowDocument(path);
    for (int row = grid()->fixedRows(); row < grid()->rows(); ++row) {
        if (grid()->text(row, QStringLiteral("path")) == path) {
            grid1->setCurrentGridRow(row);
            break;
        }
    }
}

void FormNotes::closeEvent(QCloseEvent *event)
{
    if (m_jobRunning) {
        event->ignore();
        return;
    }
    // Edited text is not lost without a word.
    if (m_editing && (rtfText->document()->isModified() || m_newDocument) &&
        !Dialogs::instance().question(QStringLiteral("Quit without saving?"),
                                      QStringLiteral("Nuvela Utility"))) {
        event->ignore();
        return;
    }
    if (m_editing)
        CancelInPlace();
    saveSettings();
    QWidget::closeEvent(event);
}
