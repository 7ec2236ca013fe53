#pragma once

#include "FieldTypeNames.h"

#include <QList>
#include <QString>

// The SQL texts of browsing, in the Jet dialect, as the Database utility has always written them
// for its two paths: the Access path names tables in brackets, the installable-driver path
// names a single-file table by its file name ("people.dbf"). Names that would not read as names
// bare (blanks, a leading digit, a keyword) are bracketed wherever the old texts left them bare,
// and every value goes in as an escaped literal or a number; otherwise the texts are unchanged.
class BrowseSql
{
public:
    enum class Path { Access, Driver };

    struct FieldView {
        QString name;
        bool visible = true;
    };

    // "[a],[b]" over the visible fields; "" when none is visible (then every field is shown).
    static QString VisibleFieldList(const QList<FieldView> &fields);

    // A name as the texts write it bare: itself when SQL reads it as one name, else "[name]".
    static QString bareName(const QString &name);
    // A file name as the driver path's texts write it ("people.dbf", "[my data.csv]").
    static QString fileTableName(const QString &fileName);
    static QString bracketed(const QString &name);

    // The record source: Access "Select * from [T]" or "Select <list> from T"; driver
    // "Select * from <file>  " or "Select <list> from <file>  "; where appended when given.
    static QString recordSource(Path path, const QString &table, const QString &list,
                                const QString &where);
    // The records read ordered by a field: Access "Select * from [T] order by [F]", driver
    // "Select * from <file> order by F" (list and where kept when the view has them).
    static QString sortedSource(Path path, const QString &table, const QString &list,
                                const QString &where, const QString &field, bool descending);
    // The values of a filter box: Access " select distinct [F] from  T where [F] is not null
    // order by [F]", driver the same with bare names.
    static QString distinctValues(Path path, const QString &table, const QString &field);
    // " where F ='v'" (Text), " where F=n" (Number), " where F =#v#" (Date), " where F=v" (Yes);
    // empty for a field of no class.
    static QString filterClause(ValueClass valueClass, const QString &field, const QString &value);

    // The number at the start of a text as the old engine's Val read it ("12abc" 12, "abc" 0).
    static double leadingNumber(const QString &text);
    // The field of a sort tool's caption ("Sort By NAME"): the caption from position 8, trimmed.
    static QString sortCaptionField(const QString &caption);
    static QString sortCaption(const QString &field) { return QStringLiteral("Sort By ") + field; }
    // A number as SQL reads it back unchanged.
    static QString numberText(double value);
};
