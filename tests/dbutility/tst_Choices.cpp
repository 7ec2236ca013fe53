// The value lists of fields (favchoices) and the choice catalogue (cla_dbchoices): built-in kinds
// read from the information store's shipped tables, other kinds from the data store, the value
// query's texts, and stores made by an older version given the kinds on first use.

#include "ChoiceCatalogue.h"
#include "FieldChoices.h"
#include "Store.h"
#include "TestEnvironment.h"

#include <QTest>

class tst_Choices : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void builtInKindsReadTheInformationStore_data();
    void builtInKindsReadTheInformationStore();
    void kindsAreListedInOrder();
    void otherKindsReadTheDataStore_data();
    void otherKindsReadTheDataStore();
    void valueQueryTexts_data();
    void valueQueryTexts();
    void olderStoresGetTheKindsOnce();
    void fieldHoldsEachValueOnce();
    void fieldsKeepTheirOwnLists();
};

void tst_Choices::builtInKindsReadTheInformationStore_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("some");

    QTest::newRow("countries") << "COUNTRY" << 249
                               << QStringList{"Switzerland", "Côte d'Ivoire", "Türkiye"};
    QTest::newRow("cities") << "city" << 421
                            << QStringList{"Bern", "São Paulo", "Washington, D.C."};
    QTest::newRow("first names") << "FIRST" << 164 << QStringList{"Olivia", "Mohammed"};
    QTest::newRow("last names") << "LAST" << 171 << QStringList{"Smith", "Schröder"};
    QTest::newRow("nicknames") << "NICK" << 98 << QStringList{"Bob", "Liz"};
    QTest::newRow("zodiac") << "ZODIC-SIGN" << 12 << QStringList{"Aries", "Pisces"};
    QTest::newRow("units") << "UNIT" << -1 << QStringList{"metre", "sq km"};
    QTest::newRow("unit types") << "UNIT-TYPE" << -1 << QStringList{"Length", "Area"};
    QTest::newRow("companies") << "COMPANY NAME" << 40 << QStringList{"Bramblewick Pumps Ltd"};
    QTest::newRow("magazines") << "MAGAZINE NAME" << 30 << QStringList{"Nightjar Astronomy"};
}

void tst_Choices::builtInKindsReadTheInformationStore()
{
    QFETCH(QString, kind);
    QFETCH(int, count);
    QFETCH(QStringList, some);
    Store data(Store::Kind::Data);
    Store info(Store::Kind::Info);
    ChoiceCatalogue catalogue(data, info);
    QVERIFY(catalogue.prepare());
    const QStringList values = catalogue.values(kind, false);
    if (count >= 0)
        QCOMPARE(values.size(), count);
    else
        QVERIFY(values.size() > 5);
    for (const QString &value : some)
        QVERIFY2(values.contains(value), qPrintable(value));
    // Companies and magazines share a table: neither kind sees the other's names.
    if (kind == QLatin1String("COMPANY NAME"))
        QVERIFY(!values.contains(QStringLiteral("Nightjar Astronomy")));
    // Units read the conversion table the Conversions window reads, not a copy of it.
    if (kind == QLatin1String("UNIT"))
        QCOMPARE(values, info.column(QStringLiteral("select distinct UNIT1 from NV_CONVERSION")));
    QVERIFY(data.column(QStringLiteral("select name from sqlite_master where name like 'NV_%'"))
                .isEmpty());
}

void tst_Choices::kindsAreListedInOrder()
{
    Store data(Store::Kind::Data);
    Store info(Store::Kind::Info);
    ChoiceCatalogue catalogue(data, info);
    QVERIFY(catalogue.prepare());
    data.exec(QStringLiteral("insert into cla_dbchoices (Engname) values ('')"));
    data.exec(QStringLiteral("insert into cla_dbchoices (Engname) values ('Brands')"));
    QStringList expected = ChoiceCatalogue::builtInKinds() << QStringLiteral("Brands");
    std::sort(expected.begin(), expected.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QCOMPARE(catalogue.kinds(), expected);
}

void tst_Choices::otherKindsReadTheDataStore_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("national");
    QTest::addColumn<bool>("nationalFlag");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("plain") << ""
                           << "" << false << QStringList{"red", "blue", "amber"};
    QTest::newRow("condition") << "shade='dark'"
                               << "" << false << QStringList{"blue", "red"};
    QTest::newRow("national, flag off") << ""
                                        << "warm" << false << QStringList{"red", "amber"};
    QTest::newRow("national, flag on") << ""
                                       << "warm" << true << QStringList{"red", "blue", "amber"};
    QTest::newRow("both, flag off") << "shade='dark'"
                                    << "warm" << false << QStringList{"red"};
}

void tst_Choices::otherKindsReadTheDataStore()
{
    QFETCH(QString, value);
    QFETCH(QString, national);
    QFETCH(bool, nationalFlag);
    QFETCH(QStringList, expected);
    Store data(Store::Kind::Data);
    Store info(Store::Kind::Info);
    for (const char *sql :
         {"create table colours (colour text, shade text, warm text)",
          "insert into colours values ('red', 'light', 'C'), ('blue', 'dark', 'X'), "
          "('amber', 'light', 'C'), ('', 'light', 'C'), ('red', 'dark', 'C')"})
        QVERIFY(data.exec(QLatin1String(sql)));
    // The same name in the information store must not be the one read.
    QVERIFY(info.exec(QStringLiteral("create table colours (colour text)")));
    QVERIFY(info.exec(QStringLiteral("insert into colours values ('wrong store')")));
    QVERIFY(data.exec(
        QStringLiteral("insert into cla_dbchoices values ('Colours', 'colours', "
                       "'colour', %1, %2)")
            .arg(value.isEmpty() ? QStringLiteral("NULL") : "'" + value.replace("'", "''") + "'",
                 national.isEmpty() ? QStringLiteral("NULL") : "'" + national + "'")));
    ChoiceCatalogue catalogue(data, info);
    QCOMPARE(catalogue.values(QStringLiteral("colours"), nationalFlag), expected);
    QVERIFY(catalogue.values(QStringLiteral("no such kind"), nationalFlag).isEmpty());
}

