#pragma once

#include <QList>
#include <QString>

#include <optional>

struct sqlite3;

// The rows of NV_CONVERSION, generated from one unit table (data/units.tsv) in which every unit
// is defined by its exact factor to its type's base unit. Each ordered pair of units of a type,
// a unit with itself included, becomes a row: 1 UNIT1 = factor(UNIT1) / factor(UNIT2) UNIT2.
// Generating the rows keeps every rate traceable to a definition and the table consistent in
// both directions.
class ConversionTable
{
public:
    struct Unit {
        QString type;
        QString name;
        long double factor = 0;
        bool common = false;
        bool metric = false;
    };
    struct Row {
        QString type;
        QString unit1;
        QString unit2;
        double value = 0;
        QString viewType; // "common" or "all"
        QString matric;   // "M" or ""
    };

    // Reads the tab-separated unit table; blank lines and lines starting with '#' are skipped.
    // An unreadable line fails the whole table, and message names it.
    static std::optional<QList<Unit>> parseUnits(const QString &tsv, QString *message = nullptr);
    // Every ordered pair of units within each type, in the order of the unit table.
    static QList<Row> rows(const QList<Unit> &units);
    // A factor written as numbers joined by * and /, powers by ^ (integer exponents) and
    // parentheses, e.g. "231*0.0254^3" or "10^-9"; nothing when it cannot be read.
    static std::optional<long double> evaluate(const QString &expression);

    // Fills NV_CONVERSION of db (the table must exist) from the shipped unit table.
    static bool insert(sqlite3 *db, QString *message);
};
