#include "EffectsDialog.h"

#include "EffectTable.h"
#include "PreviewPane.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

EffectsDialog::EffectsDialog(const QImage &picture, const QString &heading, const QColor &brush,
                             QWidget *parent)
    : QDialog(parent), m_brush(brush)
{
    setObjectName(QStringLiteral("frmEffects"));
    setWindowTitle(tr("Effects"));

    m_heading = new QLabel(heading, this);
    m_heading->setObjectName(QStringLiteral("lblEffects"));
    QFont big = m_heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_heading->setFont(big);

    m_effect = new QComboBox(this);
    m_effect->setObjectName(QStringLiteral("cboEffect"));
    for (const EffectTable::Entry &e : EffectTable::entries()) {
        if (e.effect <= Effect::Rotate) // the effects with a strength, and Negative
            m_effect->addItem(e.name, QVariant::fromValue(e.effect));
    }
    m_strength = new QSlider(Qt::Horizontal, this);
    m_strength->setObjectName(QStringLiteral("sldStrength"));
    m_strength->setMinimumWidth(240);
    m_value = new QLabel(this);
    m_value->setObjectName(QStringLiteral("lblStrength"));
    m_value->setMinimumWidth(48);
    m_meaning = new QLabel(this);
    m_meaning->setObjectName(QStringLiteral("lblMeaning"));
    m_meaning->setWordWrap(true);
    m_meaning->setEnabled(false);
    m_preview = new PreviewPane(picture, this);

    auto *strengthRow = new QHBoxLayout;
    strengthRow->addWidget(m_strength, 1);
    strengthRow->addWidget(m_value);
    auto *form = new QFormLayout;
    form->addRow(tr("Effect"), m_effect);
    form->addRow(tr("Strength"), strengthRow);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdApply"));
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Apply"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addLayout(form);
    layout->addWidget(m_meaning);
    layout->addWidget(m_preview);
    layout->addWidget(buttons);

    connect(m_effect, &QComboBox::currentIndexChanged, this, &EffectsDialog::chooseEffect);
    // Previews follow the slider as it moves; a new one replaces any still waiting.
    connect(m_strength, &QSlider::valueChanged, this, &EffectsDialog::refresh);
    const auto effect = EffectTable::byName(heading);
    const int index = effect ? m_effect->findData(QVariant::fromValue(*effect)) : 0;
    m_effect->setCurrentIndex(std::max(0, index));
    chooseEffect(m_effect->currentIndex());
}

EffectRequest EffectsDialog::request() const
{
    EffectRequest r = EffectTable::request(m_effect->currentData().value<Effect>(), m_brush);
    if (!r.values.isEmpty())
        r.values = {m_strength->value()};
    return r;
}

void EffectsDialog::chooseEffect(int index)
{
    const Effect effect = m_effect->itemData(index).value<Effect>();
    const EffectTable::Entry &e = EffectTable::entry(effect);
    m_heading->setText(e.name);
    m_meaning->setText(e.meaning);
    const bool slider = e.strength.maximum > e.strength.minimum;
    {
        const QSignalBlocker blocker(m_strength);
        m_strength->setRange(e.strength.minimum, e.strength.maximum);
        m_strength->setValue(e.strength.initial);
        m_strength->setPageStep(std::max(1, (e.strength.maximum - e.strength.minimum) / 10));
    }
    m_strength->setEnabled(slider);
    m_value->setVisible(slider);
    refresh();
}

void EffectsDialog::refresh()
{
    const EffectTable::Entry &e = EffectTable::entry(m_effect->currentData().value<Effect>());
    m_value->setText(QString::number(m_strength->value()) + e.strength.unit);
    m_preview->showPreview(request());
}
