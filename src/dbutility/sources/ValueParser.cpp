#include "ValueParser.h"

namespace
{

// Reads digits at text[from..from+count); -1 when any is not a digit.
int digitsAt(const QString &text, qsizetype from, int count)
{
    if (from + count > text.size())
        return -1;
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        if (!text.at(i).isDigit())
            return -1;
        value = value * 10 + text.at(i).digitValue();
    }
    return value;
}

} // namespace

// A value as a date, from "yyyy-MM-dd[ HH:mm[:ss]]" (or T between), "yyyyMMdd" or a Qt date
// type. Parsed by hand: Qt's date parsing asks the time zone files on every call.
ValueParser::DateTime ValueParser::dateTime(const QVariant &value, bool *ok)
{
    *ok = true;
    if (value.metaType().id() == QMetaType::QDate)
        return {value.toDate(), 0};
    if (value.metaType().id() == QMetaType::QDateTime)
        return {value.toDateTime().date(), value.toDateTime().time().msecsSinceStartOfDay()};
    const QString text = value.toString().trimmed();
    DateTime result;
    qsizetype timeStart = -1;
    if (text.size() >= 10 && text.at(4) == QLatin1Char('-') && text.at(7) == QLatin1Char('-')) {
        result.date = QDate(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
        timeStart = text.size() > 10 ? 11 : -1;
        if (timeStart > 0 && text.at(10) != QLatin1Char(' ') && text.at(10) != QLatin1Char('T'))
            result.date = QDate();
    } else if (text.size() == 8) {
        result.date = QDate(digitsAt(text, 0, 4), digitsAt(text, 4, 2), digitsAt(text, 6, 2));
    }
    if (timeStart > 0) {
        const int hours = digitsAt(text, timeStart, 2);
        const int minutes = digitsAt(text, timeStart + 3, 2);
        const bool hasSeconds = text.size() >= timeStart + 8;
        const int seconds = hasSeconds ? digitsAt(text, timeStart + 6, 2) : 0;
        if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59)
            result.date = QDate();
        result.milliseconds = ((hours * 60 + minutes) * 60 + seconds) * 1000;
    }
    *ok = result.date.isValid();
    return result;
}

bool ValueParser::truth(const QVariant &value, bool *ok)
{
    *ok = true;
    if (value.metaType().id() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toLower();
        if (text == QLatin1String("t") || text == QLatin1String("y") ||
            text == QLatin1String("true") || text == QLatin1String("yes"))
            return true;
        if (text == QLatin1String("f") || text == QLatin1String("n") ||
            text == QLatin1String("false") || text == QLatin1String("no"))
            return false;
        bool number = false;
        const double parsed = text.toDouble(&number);
        *ok = number;
        return parsed != 0;
    }
    return value.toDouble() != 0;
}
