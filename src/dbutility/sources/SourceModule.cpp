#include "SourceModule.h"

#include "FieldTypeNames.h"

#include <QAtomicInteger>
#include <QHash>

#include <sqlite3.h>

struct SourceModule::Registry {
    QHash<QString, std::shared_ptr<SourceTable>> tables;
};

namespace
{

struct Vtab {
    sqlite3_vtab base;
    std::shared_ptr<SourceTable> table;
};

struct Cursor {
    sqlite3_vtab_cursor base;
    qint64 slot = 0;
    qint64 end = 0;
};

enum IndexPlan { FullScan = 0, RowidLookup = 1 };

SourceTable &tableOf(sqlite3_vtab *vtab)
{
    return *reinterpret_cast<Vtab *>(vtab)->table;
}

int fail(sqlite3_vtab *vtab, const QString &message)
{
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("%s", message.toUtf8().constData());
    return SQLITE_ERROR;
}

QVariant fromSqlite(sqlite3_value *value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(value));
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(value)),
                                 sqlite3_value_bytes(value));
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_value_blob(value)),
                          sqlite3_value_bytes(value));
    default:
        return {};
    }
}

void toSqlite(sqlite3_context *context, const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
        sqlite3_result_null(context);
        return;
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Bool:
        sqlite3_result_int64(context, value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_result_double(context, value.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        sqlite3_result_blob64(context, bytes.constData(), sqlite3_uint64(bytes.size()),
                              SQLITE_TRANSIENT);
        return;
    }
    default: {
        if (value.isNull()) {
            sqlite3_result_null(context);
            return;
        }
        const QByteArray text = value.toString().toUtf8();
        sqlite3_result_text64(context, text.constData(), sqlite3_uint64(text.size()),
                              SQLITE_TRANSIENT, SQLITE_UTF8);
        return;
    }
    }
}

int xConnect(sqlite3 *db, void *clientData, int argc, const char *const *argv, sqlite3_vtab **out,
             char **error)
{
    auto *registry = static_cast<SourceModule::Registry *>(clientData);
    const QString key = argc > 3 ? QString::fromUtf8(argv[3]) : QString();
    const std::shared_ptr<SourceTable> table = registry->tables.value(key);
    if (!table) {
        *error = sqlite3_mprintf("no foreign table is registered as %s", argc > 3 ? argv[3] : "");
        return SQLITE_ERROR;
    }
    QStringList columns;
    for (const SourceField &field : table->fields())
        columns.append(SourceModule::quoted(field.name) + QLatin1Char(' ') +
                       SourceModule::columnDeclaration(table->typePath(), field));
    const QByteArray schema =
        ("CREATE TABLE x(" + columns.join(QLatin1String(", ")) + ")").toUtf8();
    const int rc = sqlite3_declare_vtab(db, schema.constData());
    if (rc != SQLITE_OK) {
        *error =
            sqlite3_mprintf("cannot declare the columns of %s: %s", argv[2], sqlite3_errmsg(db));
        return rc;
    }
    auto *vtab = new Vtab{};
    vtab->table = table;
    *out = &vtab->base;
    return SQLITE_OK;
}

int xDisconnect(sqlite3_vtab *vtab)
{
    sqlite3_free(vtab->zErrMsg);
    delete reinterpret_cast<Vtab *>(vtab);
    return SQLITE_OK;
}

int xBestIndex(sqlite3_vtab *vtab, sqlite3_index_info *info)
{
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &constraint = info->aConstraint[i];
        if (constraint.usable && constraint.iColumn == -1 &&
            constraint.op == SQLITE_INDEX_CONSTRAINT_EQ) {
            info->aConstraintUsage[i].argvIndex = 1;
            info->aConstraintUsage[i].omit = 1;
            info->idxNum = RowidLookup;
            info->estimatedCost = 1;
            info->estimatedRows = 1;
            info->idxFlags = SQLITE_INDEX_SCAN_UNIQUE;
            return SQLITE_OK;
        }
    }
    const qint64 rows = qMax<qint64>(tableOf(vtab).slotCount(), 1);
    info->idxNum = FullScan;
    info->estimatedRows = rows;
    info->estimatedCost = double(rows);
    return SQLITE_OK;
}

