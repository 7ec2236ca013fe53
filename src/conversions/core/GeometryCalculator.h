#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Store;

// Areas of a square, rectangle or circle and volumes and weights of a box, cylinder or sphere.
// Every length is first turned into metres through NV_CONVERSION (a unit without a row to
// "metre" counts as metres), the shape is computed in metres with pi taken as 3.14, and the
// result is given in the chosen area or volume unit, or in every unit at once ("All"). All in
// double precision; result lines show at most 10 significant digits, "All" lines 5 places.
class GeometryCalculator
{
public:
    enum class Shape { Square, Rectangle, Circle, Cube, Cylinder, Sphere };
    // What a circle's, cylinder's or sphere's measure is.
    enum class Measure { Diameter, Radius, Circumference };

    struct Length {
        QString text; // read by its leading number; other text counts as 0
        QString unit;
    };
    struct Request {
        Shape shape = Shape::Square;
        // Square: side; rectangle: two sides; circle and sphere: the measure; box: three
        // sides; cylinder: the measure of the base, then the height.
        QList<Length> lengths;
        Measure measure = Measure::Diameter;
        QString resultUnit; // "All" for every unit
        bool weight = false;
        QString material;
    };
    struct Result {
        QString message; // a blank unit: nothing was computed
        QString title;
        double base = 0;    // in square or cubic metres
        QString resultLine; // empty for "All"
        QStringList lines;  // the "All" lines, at most 13
        std::optional<QString> weightLine;
        double weight = 0; // kilograms
    };

    static constexpr double pi = 3.14;
    static constexpr int maxLines = 13;
    static inline const QString all = QStringLiteral("All");

    explicit GeometryCalculator(const Store &store) : m_store(store) {}

    Result calculate(const Request &request) const;

    // The lists of the calculator panels.
    QStringList lengthUnits() const;       // common length units
    QStringList sphereLengthUnits() const; // every length unit
    QStringList areaUnits() const;
    QStringList volumeUnits() const;
    QStringList boxVolumeUnits() const;
    QStringList materials() const;

    // The base result of a shape from its lengths in metres (no table involved).
    static double baseResult(Shape shape, const QList<double> &metres, Measure measure);
    static bool isArea(Shape shape);

private:
    double toMetres(Shape shape, const Length &length) const;

    const Store &m_store;
};
