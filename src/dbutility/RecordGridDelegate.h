#pragma once

#include "GridLook.h"

#include <QHash>
#include <QStyledItemDelegate>

// Draws the record grid's cells: the grid lines of the chosen line style, fonts that single
// cells carry (bold, italic, underline, toggled on a selected range), and the open or closed
// mark of heading rows. Cell fonts belong to the rows on screen, as they always did: a new
// record source starts without them.
class RecordGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    enum FontFlag { Bold = 1, Italic = 2, Underline = 4 };

    explicit RecordGridDelegate(QObject *parent = nullptr);

    void setLineStyle(GridLook::LineStyle style) { m_style = style; }
    GridLook::LineStyle lineStyle() const { return m_style; }

    // Gives every cell the flag, or takes it from every cell when all of them have it.
    void toggleFont(const QModelIndexList &cells, FontFlag flag);
    int fontFlags(const QModelIndex &index) const;
    void clearFonts() { m_fonts.clear(); }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    void paintHeading(QPainter *painter, const QStyleOptionViewItem &option,
                      const QModelIndex &index, const QRect &firstCell) const;

    GridLook::LineStyle m_style = GridLook::LineStyle::Flat;
    QHash<quint64, int> m_fonts;
};