int xOpen(sqlite3_vtab *, sqlite3_vtab_cursor **out)
{
    auto *cursor = new Cursor{};
    *out = &cursor->base;
    return SQLITE_OK;
}

int xClose(sqlite3_vtab_cursor *cursor)
{
    delete reinterpret_cast<Cursor *>(cursor);
    return SQLITE_OK;
}

void skipDeleted(Cursor *cursor, const SourceTable &table)
{
    while (cursor->slot < cursor->end && !table.isLive(cursor->slot))
        ++cursor->slot;
}

int xFilter(sqlite3_vtab_cursor *base, int idxNum, const char *, int argc, sqlite3_value **argv)
{
    auto *cursor = reinterpret_cast<Cursor *>(base);
    const SourceTable &table = tableOf(base->pVtab);
    if (idxNum == RowidLookup && argc == 1) {
        if (sqlite3_value_numeric_type(argv[0]) != SQLITE_INTEGER) {
            cursor->slot = cursor->end = 0;
            return SQLITE_OK;
        }
        const qint64 slot = sqlite3_value_int64(argv[0]) - 1;
        const bool inRange = table.hasSlot(slot);
        cursor->slot = inRange ? slot : 0;
        cursor->end = inRange ? slot + 1 : 0;
    } else {
        cursor->slot = 0;
        cursor->end = table.slotCount();
    }
    skipDeleted(cursor, table);
    return SQLITE_OK;
}

int xNext(sqlite3_vtab_cursor *base)
{
    auto *cursor = reinterpret_cast<Cursor *>(base);
    ++cursor->slot;
    skipDeleted(cursor, tableOf(base->pVtab));
    return SQLITE_OK;
}

int xEof(sqlite3_vtab_cursor *base)
{
    const auto *cursor = reinterpret_cast<Cursor *>(base);
    return cursor->slot >= cursor->end;
}

int xColumn(sqlite3_vtab_cursor *base, sqlite3_context *context, int column)
{
    // An UPDATE asks for the columns it does not change only to pass them back: skip reading.
    if (sqlite3_vtab_nochange(context))
        return SQLITE_OK;
    const auto *cursor = reinterpret_cast<Cursor *>(base);
    const SourceTable &table = tableOf(base->pVtab);
    thread_local std::string text;
    bool isNull = false;
    if (table.textUtf8(cursor->slot, column, &text, &isNull)) {
        if (isNull)
            sqlite3_result_null(context);
        else
            sqlite3_result_text64(context, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        return SQLITE_OK;
    }
    toSqlite(context, table.value(cursor->slot, column));
    return SQLITE_OK;
}

int xRowid(sqlite3_vtab_cursor *base, sqlite3_int64 *rowid)
{
    *rowid = reinterpret_cast<Cursor *>(base)->slot + 1;
    return SQLITE_OK;
}

int xUpdate(sqlite3_vtab *vtab, int argc, sqlite3_value **argv, sqlite3_int64 *rowid)
{
    SourceTable &table = tableOf(vtab);
    QString error;
    if (argc == 1) {
        if (!table.deleteRow(sqlite3_value_int64(argv[0]) - 1, &error))
            return fail(vtab, error);
        return SQLITE_OK;
    }
    const int columns = argc - 2;
    QMap<int, QVariant> values;
    for (int i = 0; i < columns && i < table.fields().size(); ++i) {
        if (!sqlite3_value_nochange(argv[2 + i]))
            values.insert(i, fromSqlite(argv[2 + i]));
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        qint64 slot = 0;
        if (!table.insertRow(values, &slot, &error))
            return fail(vtab, error);
        *rowid = slot + 1;
        return SQLITE_OK;
    }
    const qint64 oldRowid = sqlite3_value_int64(argv[0]);
    if (sqlite3_value_type(argv[1]) != SQLITE_NULL && sqlite3_value_int64(argv[1]) != oldRowid)
        return fail(vtab,
                    QStringLiteral("The record number of %1 cannot be changed").arg(table.name()));
    if (!table.updateRow(oldRowid - 1, values, &error))
        return fail(vtab, error);
    return SQLITE_OK;
}

int xBegin(sqlite3_vtab *vtab)
{
    QString error;
    if (!tableOf(vtab).beginWrite(&error))
        return fail(vtab, error);
    return SQLITE_OK;
}

// The file is replaced in the sync phase, where a failure still rolls the statement back.
int xSync(sqlite3_vtab *vtab)
{
    QString error;
    if (!tableOf(vtab).commitWrite(&error))
        return fail(vtab, error);
    return SQLITE_OK;
}

int xCommit(sqlite3_vtab *)
{
    return SQLITE_OK;
}

int xRollback(sqlite3_vtab *vtab)
{
    tableOf(vtab).rollbackWrite();
    return SQLITE_OK;
}

sqlite3_module makeModule()
{
    sqlite3_module module{};
    module.iVersion = 1;
    module.xCreate = xConnect;
    module.xConnect = xConnect;
    module.xBestIndex = xBestIndex;
    module.xDisconnect = xDisconnect;
    module.xDestroy = xDisconnect;
    module.xOpen = xOpen;
    module.xClose = xClose;
    module.xFilter = xFilter;
    module.xNext = xNext;
    module.xEof = xEof;
    module.xColumn = xColumn;
    module.xRowid = xRowid;
    module.xUpdate = xUpdate;
    module.xBegin = xBegin;
    module.xSync = xSync;
    module.xCommit = xCommit;
    module.xRollback = xRollback;
    return module;
}

const sqlite3_module sourceModule = makeModule();

void destroyRegistry(void *registry)
{
    delete static_cast<SourceModule::Registry *>(registry);
}

} // namespace

