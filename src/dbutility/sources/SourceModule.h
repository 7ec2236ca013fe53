#pragma once

#include "SourceTable.h"

#include <QString>

#include <memory>

struct sqlite3;

// Exposes SourceTables to SQL as SQLite virtual tables on one connection's sqlite3 handle.
//
// Each SourceModule registers a module under its own name; createTable() then makes a virtual
// table of a SourceTable in a schema ("temp" keeps the connection's files untouched). Every
// statement that writes runs as one write transaction of the table: the file changes when the
// statement (or the explicit transaction) commits, and not at all when it fails. A refused
// write reports the table's message as the statement's error.
class SourceModule
{
public:
    explicit SourceModule(sqlite3 *db);
    ~SourceModule();
    SourceModule(const SourceModule &) = delete;
    SourceModule &operator=(const SourceModule &) = delete;

    bool isRegistered() const { return m_registry != nullptr; }
    QString moduleName() const { return m_moduleName; }

    bool createTable(const QString &schema, const QString &sqlName,
                     const std::shared_ptr<SourceTable> &table, QString *error);

    // The SQL column type of a field: TEXT COLLATE NOCASE for text, so that comparisons ignore
    // case as Jet's do; NUMERIC, INTEGER (Yes/No) or TEXT (dates) for the others.
    static QString columnDeclaration(TypePath path, const SourceField &field);
    // Why a table cannot be shown under name: more columns than SQL allows; empty when it can.
    static QString columnLimitProblem(const SourceTable &table, const QString &name);
    // "name" with inner quotes doubled.
    static QString quoted(const QString &identifier);

    struct Registry;

private:
    sqlite3 *m_db;
    QString m_moduleName;
    Registry *m_registry = nullptr; // owned by the connection once registered
};
