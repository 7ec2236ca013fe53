#include "LocalTime.h"

#include "JetSql.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <ctime>

#ifdef Q_OS_UNIX
namespace
{

// The start of a local hour, as mktime gives it. mktime reads the time zone again on every
// call (a file system check when TZ is unset) and costs microseconds; timegm and localtime_r
// do not: the hour is taken as UTC and moved by the local offset found there, twice, so that
// an hour just past a change of offset gets the offset of its own side.
time_t localHourStart(int year, int month, int day, int hour)
{
    struct tm fields = {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    const time_t asUtc = timegm(&fields);
    if (asUtc == time_t(-1))
        return asUtc;
    time_t guess = asUtc;
    for (int i = 0; i < 2; ++i) {
        struct tm local;
        if (!localtime_r(&guess, &local))
            return time_t(-1);
        guess = asUtc - local.tm_gmtoff;
    }
    return guess;
}

} // namespace
#endif

bool LocalTime::canonicalText(qint64 msecsSinceEpoch, char out[19])
{
#ifdef Q_OS_UNIX
    const time_t seconds =
        time_t(msecsSinceEpoch >= 0 ? msecsSinceEpoch / 1000 : (msecsSinceEpoch - 999) / 1000);
    struct tm local;
    if (!localtime_r(&seconds, &local))
        return false;
    const int year = local.tm_year + 1900;
    const int month = local.tm_mon + 1;
    const int day = local.tm_mday;
    const int hour = local.tm_hour;
    const int minute = local.tm_min;
    const int second = local.tm_sec;
#else
    const QDateTime value = QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch);
    const int year = value.date().year();
    const int month = value.date().month();
    const int day = value.date().day();
    const int hour = value.time().hour();
    const int minute = value.time().minute();
    const int second = value.time().second();
#endif
    if (year < 0 || year > 9999)
        return false;
    auto put = [out](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            out[at + i] = char('0' + value % 10);
    };
    put(0, year, 4);
    out[4] = out[7] = '-';
    put(5, month, 2);
    put(8, day, 2);
    out[10] = ' ';
    put(11, hour, 2);
    out[13] = out[16] = ':';
    put(14, minute, 2);
    put(17, second, 2);
    return true;
}

QString LocalTime::canonicalText(qint64 msecsSinceEpoch)
{
    char text[19];
    if (canonicalText(msecsSinceEpoch, text))
        return QString::fromLatin1(text, 19);
    return JetSql::canonicalDate(QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch));
}

qint64 LocalTime::msecsOfText(QByteArrayView text, qint64 fallback)
{
    if (text.isEmpty())
        return fallback;
#ifdef Q_OS_UNIX
    // The canonical form is read digit by digit; anything else goes the slow way.
    static const char shape[] = "dddd-dd-dd dd:dd:dd";
    bool canonical = text.size() == 19;
    for (int i = 0; canonical && i < 19; ++i) {
        const char c = text[i];
        canonical = shape[i] == 'd' ? (c >= '0' && c <= '9') : c == shape[i];
    }
    auto number = [&text](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    canonical = canonical && QDate::isValid(number(0, 4), number(5, 2), number(8, 2)) &&
                QTime::isValid(number(11, 2), number(14, 2), number(17, 2));
    if (canonical) {
        // Offsets change on whole hours, so the start of the last hour asked for is remembered.
        thread_local int lastHourKey = -1;
        thread_local qint64 lastHourStart = 0;
        const int hourKey =
            ((number(0, 4) * 13 + number(5, 2)) * 32 + number(8, 2)) * 24 + number(11, 2);
        if (hourKey != lastHourKey) {
            const time_t seconds =
                localHourStart(number(0, 4), number(5, 2), number(8, 2), number(11, 2));
            if (seconds == time_t(-1))
                return fallback;
            lastHourKey = hourKey;
            lastHourStart = qint64(seconds) * 1000;
        }
        return lastHourStart + (qint64(number(14, 2)) * 60 + number(17, 2)) * 1000;
    }
#endif
    // The stored text is local wall-clock time.
    const QDateTime wallClock = JetSql::parseDate(QString::fromUtf8(text));
    const QDateTime value(wallClock.date(), wallClock.time());
    return wallClock.isValid() && value.isValid() ? value.toMSecsSinceEpoch() : fallback;
}

qint64 LocalTime::msecsOfText(const QString &text, qint64 fallback)
{
    return msecsOfText(QByteArrayView(text.toUtf8()), fallback);
}
