#pragma once

#include "GridColumn.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <vector>

class KeyedGridModel;

// The shown part of a keyed grid as plain text, as export, print and list files take it: the
// columns not hidden and the data rows not hidden (rows folded under an outline heading count:
// a printed grouped view shows them all). Row i of the reader is the i-th such row.
//
// Thread affinity: made on the grid's thread. read() may be called from any thread; from
// another one it has the grid's thread read the page and waits for it, so a job never touches
// the model itself. That thread must be serving events meanwhile (JobRunner's loop does).
// The grid must keep its rows while they are read; a grid that is gone reads as no rows.
class GridRows
{
public:
    // Pages read per call by the writers: large enough to cost little per call, small enough
    // for a million-row grid to stay out of memory.
    static constexpr int PageRows = 2000;

    explicit GridRows(const KeyedGridModel &grid);

    const QList<GridColumn> &columns() const { return m_columns; }
    QStringList captions() const;
    int rowCount() const { return int(m_rows.size()); }
    // The grid row behind reader row i.
    int gridRow(int i) const { return m_rows[size_t(i)]; }

    // Rows first .. first + count - 1 (cut to rowCount()), one text per column. Empty when
    // cancelled() answers true while it waits for another thread.
    QList<QStringList> read(int first, int count,
                            const std::function<bool()> &cancelled = {}) const;

private:
    // The grid rows behind reader rows first .. first + count - 1, cut to the rows there are.
    std::vector<int> slice(int first, int count) const;

    QPointer<const KeyedGridModel> m_grid;
    QList<GridColumn> m_columns;
    std::vector<int> m_columnIndex;
    std::vector<int> m_rows;
};
