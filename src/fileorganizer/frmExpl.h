#pragma once

#include "FileEntry.h"
#include "OrganizerFolders.h"
#include "Store.h"

#include <QHash>
#include <QWidget>

#include <memory>
#include <vector>

class Job;
class KeyedGrid;
class KeyedGridModel;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class ToolStrip;

// The File organizer: a folder tree, the file grid with its filter row, the database view of
// the catalogue with its category list, the search and the properties panel. The window wires
// widgets to fileorganizer_core; its routines keep the names the program has always used.
//
// Split by concern: frmExpl.cpp builds the window, frmExpl_Listing.cpp the grid, listings and
// the catalogue, frmExpl_Filters.cpp the filter boxes, frmExpl_Search.cpp the search.
class frmExpl : public QWidget
{
    Q_OBJECT
public:
    enum class ViewMode { Folder, Database };
    enum class Branch { FileManager, FindFile, CategoryWise };

    explicit frmExpl(QWidget *parent = nullptr);
    ~frmExpl() override;

    ViewMode viewMode() const { return m_viewMode; }
    Branch branch() const { return m_branch; }
    QString defaultFolder() const { return m_folders.defaultFolder; }
    KeyedGridModel *grid() const;
    // The file shown in the properties panel; empty when none.
    QString currentFile() const { return m_currentFile; }

    // Listing and catalogue.
    void FileGridSetup();
    void ListFolderToGrid(const QString &folderPath);
    // Scans a folder tree into the catalogue (rows are added); false when cancelled.
    bool ScanFolderToCatalogue(const QString &startPath);
    void AddFolderFilesToCatalogue(const QString &folderPath);
    void LoadCatalogueGrid();
    // Shows the rows of one category entry of SSListBar1 ("All" shows every row).
    void SelectCategory(const QString &category);

    // Filters.
    void ComboExtItem(const QString &category);
    void ComboPos();
    void ApplyDateFilter(int days, const QString &dateColumnKey, const QString &category);

    // Search.
    void SearchResultsToGrid(const QString &folder, const std::vector<FileEntry> &hits);

    // Paints every data row with the selection mark ("SelectAll").
    void SelectAll();

protected:
    // A window busy with a job stays open until the job has ended.
    void closeEvent(QCloseEvent *event) override;

private:
    // frmExpl.cpp
    // Runs long work while the window stays responsive; false when it was cancelled.
    bool runJob(Job &job, const QString &title);
    void buildWindow();
    QWidget *buildFolderTab();
    QWidget *buildDatabaseTab();
    QWidget *buildSearchTab();
    QFrame *buildPropertiesPanel();
    void readSettings();
    void fillTree();
    void fillSubfolders(QTreeWidgetItem *item);
    void onTreeItemChanged(QTreeWidgetItem *current);
    void onTabChanged(int index);
    void onToolClicked(const QString &id);
    void chooseLookInFolder();

    // frmExpl_Listing.cpp
    void afterListing();
    void showProperties(int row);
    void hideProperties();
    void showFirstShownRow();
    void onCurrentRowChanged(int row);
    void onRowPicked(int row);
    void fillCategoryList();
    int appendEntryRow(const FileEntry &entry, const QString &location);

    // frmExpl_Filters.cpp
    void buildFilterBoxes();
    QString currentCategory() const;
    void onDateRangeChosen(QComboBox *chosen, QComboBox *other, const QString &dateColumnKey);
    void onExtChosen();
    void resetDateBoxes();

    // frmExpl_Search.cpp
    void onSearch();
    QTreeWidgetItem *addSearchNode(QTreeWidgetItem *parent, const QString &folder);

    Store m_store;
    ViewMode m_viewMode = ViewMode::Folder;
    Branch m_branch = Branch::FileManager;
    OrganizerFolders m_folders;
    QString m_currentFolder;
    QString m_currentFile;
    QString m_sortColumn;
    // Category of the selected node of the "File Category Wise" branch; empty outside it.
    QString m_category;
    QHash<QString, std::vector<FileEntry>> m_searchHits;
    bool m_jobRunning = false;

    QWidget *m_body = nullptr;
    ToolStrip *m_tools = nullptr;
    QTreeWidget *tvFolder = nullptr;
    QTreeWidgetItem *m_fileManagerNode = nullptr;
    QTreeWidgetItem *m_findFileNode = nullptr;
    QTreeWidgetItem *m_categoryNode = nullptr;
    QTabWidget *m_tabs = nullptr;
    QFrame *frmLookIn = nullptr;
    // The folder chooser: setting a path there (and pressing Enter) lists that folder.
    QLineEdit *BrowseFolder1 = nullptr;
    QCheckBox *m_rescan = nullptr;
    QListWidget *SSListBar1 = nullptr;
    KeyedGrid *FileGrid = nullptr;
    QComboBox *cboExt = nullptr;
    QComboBox *cboDateRangeC = nullptr;
    QComboBox *cboDateRangeM = nullptr;
    QFrame *pnlPro = nullptr;
    QLabel *lblFileName = nullptr;
    QLabel *LblName = nullptr;
    QLabel *LblSize = nullptr;
    QLabel *LblModified = nullptr;
    QLabel *m_recordLabel = nullptr;
    QLabel *LblFileSize = nullptr;
    QLineEdit *BrowseFolder2 = nullptr;
    QComboBox *Combo1 = nullptr;
    QComboBox *txFileName = nullptr;
    QCheckBox *dxCheckBox1 = nullptr;
    QPushButton *cmdSearch = nullptr;
    QLabel *lblCurrentFolder = nullptr;
    QProgressBar *Animation1 = nullptr;
};
