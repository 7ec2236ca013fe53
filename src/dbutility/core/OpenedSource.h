#pragma once

#include "BrowseSql.h"
#include "DbSourceType.h"
#include "SourceField.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <memory>

class ForeignDatabase;
class SqliteDatabase;
struct sqlite3;

// A field as the field grids show it.
struct FieldInfo {
    QString name;
    QString typeName; // "Text", "Numeric Long", ...; empty for a type without a name
    int size = 0;     // defined size in bytes

    QString sizeText() const { return QString::number(size) + QStringLiteral(" Byte"); }
    ValueClass valueClass() const { return FieldTypeNames::valueClass(typeName); }
};

// A database the window has opened: a foreign source (Access, dBase, FoxPro, Paradox, text)
// through the source layer, or a SQLite file read directly. Either way one SQL connection runs
// the Jet texts on it, and its tables are named as the window's texts name them.
class OpenedSource
{
public:
    ~OpenedSource();
    OpenedSource(const OpenedSource &) = delete;
    OpenedSource &operator=(const OpenedSource &) = delete;

    // Opens path as kind (None: as its content says). Null on failure, with the layer's message
    // naming the file.
    static std::unique_ptr<OpenedSource> open(const QString &path, DbKind kind, QString *error);

    QString path() const { return m_path; }
    DbKind kind() const { return m_kind; }
    // Which of the two paths' texts name its tables and fields. SQLite files take the Access
    // path's: several tables, named in brackets.
    BrowseSql::Path sqlPath() const;
    bool hasTableList() const { return DbSourceType::hasTableList(m_kind); }

    // Access: the file's tables in the engine's order, without "MSys" ones; SQLite: the file's
    // tables; others: the file name.
    QStringList tableNames() const;
    QList<FieldInfo> fields(const QString &table) const;
    // The message of a table that could not be read (an Access table whose rows fail to load);
    // empty when it reads.
    QString loadError(const QString &table) const;
    // Live records of a table (reads every record of a foreign table once).
    qint64 recordCount(const QString &table) const;

    // --- for changing records (RecordEditor)
    // The table's fields as its format defines them: types, widths, decimals.
    QList<SourceField> sourceFields(const QString &table) const;
    // Code page of the table's 8-bit text (dBase, FoxPro); 0 where the text is Unicode or the
    // source layer checks the characters itself.
    int codePage(const QString &table) const;
    // Empty when the table's records can be changed; else why not, in the source's own words
    // (an Access file, a read-only file, a Paradox table pxlib cannot write).
    QString readOnlyReason(const QString &table) const;
    // Before the first change to a SQLite file since it was opened, keeps a copy of it beside
    // it (path + ".bak"), as the source layer does for the other formats; true for them.
    bool keepBackup(QString *error);

    QSqlDatabase connection() const;
    sqlite3 *handle() const;

private:
    OpenedSource() = default;

    QString m_path;
    DbKind m_kind = DbKind::None;
    std::unique_ptr<ForeignDatabase> m_foreign;
    std::unique_ptr<SqliteDatabase> m_sqlite;
    bool m_backedUp = false;
};
