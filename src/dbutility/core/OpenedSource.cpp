#include "OpenedSource.h"

#include "DbfTable.h"
#include "ForeignDatabase.h"
#include "MemoryTable.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "SqliteHandle.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

OpenedSource::~OpenedSource() = default;

std::unique_ptr<OpenedSource> OpenedSource::open(const QString &path, DbKind kind, QString *error)
{
    std::unique_ptr<OpenedSource> source(new OpenedSource);
    source->m_path = path;
    source->m_kind = kind == DbKind::None ? DbSourceType::detect(path) : kind;
    if (source->m_kind == DbKind::SQLite) {
        source->m_sqlite = SqliteDatabase::open(path, error);
        if (!source->m_sqlite)
            return nullptr;
    } else {
        if (source->m_kind == DbKind::None) {
            if (error)
                *error = QStringLiteral("%1 is not a database file this program can open")
                             .arg(QFileInfo(path).fileName());
            return nullptr;
        }
        SourceOptions options;
        options.type = DbSourceType::sourceType(source->m_kind);
        source->m_foreign = ForeignDatabase::open(path, options, error);
        if (!source->m_foreign)
            return nullptr;
    }
    if (sqlite3 *db = source->handle()) {
        // Sorting a large table stays in memory rather than spilling to temporary files.
        sqlite3_exec(db, "PRAGMA cache_size=-131072", nullptr, nullptr, nullptr);
        // A "name" that names no column is an error, not a text: the texts write their values
        // as '...' literals.
        sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    }
    return source;
}

BrowseSql::Path OpenedSource::sqlPath() const
{
    return hasTableList() ? BrowseSql::Path::Access : BrowseSql::Path::Driver;
}

QStringList OpenedSource::tableNames() const
{
    return m_sqlite ? m_sqlite->tableNames() : m_foreign->tableNames();
}

QList<FieldInfo> OpenedSource::fields(const QString &table) const
{
    QList<FieldInfo> fields;
    if (m_sqlite) {
        for (const SourceField &field : m_sqlite->fields(table))
            fields.append({field.name,
                           FieldTypeNames::name(TypePath::InstallableDriver, field.typeCode),
                           field.size});
        return fields;
    }
    const SourceTable *sourceTable = m_foreign->table(table);
    if (!sourceTable)
        return fields;
    for (const SourceField &field : sourceTable->fields())
        fields.append({field.name, m_foreign->typeName(field), field.size});
    return fields;
}

QString OpenedSource::loadError(const QString &table) const
{
    if (!m_foreign)
        return QString();
    const auto *memory = dynamic_cast<const MemoryTable *>(m_foreign->table(table));
    return memory ? memory->loadError() : QString();
}

qint64 OpenedSource::recordCount(const QString &table) const
{
    if (m_foreign) {
        const SourceTable *sourceTable = m_foreign->table(table);
        return sourceTable ? sourceTable->rowCount() : 0;
    }
    QSqlQuery count(connection());
    if (count.exec(QStringLiteral("select count(*) from ") +
                   QStringLiteral("\"%1\"").arg(
                       QString(table).replace(QLatin1Char('"'), QLatin1String("\"\"")))) &&
        count.next())
        return count.value(0).toLongLong();
    return 0;
}

QList<SourceField> OpenedSource::sourceFields(const QString &table) const
{
    if (m_sqlite)
        return m_sqlite->fields(table);
    const SourceTable *sourceTable = m_foreign->table(table);
    return sourceTable ? sourceTable->fields() : QList<SourceField>();
}

int OpenedSource::codePage(const QString &table) const
{
    const auto *dbf = m_foreign ? dynamic_cast<const DbfTable *>(m_foreign->table(table)) : nullptr;
    return dbf ? dbf->codePage() : 0;
}

QString OpenedSource::readOnlyReason(const QString &table) const
{
    if (m_sqlite)
        return QFileInfo(m_path).isWritable()
                   ? QString()
                   : QStringLiteral("%1 is read-only").arg(QFileInfo(m_path).fileName());
    const SourceTable *sourceTable = m_foreign->table(table);
    return sourceTable
               ? sourceTable->readOnlyReason()
               : QStringLiteral("%1 has no table %2").arg(QFileInfo(m_path).fileName(), table);
}

bool OpenedSource::keepBackup(QString *error)
{
    if (!m_sqlite || m_backedUp)
        return true;
    const QString backup = m_path + QStringLiteral(".bak");
    QFile::remove(backup);
    QSqlQuery copy(connection());
    if (!copy.exec(QStringLiteral("VACUUM INTO ") + SqlText::literal(backup))) {
        if (error)
            *error = QStringLiteral("Cannot keep a backup copy of %1 as %2: %3")
                         .arg(m_path, backup, copy.lastError().databaseText());
        return false;
    }
    m_backedUp = true;
    return true;
}

QSqlDatabase OpenedSource::connection() const
{
    return m_sqlite ? m_sqlite->connection() : m_foreign->connection();
}

sqlite3 *OpenedSource::handle() const
{
    return sqliteHandle(connection());
}
