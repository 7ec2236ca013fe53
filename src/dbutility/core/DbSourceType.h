#pragma once

#include "SourceOptions.h"

#include <QString>
#include <QStringList>

// The source types of the Database utility. A type's text ("Access", "dBASE 5.0;", ...) is what
// a favourite stores in favdbname.dbtype and, as in the old engine's connect texts, says how the
// file is read: the Access path for "Access", the installable-driver path for the others.
enum class DbKind { None, Access, DBase, FoxPro, Paradox, Text, SQLite };

class DbSourceType
{
public:
    // "Access", "dBASE 5.0;", "FoxPro 3.0;", "Paradox 5.x;", "Text", "SQLite"; "" for None.
    static QString text(DbKind kind);
    // Any spelling the window or a stored favourite uses ("Dbase 5.0;" too); None if unknown.
    static DbKind kind(const QString &typeText);
    static bool isAccess(const QString &typeText) { return kind(typeText) == DbKind::Access; }
    // Whether the source has a table list (Access, SQLite) rather than being one table.
    static bool hasTableList(DbKind kind)
    {
        return kind == DbKind::Access || kind == DbKind::SQLite;
    }

    // The type box's items, in order; it starts at the first.
    static QStringList boxItems();
    // The file dialog's filter for a type chosen in the type box.
    static QString dialogFilter(const QString &typeText);
    // The filter of the dialog that adds a favourite: every kind of file the utility opens.
    static QString favouriteFilter();

    // The type a file name gives, compared without regard to case: a name containing "MDB" is
    // Access, else one containing "DBF" dBase, else one containing "db" Paradox; else None.
    static DbKind fromName(const QString &name);
    // The type of a file: what its bytes say where they say something, else the name's type
    // (and text for ".csv", ".txt", ".tsv" and ".tab").
    static DbKind detect(const QString &path);
    // The type of a database file by its bytes alone: Access, dBase (FoxPro too), Paradox or
    // SQLite; None for anything else, text tables included, so that a scan of a disk does not
    // take every text file with a comma for a database.
    static DbKind fromContent(const QString &path);

    // How the source layer opens a kind (SQLite is not one of its formats: Auto).
    static SourceType sourceType(DbKind kind);
};
