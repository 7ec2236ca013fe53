#pragma once

#include "DocumentGrid.h"
#include "Store.h"

#include <QWidget>

#include <memory>

class DocumentDelegate;
class DocumentLoader;
class FolderSizeJob;
class Job;
class KeyedGrid;
class KeyedGridModel;
class NotesCatalogue;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QStackedWidget;
class QTabBar;
class QTabWidget;
class QTableWidget;
class QTextEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class ToolStrip;

// The Notebook: the file-system tree tvwdb, the document grid grid1 over the catalogue
// nv_notesdairy1 with its alphabetic, DocType and view strips, the view pane (rich text, list
// documents, pictures, other files) with the file facts and properties, and the filter,
// content-search and scan panels. The window wires widgets to notebook_core; its routines keep
// the names the program has always used.
//
// Split by concern: FormNotes.cpp builds the window and dispatches the tools,
// FormNotes_Views.cpp fills the grid, FormNotes_Tree.cpp the tree, FormNotes_Document.cpp the
// view pane, FormNotes_Filter.cpp the filter, content-search and scan panels.
class FormNotes : public QWidget
{
    Q_OBJECT
public:
    // The views of the strip SSActiveTabs1.
    enum class View { List, ByMonth, ByCategory };
    // What the view pane shows.
    enum class Pane { None, Text, List, Picture, Object };

    explicit FormNotes(QWidget *parent = nullptr);
    ~FormNotes() override;

    KeyedGridModel *grid() const;
    NotesCatalogue &catalogue() const { return *m_catalogue; }
    Pane pane() const { return m_pane; }
    // The document chosen last in the grid or the tree (the editor opens it).
    QString currentDocumentPath() const { return m_currentPath; }
    // True when the grid row's document file is gone (the row shows greyed).
    bool isDocumentMissing(int row) const;
    // The grid shows its first page at once and reads the rest page by page while the window
    // stays responsive; this reads what is left now.
    void finishLoading();
    bool isLoading() const;

    // Runs a tool of the window's tool bar or menus by its identifier; false when unknown.
    bool runTool(const QString &id);
    // Opens a file handed over by another window: shows it and selects its row.
    void openDocument(const QString &path);

    // --- the document grid (FormNotes_Views.cpp)
    void CmdRefresh_Click();
    // A click on the alphabetic strip: "All" or a letter.
    void ShowAlphabet(const QString &caption);
    // A click on tab 1 to 6 of the DocType strip.
    void ShowDocType(int tab);
    // The sort tools "StDocname", "StbyCat" and "StDatewise".
    void SortBy(const QString &tool);
    void ByCategoryView();
    void ByMonthView();
    void ApplySimpleView(bool details);
    void ApplyColumnChoice();
    void ApplyDocTypeIcons();
    // A click on a row of the grid.
    void SelectRow(int row);

    // --- the tree (FormNotes_Tree.cpp)
    void FileSystemTree();

    // --- the view pane (FormNotes_Document.cpp)
    void ShowDocument(const QString &path);

    // --- filters, content search, scan (FormNotes_Filter.cpp)
    void FillFilterLists();
    void cmdFilter_Click();
    void CmdCntSearch_Click();
    // Links the text documents of a folder; false when cancelled or the folder is unreadable.
    bool ScanFolder(const QString &folder);
    // Rebuilds the content index from the files; false when cancelled or impossible.
    bool RebuildContentIndex();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // FormNotes.cpp
    void buildWindow();
    void buildTools();
    QToolButton *buildToolsMenu();
    QWidget *buildGridSide();
    QWidget *buildPaneSide();
    QStackedWidget *buildViewPane(QWidget *parent);
    QWidget *buildFactsTab();
    QWidget *buildPropertiesTab();
    QFrame *buildKeywordPanel();
    void readSettings();
    void saveSettings();
    void onToolClicked(const QString &id);
    bool runJob(Job &job, const QString &title);
    void setStatus(const QString &text);
    void openFullEditor();
    void editPicture();
    void removeMissingLink();
    void showSidePanel(QWidget *panel);

    // FormNotes_Views.cpp
    // Starts loading a record source into the grid; false (grid unchanged) when it fails.
    bool fillGrid(const QString &source, const QString &captions,
                  const QString &dateFormat = QString(),
                  const DocumentGrid::Grouping *grouping = nullptr);
    void loadMore(int generation);
    void afterFill();
    void setSortTool(const QString &tool);
    void onViewTab(int index);
    void onDocTypeTab(int index);
    void onAlphabetTab(int index);
    void setEditTools(bool listTab);
    void onCurrentRowChanged(int row);
    void updateRemoveTool();

