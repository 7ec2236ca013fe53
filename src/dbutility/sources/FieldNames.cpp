#include "FieldNames.h"

QString FieldNames::add(const QString &name)
{
    ++m_count;
    const QString base =
        name.trimmed().isEmpty() ? m_emptyPrefix + QString::number(m_count) : name.trimmed();
    QString unique = base;
    QString key = base.toLower();
    if (m_used.contains(key)) {
        int &next = m_nextSuffix[key];
        next = qMax(next, 2);
        do {
            unique = base + QLatin1Char('_') + QString::number(next++);
        } while (m_used.contains(unique.toLower()));
        key = unique.toLower();
    }
    m_used.insert(key);
    return unique;
}
