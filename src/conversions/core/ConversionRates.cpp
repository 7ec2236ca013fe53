#include "ConversionRates.h"

#include "SqlText.h"
#include "Store.h"

#include <QSqlError>

QString ConversionRates::suffix(ShowUnit show, UnitSystem system)
{
    if (show == ShowUnit::Common)
        return system == UnitSystem::AllUnits
                   ? QStringLiteral(" and [VIEWTYPE]='common'")
                   : QStringLiteral(" and [VIEWTYPE]='common' and [MATRIC]='M'");
    return system == UnitSystem::AllUnits ? QString() : QStringLiteral(" and [MATRIC]='M'");
}

QStringList ConversionRates::fromUnits(const QString &type, ShowUnit show, UnitSystem system) const
{
    return m_store.column(QStringLiteral("select distinct UNIT1 from NV_CONVERSION where [TYPE]=") +
                          SqlText::literal(type) + suffix(show, system));
}

QStringList ConversionRates::toUnits(const QString &type, const QString &from, ShowUnit show,
                                     UnitSystem system) const
{
    return m_store.column(QStringLiteral("select distinct UNIT2 from NV_CONVERSION where [TYPE]=") +
                          SqlText::literal(type) + QStringLiteral(" and [UNIT1]=") +
                          SqlText::literal(from) + suffix(show, system));
}

double ConversionRates::rate(const QString &type, const QString &from, const QString &to) const
{
    const QVariant value = m_store.value(
        QStringLiteral("select * from NV_CONVERSION where [TYPE]=") + SqlText::literal(type) +
            QStringLiteral(" and [UNIT1]=") + SqlText::literal(from) +
            QStringLiteral(" and [UNIT2]= ") + SqlText::literal(to),
        QStringLiteral("Value"));
    return value.isValid() ? value.toDouble() : 0.0;
}

std::optional<QList<ConversionRates::Target>> ConversionRates::targetRows(const QString &sql,
                                                                          QString *error) const
{
    QSqlQuery q = m_store.query(sql);
    if (!q.isActive()) {
        if (error)
            *error = m_store.lastError();
        return std::nullopt;
    }
    QList<Target> rows;
    while (q.next())
        rows.append({q.value(QStringLiteral("UNIT2")).toString(),
                     q.value(QStringLiteral("Value")).toDouble()});
    return rows;
}

std::optional<QList<ConversionRates::Target>>
ConversionRates::targets(const QString &type, const QString &from, ShowUnit show, UnitSystem system,
                         QString *error) const
{
    return targetRows(QStringLiteral("select * from NV_CONVERSION where [TYPE]=") +
                          SqlText::literal(type) + QStringLiteral(" and [UNIT1]=") +
                          SqlText::literal(from) + suffix(show, system),
                      error);
}

std::optional<QList<ConversionRates::Target>>
ConversionRates::targetsOfAnyType(const QString &from, QString *error) const
{
    return targetRows(QStringLiteral("select * from NV_CONVERSION where [UNIT1] =") +
                          SqlText::literal(from),
                      error);
}
