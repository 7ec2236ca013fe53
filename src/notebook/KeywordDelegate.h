#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

// The keyword grid's first column: an editable drop-down list of the keyword master list
// (pda_Keyword1), to which any other text may be typed.
class KeywordDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit KeywordDelegate(const QStringList &keywords, QObject *parent = nullptr);

    QStringList keywords() const { return m_keywords; }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

private:
    QStringList m_keywords;
};
