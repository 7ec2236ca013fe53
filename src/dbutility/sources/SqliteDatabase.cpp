#include "SqliteDatabase.h"

#include "FieldTypeNames.h"
#include "JetSql.h"
#include "SourceDetection.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

SqliteDatabase::~SqliteDatabase()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<SqliteDatabase> SqliteDatabase::open(const QString &path, QString *error)
{
    const QFileInfo info(path);
    const QString fileName = info.fileName();
    const auto fail = [&](const QString &why) {
        if (error)
            *error =
                QStringLiteral("%1 is not a SQLite database or is damaged: %2").arg(fileName, why);
        return nullptr;
    };
    if (!info.isFile())
        return fail(QStringLiteral("it does not exist"));
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return fail(probe.errorString());
    if (!SourceDetection::isSqlite(probe.read(16)))
        return fail(QStringLiteral("it does not begin as a SQLite file does"));
    probe.close();

    static QAtomicInteger<int> counter;
    std::unique_ptr<SqliteDatabase> database(new SqliteDatabase);
    database->m_path = info.absoluteFilePath();
    database->m_connectionName =
        QStringLiteral("nuvela_sqlite_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), database->m_connectionName);
    db.setDatabaseName(database->m_path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000");
    // A file without any write permission stays unchanged even for the super-user.
    const QFile::Permissions write = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (!info.isWritable() || !(info.permissions() & write))
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open())
        return fail(db.lastError().text());
    JetSql::install(db);
    // The file is read for the first time here: a damaged one fails now, not in the grid.
    QSqlQuery tables(db);
    if (!tables.exec(QStringLiteral("select name from sqlite_master where type = 'table' and "
                                    "substr(name, 1, 7) <> 'sqlite_' order by rowid")))
        return fail(tables.lastError().text());
    while (tables.next())
        database->m_tables.append(tables.value(0).toString());
    return database;
}

QSqlDatabase SqliteDatabase::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QList<SourceField> SqliteDatabase::fields(const QString &table) const
{
    QList<SourceField> fields;
    QSqlQuery info(connection());
    QString name = table;
    name.replace(QLatin1Char('"'), QLatin1String("\"\""));
    if (!info.exec(QStringLiteral("pragma table_info(\"%1\")").arg(name)))
        return fields;
    while (info.next()) {
        SourceField field;
        field.name = info.value(1).toString();
        field.nativeType = info.value(2).toString();
        field.typeCode = jetType(field.nativeType);
        field.size = declaredSize(field.nativeType, field.typeCode);
        fields.append(field);
    }
    return fields;
}

int SqliteDatabase::jetType(const QString &declaredType)
{
    const QString type = declaredType.toUpper();
    const auto has = [&type](const char *part) { return type.contains(QLatin1String(part)); };
    if (has("BOOL"))
        return int(JetType::Boolean);
    if (has("DATE") || has("TIME"))
        return int(JetType::Date);
    if (has("MONEY") || has("CURRENCY"))
        return int(JetType::Currency);
    // SQLite's affinity rules, in its order.
    if (has("INT"))
        return int(JetType::Long);
    if (has("CHAR") || has("CLOB") || has("TEXT"))
        return has("TEXT") || has("CLOB") ? int(JetType::Memo) : int(JetType::Text);
    if (has("BLOB"))
        return int(JetType::LongBinary);
    if (has("REAL") || has("FLOA") || has("DOUB"))
        return int(JetType::Double);
    if (type.isEmpty())
        return int(JetType::Memo);
    return int(JetType::Double);
}

int SqliteDatabase::declaredSize(const QString &declaredType, int jetType)
{
    static const QRegularExpression size(QStringLiteral("\\(\\s*(\\d+)"));
    const QRegularExpressionMatch match = size.match(declaredType);
    if (match.hasMatch())
        return match.captured(1).toInt();
    switch (static_cast<JetType>(jetType)) {
    case JetType::Boolean:
        return 1;
    case JetType::Long:
        return 4;
    case JetType::Double:
    case JetType::Date:
    case JetType::Currency:
        return 8;
    default:
        return 0;
    }
}
