#pragma once

#include <QDateTime>
#include <QString>

class QSqlDatabase;
struct sqlite3;

// Runs SQL texts written in the Jet dialect on SQLite.
//
// translate() rewrites what SQLite does not read the same way: #date# literals become canonical
// date text, "double-quoted" literals become 'single-quoted', [names] become "names",
// `Delete * from` loses its star, true/false become 1/0 and `&` concatenates. Text inside
// literals is never touched.
//
// install() adds to a connection what cannot be rewritten: `like` with Jet wildcards (*, ?, #,
// [list], [!list]; % and _ literal) compared without regard to case, and the functions len,
// year, month, day, ucase, lcase and now.
class JetSql
{
public:
    static QString translate(const QString &jetSql);
    static bool install(const QSqlDatabase &db);
    static bool install(sqlite3 *handle);

    // Stored form of dates: text order is time order, a date-only value is midnight.
    static QString canonicalDate(const QDateTime &value);
    static QString canonicalDate(QDate value);
    // Reads a stored date back (canonical text, an ISO date, or a #literal# body) as the wall
    // clock it names, without a time zone: the fields of the result (a UTC QDateTime) are the
    // text's. Invalid when the text is no date.
    static QDateTime parseDate(const QString &text);

    // Jet's like: * any run, ? one character, # one digit, [abc] [a-z] [!x] one of/not of; an
    // unclosed [ is itself. Compared without regard to case, in time proportional to at most
    // the value's length times the pattern's.
    static bool like(const QString &value, const QString &pattern);
};
