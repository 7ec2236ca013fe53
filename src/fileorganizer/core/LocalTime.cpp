#include "LocalTime.h"

#include "JetSql.h"

#include <QDateTime>

#include <ctime>

QString LocalTime::canonicalText(qint64 msecsSinceEpoch)
{
#ifdef Q_OS_UNIX
    const time_t seconds = time_t(msecsSinceEpoch >= 0 ? msecsSinceEpoch / 1000
                                                       : (msecsSinceEpoch - 999) / 1000);
    struct tm local;
    if (localtime_r(&seconds, &local)) {
        char text[32];
        const int n = snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d",
                               local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                               local.tm_hour, local.tm_min, local.tm_sec);
        return QString::fromLatin1(text, n);
    }
#endif
    return JetSql::canonicalDate(QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch));
}

qint64 LocalTime::msecsOfText(const QString &text, qint64 fallback)
{
    if (text.isEmpty())
        return fallback;
#ifdef Q_OS_UNIX
    // The canonical form is read digit by digit; anything else goes the slow way.
    static const char shape[] = "dddd-dd-dd dd:dd:dd";
    bool canonical = text.size() == 19;
    for (int i = 0; canonical && i < 19; ++i) {
        const QChar c = text[i];
        canonical = shape[i] == 'd' ? c.isDigit() && c.unicode() < 128 : c == QLatin1Char(shape[i]);
    }
    if (canonical) {
        auto number = [&text](int from, int length) {
            int value = 0;
            for (int i = from; i < from + length; ++i)
                value = value * 10 + (text[i].unicode() - '0');
            return value;
        };
        struct tm local = {};
        local.tm_year = number(0, 4) - 1900;
        local.tm_mon = number(5, 2) - 1;
        local.tm_mday = number(8, 2);
        local.tm_hour = number(11, 2);
        local.tm_min = number(14, 2);
        local.tm_sec = number(17, 2);
        local.tm_isdst = -1;
        const time_t seconds = mktime(&local);
        if (seconds != time_t(-1))
            return qint64(seconds) * 1000;
    }
#endif
    const QDateTime value = JetSql::parseDate(text);
    return value.isValid() ? value.toMSecsSinceEpoch() : fallback;
}
