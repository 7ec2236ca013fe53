// The Database utility's SQL texts, through the Jet layer, on every kind of foreign source.

#include "TestFiles.h"
#include "DbfTable.h"
#include "FieldTypeNames.h"
#include "ForeignDatabase.h"
#include "JetSql.h"
#include "SqlText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// Runs a Jet SQL text on a foreign database; returns the rows, or fails with the engine's message.
QList<QVariantList> run(const ForeignDatabase &database, const QString &jetSql,
                        QString *error = nullptr)
{
    QSqlQuery query(database.connection());
    QList<QVariantList> rows;
    if (!query.exec(JetSql::translate(jetSql))) {
        if (error)
            *error = query.lastError().text();
        return rows;
    }
    while (query.next()) {
        QVariantList row;
        for (int c = 0; c < query.record().count(); ++c)
            row.append(query.value(c));
        rows.append(row);
    }
    if (error)
        error->clear();
    return rows;
}

QStringList column(const QList<QVariantList> &rows, int index = 0)
{
    QStringList values;
    for (const QVariantList &row : rows)
        values.append(row.value(index).toString());
    return values;
}

QByteArray hashOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// people.dbf: a (C 12), b (N 6.0), d (D), y (L), m (M), with three rows.
QString makePeople(const QTemporaryDir &dir, const QString &fileName = QStringLiteral("people.dbf"))
{
    const QString path = dir.filePath(fileName);
    QString error;
    if (!DbfTable::create(path,
                          {{QStringLiteral("a"), 'C', 12, 0},
                           {QStringLiteral("b"), 'N', 6, 0},
                           {QStringLiteral("d"), 'D', 8, 0},
                           {QStringLiteral("y"), 'L', 1, 0},
                           {QStringLiteral("m"), 'M', 10, 0}},
                          0x83, 1252, &error))
        return {};
    auto table = DbfTable::open(path, SourceOptions(), &error);
    if (!table || !table->beginWrite(&error))
        return {};
    const QList<QMap<int, QVariant>> rows{
        {{0, QStringLiteral("Alice")},
         {1, 30},
         {2, QStringLiteral("1994-03-12")},
         {3, 1},
         {4, QStringLiteral("likes tea")}},
        {{0, QStringLiteral("bob")}, {1, 25}, {2, QStringLiteral("1999-07-01")}, {3, 0}},
        {{0, QStringLiteral("O'Neil")}, {1, 41}, {3, 1}, {4, QStringLiteral("quote's here")}},
    };
    for (const auto &row : rows) {
        qint64 slot = 0;
        if (!table->insertRow(row, &slot, &error))
            return {};
    }
    return table->commitWrite(&error) ? path : QString();
}

} // namespace

class TestDbSourcesSql : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableNamesAsJetWritesThem_data();
    void tableNamesAsJetWritesThem();
    void filterClauses_data();
    void filterClauses();
    void distinctValuesSorted();
    void sortedRead();
    void writesReachTheFile();
    void failedStatementChangesNothing();
    void folderOfTables();
    void quoteAndNonAsciiInFileName();
    void csvThroughSql();
    void accessSql();
    void accessRefusesWrites();
    void paradoxSql();
};

void TestDbSourcesSql::tableNamesAsJetWritesThem_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("rows");

    QTest::newRow("file name, two blanks") << "Select * from people.dbf  " << 3;
    QTest::newRow("visible list") << "Select [a],[b] from people.dbf  " << 3;
    QTest::newRow("bracketed file name") << "Select * from [people.dbf]" << 3;
    QTest::newRow("base name") << "select * from people" << 3;
    QTest::newRow("distinct of non-Access sources")
        << " select distinct a from  people.dbf where a is not null order by a" << 3;
}

