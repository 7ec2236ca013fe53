#include "GeometryCalculator.h"

#include "NumberText.h"
#include "SqlText.h"
#include "Store.h"

namespace
{

using Shape = GeometryCalculator::Shape;
using Measure = GeometryCalculator::Measure;

QString resultQuery(Shape shape)
{
    return GeometryCalculator::isArea(shape)
               ? QStringLiteral(
                     "select * from NV_CONVERSION where [TYPE]='Area' and [UNIT1]='sq metre'")
               : QStringLiteral(
                     "select * from NV_CONVERSION where [TYPE]='Volume' and [UNIT1]='cu metre'");
}

// The unit whose result is shown as computed, without a table row.
QString baseUnit(Shape shape)
{
    switch (shape) {
    case Shape::Square:
    case Shape::Rectangle:
        return QStringLiteral("metre");
    case Shape::Circle:
        return QStringLiteral("sq metre");
    default:
        return QStringLiteral("cu metre");
    }
}

QString resultLine(Shape shape, const QString &number, const QString &unit, bool isBase)
{
    switch (shape) {
    case Shape::Square:
    case Shape::Rectangle:
        return QStringLiteral("Area of the Square =") + number + QLatin1Char(' ') +
               (isBase ? QStringLiteral("metre square") : unit);
    case Shape::Circle:
        return QStringLiteral("Area of the circle is ") + number + QLatin1Char(' ') + unit;
    case Shape::Cube:
        return QStringLiteral("Volume of the Cube =") + number + QLatin1Char(' ') + unit;
    case Shape::Cylinder:
        return QStringLiteral("Volume of the Cylinder is ") + number + QLatin1Char(' ') + unit;
    case Shape::Sphere:
        return QStringLiteral("Volume of the sphere is ") + number + QLatin1Char(' ') +
               (isBase ? QStringLiteral("cu metre ") : unit);
    }
    return {};
}

QString weightCaption(Shape shape)
{
    switch (shape) {
    case Shape::Cylinder:
        return QStringLiteral("Weight of the cylinder=");
    case Shape::Sphere:
        return QStringLiteral("Weight of the sphere=");
    default:
        return QStringLiteral("Weight of the cube=");
    }
}

double radius(double measure, Measure kind)
{
    switch (kind) {
    case Measure::Diameter:
        return measure / 2;
    case Measure::Circumference:
        return measure / (2 * GeometryCalculator::pi);
    case Measure::Radius:
        break;
    }
    return measure;
}

} // namespace

bool GeometryCalculator::isArea(Shape shape)
{
    return shape == Shape::Square || shape == Shape::Rectangle || shape == Shape::Circle;
}

double GeometryCalculator::baseResult(Shape shape, const QList<double> &metres, Measure measure)
{
    const auto at = [&metres](qsizetype i) { return i < metres.size() ? metres.at(i) : 0.0; };
    switch (shape) {
    case Shape::Square:
        return at(0) * at(0);
    case Shape::Rectangle:
        return at(0) * at(1);
    case Shape::Circle: {
        // A circle's measure is a diameter or a radius.
        const double r =
            radius(at(0), measure == Measure::Radius ? Measure::Radius : Measure::Diameter);
        return r * pi * r;
    }
    case Shape::Cube:
        return at(0) * at(1) * at(2);
    case Shape::Cylinder: {
        const double r =
            radius(at(0), measure == Measure::Radius ? Measure::Radius : Measure::Diameter);
        return r * pi * r * at(1);
    }
    case Shape::Sphere: {
        const double r = radius(at(0), measure);
        return (4.0 / 3.0) * pi * r * r * r;
    }
    }
    return 0;
}

