#include "FieldValidator.h"

#include "CodePage.h"
#include "FieldTypeNames.h"
#include "ValueParser.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace
{

bool fixedWidths(DbKind kind)
{
    return kind == DbKind::DBase || kind == DbKind::FoxPro || kind == DbKind::Paradox;
}

bool isDbf(DbKind kind)
{
    return kind == DbKind::DBase || kind == DbKind::FoxPro;
}

QString quotedText(const QString &text)
{
    return QLatin1Char('"') + (text.size() > 40 ? text.left(40) + QStringLiteral("...") : text) +
           QLatin1Char('"');
}

// The first character of text that the code page cannot hold; empty when it holds them all.
QString unmappable(const QString &text, int codePage)
{
    if (codePage <= 0)
        return QString();
    const CodePage page(codePage);
    if (page.decode(page.encode(text)) == text)
        return QString();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString one = text.mid(i, length);
        if (page.decode(page.encode(one)) != one)
            return one;
        i += length - 1;
    }
    return QString();
}

} // namespace

FieldValidator::FieldValidator(const SourceField &field, DbKind kind, int codePage, bool dayFirst)
    : m_field(field), m_kind(kind), m_codePage(codePage), m_dayFirst(dayFirst)
{
    const bool fixed = fixedWidths(kind);
    switch (JetType(field.typeCode)) {
    case JetType::Boolean:
        m_class = Class::YesNo;
        break;
    case JetType::Byte:
        m_class = Class::Whole;
        m_highest = 255;
        break;
    case JetType::Integer:
        m_class = Class::Whole;
        m_lowest = -32768;
        m_highest = 32767;
        break;
    case JetType::Long:
        m_class = Class::Whole;
        m_lowest = fixed ? std::numeric_limits<qint32>::min() : std::numeric_limits<qint64>::min();
        m_highest = fixed ? std::numeric_limits<qint32>::max() : std::numeric_limits<qint64>::max();
        break;
    case JetType::Currency:
    case JetType::Single:
    case JetType::Double:
        m_class = Class::Number;
        break;
    case JetType::Date:
        m_class = Class::Date;
        break;
    case JetType::Binary:
    case JetType::LongBinary:
        m_class = Class::Binary;
        break;
    default:
        m_class = Class::Text;
        break;
    }
    // A dBase N or F field is as wide as its digits, whatever number type it reads as.
    if (isDbf(kind) &&
        (field.nativeType == QLatin1String("N") || field.nativeType == QLatin1String("F")))
        m_class = Class::Number;
}

QString FieldValidator::check(const QString &text, QVariant *value) const
{
    *value = QVariant();
    if (m_class == Class::Binary)
        return QStringLiteral("The field %1 holds binary data, which cannot be typed")
            .arg(m_field.name);
    // An empty cell is no value: every type takes it.
    if (text.isEmpty() || (m_class != Class::Text && text.trimmed().isEmpty()))
        return QString();
    switch (m_class) {
    case Class::Text:
        return checkText(text, value);
    case Class::Date: {
        const QString date = dateText(text, m_dayFirst);
        if (date.isNull())
            return QStringLiteral("The field %1 takes a date such as %2; %3 is not one")
                .arg(m_field.name,
                     m_dayFirst ? QStringLiteral("31/12/2024 or 2024-12-31")
                                : QStringLiteral("12/31/2024 or 2024-12-31"),
                     quotedText(text));
        *value = date;
        return QString();
    }
    case Class::YesNo: {
        bool ok = false;
        const bool yes = ValueParser::truth(text, &ok);
        if (!ok)
            return QStringLiteral("The field %1 takes Yes or No; %2 is neither")
                .arg(m_field.name, quotedText(text));
        *value = qint64(yes ? 1 : 0);
        return QString();
    }
    default:
        return checkNumber(text, value);
    }
}

