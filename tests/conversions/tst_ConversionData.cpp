#include "ConversionTable.h"
#include "ReferenceData.h"
#include "Store.h"
#include "TestEnvironment.h"

#include <QTest>

#include <cfloat>
#include <cmath>
#include <memory>

// The generated conversion rows and the densities of the information store.
class tst_ConversionData : public QObject
{
    Q_OBJECT

private:
    // type -> unit1 -> unit2 -> rate, read from a freshly made information store.
    using Rates = QMap<QString, QMap<QString, QMap<QString, double>>>;
    Rates readRates(Store &store)
    {
        Rates rates;
        QSqlQuery q = store.query(QStringLiteral("select * from NV_CONVERSION"));
        while (q.next())
            rates[q.value(QStringLiteral("TYPE")).toString()]
                 [q.value(QStringLiteral("UNIT1")).toString()]
                 [q.value(QStringLiteral("UNIT2")).toString()] =
                     q.value(QStringLiteral("Value")).toDouble();
        return rates;
    }

    // Within the rounding of a few double operations, each exact to half a unit in the last place.
    static bool near(double a, double b)
    {
        return std::fabs(a - b) <= 4 * DBL_EPSILON * std::max(std::fabs(a), std::fabs(b));
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Store> m_store;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_store = std::make_unique<Store>(Store::Kind::Info);
        QVERIFY2(m_store->isOpen(), qPrintable(m_store->lastError()));
    }
    void cleanup()
    {
        m_store.reset();
        m_env.reset();
    }

    void everyPairExistsAndIsConsistent()
    {
        const Rates rates = readRates(*m_store);
        QVERIFY(rates.size() >= 18);
        for (auto type = rates.cbegin(); type != rates.cend(); ++type) {
            const QStringList units = type->keys();
            for (const QString &a : units) {
                QCOMPARE(type->value(a).size(), units.size()); // every ordered pair, A to A too
                QVERIFY2(near(type->value(a).value(a), 1.0), qPrintable(type.key() + ": " + a));
                for (const QString &b : units) {
                    const double ab = type->value(a).value(b), ba = type->value(b).value(a);
                    QVERIFY2(ab > 0, qPrintable(type.key() + ": " + a + " -> " + b));
                    QVERIFY2(near(ab * ba, 1.0), qPrintable(type.key() + ": " + a + " <-> " + b));
                    for (const QString &c : units) {
                        QVERIFY2(near(type->value(a).value(c), ab * type->value(b).value(c)),
                                 qPrintable(type.key() + ": " + a + " -> " + b + " -> " + c));
                    }
                }
            }
        }
    }

