#pragma once

#include "Effect.h"

#include <QDialog>
#include <QImage>

class PreviewPane;
class QComboBox;
class QLabel;
class QSlider;

// The effects window: the effect's name as its heading (lblEffects), the effect chosen in
// cboEffect, its strength on sldStrength, and a live preview on a scaled-down copy of the
// picture. Accepting leaves the editor to apply request() to the whole picture.
class EffectsDialog : public QDialog
{
    Q_OBJECT
public:
    // heading: an effect's name ("Swirl"); another text shows the first effect under it.
    EffectsDialog(const QImage &picture, const QString &heading, const QColor &brush,
                  QWidget *parent = nullptr);

    EffectRequest request() const;
    PreviewPane *preview() const { return m_preview; }

private:
    void chooseEffect(int index);
    void refresh();

    QColor m_brush;
    QLabel *m_heading = nullptr;   // lblEffects
    QComboBox *m_effect = nullptr; // cboEffect
    QSlider *m_strength = nullptr; // sldStrength
    QLabel *m_value = nullptr;     // lblStrength
    QLabel *m_meaning = nullptr;   // lblMeaning
    PreviewPane *m_preview = nullptr;
};
