#include "OleColor.h"

#include "WindowsColor.h"

#include <QPalette>

QColor OleColor::toColor(qint64 ole, const QPalette &palette)
{
    if (isSystem(ole)) {
        // The system colours the old grids used, by their numbers.
        switch (ole & 0xFF) {
        case 5:
            return palette.color(QPalette::Base);
        case 8:
            return palette.color(QPalette::Text);
        case 13:
            return palette.color(QPalette::Highlight);
        case 14:
            return palette.color(QPalette::HighlightedText);
        case 15:
            return palette.color(QPalette::Button);
        case 18:
            return palette.color(QPalette::ButtonText);
        case 24:
            return palette.color(QPalette::ToolTipBase);
        default:
            return palette.color(QPalette::Window);
        }
    }
    return WindowsColor::toColor(ole);
}

qint64 OleColor::fromColor(const QColor &color)
{
    return WindowsColor::fromColor(color.toRgb());
}
