#include "Store.h"

#include "AppFolders.h"
#include "JetSql.h"
#include "ReferenceData.h"
#include "SqliteHandle.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>

#include <sqlite3.h>

namespace
{

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("nuvela-store-%1").arg(counter.fetchAndAddRelaxed(1));
}

QSqlDatabase openConnection(const QString &name, const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    return db;
}

} // namespace

Store::Store(Kind kind) : Store(kind, defaultPath(kind)) {}

Store::Store(Kind kind, const QString &path) : m_connection(nextConnectionName())
{
    createIfMissing(kind, path, &m_lastError);
    QSqlDatabase db = openConnection(m_connection, path);
    // Opening never creates an empty store in place of a missing one.
    if (!QFileInfo::exists(path) || !db.open()) {
        if (m_lastError.isEmpty())
            m_lastError = db.lastError().text();
        return;
    }
    QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    JetSql::install(db);
}

Store::~Store()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

bool Store::isOpen() const
{
    return QSqlDatabase::database(m_connection, false).isOpen();
}

QSqlDatabase Store::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

sqlite3 *Store::handle() const
{
    return sqliteHandle(database());
}

QSqlQuery Store::query(const QString &jetSql) const
{
    QSqlDatabase db = database();
    QSqlQuery q(db);
    if (!db.isOpen()) {
        m_lastError = QStringLiteral("The data store is not open.");
        return q;
    }
    q.setForwardOnly(true);
    if (!q.exec(JetSql::translate(jetSql)))
        m_lastError = q.lastError().text();
    return q;
}

bool Store::exec(const QString &jetSql) const
{
    return query(jetSql).lastError().type() == QSqlError::NoError && isOpen();
}

QVariant Store::value(const QString &jetSql, const QString &column) const
{
    QSqlQuery q = query(jetSql);
    if (!q.isActive() || !q.next())
        return {};
    return column.isEmpty() ? q.value(0) : q.value(column);
}

QStringList Store::column(const QString &jetSql) const
{
    QStringList values;
    QSqlQuery q = query(jetSql);
    while (q.next())
        values << q.value(0).toString();
    return values;
}

bool Store::transaction() const
{
    return database().transaction();
}

bool Store::commit() const
{
    return database().commit();
}

QString Store::defaultPath(Kind kind)
{
    return kind == Kind::Data ? AppFolders::dataStorePath() : AppFolders::infoStorePath();
}

bool Store::createIfMissing(Kind kind, const QString &path, QString *error)
{
    if (QFileInfo::exists(path))
        return true;
    const QString aside = path + QStringLiteral(".new-%1").arg(QCoreApplication::applicationPid());
    QFile::remove(aside);
    bool ok = false;
    {
        sqlite3 *db = nullptr;
        if (sqlite3_open_v2(QFile::encodeName(aside).constData(), &db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK) {
            QString message;
            ok = ReferenceData::build(kind == Kind::Data ? ReferenceData::Store::Data
                                                         : ReferenceData::Store::Info,
                                      db, &message);
            if (!ok && error)
                *error = message;
        } else if (error) {
            *error = QString::fromUtf8(sqlite3_errmsg(db));
        }
        sqlite3_close(db);
    }
    // Another process may have made it meanwhile: keep theirs.
    if (ok && !QFileInfo::exists(path))
        ok = QFile::rename(aside, path);
    QFile::remove(aside);
    return ok || QFileInfo::exists(path);
}

void Store::repair(const QString &path)
{
    if (!QFileInfo::exists(path))
        return;
    const QString name = nextConnectionName();
    {
        QSqlDatabase db = openConnection(name, path);
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("PRAGMA integrity_check"));
            q.exec(QStringLiteral("REINDEX"));
            q.exec(QStringLiteral("VACUUM"));
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
}
