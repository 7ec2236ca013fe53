#pragma once

#include <QString>
#include <QStringList>

// The entries of the two date-range boxes and their spans in days.
class DateRanges
{
public:
    // "All", "Last During 1 Day", ... "Last 1 Year", in the order the boxes list them.
    static QStringList entries();
    static QString all() { return QStringLiteral("All"); }
    // Span of an entry in days; 0 for "All" and for any text that is no entry.
    static int days(const QString &entry);
};
