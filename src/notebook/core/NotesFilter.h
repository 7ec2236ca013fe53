#pragma once

#include <QDate>
#include <QString>

// The fields of the notebook's filter panel, as the window reads them from its controls.
struct NotesFilterFields {
    QString searchText;                       // Text4: the quick search
    QString keyword;                          // cboKeyword
    QString flags;                            // CmbKFlags
    QString extension;                        // cboFileType
    QString category;                         // cboCateg
    QString version;                          // CmbVersion
    QString dateKind = QStringLiteral("All"); // cboDate: "All", "Modified" or "Created"
    QDate from;                               // dtpDate1
    QDate to;                                 // dtpDate2
    QString namePrefix;                       // txtFileName
};

// Builds the WHERE clauses of the filter panel (cmdFilter). The texts are the program's own,
// with one deliberate difference: values enter them escaped (SqlText), so a quote, a "*" or a
// "#" in a name is looked for as typed instead of breaking or widening the statement.
class NotesFilter
{
public:
    // A field counts as set when its text is neither empty nor "All".
    static bool isSet(const QString &field);

    // Ten conditions joined by "or": the search text in category, name, description, serial
    // number, extension, path, version, author and keywords, and the flags list's text
    // (flagsText, not the search text) in the flags.
    static QString quickSearchClause(const QString &text, const QString &flagsText);
    // Keyword, flags, extension, category, version, date range and name prefix joined by
    // "and"; empty when no field is set.
    static QString structuredClause(const NotesFilterFields &fields);
    // The quick search when the search text is not empty, else the structured filter.
    static QString clause(const NotesFilterFields &fields);

    // The grid's record source for a clause of either kind, ordered by creation date.
    static QString recordSource(const QString &clause);
    // Captions of the grid after a quick search and after a structured filter.
    static QString captions(bool quickSearch);
};
