// The browsing texts: the window's SQL as it has always been written, with names and values
// made safe, and what they select when run through the Jet layer.

#include "BrowseSql.h"
#include "DbTestFiles.h"
#include "JetSql.h"
#include "OpenedSource.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(BrowseSql::Path)
Q_DECLARE_METATYPE(ValueClass)

using Path = BrowseSql::Path;

class tst_BrowseSql : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void visibleFieldList_data();
    void visibleFieldList();
    void names_data();
    void names();
    void recordSources_data();
    void recordSources();
    void sortedSources_data();
    void sortedSources();
    void distinctValues_data();
    void distinctValues();
    void filterClauses_data();
    void filterClauses();
    void leadingNumber_data();
    void leadingNumber();
    void sortCaptions_data();
    void sortCaptions();
    void clausesSelectTheRows_data();
    void clausesSelectTheRows();
};

void tst_BrowseSql::visibleFieldList_data()
{
    QTest::addColumn<QList<BrowseSql::FieldView>>("fields");
    QTest::addColumn<QString>("list");
    QTest::newRow("no rows") << QList<BrowseSql::FieldView>{} << "";
    QTest::newRow("none visible") << QList<BrowseSql::FieldView>{{"a", false}, {"b", false}} << "";
    QTest::newRow("some visible") << QList<BrowseSql::FieldView>{{"a", true},
                                                                 {"b", false},
                                                                 {"Ship Name", true}}
                                  << "[a],[Ship Name]";
    QTest::newRow("one") << QList<BrowseSql::FieldView>{{"NAME", true}} << "[NAME]";
    QTest::newRow("closing bracket cannot end the name")
        << QList<BrowseSql::FieldView>{{"a]b", true}} << "[a)b]";
}

void tst_BrowseSql::visibleFieldList()
{
    QFETCH(QList<BrowseSql::FieldView>, fields);
    QFETCH(QString, list);
    QCOMPARE(BrowseSql::VisibleFieldList(fields), list);
}

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
    QTest::newRow("table file") << "people.dbf"
                                << "[people.dbf]"
                                << "people.dbf";
    QTest::newRow("file with blank") << "my data.csv"
                                     << "[my data.csv]"
                                     << "[my data.csv]";
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

void tst_BrowseSql::recordSources_data()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("text");
    QTest::newRow("driver, every field") << Path::Driver << "people.dbf"
                                         << ""
                                         << ""
                                         << "Select * from people.dbf  ";
    QTest::newRow("driver, visible fields") << Path::Driver << "people.dbf"
                                            << "[NAME],[AGE]"
                                            << ""
                                            << "Select [NAME],[AGE] from people.dbf  ";
    QTest::newRow("driver, filtered") << Path::Driver << "people.dbf"
                                      << ""
                                      << " where NAME ='Ann'"
                                      << "Select * from people.dbf   where NAME ='Ann'";
    QTest::newRow("driver, odd file name") << Path::Driver << "my cars.csv"
                                           << ""
                                           << ""
                                           << "Select * from [my cars.csv]  ";
    QTest::newRow("access, every field") << Path::Access << "Order Details"
                                         << ""
                                         << ""
                                         << "Select * from [Order Details]";
    QTest::newRow("access, visible fields") << Path::Access << "Orders"
                                            << "[OrderID]"
                                            << ""
                                            << "Select [OrderID] from Orders";
    QTest::newRow("access, visible fields of a table with a blank")
        << Path::Access << "Order Details"
        << "[OrderID]"
        << " where OrderID=3"
        << "Select [OrderID] from [Order Details] where OrderID=3";
}

void tst_BrowseSql::recordSources()
{
    QFETCH(Path, path);
    QFETCH(QString, table);
    QFETCH(QString, list);
    QFETCH(QString, where);
    QFETCH(QString, text);
    QCOMPARE(BrowseSql::recordSource(path, table, list, where), text);
}

void tst_BrowseSql::sortedSources_data()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QString>("text");
    QTest::newRow("access") << Path::Access << ""
                            << "" << false << "Select * from [T] order by [F]";
    QTest::newRow("driver") << Path::Driver << ""
                            << "" << false << "Select * from t.dbf order by F";
    QTest::newRow("driver keeps the view")
        << Path::Driver << "[F],[G]"
        << " where G=1" << true << "Select [F],[G] from t.dbf where G=1 order by F desc";
}

void tst_BrowseSql::sortedSources()
{
    QFETCH(Path, path);
    QFETCH(QString, list);
    QFETCH(QString, where);
    QFETCH(bool, descending);
    QFETCH(QString, text);
    const QString table = path == Path::Access ? QStringLiteral("T") : QStringLiteral("t.dbf");
    QCOMPARE(BrowseSql::sortedSource(path, table, list, where, QStringLiteral("F"), descending),
             text);
}

void tst_BrowseSql::distinctValues_data()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("access") << Path::Access << "Orders"
                            << "ShipCity"
                            << " select distinct [ShipCity] from  Orders where [ShipCity] is not "
                               "null  order by [ShipCity]";
    QTest::newRow("driver") << Path::Driver << "people.dbf"
                            << "NAME"
                            << " select distinct NAME from  people.dbf where NAME is not null "
                               "order by NAME";
    QTest::newRow("driver, field with a blank")
        << Path::Driver << "FILMS.DB"
        << "Film Title"
        << " select distinct [Film Title] from  FILMS.DB where [Film Title] is not null order by "
           "[Film Title]";
}

void tst_BrowseSql::distinctValues()
{
    QFETCH(Path, path);
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QCOMPARE(BrowseSql::distinctValues(path, table, field), text);
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
    QTest::newRow("text with a quote") << ValueClass::Text << "NAME"
                                       << "O'Neil"
                                       << " where NAME ='O''Neil'";
    QTest::newRow("text that tries to end the statement") << ValueClass::Text << "NAME"
                                                          << "x' or 1=1 --"
                                                          << " where NAME ='x'' or 1=1 --'";
    QTest::newRow("number") << ValueClass::Number << "AGE"
                            << "42"
                            << " where AGE=42";
    QTest::newRow("number with letters after it") << ValueClass::Number << "AGE"
                                                  << "12abc"
                                                  << " where AGE=12";
    QTest::newRow("number, no digits") << ValueClass::Number << "AGE"
                                       << "abc"
                                       << " where AGE=0";
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
    QTest::newRow("yes as number") << ValueClass::Yes << "ACTIVE"
                                   << "1"
                                   << " where ACTIVE=1";
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
    QTest::newRow("digits") << "42" << 42.0;
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

void tst_BrowseSql::sortCaptions_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << "Sort By NAME"
                           << "NAME";
    QTest::newRow("blank in the field") << "Sort By Ship City"
                                        << "Ship City";
    QTest::newRow("trailing blanks") << "Sort By  AGE  "
                                     << "AGE";
    QTest::newRow("too short") << "Sort"
                               << "";
}

void tst_BrowseSql::sortCaptions()
{
    QFETCH(QString, caption);
    QFETCH(QString, field);
    QCOMPARE(BrowseSql::sortCaptionField(caption), field);
    if (!field.isEmpty())
        QCOMPARE(BrowseSql::sortCaptionField(BrowseSql::sortCaption(field)), field);
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
    QVERIFY(!path.isEmpty());
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
