#include "NumberText.h"

#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{

QString printed(double value, int significant)
{
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    return QString::asprintf("%.*G", significant, value);
}

} // namespace

QString NumberText::single(float value)
{
    return printed(static_cast<double>(value), 7);
}

QString NumberText::general(double value)
{
    return printed(value, 15);
}

double NumberText::roundHalfEven(double value, int places)
{
    // Beyond 2^53 a double holds no fraction; nothing to round.
    if (!std::isfinite(value) || std::fabs(value) >= 9007199254740992.0 || places < 0)
        return value;
    // The exact decimal expansion of a double ends within 1074 fractional digits.
    std::vector<char> buffer(1400);
    std::snprintf(buffer.data(), buffer.size(), "%.1074f", std::fabs(value));
    std::string text(buffer.data());
    const std::size_t point = text.find('.');
    std::string kept = text.substr(0, point) + text.substr(point + 1, std::size_t(places));
    const std::string rest = text.substr(point + 1 + std::size_t(places));

    bool up = false;
    if (!rest.empty() && rest.front() > '5') {
        up = true;
    } else if (!rest.empty() && rest.front() == '5') {
        const bool beyondHalf = rest.find_first_not_of('0', 1) != std::string::npos;
        up = beyondHalf || (kept.back() - '0') % 2 == 1;
    }
    if (up) {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9')
            kept[--i] = '0';
        if (i == 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[i - 1];
    }
    kept.insert(kept.size() - std::size_t(places), ".");
    const double rounded = std::strtod(kept.c_str(), nullptr);
    return value < 0 ? -rounded : rounded;
}

double NumberText::number(const QString &text, bool *ok)
{
    bool valid = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &valid);
    if (ok)
        *ok = valid;
    return valid ? value : 0;
}

double NumberText::leadingNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    const auto digitsFrom = [&trimmed](qsizetype i) {
        while (i < trimmed.size() && trimmed.at(i).isDigit() && trimmed.at(i).unicode() < 128)
            ++i;
        return i;
    };
    if (end < trimmed.size() && (trimmed.at(end) == '-' || trimmed.at(end) == '+'))
        ++end;
    qsizetype mantissaEnd = digitsFrom(end);
    if (mantissaEnd < trimmed.size() && trimmed.at(mantissaEnd) == '.')
        mantissaEnd = digitsFrom(mantissaEnd + 1);
    end = mantissaEnd;
    if (end < trimmed.size() && (trimmed.at(end) == 'E' || trimmed.at(end) == 'e')) {
        qsizetype exponent = end + 1;
        if (exponent < trimmed.size() &&
            (trimmed.at(exponent) == '-' || trimmed.at(exponent) == '+'))
            ++exponent;
        const qsizetype exponentEnd = digitsFrom(exponent);
        if (exponentEnd > exponent)
            end = exponentEnd;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed.left(end), &ok);
    return ok ? value : 0;
}
