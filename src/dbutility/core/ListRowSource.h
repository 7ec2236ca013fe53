#pragma once

#include "GridRowSource.h"

#include <QList>
#include <QStringList>

// Rows already in memory (a query's result) shown by a keyed grid without copying them cell by
// cell into it.
class ListRowSource final : public GridRowSource
{
public:
    explicit ListRowSource(QList<QStringList> rows) : m_rows(std::move(rows)) {}

    int rowCount() const override { return int(m_rows.size()); }
    QString text(int row, int column) const override
    {
        return row >= 0 && row < m_rows.size() ? m_rows.at(row).value(column) : QString();
    }

private:
    QList<QStringList> m_rows;
};
