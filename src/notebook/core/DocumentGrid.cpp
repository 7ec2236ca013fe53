#include "DocumentGrid.h"

#include "JetSql.h"
#include "KeyedGridModel.h"
#include "LocalTime.h"
#include "Store.h"
#include "WindowsColor.h"

#include <sqlite3.h>

namespace
{

bool isDateField(const QString &key)
{
    for (const char *name : {"date", "mdate", "duedate"}) {
        if (key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString textOf(sqlite3_stmt *statement, int column)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    return bytes ? QString::fromUtf8(bytes, sqlite3_column_bytes(statement, column)) : QString();
}

// Columns from the caption text, then one more for each field beyond it; keys are the fields'
// names.
void layColumns(KeyedGridModel &grid, sqlite3_stmt *statement, const QString &captions,
                const QString &dateFormat)
{
    grid.setFormatText(captions);
    const int fields = sqlite3_column_count(statement);
    QStringList keys;
    for (int c = 0; c < fields; ++c)
        keys << QString::fromUtf8(sqlite3_column_name(statement, c));
    grid.setColumnKeys(keys);
    for (int c = grid.columns(); c < fields; ++c)
        grid.addColumn(keys[c], keys[c], 10);
    for (const QString &key : std::as_const(keys)) {
        if (isDateField(key))
            grid.setColumnType(key, GridCellType::Date, dateFormat);
    }
}

} // namespace

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
    sqlite3 *db = store.handle();
    if (!db) {
        if (error)
            *error = QStringLiteral("The data store is not open.");
        return false;
    }
    const QByteArray sql = JetSql::translate(jetSql).toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) !=
        SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(statement);
        return false;
    }
    layColumns(grid, statement, captions, dateFormat);
    const int fields = sqlite3_column_count(statement);
    std::vector<char> dates(static_cast<size_t>(fields));
    for (int c = 0; c < fields; ++c)
        dates[size_t(c)] = grid.columnInfo(c).type == GridCellType::Date;
    const int groupField = grouping ? grid.column(grouping->key) : -1;
    QString group = QStringLiteral("!!!!!");
    grid.setRedraw(false);
    int result = SQLITE_ROW;
    while ((result = sqlite3_step(statement)) == SQLITE_ROW) {
        if (groupField >= 0) {
            const QString value = textOf(statement, groupField).trimmed();
            if (value != group) {
                group = value;
                const int heading = grid.appendRow();
                grid.setText(heading, 0, grouping->heading(value));
                grid.setRowHeading(heading, true);
            }
        }
        const int row = grid.appendRow();
        for (int c = 0; c < fields; ++c) {
            if (dates[size_t(c)]) {
                const auto *bytes =
                    reinterpret_cast<const char *>(sqlite3_column_text(statement, c));
                grid.setDateKey(row, c,
                                bytes
                                    ? LocalTime::msecsOfText(
                                          QByteArrayView(bytes, sqlite3_column_bytes(statement, c)),
                                          KeyedGridModel::NoDate)
                                    : KeyedGridModel::NoDate);
            } else {
                grid.setText(row, c, textOf(statement, c));
            }
        }
    }
    grid.setRedraw(true);
    if (result != SQLITE_DONE && error)
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    return result == SQLITE_DONE;
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

void DocumentGrid::GridColor(KeyedGridModel &grid)
{
    const int ext = grid.column(QStringLiteral("Ext"));
    if (ext < 0)
        return;
    const QColor colour = spreadsheetColour();
    grid.setRedraw(false);
    for (int row = grid.fixedRows(); row < grid.rows(); ++row) {
        if (grid.textAt(row, ext).toUpper() == QLatin1String("XLS"))
            grid.setRowBackground(row, colour);
    }
    grid.setRedraw(true);
}
