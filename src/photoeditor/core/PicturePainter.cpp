#include "PicturePainter.h"

#include "DrawStyle.h"

#include <QFontMetrics>
#include <QPainter>

namespace
{

QRect changed(const QImage &picture, QPoint from, QPoint to, int width)
{
    const int margin = width / 2 + 2;
    return QRect(from, to).normalized().adjusted(-margin, -margin, margin, margin) & picture.rect();
}

void setUp(QPainter &painter, const PicturePainter::Pen &pen)
{
    const DrawStyle::Entry *style = DrawStyle::find(DrawStyle::Kind::PenStyle, pen.style);
    const DrawStyle::Entry *mode = DrawStyle::find(DrawStyle::Kind::DrawMode, pen.mode);
    const QPainter::CompositionMode composition =
        mode ? mode->mode : QPainter::CompositionMode_SourceOver;
    painter.setPen(QPen(pen.color, std::max(1, pen.width), style ? style->penStyle : Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.setCompositionMode(composition);
    // Raster operations work on whole pixels; smoothing one-pixel lines only blurs them.
    painter.setRenderHint(QPainter::Antialiasing,
                          composition == QPainter::CompositionMode_SourceOver && pen.width > 1);
}

} // namespace

QRect PicturePainter::line(QImage &picture, QPoint from, QPoint to, const Pen &pen)
{
    QPainter painter(&picture);
    setUp(painter, pen);
    if (from == to)
        painter.drawPoint(from);
    else
        painter.drawLine(from, to);
    return changed(picture, from, to, pen.width);
}

QRect PicturePainter::ellipse(QImage &picture, QPoint from, QPoint to, const Pen &pen)
{
    QPainter painter(&picture);
    setUp(painter, pen);
    painter.drawEllipse(QRect(from, to).normalized());
    return changed(picture, from, to, pen.width);
}

QRect PicturePainter::erase(QImage &picture, QPoint from, QPoint to, int width)
{
    QPainter painter(&picture);
    const bool transparent = picture.hasAlphaChannel();
    painter.setCompositionMode(transparent ? QPainter::CompositionMode_Source
                                           : QPainter::CompositionMode_SourceOver);
    painter.setPen(QPen(transparent ? QColor(Qt::transparent) : QColor(Qt::white),
                        std::max(1, width), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (from == to)
        painter.drawPoint(from);
    else
        painter.drawLine(from, to);
    return changed(picture, from, to, width);
}

QRect PicturePainter::text(QImage &picture, QPoint at, const QString &text, const QFont &font,
                           const QColor &color)
{
    if (text.isEmpty())
        return {};
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(color);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRect bounds = painter.fontMetrics().boundingRect(QRect(at, QSize(1 << 20, 1 << 20)),
                                                            Qt::AlignLeft | Qt::AlignTop, text);
    painter.drawText(bounds, Qt::AlignLeft | Qt::AlignTop, text);
    return bounds.adjusted(-2, -2, 2, 2) & picture.rect();
}

QRect PicturePainter::paste(QImage &picture, const QImage &pasted, QPoint at)
{
    QPainter painter(&picture);
    painter.drawImage(at, pasted);
    return QRect(at, pasted.size()) & picture.rect();
}
