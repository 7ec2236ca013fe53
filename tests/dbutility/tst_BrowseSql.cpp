// The browsing texts: the window's SQL as it has always been written, with names and values
// made safe, and what they select when run through the Jet layer.

#include "BrowseSql.h"
#include "DbTestFiles.h"
#include "JetSql.h"
#include "OpenedSource.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(ValueClass)

using Path = BrowseSql::Path;

class tst_BrowseSql : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data();
    void names();
    void texts_data();
    void texts();
    void filterClauses_data();
    void filterClauses();
    void leadingNumber_data();
    void leadingNumber();
    void clausesSelectTheRows_data();
    void clausesSelectTheRows();
};

void tst_BrowseSql::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("bare");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << "NAME"
                           << "NAME"
                           << "NAME";
    QTest::newRow("blank") << "Ship Name"
                           << "[Ship Name]"
                           << "[Ship Name]";
    QTest::newRow("leading digit") << "2nd"
                                   << "[2nd]"
                                   << "[2nd]";
    QTest::newRow("keyword") << "ORDER"
                             << "[ORDER]"
                             << "[ORDER]";
    QTest::newRow("jet word") << "True"
                              << "[True]"
                              << "[True]";
    QTest::newRow("non-ASCII") << "Währung"
                               << "[Währung]"
                               << "[Währung]";
    QTest::newRow("closing bracket") << "a]b"
                                     << "[a)b]"
                                     << "[a)b]";
    QTest::newRow("table file") << "people.dbf"
                                << "[people.dbf]"
                                << "people.dbf";
    QTest::newRow("file named after a schema") << "main.dbf"
                                               << "[main.dbf]"
                                               << "[main.dbf]";
    QTest::newRow("file named after a keyword") << "order.dbf"
                                                << "[order.dbf]"
                                                << "[order.dbf]";
    QTest::newRow("two dots") << "a.b.dbf"
                              << "[a.b.dbf]"
                              << "[a.b.dbf]";
}

void tst_BrowseSql::names()
{
    QFETCH(QString, name);
    QFETCH(QString, bare);
    QFETCH(QString, file);
    QCOMPARE(BrowseSql::bareName(name), bare);
    QCOMPARE(BrowseSql::fileTableName(name), file);
}

void tst_BrowseSql::texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const auto source = &BrowseSql::recordSource;
    QTest::newRow("driver, every field")
        << source(Path::Driver, "people.dbf", "", "") << "Select * from people.dbf  ";
    QTest::newRow("driver, visible fields, filtered")
        << source(
               Path::Driver, "people.dbf",
               BrowseSql::VisibleFieldList({{"NAME", true}, {"AGE", false}, {"Ship Name", true}}),
               " where NAME ='Ann'")
        << "Select [NAME],[Ship Name] from people.dbf   where NAME ='Ann'";
    QTest::newRow("driver, none visible")
        << source(Path::Driver, "my cars.csv", BrowseSql::VisibleFieldList({{"A", false}}), "")
        << "Select * from [my cars.csv]  ";
    QTest::newRow("access, every field")
        << source(Path::Access, "Order Details", "", "") << "Select * from [Order Details]";
    QTest::newRow("access, visible fields")
        << source(Path::Access, "Orders", "[OrderID]", "") << "Select [OrderID] from Orders";
    QTest::newRow("access, sorted")
        << BrowseSql::sortedSource(Path::Access, "T", "", "", "F", false)
        << "Select * from [T] order by [F]";
    QTest::newRow("driver, sorted")
        << BrowseSql::sortedSource(Path::Driver, "t.dbf", "", "", "F", false)
        << "Select * from t.dbf order by F";
    QTest::newRow("driver, sorted view kept")
        << BrowseSql::sortedSource(Path::Driver, "t.dbf", "[F],[G]", " where G=1", "F", true)
        << "Select [F],[G] from t.dbf where G=1 order by F desc";
    QTest::newRow("access, filter box values")
        << BrowseSql::distinctValues(Path::Access, "Orders", "ShipCity")
        << " select distinct [ShipCity] from  Orders where [ShipCity] is not null  order by "
           "[ShipCity]";
    QTest::newRow("driver, filter box values")
        << BrowseSql::distinctValues(Path::Driver, "FILMS.DB", "Film Title")
        << " select distinct [Film Title] from  FILMS.DB where [Film Title] is not null order "
           "by [Film Title]";
}