void TestDbSourcesSql::tableNamesAsJetWritesThem()
{
    QFETCH(QString, sql);
    QFETCH(int, rows);
    QTemporaryDir dir;
    const QString path = makePeople(dir);
    QVERIFY(!path.isEmpty());
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    QCOMPARE(database->tableNames(), QStringList{QStringLiteral("people.dbf")});
    const QList<QVariantList> result = run(*database, sql, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(result.size(), rows);
}

void TestDbSourcesSql::filterClauses_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("names");

    // Clauses built as the filter boxes build them, by the field's value class.
    QTest::newRow("text, other case") << "a"
                                      << "ALICE" << QStringList{"Alice"};
    QTest::newRow("text with quote") << "a"
                                     << "O'Neil" << QStringList{"O'Neil"};
    QTest::newRow("number") << "b"
                            << "25" << QStringList{"bob"};
    QTest::newRow("number with letters") << "b"
                                         << "41abc" << QStringList{"O'Neil"};
    QTest::newRow("date") << "d"
                          << "12-Mar-1994" << QStringList{"Alice"};
    QTest::newRow("yes") << "y"
                         << "true" << QStringList{"Alice", "O'Neil"};
    QTest::newRow("no") << "y"
                        << "false" << QStringList{"bob"};
    QTest::newRow("memo") << "m"
                          << "likes tea" << QStringList{"Alice"};
}

void TestDbSourcesSql::filterClauses()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    const QString path = makePeople(dir);
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    const SourceTable *table = database->table(QStringLiteral("people.dbf"));
    QString typeName;
    for (const SourceField &f : table->fields()) {
        if (f.name == field)
            typeName = database->typeName(f);
    }
    QString clause;
    switch (FieldTypeNames::valueClass(typeName)) {
    case ValueClass::Text:
        clause = QStringLiteral(" where ") + field + QStringLiteral(" =") + SqlText::literal(value);
        break;
    case ValueClass::Number:
        clause = QStringLiteral(" where ") + field + QStringLiteral("=") +
                 QString::number(QStringView(value).left(2).toInt());
        break;
    case ValueClass::Date:
        clause =
            QStringLiteral(" where ") + field + QStringLiteral(" =#") + value + QStringLiteral("#");
        break;
    case ValueClass::Yes:
        clause = QStringLiteral(" where ") + field + QStringLiteral("=") + value;
        break;
    case ValueClass::None:
        QFAIL(qPrintable(QStringLiteral("no value class for %1 (%2)").arg(field, typeName)));
    }
    const QList<QVariantList> rows =
        run(*database, QStringLiteral("Select * from people.dbf  ") + clause, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error + QStringLiteral(" in ") + clause));
    QCOMPARE(column(rows), names);
}

void TestDbSourcesSql::distinctValuesSorted()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cities.dbf"));
    QString error;
    QVERIFY(DbfTable::create(path, {{QStringLiteral("City"), 'C', 10, 0}}, 0x03, 1252, &error));
    {
        auto table = DbfTable::open(path, SourceOptions(), &error);
        QVERIFY(table->beginWrite(&error));
        for (const QVariant &city :
             {QVariant(QStringLiteral("Paris")), QVariant(), QVariant(QStringLiteral("berlin")),
              QVariant(QStringLiteral("PARIS")), QVariant(QStringLiteral("Athens"))}) {
            qint64 slot = 0;
            QVERIFY2(table->insertRow({{0, city}}, &slot, &error), qPrintable(error));
        }
        QVERIFY2(table->commitWrite(&error), qPrintable(error));
    }
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    // Text compares without regard to case, as in Jet: Paris and PARIS are one value.
    const QList<QVariantList> rows =
        run(*database,
            QStringLiteral(
                " select distinct City from  cities.dbf where City is not null order by City"),
            &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(column(rows).at(0), QStringLiteral("Athens"));
    QCOMPARE(column(rows).at(1), QStringLiteral("berlin"));
    QCOMPARE(column(rows).at(2).toLower(), QStringLiteral("paris"));
}

void TestDbSourcesSql::sortedRead()
{
    QTemporaryDir dir;
    const QString path = makePeople(dir);
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    QCOMPARE(column(run(*database, QStringLiteral("Select * from people.dbf order by b"))),
             (QStringList{"bob", "Alice", "O'Neil"}));
    QCOMPARE(column(run(*database, QStringLiteral("Select * from people.dbf order by a"))),
             (QStringList{"Alice", "bob", "O'Neil"}));
}

