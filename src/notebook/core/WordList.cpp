#include "WordList.h"

#include "SqlText.h"
#include "Store.h"

namespace
{

const QString Every = QStringLiteral("select * from ut_NbKeyword order by Keyword");

QString beginningWith(const QString &prefix)
{
    return SqlText::literal(SqlText::likeText(prefix) + u'*');
}

} // namespace

QStringList WordList::subjects() const
{
    return m_store.column(QStringLiteral("select distinct subject from ut_NbKeyword"));
}

QStringList WordList::words(const QString &statement) const
{
    return m_store.column(statement);
}

bool WordList::isSubject(const QString &text)
{
    return !text.trimmed().isEmpty() && text.trimmed().compare(All, Qt::CaseInsensitive) != 0;
}

QString WordList::subjectStatement(const QString &subject)
{
    if (!isSubject(subject))
        return Every;
    return QStringLiteral("select * from ut_NbKeyword where subject= %1 order by keyword")
        .arg(SqlText::literal(subject));
}

QString WordList::subjectsStatement(const QString &first, const QString &second, bool all)
{
    const bool one = isSubject(first);
    const bool two = isSubject(second);
    if (all || (!one && !two))
        return Every;
    if (one && two && first.compare(second, Qt::CaseInsensitive) != 0)
        return QStringLiteral(
                   "select * from ut_NbKeyword where Subject =%1 or Subject =%2 order by keyword")
            .arg(SqlText::literal(first), SqlText::literal(second));
    return QStringLiteral("select * from ut_NbKeyword where Subject =%1 order by keyword")
        .arg(SqlText::literal(one ? first : second));
}

QString WordList::completionStatement(const QString &prefix, const QString &first,
                                      const QString &second)
{
    const bool subjects = isSubject(first) && isSubject(second);
    if (subjects && prefix.isEmpty())
        return subjectsStatement(first, second, false);
    if (subjects)
        return QStringLiteral("select * from ut_NbKeyword where [Keyword] like %1 and (subject= "
                              "%2 or Subject =%3) order by Keyword")
            .arg(beginningWith(prefix), SqlText::literal(first), SqlText::literal(second));
    return autotextStatement(prefix);
}

QString WordList::notebookCompletionStatement(const QString &prefix)
{
    if (prefix.isEmpty())
        return QStringLiteral(
            "select * from ut_NbKeyword where subject= 'English' order by Keyword");
    return QStringLiteral(
               "select * from ut_NbKeyword where subject= 'English' and [Keyword] like %1 order "
               "by Keyword")
        .arg(beginningWith(prefix));
}

QString WordList::autotextStatement(const QString &prefix)
{
    if (prefix.isEmpty())
        return Every;
    return QStringLiteral("select * from ut_NbKeyword where [Keyword] like %1 order by Keyword")
        .arg(beginningWith(prefix));
}

QString WordList::nextPrefix(const QString &prefix, QChar typed)
{
    if (typed.isSpace())
        return QString();
    if (typed.isNull() || typed.category() == QChar::Other_Control)
        return prefix;
    return prefix + typed;
}
