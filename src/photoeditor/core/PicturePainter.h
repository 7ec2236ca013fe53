#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

// The drawing tools' primitives on the picture itself (picture pixels, not view pixels). Each
// returns the part of the picture it changed, for redrawing; pen styles and draw modes are the
// values of DrawStyle.
class PicturePainter
{
public:
    struct Pen {
        QColor color = Qt::black;
        int width = 1;
        int style = 1; // DrawStyle pen style value ("Solid")
        int mode = 13; // DrawStyle draw mode value ("Copy Pen")
    };

    static QRect line(QImage &picture, QPoint from, QPoint to, const Pen &pen);
    // The ellipse inside the rectangle whose corners are from and to; not filled.
    static QRect ellipse(QImage &picture, QPoint from, QPoint to, const Pen &pen);
    // Wipes a stroke: white on opaque pictures, transparent where the picture has transparency.
    static QRect erase(QImage &picture, QPoint from, QPoint to, int width);
    // text with its top-left corner at at.
    static QRect text(QImage &picture, QPoint at, const QString &text, const QFont &font,
                      const QColor &color);
    // pasted drawn over the picture with its top-left corner at at.
    static QRect paste(QImage &picture, const QImage &pasted, QPoint at);
};
