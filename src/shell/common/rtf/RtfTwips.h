#pragma once

#include <QtGlobal>

#include <algorithm>

// RTF lengths are twips (1/1440 inch); the document measures in pixels at 96 dots per inch.
namespace RtfTwips
{

// Lengths beyond this are damage, not layout: they are cut to it.
constexpr int Max = 31680 * 4;
constexpr qreal PerPixel = 15.0;

inline qreal toPixels(int twips)
{
    return std::clamp(twips, -Max, Max) / PerPixel;
}

} // namespace RtfTwips
