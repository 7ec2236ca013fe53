#include "DateRanges.h"

#include <array>
#include <utility>

namespace
{

// "Last 3 Month" spans 90 days: three months of thirty days, as "Last 1 Month" is 30.
const std::array<std::pair<const char *, int>, 8> Ranges = {{
    {"All", 0},
    {"Last During 1 Day", 1},
    {"Last 1 Week", 7},
    {"Last 1 Month", 30},
    {"Last 2 Month", 60},
    {"Last 3 Month", 90},
    {"Last 6 Month", 180},
    {"Last 1 Year", 365},
}};

} // namespace

QStringList DateRanges::entries()
{
    QStringList list;
    for (const auto &range : Ranges)
        list.append(QString::fromLatin1(range.first));
    return list;
}

int DateRanges::days(const QString &entry)
{
    for (const auto &range : Ranges) {
        if (entry == QLatin1String(range.first))
            return range.second;
    }
    return 0;
}
