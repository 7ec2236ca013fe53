#include "UnitConverter.h"

#include "NumberText.h"

namespace
{

bool blank(const QString &text)
{
    return text.trimmed().isEmpty();
}

} // namespace

std::optional<QString> UnitConverter::rateLine(const QString &price, double value, double result,
                                               const QString &unit)
{
    bool ok = false;
    const double perFrom = NumberText::number(price, &ok);
    if (!ok || result == 0)
        return std::nullopt;
    return QStringLiteral("Rate per ") + unit + QStringLiteral(" = ") +
           NumberText::rounded(perFrom * (value / result), 2);
}

UnitConverter::Converted UnitConverter::convert(const Input &input) const
{
    Converted out;
    if (blank(input.type)) {
        out.message = QStringLiteral("Conversion type not selected");
        out.focus = Field::FromList;
        return out;
    }
    if (blank(input.from)) {
        out.message = QStringLiteral("From Unit cannot be left blank.");
        out.focus = Field::FromList;
        return out;
    }
    if (blank(input.value)) {
        out.message = QStringLiteral("Value cannot be left blank");
        out.focus = Field::ValueBox;
        return out;
    }
    out.rate = m_rates.rate(input.type, input.from, input.to);
    const double value = NumberText::number(input.value);
    out.result = value * out.rate;
    if (!blank(input.to)) {
        out.resultLine = input.value + QLatin1Char(' ') + input.from + QStringLiteral(" = ") +
                         NumberText::shortest(out.result) + QStringLiteral("  ") + input.to;
        out.rateLine = rateLine(input.rate, value, out.result, input.to);
    }
    return out;
}

UnitConverter::Listed UnitConverter::list(Listing listing, const Input &input) const
{
    Listed out;
    if (blank(input.value)) {
        out.message = QStringLiteral("Value cannot be left blank");
        out.focus = Field::ValueBox;
        return out;
    }
    if (listing != Listing::AnyType && blank(input.from)) {
        out.message = listing == Listing::Common ? QStringLiteral("From Unit cannot be left blank")
                                                 : QStringLiteral("From cannot be left blank");
        out.focus = Field::FromList;
        return out;
    }
    out.cleared = true;

    QString error;
    const auto rows =
        listing == Listing::AnyType
            ? m_rates.targetsOfAnyType(input.from, &error)
            : m_rates.targets(input.type, input.from,
                              listing == Listing::Common ? ShowUnit::Common : ShowUnit::All,
                              input.system, &error);
    if (!rows) {
        // The listings report a failing query; ALL mode goes on without it.
        if (listing != Listing::AnyType)
            out.message = error;
        return out;
    }

    const double value = NumberText::number(input.value);
    const bool withRates = listing != Listing::Common && !blank(input.rate);
    const QString spaces =
        listing == Listing::Common ? QStringLiteral("      ") : QStringLiteral("     ");
    for (const ConversionRates::Target &row : *rows) {
        const double product = value * row.rate;
        out.lines << row.unit + spaces + NumberText::rounded(product, 5);
        std::optional<QString> line;
        if (withRates) {
            line = rateLine(input.rate, value, product, row.unit);
            // The listings stop at a rate they cannot compute; ALL mode skips the line.
            if (!line && listing == Listing::All) {
                bool ok = false;
                NumberText::number(input.rate, &ok);
                out.message =
                    ok ? QStringLiteral("Division by zero") : QStringLiteral("Type mismatch");
                out.rateLines.append(std::nullopt);
                return out;
            }
        }
        out.rateLines.append(line);
    }
    return out;
}
