#pragma once

#include <QDate>
#include <QVariant>

// Reads values that SQL hands to a writable source: dates as "yyyy-MM-dd[ HH:mm[:ss]]" (or
// with T), "yyyyMMdd" or Qt date types; Yes/No as numbers or T/F, Y/N, true/false, yes/no.
class ValueParser
{
public:
    struct DateTime {
        QDate date;
        int milliseconds = 0;
    };

    // *ok false when the value is no valid date or time.
    static DateTime dateTime(const QVariant &value, bool *ok);
    // *ok false when the value is neither yes nor no.
    static bool truth(const QVariant &value, bool *ok);
};
