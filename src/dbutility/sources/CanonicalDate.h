#pragma once

#include <QString>

// The stored form of dates, "yyyy-MM-dd HH:mm:ss" (text order is time order; a date alone is
// midnight), written by hand: QDateTime's formatting consults the time zone files on every
// call, which a table scan cannot afford.
class CanonicalDate
{
public:
    // Empty for a date outside the years 1-9999 or a time outside the day.
    static QString text(int year, int month, int day, qint64 milliseconds = 0);
    static QString fromJulianDay(qint64 julianDay, qint64 milliseconds = 0);
};
