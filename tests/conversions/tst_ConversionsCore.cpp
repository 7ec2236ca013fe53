#include "ConversionRates.h"
#include "GeometryCalculator.h"
#include "NumberText.h"
#include "SliderConversions.h"
#include "Store.h"
#include "TestEnvironment.h"
#include "UnitConverter.h"

#include <QTest>

#include <memory>

using Shape = GeometryCalculator::Shape;
using Measure = GeometryCalculator::Measure;
using Fixed = SliderConversions::Fixed;
Q_DECLARE_METATYPE(Shape)
Q_DECLARE_METATYPE(Measure)
Q_DECLARE_METATYPE(Fixed)
Q_DECLARE_METATYPE(UnitConverter::Listing)

// The conversion rules without windows, on a freshly made information store.
class tst_ConversionsCore : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Store> m_store;

    UnitConverter::Input input(const QString &type, const QString &from, const QString &to,
                               const QString &value, const QString &rate = {})
    {
        UnitConverter::Input in;
        in.type = type;
        in.from = from;
        in.to = to;
        in.value = value;
        in.rate = rate;
        return in;
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_store = std::make_unique<Store>(Store::Kind::Info);
        QVERIFY(m_store->isOpen());
    }
    void cleanup()
    {
        m_store.reset();
        m_env.reset();
    }

    void shortestText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("maxDigits");
        QTest::addColumn<QString>("text");
        const int ten = NumberText::resultDigits;
        // 12 × 25.4 is 304.79999999999995 in binary; a 4-byte float made it 304.79998779.
        QTest::newRow("binary noise hidden") << 12 * 25.4 << ten << "304.8";
        QTest::newRow("sum noise hidden") << 0.1 + 0.2 << ten << "0.3";
        QTest::newRow("exact rate kept") << 1.609344 << ten << "1.609344";
        QTest::newRow("capped at 10") << 1.0 / 3.0 << ten << "0.3333333333";
        QTest::newRow("cap rounds up") << 5.0 / 9.0 << ten << "0.5555555556";
        QTest::newRow("cap carries into a new digit") << 9999999999.6 << ten << "1E+10";
        QTest::newRow("ten whole digits") << 1234567890.0 << ten << "1234567890";
        QTest::newRow("eleven whole digits") << 12345678901.0 << ten << "1.23456789E+10";
        QTest::newRow("zeros before the point") << 1500000.0 << ten << "1500000";
        QTest::newRow("smallest fixed") << 0.0001 << ten << "0.0001";
        QTest::newRow("small") << 0.00001 << ten << "1E-05";
        QTest::newRow("small with digits") << 1.25e-7 << ten << "1.25E-07";
        QTest::newRow("large") << 1e20 << ten << "1E+20";
        QTest::newRow("three-digit exponent") << 2.5e-300 << ten << "2.5E-300";
        QTest::newRow("negative") << -40.0 << ten << "-40";
        QTest::newRow("zero") << 0.0 << ten << "0";
        QTest::newRow("negative zero") << -0.0 << ten << "0";
        QTest::newRow("every digit a double needs")
            << 0.1 + 0.2 << NumberText::allDigits << "0.30000000000000004";
        QTest::newRow("shortest below the cap") << 0.1 << NumberText::allDigits << "0.1";
    }
    void shortestText()
    {
        QFETCH(double, value);
        QFETCH(int, maxDigits);
        QTEST(NumberText::shortest(value, maxDigits), "text");
    }

    void roundedText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("text");
        QTest::newRow("binary noise rounded away") << 12 * 25.4 << 5 << "304.8";
        // 0.015625 and 0.046875 are exact in binary: true ties, kept to the even digit.
        QTest::newRow("tie to even, down") << 0.015625 << 5 << "0.01562";
        QTest::newRow("tie to even, up") << 0.046875 << 5 << "0.04688";
        QTest::newRow("five places beyond ten digits")
            << 1234567890.123456 << 5 << "1234567890.12346";
        QTest::newRow("nothing to round") << 6.241509074460763e18 << 5 << "6.241509074460763E+18";
        QTest::newRow("rounds to exponent form") << 0.0000149 << 5 << "1E-05";
        QTest::newRow("rounds to 0") << 0.000001 << 5 << "0";
    }
    void roundedText()
    {
        QFETCH(double, value);
        QFETCH(int, places);
        QTEST(NumberText::rounded(value, places), "text");
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("places");
        QTest::addColumn<double>("rounded");
        QTest::newRow("tie down to even") << 2.5 << 0 << 2.0;
        QTest::newRow("tie up to even") << 3.5 << 0 << 4.0;
        QTest::newRow("exact tie at 2 places") << 0.125 << 2 << 0.12;
        QTest::newRow("exact tie up at 2 places") << 0.375 << 2 << 0.38;
        QTest::newRow("binary below the tie") << 2.675 << 2 << 2.67;
        QTest::newRow("negative tie") << -2.5 << 0 << -2.0;
        QTest::newRow("carry through nines") << 9.9999951 << 5 << 10.0;
        QTest::newRow("3 places") << 4.828032 << 3 << 4.828;
        QTest::newRow("5 places") << 0.9290304 << 5 << 0.92903;
        QTest::newRow("above half") << 0.12500001 << 2 << 0.13;
        QTest::newRow("huge unchanged") << 1e300 << 5 << 1e300;
        QTest::newRow("zero") << 0.0 << 5 << 0.0;
    }
    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(int, places);
        QTEST(NumberText::roundHalfEven(value, places), "rounded");
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<double>("number");
        QTest::addColumn<double>("leading");
        QTest::newRow("plain") << "3" << true << 3.0 << 3.0;
        QTest::newRow("blanks") << "  2.5 " << true << 2.5 << 2.5;
        QTest::newRow("trailing text") << "12abc" << false << 0.0 << 12.0;
        QTest::newRow("text") << "abc" << false << 0.0 << 0.0;
        QTest::newRow("empty") << "" << false << 0.0 << 0.0;
        QTest::newRow("sign only") << "-" << false << 0.0 << 0.0;
        QTest::newRow("negative") << "-1.5m" << false << 0.0 << -1.5;
        QTest::newRow("exponent") << "1e3" << true << 1000.0 << 1000.0;
        QTest::newRow("broken exponent") << "2e" << false << 0.0 << 2.0;
        QTest::newRow("leading point") << ".5" << true << 0.5 << 0.5;
        QTest::newRow("non-ASCII digits") << QString::fromUtf8("\u0663") << false << 0.0 << 0.0;
    }
    void numbers()
    {
        QFETCH(QString, text);
        bool ok = true;
        const double n = NumberText::number(text, &ok);
        QTEST(ok, "isNumber");
        QTEST(n, "number");
        QTEST(NumberText::leadingNumber(text), "leading");
    }

    void convert_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("line");
        QTest::newRow("miles to km") << "Length"
                                     << "mile"
                                     << "km"
                                     << "3"
                                     << "3 mile = 4.828032  km";
        // Exact definitions give exact results; 4-byte floats showed 48 celsius as 86.39999.
        QTest::newRow("12 inch to mm") << "Length"
                                       << "inch"
                                       << "mm"
                                       << "12"
                                       << "12 inch = 304.8  mm";
        QTest::newRow("1 mile to km") << "Length"
                                      << "mile"
                                      << "km"
                                      << "1"
                                      << "1 mile = 1.609344  km";
        QTest::newRow("temperature") << "Temperature"
                                     << "celsius"
                                     << "fahrenheit"
                                     << "48"
                                     << "48 celsius = 86.4  fahrenheit";
        QTest::newRow("ten digits at most") << "Length"
                                            << "foot"
                                            << "yard"
                                            << "1"
                                            << "1 foot = 0.3333333333  yard";
        QTest::newRow("square feet") << "Area"
                                     << "sq foot"
                                     << "sq metre"
                                     << "10"
                                     << "10 sq foot = 0.9290304  sq metre";
        // Temperatures convert by the ratio of degree sizes alone.
        QTest::newRow("no offset") << "Temperature"
                                   << "celsius"
                                   << "fahrenheit"
                                   << "100"
                                   << "100 celsius = 180  fahrenheit";
        QTest::newRow("missing rate gives 0") << "Length"
                                              << "mile"
                                              << "Kg"
                                              << "3"
                                              << "3 mile = 0  Kg";
        QTest::newRow("not a number gives 0") << "Length"
                                              << "mile"
                                              << "km"
                                              << "abc"
                                              << "abc mile = 0  km";
        QTest::newRow("quote in unit") << "Length"
                                       << "o'clock"
                                       << "km"
                                       << "1"
                                       << "1 o'clock = 0  km";
        QTest::newRow("blank To: no line") << "Length"
                                           << "mile"
                                           << " "
                                           << "3"
                                           << "";
    }
    void convert()
    {
        QFETCH(QString, type);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, value);
        ConversionRates rates(*m_store);
        const UnitConverter::Converted out =
            UnitConverter(rates).convert(input(type, from, to, value));
        QVERIFY(out.message.isEmpty());
        QTEST(out.resultLine, "line");
    }

    void convertChecks_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("focus");
        QTest::newRow("no type") << ""
                                 << "mile"
                                 << "3"
                                 << "Conversion type not selected"
                                 << int(UnitConverter::Field::FromList);
        QTest::newRow("blank From")
            << "Length"
            << "  "
            << "3"
            << "From Unit cannot be left blank." << int(UnitConverter::Field::FromList);
        QTest::newRow("blank value")
            << "Length"
            << "mile"
            << " "
            << "Value cannot be left blank" << int(UnitConverter::Field::ValueBox);
    }
    void convertChecks()
    {
        QFETCH(QString, type);
        QFETCH(QString, from);
        QFETCH(QString, value);
        ConversionRates rates(*m_store);
        const auto out = UnitConverter(rates).convert(input(type, from, "km", value));
        QTEST(out.message, "message");
        QTEST(int(out.focus), "focus");
        QVERIFY(out.resultLine.isEmpty());
    }

    void rateLine_data()
    {
        QTest::addColumn<QString>("price");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("result");
        QTest::addColumn<QString>("line");
        QTest::newRow("price per target") << "100" << 1.0 << 4.0 << "Rate per cent = 25";
        QTest::newRow("two places, ties to even") << "1" << 1.0 << 8.0 << "Rate per cent = 0.12";
        QTest::newRow("result 0: not written") << "100" << 1.0 << 0.0 << "";
        QTest::newRow("price not a number") << "ten" << 1.0 << 4.0 << "";
        QTest::newRow("blank price") << "" << 1.0 << 4.0 << "";
    }
    void rateLine()
    {
        QFETCH(QString, price);
        QFETCH(double, value);
        QFETCH(double, result);
        QTEST(UnitConverter::rateLine(price, value, result, "cent").value_or(QString()), "line");
    }

    void landRateThroughConvert()
    {
        ConversionRates rates(*m_store);
        const auto out =
            UnitConverter(rates).convert(input("Land Area", "acre", "cent", "2", "5000"));
        QCOMPARE(out.resultLine, QStringLiteral("2 acre = 200  cent"));
        QCOMPARE(out.rateLine.value_or(QString()), QStringLiteral("Rate per cent = 50"));
    }

    void listings_data()
    {
        QTest::addColumn<UnitConverter::Listing>("listing");
        QTest::addColumn<int>("show"); // ShowUnit for the All variant's system test
        QTest::addColumn<QString>("expectedLine");
        QTest::addColumn<QString>("absentUnit");
        QTest::newRow("common: six spaces, no angstrom")
            << UnitConverter::Listing::Common << 0 << "km      0.001"
            << "angstrom";
        QTest::newRow("all: five spaces, every unit")
            << UnitConverter::Listing::All << 0 << "angstrom     10000000000"
            << "";
    }
    void listings()
    {
        QFETCH(UnitConverter::Listing, listing);
        QFETCH(QString, expectedLine);
        QFETCH(QString, absentUnit);
        ConversionRates rates(*m_store);
        const auto out = UnitConverter(rates).list(listing, input("Length", "metre", "", "1"));
        QVERIFY(out.message.isEmpty());
        QVERIFY(out.cleared);
        QVERIFY2(out.lines.contains(expectedLine), qPrintable(out.lines.join('|')));
        // Every target row is listed, more than the 13 lines the window once had room for.
        if (listing == UnitConverter::Listing::All)
            QCOMPARE(out.lines.size(),
                     rates.fromUnits("Length", ShowUnit::All, UnitSystem::AllUnits).size());
        for (const QString &line : out.lines)
            QVERIFY(absentUnit.isEmpty() || !line.startsWith(absentUnit));
    }

    void listedValues_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("line");
        // The first four showed single-precision digits (304.79999, 1609.34399, 86.39999,
        // 453.59235).
        QTest::newRow("12 inch") << "Length"
                                 << "inch"
                                 << "12"
                                 << "mm     304.8";
        QTest::newRow("1000 mile") << "Length"
                                   << "mile"
                                   << "1000"
                                   << "km     1609.344";
        QTest::newRow("48 celsius") << "Temperature"
                                    << "celsius"
                                    << "48"
                                    << "fahrenheit     86.4";
        QTest::newRow("1000 pound") << "Mass"
                                    << "pound"
                                    << "1000"
                                    << "Kg     453.59237";
        QTest::newRow("five places") << "Length"
                                     << "foot"
                                     << "1"
                                     << "yard     0.33333";
        QTest::newRow("tie kept even") << "Length"
                                       << "metre"
                                       << "0.015625"
                                       << "metre     0.01562";
        QTest::newRow("tie rounded up to even") << "Length"
                                                << "metre"
                                                << "0.046875"
                                                << "metre     0.04688";
    }
    void listedValues()
    {
        QFETCH(QString, type);
        QFETCH(QString, from);
        QFETCH(QString, value);
        QFETCH(QString, line);
        ConversionRates rates(*m_store);
        const auto out =
            UnitConverter(rates).list(UnitConverter::Listing::All, input(type, from, "", value));
        QVERIFY(out.message.isEmpty());
        QVERIFY2(out.lines.contains(line), qPrintable(out.lines.join('|')));
    }

    void listingMetricOnly()
    {
        ConversionRates rates(*m_store);
        UnitConverter::Input in = input("Length", "metre", "", "1");
        in.system = UnitSystem::Metric;
        const auto out = UnitConverter(rates).list(UnitConverter::Listing::All, in);
        QVERIFY(!out.lines.isEmpty());
        for (const QString &line : out.lines)
            QVERIFY2(!line.startsWith("inch") && !line.startsWith("mile"), qPrintable(line));
    }

    void listingChecks_data()
    {
        QTest::addColumn<UnitConverter::Listing>("listing");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("common blank value") << UnitConverter::Listing::Common << "metre"
                                            << ""
                                            << "Value cannot be left blank";
        QTest::newRow("common blank From") << UnitConverter::Listing::Common << ""
                                           << "1"
                                           << "From Unit cannot be left blank";
        QTest::newRow("all blank From") << UnitConverter::Listing::All << ""
                                        << "1"
                                        << "From cannot be left blank";
        QTest::newRow("ALL mode checks only the value") << UnitConverter::Listing::AnyType << ""
                                                        << "1"
                                                        << "";
    }
    void listingChecks()
    {
        QFETCH(UnitConverter::Listing, listing);
        QFETCH(QString, from);
        QFETCH(QString, value);
        QFETCH(QString, message);
        ConversionRates rates(*m_store);
        const auto out = UnitConverter(rates).list(listing, input("Length", from, "", value));
        QCOMPARE(out.message, message);
        QCOMPARE(out.cleared, message.isEmpty());
    }

    void listingRateLines()
    {
        ConversionRates rates(*m_store);
        const auto all = UnitConverter(rates).list(UnitConverter::Listing::All,
                                                   input("Land Area", "acre", "", "1", "4000"));
        const int cent = int(all.lines.indexOf(QRegularExpression("cent .*")));
        QVERIFY(cent >= 0);
        QCOMPARE(all.rateLines.value(cent).value_or(QString()),
                 QStringLiteral("Rate per cent = 40"));
        // The Common variant writes no rate lines.
        const auto common = UnitConverter(rates).list(UnitConverter::Listing::Common,
                                                      input("Land Area", "acre", "", "1", "4000"));
        for (const auto &line : common.rateLines)
            QVERIFY(!line);
    }

    void listingStopsAtRateItCannotCompute()
    {
        ConversionRates rates(*m_store);
        // A value of 0 makes every product 0: the All variant stops at the first rate line...
        const auto all = UnitConverter(rates).list(UnitConverter::Listing::All,
                                                   input("Length", "metre", "", "0", "10"));
        QCOMPARE(all.message, QStringLiteral("Division by zero"));
        QCOMPARE(all.lines.size(), 1);
        // ...ALL mode skips the lines and goes on.
        const auto any = UnitConverter(rates).list(UnitConverter::Listing::AnyType,
                                                   input("", "metre", "", "0", "10"));
        QVERIFY(any.message.isEmpty());
        QVERIFY(any.lines.size() > 1);
        const auto mismatch = UnitConverter(rates).list(UnitConverter::Listing::All,
                                                        input("Length", "metre", "", "1", "ten"));
        QCOMPARE(mismatch.message, QStringLiteral("Type mismatch"));
    }

    void allModeCrossesTypes()
    {
        ConversionRates rates(*m_store);
        // "acre" is a unit of Area and of Land Area.
        const auto any =
            UnitConverter(rates).list(UnitConverter::Listing::AnyType, input("", "acre", "", "1"));
        const auto area =
            UnitConverter(rates).list(UnitConverter::Listing::All, input("Area", "acre", "", "1"));
        const auto land = UnitConverter(rates).list(UnitConverter::Listing::All,
                                                    input("Land Area", "acre", "", "1"));
        QCOMPARE(any.lines.size(), area.lines.size() + land.lines.size());
        QVERIFY(any.lines.contains("cent     100"));
        QVERIFY(any.lines.contains("sq mile     0.00156"));
    }

    void failingQueryIsReported()
    {
        QVERIFY(m_store->exec(QStringLiteral("drop table NV_CONVERSION")));
        ConversionRates rates(*m_store);
        const auto out = UnitConverter(rates).list(UnitConverter::Listing::All,
                                                   input("Length", "metre", "", "1"));
        QVERIFY(!out.message.isEmpty());
        QVERIFY(out.lines.isEmpty());
        const auto any =
            UnitConverter(rates).list(UnitConverter::Listing::AnyType, input("", "metre", "", "1"));
        QVERIFY(any.message.isEmpty());
        QCOMPARE(UnitConverter(rates).convert(input("Length", "mile", "km", "3")).resultLine,
                 QStringLiteral("3 mile = 0  km"));
    }

    void geometry_data()
    {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<QStringList>("lengths"); // text, unit, text, unit, ...
        QTest::addColumn<Measure>("measure");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("line");
        QTest::newRow("square in sq foot")
            << Shape::Square << QStringList{"1", "foot"} << Measure::Diameter << "sq foot"
            << "Area of the Square =1 sq foot";
        QTest::newRow("square, base unit")
            << Shape::Square << QStringList{"3", "metre"} << Measure::Diameter << "metre"
            << "Area of the Square =9 metre square";
        QTest::newRow("rectangle, mixed units")
            << Shape::Rectangle << QStringList{"200", "cm", "3", "metre"} << Measure::Diameter
            << "sq metre"
            << "Area of the Square =6 sq metre";
        QTest::newRow("circle of diameter 2 m")
            << Shape::Circle << QStringList{"2", "metre"} << Measure::Diameter << "sq metre"
            << "Area of the circle is 3.14 sq metre";
        QTest::newRow("circle by radius")
            << Shape::Circle << QStringList{"1", "metre"} << Measure::Radius << "sq cm"
            << "Area of the circle is 31400 sq cm";
        QTest::newRow("unit without a row is metres")
            << Shape::Circle << QStringList{"2", "cubit"} << Measure::Diameter << "sq metre"
            << "Area of the circle is 3.14 sq metre";
        QTest::newRow("box") << Shape::Cube << QStringList{"1", "metre", "100", "cm", "1000", "mm"}
                             << Measure::Diameter << "litre"
                             << "Volume of the Cube =1000 litre";
        QTest::newRow("cylinder") << Shape::Cylinder << QStringList{"2", "metre", "1", "metre"}
                                  << Measure::Diameter << "cu metre"
                                  << "Volume of the Cylinder is 3.14 cu metre";
        QTest::newRow("sphere of radius 1 m")
            << Shape::Sphere << QStringList{"1", "metre"} << Measure::Radius << "cu metre"
            << "Volume of the sphere is 4.186666667 cu metre ";
        QTest::newRow("sphere by circumference")
            << Shape::Sphere << QStringList{"6.28", "metre"} << Measure::Circumference << "cu metre"
            << "Volume of the sphere is 4.186666667 cu metre ";
        QTest::newRow("square of 12 inch")
            << Shape::Square << QStringList{"12", "inch"} << Measure::Diameter << "sq cm"
            << "Area of the Square =929.0304 sq cm";
        QTest::newRow("empty measure is 0")
            << Shape::Sphere << QStringList{"", "metre"} << Measure::Radius << "litre"
            << "Volume of the sphere is 0 litre";
        QTest::newRow("leading number")
            << Shape::Square << QStringList{"2m", "metre"} << Measure::Diameter << "sq metre"
            << "Area of the Square =4 sq metre";
        QTest::newRow("result unit without a row")
            << Shape::Square << QStringList{"2", "metre"} << Measure::Diameter << "furlong"
            << "Area of the Square =0 furlong";
    }
    void geometry()
    {
        QFETCH(Shape, shape);
        QFETCH(QStringList, lengths);
        QFETCH(Measure, measure);
        QFETCH(QString, unit);
        GeometryCalculator::Request request;
        request.shape = shape;
        for (qsizetype i = 0; i + 1 < lengths.size(); i += 2)
            request.lengths.append({lengths.at(i), lengths.at(i + 1)});
        request.measure = measure;
        request.resultUnit = unit;
        const auto out = GeometryCalculator(*m_store).calculate(request);
        QVERIFY(out.message.isEmpty());
        QTEST(out.resultLine, "line");
        QVERIFY(out.lines.isEmpty());
        QVERIFY(!out.weightLine);
    }

    void geometryAllUnits()
    {
        GeometryCalculator calculator(*m_store);
        GeometryCalculator::Request request;
        request.shape = Shape::Circle;
        request.lengths = {{"2", "metre"}};
        request.resultUnit = GeometryCalculator::all;
        const auto out = calculator.calculate(request);
        QVERIFY(out.resultLine.isEmpty());
        QCOMPARE(out.lines.size(), std::min<qsizetype>(13, calculator.areaUnits().size()));
        QVERIFY2(out.lines.contains("314 are") || out.lines.contains("31400 sq cm"),
                 qPrintable(out.lines.join('|')));
        request.shape = Shape::Cube;
        request.lengths = {{"1", "metre"}, {"1", "metre"}, {"1", "metre"}};
        const auto cube = calculator.calculate(request);
        QCOMPARE(cube.lines.size(), 13); // the volume table has more units than lines
        QVERIFY(cube.lines.contains("1000 litre"));
    }

    void geometryBlankUnit_data()
    {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::newRow("circle") << Shape::Circle << "Unit is blank. Select a unit"
                                << "Nuvela Suite";
        QTest::newRow("sphere") << Shape::Sphere << "Unit cannot be blank. Select a unit"
                                << "Nuvela Conversion";
    }
    void geometryBlankUnit()
    {
        QFETCH(Shape, shape);
        GeometryCalculator::Request request;
        request.shape = shape;
        request.lengths = {{"2", ""}};
        request.resultUnit = "sq metre";
        const auto out = GeometryCalculator(*m_store).calculate(request);
        QTEST(out.message, "message");
        QTEST(out.title, "title");
        QVERIFY(out.resultLine.isEmpty());
    }

    void weight_data()
    {
        QTest::addColumn<QString>("material");
        QTest::addColumn<QString>("line");
        QTest::newRow("steel") << "Steel"
                               << "Weight of the cylinder=7850 Kg";
        QTest::newRow("material case ignored") << "steel"
                                               << "Weight of the cylinder=7850 Kg";
        QTest::newRow("no density row") << "unobtainium"
                                        << "Weight of the cylinder=0 Kg";
        QTest::newRow("quote in material") << "Rock'n roll"
                                           << "Weight of the cylinder=0 Kg";
    }
    void weight()
    {
        QFETCH(QString, material);
        GeometryCalculator::Request request;
        request.shape = Shape::Cylinder;
        // Radius 1 / sqrt(3.14) makes the base exactly 1 sq metre (within a double).
        request.lengths = {{QString::number(1 / std::sqrt(3.14), 'g', 17), "metre"},
                           {"1", "metre"}};
        request.measure = Measure::Radius;
        request.resultUnit = "cu metre";
        request.weight = true;
        request.material = material;
        QTEST(GeometryCalculator(*m_store).calculate(request).weightLine.value_or(QString()),
              "line");
    }

    void fixedSliders_data()
    {
        QTest::addColumn<Fixed>("slider");
        QTest::addColumn<int>("v");
        QTest::addColumn<QString>("text");
        QTest::newRow("100 C") << Fixed::CelsiusToFahrenheit << 100 << "212";
        QTest::newRow("0 C") << Fixed::CelsiusToFahrenheit << 0 << "32";
        QTest::newRow("-40 C") << Fixed::CelsiusToFahrenheit << -40 << "-40";
        QTest::newRow("3 miles") << Fixed::MilesToKm << 3 << "4.828";
        QTest::newRow("10 sq ft") << Fixed::SqFeetToSqMetres << 10 << "0.929";
        QTest::newRow("1 kg") << Fixed::KgToPounds << 1 << "2.205";
        QTest::newRow("1000 kg, no separator") << Fixed::KgToPounds << 1000 << "2205";
    }
    void fixedSliders()
    {
        QFETCH(Fixed, slider);
        QFETCH(int, v);
        QTEST(SliderConversions::fixedResult(slider, v), "text");
    }

    void customSlider()
    {
        SliderConversions sliders(*m_store);
        const auto rate = sliders.rate("celsius", "fahrenheit");
        QVERIFY(rate);
        QCOMPARE(SliderConversions::customResult(100, *rate, "celsius", "fahrenheit"), 212.0);
        // Only celsius to fahrenheit has its offset; the reverse goes by the rate alone.
        const auto back = sliders.rate("fahrenheit", "celsius");
        QVERIFY(back);
        QCOMPARE(NumberText::shortest(
                     SliderConversions::customResult(212, *back, "fahrenheit", "celsius")),
                 QStringLiteral("117.7777778"));
        QVERIFY(!sliders.rate("celsius", "Kg"));
        QVERIFY(sliders.types().contains("Temperature"));
        QVERIFY(sliders.fromUnits("Temperature").contains("celsius"));
        // The To list crosses types: "acre" reaches Area and Land Area units.
        const QStringList to = sliders.toUnits("acre");
        QVERIFY(to.contains("cent") && to.contains("sq inch"));
        QCOMPARE(SliderConversions::defaultFromUnit("Velocity").value_or(QString()),
                 QStringLiteral("km/h"));
        QVERIFY(!SliderConversions::defaultFromUnit("Luminance"));
    }
};

QTEST_GUILESS_MAIN(tst_ConversionsCore)
#include "tst_ConversionsCore.moc"
