#include "ExtensionList.h"

ExtensionList::ExtensionList(const QString &category)
    : m_items{QStringLiteral("*.*")}, m_seen{QStringLiteral("*.*")}
{
    const QString trimmed = category.trimmed();
    if (trimmed != QLatin1String("All"))
        m_category = trimmed;
}

void ExtensionList::add(const QString &ext, const QString &group)
{
    if (!m_category.isEmpty() && group != m_category)
        return;
    // An empty extension makes "*." + "*", the entry that is already first.
    const QString item =
        QStringLiteral("*.") + (ext.isEmpty() ? QStringLiteral("*") : ext.toUpper());
    if (m_seen.contains(item))
        return;
    m_seen.insert(item);
    m_items.append(item);
}
