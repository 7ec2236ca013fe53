#include "KeywordDelegate.h"

#include <QComboBox>
#include <QTableWidget>

KeywordDelegate::KeywordDelegate(const QStringList &keywords, QObject *parent)
    : QStyledItemDelegate(parent), m_keywords(keywords)
{
}

QWidget *KeywordDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                       const QModelIndex &) const
{
    auto *box = new QComboBox(parent);
    box->setEditable(true);
    box->addItems(m_keywords);
    return box;
}

void KeywordDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *box = static_cast<QComboBox *>(editor);
    box->setCurrentText(index.data(Qt::EditRole).toString());
}

void KeywordDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                   const QModelIndex &index) const
{
    model->setData(index, static_cast<QComboBox *>(editor)->currentText(), Qt::EditRole);
}

QStringList KeywordDelegate::cells(const QTableWidget &grid)
{
    QStringList cells;
    for (int row = 0; row < grid.rowCount(); ++row) {
        const QTableWidgetItem *item = grid.item(row, 0);
        cells << (item ? item->text() : QString());
    }
    return cells;
}

void KeywordDelegate::fill(QTableWidget &grid, const QStringList &keywords, int rows)
{
    const QSignalBlocker quiet(&grid);
    grid.clearContents();
    grid.setRowCount(std::max<int>(rows, int(keywords.size()) + 1));
    for (int row = 0; row < keywords.size(); ++row)
        grid.setItem(row, 0, new QTableWidgetItem(keywords[row]));
}
