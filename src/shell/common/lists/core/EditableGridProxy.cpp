#include "EditableGridProxy.h"

#include "KeyedGridModel.h"

EditableGridProxy::EditableGridProxy(KeyedGridModel *grid, QObject *parent)
    : QIdentityProxyModel(parent), m_grid(grid)
{
    setSourceModel(grid);
}

Qt::ItemFlags EditableGridProxy::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QIdentityProxyModel::flags(index);
    if (m_editable && index.isValid() && index.column() >= m_fixedColumns)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool EditableGridProxy::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int row = m_grid->gridRow(mapToSource(index));
    if (row < 0)
        return false;
    const QString text = value.toString();
    if (m_grid->textAt(row, index.column()) == text)
        return true;
    m_grid->setText(row, index.column(), text);
    Q_EMIT cellEdited(row, index.column());
    return true;
}