void tst_Choices::valueQueryTexts_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("national");
    QTest::addColumn<bool>("nationalFlag");
    QTest::addColumn<QString>("text");

    QTest::newRow("neither") << ""
                             << "" << false << "SELECT distinct F FROM T where len(F)  <> 0";
    QTest::newRow("national") << ""
                              << "N" << false
                              << "SELECT distinct F from T where len(F)  <> 0  and N='C'";
    QTest::newRow("national, flag on")
        << ""
        << "N" << true << "SELECT distinct F from T where len(F)  <> 0 ";
    QTest::newRow("value") << "V=1"
                           << "" << false << "SELECT distinct F FROM T WHERE len(F)  <> 0 AND V=1";
    QTest::newRow("both") << "V=1"
                          << "N" << false
                          << "SELECT distinct F FROM T WHERE len(F)  <> 0 AND V=1 and N='C'";
    QTest::newRow("both, flag on")
        << "V=1"
        << "N" << true << "SELECT distinct F FROM T WHERE len(F)  <> 0 AND V=1";
}

void tst_Choices::valueQueryTexts()
{
    QFETCH(QString, value);
    QFETCH(QString, national);
    QFETCH(bool, nationalFlag);
    QFETCH(QString, text);
    ChoiceCatalogue::Kind kind{QStringLiteral("T"), QStringLiteral("F"), value, national, false};
    QCOMPARE(ChoiceCatalogue::valueQuery(kind, nationalFlag), text);
}

void tst_Choices::olderStoresGetTheKindsOnce()
{
    {
        // A store as an older version made it: the catalogue empty, no value tables.
        Store data(Store::Kind::Data);
        QVERIFY(data.value(QStringLiteral("select count(*) from cla_dbchoices")).toInt() == 0);
    }
    Store data(Store::Kind::Data);
    Store info(Store::Kind::Info);
    QVERIFY(info.column(QStringLiteral("select name from sqlite_master where name = 'NV_CITY'"))
                .isEmpty());
    ChoiceCatalogue catalogue(data, info);
    QVERIFY(catalogue.prepare());
    QVERIFY(catalogue.prepare());
    QCOMPARE(data.value(QStringLiteral("select count(*) from cla_dbchoices")).toInt(), 10);
    QCOMPARE(info.value(QStringLiteral("select count(*) from NV_CITY")).toInt(), 421);
    // A kind the user changed is left as it is.
    QVERIFY(data.exec(QStringLiteral(
        "update cla_dbchoices set tablename='NV_COUNTRY', Fieldname='Name' where Engname='CITY'")));
    QVERIFY(catalogue.prepare());
    QCOMPARE(catalogue.values(QStringLiteral("CITY"), false).size(), 249);
}

void tst_Choices::fieldHoldsEachValueOnce()
{
    Store data(Store::Kind::Data);
    FieldChoices choices(data);
    const FieldChoices::Field field{QStringLiteral("/d/o'brien.dbf"), QStringLiteral("o'brien.dbf"),
                                    QStringLiteral("CITY")};
    QVERIFY(choices.add(field, QStringLiteral("Bern")));
    QVERIFY(choices.add(field, QStringLiteral("Zürich")));
    QVERIFY(!choices.add(field, QStringLiteral("Bern")));
    QVERIFY(!choices.add(field, QStringLiteral("BERN")));
    QVERIFY(!choices.add(field, QString()));
    QCOMPARE(choices.choices(field), (QStringList{"Bern", "Zürich"}));
    QCOMPARE(data.value(QStringLiteral("select count(*) from favchoices")).toInt(), 2);
    choices.remove(field, QStringLiteral("bern"));
    QCOMPARE(choices.choices(field), QStringList{"Zürich"});
    choices.replace(field, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("A"), {}});
    QCOMPARE(choices.choices(field), (QStringList{"a", "b"}));
}

void tst_Choices::fieldsKeepTheirOwnLists()
{
    Store data(Store::Kind::Data);
    FieldChoices choices(data);
    const FieldChoices::Field a{QStringLiteral("/d/p.dbf"), QStringLiteral("p.dbf"),
                                QStringLiteral("NAME")};
    FieldChoices::Field otherField = a;
    otherField.field = QStringLiteral("CITY");
    FieldChoices::Field otherTable = a;
    otherTable.table = QStringLiteral("q.dbf");
    FieldChoices::Field otherPath = a;
    otherPath.path = QStringLiteral("/e/p.dbf");
    QVERIFY(choices.add(a, QStringLiteral("x")));
    for (const FieldChoices::Field &other : {otherField, otherTable, otherPath}) {
        QVERIFY(choices.choices(other).isEmpty());
        QVERIFY(choices.add(other, QStringLiteral("x")));
    }
    choices.replace(otherField, {QStringLiteral("y")});
    choices.remove(otherTable, QStringLiteral("x"));
    QCOMPARE(choices.choices(a), QStringList{"x"});
    QCOMPARE(choices.choices(otherPath), QStringList{"x"});
    QCOMPARE(choices.choices(otherField), QStringList{"y"});
    QVERIFY(choices.choices(otherTable).isEmpty());
}

QTEST_GUILESS_MAIN(tst_Choices)
#include "tst_Choices.moc"
