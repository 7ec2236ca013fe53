// Times the Database utility's core on one table, as the window uses it.
//
//   db_browse FILE   opens FILE (any database the utility opens; make a large one with
//                    source_scan --make-dbf FILE 1000000) and prints one line:
//                    first_page_ms=A sort_ms=B group_ms=C sqlite_sort_ms=D ratio=B/D
//
// first_page_ms: open the file, list its first table's fields, show the first page of records.
// sort_ms: the records ordered by the first text field, up to the first page shown.
// group_ms: the grouped view by that field (headings made), up to the first page shown.
// sqlite_sort_ms: the same sort by the same pager on the records imported into a plain SQLite
// table of the same connection.

#include "DbBrowser.h"
#include "RecordPager.h"
#include "SourceModule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace
{

int fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return 1;
}

// Reads every cell of the first page, as the grid's first paint does.
void showFirstPage(const RecordPager &pager)
{
    const int rows = qMin(pager.rowCount(), 100);
    const int columns = int(pager.columnNames().size());
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            pager.text(row, column);
    }
}

// Builds a pager's whole order and shows its first page; the time in ms, -1 on failure.
qint64 timeOrdered(const DbBrowser &browser, const RecordQuery &query, QString *error)
{
    QElapsedTimer clock;
    clock.start();
    std::shared_ptr<RecordPager> pager = browser.makePager(query, error);
    if (!pager || !pager->buildAll({}, error))
        return -1;
    showFirstPage(*pager);
    return clock.elapsed();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2)
        return fail(QStringLiteral("usage: db_browse FILE"));
    // The favourites store of a throw-away program folder.
    QTemporaryDir programFolder;
    qputenv("NUVELA_PROGRAM_DIR", QFile::encodeName(programFolder.path()));
    qputenv("NUVELA_USER_FILES", QFile::encodeName(programFolder.path()));
    DbBrowser browser;

    QElapsedTimer clock;
    clock.start();
    QString error;
    if (!browser.OpenSource(args.at(1), QString(), &error))
        return fail(error);
    const QString table = browser.tables().value(0);
    const QList<FieldInfo> fields = browser.ListFields(table);
    std::shared_ptr<RecordPager> plain = browser.makePager(browser.recordQuery(), &error);
    if (!plain)
        return fail(error);
    plain->fillMore(RecordPager::PageRows, 20);
    showFirstPage(*plain);
    const qint64 firstPageMs = clock.elapsed();

    QString textField;
    for (const FieldInfo &field : fields) {
        if (field.typeName == QLatin1String("Text")) {
            textField = field.name;
            break;
        }
    }
    if (textField.isEmpty())
        return fail(QStringLiteral("%1 has no text field to sort by").arg(table));
    const qint64 sortMs = timeOrdered(browser, browser.recordQuery(QString(), textField), &error);
    const qint64 groupMs =
        timeOrdered(browser, browser.recordQuery(QString(), textField, true), &error);
    if (sortMs < 0 || groupMs < 0)
        return fail(error);

    // The same records in a plain table with the same column declarations.
    QStringList columns;
    for (const FieldInfo &field : fields)
        columns.append(SourceModule::quoted(field.name) + QLatin1Char(' ') +
                       (field.valueClass() == ValueClass::Text
                            ? QStringLiteral("TEXT COLLATE NOCASE")
                            : QString()));
    QSqlQuery import(browser.source()->connection());
    if (!import.exec(QStringLiteral("create temp table plain_copy(%1)")
                         .arg(columns.join(QLatin1String(", ")))) ||
        !import.exec(QStringLiteral("insert into plain_copy select * from ") +
                     SourceModule::quoted(table)))
        return fail(import.lastError().text());
    RecordQuery plainQuery = browser.recordQuery(QString(), textField);
    plainQuery.path = BrowseSql::Path::Access;
    plainQuery.table = QStringLiteral("plain_copy");
    const qint64 sqliteSortMs = timeOrdered(browser, plainQuery, &error);
    if (sqliteSortMs < 0)
        return fail(error);

    std::printf("first_page_ms=%lld sort_ms=%lld group_ms=%lld sqlite_sort_ms=%lld ratio=%.2f\n",
                static_cast<long long>(firstPageMs), static_cast<long long>(sortMs),
                static_cast<long long>(groupMs), static_cast<long long>(sqliteSortMs),
                sqliteSortMs > 0 ? double(sortMs) / double(sqliteSortMs) : 0.0);
    return 0;
}
