#pragma once

#include <QColor>

class QPalette;

// Colours as the favourites and colour schemes store them: OLE colour values, a Windows RGB
// value (WindowsColor) for a colour of its own, or 0x800000nn for system colour nn (5 the
// window, 8 the window text, ...), which follow the desktop's palette.
class OleColor
{
public:
    static constexpr qint64 SystemWindow = 0x80000005;
    static constexpr qint64 SystemWindowText = 0x80000008;

    // The colour to paint with; a system colour is looked up in palette.
    static QColor toColor(qint64 ole, const QPalette &palette);
    // The OLE value of a colour (always a colour of its own).
    static qint64 fromColor(const QColor &color);
    static bool isSystem(qint64 ole) { return (ole & 0x80000000) != 0 && ole > 0; }
};
