#pragma once

#include <QByteArrayView>
#include <QString>

// Fast conversions between milliseconds since the epoch and the stores' canonical local date
// text "yyyy-MM-dd HH:mm:ss" (the same text as JetSql::canonicalDate), for passes over many
// thousands of catalogue rows.
class LocalTime
{
public:
    static QString canonicalText(qint64 msecsSinceEpoch);
    // The same text as 19 Latin-1 characters into out; false for a year outside 0..9999.
    static bool canonicalText(qint64 msecsSinceEpoch, char out[19]);
    // Milliseconds of a stored date text; fallback when the text is empty or not a date.
    static qint64 msecsOfText(const QString &text, qint64 fallback);
    // The same for the UTF-8 text as the store holds it.
    static qint64 msecsOfText(QByteArrayView text, qint64 fallback);
};
