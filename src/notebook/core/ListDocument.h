#pragma once

// A list document (".nvs"): a grid saved with its cells and its column layout. The notebook
// shows and edits them, the database utility writes them from its record grid. The format is
// this program's own: UTF-8 text, one record a line, fields separated by a tab, lines ended by
// a line feed (a carriage return before it is ignored).
//
//     NuvelaList <TAB> 1                       the first line: the format name and its version
//     size <TAB> rows <TAB> columns             the grid's size, fixed rows and columns included
//     fixed <TAB> rows <TAB> columns            how many leading rows and columns are headings
//     column <TAB> c <TAB> width [<TAB> flag]…  layout of column c (from 0): width in pixels,
//                                               0 for the viewer's default; flags "hidden",
//                                               "left", "center", "right"
//     row <TAB> r <TAB> cell <TAB> cell …       the cells of row r (from 0), from column 0;
//                                               cells missing at the end are empty
//
// Cells are escaped so that any text survives: "\\" stands for a backslash, "\t" for a tab,
// "\n" for a line feed and "\r" for a carriage return; every other character stands for
// itself. Rows whose cells are all empty, and columns without a layout, may be left out.
//
// Versions: a reader of version 1 refuses a file of a higher version (it may mean something
// else) and skips records of a kind it does not know, so version 1 may gain record kinds.
// A file that does not start with the first line, a size beyond MaxCells, a row or column
// outside the size, or a record that is not what its kind says is refused with a reason.
// Writing goes to a temporary file that replaces the old one only when complete.

#include <QList>
#include <QString>
#include <QStringList>
#include <Qt>

#include <optional>

class ListDocument
{
public:
    static constexpr int Version = 1;
    // The most cells a list may hold (rows times columns), so a damaged size cannot exhaust
    // memory.
    static constexpr qint64 MaxCells = 2'000'000;

    struct Column {
        int width = 0; // pixels; 0: the viewer's default
        bool hidden = false;
        Qt::Alignment alignment = Qt::AlignLeft;
        bool operator==(const Column &) const = default;
    };

    ListDocument() = default;
    ListDocument(int rows, int columns);

    int rows() const { return int(m_cells.size()); }
    int columns() const { return m_columns; }
    // Rows and columns are kept at least one and at most MaxCells together.
    void resize(int rows, int columns);

    int fixedRows() const { return m_fixedRows; }
    int fixedColumns() const { return m_fixedColumns; }
    void setFixed(int rows, int columns);

    QString cell(int row, int column) const;
    // Out-of-range cells are ignored.
    void setCell(int row, int column, const QString &text);

    Column column(int column) const;
    void setColumn(int column, const Column &layout);

    // The text of the cells, a row a line and the cells of a row separated by a tab: what
    // content search finds in a list.
    QString plainText() const;

    QByteArray write() const;
    static std::optional<ListDocument> read(const QByteArray &bytes, QString *error = nullptr);

    // Atomic save; false with a reason when the file cannot be written.
    bool save(const QString &path, QString *error = nullptr) const;
    static std::optional<ListDocument> load(const QString &path, QString *error = nullptr);

    bool operator==(const ListDocument &) const = default;

private:
    int m_columns = 0;
    int m_fixedRows = 0;
    int m_fixedColumns = 0;
    QList<QStringList> m_cells;
    QList<Column> m_layout;
};
