#include "QueryRunner.h"

#include "JetSql.h"
#include "RecordPager.h"
#include "RunHistory.h"

#include <sqlite3.h>

namespace
{

// Records the failure at a byte offset of the UTF-8 translation.
void fail(QueryRunner::Result *result, sqlite3 *db, const QString &jetSql,
          const QByteArray &translated, int byteOffset)
{
    result->ok = false;
    result->error = QString::fromUtf8(sqlite3_errmsg(db));
    if (byteOffset < 0 || byteOffset > translated.size())
        return;
    const int offset = QueryRunner::originalOffset(
        jetSql, int(QString::fromUtf8(translated.left(byteOffset)).size()));
    result->errorOffset = offset;
    const QString before = jetSql.left(offset);
    result->errorLine = int(before.count(QLatin1Char('\n'))) + 1;
    result->errorColumn = int(offset - (before.lastIndexOf(QLatin1Char('\n')) + 1)) + 1;
}

} // namespace

QueryRunner::Result QueryRunner::run(sqlite3 *db, const QString &jetSql, int maxRows)
{
    Result result;
    if (!db) {
        result.error = QStringLiteral("No database is open");
        return result;
    }
    const QByteArray translated = JetSql::translate(jetSql).toUtf8();
    const char *start = translated.constData();
    const char *end = start + translated.size();
    const char *next = start;
    result.ok = true;
    while (next < end) {
        sqlite3_stmt *statement = nullptr;
        const char *tail = nullptr;
        const int offset = int(next - start);
        if (sqlite3_prepare_v2(db, next, int(end - next), &statement, &tail) != SQLITE_OK) {
            int at = sqlite3_error_offset(db);
            // A statement cut short goes wrong where it ends.
            if (at < 0 && qstrcmp(sqlite3_errmsg(db), "incomplete input") == 0)
                at = int(end - next);
            fail(&result, db, jetSql, translated, at < 0 ? -1 : offset + at);
            sqlite3_finalize(statement);
            return result;
        }
        next = tail ? tail : end;
        if (!statement) // only blanks or a comment
            continue;
        const int columns = sqlite3_column_count(statement);
        if (columns > 0) {
            result.columns.clear();
            result.rows.clear();
            result.truncated = false;
            for (int c = 0; c < columns; ++c)
                result.columns.append(QString::fromUtf8(sqlite3_column_name(statement, c)));
        }
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            if (result.rows.size() >= maxRows) {
                result.truncated = true;
                continue;
            }
            QStringList row;
            row.reserve(columns);
            for (int c = 0; c < columns; ++c)
                row.append(RecordPager::displayText(statement, c, false));
            result.rows.append(row);
        }
        if (rc != SQLITE_DONE) {
            fail(&result, db, jetSql, translated, -1);
            sqlite3_finalize(statement);
            return result;
        }
        if (columns == 0)
            result.changes += sqlite3_changes64(db);
        sqlite3_finalize(statement);
    }
    return result;
}

int QueryRunner::originalOffset(const QString &jetSql, int translated)
{
    // The translation of a longer beginning is never shorter: the first beginning whose
    // translation reaches the offset ends where the offset lies.
    int low = 0;
    int high = int(jetSql.size());
    while (low < high) {
        const int middle = (low + high) / 2;
        if (JetSql::translate(jetSql.left(middle)).size() > translated)
            high = middle;
        else
            low = middle + 1;
    }
    return qMax(0, low - 1);
}

QStringList QueryRunner::addToHistory(const QStringList &history, const QString &statement)
{
    return RunHistory::add(history, statement);
}
