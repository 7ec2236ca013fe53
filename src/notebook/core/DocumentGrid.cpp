#include "DocumentGrid.h"

#include "DocumentLoader.h"
#include "KeyedGridModel.h"
#include "WindowsColor.h"

#include <limits>

QColor DocumentGrid::backColour()
{
    return WindowsColor::toColor(0x5F4930);
}

QColor DocumentGrid::alternateColour()
{
    return WindowsColor::toColor(0x7B5E3E);
}

QColor DocumentGrid::spreadsheetColour()
{
    return QColor(0x2E, 0x6B, 0x45);
}

bool DocumentGrid::fill(const Store &store, const QString &jetSql, const QString &captions,
                        KeyedGridModel &grid, const QString &dateFormat, const Grouping *grouping,
                        QString *error)
{
    DocumentLoader loader(store);
    return loader.start(grid, jetSql, captions, dateFormat, grouping,
                        std::numeric_limits<int>::max(), error);
}

QString DocumentGrid::dateFormat(bool national)
{
    return national ? QStringLiteral("dd MMM-yyyy") : QStringLiteral("MMM dd-yyyy");
}

void DocumentGrid::setDateFormat(KeyedGridModel &grid, const QString &format,
                                 const QStringList &keys)
{
    for (const QString &key : keys)
        grid.setColumnFormat(key, format);
}

void DocumentGrid::showOnly(KeyedGridModel &grid, const QStringList &keys)
{
    for (int c = 0; c < grid.columns(); ++c)
        grid.setColumnHidden(grid.columnInfo(c).key, true);
    for (const QString &key : keys)
        grid.setColumnHidden(key, false);
}

QStringList DocumentGrid::detailColumns()
{
    return {QStringLiteral("Category1"), QStringLiteral("Type"),   QStringLiteral("Serialno"),
            QStringLiteral("Path"),      QStringLiteral("Author"), QStringLiteral("Version"),
            QStringLiteral("Progress"),  QStringLiteral("Date"),   QStringLiteral("mDate"),
            QStringLiteral("Flags")};
}

void DocumentGrid::ApplySimpleView(KeyedGridModel &grid, bool details)
{
    QStringList shown{QStringLiteral("DocumentName")};
    if (details)
        shown += detailColumns();
    showOnly(grid, shown);
    GridColor(grid);
}

void DocumentGrid::GridColor(KeyedGridModel &grid, int fromRow)
{
    const int ext = grid.column(QStringLiteral("Ext"));
    if (ext < 0)
        return;
    const QColor colour = spreadsheetColour();
    grid.setRedraw(false);
    for (int row = std::max(fromRow, grid.fixedRows()); row < grid.rows(); ++row) {
        if (grid.textAt(row, ext).toUpper() == QLatin1String("XLS"))
            grid.setRowBackground(row, colour);
    }
    grid.setRedraw(true);
}
