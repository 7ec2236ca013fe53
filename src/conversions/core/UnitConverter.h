#pragma once

#include "ConversionRates.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The Conversions window's convert and listing steps on the texts of its fields. Rates and
// products are doubles; the one-line result is written in its shortest form (at most 10
// significant digits), listings are rounded to 5 places and rate lines to 2 (ties to even).
class UnitConverter
{
public:
    // What the window's fields hold.
    struct Input {
        QString type;
        QString from;
        QString to;
        QString value; // the value box, as typed
        QString rate;  // the rate box (price per From unit), as typed
        ShowUnit show = ShowUnit::All;
        UnitSystem system = UnitSystem::AllUnits;
    };
    // The field a failed check sends the focus to.
    enum class Field { None, FromList, ValueBox };
    enum class Listing { Common, All, AnyType };

    struct Converted {
        QString message; // a failed check; nothing else is set then
        Field focus = Field::None;
        double rate = 0;
        double result = 0;
        QString resultLine;              // empty when the To unit is blank
        std::optional<QString> rateLine; // not written when it cannot be computed
    };
    struct Listed {
        QString message; // a failed check or the error that ended the listing
        Field focus = Field::None;
        bool cleared = false; // the checks passed: the result lines were emptied, then lines set
        QStringList lines;
        // One entry per line; nothing where the rate line keeps its previous text.
        QList<std::optional<QString>> rateLines;
    };

    explicit UnitConverter(const ConversionRates &rates) : m_rates(rates) {}

    Converted convert(const Input &input) const;
    Listed list(Listing listing, const Input &input) const;

    // "Rate per <unit> = <price>" for a price per From unit: price × (value ÷ result), rounded
    // to 2 places; nothing when the price is not a number or the result is 0.
    static std::optional<QString> rateLine(const QString &price, double value, double result,
                                           const QString &unit);

private:
    const ConversionRates &m_rates;
};
