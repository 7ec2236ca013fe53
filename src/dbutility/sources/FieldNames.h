#pragma once

#include <QHash>
#include <QSet>
#include <QString>

// Names the fields of one table so that SQL can use them: an empty name becomes the prefix
// and the field's number ("F3"), a repeated name (compared without regard to case, as SQL
// compares names) gets "_2", "_3", ...
class FieldNames
{
public:
    explicit FieldNames(const QString &emptyPrefix) : m_emptyPrefix(emptyPrefix) {}

    // The name for the next field.
    QString add(const QString &name);

private:
    QString m_emptyPrefix;
    QSet<QString> m_used;
    // Per base name (lower case), the suffix number to try next: a name repeated thousands of
    // times must not count up from 2 again each time.
    QHash<QString, int> m_nextSuffix;
    int m_count = 0;
};
