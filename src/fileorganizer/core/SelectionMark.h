#pragma once

#include <QColor>

// The mark of a selected file-grid row: its cells' background colour value 8AC2E1 hexadecimal.
// The value is a Windows colour value (blue 8A, green C2, red E1), so the colour is
// RGB(E1, C2, 8A). A row counts as selected while its last cell carries it.
class SelectionMark
{
public:
    static QColor color() { return QColor(0xE1, 0xC2, 0x8A); }
    static bool isMark(const QColor &color)
    {
        return color.isValid() && color.rgb() == SelectionMark::color().rgb();
    }
};
