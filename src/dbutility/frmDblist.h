#pragma once

#include "DbBrowser.h"
#include "FieldChoices.h"
#include "GridLook.h"
#include "RecordEditor.h"
#include "Store.h"

#include <QAbstractItemModel>
#include <QWidget>

#include <memory>

class FrmScan;
class KeyedGrid;
class KeyedGridModel;
class QMenu;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolButton;
class RecordGridDelegate;
class RecordPager;
class ToolStrip;

// The Database utility ("DBViewer"): favourite databases on the left, the tables and fields of
// the chosen one in the middle, its records on the right in a keyed grid that reads a page at a
// time, with sorting, filter boxes, a grouped view and the grid's look. The window wires
// widgets to DbBrowser (dbutility_core); its routines keep the names the program always used.
//
// Split by concern: frmDblist.cpp builds the window and dispatches its tools,
// frmDblist_Favourites.cpp the favourites and the database scan, frmDblist_Browse.cpp tables,
// fields and records, frmDblist_Records.cpp adding, editing, deleting and the clipboard,
// frmDblist_Choices.cpp the values panel, frmDblist_Look.cpp lines, fonts, colours and file
// attributes.
class frmDblist : public QWidget
{
    Q_OBJECT
public:
    explicit frmDblist(QWidget *parent = nullptr);
    ~frmDblist() override;

    DbBrowser &browser() { return m_browser; }
    // The record grid's rows (lazy: a source reads them as the grid shows them).
    KeyedGridModel *records() const;
    RecordPager *pager() const { return m_pager.get(); }
    // Whether the window was opened by another window (its tag is "Outer").
    bool isOuter() const { return m_outer; }

    // Opened by another tool window with a file: tags the window "Outer" and, when a file is
    // given, makes it a favourite and shows it.
    void handOver(const QString &file, bool outer);

    // --- favourites
    void LoadFavourites();
    void AddFromFileManager(const QString &path);
    // Makes the file a favourite and selects it; false (and a message) when it cannot be read.
    bool AddFavourite(const QString &path);
    void SelectFavourite(int row);

    // --- browsing
    void OpenSource(const QString &path, const QString &typeText);
    void ListFields(const QString &table);
    // Shows the records of the current table with a filter clause (" where ...") or none.
    void RecordSource(const QString &where = QString());
    // Next: from choosing to viewing.
    void CmdNext_Click();
    // Waits until the plain records are all counted (they are counted while the window is idle).
    void finishCounting();

    // --- records: the mode label's modes; editing lives from "ID_Add" or "ID_Edit" until
    // "ID_List" or Refresh. Typed texts are written when the current row changes, on Save, and
    // before the records are read again.
    enum class RecordMode { View, Add, Edit };
    RecordMode recordMode() const { return m_mode; }
    // Writes the typed texts waiting in the grid; false (with a message naming the field, the
    // row staying as typed) when one is refused.
    bool finishEditing();

    // --- the database scan (the scan panel's CmdScan)
    void CmdScan_Click();

    // --- tools by identifier, as the tool bar and its menus trigger them
    void onToolClicked(const QString &id);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // frmDblist.cpp
    void buildWindow();
    void buildTools();
    // A tool whose button opens a menu of tools.
    QMenu *addMenuButton(const QString &id, const QString &text, const QString &icon,
                         bool withText);
    QWidget *buildFavouritesPanel();
    QFrame *buildAddPanel(QWidget *panel);
    QWidget *buildColourButtons(QWidget *panel);
    QWidget *buildAttributeBoxes(QWidget *panel);
    QWidget *buildSearchPanel();
    QWidget *buildFieldsPane();
    QWidget *buildRecordsPane();
    QLayout *buildRecordGrid(QWidget *pane);
    QLayout *buildNavigation(QWidget *pane);
    QFrame *buildColourPanel();
    void iconOnly(QAction *tool);
    QAction *addMenuTool(QMenu *menu, const QString &id, const QString &text,
                         const QString &icon = QString());
    // Tools of the records and of the grid's look; false when id is none of the records'.
    bool onRecordTool(const QString &id);
    void onLookTool(const QString &id);
    // Tells a failure once: the same message is not shown twice.
    void report(const QString &message);
    void reportTableError(const QString &error);
    bool runOrderJob(const std::shared_ptr<RecordPager> &pager);
    // "Saveas"/"Saveas1" (a notebook list), "FileExport" and "ListPrint" of the record grid.
    void takeRecordsOut(const QString &id);

    // frmDblist_Favourites.cpp
    void showAddPanel();
    void onAddClicked();
    void onDeleteFavourite();
    void onDeleteAll();
    void clearChoosing();
    void toggleFavourites();
    int favouriteRow(const QString &path) const;
    void showScanPanel();

    // frmDblist_Browse.cpp
    void fillTableList(const QStringList &tables);
    void onFieldTicked(QListWidgetItem *item);
    void onVisibilityChanged(int row, int column);
    void showRecordCount();
    void loadMarks();
    void showPager(std::shared_ptr<RecordPager> pager);
    void fillMore();
    void ShowFileFacts(bool plainSize);
    void SortEntries();
    void FilterBoxes();
    void onFilterChosen(QComboBox *box);
    void SortBy(const QString &field, bool descending = false);
    void onGroupTab(int index);
    void moveRecord(int step);
    void updatePosition();
    void Refresh();
    void CmdSingle_Click();
    void openQueryWindow();
    void chooseFile();
    QComboBox *filterBox(bool access, int index) const;

