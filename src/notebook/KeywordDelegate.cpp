#include "KeywordDelegate.h"

#include <QComboBox>

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
