#pragma once

#include <QColor>
#include <QList>
#include <QMetaType>

// Every command that changes the picture's pixels. EffectTable says how each one runs.
enum class Effect {
    // Effects window: one strength each.
    Negative,
    Solarize,
    Blur,
    Emboss,
    Ripple,
    Parabolic,
    Pinch,
    PSize,
    Soften,
    Swirl,
    Blend,
    Noise,
    Rotate,
    // Fixed numbers.
    Twist,
    Matrix,
    Tile,
    SoftenFixed,
    Crop,
    Resize,
    Flip,
    Mirror,
    Rotate90,
    // One step of a slider.
    Brighten,
    Darken,
    MoreContrast,
    LessContrast,
    SharpenStep,
    SoftenStep,
    // Given size, colour window.
    ResizeTo,
    HueSaturation,
    Grayscale,
    Sepia,
};

// One command with its numbers: values[0] is the strength of the effects window's slider;
// ResizeTo takes width and height, HueSaturation brightness, saturation and hue in percent.
// Blend mixes in color.
struct EffectRequest {
    Effect effect = Effect::Negative;
    QList<int> values;
    QColor color;

    int value(int i) const { return i < values.size() ? values.at(i) : 0; }
};

Q_DECLARE_METATYPE(Effect)
