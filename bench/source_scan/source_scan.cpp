// Times the foreign sources through SQL.
//
//   source_scan FILE             opens FILE (any foreign source) and prints
//                                rows=N first_page_ms=A full_scan_ms=B distinct_ms=C
//                                then the same distinct query on the data imported into a plain
//                                SQLite table: plain_distinct_ms=D ratio=C/D
//   source_scan --make-dbf FILE N  writes a dBase (FoxPro) table of N rows: a dozen mixed fields
//                                and a memo.

#include "DbfTable.h"
#include "ForeignDatabase.h"
#include "JetSql.h"
#include "SourceModule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdio>

namespace
{

constexpr int firstPageRows = 100;

int fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return 1;
}

// Reads every value of up to `limit` rows (all when limit < 0); returns the rows read.
qint64 drain(QSqlQuery &query, qint64 limit = -1)
{
    qint64 rows = 0;
    const int columns = query.record().count();
    while ((limit < 0 || rows < limit) && query.next()) {
        for (int c = 0; c < columns; ++c)
            query.value(c);
        ++rows;
    }
    return rows;
}

int makeDbf(const QString &path, qint64 rows)
{
    const QList<DbfTable::FieldSpec> fields{
        {QStringLiteral("ID"), 'N', 10, 0},      {QStringLiteral("NAME"), 'C', 30, 0},
        {QStringLiteral("CITY"), 'C', 20, 0},    {QStringLiteral("COUNTRY"), 'C', 15, 0},
        {QStringLiteral("AMOUNT"), 'N', 12, 2},  {QStringLiteral("PRICE"), 'F', 10, 3},
        {QStringLiteral("QTY"), 'N', 5, 0},      {QStringLiteral("BORN"), 'D', 8, 0},
        {QStringLiteral("ACTIVE"), 'L', 1, 0},   {QStringLiteral("CODE"), 'C', 8, 0},
        {QStringLiteral("NOTE"), 'C', 40, 0},    {QStringLiteral("RATIO"), 'N', 8, 4},
        {QStringLiteral("REMARKS"), 'M', 10, 0},
    };
    QString error;
    if (!DbfTable::create(path, fields, 0xF5, 1252, &error))
        return fail(error);
    SourceOptions options;
    options.backupSuffix.clear();
    auto table = DbfTable::open(path, options, &error);
    if (!table || !table->beginWrite(&error))
        return fail(error);
    static const char *const countries[] = {"France", "Germany", "Italy", "Spain",
                                            "Norway", "Japan",   "Chile"};
    const QDate base(1940, 1, 1);
    for (qint64 i = 0; i < rows; ++i) {
        // Deterministic values: a linear congruential mix gives repeats without a pattern.
        const quint64 mix = (quint64(i) * 6364136223846793005ull + 1442695040888963407ull) >> 17;
        QMap<int, QVariant> values{
            {0, qint64(i + 1)},
            {1, QStringLiteral("Name %1").arg(mix % 50000)},
            {2, QStringLiteral("City %1").arg(mix % 997)},
            {3, QString::fromLatin1(countries[mix % 7])},
            {4, double(mix % 10000000) / 100.0},
            {5, double(mix % 100000) / 1000.0},
            {6, qint64(mix % 500)},
            {7, base.addDays(qint64(mix % 25000)).toString(Qt::ISODate)},
            {8, qint64(mix & 1)},
            {9, QStringLiteral("C%1").arg(mix % 100000, 6, 10, QLatin1Char('0'))},
            {10, QStringLiteral("note for row %1").arg(i)},
            {11, double(mix % 10000) / 10000.0},
        };
        if (i % 4 == 0)
            values.insert(12, QStringLiteral("Memo of row %1: %2")
                                  .arg(i)
                                  .arg(QString(int(mix % 40), QLatin1Char('x'))));
        qint64 slot = 0;
        if (!table->insertRow(values, &slot, &error))
            return fail(error);
    }
    if (!table->commitWrite(&error))
        return fail(error);
    std::printf("wrote %lld rows to %s\n", static_cast<long long>(rows), qPrintable(path));
    return 0;
}

