#include "FileGridFilter.h"

#include "KeyedGridModel.h"
#include "RowFilter.h"

int FileGridFilter::apply(KeyedGridModel &grid, const RowFilter &filter,
                          const QString &dateColumnKey)
{
    if (filter.pass() == RowFilter::Pass::None)
        return grid.shownRows();
    const int ext = grid.column(QStringLiteral("Ext"));
    const int group = grid.column(QStringLiteral("Group"));
    const int date = grid.column(dateColumnKey);
    return grid.hideRows([&](int row) {
        return !filter.accepts(grid.textAt(row, ext), grid.textAt(row, group),
                               grid.dateKey(row, date));
    });
}
