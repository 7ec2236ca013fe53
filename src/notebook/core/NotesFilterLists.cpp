#include "NotesFilterLists.h"

#include "Store.h"

void AddUnique(QStringList &list, const QString &text)
{
    if (!list.contains(text, Qt::CaseSensitive))
        list << text;
}

NotesFilterLists NotesFilterLists::read(const Store &store)
{
    NotesFilterLists lists;
    const QStringList keywordRows = store.column(QStringLiteral(
        "Select keyword from nv_notesdairy1 where keyword is not null and keyword <>''"));
    for (const QString &row : keywordRows) {
        for (const QString &keyword : row.split(',', Qt::SkipEmptyParts))
            AddUnique(lists.keywords, keyword);
    }
    lists.extensions = store.column(QStringLiteral(
        "Select distinct ext from nv_notesdairy1 where ext is not null and ext <>''"));
    lists.categories = store.column(QStringLiteral(
        "Select distinct Category1 from nv_notesdairy1 where category1 is not null and category1 "
        "<>''"));
    lists.flags = store.column(QStringLiteral(
        "Select distinct Flags from nv_notesdairy1 where Flags is not null and Flags <>''"));
    lists.versions = store.column(QStringLiteral(
        "Select distinct version from nv_notesdairy1 where version is not null and version <>''"));
    return lists;
}
