#pragma once

#include <QImage>
#include <QWidget>

class QRubberBand;

// The picture as the user sees it, where the imaging control sat (object name Xpress1): drawn
// at the zoom factor inside the scroll area that holds it, turned by the spin timer, with the
// rubber band of a selection. Mouse positions are reported in picture pixels.
//
// The view does not own the picture: it draws the document's image through a pointer, so
// drawing in place never copies the pixels. After the picture is replaced call
// pictureReplaced(); after part of it is drawn on, pictureChanged().
class PictureView : public QWidget
{
    Q_OBJECT
public:
    explicit PictureView(QWidget *parent = nullptr);

    void setPicture(const QImage *picture);
    void pictureReplaced();
    void pictureChanged(const QRect &area);

    // Picture pixels per view pixel is 1 / factor; the view takes the zoomed picture's size.
    void setZoom(double factor);
    double zoom() const { return m_zoom; }
    // The spin timer's turn, in degrees clockwise around the view's centre; 0 for none.
    void setSpinAngle(int degrees);
    int spinAngle() const { return m_spin; }

    QPoint toPicture(QPoint viewPoint) const;
    QRect toView(const QRect &pictureRect) const;

    // The selection, in picture pixels; empty for none.
    void setSelection(const QRect &pictureRect);
    QRect selection() const { return m_selection; }

Q_SIGNALS:
    // Mouse events over the picture, in picture pixels (outside it when the view is larger).
    void pressed(QPoint at);
    void moved(QPoint at, bool buttonDown);
    void released(QPoint at);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void rebuildScaled();
    void updateSize();

    const QImage *m_picture = nullptr;
    QImage m_scaled; // the picture at the zoom factor, kept when the factor is below 1
    double m_zoom = 1.0;
    int m_spin = 0;
    QRect m_selection;
    QRubberBand *m_band = nullptr;
};
