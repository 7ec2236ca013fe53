#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Store;

// Which units the From and To lists and the listings offer.
enum class ShowUnit { Common, All };
enum class UnitSystem { AllUnits, Metric };

// The rates of NV_CONVERSION in the information store, read with the Conversions window's own
// queries. Rates are read as doubles, so a rate defined exactly (1 inch = 25.4 mm) stays the
// nearest double to its definition. The table holds no inverse: a conversion from A to B needs
// its own row (A, B).
class ConversionRates
{
public:
    struct Target {
        QString unit; // UNIT2
        double rate = 0;
    };

    explicit ConversionRates(const Store &store) : m_store(store) {}

    QStringList fromUnits(const QString &type, ShowUnit show, UnitSystem system) const;
    QStringList toUnits(const QString &type, const QString &from, ShowUnit show,
                        UnitSystem system) const;
    // The rate of the row (type, from, to); 0 when there is none.
    double rate(const QString &type, const QString &from, const QString &to) const;
    // Every row of the type from the unit, in table order; nothing when the query fails, and
    // error says why.
    std::optional<QList<Target>> targets(const QString &type, const QString &from, ShowUnit show,
                                         UnitSystem system, QString *error) const;
    // Every row from the unit, whatever its type.
    std::optional<QList<Target>> targetsOfAnyType(const QString &from, QString *error) const;

    // The condition the two choices add after the type (or the From unit) of a query.
    static QString suffix(ShowUnit show, UnitSystem system);

private:
    std::optional<QList<Target>> targetRows(const QString &sql, QString *error) const;

    const Store &m_store;
};