    void namedUnitsExist_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("unit");
        // Base units of the calculators, and the default From units of the slider window.
        QTest::newRow("length base") << "Length"
                                     << "metre";
        QTest::newRow("area base") << "Area"
                                   << "sq metre";
        QTest::newRow("volume base") << "Volume"
                                     << "cu metre";
        QTest::newRow("weight") << "Mass"
                                << "Kg";
        const QList<QPair<QString, QString>> defaults = {{"Length", "cm"},
                                                         {"Area", "acre"},
                                                         {"Volume", "bushel"},
                                                         {"Mass", "gram"},
                                                         {"Relative Density", "g/cm cube"},
                                                         {"Force", "kgf"},
                                                         {"Mass/Unit Len", "kg/m"},
                                                         {"Mass/Unit Area", "sq kg/m"},
                                                         {"Stress/Pressure", "atm"},
                                                         {"Energy", "btu"},
                                                         {"Velocity", "km/h"},
                                                         {"Power", "horse power"},
                                                         {"Time", "day"},
                                                         {"Frequency", "cycle/second"},
                                                         {"Capacity", "cup"},
                                                         {"Temperature", "celsius"},
                                                         {"Temperature", "fahrenheit"},
                                                         {"Land Area", "acre"},
                                                         {"Speed", "mile/sec"}};
        for (const auto &[type, unit] : defaults)
            QTest::newRow(qPrintable(type + " " + unit)) << type << unit;
    }
    void namedUnitsExist()
    {
        QFETCH(QString, type);
        QFETCH(QString, unit);
        const QVariant n =
            m_store->value(QStringLiteral("select count(*) from NV_CONVERSION where [TYPE]='%1' "
                                          "and UNIT1='%2' and UNIT2='%2'")
                               .arg(type, unit));
        QCOMPARE(n.toInt(), 1);
    }

    void toolBarTypesHaveCommonAndMetricUnits_data()
    {
        QTest::addColumn<QString>("type");
        for (const char *type : {"Length", "Area", "Land Area", "Volume", "Mass", "Stress/Pressure",
                                 "Force", "Speed", "Relative Density", "Capacity", "Energy"})
            QTest::newRow(type) << QString::fromLatin1(type);
    }
    void toolBarTypesHaveCommonAndMetricUnits()
    {
        QFETCH(QString, type);
        const QString count =
            QStringLiteral("select count(*) from NV_CONVERSION where [TYPE]='%1'").arg(type);
        const int all = m_store->value(count).toInt();
        const int common = m_store->value(count + " and VIEWTYPE='common'").toInt();
        const int metric = m_store->value(count + " and MATRIC='M'").toInt();
        // Each choice of the window must narrow the lists, not empty them.
        QVERIFY(common > 0 && common < all);
        QVERIFY(metric > 0 && metric < all);
    }

    void definitions_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<double>("rate");
        QTest::newRow("inch") << "Length"
                              << "inch"
                              << "metre" << 0.0254;
        QTest::newRow("inch to mm") << "Length"
                                    << "inch"
                                    << "mm" << 25.4;
        QTest::newRow("mile") << "Length"
                              << "mile"
                              << "km" << 1.609344;
        QTest::newRow("pound") << "Mass"
                               << "pound"
                               << "Kg" << 0.45359237;
        QTest::newRow("US gallon") << "Volume"
                                   << "gallon (US)"
                                   << "cu inch" << 231.0;
        QTest::newRow("bushel") << "Volume"
                                << "bushel"
                                << "cu inch" << 2150.42;
        QTest::newRow("sq foot") << "Area"
                                 << "sq foot"
                                 << "sq metre" << 0.09290304;
        QTest::newRow("acre") << "Land Area"
                              << "acre"
                              << "sq foot" << 43560.0;
        QTest::newRow("degree sizes") << "Temperature"
                                      << "celsius"
                                      << "fahrenheit" << 1.8;
        QTest::newRow("kgf") << "Force"
                             << "kgf"
                             << "newton" << 9.80665;
        QTest::newRow("atm") << "Stress/Pressure"
                             << "atm"
                             << "pascal" << 101325.0;
        QTest::newRow("btu") << "Energy"
                             << "btu"
                             << "joule" << 1055.05585262;
        QTest::newRow("knot") << "Speed"
                              << "knot"
                              << "km/h" << 1.852;
        QTest::newRow("cup") << "Capacity"
                             << "gallon"
                             << "cup" << 16.0;
    }
    void definitions()
    {
        QFETCH(QString, type);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(double, rate);
        // Each rate is the double nearest its definition, the same double as the literal.
        const double stored = readRates(*m_store).value(type).value(from).value(to);
        QVERIFY2(stored == rate, qPrintable(QString::number(stored, 'g', 17)));
    }

    void viewAndSystemFlags_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("matric");
        QTest::newRow("both common and metric") << "metre"
                                                << "km"
                                                << "common"
                                                << "M";
        QTest::newRow("one not metric") << "metre"
                                        << "inch"
                                        << "common"
                                        << "";
        QTest::newRow("one not common") << "metre"
                                        << "angstrom"
                                        << "all"
                                        << "M";
        QTest::newRow("neither") << "furlong"
                                 << "chain"
                                 << "all"
                                 << "";
    }
    void viewAndSystemFlags()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QSqlQuery q =
            m_store->query(QStringLiteral("select VIEWTYPE, MATRIC from NV_CONVERSION where "
                                          "[TYPE]='Length' and UNIT1='%1' and UNIT2='%2'")
                               .arg(from, to));
        QVERIFY(q.next());
        QTEST(q.value(0).toString(), "view");
        QTEST(q.value(1).toString(), "matric");
    }

    void densities()
    {
        QSqlQuery q = m_store->query(QStringLiteral("select MATERIAL, density from NV_CONDENSITY"));
        QSet<QString> names;
        while (q.next()) {
            QVERIFY(!q.value(0).toString().isEmpty());
            QVERIFY2(q.value(1).toDouble() > 0, qPrintable(q.value(0).toString()));
            names.insert(q.value(0).toString().toLower());
        }
        QVERIFY(names.size() >= 30);
        QCOMPARE(
            m_store
                ->value(QStringLiteral("select density from NV_CONDENSITY where MATERIAL='steel'"))
                .toDouble(),
            7850.0);
    }

    void evaluate_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("number") << "1609.344" << true << 1609.344;
        QTest::newRow("power and product")
            << "231*0.0254^3" << true << 231 * 0.0254 * 0.0254 * 0.0254;
        QTest::newRow("negative exponent") << "10^-9" << true << 1e-9;
        QTest::newRow("parentheses") << "(1/100)^2" << true << 1e-4;
        QTest::newRow("left to right") << "4.54609/8/1000" << true << 4.54609 / 8 / 1000;
        QTest::newRow("spaces") << " 2 * 3 " << true << 6.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("division by zero") << "1/0" << false << 0.0;
        QTest::newRow("dangling operator") << "2*" << false << 0.0;
        QTest::newRow("word") << "inch" << false << 0.0;
        QTest::newRow("unclosed") << "(1" << false << 0.0;
        QTest::newRow("two numbers") << "1 2" << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("power without exponent") << "2^" << false << 0.0;
    }
    void evaluate()
    {
        QFETCH(QString, expression);
        QFETCH(bool, valid);
        QFETCH(double, value);
        const auto result = ConversionTable::evaluate(expression);
        QCOMPARE(result.has_value(), valid);
        if (valid)
            QVERIFY(std::fabs(double(*result) - value) <= 1e-15 * value);
    }

    void badUnitTables_data()
    {
        QTest::addColumn<QString>("tsv");
        QTest::addColumn<QString>("why");
        QTest::newRow("missing field") << "# c\nLength\tmetre\t1\tcommon\n"
                                       << "line 2";
        QTest::newRow("bad factor") << "Length\tmetre\tx\tcommon\tM\n"
                                    << "factor";
        QTest::newRow("zero factor") << "Length\tmetre\t0\tcommon\tM\n"
                                     << "factor";
        QTest::newRow("bad view") << "Length\tmetre\t1\tusual\tM\n"
                                  << "view";
        QTest::newRow("bad system") << "Length\tmetre\t1\tcommon\tmetric\n"
                                    << "system";
        QTest::newRow("same unit in other case")
            << "Mass\tKg\t1\tcommon\tM\nMass\tkg\t1\tcommon\tM\n"
            << "twice";
    }
    void badUnitTables()
    {
        QFETCH(QString, tsv);
        QFETCH(QString, why);
        QString message;
        QVERIFY(!ConversionTable::parseUnits(tsv, &message));
        QVERIFY2(message.contains(why), qPrintable(message));
    }

    void rowsOfOneType()
    {
        const auto units = ConversionTable::parseUnits(
            QStringLiteral("Length\tmetre\t1\tcommon\tM\nLength\tfoot\t0.3048\tcommon\t-\n"
                           "Mass\tKg\t1\tcommon\tM\n"));
        QVERIFY(units);
        const QList<ConversionTable::Row> rows = ConversionTable::rows(*units);
        QCOMPARE(rows.size(), 5); // 2 x 2 lengths, 1 mass; no pair across types
        for (const ConversionTable::Row &row : rows) {
            if (row.unit1 == "foot" && row.unit2 == "metre")
                QCOMPARE(row.value, 0.3048);
            if (row.unit1 == "metre" && row.unit2 == "foot")
                QVERIFY(std::fabs(row.value - 1 / 0.3048) < 1e-15);
            QVERIFY(row.unit1 != "Kg" || row.unit2 == "Kg");
        }
    }

    void shippedTableReads()
    {
        QString message;
        const auto units =
            ConversionTable::parseUnits(ReferenceData::text(QStringLiteral("units.tsv")), &message);
        QVERIFY2(units, qPrintable(message));
        QVERIFY(units->size() > 150);
    }
};

QTEST_GUILESS_MAIN(tst_ConversionData)
#include "tst_ConversionData.moc"
