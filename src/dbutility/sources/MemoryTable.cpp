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
    return slot >= 0 && slot < slotCount();
}

QVariant MemoryTable::value(qint64 slot, int column) const
{
    if (slot < 0 || slot >= slotCount())
        return {};
    const QVariantList &row = m_rows.at(slot);
    return column >= 0 && column < row.size() ? row.at(column) : QVariant();
}

QString MemoryTable::loadError() const
{
    load();
    return m_loadError;
}
