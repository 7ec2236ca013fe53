#pragma once

#include <QImage>

// The two formats the editor keeps pictures in: Format_ARGB32 when the picture has
// transparency, Format_RGB32 otherwise. Drawing, the view and the imaging module all rely on it.
inline QImage toWorkingFormat(const QImage &image)
{
    const QImage::Format wanted =
        image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    return image.format() == wanted ? image : image.convertToFormat(wanted);
}
