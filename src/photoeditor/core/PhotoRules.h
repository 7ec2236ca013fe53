#pragma once

#include "Effect.h"

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

// The photo editor's small rules: sliders, zoom and the status text.
namespace PhotoRules
{

enum class Slider { Bright, Contrast, Sharpen };

// A slider move is one step whatever its size: down from the previous value is one step down,
// anything else one step up (brightness and contrast by 20, sharpness by 1).
Effect sliderStep(Slider slider, int previous, int now);

// HSZoom: 0 fits the picture to the view; 1 is 100 %; above 1 the value itself is the factor;
// -1, -2 and -3 are 75, 50 and 25 %. The label shows the percent; fitting leaves it unchanged.
struct Zoom {
    bool fit = false;
    double factor = 1.0;
    QString label; // null when unchanged
};
Zoom zoomOf(int sliderValue);
constexpr int ZoomMinimum = -3;
constexpr int ZoomMaximum = 8;

// The factor that shows picture whole inside area, never enlarged beyond 100 %.
double fitFactor(QSize picture, QSize area);

// "XY: 12, 34  RGB: 255, 128, 0"; without a colour (outside the picture) only the position.
QString statusText(QPoint at, const std::optional<QColor> &color);

// Width and height from "640x480", "640 480" or "640 x 480", or a percent of current ("50%");
// none for anything else or a size outside 1 to 16000 pixels a side.
std::optional<QSize> parseSize(const QString &text, QSize current);

} // namespace PhotoRules
