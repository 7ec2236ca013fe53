#pragma once

#include "Effect.h"

#include <QDialog>
#include <QImage>

class PreviewPane;
class QComboBox;
class QSlider;

// The colour-effect window, handed the picture and its file name (shown in the caption): hue,
// saturation and brightness, grey, sepia, or the brush colour blended in, with a live preview.
// Accepting leaves the editor to apply request() to the whole picture.
class ColorEffectDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Choice { HueSaturation, Grayscale, Sepia, Blend };

    ColorEffectDialog(const QImage &picture, const QString &fileName, const QColor &brush,
                      Choice first, QWidget *parent = nullptr);

    EffectRequest request() const;
    PreviewPane *preview() const { return m_preview; }

private:
    QSlider *slider(const QString &name, int minimum, int maximum, int value);
    void refresh();

    QColor m_brush;
    QComboBox *m_choice = nullptr;   // cboColorEffect
    QSlider *m_brightness = nullptr; // sldBrightness
    QSlider *m_saturation = nullptr; // sldSaturation
    QSlider *m_hue = nullptr;        // sldHue
    QSlider *m_blend = nullptr;      // sldBlend
    PreviewPane *m_preview = nullptr;
};
