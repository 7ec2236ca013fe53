#include "NotesFilter.h"

#include "SqlText.h"

namespace
{

// 'prefix' & text & '*' as a like literal, the text matched as typed.
QString likeLiteral(const QString &prefix, const QString &text)
{
    return SqlText::literal(prefix + SqlText::likeText(text) + QLatin1Char('*'));
}

// Appends a condition: " where " + condition for the first one, joiner + condition after.
void append(QString &clause, bool &started, const QString &joiner, const QString &condition)
{
    clause += (started ? joiner : QStringLiteral(" where ")) + condition;
    started = true;
}

} // namespace

bool NotesFilter::isSet(const QString &field)
{
    return !field.isEmpty() && field != QLatin1String("All");
}

QString NotesFilter::quickSearchClause(const QString &text, const QString &flagsText)
{
    static const char *const columns[] = {"CATEGORY1", "FLAGS",  "DOCUMENTNAME", "TYPE",
                                          "SERIALNO",  "EXT",    "PATH",         "VERSION",
                                          "AUTHOR",    "keyword"};
    QString clause;
    for (const char *column : columns) {
        const bool flags = qstrcmp(column, "FLAGS") == 0;
        clause += clause.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" or ");
        clause += QStringLiteral(" [%1] like ").arg(QLatin1String(column)) +
                  likeLiteral(QStringLiteral("*"), flags ? flagsText : text);
    }
    return clause;
}

QString NotesFilter::structuredClause(const NotesFilterFields &f)
{
    QString clause;
    bool started = false;
    if (isSet(f.keyword)) {
        clause =
            QStringLiteral("Where keyword like ") + likeLiteral(QStringLiteral("*"), f.keyword);
        started = true;
    }
    if (isSet(f.flags)) {
        const QString condition =
            QStringLiteral("flags like ") + likeLiteral(QStringLiteral("*"), f.flags);
        clause = started ? clause + QStringLiteral(" and ") + condition
                         : QStringLiteral("Where ") + condition;
        started = true;
    }
    if (isSet(f.extension))
        append(clause, started, QStringLiteral(" and "),
               QStringLiteral("ext =") + SqlText::literal(f.extension));
    if (isSet(f.category))
        append(clause, started, QStringLiteral(" and "),
               QStringLiteral("category1 =") + SqlText::literal(f.category));
    if (isSet(f.version))
        append(clause, started, QStringLiteral(" and "),
               QStringLiteral("version=") + SqlText::literal(f.version));
    const bool modified = f.dateKind == QLatin1String("Modified");
    if (modified || f.dateKind == QLatin1String("Created")) {
        const QString column = modified ? QStringLiteral("mdate") : QStringLiteral("date");
        append(clause, started, QStringLiteral(" and "),
               column + QStringLiteral(">=") + SqlText::dateLiteral(f.from) +
                   QStringLiteral(" and ") + column + QStringLiteral("<=") +
                   SqlText::dateLiteral(f.to));
    }
    if (!f.namePrefix.isEmpty())
        append(clause, started, QStringLiteral(" and "),
               QStringLiteral("DocumentName like ") + likeLiteral(QString(), f.namePrefix));
    return clause;
}

QString NotesFilter::clause(const NotesFilterFields &fields)
{
    return fields.searchText.isEmpty() ? structuredClause(fields)
                                       : quickSearchClause(fields.searchText, fields.flags);
}

QString NotesFilter::recordSource(const QString &clause)
{
    return QStringLiteral("select id,[DATE],CATEGORY1,DOCUMENTNAME,[TYPE],[MDATE],SERIALNO,ext,"
                          "PATH,Author,Version,Progress,bgcolor from nv_notesdairy1 ") +
           clause + QStringLiteral(" order by [DATE]");
}

QString NotesFilter::captions(bool quickSearch)
{
    return quickSearch ? QStringLiteral(
                             "|Date Crr.        |Category       |Document Name      |Desc         "
                             "|Date Modi          |Serail no              |Ext        |Path      "
                             "                       |Author               |Version              "
                             "|Progress   |bgcolor")
                       : QStringLiteral(
                             "|Date Cr.        |Category       |Document Name      |Desc         "
                             "|Date Modi          |Serail no              |Ext        |Path      "
                             "                         |Author                   |Version        "
                             "|Progress       |bgcolor");
}
