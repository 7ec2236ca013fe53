#include "NumberText.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace
{

// A number in scientific form taken apart: the significant digits without trailing zeros, and
// the power of ten of the first one.
struct Scientific {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// text is std::to_chars' scientific form, "-d.ddde+xx".
Scientific parsed(std::string_view text)
{
    Scientific out;
    std::size_t i = 0;
    if (text.front() == '-') {
        out.negative = true;
        ++i;
    }
    for (; i < text.size() && text[i] != 'e'; ++i) {
        if (text[i] != '.')
            out.digits += text[i];
    }
    // from_chars takes no '+' sign.
    std::size_t exponent = i + 1;
    if (exponent < text.size() && text[exponent] == '+')
        ++exponent;
    std::from_chars(text.data() + exponent, text.data() + text.size(), out.exponent);
    while (out.digits.size() > 1 && out.digits.back() == '0')
        out.digits.pop_back();
    return out;
}

// Fixed form from 0.0001 up to maxDigits integer digits, exponent form beyond: the general
// number format of the conversion windows.
QString laidOut(const Scientific &number, int maxDigits)
{
    std::string text = number.negative ? "-" : "";
    const std::string &digits = number.digits;
    const int exponent = number.exponent;
    if (exponent < -4 || exponent >= maxDigits) {
        text += digits.front();
        if (digits.size() > 1)
            text += '.' + digits.substr(1);
        text += exponent < 0 ? "E-" : "E+";
        const std::string power = std::to_string(std::abs(exponent));
        text += (power.size() < 2 ? "0" : "") + power;
    } else if (exponent >= 0) {
        const std::size_t whole = std::size_t(exponent) + 1;
        text += digits.substr(0, whole);
        if (digits.size() > whole)
            text += '.' + digits.substr(whole);
        else
            text.append(whole - digits.size(), '0');
    } else {
        text += "0." + std::string(std::size_t(-exponent - 1), '0') + digits;
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace

QString NumberText::shortest(double value, int maxDigits)
{
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    if (!std::isfinite(value))
        return QString::number(value);
    maxDigits = std::clamp(maxDigits, 1, allDigits);
    std::array<char, 64> buffer{};
    char *const first = buffer.data();
    char *const last = first + buffer.size();
    // to_chars writes the shortest form that reads back exactly; only a longer one is rounded.
    char *end = std::to_chars(first, last, value, std::chars_format::scientific).ptr;
    Scientific number = parsed(std::string_view(first, std::size_t(end - first)));
    if (number.digits.size() > std::size_t(maxDigits)) {
        end = std::to_chars(first, last, value, std::chars_format::scientific, maxDigits - 1).ptr;
        number = parsed(std::string_view(first, std::size_t(end - first)));
    }
    return laidOut(number, maxDigits);
}

QString NumberText::rounded(double value, int places)
{
    return shortest(roundHalfEven(value, places), allDigits);
}

double NumberText::roundHalfEven(double value, int places)
{
    // Beyond 2^53 a double holds no fraction, and none has more than 1074 fractional digits:
    // nothing to round.
    if (!std::isfinite(value) || std::fabs(value) >= 9007199254740992.0 || places < 0 ||
        places >= 1074)
        return value;
    // The exact decimal expansion of a double ends within 1074 fractional digits; to_chars
    // writes it without regard to the locale.
    std::array<char, 1200> buffer{};
    char *end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                              std::chars_format::fixed, 1074)
                    .ptr;
    const std::string text(buffer.data(), end);
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
    double rounded = 0;
    std::from_chars(kept.data(), kept.data() + kept.size(), rounded);
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
