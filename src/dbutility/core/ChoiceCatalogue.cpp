#include "ChoiceCatalogue.h"

#include "ReferenceData.h"
#include "SourceModule.h"
#include "SqlText.h"
#include "Store.h"

#include <QSqlQuery>

#include <sqlite3.h>

namespace
{

struct BuiltIn {
    const char *name;
    const char *table;
    const char *field;
    const char *value;
};

// The value tables are those of data/choices.tsv, and the conversion table for units.
constexpr BuiltIn builtIns[] = {
    {"COMPANY NAME", "NV_ORGNAME", "Name", "Kind='COMPANY'"},
    {"FIRST", "NV_PERSONNAME", "Name", "Kind='FIRST'"},
    {"LAST", "NV_PERSONNAME", "Name", "Kind='LAST'"},
    {"MAGAZINE NAME", "NV_ORGNAME", "Name", "Kind='MAGAZINE'"},
    {"NICK", "NV_PERSONNAME", "Name", "Kind='NICK'"},
    {"ZODIC-SIGN", "NV_ZODIAC", "Sign", nullptr},
    {"UNIT", "NV_CONVERSION", "UNIT1", nullptr},
    {"UNIT-TYPE", "NV_CONVERSION", "TYPE", nullptr},
    {"COUNTRY", "NV_COUNTRY", "Name", nullptr},
    {"CITY", "NV_CITY", "City", nullptr},
};

// One table of choices.tsv: its name, columns and rows.
struct ShippedTable {
    QString name;
    QStringList columns;
    QList<QStringList> rows;
};

QList<ShippedTable> shippedTables()
{
    QList<ShippedTable> tables;
    const QStringList lines = ReferenceData::text(QStringLiteral("choices.tsv")).split(u'\n');
    for (const QString &line : lines) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        QStringList cells = line.split(u'\t');
        if (line.startsWith(u'@')) {
            const QString name = cells.takeFirst().mid(1);
            tables.append({name, cells, {}});
        } else if (!tables.isEmpty()) {
            tables.last().rows.append(cells);
        }
    }
    return tables;
}

