#include "DocumentLoader.h"

#include "JetSql.h"
#include "KeyedGridModel.h"
#include "LocalTime.h"
#include "Store.h"

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

qint64 dateOf(sqlite3_stmt *statement, int column)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    if (!bytes)
        return KeyedGridModel::NoDate;
    return LocalTime::msecsOfText(QByteArrayView(bytes, sqlite3_column_bytes(statement, column)),
                                  KeyedGridModel::NoDate);
}

} // namespace

DocumentLoader::DocumentLoader(const Store &store) : m_store(store) {}

DocumentLoader::~DocumentLoader()
{
    close();
}

void DocumentLoader::close()
{
    sqlite3_finalize(m_statement);
    m_statement = nullptr;
}

bool DocumentLoader::start(KeyedGridModel &grid, const QString &jetSql, const QString &captions,
                           const QString &dateFormat, const DocumentGrid::Grouping *grouping,
                           int firstRows, QString *error)
{
    close();
    m_error.clear();
    sqlite3 *db = m_store.handle();
    const QByteArray sql = JetSql::translate(jetSql).toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (!db || sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) !=
                   SQLITE_OK) {
        if (error)
            *error = db ? QString::fromUtf8(sqlite3_errmsg(db))
                        : QStringLiteral("The data store is not open.");
        sqlite3_finalize(statement);
        return false;
    }
    m_statement = statement;
    m_grid = &grid;
    // Columns from the caption text, then one more for each field beyond it.
    grid.setFormatText(captions);
    m_fields = sqlite3_column_count(statement);
    QStringList keys;
    for (int c = 0; c < m_fields; ++c)
        keys << QString::fromUtf8(sqlite3_column_name(statement, c));
    grid.setColumnKeys(keys);
    for (int c = grid.columns(); c < m_fields; ++c)
        grid.addColumn(keys[c], keys[c], 10);
    m_dates.assign(size_t(m_fields), 0);
    for (int c = 0; c < m_fields; ++c) {
        if (isDateField(keys[c])) {
            grid.setColumnType(keys[c], GridCellType::Date, dateFormat);
            m_dates[size_t(c)] = 1;
        }
    }
    m_groupField = grouping ? grid.column(grouping->key) : -1;
    m_heading = grouping ? grouping->heading : nullptr;
    m_group = QStringLiteral("!!!!!");
    more(firstRows);
    if (error)
        *error = m_error;
    return m_error.isEmpty();
}

int DocumentLoader::more(int records)
{
    if (!m_statement)
        return m_grid ? m_grid->rows() : 0;
    // The records are read first and added to the grid in one run, so views see one insertion.
    struct Entry {
        QString heading; // a heading row when not null
        int record = -1;
    };
    std::vector<Entry> entries;
    std::vector<QString> texts;
    std::vector<qint64> dates;
    int read = 0;
    int result = SQLITE_ROW;
    while (read < records && (result = sqlite3_step(m_statement)) == SQLITE_ROW) {
        if (m_groupField >= 0) {
            const QString value = textOf(m_statement, m_groupField).trimmed();
            if (value != m_group) {
                m_group = value;
                entries.push_back({m_heading(value), -1});
            }
        }
        entries.push_back({QString(), read});
        for (int c = 0; c < m_fields; ++c) {
            const bool date = m_dates[size_t(c)] != 0;
            texts.push_back(date ? QString() : textOf(m_statement, c));
            dates.push_back(date ? dateOf(m_statement, c) : KeyedGridModel::NoDate);
        }
        ++read;
    }
    if (result != SQLITE_ROW) {
        if (result != SQLITE_DONE)
            m_error = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_statement)));
        close();
    }
    KeyedGridModel &grid = *m_grid;
    size_t next = 0;
    return grid.appendRows(int(entries.size()), [&](int row) {
        const Entry &entry = entries[next++];
        if (entry.record < 0) {
            grid.setText(row, 0, entry.heading);
            grid.setRowHeading(row, true);
            return;
        }
        const size_t base = size_t(entry.record) * size_t(m_fields);
        for (int c = 0; c < m_fields; ++c) {
            if (m_dates[size_t(c)])
                grid.setDateKey(row, c, dates[base + size_t(c)]);
            else
                grid.setText(row, c, std::move(texts[base + size_t(c)]));
        }
    });
}
