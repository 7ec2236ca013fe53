#include "SliderConversions.h"

#include "NumberText.h"
#include "SqlText.h"
#include "Store.h"

#include <QHash>

QString SliderConversions::fixedResult(Fixed slider, int v)
{
    double result = 0;
    switch (slider) {
    case Fixed::MilesToKm:
        result = v * 1.609344;
        break;
    case Fixed::KgToPounds:
        result = v * 2.205;
        break;
    case Fixed::CelsiusToFahrenheit:
        result = v * (9.0 / 5.0) + 32;
        break;
    case Fixed::SqFeetToSqMetres:
        result = v * 0.09290304;
        break;
    }
    return NumberText::rounded(result, 3);
}

std::optional<QString> SliderConversions::defaultFromUnit(const QString &type)
{
    static const QHash<QString, QString> units = {
        {QStringLiteral("Length"), QStringLiteral("cm")},
        {QStringLiteral("Area"), QStringLiteral("acre")},
        {QStringLiteral("Volume"), QStringLiteral("bushel")},
        {QStringLiteral("Mass"), QStringLiteral("gram")},
        {QStringLiteral("Relative Density"), QStringLiteral("g/cm cube")},
        {QStringLiteral("Force"), QStringLiteral("kgf")},
        {QStringLiteral("Mass/Unit Len"), QStringLiteral("kg/m")},
        {QStringLiteral("Mass/Unit Area"), QStringLiteral("sq kg/m")},
        {QStringLiteral("Stress/Pressure"), QStringLiteral("atm")},
        {QStringLiteral("Energy"), QStringLiteral("btu")},
        {QStringLiteral("Velocity"), QStringLiteral("km/h")},
        {QStringLiteral("Power"), QStringLiteral("horse power")},
        {QStringLiteral("Time"), QStringLiteral("day")},
        {QStringLiteral("Frequency"), QStringLiteral("cycle/second")},
        {QStringLiteral("Capacity"), QStringLiteral("cup")},
        {QStringLiteral("Temperature"), QStringLiteral("celsius")},
        {QStringLiteral("Land Area"), QStringLiteral("acre")},
        {QStringLiteral("Speed"), QStringLiteral("mile/sec")},
    };
    const auto it = units.constFind(type);
    if (it == units.constEnd())
        return std::nullopt;
    return *it;
}

double SliderConversions::customResult(int v, double rate, const QString &from, const QString &to)
{
    const double result = v * rate;
    if (from == QLatin1String("celsius") && to == QLatin1String("fahrenheit"))
        return result + 32;
    return result;
}

QStringList SliderConversions::types() const
{
    return m_store.column(
        QStringLiteral("select distinct type from nv_conversion where type is not null"));
}

QStringList SliderConversions::fromUnits(const QString &type) const
{
    return m_store.column(QStringLiteral("select distinct unit1 from nv_conversion where [type]=") +
                          SqlText::literal(type));
}

QStringList SliderConversions::toUnits(const QString &from) const
{
    return m_store.column(QStringLiteral("select distinct unit2 from nv_conversion where unit1=") +
                          SqlText::literal(from));
}

std::optional<double> SliderConversions::rate(const QString &from, const QString &to) const
{
    const QVariant value = m_store.value(
        QStringLiteral("select * from nv_conversion where unit1=") + SqlText::literal(from) +
            QStringLiteral(" and unit2= ") + SqlText::literal(to),
        QStringLiteral("Value"));
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return value.toDouble();
}
