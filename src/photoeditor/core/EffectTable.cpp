#include "EffectTable.h"

#include "ImagingModule.h"
#include "WorkingFormat.h"

#include <QTransform>

#include <cmath>

namespace
{

using Args = QList<double>;
using E = EffectTable::Engine;

// Lengths shrink with a preview's scale but never below what still shows the effect.
double len(double pixels, double scale, double least = 0.3)
{
    return std::max(least, pixels * scale);
}

Args none(const EffectRequest &, QSize, double)
{
    return {};
}

// Crop and Resize take percents; their numbers for the operation are pixels of the picture.
Args cropPercent(const EffectRequest &, QSize size, double)
{
    const double left = 10, top = 15, right = 15, bottom = 30;
    const int x = int(size.width() * left / 100), y = int(size.height() * top / 100);
    const int w = size.width() - x - int(size.width() * right / 100);
    const int h = size.height() - y - int(size.height() * bottom / 100);
    return {double(x), double(y), double(std::max(1, w)), double(std::max(1, h))};
}

Args resizePercent(const EffectRequest &, QSize size, double)
{
    return {std::max(1.0, std::round(size.width() * 0.30)),
            std::max(1.0, std::round(size.height() * 0.40))};
}

QImage cropped(const QImage &picture, const Args &a)
{
    return picture.copy(int(a.value(0)), int(a.value(1)), int(a.value(2)), int(a.value(3)));
}

QImage resized(const QImage &picture, const Args &a)
{
    const QSize size(std::max(1, int(std::lround(a.value(0)))),
                     std::max(1, int(std::lround(a.value(1)))));
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage flipped(const QImage &picture, const Args &)
{
    return picture.mirrored(false, true);
}

QImage mirrored(const QImage &picture, const Args &)
{
    return picture.mirrored(true, false);
}

QImage quarterTurn(const QImage &picture, const Args &)
{
    return picture.transformed(QTransform().rotate(90));
}

// clang-format off
const QList<EffectTable::Entry> table = {
    // Effects window: values[0] is the slider's strength.
    {Effect::Negative, "Negative", E::Magick, MagickOp::Negate, {},
     "every colour replaced by its opposite", none, nullptr},
    {Effect::Solarize, "Solarize", E::Magick, MagickOp::Solarize, {1, 100, 50, "%"},
     "threshold in percent of full intensity; tones above it are inverted",
     [](const EffectRequest &r, QSize, double) { return Args{double(r.value(0))}; }, nullptr},
    {Effect::Blur, "Blur", E::Magick, MagickOp::Blur, {1, 20, 3, "px"},
     "Gaussian sigma in pixels; ImageMagick chooses the radius",
     [](const EffectRequest &r, QSize, double s) { return Args{0, len(r.value(0), s)}; }, nullptr},
    {Effect::Emboss, "Emboss", E::Magick, MagickOp::Emboss, {1, 10, 2, "px"},
     "sigma in pixels of the relief; ImageMagick chooses the radius",
     [](const EffectRequest &r, QSize, double s) { return Args{0, len(r.value(0), s)}; }, nullptr},
    {Effect::Ripple, "Ripple", E::Magick, MagickOp::Wave, {1, 50, 10, "px"},
     "wave amplitude in pixels, wavelength eight times it; cropped back to the picture's size",
     [](const EffectRequest &r, QSize, double s) {
         return Args{len(r.value(0), s, 1), len(8.0 * r.value(0), s, 4)}; }, nullptr},
    {Effect::Parabolic, "Parabolic", E::Magick, MagickOp::Implode, {1, 100, 50, "%"},
     "bulge: implode by minus the strength in hundredths (the middle pushed outwards)",
     [](const EffectRequest &r, QSize, double) { return Args{-r.value(0) / 100.0}; }, nullptr},
    {Effect::Pinch, "Pinch", E::Magick, MagickOp::Implode, {1, 100, 50, "%"},
     "implode by the strength in hundredths (the middle pulled inwards)",
     [](const EffectRequest &r, QSize, double) { return Args{r.value(0) / 100.0}; }, nullptr},
    {Effect::PSize, "PSize", E::Magick, MagickOp::Pixelate, {2, 64, 8, "px"},
     "pixelate: blocks of this many pixels a side",
     [](const EffectRequest &r, QSize, double s) { return Args{len(r.value(0), s, 1)}; }, nullptr},
    {Effect::Soften, "Soften", E::Magick, MagickOp::Blur, {1, 20, 8, ""},
     "a gentle blur: Gaussian sigma in tenths of a pixel",
     [](const EffectRequest &r, QSize, double s) { return Args{0, len(r.value(0) / 10.0, s, 0.1)}; },
     nullptr},
    {Effect::Swirl, "Swirl", E::Magick, MagickOp::Swirl, {-360, 360, 180, "\u00B0"},
     "degrees of turn at the centre, fading to none at the edge",
     [](const EffectRequest &r, QSize, double) { return Args{double(r.value(0))}; }, nullptr},
    {Effect::Blend, "Blend", E::Magick, MagickOp::Colorize, {1, 100, 30, "%"},
     "percent of the brush colour blended into every pixel",
     [](const EffectRequest &r, QSize, double) { return Args{double(r.value(0))}; }, nullptr},
    {Effect::Noise, "Noise", E::Magick, MagickOp::AddNoise, {1, 25, 5, ""},
     "Gaussian noise; attenuation is the strength in fifths (5 is ImageMagick's default)",
     [](const EffectRequest &r, QSize, double) { return Args{r.value(0) / 5.0}; }, nullptr},
    {Effect::Rotate, "Rotate", E::Magick, MagickOp::Rotate, {-180, 180, 90, "\u00B0"},
     "degrees clockwise; the canvas grows to hold the corners, which are filled white",
     [](const EffectRequest &r, QSize, double) { return Args{double(r.value(0))}; }, nullptr},

    // Fixed numbers.
    {Effect::Twist, "Twist", E::Magick, MagickOp::Swirl, {},
     "Twist 4, 3: a swirl of 4 quarter turns divided by 3, that is 120\u00B0",
     [](const EffectRequest &, QSize, double) { return Args{4 * 90.0 / 3}; }, nullptr},
    {Effect::Matrix, "Matrix", E::Magick, MagickOp::Convolve, {},
     "Matrix 1, 1, 1: the middle row of a 3 \u00D7 3 kernel whose other rows are 0, a "
     "horizontal smear over three pixels",
     [](const EffectRequest &, QSize, double) { return Args{0, 0, 0, 1, 1, 1, 0, 0, 0}; }, nullptr},
    {Effect::Tile, "Tile", E::Magick, MagickOp::Texture, {},
     "Tile 640, 480: a 640 \u00D7 480 picture filled from its top-left corner with copies of "
     "the picture shrunk to fit 320 \u00D7 240",
     [](const EffectRequest &, QSize, double s) {
         return Args{len(640, s, 2), len(480, s, 2), len(320, s, 1), len(240, s, 1)}; },
     nullptr},
    {Effect::SoftenFixed, "Soften", E::Magick, MagickOp::Convolve, {},
     "the three values 1, 2, 4 weight the corners, edges and centre of a 3 \u00D7 3 kernel: a "
     "light smoothing",
     [](const EffectRequest &, QSize, double) { return Args{1, 2, 1, 2, 4, 2, 1, 2, 1}; }, nullptr},
    {Effect::Crop, "Crop", E::Qt, MagickOp::Crop, {},
     "Crop 10, 15, 15, 30: percent of the size trimmed from the left, top, right and bottom",
     cropPercent, cropped},
    {Effect::Resize, "Resize", E::Qt, MagickOp::Resize, {},
     "Resize 30, 40: to 30 % of the width and 40 % of the height (the proportions change)",
     resizePercent, resized},
    {Effect::Flip, "Flip", E::Qt, MagickOp::Flip, {}, "top to bottom", none, flipped},
    {Effect::Mirror, "Mirror", E::Qt, MagickOp::Flop, {}, "left to right", none, mirrored},
    {Effect::Rotate90, "Rotate 90", E::Qt, MagickOp::Rotate, {}, "a quarter turn clockwise",
     [](const EffectRequest &, QSize, double) { return Args{90}; }, quarterTurn},

    // One slider step each.
    {Effect::Brighten, "Brightness +20", E::Magick, MagickOp::BrightnessContrast, {},
     "brightness +20 of ImageMagick's -100 to 100",
     [](const EffectRequest &, QSize, double) { return Args{20, 0}; }, nullptr},
    {Effect::Darken, "Brightness -20", E::Magick, MagickOp::BrightnessContrast, {},
     "brightness -20 of ImageMagick's -100 to 100",
     [](const EffectRequest &, QSize, double) { return Args{-20, 0}; }, nullptr},
    {Effect::MoreContrast, "Contrast +20", E::Magick, MagickOp::BrightnessContrast, {},
     "contrast +20 of ImageMagick's -100 to 100",
     [](const EffectRequest &, QSize, double) { return Args{0, 20}; }, nullptr},
    {Effect::LessContrast, "Contrast -20", E::Magick, MagickOp::BrightnessContrast, {},
     "contrast -20 of ImageMagick's -100 to 100",
     [](const EffectRequest &, QSize, double) { return Args{0, -20}; }, nullptr},
    {Effect::SharpenStep, "Sharpen", E::Magick, MagickOp::Sharpen, {},
     "sharpen by 1: sigma 1 pixel, radius chosen by ImageMagick",
     [](const EffectRequest &, QSize, double s) { return Args{0, len(1, s)}; }, nullptr},
    {Effect::SoftenStep, "Soften", E::Magick, MagickOp::Blur, {},
     "soften by 1: Gaussian sigma 1 pixel, radius chosen by ImageMagick",
     [](const EffectRequest &, QSize, double s) { return Args{0, len(1, s)}; }, nullptr},

    // Given numbers.
    {Effect::ResizeTo, "Resize to", E::Qt, MagickOp::Resize, {},
     "to the width and height given, in pixels",
     [](const EffectRequest &r, QSize, double s) {
         return Args{len(r.value(0), s, 1), len(r.value(1), s, 1)}; }, resized},
    {Effect::HueSaturation, "Colour", E::Magick, MagickOp::Modulate, {},
     "brightness, saturation and hue in percent; 100 leaves each as it is",
     [](const EffectRequest &r, QSize, double) {
         return Args{double(r.value(0)), double(r.value(1)), double(r.value(2))}; }, nullptr},
    {Effect::Grayscale, "Grayscale", E::Magick, MagickOp::Grayscale, {},
     "shades of grey by luminance", none, nullptr},
    {Effect::Sepia, "Sepia", E::Magick, MagickOp::Sepia, {},
     "sepia tone with ImageMagick's threshold of 80 %",
     [](const EffectRequest &, QSize, double) { return Args{80}; }, nullptr},
};
// clang-format on

} // namespace

const QList<EffectTable::Entry> &EffectTable::entries()
{
    return table;
}

const EffectTable::Entry &EffectTable::entry(Effect effect)
{
    for (const Entry &e : table) {
        if (e.effect == effect)
            return e;
    }
    Q_UNREACHABLE();
}

std::optional<Effect> EffectTable::byName(const QString &name)
{
    for (const Entry &e : table) {
        if (e.name == name)
            return e.effect;
    }
    return std::nullopt;
}

EffectRequest EffectTable::request(Effect effect, const QColor &color)
{
    const Entry &e = entry(effect);
    EffectRequest r{effect, {}, color};
    if (e.strength.maximum > e.strength.minimum)
        r.values = {e.strength.initial};
    return r;
}

MagickCall EffectTable::call(const EffectRequest &request, QSize size, double scale)
{
    const Entry &e = entry(request.effect);
    MagickCall call{e.op, e.args(request, size, scale), request.color};
    if (e.op == MagickOp::Rotate)
        call.color = Qt::white;
    return call;
}

bool EffectTable::apply(const QImage &picture, const EffectRequest &request, QImage *result,
                        QString *error, const ImagingEngine::Cancelled &cancelled, double scale)
{
    const Entry &e = entry(request.effect);
    const QImage working = toWorkingFormat(picture);
    if (e.engine == Engine::Qt) {
        *result = toWorkingFormat(e.qt(working, e.args(request, working.size(), scale)));
        return !result->isNull();
    }
    ImagingEngine *engine = ImagingModule::engine();
    if (!engine) {
        *error = ImagingModule::unavailableText();
        return false;
    }
    QString why;
    if (!engine->apply(working, call(request, working.size(), scale), result, cancelled, &why)) {
        *error = why;
        return false;
    }
    return true;
}
