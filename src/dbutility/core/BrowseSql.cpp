#include "BrowseSql.h"

#include "JetSql.h"
#include "SqlText.h"

#include <QRegularExpression>

#include <sqlite3.h>

namespace
{

bool isPlainName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!plain.match(name).hasMatch())
        return false;
    const QByteArray utf8 = name.toUtf8();
    // Jet's own words are read as values by the translation.
    return !sqlite3_keyword_check(utf8.constData(), int(utf8.size())) &&
           name.compare(QLatin1String("true"), Qt::CaseInsensitive) != 0 &&
           name.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
}

} // namespace

QString BrowseSql::VisibleFieldList(const QList<FieldView> &fields)
{
    QStringList items;
    for (const FieldView &field : fields) {
        if (field.visible)
            items.append(bracketed(field.name));
    }
    return items.join(QLatin1Char(','));
}

QString BrowseSql::bracketed(const QString &name)
{
    // The translation ends a bracketed name at the first "]": such a name cannot be written.
    QString inner = name;
    inner.replace(QLatin1Char(']'), QLatin1Char(')'));
    return QLatin1Char('[') + inner + QLatin1Char(']');
}

QString BrowseSql::bareName(const QString &name)
{
    return isPlainName(name) ? name : bracketed(name);
}

QString BrowseSql::fileTableName(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return bareName(fileName);
    const QString base = fileName.left(dot);
    // "main.dbf" and "temp.dbf" would name the engine's own schemas.
    const bool reserved = base.compare(QLatin1String("main"), Qt::CaseInsensitive) == 0 ||
                          base.compare(QLatin1String("temp"), Qt::CaseInsensitive) == 0;
    return !reserved && isPlainName(base) && isPlainName(fileName.mid(dot + 1))
               ? fileName
               : bracketed(fileName);
}

QString BrowseSql::recordSource(Path path, const QString &table, const QString &list,
                                const QString &where)
{
    if (path == Path::Access)
        return (list.isEmpty() ? QStringLiteral("Select * from ") + bracketed(table)
                               : QStringLiteral("Select ") + list + QStringLiteral(" from ") +
                                     bareName(table)) +
               where;
    return QStringLiteral("Select ") + (list.isEmpty() ? QStringLiteral("*") : list) +
           QStringLiteral(" from ") + fileTableName(table) + QStringLiteral("  ") + where;
}

QString BrowseSql::sortedSource(Path path, const QString &table, const QString &list,
                                const QString &where, const QString &field, bool descending)
{
    const QString columns = list.isEmpty() ? QStringLiteral("*") : list;
    const QString order = path == Path::Access ? bracketed(field) : bareName(field);
    const QString from = path == Path::Access ? bracketed(table) : fileTableName(table);
    return QStringLiteral("Select ") + columns + QStringLiteral(" from ") + from + where +
           QStringLiteral(" order by ") + order +
           (descending ? QStringLiteral(" desc") : QString());
}

QString BrowseSql::distinctValues(Path path, const QString &table, const QString &field)
{
    if (path == Path::Access) {
        const QString f = bracketed(field);
        return QStringLiteral(" select distinct ") + f + QStringLiteral(" from  ") +
               bareName(table) + QStringLiteral(" where ") + f +
               QStringLiteral(" is not null  order by ") + f;
    }
    const QString f = bareName(field);
    return QStringLiteral(" select distinct ") + f + QStringLiteral(" from  ") +
           fileTableName(table) + QStringLiteral(" where ") + f +
           QStringLiteral(" is not null order by ") + f;
}

QString BrowseSql::filterClause(ValueClass valueClass, const QString &field, const QString &value)
{
    const QString f = bareName(field);
    switch (valueClass) {
    case ValueClass::Text:
        return QStringLiteral(" where ") + f + QStringLiteral(" =") + SqlText::literal(value);
    case ValueClass::Number:
        return QStringLiteral(" where ") + f + QLatin1Char('=') + numberText(leadingNumber(value));
    case ValueClass::Date: {
        // Between "#" signs as the date it reads as; a value that is no date matches nothing
        // rather than breaking the text.
        const QDateTime date = JetSql::parseDate(value);
        return QStringLiteral(" where ") + f + QStringLiteral(" =") +
               (date.isValid() ? QLatin1Char('#') + JetSql::canonicalDate(date) + QLatin1Char('#')
                               : SqlText::literal(value));
    }
    case ValueClass::Yes: {
        bool number = false;
        const double n = value.trimmed().toDouble(&number);
        if (number)
            return QStringLiteral(" where ") + f + QLatin1Char('=') + numberText(n);
        const QString lowered = value.trimmed().toLower();
        const bool yes = lowered == QLatin1String("true") || lowered == QLatin1String("yes");
        const bool no = lowered == QLatin1String("false") || lowered == QLatin1String("no");
        return QStringLiteral(" where ") + f + QLatin1Char('=') +
               (yes || no ? SqlText::boolLiteral(yes) : SqlText::literal(value));
    }
    case ValueClass::None:
        break;
    }
    return QString();
}

double BrowseSql::leadingNumber(const QString &text)
{
    // Val skips blanks, takes an optional sign, digits, one decimal point and an exponent.
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    QString compact = text;
    compact.remove(QLatin1Char(' '));
    compact.remove(QLatin1Char('\t'));
    const QRegularExpressionMatch match = number.match(compact);
    return match.hasMatch() ? match.captured(0).toDouble() : 0.0;
}

QString BrowseSql::sortCaptionField(const QString &caption)
{
    return caption.mid(7).trimmed();
}

QString BrowseSql::numberText(double value)
{
    return QString::number(value, 'g', 17);
}
