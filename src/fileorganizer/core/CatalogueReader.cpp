#include "CatalogueReader.h"

#include "JetSql.h"
#include "LocalTime.h"
#include "Store.h"

#include <sqlite3.h>

namespace
{

QString textOf(sqlite3_stmt *statement, int column)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    return bytes ? QString::fromUtf8(bytes, sqlite3_column_bytes(statement, column)) : QString();
}

qint64 dateOf(sqlite3_stmt *statement, int column, qint64 noDate)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    if (!bytes)
        return noDate;
    return LocalTime::msecsOfText(QByteArrayView(bytes, sqlite3_column_bytes(statement, column)),
                                  noDate);
}

} // namespace

std::vector<CatalogueReader::Record> CatalogueReader::read(const Store &store, qint64 noDate)
{
    std::vector<Record> records;
    sqlite3 *db = store.handle();
    if (!db)
        return records;
    const QByteArray sql =
        JetSql::translate(QStringLiteral("Select * from FileDetails order by [name]")).toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(statement);
        return records;
    }
    // Columns of filedetails: Name, ext, Group, CDate, mdate, Size, Location, Attribute.
    while (sqlite3_step(statement) == SQLITE_ROW) {
        Record record;
        record.name = textOf(statement, 0);
        record.ext = textOf(statement, 1);
        record.group = textOf(statement, 2);
        record.created = dateOf(statement, 3, noDate);
        record.modified = dateOf(statement, 4, noDate);
        record.size = sqlite3_column_int64(statement, 5);
        record.location = textOf(statement, 6);
        record.attributes = sqlite3_column_int(statement, 7);
        records.push_back(std::move(record));
    }
    sqlite3_finalize(statement);
    return records;
}
