#include "SqlText.h"

#include <QLocale>

QString SqlText::literal(const QString &text)
{
    if (text.isNull())
        return QStringLiteral("NULL");
    QString escaped = text;
    escaped.replace('\'', QLatin1String("''"));
    return '\'' + escaped + '\'';
}

QString SqlText::dateLiteral(QDate date)
{
    return '#' + QLocale::c().toString(date, QStringLiteral("dd-MMM-yyyy")) + '#';
}

QString SqlText::likeText(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == '*' || c == '?' || c == '#' || c == '[')
            escaped += '[' + QString(c) + ']';
        else
            escaped += c;
    }
    return escaped;
}
