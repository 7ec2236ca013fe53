#pragma once

#include "GridRowSource.h"
#include "RecordQuery.h"

#include <QSet>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The record grid's rows: the records a RecordQuery selects, in its order, read a page at a time
// as the grid shows them. The order is a list of record numbers (rowids) made by one statement
// over the whole table; the cells of a page come from a statement that reads one record by its
// number. A table without record numbers (a SQLite view or WITHOUT ROWID table) is read whole.
//
// Grouped, the rows are heading rows (the trimmed value of the order field, in column 0) each
// followed by its records; headings start closed.
//
// The order is made either in steps (fillMore(), for the plain order: the first page shows at
// once and the rest follows while the window stays responsive) or at once (buildAll(), for a
// sort, a filter or the grouped view, on a job's thread). Everything else runs on the thread of
// the window, and never while buildAll() runs on another: freeze() the pager on screen first.
class RecordPager final : public GridRowSource
{
public:
    static constexpr int PageRows = 128;

    RecordPager(sqlite3 *db, const RecordQuery &query);
    ~RecordPager() override;
    RecordPager(const RecordPager &) = delete;
    RecordPager &operator=(const RecordPager &) = delete;

    // Prepares the statements; false with the engine's message when the text does not run
    // (a field that is gone, a damaged table).
    bool prepare(QString *error);
    const RecordQuery &query() const { return m_query; }
    QStringList columnNames() const { return m_columns; }
    // Columns whose values are dates: a date at midnight shows without its time. Set before
    // prepare().
    void setDateColumns(const QSet<QString> &lowerCaseNames) { m_dateColumns = lowerCaseNames; }

    // Reads up to maxRows more record numbers, or for about budgetMs; true when the order is
    // complete. Rows already shown keep their places.
    bool fillMore(int maxRows, int budgetMs);
    // Reads the whole order; cancelled() is asked now and then (it may interrupt a long sort).
    // False when cancelled or failed (*error then says why; empty when cancelled).
    bool buildAll(const std::function<bool()> &cancelled, QString *error,
                  const std::function<void(qint64)> &progress = {});
    bool isComplete() const { return m_complete; }
    // A table without record numbers is read whole; its rows cannot be changed by number.
    bool isReadWhole() const { return m_materialized; }

    // Records in the order (headings not counted).
    qint64 recordCount() const { return qint64(m_order.size()); }
    int groupCount() const { return int(m_groups.size()); }
    // The record at a grid row's place in the order (-1 for a heading or out of range).
    qint64 recordPosition(int row) const;
    // The record number (rowid) of a grid row's record, by which a statement changes it; -1 for
    // a heading, a row out of range or a table read whole.
    qint64 recordNumber(int row) const;
    // The place in the order of a heading's first record (-1 for a data row).
    qint64 groupStart(int row) const;
    // While frozen the pager reads nothing: rows not yet read show empty.
    void freeze(bool frozen) { m_frozen = frozen; }

    // --- editing
    // While editable, the cells of records (not headings, not rows of a table read whole) take
    // typed text. It is kept by record number and shown in place of the stored value until the
    // caller has written it (dropPending() and forgetPages() after the write) or gives it up.
    // A text equal to the stored one is no change.
    using RowTexts = QMap<int, QString>; // column -> typed text
    void setEditable(bool editable) { m_editable = editable; }
    bool isEditing() const { return m_editable; }
    const std::map<qint64, RowTexts> &pending() const { return m_pending; }
    bool hasPending() const { return !m_pending.empty(); }
    void dropPending() { m_pending.clear(); }
    // The stored values are read again as the grid shows them (after a write changed them).
    void forgetPages() { m_pages.clear(); }
    // The row that shows a record; -1 when none does (folded under its heading, or not in the
    // order).
    int rowOf(qint64 recordNumber) const;

    // GridRowSource
    int rowCount() const override;
    QString text(int row, int column) const override;
    int outlineLevel(int row) const override;
    bool isCollapsed(int row) const override;
    int childRows(int row) const override;
    void setCollapsed(int row, bool collapsed) override;
    bool isEditable(int row, int column) const override;
    bool setText(int row, int column, const QString &text) override;

    // The display text of a stored value: dates at midnight without their time.
    static QString displayText(sqlite3_stmt *statement, int column, bool dateColumn);

private:
    struct Group {
        QString value;
        qint64 start = 0;
        qint64 count = 0;
        bool collapsed = true;
    };
    struct Page {
        int index = -1;
        quint64 lastUse = 0;
        std::vector<QStringList> rows;
    };

    bool step(sqlite3_stmt *statement, QString *error);
    void takeRow(sqlite3_stmt *statement);
    void closeGroup(qint64 end);
    bool hasRecordNumbers() const;
    void rebuildGroupRows();
    // The group of a row and the row's offset in it (-1 for the heading).
    bool locate(int row, int *group, qint64 *offset) const;
    const QStringList *record(qint64 position) const;
    const Page *page(int index) const;

    sqlite3 *m_db;
    RecordQuery m_query;
    QStringList m_columns;
    QSet<QString> m_dateColumns;
    QList<bool> m_isDate;
    sqlite3_stmt *m_orderStatement = nullptr;
    sqlite3_stmt *m_fetchStatement = nullptr;
    // Whole rows, for a table without record numbers.
    bool m_materialized = false;
    std::vector<QStringList> m_rows;

    std::vector<qint64> m_order;
    std::vector<Group> m_groups;
    // View row of each group's heading, and the rows after the last group.
    std::vector<int> m_groupRow;
    int m_groupedRows = 0;
    QByteArray m_running;
    bool m_complete = false;
    bool m_frozen = false;
    bool m_editable = false;
    std::map<qint64, RowTexts> m_pending;

    mutable std::vector<Page> m_pages;
    mutable quint64 m_useClock = 0;
};
