#include "PhotoRules.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace PhotoRules
{

Effect sliderStep(Slider slider, int previous, int now)
{
    const bool down = now < previous;
    switch (slider) {
    case Slider::Bright:
        return down ? Effect::Darken : Effect::Brighten;
    case Slider::Contrast:
        return down ? Effect::LessContrast : Effect::MoreContrast;
    case Slider::Sharpen:
        break;
    }
    return down ? Effect::SoftenStep : Effect::SharpenStep;
}

Zoom zoomOf(int sliderValue)
{
    switch (sliderValue) {
    case 0:
        return {true, 1.0, QString()};
    case -1:
        return {false, 0.75, QStringLiteral("75")};
    case -2:
        return {false, 0.5, QStringLiteral("50")};
    case -3:
        return {false, 0.25, QStringLiteral("25")};
    default:
        break;
    }
    const double factor = std::clamp(sliderValue, 1, ZoomMaximum);
    return {false, factor, QString::number(int(factor * 100))};
}

double fitFactor(QSize picture, QSize area)
{
    if (picture.isEmpty() || area.isEmpty())
        return 1.0;
    return std::min(
        {1.0, double(area.width()) / picture.width(), double(area.height()) / picture.height()});
}

QString statusText(QPoint at, const std::optional<QColor> &color)
{
    QString text = QStringLiteral("XY: %1, %2").arg(at.x()).arg(at.y());
    if (color)
        text += QStringLiteral("  RGB: %1, %2, %3")
                    .arg(color->red())
                    .arg(color->green())
                    .arg(color->blue());
    return text;
}

std::optional<QSize> parseSize(const QString &text, QSize current)
{
    static const QRegularExpression percent(QStringLiteral("^\\s*(\\d+(?:\\.\\d+)?)\\s*%\\s*$"));
    static const QRegularExpression pair(
        QStringLiteral("^\\s*(\\d+)\\s*[xX\u00D7 ]\\s*(\\d+)\\s*$"));
    QSize size;
    if (const auto m = percent.match(text); m.hasMatch()) {
        const double p = m.captured(1).toDouble() / 100.0;
        size = QSize(int(std::lround(current.width() * p)), int(std::lround(current.height() * p)));
    } else if (const auto m = pair.match(text); m.hasMatch()) {
        size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    } else {
        return std::nullopt;
    }
    constexpr int most = 16000;
    if (size.width() < 1 || size.height() < 1 || size.width() > most || size.height() > most)
        return std::nullopt;
    return size;
}

} // namespace PhotoRules
