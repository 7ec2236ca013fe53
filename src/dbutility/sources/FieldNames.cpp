#include "FieldNames.h"

QString FieldNames::add(const QString &name)
{
    ++m_count;
    const QString base =
        name.trimmed().isEmpty() ? m_emptyPrefix + QString::number(m_count) : name.trimmed();
    QString unique = base;
    for (int n = 2; m_used.contains(unique.toLower()); ++n)
        unique = base + QLatin1Char('_') + QString::number(n);
    m_used.insert(unique.toLower());
    return unique;
}