double GeometryCalculator::toMetres(Shape shape, const Length &length) const
{
    const double value = NumberText::leadingNumber(length.text);
    if (length.unit == QLatin1String("metre"))
        return value;
    QString sql = QStringLiteral("select * from NV_CONVERSION where [TYPE]='Length' and [UNIT1]=") +
                  SqlText::literal(length.unit);
    if (shape == Shape::Square)
        sql += QStringLiteral(" and [UNIT2]='Metre'");
    else if (shape == Shape::Cube || shape == Shape::Cylinder)
        sql += QStringLiteral(" and [UNIT2]= 'metre'");
    else
        sql += QStringLiteral(" and [UNIT2]='metre'");
    QSqlQuery q = m_store.query(sql);
    if (!q.next())
        return value; // no row: the value is taken as metres
    const QVariant rate = q.value(QStringLiteral("Value"));
    return rate.isNull() ? value : value * rate.toDouble();
}

GeometryCalculator::Result GeometryCalculator::calculate(const Request &request) const
{
    Result out;
    const bool measureUnitBlank =
        request.lengths.isEmpty() || request.lengths.first().unit.trimmed().isEmpty();
    if (request.shape == Shape::Circle && measureUnitBlank) {
        out.message = QStringLiteral("Unit is blank. Select a unit");
        out.title = QStringLiteral("Nuvela Suite");
        return out;
    }
    if (request.shape == Shape::Sphere && measureUnitBlank) {
        out.message = QStringLiteral("Unit cannot be blank. Select a unit");
        out.title = QStringLiteral("Nuvela Conversion");
        return out;
    }

    QList<double> metres;
    for (const Length &length : request.lengths)
        metres << toMetres(request.shape, length);
    out.base = baseResult(request.shape, metres, request.measure);

    if (request.resultUnit == all) {
        QSqlQuery q = m_store.query(resultQuery(request.shape));
        while (q.next() && out.lines.size() < maxLines) {
            const double converted = out.base * q.value(QStringLiteral("Value")).toDouble();
            out.lines << NumberText::rounded(converted, 5) + QLatin1Char(' ') +
                             q.value(QStringLiteral("UNIT2")).toString();
        }
    } else {
        const bool isBase = request.resultUnit == baseUnit(request.shape);
        double result = out.base;
        if (!isBase) {
            const QVariant rate =
                m_store.value(resultQuery(request.shape) + QStringLiteral(" and [UNIT2]=") +
                                  SqlText::literal(request.resultUnit),
                              QStringLiteral("Value"));
            result = out.base * rate.toDouble(); // no row: 0
        }
        out.resultLine =
            resultLine(request.shape, NumberText::shortest(result), request.resultUnit, isBase);
    }

    if (request.weight && !isArea(request.shape)) {
        const QVariant density =
            m_store.value(QStringLiteral("select * from NV_CONDENSITY where [MATERIAL]=") +
                              SqlText::literal(request.material),
                          QStringLiteral("density"));
        out.weight = out.base * density.toDouble(); // no row: 0
        out.weightLine = weightCaption(request.shape) + NumberText::shortest(out.weight) +
                         QLatin1Char(' ') + QStringLiteral("Kg");
    }
    return out;
}

QStringList GeometryCalculator::lengthUnits() const
{
    return m_store.column(QStringLiteral(
        "select distinct UNIT1 from NV_CONVERSION where [TYPE]='Length' and [VIEWTYPE]='common'"));
}

QStringList GeometryCalculator::sphereLengthUnits() const
{
    return m_store.column(
        QStringLiteral("select distinct UNIT1 from NV_CONVERSION where [TYPE]='Length'"));
}

QStringList GeometryCalculator::areaUnits() const
{
    return m_store.column(
        QStringLiteral("select distinct UNIT1 from NV_CONVERSION where [TYPE]='Area'"));
}

QStringList GeometryCalculator::volumeUnits() const
{
    return m_store.column(
        QStringLiteral("select distinct UNIT1 from NV_CONVERSION where [TYPE]='Volume'"));
}

QStringList GeometryCalculator::boxVolumeUnits() const
{
    return m_store.column(QStringLiteral(
        "select distinct UNIT2 from NV_CONVERSION where [TYPE]='Volume' and [UNIT1]='cu metre'"));
}

QStringList GeometryCalculator::materials() const
{
    return m_store.column(QStringLiteral("select distinct MATERIAL from NV_CONDENSITY "));
}
