#pragma once

#include <QIdentityProxyModel>

class KeyedGridModel;

// Lets a view edit the cells of a keyed grid: the grid itself is read-only to views. Edits go
// through KeyedGridModel::setText(), so they land in the grid's own cells (by grid row, hidden
// rows and all). Only while editable() is on; a column listed as fixed stays read-only (a list
// sheet's heading column).
class EditableGridProxy : public QIdentityProxyModel
{
    Q_OBJECT
public:
    explicit EditableGridProxy(KeyedGridModel *grid, QObject *parent = nullptr);

    KeyedGridModel *grid() const { return m_grid; }
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable) { m_editable = editable; }
    // Columns 0 .. count-1 are headings, never edited.
    void setFixedColumns(int count) { m_fixedColumns = count; }

    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

Q_SIGNALS:
    // A cell was changed by an edit; row is the grid row.
    void cellEdited(int row, int column);

private:
    KeyedGridModel *m_grid;
    bool m_editable = false;
    int m_fixedColumns = 0;
};
