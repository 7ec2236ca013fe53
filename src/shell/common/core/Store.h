#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

struct sqlite3;

// One open handle on the data store or the information store. Every window opens its own and
// keeps it while it lives, as sibling programs may hold the same files: WAL journal and a busy
// timeout, so a store held elsewhere delays, never fails, a statement.
//
// SQL texts are written in the Jet dialect and translated (JetSql) before they run. Failures are
// not thrown: exec() answers false and query() an inactive query, and the caller goes on.
class Store
{
public:
    enum class Kind { Data, Info };

    // Opens the store of that kind in the program folder, creating it from the shipped schema
    // and reference data when the file is missing.
    explicit Store(Kind kind);
    // Opens the store file at path (creating it as kind when missing).
    Store(Kind kind, const QString &path);
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    bool isOpen() const;
    QString lastError() const { return m_lastError; }
    QSqlDatabase database() const;
    sqlite3 *handle() const;

    QSqlQuery query(const QString &jetSql) const;
    bool exec(const QString &jetSql) const;
    // The first row's column (by name, or the first column), or an invalid QVariant.
    QVariant value(const QString &jetSql, const QString &column = QString()) const;
    // The first column of every row as text (an empty list when the statement fails).
    QStringList column(const QString &jetSql) const;

    bool transaction() const;
    bool commit() const;

    static QString defaultPath(Kind kind);
    // Creates the store file from data/ when it does not exist. Safe against a second process
    // doing the same: the file is built aside and moved into place.
    static bool createIfMissing(Kind kind, const QString &path, QString *error = nullptr);
    // Integrity check and compaction; errors are not reported (the caller's message is fixed).
    static void repair(const QString &path);

private:
    QString m_connection;
    mutable QString m_lastError;
};
