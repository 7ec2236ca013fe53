#include "DrawStyle.h"

namespace
{

using K = DrawStyle::Kind;
using M = QPainter::CompositionMode;
constexpr M over = QPainter::CompositionMode_SourceOver;

// clang-format off
const QList<DrawStyle::Entry> table = {
    {"Transparent", K::PenStyle, 0, Qt::NoPen, over},
    {"Solid", K::PenStyle, 1, Qt::SolidLine, over},
    {"Dash", K::PenStyle, 2, Qt::DashLine, over},
    {"Dot", K::PenStyle, 3, Qt::DotLine, over},
    {"Dash Dot", K::PenStyle, 4, Qt::DashDotLine, over},
    {"Dash Dot Dot", K::PenStyle, 5, Qt::DashDotDotLine, over},
    {"Blackness", K::DrawMode, 0, Qt::SolidLine, M::RasterOp_ClearDestination},
    {"Copy Pen", K::DrawMode, 13, Qt::SolidLine, over},
    {"Mask Pen", K::DrawMode, 9, Qt::SolidLine, M::RasterOp_SourceAndDestination},
    {"Merge_Pen", K::DrawMode, 15, Qt::SolidLine, M::RasterOp_SourceOrDestination},
    {"Whitness", K::DrawMode, 16, Qt::SolidLine, M::RasterOp_SetDestination},
    {"Inverse Of Mask Pen", K::DrawMode, 8, Qt::SolidLine, M::RasterOp_NotSourceOrNotDestination},
    {"Inverse Of Merge Pen", K::DrawMode, 2, Qt::SolidLine, M::RasterOp_NotSourceAndNotDestination},
    {"Inverse Of Copy Pen", K::DrawMode, 4, Qt::SolidLine, M::RasterOp_NotSource},
    {"Invert", K::DrawMode, 6, Qt::SolidLine, M::RasterOp_NotDestination},
    {"XorPen", K::DrawMode, 7, Qt::SolidLine, M::RasterOp_SourceXorDestination},
};
// clang-format on

} // namespace

const QList<DrawStyle::Entry> &DrawStyle::entries()
{
    return table;
}

const DrawStyle::Entry *DrawStyle::find(Kind kind, int value)
{
    for (const Entry &e : table) {
        if (e.kind == kind && e.value == value)
            return &e;
    }
    return nullptr;
}

const DrawStyle::Entry *DrawStyle::byText(const QString &text)
{
    for (const Entry &e : table) {
        if (e.text == text)
            return &e;
    }
    return nullptr;
}
