#include "FilterHeader.h"

#include <QPainter>

FilterHeader::FilterHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    connect(this, &QHeaderView::sectionResized, this, &FilterHeader::placeAll);
    connect(this, &QHeaderView::sectionMoved, this, &FilterHeader::placeAll);
    connect(this, &QHeaderView::geometriesChanged, this, &FilterHeader::placeAll);
}

void FilterHeader::setBandHeight(int height)
{
    m_bandHeight = std::max(0, height);
    updateGeometry();
    viewport()->update();
    placeAll();
}

QSize FilterHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(size.height() + m_bandHeight);
    return size;
}

QRect FilterHeader::bandRect(int logicalIndex) const
{
    if (logicalIndex < 0 || logicalIndex >= count() || isSectionHidden(logicalIndex))
        return QRect();
    return QRect(sectionViewportPosition(logicalIndex), height() - m_bandHeight,
                 sectionSize(logicalIndex), m_bandHeight);
}

void FilterHeader::placeOver(QWidget *widget, int logicalIndex)
{
    if (!widget)
        return;
    bool known = false;
    for (auto &placed : m_placed) {
        if (placed.first == widget) {
            placed.second = logicalIndex;
            known = true;
        }
    }
    if (!known)
        m_placed.append({widget, logicalIndex});
    if (widget->parentWidget() != viewport())
        widget->setParent(viewport());
    const QRect rect = bandRect(logicalIndex);
    if (rect.isEmpty() || m_bandHeight == 0) {
        widget->hide();
        return;
    }
    widget->setGeometry(rect);
    widget->show();
}

void FilterHeader::placeAll()
{
    m_placed.removeIf([](const auto &entry) { return entry.first.isNull(); });
    const auto placed = m_placed;
    for (const auto &entry : placed)
        placeOver(entry.first, entry.second);
    Q_EMIT bandPlaced();
}

void FilterHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    // The caption takes the top of the section; the band under it is the filter row.
    QHeaderView::paintSection(painter, rect.adjusted(0, 0, 0, -m_bandHeight), logicalIndex);
    if (m_bandHeight > 0)
        painter->fillRect(
            QRect(rect.left(), rect.bottom() - m_bandHeight + 1, rect.width(), m_bandHeight),
            palette().window());
}

void FilterHeader::resizeEvent(QResizeEvent *event)
{
    QHeaderView::resizeEvent(event);
    placeAll();
}

void FilterHeader::scrollContentsBy(int dx, int dy)
{
    QHeaderView::scrollContentsBy(dx, dy);
    placeAll();
}
