#include "RecordGridDelegate.h"

#include "KeyedGridModel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPainter>

namespace
{

quint64 cellKey(const QModelIndex &index)
{
    return (quint64(quint32(index.row())) << 32) | quint32(index.column());
}

} // namespace

RecordGridDelegate::RecordGridDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void RecordGridDelegate::toggleFont(const QModelIndexList &cells, FontFlag flag)
{
    bool all = !cells.isEmpty();
    for (const QModelIndex &cell : cells)
        all = all && (fontFlags(cell) & flag);
    for (const QModelIndex &cell : cells) {
        const int flags = all ? fontFlags(cell) & ~flag : fontFlags(cell) | flag;
        if (flags == 0)
            m_fonts.remove(cellKey(cell));
        else
            m_fonts.insert(cellKey(cell), flags);
    }
}

QWidget *RecordGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                          const QModelIndex &index) const
{
    const QStringList choices = m_choices ? m_choices(index.column()) : QStringList();
    if (choices.isEmpty())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("cboChoices"));
    // The list offers the choices; a value that is not among them can be typed all the same.
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(choices);
    return box;
}

int RecordGridDelegate::fontFlags(const QModelIndex &index) const
{
    return m_fonts.value(cellKey(index), 0);
}

void RecordGridDelegate::initStyleOption(QStyleOptionViewItem *option,
                                         const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (const int flags = fontFlags(index)) {
        option->font.setBold(option->font.bold() || (flags & Bold));
        option->font.setItalic(flags & Italic);
        option->font.setUnderline(flags & Underline);
    }
    const auto *model = qobject_cast<const KeyedGridModel *>(index.model());
    if (model && index.column() == 0) {
        const int row = model->gridRow(index);
        if (model->isRowHeading(row))
            option->text = (model->isHeadingCollapsed(row) ? QStringLiteral("\u25B8 ")
                                                           : QStringLiteral("\u25BE ")) +
                           option->text;
    }
}

void RecordGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    const auto *model = qobject_cast<const KeyedGridModel *>(index.model());
    const auto *view = qobject_cast<const QAbstractItemView *>(parent());
    if (model && view && model->isRowHeading(model->gridRow(index))) {
        paintHeading(painter, option, index, view->visualRect(index.siblingAtColumn(0)));
        return;
    }
    QStyledItemDelegate::paint(painter, option, index);
    const QRect r = option.rect;
    const QColor mid = option.palette.color(QPalette::Mid);
    painter->save();
    switch (m_style) {
    case GridLook::LineStyle::Insert:
        // Raised cells: light above and left, dark below and right.
        painter->setPen(option.palette.color(QPalette::Light));
        painter->drawLine(r.topLeft(), r.topRight());
        painter->drawLine(r.topLeft(), r.bottomLeft());
        painter->setPen(option.palette.color(QPalette::Dark));
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
        break;
    case GridLook::LineStyle::Excel:
        painter->setPen(QColor(0xD4, 0xD4, 0xD4));
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
        break;
    case GridLook::LineStyle::Explorer:
        painter->setPen(QPen(mid, 1, Qt::DotLine));
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        break;
    default:
        painter->setPen(mid);
        if (GridLook::hasRowLines(m_style))
            painter->drawLine(r.bottomLeft(), r.bottomRight());
        if (GridLook::hasColumnLines(m_style))
            painter->drawLine(r.topRight(), r.bottomRight());
        break;
    }
    painter->restore();
}

void RecordGridDelegate::paintHeading(QPainter *painter, const QStyleOptionViewItem &option,
                                      const QModelIndex &index, const QRect &firstCell) const
{
    // A heading's text runs across the whole row: each cell draws its part of it.
    QStyleOptionViewItem first = option;
    initStyleOption(&first, index.siblingAtColumn(0));
    painter->save();
    painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QBrush>().color().isValid()
                                       ? index.data(Qt::BackgroundRole).value<QBrush>()
                                       : option.palette.brush(QPalette::AlternateBase));
    if (option.state & QStyle::State_HasFocus)
        painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
    painter->setClipRect(option.rect);
    painter->setFont(first.font);
    painter->setPen(option.state & QStyle::State_HasFocus
                        ? option.palette.color(QPalette::HighlightedText)
                        : option.palette.color(QPalette::Text));
    const QRect text(firstCell.left() + 4, option.rect.top(), 100000, option.rect.height());
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, first.text);
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
}
