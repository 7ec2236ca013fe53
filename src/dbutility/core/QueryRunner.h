#pragma once

#include <QList>
#include <QStringList>

struct sqlite3;

// The query window's engine: runs SQL texts written in the Jet dialect on the opened database's
// connection, through the same translation as every text of the utility, so one text works on
// every kind of source. Statements separated by ";" run in order; the rows of the last one that
// returns rows are kept (at most maxRows of them).
class QueryRunner
{
public:
    struct Result {
        bool ok = false;
        QStringList columns;
        QList<QStringList> rows;
        // More rows were there than were kept.
        bool truncated = false;
        // Records changed by the statements that change records.
        qint64 changes = 0;
        QString error;
        // Where the failing statement went wrong in the text as written: a character offset,
        // a line and a column (1-based); -1 when the engine does not say.
        int errorOffset = -1;
        int errorLine = -1;
        int errorColumn = -1;
    };

    static Result run(sqlite3 *db, const QString &jetSql, int maxRows);
    // The offset in a Jet text of a character at `translated` in its translation.
    static int originalOffset(const QString &jetSql, int translated);
    // The history of statements with one more: newest first, each once.
    static QStringList addToHistory(const QStringList &history, const QString &statement);
};
