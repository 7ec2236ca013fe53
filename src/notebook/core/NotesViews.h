#pragma once

#include <QString>
#include <QStringList>

// The record sources and captions of the document grid's views: the alphabetic strip, the
// DocType strip, the sort tools, content search and the two grouped views. Each view is one
// SQL text (Jet dialect) and one caption text whose blanks size the columns.
class NotesViews
{
public:
    // What the view pane shows for a DocType tab.
    enum class Pane { Text, List };

    struct DocTypeTab {
        QString caption;
        QString condition; // inside the default select, before " order by documentname "
        Pane pane;
    };

    // "All" and the letters "A" to "V": documents beginning with W to Z are listed under
    // "All" only.
    static QStringList alphabetCaptions();
    // The default list of one alphabetic tab: every row for "All", else the rows whose name
    // begins with the caption, in any case.
    static QString alphabetSource(const QString &caption);
    static QString defaultCaptions();

    // Tabs 1 to 6 of the DocType strip.
    static const QList<DocTypeTab> &docTypeTabs();
    static QString docTypeSource(int tab);

    // The sort tools "StbyCat" and "StDatewise".
    static QString byCategorySource();
    static QString byCategoryCaptions();
    static QString byDateSource();
    static QString byDateCaptions();
    // The columns those two views show; the others stay hidden.
    static QStringList sortViewColumns();

    // Content search through the given condition (ContentIndex::condition, or the body copy's
    // `like` when there is no index), with the captions of the default list.
    static QString contentSource(const QString &condition);
    // The condition the program always had: the text anywhere in the body copy's RTF source.
    static QString contentLikeCondition(const QString &text);

    // The grouped views: rows with a creation date by category, rows with a modification date
    // by month, newest first.
    static QString byCategoryViewSource();
    static QString byCategoryViewCaptions();
    static QString byMonthViewSource();
    static QString byMonthViewCaptions();
};
