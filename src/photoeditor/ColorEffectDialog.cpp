#include "ColorEffectDialog.h"

#include "EffectTable.h"
#include "PreviewPane.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

ColorEffectDialog::ColorEffectDialog(const QImage &picture, const QString &fileName,
                                     const QColor &brush, Choice first, QWidget *parent)
    : QDialog(parent), m_brush(brush)
{
    setObjectName(QStringLiteral("frmColorEffect"));
    const QString name = QFileInfo(fileName).fileName();
    setWindowTitle(name.isEmpty() ? tr("Colour Effects") : tr("Colour Effects - %1").arg(name));

    m_choice = new QComboBox(this);
    m_choice->setObjectName(QStringLiteral("cboColorEffect"));
    m_choice->addItem(tr("Hue, saturation and brightness"), int(Choice::HueSaturation));
    m_choice->addItem(tr("Grayscale"), int(Choice::Grayscale));
    m_choice->addItem(tr("Sepia"), int(Choice::Sepia));
    m_choice->addItem(tr("Blend with the brush colour"), int(Choice::Blend));
    m_brightness = slider(QStringLiteral("sldBrightness"), 0, 200, 100);
    m_saturation = slider(QStringLiteral("sldSaturation"), 0, 200, 100);
    m_hue = slider(QStringLiteral("sldHue"), 0, 200, 100);
    m_blend = slider(QStringLiteral("sldBlend"), 1, 100, 30);
    m_preview = new PreviewPane(picture, this);

    auto *form = new QFormLayout;
    form->addRow(tr("Effect"), m_choice);
    form->addRow(tr("Brightness %"), m_brightness);
    form->addRow(tr("Saturation %"), m_saturation);
    form->addRow(tr("Hue %"), m_hue);
    form->addRow(tr("Blend %"), m_blend);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdApply"));
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Apply"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_preview);
    layout->addWidget(buttons);

    m_choice->setCurrentIndex(m_choice->findData(int(first)));
    connect(m_choice, &QComboBox::currentIndexChanged, this, &ColorEffectDialog::refresh);
    refresh();
}

QSlider *ColorEffectDialog::slider(const QString &name, int minimum, int maximum, int value)
{
    auto *s = new QSlider(Qt::Horizontal, this);
    s->setObjectName(name);
    s->setRange(minimum, maximum);
    s->setValue(value);
    s->setPageStep(10);
    s->setMinimumWidth(240);
    connect(s, &QSlider::valueChanged, this, &ColorEffectDialog::refresh);
    return s;
}

EffectRequest ColorEffectDialog::request() const
{
    switch (Choice(m_choice->currentData().toInt())) {
    case Choice::Grayscale:
        return EffectTable::request(Effect::Grayscale);
    case Choice::Sepia:
        return EffectTable::request(Effect::Sepia);
    case Choice::Blend:
        return {Effect::Blend, {m_blend->value()}, m_brush};
    case Choice::HueSaturation:
        break;
    }
    return {
        Effect::HueSaturation, {m_brightness->value(), m_saturation->value(), m_hue->value()}, {}};
}

void ColorEffectDialog::refresh()
{
    const auto choice = Choice(m_choice->currentData().toInt());
    const bool hsb = choice == Choice::HueSaturation;
    m_brightness->setEnabled(hsb);
    m_saturation->setEnabled(hsb);
    m_hue->setEnabled(hsb);
    m_blend->setEnabled(choice == Choice::Blend);
    m_preview->showPreview(request());
}
