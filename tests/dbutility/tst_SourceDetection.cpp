// Source types told from file content, and SQLite files read directly.

#include "DbSourceType.h"
#include "DbTestFiles.h"
#include "FieldTypeNames.h"
#include "JetSql.h"
#include "SourceDetection.h"
#include "SqliteDatabase.h"

#include <QTemporaryDir>
#include <QTest>

using Format = SourceDetection::Format;
Q_DECLARE_METATYPE(SourceDetection::Format)
Q_DECLARE_METATYPE(DbKind)

class tst_SourceDetection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void samplesByContent_data();
    void samplesByContent();
    void misleadingNames_data();
    void misleadingNames();
    void unknownContentFallsBackToTheName_data();
    void unknownContentFallsBackToTheName();
    void sqliteTablesAndTypes();
    void sqliteDeclaredTypes_data();
    void sqliteDeclaredTypes();
    void sqliteReadOnlyFileOpens();
    void sqliteRefusesOtherFiles_data();
    void sqliteRefusesOtherFiles();
};

void tst_SourceDetection::samplesByContent_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Format>("format");
    const QList<QPair<QString, Format>> expected{
        {"mdb/nwind.mdb", Format::Access},
        {"mdb/ASampleDatabase.accdb", Format::Access},
        {"mdb/charsetGBK.mdb", Format::Access},
        {"dbf/dbase_03.dbf", Format::DBase},
        {"dbf/dbase_83.dbf", Format::DBase},
        {"dbf/dbase_8b.dbf", Format::DBase},
        {"dbf/dbase_f5.dbf", Format::FoxPro},
        {"dbf/dbase_30.dbf", Format::FoxPro},
        {"dbf/cp1251.dbf", Format::FoxPro},
        {"dbf/people.dbf", Format::DBase},
        {"paradox/CUSTOMER.DB", Format::Paradox},
        {"paradox/FILMS.DB", Format::Paradox},
        {"paradox/ORDERS.DB", Format::Paradox},
        {"paradox/TypSammlung.DB", Format::Paradox},
        {"csv/european.csv", Format::Text},
        {"csv/uk-500.csv", Format::Text},
        {"csv/quotes_and_newlines.csv", Format::Text},
        // Companion files are no tables.
        {"paradox/CUSTOMER.PX", Format::Unknown},
        {"dbf/dbase_83.dbt", Format::Unknown},
        {"rtf/source.rtf", Format::Unknown},
    };
    for (const auto &[file, format] : expected)
        QTest::newRow(qPrintable(file)) << file << format;
}

void tst_SourceDetection::samplesByContent()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(QString, file);
    QFETCH(Format, format);
    QCOMPARE(SourceDetection::detect(SamplesDir() + '/' + file), format);
}

void tst_SourceDetection::misleadingNames_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<DbKind>("kind");
    QTest::newRow("access named .dat") << "mdb/nwind.mdb"
                                       << "northwind.dat" << DbKind::Access;
    QTest::newRow("accdb") << "mdb/ASampleDatabase.accdb"
                           << "assets.accdb" << DbKind::Access;
    QTest::newRow("dbase named .db") << "dbf/people.dbf"
                                     << "people.db" << DbKind::DBase;
    QTest::newRow("paradox named .dbf") << "paradox/FILMS.DB"
                                        << "films.dbf" << DbKind::Paradox;
    QTest::newRow("csv named .mdb") << "csv/european.csv"
                                    << "cars.mdb" << DbKind::Text;
    QTest::newRow("foxpro stored as dBase") << "dbf/dbase_30.dbf"
                                            << "v.tbl" << DbKind::DBase;
}

void tst_SourceDetection::misleadingNames()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(QString, sample);
    QFETCH(QString, newName);
    QFETCH(DbKind, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(newName);
    QVERIFY(QFile::copy(SamplesDir() + '/' + sample, path));
    QCOMPARE(DbSourceType::detect(path), kind);
}

void tst_SourceDetection::unknownContentFallsBackToTheName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<DbKind>("kind");
    const QByteArray garbage("\x01\x02\x00\x07garbage", 11);
    QTest::newRow("mdb in any case") << "OLD.MDB" << garbage << DbKind::Access;
    QTest::newRow("dbf") << "t.dbf" << garbage << DbKind::DBase;
    QTest::newRow("db") << "t.db" << garbage << DbKind::Paradox;
    QTest::newRow("db inside the name") << "mydbfile.bin" << garbage << DbKind::DBase;
    QTest::newRow("one column text") << "names.txt" << QByteArray("name\nAnn\n") << DbKind::Text;
    QTest::newRow("tab separated") << "x.tsv" << QByteArray("a\tb\n1\t2\n") << DbKind::Text;
    QTest::newRow("nothing known") << "notes.bin" << garbage << DbKind::None;
    QTest::newRow("empty file") << "empty.xyz" << QByteArray() << DbKind::None;
    QTest::newRow("sqlite named .db")
        << "data.db" << QByteArray("SQLite format 3\0", 16) << DbKind::SQLite;
}

