#pragma once

#include "GridLook.h"

#include <QHash>
#include <QStyledItemDelegate>

#include <functional>

// Draws the record grid's cells: the grid lines of the chosen line style, fonts that single
// cells carry (bold, italic, underline, toggled on a selected range), and the open or closed
// mark of heading rows. Cell fonts belong to the rows on screen, as they always did: a new
// record source starts without them. A cell being edited whose column has choices gets them as
// a drop-down list in which any other value can be typed too.
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
    // The choices of a column, asked each time a cell of it is edited.
    void setChoices(std::function<QStringList(int column)> choices)
    {
        m_choices = std::move(choices);
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    void paintHeading(QPainter *painter, const QStyleOptionViewItem &option,
                      const QModelIndex &index, const QRect &firstCell) const;

    GridLook::LineStyle m_style = GridLook::LineStyle::Flat;
    QHash<quint64, int> m_fonts;
    std::function<QStringList(int column)> m_choices;
};
