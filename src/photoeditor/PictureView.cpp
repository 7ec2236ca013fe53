#include "PictureView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRubberBand>

#include <cmath>

PictureView::PictureView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Xpress1"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_band = new QRubberBand(QRubberBand::Rectangle, this);
    m_band->hide();
}

void PictureView::setPicture(const QImage *picture)
{
    m_picture = picture;
    pictureReplaced();
}

void PictureView::pictureReplaced()
{
    rebuildScaled();
    updateSize();
    setSelection({});
    update();
}

void PictureView::pictureChanged(const QRect &area)
{
    if (!m_picture || area.isEmpty())
        return;
    if (!m_scaled.isNull()) {
        // Rescale only the part drawn on, with a margin for the smoothing.
        const QRect source = area.adjusted(-2, -2, 2, 2) & m_picture->rect();
        const QRect target = toView(source);
        QPainter painter(&m_scaled);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(target, *m_picture, source);
    }
    update(toView(area).adjusted(-2, -2, 2, 2));
}

void PictureView::setZoom(double factor)
{
    if (factor <= 0 || qFuzzyCompare(factor, m_zoom))
        return;
    m_zoom = factor;
    rebuildScaled();
    updateSize();
    setSelection(m_selection);
    update();
}

void PictureView::setSpinAngle(int degrees)
{
    m_spin = degrees;
    update();
}

QPoint PictureView::toPicture(QPoint viewPoint) const
{
    return QPoint(int(std::floor(viewPoint.x() / m_zoom)), int(std::floor(viewPoint.y() / m_zoom)));
}

QRect PictureView::toView(const QRect &pictureRect) const
{
    const int left = int(std::floor(pictureRect.left() * m_zoom));
    const int top = int(std::floor(pictureRect.top() * m_zoom));
    const int right = int(std::ceil((pictureRect.right() + 1) * m_zoom));
    const int bottom = int(std::ceil((pictureRect.bottom() + 1) * m_zoom));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void PictureView::setSelection(const QRect &pictureRect)
{
    m_selection = m_picture ? pictureRect.normalized() & m_picture->rect() : QRect();
    if (m_selection.isEmpty()) {
        m_band->hide();
        return;
    }
    m_band->setGeometry(toView(m_selection));
    m_band->show();
}

void PictureView::rebuildScaled()
{
    m_scaled = QImage();
    if (m_picture && !m_picture->isNull() && m_zoom < 1.0) {
        const QSize size(std::max(1, int(std::lround(m_picture->width() * m_zoom))),
                         std::max(1, int(std::lround(m_picture->height() * m_zoom))));
        m_scaled = m_picture->scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
}

void PictureView::updateSize()
{
    if (!m_picture || m_picture->isNull()) {
        setFixedSize(1, 1);
        return;
    }
    setFixedSize(std::max(1, int(std::lround(m_picture->width() * m_zoom))),
                 std::max(1, int(std::lround(m_picture->height() * m_zoom))));
}

void PictureView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().dark());
    if (!m_picture || m_picture->isNull())
        return;
    if (m_spin != 0) {
        // A turn shows the whole picture; the spin is brief, exactness does not matter.
        painter.translate(width() / 2.0, height() / 2.0);
        painter.rotate(m_spin);
        painter.translate(-width() / 2.0, -height() / 2.0);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_scaled.isNull() ? *m_picture : m_scaled);
    } else if (!m_scaled.isNull()) {
        painter.drawImage(event->rect(), m_scaled, event->rect());
    } else if (qFuzzyCompare(m_zoom, 1.0)) {
        painter.drawImage(event->rect(), *m_picture, event->rect());
    } else {
        // Enlarged: only the exposed part, pixels kept square and sharp.
        const QRect source =
            QRect(toPicture(event->rect().topLeft()), toPicture(event->rect().bottomRight())) &
            m_picture->rect();
        painter.drawImage(toView(source), *m_picture, source);
    }
}

void PictureView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT pressed(toPicture(event->position().toPoint()));
}

void PictureView::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT moved(toPicture(event->position().toPoint()), event->buttons() & Qt::LeftButton);
}

void PictureView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT released(toPicture(event->position().toPoint()));
}