QString FieldValidator::checkText(const QString &text, QVariant *value) const
{
    const QString missing = unmappable(text, m_codePage);
    if (!missing.isEmpty())
        return QStringLiteral("The field %1 cannot hold \"%2\": the table's code page %3 has no "
                              "such character")
            .arg(m_field.name, missing)
            .arg(m_codePage);
    const bool limited = (isDbf(m_kind) && m_field.nativeType == QLatin1String("C")) ||
                         (m_kind == DbKind::Paradox && m_field.nativeType == QLatin1String("A"));
    if (limited && m_field.size > 0) {
        const qsizetype length =
            m_codePage > 0 ? CodePage(m_codePage).encode(text).size() : text.toUtf8().size();
        if (length > m_field.size)
            return QStringLiteral("The field %1 holds at most %2 characters; %3 has %4")
                .arg(m_field.name)
                .arg(m_field.size)
                .arg(quotedText(text))
                .arg(length);
    }
    *value = text;
    return QString();
}

QString FieldValidator::checkNumber(const QString &text, QVariant *value) const
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const double number = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return QStringLiteral("The field %1 takes a number; %2 is not one")
            .arg(m_field.name, quotedText(text));
    bool whole = false;
    const qint64 integer = trimmed.toLongLong(&whole);
    if (m_class == Class::Whole) {
        if (!whole)
            return QStringLiteral("The field %1 takes a whole number; %2 is not one")
                .arg(m_field.name, quotedText(text));
        if (integer < m_lowest || integer > m_highest)
            return QStringLiteral("The field %1 holds whole numbers from %2 to %3; %4 does not "
                                  "fit")
                .arg(m_field.name)
                .arg(m_lowest)
                .arg(m_highest)
                .arg(trimmed);
    }
    const bool dbfDigits = isDbf(m_kind) && (m_field.nativeType == QLatin1String("N") ||
                                             m_field.nativeType == QLatin1String("F"));
    if (dbfDigits) {
        // As the file writes it: the digits with the field's decimals.
        const QByteArray written = whole && m_field.decimals == 0
                                       ? QByteArray::number(integer)
                                       : QByteArray::number(number, 'f', m_field.decimals);
        if (written.size() > m_field.size)
            return QStringLiteral("The field %1 holds numbers of at most %2 characters with %3 "
                                  "decimals; %4 does not fit")
                .arg(m_field.name)
                .arg(m_field.size)
                .arg(m_field.decimals)
                .arg(trimmed);
    }
    // A text file keeps the number as it was typed.
    if (m_kind == DbKind::Text)
        *value = trimmed;
    else if (whole)
        *value = integer;
    else
        *value = number;
    return QString();
}

QString FieldValidator::dateText(const QString &text, bool dayFirst)
{
    const QString trimmed = text.trimmed();
    static const QRegularExpression numeric(
        QStringLiteral("^(\\d{1,2})([/.-])(\\d{1,2})\\2(\\d{4})$"));
    static const QRegularExpression named(QStringLiteral("^(\\d{1,2})-([A-Za-z]{3})-(\\d{4})$"));
    QDate date;
    if (const QRegularExpressionMatch m = numeric.match(trimmed); m.hasMatch()) {
        const int first = m.captured(1).toInt();
        const int second = m.captured(3).toInt();
        date = dayFirst ? QDate(m.captured(4).toInt(), second, first)
                        : QDate(m.captured(4).toInt(), first, second);
    } else if (const QRegularExpressionMatch n = named.match(trimmed); n.hasMatch()) {
        static const QStringList months{"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
        const qsizetype month = months.indexOf(n.captured(2).toLower());
        if (month >= 0)
            date = QDate(n.captured(3).toInt(), int(month) + 1, n.captured(1).toInt());
    } else {
        bool ok = false;
        const ValueParser::DateTime parsed = ValueParser::dateTime(trimmed, &ok);
        if (!ok)
            return QString();
        const QString day = parsed.date.toString(QStringLiteral("yyyy-MM-dd"));
        if (parsed.milliseconds == 0)
            return day;
        const int seconds = parsed.milliseconds / 1000;
        return day + QStringLiteral(" %1:%2:%3")
                         .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                         .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                         .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    }
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}
