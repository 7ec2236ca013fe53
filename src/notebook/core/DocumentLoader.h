#pragma once

#include "DocumentGrid.h"

#include <QString>

#include <limits>
#include <vector>

class KeyedGridModel;
class Store;
struct sqlite3_stmt;

// Fills the document grid from a record source a page at a time: start() runs the statement
// and loads the first rows, more() the next ones, so that a window shows the first page at once
// and reads the rest while it stays responsive. The grid is bound to the statement's fields,
// each column keyed by its field name ("DocumentName", "DATE", "MONTH"), the first columns
// captioned by a caption text whose blanks size them; date fields ("date", "mDate", "DueDate")
// become date columns.
//
// The loader keeps its statement (a read of the store) open until it has read the last row or
// is destroyed; it must not outlive the grid or the store.
class DocumentLoader
{
public:
    explicit DocumentLoader(const Store &store);
    ~DocumentLoader();
    DocumentLoader(const DocumentLoader &) = delete;
    DocumentLoader &operator=(const DocumentLoader &) = delete;

    // Runs jetSql; on success replaces the grid's columns and rows and loads up to firstRows
    // records. On failure the grid keeps its content and error (when given) says why.
    bool start(KeyedGridModel &grid, const QString &jetSql, const QString &captions,
               const QString &dateFormat, const DocumentGrid::Grouping *grouping = nullptr,
               int firstRows = std::numeric_limits<int>::max(), QString *error = nullptr);
    // Loads up to records more records; returns the grid number of the first row it added
    // (the grid's row count when it added none).
    int more(int records);
    // Loads every record left.
    void finish() { more(std::numeric_limits<int>::max()); }
    bool atEnd() const { return m_statement == nullptr; }
    // Why the last read stopped early; empty when it reached the end.
    QString error() const { return m_error; }

private:
    void close();

    const Store &m_store;
    sqlite3_stmt *m_statement = nullptr;
    KeyedGridModel *m_grid = nullptr;
    int m_fields = 0;
    std::vector<char> m_dates;
    int m_groupField = -1;
    std::function<QString(const QString &)> m_heading;
    QString m_group;
    QString m_error;
};