void tst_SourceDetection::unknownContentFallsBackToTheName()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(DbKind, kind);
    QTemporaryDir dir;
    QVERIFY(WriteBytes(dir.filePath(name), content));
    QCOMPARE(DbSourceType::detect(dir.filePath(name)), kind);
    QCOMPARE(DbSourceType::detect(dir.filePath(QStringLiteral("missing.dbf"))), DbKind::DBase);
}

void tst_SourceDetection::sqliteTablesAndTypes()
{
    QTemporaryDir dir;
    const QString path = MakeSqliteFile(dir.filePath(QStringLiteral("shop.db")));
    QVERIFY(!path.isEmpty());
    QCOMPARE(SourceDetection::detect(path), Format::SQLite);
    QString error;
    auto database = SqliteDatabase::open(path, &error);
    QVERIFY2(database, qPrintable(error));
    // Views are no tables; the file's own order.
    QCOMPARE(database->tableNames(), (QStringList{"people", "codes"}));
    QStringList described;
    for (const SourceField &field : database->fields(QStringLiteral("people")))
        described << field.name + ':' +
                         FieldTypeNames::name(TypePath::InstallableDriver, field.typeCode) + ':' +
                         QString::number(field.size);
    QCOMPARE(described,
             (QStringList{"name:Text:30", "age:Numeric Long:4", "born:Date/Time:8",
                          "active:Yes/No:1", "photo:OLE Object:0", "price:Numeric Double:8"}));
    QVERIFY(database->fields(QStringLiteral("no such")).isEmpty());
    // Jet's like and functions run on it.
    QSqlQuery query(database->connection());
    QVERIFY(query.exec(QStringLiteral("select count(*) from people where name like 'a%' or "
                                      "len(name) = 6")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 1);
    QVERIFY(query.exec(JetSql::translate(QStringLiteral("select name from people where name "
                                                        "like 'A*' order by age"))));
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    QCOMPARE(names, (QStringList{"Alice", "alice"}));
}

void tst_SourceDetection::sqliteDeclaredTypes_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QString>("typeName");
    QTest::newRow("integer") << "INTEGER"
                             << "Numeric Long";
    QTest::newRow("bigint") << "BIGINT"
                            << "Numeric Long";
    QTest::newRow("varchar") << "VARCHAR(40)"
                             << "Text";
    QTest::newRow("text") << "TEXT"
                          << "Memo";
    QTest::newRow("datetime") << "DATETIME"
                              << "Date/Time";
    QTest::newRow("timestamp") << "timestamp"
                               << "Date/Time";
    QTest::newRow("boolean") << "BOOLEAN"
                             << "Yes/No";
    QTest::newRow("money") << "MONEY"
                           << "Numeric Currency";
    QTest::newRow("real") << "REAL"
                          << "Numeric Double";
    QTest::newRow("decimal") << "DECIMAL(10,2)"
                             << "Numeric Double";
    QTest::newRow("blob") << "BLOB"
                          << "OLE Object";
    QTest::newRow("no type") << ""
                             << "Memo";
}

void tst_SourceDetection::sqliteDeclaredTypes()
{
    QFETCH(QString, declared);
    QFETCH(QString, typeName);
    QCOMPARE(FieldTypeNames::name(TypePath::InstallableDriver, SqliteDatabase::jetType(declared)),
             typeName);
}

void tst_SourceDetection::sqliteReadOnlyFileOpens()
{
    QTemporaryDir dir;
    const QString path = MakeSqliteFile(dir.filePath(QStringLiteral("ro.sqlite")));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser));
    const QByteArray before = ReadBytes(path);
    {
        QString error;
        auto database = SqliteDatabase::open(path, &error);
        QVERIFY2(database, qPrintable(error));
        QSqlQuery query(database->connection());
        QVERIFY(query.exec(QStringLiteral("select count(*) from people")));
        QVERIFY(!query.exec(QStringLiteral("delete from people")));
    }
    QCOMPARE(ReadBytes(path), before);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

void tst_SourceDetection::sqliteRefusesOtherFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("why");
    QTest::newRow("not sqlite") << QByteArray("a,b\n1,2\n") << "does not begin as a SQLite file";
    QByteArray damaged("SQLite format 3\0", 16);
    damaged.append(QByteArray(4080, '\xA5'));
    QTest::newRow("damaged") << damaged << "damaged.db is not a SQLite database or is damaged";
}

void tst_SourceDetection::sqliteRefusesOtherFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("damaged.db"));
    QVERIFY(WriteBytes(path, content));
    QString error;
    QVERIFY(!SqliteDatabase::open(path, &error));
    QVERIFY2(error.contains(why), qPrintable(error));
    QVERIFY(error.startsWith(QLatin1String("damaged.db ")));
    QVERIFY(!SqliteDatabase::open(dir.filePath(QStringLiteral("missing.db")), &error));
    QVERIFY(error.contains(QLatin1String("missing.db")));
}

QTEST_GUILESS_MAIN(tst_SourceDetection)
#include "tst_SourceDetection.moc"