int scan(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    if (!database)
        return fail(error);
    const QString tableName = database->tableNames().value(0);
    SourceTable *table = database->table(tableName);
    if (!table)
        return fail(QStringLiteral("%1 has no table").arg(path));
    const QString quotedTable = SourceModule::quoted(tableName);
    QSqlQuery firstPage(database->connection());
    firstPage.setForwardOnly(true);
    if (!firstPage.exec(QStringLiteral("select * from ") + quotedTable))
        return fail(firstPage.lastError().text());
    drain(firstPage, firstPageRows);
    const qint64 firstPageMs = timer.elapsed();
    firstPage.finish();

    timer.restart();
    QSqlQuery all(database->connection());
    all.setForwardOnly(true);
    if (!all.exec(QStringLiteral("select * from ") + quotedTable))
        return fail(all.lastError().text());
    const qint64 rows = drain(all);
    const qint64 fullScanMs = timer.elapsed();
    all.finish();

    QString textField;
    for (const SourceField &field : table->fields()) {
        if (database->typeName(field) == QLatin1String("Text")) {
            textField = field.name;
            break;
        }
    }
    if (textField.isEmpty()) {
        std::printf("rows=%lld first_page_ms=%lld full_scan_ms=%lld distinct_ms=-1\n",
                    static_cast<long long>(rows), static_cast<long long>(firstPageMs),
                    static_cast<long long>(fullScanMs));
        return 0;
    }
    const QString column = SourceModule::quoted(textField);
    const auto distinctOn = [&](const QString &from, qint64 *count) {
        QElapsedTimer clock;
        clock.start();
        QSqlQuery query(database->connection());
        query.setForwardOnly(true);
        if (!query.exec(
                QStringLiteral("select distinct %1 from %2 where %1 is not null order by %1")
                    .arg(column, from)))
            return qint64(-1);
        *count = drain(query);
        return clock.elapsed();
    };
    qint64 distinctRows = 0;
    const qint64 distinctMs = distinctOn(quotedTable, &distinctRows);

    // The same data in a plain table with the same column declarations.
    QStringList columns;
    for (const SourceField &field : table->fields())
        columns.append(SourceModule::quoted(field.name) + QLatin1Char(' ') +
                       SourceModule::columnDeclaration(table->typePath(), field));
    QSqlQuery import(database->connection());
    QElapsedTimer importClock;
    importClock.start();
    if (!import.exec(QStringLiteral("create temp table plain_copy(%1)")
                         .arg(columns.join(QLatin1String(", ")))) ||
        !import.exec(QStringLiteral("insert into plain_copy select * from ") + quotedTable))
        return fail(import.lastError().text());
    const qint64 importMs = importClock.elapsed();
    qint64 plainRows = 0;
    const qint64 plainMs = distinctOn(QStringLiteral("plain_copy"), &plainRows);

    std::printf("rows=%lld first_page_ms=%lld full_scan_ms=%lld distinct_ms=%lld\n",
                static_cast<long long>(rows), static_cast<long long>(firstPageMs),
                static_cast<long long>(fullScanMs), static_cast<long long>(distinctMs));
    std::printf(
        "distinct_field=%s distinct_values=%lld import_ms=%lld plain_distinct_ms=%lld ratio=%.2f\n",
        qPrintable(textField), static_cast<long long>(distinctRows),
        static_cast<long long>(importMs), static_cast<long long>(plainMs),
        plainMs > 0 ? double(distinctMs) / double(plainMs) : 0.0);
    if (plainRows != distinctRows)
        return fail(QStringLiteral("the plain table gave %1 distinct values, the source %2")
                        .arg(plainRows)
                        .arg(distinctRows));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--make-dbf")) {
        bool ok = false;
        const qint64 rows = args.at(3).toLongLong(&ok);
        if (!ok || rows < 0)
            return fail(QStringLiteral("usage: source_scan --make-dbf FILE N"));
        return makeDbf(args.at(2), rows);
    }
    if (args.size() != 2)
        return fail(QStringLiteral("usage: source_scan FILE | source_scan --make-dbf FILE N"));
    return scan(args.at(1));
}