bool run(sqlite3 *db, const QString &sql)
{
    return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Creates and fills a table that is missing or empty; leaves one that holds rows alone.
bool fillTable(sqlite3 *db, const ShippedTable &table)
{
    QStringList declarations;
    for (const QString &column : table.columns)
        declarations.append(SourceModule::quoted(column) + QStringLiteral(" TEXT COLLATE NOCASE"));
    const QString name = SourceModule::quoted(table.name);
    if (!run(db, QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
                     .arg(name, declarations.join(QStringLiteral(", ")))))
        return false;
    sqlite3_stmt *count = nullptr;
    const QByteArray countSql = QStringLiteral("SELECT count(*) FROM %1").arg(name).toUtf8();
    sqlite3_prepare_v2(db, countSql.constData(), -1, &count, nullptr);
    const bool empty =
        count && sqlite3_step(count) == SQLITE_ROW && sqlite3_column_int(count, 0) == 0;
    sqlite3_finalize(count);
    if (!empty)
        return true;
    const QByteArray insertSql =
        QStringLiteral("INSERT INTO %1 VALUES (%2)")
            .arg(name, QStringList(table.columns.size(), QStringLiteral("?")).join(u','))
            .toUtf8();
    sqlite3_stmt *insert = nullptr;
    if (sqlite3_prepare_v2(db, insertSql.constData(), -1, &insert, nullptr) != SQLITE_OK)
        return false;
    bool ok = true;
    for (const QStringList &row : table.rows) {
        for (int c = 0; c < table.columns.size(); ++c) {
            const QByteArray text = row.value(c).toUtf8();
            sqlite3_bind_text(insert, c + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
        ok = sqlite3_step(insert) == SQLITE_DONE && ok;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    return ok;
}

} // namespace

QStringList ChoiceCatalogue::builtInKinds()
{
    QStringList names;
    for (const BuiltIn &kind : builtIns)
        names.append(QLatin1String(kind.name));
    return names;
}

bool ChoiceCatalogue::isBuiltIn(const QString &kind)
{
    return builtInKinds().contains(kind.toUpper());
}

bool ChoiceCatalogue::prepare() const
{
    const bool kinds = prepareKinds();
    return loadTables() && kinds;
}

bool ChoiceCatalogue::prepareKinds() const
{
    bool ok = m_data.transaction();
    for (const BuiltIn &kind : builtIns) {
        const QString name = QLatin1String(kind.name);
        if (m_data
                .value(QStringLiteral("select count(*) from cla_dbchoices where Engname=") +
                       SqlText::literal(name))
                .toInt() > 0)
            continue;
        ok = m_data.exec(QStringLiteral("insert into cla_dbchoices (Engname, tablename, "
                                        "Fieldname, [Value], national) values (%1, %2, %3, %4, "
                                        "NULL)")
                             .arg(SqlText::literal(name),
                                  SqlText::literal(QLatin1String(kind.table)),
                                  SqlText::literal(QLatin1String(kind.field)),
                                  kind.value ? SqlText::literal(QLatin1String(kind.value))
                                             : QStringLiteral("NULL"))) &&
             ok;
    }
    return m_data.commit() && ok;
}

bool ChoiceCatalogue::loadTables() const
{
    sqlite3 *db = m_info.handle();
    if (!db)
        return false;
    bool ok = true;
    for (const ShippedTable &table : shippedTables()) {
        // One transaction per table: a second window filling it at the same time waits, then
        // finds it full.
        if (!run(db, QStringLiteral("BEGIN IMMEDIATE"))) {
            ok = false;
            continue;
        }
        const bool filled = fillTable(db, table);
        run(db, filled ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
        ok = filled && ok;
    }
    return ok;
}

QStringList ChoiceCatalogue::kinds() const
{
    return m_data.column(QStringLiteral(
        "SELECT DISTINCT Engname FROM [cla_dbchoices] WHERE len(Engname)<>0 ORDER BY Engname"));
}

bool ChoiceCatalogue::kind(const QString &name, Kind *kind) const
{
    const QString upper = name.toUpper();
    QSqlQuery row = m_data.query(QStringLiteral("SELECT * FROM [cla_dbchoices] WHERE Engname=") +
                                 SqlText::literal(upper));
    if (!row.next())
        return false;
    kind->field = row.value(QStringLiteral("Fieldname")).toString();
    kind->table = row.value(QStringLiteral("tablename")).toString();
    kind->value = row.value(QStringLiteral("Value")).toString();
    kind->national = row.value(QStringLiteral("national")).toString();
    kind->builtIn = isBuiltIn(upper);
    return true;
}

QString ChoiceCatalogue::valueQuery(const Kind &kind, bool nationalFlag)
{
    const QString &f = kind.field;
    const QString &t = kind.table;
    const QString national = nationalFlag || kind.national.isEmpty()
                                 ? QString()
                                 : QStringLiteral(" and ") + kind.national + QStringLiteral("='C'");
    if (kind.value.isEmpty() && kind.national.isEmpty())
        return QStringLiteral("SELECT distinct %1 FROM %2 where len(%1)  <> 0").arg(f, t);
    if (kind.value.isEmpty())
        return QStringLiteral("SELECT distinct %1 from %2 where len(%1)  <> 0 ").arg(f, t) +
               national;
    return QStringLiteral("SELECT distinct %1 FROM %2 WHERE len(%1)  <> 0 AND %3")
               .arg(f, t, kind.value) +
           national;
}

QStringList ChoiceCatalogue::values(const QString &name, bool nationalFlag) const
{
    Kind found;
    if (!kind(name, &found) || found.field.isEmpty() || found.table.isEmpty())
        return {};
    return (found.builtIn ? m_info : m_data).column(valueQuery(found, nationalFlag));
}
