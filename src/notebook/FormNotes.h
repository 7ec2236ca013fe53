#pragma once

#include "DocumentGrid.h"
#include "FolderTree.h"
#include "Store.h"

#include <QWidget>

#include <memory>

class DocumentDelegate;
class DocumentLoader;
class DocumentOperations;
class EditableGridProxy;
class EditorCommands;
class FindReplaceDialog;
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
class QLayout;
class QLineEdit;
class QMenu;
class QScrollArea;
class QStackedWidget;
class QTabBar;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTextEdit;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class ToolStrip;
class TreeOperations;
class WordListPanel;

// The Notebook: the file-system tree tvwdb, the document grid grid1 over the catalogue
// nv_notesdairy1 with its alphabetic, DocType and view strips, the view pane (rich text, list
// documents, pictures, other files) with the file facts and properties, and the filter,
// content-search and scan panels. The window wires widgets to notebook_core; its routines keep
// the names the program has always used.
//
// Split by concern: FormNotes.cpp builds the window and dispatches the tools,
// FormNotes_Views.cpp fills the grid, FormNotes_Tree.cpp the tree, FormNotes_Document.cpp the
// view pane, FormNotes_Filter.cpp the filter, content-search and scan panels, FormNotes_Edit.cpp
// the Edit Mode of the pane (text and lists), new notes and lists, and the list tools,
// FormNotes_Operations.cpp the operations on document files: the tree's and the document
// tools, the add and delete-all panels and the properties save.
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
    // The list document shown in the list pane (GridList).
    KeyedGridModel *listGrid() const { return m_listGrid; }
    bool isEditing() const { return m_editing; }
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
    // Opens the tree down to path (a folder or file under one of its roots) and makes that node
    // current; false when no root holds it.
    bool selectTreePath(const QString &path);
    // The current node's key ("" for "My Computer" or none) and tag.
    QString currentNodePath() const;
    FolderTree::Tag currentNodeTag() const;

    // --- document operations (FormNotes_Operations.cpp)
    // SSCommand6 of the add panel: adds the row of its fields; false when nothing was added.
    bool SSCommand6_Click();
    // CmdRemove of the delete-all panel: every row goes after two questions; files stay.
    bool CmdRemove_Click();
    // CmdSave of the properties panel; false when nothing was saved (it stays editable).
    bool CmdSave_Click();
    void CmdCancel_Click();
    bool isEditingProperties() const { return m_propertiesEditing; }

    // --- the view pane (FormNotes_Document.cpp)
    void ShowDocument(const QString &path);

    // --- Edit Mode (FormNotes_Edit.cpp)
    enum class Edit {
        Shown,   // "EditDocuments", "EditGriidList": the shown text or list document
        NewNote, // "New": a new rich-text note
        NewList  // "EditGriidList" with no list shown: a blank list sheet (ListSheetSetup)
    };
    // Unlocks the pane. False when there is nothing to edit.
    bool EnterEditMode(Edit what);
    // SSCommand1: saves the pane to its file (a new document asks for a name first) and its
    // catalogue row; false when nothing was saved (the window stays in Edit Mode).
    bool SaveInPlace();
    // SSCommand2 and the properties panel's cancel: back to View Mode without saving.
    void CancelInPlace();

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
    bool eventFilter(QObject *watched, QEvent *event) override;

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
    // The folder an operation on the current node works in: the node's folder, or the folder
    // of its file; "" for none.
    QString targetFolder() const;
    // Builds the tree again and opens it at select (when given).
    void reloadTree(const QString &select);

    // FormNotes_Operations.cpp
    ToolStrip *buildTreeTools();
    ToolStrip *buildDocumentTools();
    QWidget *buildAddPanel();
    QWidget *buildDeleteAllPanel();
    QLayout *buildPropertyButtons();
    void onTreeTool(const QString &id);
    void onDocumentTool(const QString &id);
    void updateTreeTools();
    void updateDocumentTools();
    // After an operation: the tree and the grid read again; select (a path) shown and chosen.
    void reloadAfter(const QString &select);
    void pasteNode();
    void renameDocument();
    void deleteDocuments();
    void copyToDesktop();
    void sendToDesktop();
    void printSelected();
    void viewPicture();
    void editDocument();
    void editProperties();
    void setPropertiesEditing(bool editing);
    void showAddPanel();

    // FormNotes_Document.cpp
    void clearPane();
    bool showText(const QString &path);
    void showList(const QString &path);
    // Column widths and hidden columns of the list pane from its grid.
    void applyListColumns();
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

    // FormNotes_Edit.cpp
    ToolStrip *buildFormatTools();
    ToolStrip *buildListTools();
    QWidget *buildListPane();
    void setEditing(bool editing);
    bool saveNewDocument();
    bool saveText(const QString &path);
    bool saveList(const QString &path);
    QString editedPath() const;
    void onEditKeyReleased(int key, const QString &text);
    void insertWord(const QString &word);
    void autotext();
    void onListTool(const QString &id);
    // "SaveasXL": the shown list as an Excel workbook in the export folder.
    void exportListToExcel(const QString &name);
    void offerAutosaves();
    void editAutosave();

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
    std::unique_ptr<TreeOperations> m_treeOps;
    std::unique_ptr<DocumentOperations> m_docOps;
    bool m_propertiesEditing = false;
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
    // Edit Mode: the document being edited is new (m_newPath is only its provisional name).
    bool m_editing = false;
    bool m_newDocument = false;
    QString m_newPath;
    QString m_prefix; // word completion: the letters typed since the last blank
    QTimer *m_autosave = nullptr;

    QWidget *m_body = nullptr;
    ToolStrip *m_tools = nullptr;
    ToolStrip *tbTree = nullptr;            // the tree's tools, also its pop-up menu
    ToolStrip *SSActiveToolBars3 = nullptr; // the document tools over the grid
    QMenu *m_treeMenu = nullptr;
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
    QWidget *m_listPane = nullptr;
    QTableView *GridList = nullptr;
    KeyedGridModel *m_listGrid = nullptr;
    EditableGridProxy *m_listEdit = nullptr;
    bool m_listSheet = false; // the shown list is a list sheet: its first column is headings
    ToolStrip *m_listTools = nullptr;
    ToolStrip *SSActiveToolBars2 = nullptr; // the formatting tools of Edit Mode
    EditorCommands *m_commands = nullptr;
    FindReplaceDialog *m_findReplace = nullptr;
    WordListPanel *m_words = nullptr;
    QToolButton *SSCommand1 = nullptr;
    QToolButton *SSCommand2 = nullptr;
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
    QToolButton *CmdEdit = nullptr;
    QToolButton *CmdSave = nullptr;
    QToolButton *CmdCancel = nullptr;
    // The add panel Frame2 and the delete-all panel.
    QGroupBox *Frame2 = nullptr;
    QLineEdit *txtnote = nullptr;
    QDateEdit *ssDate = nullptr;
    QLineEdit *txtSerailNo = nullptr;
    QComboBox *cboCategory1 = nullptr;
    QLineEdit *txtType = nullptr;
    QLineEdit *txtpath = nullptr;
    QGroupBox *fraDeleteAll = nullptr;
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
