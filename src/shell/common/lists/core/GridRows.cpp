#include "GridRows.h"

#include "KeyedGridModel.h"

#include <QMetaObject>
#include <QSemaphore>
#include <QThread>

#include <algorithm>
#include <memory>

GridRows::GridRows(const KeyedGridModel &grid) : m_grid(&grid)
{
    for (int c = 0; c < grid.columns(); ++c) {
        if (grid.columnInfo(c).hidden)
            continue;
        m_columns.append(grid.columnInfo(c));
        m_columnIndex.push_back(c);
    }
    m_rows.reserve(size_t(grid.dataRows()));
    for (int row = grid.fixedRows(); row < grid.rows(); ++row) {
        if (!grid.isRowHidden(row))
            m_rows.push_back(row);
    }
}

QStringList GridRows::captions() const
{
    QStringList captions;
    for (const GridColumn &column : m_columns)
        captions << column.caption;
    return captions;
}

namespace
{

QList<QStringList> readRows(const KeyedGridModel *grid, const std::vector<int> &columns,
                            const std::vector<int> &rows)
{
    QList<QStringList> page;
    if (!grid)
        return page;
    page.reserve(qsizetype(rows.size()));
    for (const int row : rows) {
        QStringList cells;
        cells.reserve(qsizetype(columns.size()));
        for (const int c : columns)
            cells << grid->textAt(row, c);
        page.append(std::move(cells));
    }
    return page;
}

} // namespace

std::vector<int> GridRows::slice(int first, int count) const
{
    first = std::clamp(first, 0, rowCount());
    const int last = std::clamp(first + std::max(0, count), first, rowCount());
    return std::vector<int>(m_rows.begin() + first, m_rows.begin() + last);
}

QList<QStringList> GridRows::read(int first, int count,
                                  const std::function<bool()> &cancelled) const
{
    const KeyedGridModel *grid = m_grid.data();
    if (!grid || QThread::currentThread() == grid->thread())
        return readRows(grid, m_columnIndex, slice(first, count));
    // The page is read on the grid's thread; this thread waits, looking at the cancel flag now
    // and then, so a window that stops serving events cannot leave it waiting for ever. The
    // state is shared and the request carries copies: a page read after the wait was given up
    // (and this reader perhaps gone) lands nowhere.
    struct Pending {
        QSemaphore done;
        QList<QStringList> page;
    };
    auto pending = std::make_shared<Pending>();
    QMetaObject::invokeMethod(
        const_cast<KeyedGridModel *>(grid),
        [grid = m_grid, columns = m_columnIndex, rows = slice(first, count), pending] {
            pending->page = readRows(grid.data(), columns, rows);
            pending->done.release();
        },
        Qt::QueuedConnection);
    while (!pending->done.tryAcquire(1, 50)) {
        if (cancelled && cancelled())
            return {};
    }
    return std::move(pending->page);
}
