#include "CanonicalDate.h"

#include <QDate>

QString CanonicalDate::text(int year, int month, int day, qint64 milliseconds)
{
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day) || milliseconds < 0 ||
        milliseconds >= 86400000)
        return {};
    const int seconds = int(milliseconds / 1000);
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", year, month, day, seconds / 3600,
                             seconds / 60 % 60, seconds % 60);
}

QString CanonicalDate::fromJulianDay(qint64 julianDay, qint64 milliseconds)
{
    const QDate date = QDate::fromJulianDay(julianDay);
    if (!date.isValid())
        return {};
    return text(date.year(), date.month(), date.day(), milliseconds);
}