void TestDbSourcesSql::writesReachTheFile()
{
    QTemporaryDir dir;
    const QString path = makePeople(dir);
    QString error;
    {
        auto database = ForeignDatabase::open(path, SourceOptions(), &error);
        QVERIFY2(database, qPrintable(error));
        run(*database, QStringLiteral("Update people.dbf set b=31, m='changed' where a='alice'"),
            &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        run(*database,
            QStringLiteral("Insert into people.dbf (a, b, d) values ('Zoe', 7, #01-Feb-2003#)"),
            &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        run(*database, QStringLiteral("Delete * from people.dbf where a='bob'"), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(run(*database, QStringLiteral("select count(*) from people")).at(0).at(0).toInt(),
                 3);
    }
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->slotCount(), 4);
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->value(0, 1).toInt(), 31);
    QCOMPARE(table->value(0, 4).toString(), QStringLiteral("changed"));
    QVERIFY(!table->isLive(1));
    QCOMPARE(table->value(2, 4).toString(), QStringLiteral("quote's here"));
    QCOMPARE(table->value(3, 0).toString(), QStringLiteral("Zoe"));
    QCOMPARE(table->value(3, 2).toString(), QStringLiteral("2003-02-01 00:00:00"));
    QVERIFY(table->value(3, 4).isNull());
}

void TestDbSourcesSql::failedStatementChangesNothing()
{
    QTemporaryDir dir;
    const QString path = makePeople(dir);
    const QByteArray before = hashOf(path);
    const QByteArray memoBefore = hashOf(dir.filePath(QStringLiteral("people.dbt")));
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    // The first rows take the new values; the last one does not fit the 6 digits of b.
    run(*database,
        QStringLiteral("Update people.dbf set m='new memo', b = case when a='O''Neil' then "
                       "12345678 else 1 end"),
        &error);
    QVERIFY2(error.contains(QStringLiteral("people.dbf")) && error.contains(QStringLiteral("b")),
             qPrintable(error));
    QCOMPARE(hashOf(path), before);
    QCOMPARE(hashOf(dir.filePath(QStringLiteral("people.dbt"))), memoBefore);
    QCOMPARE(column(run(*database, QStringLiteral("select b from people.dbf"))),
             (QStringList{"30", "25", "41"}));
    // Nothing but the table, its memo and their backups is left in the folder.
    QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    QCOMPARE(files, (QStringList{"people.dbf", "people.dbf.bak", "people.dbt", "people.dbt.bak"}));
}

void TestDbSourcesSql::folderOfTables()
{
    QTemporaryDir dir;
    QVERIFY(!makePeople(dir).isEmpty());
    QVERIFY(!makePeople(dir, QStringLiteral("staff.dbf")).isEmpty());
    QFile junk(dir.filePath(QStringLiteral("junk.dbf")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a table");
    junk.close();
    QString error;
    auto database = ForeignDatabase::open(dir.path(), SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    QCOMPARE(database->tableNames(), (QStringList{"people.dbf", "staff.dbf"}));
    QCOMPARE(run(*database, QStringLiteral("select count(*) from staff.dbf")).at(0).at(0).toInt(),
             3);
    QCOMPARE(
        run(*database, QStringLiteral("select count(*) from people p join staff s on p.a = s.a"))
            .at(0)
            .at(0)
            .toInt(),
        3);
}

void TestDbSourcesSql::quoteAndNonAsciiInFileName()
{
    QTemporaryDir dir;
    const QString name = QStringLiteral("Größe's list.dbf");
    const QString path = makePeople(dir, name);
    QVERIFY(!path.isEmpty());
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    QCOMPARE(database->tableNames(), QStringList{name});
    QCOMPARE(run(*database, QStringLiteral("Select * from [Größe's list.dbf]"), &error).size(), 3);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    run(*database, QStringLiteral("Update [Größe's list] set a='Zoë' where b=25"), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(QFile::exists(path + QStringLiteral(".bak")));
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->value(1, 0).toString(), QStringLiteral("Zoë"));
}

void TestDbSourcesSql::csvThroughSql()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("name;qty\r\n\"Smith; John\";3\r\nDoe;5\r\n");
    file.close();
    QString error;
    {
        auto database = ForeignDatabase::open(path, SourceOptions(), &error);
        QVERIFY2(database, qPrintable(error));
        QCOMPARE(column(run(*database, QStringLiteral("Select * from list.csv where qty > 4"))),
                 QStringList{"Doe"});
        run(*database,
            QStringLiteral("Update [list.csv] set qty = qty + 1 where name like 'smith*'"), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        run(*database, QStringLiteral("Insert into list (name, qty) values ('New \"one\"', 1)"),
            &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray("name;qty\r\n\"Smith; John\";4\r\nDoe;5\r\n\"New \"\"one\"\"\";1\r\n"));
}

void TestDbSourcesSql::accessSql()
{
    NUVELA_REQUIRE_SAMPLES();
    QString error;
    auto database = ForeignDatabase::open(SamplesDir() + QStringLiteral("/mdb/nwind.mdb"),
                                          SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    QCOMPARE(run(*database, QStringLiteral("Select * from [Orders]"), &error).size(), 830);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(run(*database, QStringLiteral("Select * from [Umsätze]"), &error).size(), 830);

    // The filter box query: distinct, non-null, sorted, case folded as Jet does.
    const QStringList cities = column(run(
        *database,
        QStringLiteral(
            " select distinct [City] from  Customers where [City] is not null  order by [City]"),
        &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const SourceTable *customers = database->table(QStringLiteral("Customers"));
    int cityColumn = -1;
    for (int c = 0; c < customers->fields().size(); ++c) {
        if (customers->fields().at(c).name == QLatin1String("City"))
            cityColumn = c;
    }
    QVERIFY(cityColumn >= 0);
    QSet<QString> expected;
    for (qint64 slot = 0; slot < customers->slotCount(); ++slot) {
        const QVariant city = customers->value(slot, cityColumn);
        if (!city.isNull())
            expected.insert(city.toString().toLower());
    }
    QCOMPARE(cities.size(), expected.size());
    for (int i = 1; i < cities.size(); ++i)
        QVERIFY2(cities.at(i - 1).compare(cities.at(i), Qt::CaseInsensitive) < 0,
                 qPrintable(cities.at(i)));
    QCOMPARE(database->typeName(customers->fields().at(cityColumn)), QStringLiteral("Text"));

    // Sorting by a field, as the sort tools do.
    const QList<QVariantList> products =
        run(*database, QStringLiteral("Select * from [Products] order by [ProductName]"), &error);
    QCOMPARE(products.size(), 77);
}

void TestDbSourcesSql::accessRefusesWrites()
{
    NUVELA_REQUIRE_SAMPLES();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nwind.mdb"));
    QVERIFY(QFile::copy(SamplesDir() + QStringLiteral("/mdb/nwind.mdb"), path));
    const QByteArray before = hashOf(path);
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    for (const QString &sql :
         {QStringLiteral("Delete * from [Shippers]"),
          QStringLiteral("Update [Shippers] set [CompanyName]='x'"),
          QStringLiteral("Insert into [Shippers] ([CompanyName]) values (' ')")}) {
        run(*database, sql, &error);
        QVERIFY2(error.contains(QStringLiteral("nwind.mdb")) &&
                     error.contains(QStringLiteral("not change")),
                 qPrintable(sql + QStringLiteral(": ") + error));
    }
    QCOMPARE(run(*database, QStringLiteral("Select * from [Shippers]")).size(), 3);
    QCOMPARE(hashOf(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral(".bak")));
}

void TestDbSourcesSql::paradoxSql()
{
    NUVELA_REQUIRE_SAMPLES();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ORDERS.DB"));
    QVERIFY(QFile::copy(SamplesDir() + QStringLiteral("/paradox/ORDERS.DB"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    const QList<QVariantList> all =
        run(*database, QStringLiteral("Select * from ORDERS.DB  "), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(all.size(), 224);
    const QList<QVariantList> sorted =
        run(*database, QStringLiteral("Select * from ORDERS order by 1 desc"), &error);
    QCOMPARE(sorted.size(), 224);
    QVERIFY(sorted.first().at(0).toDouble() >= sorted.last().at(0).toDouble());
    run(*database, QStringLiteral("Delete * from ORDERS.DB"), &error);
    QVERIFY2(error.contains(QStringLiteral("ORDERS.DB")), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestDbSourcesSql)
#include "tst_SourceSql.moc"
