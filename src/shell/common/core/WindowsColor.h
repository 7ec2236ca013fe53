#pragma once

#include <QColor>

// Colours as the stores keep them: Windows RGB values, red in the low byte (&HBBGGRR).
namespace WindowsColor
{

inline QColor toColor(qint64 value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

inline qint64 fromColor(const QColor &color)
{
    return qint64(color.red()) | (qint64(color.green()) << 8) | (qint64(color.blue()) << 16);
}

} // namespace WindowsColor