    // frmDblist_Records.cpp
    QWidget *buildRecordTools(QWidget *pane);
    void setRecordMode(RecordMode mode);
    void startEditing();
    void addRecord();
    void deleteRecord();
    // Writes the typed texts and the new records given, all or none.
    bool writeChanges(const QList<RecordEditor::Change> &added);
    // Before the records are read again: what was typed is written or, refused, told and given
    // up.
    void settleEdits();
    // Reads the records again as they are shown (order, filter, grouping); the current row
    // goes to the record given, or stays where it was.
    void reloadRecords(qint64 recordNumber = -1);
    void onRecordRowChanged(int row);
    QModelIndexList selectedCells() const;
    void copyCells(bool cut);
    void pasteCells();
    QStringList choicesOfColumn(int column) const;
    // Why records cannot be changed here; told once, and "" when they can.
    bool refusedHere();

    // frmDblist_Choices.cpp
    QFrame *buildValuesPanel();
    QWidget *buildValueButtons(QWidget *panel);
    QFrame *buildCataloguePanel(QWidget *panel);
    void fillValueFields();
    void listValues();
    void setValueMode(const QString &mode);
    FieldChoices::Field valueField() const;
    void CmdSaveValue_Click();
    void CmdDelValue_Click();
    void SSCommand4_Click();
    void SSCommand22_Click();

    // frmDblist_Look.cpp
    void buildLookTools();
    void applyLook();
    void setLineStyle(GridLook::LineStyle style);
    void toggleCellFont(const QString &id);
    void chooseFont();
    void setToolSize(GridLook::ToolSize size);
    void chooseColour(FavouritesCatalogue::Colour which);
    void setColours(qint64 back, qint64 backAlternate, qint64 fore);
    void paintColourButtons();
    void fillSchemeBoxes();
    void onSchemeChosen(const QString &name);
    void CmdColorSave_Click();
    void readAttributes();
    void onAttributeTicked(QCheckBox *box, int attribute);

    DbBrowser m_browser;
    Store m_info;
    GridLook m_look;
    std::shared_ptr<RecordPager> m_pager;
    QTimer *m_fillTimer = nullptr;
    bool m_outer = false;
    bool m_filling = false;
    bool m_busy = false;
    bool m_committing = false;
    RecordMode m_mode = RecordMode::View;
    QString m_where;
    qint64 m_back = 0;
    qint64 m_backAlternate = 0;
    qint64 m_fore = 0;
    // The colour panel's preview: text, rows, alternate rows.
    qint64 m_previewFore = 0;
    qint64 m_previewBack = 0;
    qint64 m_previewBackAlternate = 0;

    ToolStrip *m_tools = nullptr;
    QComboBox *m_fontBox = nullptr;
    QComboBox *m_sizeBox = nullptr;
    QComboBox *m_toolScheme = nullptr;
    QStackedWidget *m_leftPanels = nullptr;
    KeyedGrid *grdFavData = nullptr;
    QFrame *m_addPanel = nullptr;
    QLineEdit *m_addPath = nullptr;
    QPushButton *CmdBackcolor = nullptr;
    QPushButton *cmdBackColorA = nullptr;
    QPushButton *CmdForeColor = nullptr;
    QCheckBox *chkAttrArchive = nullptr;
    QCheckBox *chkAttrHidden = nullptr;
    QCheckBox *chkAttrReadolny = nullptr;
    QCheckBox *chkAttrSystem = nullptr;
    QComboBox *cboDbType = nullptr;
    QLineEdit *m_browsePath = nullptr;
    QString m_dialogFilter;

    QLabel *m_tablesCaption = nullptr;
    QListWidget *m_tableList = nullptr;
    QTabWidget *m_fieldTabs = nullptr;
    QListWidget *lstFields = nullptr;
    KeyedGrid *Grid3 = nullptr;
    QTableWidget *Grid4 = nullptr;
    KeyedGrid *m_details = nullptr;

    QLabel *LblName = nullptr;
    QLabel *lblTblName = nullptr;
    QLabel *LblRcount = nullptr;
    QLabel *m_created = nullptr;
    QLabel *m_fileSize = nullptr;
    QLabel *m_fileType = nullptr;
    QLabel *LblMode = nullptr;
    QLabel *m_position = nullptr;
    QWidget *m_filterRow = nullptr;
    QList<QComboBox *> m_mdbBoxes;
    QList<QComboBox *> m_dbfBoxes;
    QList<QLabel *> m_filterCaptions;
    QTabBar *VTabs = nullptr;
    KeyedGrid *m_grid = nullptr;
    RecordGridDelegate *m_delegate = nullptr;
    ToolStrip *m_recordTools = nullptr;
    QPushButton *CmdRecSave = nullptr;
    QPushButton *m_recCancel = nullptr;
    // A widget on a tool bar is shown and hidden through its action.
    QAction *m_recSaveTool = nullptr;
    QAction *m_recCancelTool = nullptr;
    QFrame *m_valuesPanel = nullptr;
    QListWidget *lstSFields = nullptr;
    QListWidget *LstValue = nullptr;
    QLineEdit *TxtValue = nullptr;
    QPushButton *CmdSaveValue = nullptr;
    QPushButton *CmdCancelValue = nullptr;
    QFrame *m_cataloguePanel = nullptr;
    QComboBox *m_kindBox = nullptr;
    QStackedWidget *m_middle = nullptr;
    FrmScan *m_scan = nullptr;
    QFrame *m_colourPanel = nullptr;
    QComboBox *m_panelScheme = nullptr;
    QLabel *m_preview = nullptr;
    QList<QWidget *> m_captions;
};
