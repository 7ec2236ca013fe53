#include "MemoryTable.h"

MemoryTable::MemoryTable(const QString &name, TypePath path, const QList<SourceField> &fields,
                         Loader loader, const QString &readOnlyReason)
    : m_name(name), m_path(path), m_fields(fields), m_readOnlyReason(readOnlyReason),
      m_loader(std::move(loader))
{
}

void MemoryTable::load() const
{
    if (!m_loader)
        return;
    Loader loader = std::move(m_loader);
    m_loader = nullptr;
    if (!loader(&m_rows, &m_loadError))
        m_rows.clear();
}

qint64 MemoryTable::slotCount() const
{
    load();
    return m_rows.size();
}

bool MemoryTable::isLive(qint64 slot) const
{
    return hasSlot(slot);
}

QVariant MemoryTable::value(qint64 slot, int column) const
{
    if (!hasCell(slot, column))
        return {};
    return m_rows.at(slot).value(column);
}

QString MemoryTable::loadError() const
{
    load();
    return m_loadError;
}
