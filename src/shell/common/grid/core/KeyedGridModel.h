#pragma once

#include "GridColumn.h"
#include "GridRowSource.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QDateTime>
#include <QHash>
#include <QList>

#include <functional>
#include <limits>
#include <memory>
#include <vector>

// The one grid model of the program: columns addressed by key, rows numbered as the tool
// windows count them, hidden rows, per-cell backgrounds and date cells.
//
// Row numbers: the grid has fixedRows() fixed rows (headers, a filter row) before its data, so
// the first data row is row fixedRows() and rows() counts fixed and data rows together. Every
// method taking a "row" uses that numbering and reaches hidden rows too. The Qt side of the
// model (rowCount(), data(), QModelIndex) shows only the rows not hidden; indexOf() and
// gridRow() translate between the two.
//
// Outline: a heading row (an outline node) heads the data rows after it, up to the next heading.
// Collapsing a heading folds those rows away without hiding them: hidden and folded are kept
// apart, so expanding shows exactly the rows a filter left shown. Heading rows read bold.
//
// Cells are kept column by column. data() only looks up: a date cell's display text is made
// the first time it is asked for and kept. Bulk changes (appending a listing, hiding by a
// predicate, sorting) run in one pass and announce themselves as one model reset; switch
// setRedraw(false) around a long run of single-cell changes to do the same for them.
//
// Lazy mode: with a GridRowSource set, the data rows are the source's, read as views show them
// (a million-record table costs a page). Every data row is shown, in the source's order, with
// its outline headings; grid row fixedRows() + i is the source's row i and view row i. Cells are
// read-only there: writes, hidden rows, backgrounds, setRowHeading(), appendRow(s)() and
// sortByKey() do nothing (the source orders its rows and makes its headings itself); only a view
// edits a cell, where the source takes typed text (GridRowSource::isEditable()); a heading
// folded or unfolded is announced as rows removed or inserted. Columns stay the model's: source
// column c is column c.
class KeyedGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Stored value of a date cell that holds no date; it sorts and compares before any date.
    static constexpr qint64 NoDate = std::numeric_limits<qint64>::min();

    explicit KeyedGridModel(QObject *parent = nullptr);

    // --- columns
    // Replaces the columns by those of a format text such as "Name   |Ext  | Size  ": one column
    // per "|"-separated part, caption the trimmed part, width the part's length. Keys start as
    // the captions; setColumnKeys() names them. Data rows are removed.
    void setFormatText(const QString &format);
    void setColumnKeys(const QStringList &keys);
    // Appends a column (after the data rows exist, its cells start empty); returns its position.
    int addColumn(const QString &key, const QString &caption = QString(), int widthChars = 10);
    int columns() const { return int(m_columns.size()); }
    // Position of the column with that key (compared without regard to case); -1 when none.
    int column(const QString &key) const;
    const GridColumn &columnInfo(int column) const { return m_columns[size_t(column)].info; }
    void setColumnType(const QString &key, GridCellType type, const QString &format = QString());
    // Changes the display format of a date column; its texts are made again.
    void setColumnFormat(const QString &key, const QString &format);
    void setColumnHidden(const QString &key, bool hidden);
    void setColumnAlignment(const QString &key, Qt::Alignment alignment);

    // --- rows (grid numbering)
    void setFixedRows(int fixedRows);
    int fixedRows() const { return m_fixedRows; }
    int rows() const { return m_fixedRows + dataRows(); }
    int dataRows() const { return m_source ? m_lazyRows : m_dataRows; }
    bool isDataRow(int row) const { return row >= m_fixedRows && row < rows(); }
    // Back to the fixed rows only.
    void clearRows();
    void reserveRows(int count);
    // Appends an empty, shown, unmarked row; returns its number.
    int appendRow();
    // Appends count rows whose cells fill(row) sets, announced to views as one insertion with
    // no signal per cell (views keep their current row and scroll position). Returns the
    // number of the first new row.
    int appendRows(int count, const std::function<void(int row)> &fill);

    // --- cells (a row or column out of range is ignored, or reads as empty)
    void setText(int row, int column, const QString &text);
    void setText(int row, const QString &key, const QString &text);
    QString text(int row, const QString &key) const;
    // The stored text (a date cell's display text); no copy, for fast passes over many rows.
    const QString &textAt(int row, int column) const;
    // An invalid value empties the cell.
    void setDate(int row, int column, const QDateTime &value);
    void setDate(int row, const QString &key, const QDateTime &value);
    // Milliseconds since the epoch (NoDate for none): the stored value itself.
    void setDateKey(int row, int column, qint64 msecsSinceEpoch);
    qint64 dateKey(int row, int column) const;
    QDateTime date(int row, const QString &key) const;

    // --- hidden rows
    bool isRowHidden(int row) const;
    void setRowHidden(int row, bool hidden);
    // One pass over every data row: a row is hidden when hide(row) answers true. Returns the
    // number of rows left shown.
    int hideRows(const std::function<bool(int row)> &hide);
    void showAllRows();
    int shownRows() const { return m_source ? m_lazyRows : int(m_shown.size()); }
    // The first data row not hidden; -1 when every row is hidden.
    int firstShownRow() const;

    // --- outline headings
    void setRowHeading(int row, bool heading);
    bool isRowHeading(int row) const;
    // Folds (or unfolds) the rows under a heading; ignored for other rows.
    void setHeadingCollapsed(int row, bool collapsed);
    bool isHeadingCollapsed(int row) const;

    // --- backgrounds (an invalid colour means none)
    void setCellBackground(int row, int column, const QColor &color);
    QColor cellBackground(int row, int column) const;
    // Paints every cell of the row, first column to last.
    void setRowBackground(int row, const QColor &color);

    // --- order
    // Sorts the data rows by one column: text without regard to case, dates by time; rows that
    // compare equal keep their order. Cells, hidden flags and backgrounds move with their rows.
    void sortByKey(const QString &key, Qt::SortOrder order = Qt::AscendingOrder);
    // While off, changes send no per-cell signals; turning it on again refreshes the views.
    void setRedraw(bool on);
    bool redraw() const { return m_redraw; }

    // --- rows kept elsewhere (lazy mode)
    // Shows the rows of source (null: back to the model's own, empty rows). Columns are kept.
    void setRowSource(std::shared_ptr<GridRowSource> source);
    GridRowSource *rowSource() const { return m_source.get(); }
    bool isLazy() const { return m_source != nullptr; }
    // The source has appended rows at its end: views learn of them.
    void rowSourceAppended();
    // The source's rows changed altogether (order, count, headings).
    void rowSourceReset();
    // Background of the source's heading rows (drawn in bold); invalid for none.
    void setHeadingBackground(const QColor &color) { m_headingBackground = color; }

    // --- Qt side
    // The grid row shown at a view index; -1 for an invalid index.
    int gridRow(const QModelIndex &index) const;
    // The view index of a grid row's cell; invalid when the row is hidden or out of range.
    QModelIndex indexOf(int row, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Lazy mode: a cell the source takes typed text for is editable, and an edit goes to it.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

Q_SIGNALS:
    // The columns changed (number, captions, widths or hidden flags); views lay out again.
    void columnsLaidOut();

private:
    struct Cells {
        GridColumn info;
        // Display texts; for a date column a null text means "not made yet".
        mutable QList<QString> text;
        std::vector<qint64> date;
        // Display texts of a date-only format by quarter hour, shared by the cells.
        mutable QHash<qint64, QString> dateTexts;
        bool dateOnly = false;
        // Empty until the column's first background; 0 (alpha 0) means none.
        std::vector<QRgb> background;
    };

    int dataIndex(int row) const { return row - m_fixedRows; }
    bool validCell(int row, int column) const;
    void resizeCells(Cells &cells) const;
    void rebuildShown();
    void changed(int index, int column);
    void renderDates(Cells &cells);
    QString dateText(const Cells &cells, int index) const;
    QVariant lazyData(const QModelIndex &index, int role) const;
    void setSourceHeadingCollapsed(int dataIndex, bool collapsed);

    std::vector<Cells> m_columns;
    int m_fixedRows = 1;
    int m_dataRows = 0;
    std::vector<char> m_hidden;
    // Per data row: 0 an ordinary row, Heading or Heading | Collapsed.
    enum Outline : char { Heading = 1, Collapsed = 2 };
    std::vector<char> m_outline;
    // View row -> data index, and data index -> view row (-1 when hidden).
    std::vector<int> m_shown;
    std::vector<int> m_viewRow;
    bool m_redraw = true;
    bool m_dirty = false;

    std::shared_ptr<GridRowSource> m_source;
    // The source's row count as the views know it.
    int m_lazyRows = 0;
    mutable QString m_lazyText;
    QColor m_headingBackground;
};
