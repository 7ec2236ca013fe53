#pragma once

#include "SourceField.h"

#include <QList>
#include <QSqlDatabase>
#include <QStringList>

#include <memory>

// A SQLite database file browsed directly by the program's own engine: a connection of its own
// with Jet's like and functions installed, so the Database utility's texts run on it as on any
// foreign source. Tables are the file's own (not its sqlite_ tables), in the order the file
// lists them; field types are read from the declared column types as Jet field types.
//
// A read-only file is opened read-only. The connection lives as long as this object; use it from
// the creating thread only.
class SqliteDatabase
{
public:
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    // On failure null, and *error names the file and says what is wrong with it.
    static std::unique_ptr<SqliteDatabase> open(const QString &path, QString *error);

    QString path() const { return m_path; }
    QSqlDatabase connection() const;
    QStringList tableNames() const { return m_tables; }
    // The table's columns in order; typeCode is a Jet field type (TypePath::InstallableDriver).
    QList<SourceField> fields(const QString &table) const;

    // The Jet field type for a declared column type, by SQLite's own affinity rules with the
    // common names for dates, yes/no and money picked out first.
    static int jetType(const QString &declaredType);
    // The size a declared type gives ("VARCHAR(40)" 40), else the type's usual size in bytes.
    static int declaredSize(const QString &declaredType, int jetType);

private:
    SqliteDatabase() = default;

    QString m_path;
    QString m_connectionName;
    QStringList m_tables;
};
