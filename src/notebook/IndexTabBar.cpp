#include "IndexTabBar.h"

#include <QStyleOptionTab>
#include <QStylePainter>

IndexTabBar::IndexTabBar(QWidget *parent) : QTabBar(parent)
{
    setShape(QTabBar::RoundedWest);
    setExpanding(false);
    setDrawBase(false);
}

QSize IndexTabBar::tabSizeHint(int index) const
{
    // The west shape measures a tab turned on its side; the caption is written across.
    QSize size = QTabBar::tabSizeHint(index);
    size.transpose();
    const int height = fontMetrics().height() + 6;
    return {std::max(size.width(), fontMetrics().horizontalAdvance(QStringLiteral("All")) + 16),
            height};
}

void IndexTabBar::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionTab option;
    for (int i = 0; i < count(); ++i) {
        initStyleOption(&option, i);
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        // The label is drawn as for a tab lying flat, in a rectangle turned back upright.
        painter.save();
        QSize size = option.rect.size();
        size.transpose();
        QRect label(QPoint(), size);
        label.moveCenter(option.rect.center());
        option.rect = label;
        const QPoint centre = tabRect(i).center();
        painter.translate(centre);
        painter.rotate(90);
        painter.translate(-centre);
        painter.drawControl(QStyle::CE_TabBarTabLabel, option);
        painter.restore();
    }
}
