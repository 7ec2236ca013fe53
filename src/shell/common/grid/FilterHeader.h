#pragma once

#include <QHeaderView>
#include <QPointer>

// A horizontal header with a band under the captions: the grid's filter row. Widgets placed in
// the band (placeOver) follow their column when columns are resized or scrolled.
class FilterHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit FilterHeader(QWidget *parent = nullptr);

    // Height of the filter row in pixels; 0 for none.
    void setBandHeight(int height);
    int bandHeight() const { return m_bandHeight; }
    // The band's cell under a column, in the coordinates of viewport().
    QRect bandRect(int logicalIndex) const;
    // Puts widget into the band over the column (it becomes a child of viewport()); a hidden or
    // missing column hides it. Call again after a layout change, or let placeAll() do it.
    void placeOver(QWidget *widget, int logicalIndex);
    // Places again every widget given to placeOver().
    void placeAll();

    QSize sizeHint() const override;

Q_SIGNALS:
    // The filter row's widgets were placed again (after a resize, move or scroll).
    void bandPlaced();

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int m_bandHeight = 0;
    QList<QPair<QPointer<QWidget>, int>> m_placed;
};