void tst_BrowseSql::texts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void tst_BrowseSql::filterClauses_data()
{
    QTest::addColumn<ValueClass>("valueClass");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("clause");
    QTest::newRow("text") << ValueClass::Text << "NAME"
                          << "Ann"
                          << " where NAME ='Ann'";
    QTest::newRow("text that tries to end the statement") << ValueClass::Text << "NAME"
                                                          << "x' or 1=1 --"
                                                          << " where NAME ='x'' or 1=1 --'";
    QTest::newRow("number with letters after it") << ValueClass::Number << "AGE"
                                                  << "12abc"
                                                  << " where AGE=12";
    QTest::newRow("decimal") << ValueClass::Number << "PRICE"
                             << "3.25"
                             << " where PRICE=3.25";
    QTest::newRow("date") << ValueClass::Date << "BORN"
                          << "1994-03-12"
                          << " where BORN =#1994-03-12 00:00:00#";
    QTest::newRow("date and time") << ValueClass::Date << "SEEN"
                                   << "2020-01-02 13:45:00"
                                   << " where SEEN =#2020-01-02 13:45:00#";
    QTest::newRow("no date") << ValueClass::Date << "BORN"
                             << "soon"
                             << " where BORN ='soon'";
    QTest::newRow("yes as word") << ValueClass::Yes << "ACTIVE"
                                 << "True"
                                 << " where ACTIVE=true";
    QTest::newRow("yes, anything else quoted") << ValueClass::Yes << "ACTIVE"
                                               << "1;drop"
                                               << " where ACTIVE='1;drop'";
    QTest::newRow("field with a blank") << ValueClass::Text << "Ship City"
                                        << "Rome"
                                        << " where [Ship City] ='Rome'";
    QTest::newRow("no class") << ValueClass::None << "PHOTO"
                              << "x"
                              << "";
}

void tst_BrowseSql::filterClauses()
{
    QFETCH(ValueClass, valueClass);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, clause);
    QCOMPARE(BrowseSql::filterClause(valueClass, field, value), clause);
}

void tst_BrowseSql::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::newRow("digits then letters") << "12abc" << 12.0;
    QTest::newRow("blanks inside") << " 1 2 3" << 123.0;
    QTest::newRow("negative decimal") << "-3.5kg" << -3.5;
    QTest::newRow("exponent") << "1e3x" << 1000.0;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("letters first") << "abc12" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
}

void tst_BrowseSql::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(BrowseSql::leadingNumber(text), number);
}

void tst_BrowseSql::clausesSelectTheRows_data()
{
    QTest::addColumn<ValueClass>("valueClass");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("text ignores case") << ValueClass::Text << "NAME"
                                       << "alice" << QStringList{"Alice", "alice"};
    QTest::newRow("text with a quote") << ValueClass::Text << "NAME"
                                       << "O'Neil" << QStringList{"O'Neil"};
    QTest::newRow("number") << ValueClass::Number << "AGE"
                            << "25 years" << QStringList{"bob"};
    QTest::newRow("date") << ValueClass::Date << "BORN"
                          << "1994-03-12" << QStringList{"Alice"};
    QTest::newRow("yes") << ValueClass::Yes << "ACTIVE"
                         << "1" << QStringList{"Alice", "O'Neil"};
    QTest::newRow("no") << ValueClass::Yes << "ACTIVE"
                        << "False" << QStringList{"bob", "alice"};
}

void tst_BrowseSql::clausesSelectTheRows()
{
    QFETCH(ValueClass, valueClass);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    const QString path =
        MakePeopleDbf(dir.filePath(QStringLiteral("people.dbf")), {{"Alice", 30, "1994-03-12", 1},
                                                                   {"bob", 25, "1999-07-01", 0},
                                                                   {"O'Neil", 41, {}, 1},
                                                                   {"alice", 52, "1972-01-30", 0}});
    QString error;
    auto source = OpenedSource::open(path, DbKind::None, &error);
    QVERIFY2(source, qPrintable(error));
    QSqlQuery query(source->connection());
    const QString text = BrowseSql::recordSource(Path::Driver, QStringLiteral("people.dbf"),
                                                 QStringLiteral("[NAME]"),
                                                 BrowseSql::filterClause(valueClass, field, value));
    QVERIFY2(query.exec(JetSql::translate(text)), qPrintable(query.lastError().text()));
    QStringList found;
    while (query.next())
        found << query.value(0).toString();
    QCOMPARE(found, names);
}

QTEST_GUILESS_MAIN(tst_BrowseSql)
#include "tst_BrowseSql.moc"
