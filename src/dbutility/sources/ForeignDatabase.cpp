#include "ForeignDatabase.h"

#include "AccessDatabase.h"
#include "CsvTable.h"
#include "DbfTable.h"
#include "FieldTypeNames.h"
#include "JetSql.h"
#include "ParadoxTable.h"
#include "SourceModule.h"
#include "SqliteHandle.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace
{

QStringList folderFilters(SourceType type)
{
    switch (type) {
    case SourceType::Paradox:
        return {QStringLiteral("*.db")};
    case SourceType::Text:
        return {QStringLiteral("*.csv"), QStringLiteral("*.txt"), QStringLiteral("*.tsv"),
                QStringLiteral("*.tab")};
    default:
        return {QStringLiteral("*.dbf")};
    }
}

std::unique_ptr<SourceTable> openFile(const QString &path, SourceType type,
                                      const SourceOptions &options, QString *error)
{
    switch (type) {
    case SourceType::DBase:
    case SourceType::FoxPro:
        return DbfTable::open(path, options, error);
    case SourceType::Paradox:
        return ParadoxTable::open(path, options, error);
    case SourceType::Text:
        return CsvTable::open(path, options, error);
    default:
        if (error)
            *error = QStringLiteral("%1 is not a database file this program can open").arg(path);
        return nullptr;
    }
}

// A table file that opens and that SQL can show.
std::unique_ptr<SourceTable> openTable(const QString &path, SourceType type,
                                       const SourceOptions &options, QString *error)
{
    std::unique_ptr<SourceTable> table = openFile(path, type, options, error);
    const QString tooWide =
        table ? SourceModule::columnLimitProblem(*table, table->name()) : QString();
    if (tooWide.isEmpty())
        return table;
    if (error)
        *error = tooWide;
    return nullptr;
}

} // namespace

ForeignDatabase::~ForeignDatabase()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    m_module.reset();
    m_tables.clear();
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<ForeignDatabase> ForeignDatabase::open(const QString &path,
                                                       const SourceOptions &options, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        if (error)
            *error = QStringLiteral("%1 does not exist").arg(path);
        return nullptr;
    }
    std::unique_ptr<ForeignDatabase> database(new ForeignDatabase);
    database->m_path = info.absoluteFilePath();
    SourceType type =
        options.type == SourceType::Auto ? SourceOptions::typeFromPath(path) : options.type;
    if (info.isDir()) {
        if (type == SourceType::Auto || type == SourceType::Access)
            type = SourceType::DBase;
        const QFileInfoList entries =
            QDir(path).entryInfoList(folderFilters(type), QDir::Files, QDir::Name);
        for (const QFileInfo &entry : entries) {
            // A folder shows the tables that open; the others are skipped, as a folder listing is.
            std::unique_ptr<SourceTable> table =
                openTable(entry.absoluteFilePath(), type, options, nullptr);
            if (table)
                database->m_tables.append(std::move(table));
        }
    } else if (type == SourceType::Access) {
        std::vector<std::unique_ptr<SourceTable>> tables;
        if (!AccessDatabase::open(path, options, &tables, error))
            return nullptr;
        for (auto &table : tables)
            database->m_tables.append(std::move(table));
    } else {
        std::unique_ptr<SourceTable> table = openTable(path, type, options, error);
        if (!table)
            return nullptr;
        database->m_tables.append(std::move(table));
    }
    database->m_type = type;
    if (!database->attach(error))
        return nullptr;
    return database;
}

bool ForeignDatabase::attach(QString *error)
{
    static QAtomicInteger<int> counter;
    m_connectionName = QStringLiteral("nuvela_foreign_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(QStringLiteral(":memory:"));
    if (!db.open()) {
        if (error)
            *error = QStringLiteral("Cannot start the SQL engine: %1").arg(db.lastError().text());
        return false;
    }
    sqlite3 *sqlite = sqliteHandle(db);
    // Jet's like, len, year, ... for the Database utility's SQL texts.
    if (!sqlite || !JetSql::install(sqlite)) {
        if (error)
            *error = QStringLiteral("Cannot start the SQL engine: it gives no SQLite handle");
        return false;
    }
    m_module = std::make_unique<SourceModule>(sqlite);
    for (const std::shared_ptr<SourceTable> &table : m_tables) {
        if (m_type == SourceType::Access) {
            if (!m_module->createTable(QStringLiteral("temp"), table->name(), table, error))
                return false;
            continue;
        }
        const QFileInfo file(table->name());
        if (!m_module->createTable(QStringLiteral("temp"), table->name(), table, error))
            return false;
        // Jet SQL names a table file without brackets (from people.dbf), which SQL reads as table
        // "dbf" of database "people": a small attached database gives that name too.
        const QString base = file.completeBaseName();
        const QString suffix = file.suffix();
        if (base.isEmpty() || suffix.isEmpty())
            continue;
        if (!m_module->createTable(QStringLiteral("temp"), base, table, nullptr))
            continue;
        const bool reserved = base.compare(QLatin1String("main"), Qt::CaseInsensitive) == 0 ||
                              base.compare(QLatin1String("temp"), Qt::CaseInsensitive) == 0;
        QSqlQuery attach(db);
        if (reserved || m_attachedSchemas.contains(base, Qt::CaseInsensitive) ||
            !attach.exec(QStringLiteral("ATTACH ':memory:' AS %1").arg(SourceModule::quoted(base))))
            continue;
        m_attachedSchemas.append(base);
        m_module->createTable(base, suffix, table, nullptr);
    }
    return true;
}

TypePath ForeignDatabase::typePath() const
{
    return m_type == SourceType::Access ? TypePath::Access : TypePath::InstallableDriver;
}

QSqlDatabase ForeignDatabase::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QStringList ForeignDatabase::tableNames() const
{
    QStringList names;
    for (const std::shared_ptr<SourceTable> &table : m_tables)
        names.append(table->name());
    return names;
}

SourceTable *ForeignDatabase::table(const QString &name) const
{
    for (const std::shared_ptr<SourceTable> &table : m_tables) {
        if (table->name().compare(name, Qt::CaseInsensitive) == 0)
            return table.get();
    }
    return nullptr;
}

QString ForeignDatabase::typeName(const SourceField &field) const
{
    return FieldTypeNames::name(typePath(), field.typeCode);
}
