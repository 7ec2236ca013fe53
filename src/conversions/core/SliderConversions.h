#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class Store;

// The quick conversions: four sliders with built-in factors, and a custom slider that converts
// between any two units of NV_CONVERSION.
class SliderConversions
{
public:
    enum class Fixed {
        MilesToKm,           // v × 1.609344
        KgToPounds,          // v × 2.205
        CelsiusToFahrenheit, // v × 9/5 + 32
        SqFeetToSqMetres     // v × 0.09290304
    };

    explicit SliderConversions(const Store &store) : m_store(store) {}

    // A fixed slider's result at whole-number position v, rounded to 3 places (ties to even).
    static QString fixedResult(Fixed slider, int v);
    // The From unit chosen with a type; nothing for a type without one.
    static std::optional<QString> defaultFromUnit(const QString &type);
    // v converted at rate; celsius to fahrenheit adds 32, other pairs convert by the rate alone.
    static double customResult(int v, double rate, const QString &from, const QString &to);

    QStringList types() const;
    QStringList fromUnits(const QString &type) const;
    // Every unit the From unit converts to, whatever the type.
    QStringList toUnits(const QString &from) const;
    // The rate of the first row (from, to) of any type; nothing when there is none.
    std::optional<double> rate(const QString &from, const QString &to) const;

private:

    const Store &m_store;
};
