#pragma once

#include <QList>
#include <QPainter>
#include <QString>

// The entries of the drawing tool bar's combo ID_DrawMode: pen styles and draw modes, each with
// the number the editor has always used for it, and the Qt pen style or composition mode that
// draws it.
//
// Draw modes are the classic raster operations, numbered as Windows numbers its ROP2 codes
// ("Copy Pen" 13), except "Blackness", which is 0 here. Qt's raster operations match them bit
// for bit on opaque pictures, with three differences:
// - the raster operations cannot be antialiased, so every mode except "Copy Pen" draws with
//   hard edges;
// - on pictures with transparency Qt applies the operation to the alpha byte too, so "Invert"
//   or "XorPen" can make drawn pixels transparent, where the old modes knew no alpha;
// - "Blackness" and "Whitness" ignore the pen colour, as the old modes did, but Qt still uses
//   the pen's shape and style.
// Pen styles: "Transparent" draws nothing (Qt::NoPen); Qt dashes pens of any width, where the
// old dashed pens turned solid when wider than one pixel.
class DrawStyle
{
public:
    enum class Kind { PenStyle, DrawMode };

    struct Entry {
        QString text;
        Kind kind;
        int value;
        Qt::PenStyle penStyle;          // PenStyle entries
        QPainter::CompositionMode mode; // DrawMode entries
    };

    static const QList<Entry> &entries();
    static const Entry *find(Kind kind, int value);
    static const Entry *byText(const QString &text);

    static constexpr int SolidValue = 1;
    static constexpr int CopyPenValue = 13;
};