SourceModule::SourceModule(sqlite3 *db) : m_db(db)
{
    static QAtomicInteger<int> counter;
    m_moduleName = QStringLiteral("nuvela_source_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
    auto *registry = new Registry;
    // On failure SQLite calls the destructor itself.
    if (db && sqlite3_create_module_v2(db, m_moduleName.toUtf8().constData(), &sourceModule,
                                       registry, destroyRegistry) == SQLITE_OK)
        m_registry = registry;
}

SourceModule::~SourceModule() = default;

bool SourceModule::createTable(const QString &schema, const QString &sqlName,
                               const std::shared_ptr<SourceTable> &table, QString *error)
{
    if (!m_registry) {
        if (error)
            *error = QStringLiteral("The SQL engine cannot take foreign tables");
        return false;
    }
    if (const QString tooWide = columnLimitProblem(*table, sqlName); !tooWide.isEmpty()) {
        if (error)
            *error = tooWide;
        return false;
    }
    const QString key = QString::number(m_registry->tables.size() + 1);
    m_registry->tables.insert(key, table);
    const QByteArray sql = QStringLiteral("CREATE VIRTUAL TABLE %1.%2 USING %3(%4)")
                               .arg(quoted(schema), quoted(sqlName), m_moduleName, key)
                               .toUtf8();
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        if (error)
            *error = QStringLiteral("Cannot show %1 to SQL: %2")
                         .arg(sqlName, QString::fromUtf8(message));
        sqlite3_free(message);
        m_registry->tables.remove(key);
        return false;
    }
    return true;
}

QString SourceModule::columnDeclaration(TypePath path, const SourceField &field)
{
    switch (FieldTypeNames::storedClass(path, field.typeCode)) {
    case ValueClass::Text:
        return QStringLiteral("TEXT COLLATE NOCASE");
    case ValueClass::Date:
        return QStringLiteral("TEXT");
    case ValueClass::Number:
        return QStringLiteral("NUMERIC");
    case ValueClass::Yes:
        return QStringLiteral("INTEGER");
    case ValueClass::None:
        break;
    }
    return QString();
}

QString SourceModule::columnLimitProblem(const SourceTable &table, const QString &name)
{
    if (table.fields().size() <= SourceTable::MaxColumns)
        return {};
    return QStringLiteral("%1 cannot be shown: this table has %2 columns; at most 2,000 can be "
                          "shown")
        .arg(name)
        .arg(table.fields().size());
}

QString SourceModule::quoted(const QString &identifier)
{
    QString text = identifier;
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}
