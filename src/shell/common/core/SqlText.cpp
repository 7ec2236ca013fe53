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
