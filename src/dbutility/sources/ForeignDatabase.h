#pragma once

#include "SourceOptions.h"
#include "SourceTable.h"

#include <QSqlDatabase>
#include <QStringList>

#include <memory>

class SourceModule;

// An opened foreign database (Access file; dBase, FoxPro, Paradox or text table; or a folder
// of such tables) with its own SQL connection, on which every table is a virtual table:
//   Access:           each table under its own name ("Orders", "Order Details");
//   single-file types: the file name ("people.dbf", which Jet SQL writes as people.dbf or
//                     [people.dbf]) and the base name ("people").
// The connection runs the Database utility's SQL texts unchanged (after Jet translation), with
// Jet's like and functions installed. Writes through it reach the files (dBase, FoxPro, text,
// Paradox where pxlib allows); a refused write fails the statement with the table's message.
// The connection lives as long as this object; use it from the creating thread only.
class ForeignDatabase
{
public:
    ~ForeignDatabase();
    ForeignDatabase(const ForeignDatabase &) = delete;
    ForeignDatabase &operator=(const ForeignDatabase &) = delete;

    // Opens a file or a folder. On failure returns null and a message naming the file and
    // what is wrong with it.
    static std::unique_ptr<ForeignDatabase> open(const QString &path, const SourceOptions &options,
                                                 QString *error);

    QString path() const { return m_path; }
    SourceType type() const { return m_type; }
    TypePath typePath() const;
    QSqlDatabase connection() const;

    // Table names in the engine's order: for a single-file source, the file name.
    QStringList tableNames() const;
    SourceTable *table(const QString &name) const;
    // The display name of a field's type ("Text", "Numeric Long", ...).
    QString typeName(const SourceField &field) const;

private:
    ForeignDatabase() = default;
    bool attach(QString *error);

    QString m_path;
    SourceType m_type = SourceType::Auto;
    QString m_connectionName;
    std::unique_ptr<SourceModule> m_module;
    QList<std::shared_ptr<SourceTable>> m_tables;
    QStringList m_attachedSchemas;
};