    // FormNotes_Tree.cpp
    void expandNode(QTreeWidgetItem *item);
    void onNodeClicked(QTreeWidgetItem *item);

    // FormNotes_Document.cpp
    void clearPane();
    bool showText(const QString &path);
    void showList(const QString &path);
    void showPicture(const QString &path);
    void showObject(const QString &path);
    void showSidePicture(const QString &path);
    void applyColourRule(const QString &path);
    void showFacts(const QString &path);
    void showFolderFacts(const QString &path);
    void LoadKeywords(const QString &path);
    void showProperties(const QString &path);
    void clearProperties();
    void markSideNote();

    // FormNotes_Filter.cpp
    QWidget *buildFilterPanel();
    QWidget *buildContentPanel();
    QWidget *buildScanPanel();
    void onDateKindChanged();
    void resetFilterFields();
    bool refreshContentIndex();
    void chooseScanFolder();

    Store m_store;
    std::unique_ptr<NotesCatalogue> m_catalogue;
    // Declared after the store: its statement is closed before the store.
    std::unique_ptr<DocumentLoader> m_loader;
    int m_loadGeneration = 0;
    Pane m_pane = Pane::None;
    View m_view = View::List;
    QString m_currentPath;
    QString m_sortTool;
    bool m_details = false;
    bool m_jobRunning = false;
    bool m_dragText = true;
    bool m_dragImage = true;
    FolderSizeJob *m_sizeJob = nullptr;

    QWidget *m_body = nullptr;
    ToolStrip *m_tools = nullptr;
    QTreeWidget *tvwdb = nullptr;
    QStackedWidget *m_sidePanels = nullptr;
    QTabBar *SSActiveTabs1 = nullptr;
    QTabBar *SSActiveTabs3 = nullptr;
    QTabBar *Notes = nullptr;
    KeyedGrid *grid1 = nullptr;
    DocumentDelegate *m_delegate = nullptr;
    QLabel *lblDocument = nullptr;
    QLabel *lblDocInfo = nullptr;
    QLabel *lblNotice = nullptr;
    QLabel *lblMode = nullptr;
    QStackedWidget *m_paneStack = nullptr;
    QLabel *m_emptyPane = nullptr;
    QTextEdit *rtfText = nullptr;
    QTableWidget *GridList = nullptr;
    QScrollArea *m_pictureArea = nullptr;
    QLabel *imgPicture = nullptr;
    QFrame *objectBox = nullptr;
    QLabel *m_objectLabel = nullptr;
    QLabel *imgPicfilelink = nullptr;
    QTabWidget *SSActiveTabs2 = nullptr;
    QLabel *lblFileType = nullptr;
    QLabel *lblFileSize = nullptr;
    QLabel *lblFileName = nullptr;
    QLabel *lblCreated = nullptr;
    QLabel *lblModified = nullptr;
    QLabel *lblPath = nullptr;
    // Properties (read here; saved by the document operations).
    QLineEdit *LblDocName = nullptr;
    QComboBox *CmbCategory1 = nullptr;
    QComboBox *CmbFlags = nullptr;
    QLineEdit *TxtVersion = nullptr;
    QCheckBox *ChkCurrent = nullptr;
    QDateEdit *dtpDueDate = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *TxtAuthor = nullptr;
    QLineEdit *LblSNo = nullptr;
    QComboBox *CmbProgress = nullptr;
    QLineEdit *m_propPath = nullptr;
    QLineEdit *m_propDocType = nullptr;
    QLineEdit *m_propModified = nullptr;
    QFrame *fraKeyword = nullptr;
    QTableWidget *grdKeyword = nullptr;
    QToolButton *CmdKey = nullptr;
    // The filter panel.
    QGroupBox *fraFilter = nullptr;
    QLineEdit *Text4 = nullptr;
    QComboBox *cboKeyword = nullptr;
    QComboBox *CmbKFlags = nullptr;
    QComboBox *cboFileType = nullptr;
    QComboBox *cboCateg = nullptr;
    QComboBox *CmbVersion = nullptr;
    QComboBox *cboDate = nullptr;
    QDateEdit *dtpDate1 = nullptr;
    QDateEdit *dtpDate2 = nullptr;
    QLabel *m_fromLabel = nullptr;
    QLabel *m_toLabel = nullptr;
    QLineEdit *txtFileName = nullptr;
    // The content-search and scan panels.
    QGroupBox *fraContent = nullptr;
    QLineEdit *txtContent = nullptr;
    QGroupBox *fraScan = nullptr;
    QLineEdit *FolderView = nullptr;
    QLabel *StatusBar1 = nullptr;
    QLabel *lblCharacters = nullptr;
};
