// Readers of the foreign formats on the real sample files and on files made here.

#include "TestFiles.h"
#include "CodePage.h"
#include "CsvTable.h"
#include "DbfTable.h"
#include "FieldTypeNames.h"
#include "ForeignDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace
{

int fieldIndex(const SourceTable &table, const QString &name)
{
    for (int i = 0; i < table.fields().size(); ++i) {
        if (table.fields().at(i).name == name)
            return i;
    }
    return -1;
}

// The live rows of a table, each as a list of values.
QList<QVariantList> liveRows(const SourceTable &table)
{
    QList<QVariantList> rows;
    for (qint64 slot = 0; slot < table.slotCount(); ++slot) {
        if (!table.isLive(slot))
            continue;
        QVariantList row;
        for (int c = 0; c < table.fields().size(); ++c)
            row.append(table.value(slot, c));
        rows.append(row);
    }
    return rows;
}

} // namespace

class TestDbSourcesFormats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dbfSamples_data();
    void dbfSamples();
    void dbfSampleValues();
    void dbfDeletedRecordHidden();
    void dbfCodePageFromHeaderAndOverride();
    void dbfDamaged_data();
    void dbfDamaged();
    void dbfFoxProBinaryTypes();
    void dbfUpperCaseMemoCompanion();
    void dBase7BinaryTypes();
    void dBase2Layout();
    void foxProVarchar();

    void paradoxSamples_data();
    void paradoxSamples();
    void paradoxValues();
    void paradoxEveryTypeValues();

    void accessSamples_data();
    void accessSamples();
    void accessJet3CodePage();
    void accessRefusesOtherFiles();

    void csvParse_data();
    void csvParse();
    void csvSamples_data();
    void csvSamples();
    void csvTypesGuessed();
    void csvRefused_data();
    void csvRefused();

    void sourceTypes_data();
    void sourceTypes();

    void typeNames_data();
    void typeNames();
    void valueClasses_data();
    void valueClasses();
};

void TestDbSourcesFormats::dbfSamples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("fields");
    QTest::addColumn<QString>("types");
    QTest::addColumn<int>("codePage");

    QTest::newRow("dBase III") << "dbase_03.dbf" << 0x03 << 14 << 31 << "CDN" << 1252;
    QTest::newRow("dBase III memo") << "dbase_83.dbf" << 0x83 << 67 << 15 << "CLMN" << 1252;
    QTest::newRow("dBase IV memo") << "dbase_8b.dbf" << 0x8B << 10 << 6 << "CDFLMN" << 1252;
    QTest::newRow("FoxPro 2 memo") << "dbase_f5.dbf" << 0xF5 << 975 << 59 << "CDMN" << 1252;
    QTest::newRow("Visual FoxPro") << "dbase_30.dbf" << 0x30 << 34 << 145 << "CDLMNT" << 1252;
    QTest::newRow("cp1251") << "cp1251.dbf" << 0x30 << 4 << 2 << "CN" << 1251;
    QTest::newRow("people") << "people.dbf" << 0x03 << 2 << 2 << "CD" << 1252;
}

void TestDbSourcesFormats::dbfSamples()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(QString, file);
    QFETCH(int, version);
    QFETCH(int, rows);
    QFETCH(int, fields);
    QFETCH(QString, types);
    QFETCH(int, codePage);

    QString error;
    auto table =
        DbfTable::open(SamplesDir() + QStringLiteral("/dbf/") + file, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(int(table->version()), version);
    QCOMPARE(table->rowCount(), rows);
    QCOMPARE(table->fields().size(), fields);
    QCOMPARE(table->codePage(), codePage);
    QString seen;
    for (const SourceField &field : table->fields()) {
        if (!seen.contains(field.nativeType))
            seen += field.nativeType;
        QVERIFY2(!FieldTypeNames::driverName(field.typeCode).isEmpty(), qPrintable(field.name));
    }
    std::sort(seen.begin(), seen.end());
    QCOMPARE(seen, types);
    // Every value of every row reads without damage; memo fields that point into the memo
    // file give text.
    int memoValues = 0;
    for (const QVariantList &row : liveRows(*table)) {
        for (int c = 0; c < row.size(); ++c) {
            if (table->fields().at(c).nativeType == QLatin1String("M") && !row.at(c).isNull())
                ++memoValues;
        }
    }
    if (types.contains(QLatin1Char('M')))
        QVERIFY(memoValues > 0);
}

void TestDbSourcesFormats::dbfSampleValues()
{
    NUVELA_REQUIRE_SAMPLES();
    QString error;
    auto people =
        DbfTable::open(SamplesDir() + QStringLiteral("/dbf/people.dbf"), SourceOptions(), &error);
    QVERIFY2(people, qPrintable(error));
    const QList<QVariantList> rows = liveRows(*people);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).at(0).toString(), QStringLiteral("Alice"));
    QCOMPARE(rows.at(0).at(1).toString(), QStringLiteral("1987-03-01 00:00:00"));
    QCOMPARE(rows.at(1).at(0).toString(), QStringLiteral("Bob"));
    QCOMPARE(rows.at(1).at(1).toString(), QStringLiteral("1980-11-12 00:00:00"));

    // The repeated field name Point_ID gets a distinct SQL name.
    auto gps =
        DbfTable::open(SamplesDir() + QStringLiteral("/dbf/dbase_03.dbf"), SourceOptions(), &error);
    QVERIFY2(gps, qPrintable(error));
    QVERIFY(fieldIndex(*gps, QStringLiteral("Point_ID")) >= 0);
    QVERIFY(fieldIndex(*gps, QStringLiteral("Point_ID_2")) >= 0);

    auto russian =
        DbfTable::open(SamplesDir() + QStringLiteral("/dbf/cp1251.dbf"), SourceOptions(), &error);
    QVERIFY2(russian, qPrintable(error));
    bool cyrillic = false;
    for (const QVariantList &row : liveRows(*russian)) {
        for (const QVariant &value : row) {
            for (const QChar c : value.toString())
                cyrillic = cyrillic || (c.unicode() >= 0x0410 && c.unicode() <= 0x044F);
        }
    }
    QVERIFY(cyrillic);
}

void TestDbSourcesFormats::dbfDeletedRecordHidden()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    QString error;
    QVERIFY2(DbfTable::create(path, {{QStringLiteral("NAME"), 'C', 8, 0}}, 0x03, 1252, &error),
             qPrintable(error));
    QByteArray bytes = ReadBytes(path);
    bytes.chop(1);
    bytes += " first   *second   third   \x1A";
    qToLittleEndian<quint32>(3, bytes.data() + 4);
    QVERIFY(WriteBytes(path, bytes));
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->slotCount(), 3);
    QCOMPARE(table->rowCount(), 2);
    QVERIFY(!table->isLive(1));
    QCOMPARE(liveRows(*table).at(1).at(0).toString(), QStringLiteral("third"));
}

void TestDbSourcesFormats::dbfCodePageFromHeaderAndOverride()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cp.dbf"));
    QString error;
    QVERIFY(DbfTable::create(path, {{QStringLiteral("NAME"), 'C', 6, 0}}, 0x03, 866, &error));
    QByteArray bytes = ReadBytes(path);
    QCOMPARE(uchar(bytes.at(29)), uchar(0x65));
    bytes.chop(1);
    // "Привет" in code page 866
    bytes += QByteArray(" ") + QByteArray("\x8F\xE0\xA8\xA2\xA5\xE2") + "\x1A";
    qToLittleEndian<quint32>(1, bytes.data() + 4);
    QVERIFY(WriteBytes(path, bytes));

    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->value(0, 0).toString(), QStringLiteral("Привет"));

    SourceOptions options;
    options.codePage = 1252;
    auto overridden = DbfTable::open(path, options, &error);
    QVERIFY2(overridden, qPrintable(error));
    QCOMPARE(overridden->codePage(), 1252);
    QVERIFY(overridden->value(0, 0).toString() != QStringLiteral("Привет"));
}

void TestDbSourcesFormats::dbfDamaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    QByteArray good(32, '\0');
    good[0] = 0x03;
    qToLittleEndian<quint16>(65, good.data() + 8);
    qToLittleEndian<quint16>(11, good.data() + 10);
    QByteArray field(32, '\0');
    memcpy(field.data(), "NAME", 4);
    field[11] = 'C';
    field[16] = 10;
    good += field + "\x0D";

    QTest::newRow("empty") << QByteArray() << "too short";
    QTest::newRow("text file") << QByteArray("hello, this is not a table at all, only words")
                               << "version";
    QByteArray bigHeader = good;
    qToLittleEndian<quint16>(4000, bigHeader.data() + 8);
    QTest::newRow("header beyond end") << bigHeader << "header size";
    QByteArray shortRecord = good;
    qToLittleEndian<quint16>(5, shortRecord.data() + 10);
    QTest::newRow("fields longer than record") << shortRecord << "fields need";
    QByteArray noFields = good;
    noFields[32] = 0x0D;
    QTest::newRow("no fields") << noFields << "no fields";
    QByteArray zeroRecord = good;
    qToLittleEndian<quint16>(0, zeroRecord.data() + 10);
    QTest::newRow("record length 0") << zeroRecord << "record length";
}

void TestDbSourcesFormats::dbfDamaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.dbf"));
    QVERIFY(WriteBytes(path, bytes));
    QString error;
    QVERIFY(!DbfTable::open(path, SourceOptions(), &error));
    QVERIFY2(error.contains(QStringLiteral("broken.dbf")), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    // Through the database too: the message reaches the caller, nothing is attached.
    QVERIFY(!ForeignDatabase::open(path, SourceOptions(), &error));
    QVERIFY2(error.contains(QStringLiteral("broken.dbf")), qPrintable(error));
}

void TestDbSourcesFormats::dbfFoxProBinaryTypes()
{
    // A Visual FoxPro record with I, B, Y, T fields written as FoxPro stores them.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vfp.dbf"));
    QString error;
    QVERIFY(DbfTable::create(path,
                             {{QStringLiteral("COUNT"), 'I', 4, 0},
                              {QStringLiteral("RATIO"), 'B', 8, 2},
                              {QStringLiteral("PRICE"), 'Y', 8, 4},
                              {QStringLiteral("STAMP"), 'T', 8, 0}},
                             0x30, 1252, &error));
    QByteArray bytes = ReadBytes(path);
    bytes.chop(1);
    QByteArray record(29, '\0');
    record[0] = ' ';
    qToLittleEndian<qint32>(-42, record.data() + 1);
    qToLittleEndian<double>(2.5, record.data() + 5);
    qToLittleEndian<qint64>(123450, record.data() + 13);
    qToLittleEndian<qint32>(qint32(QDate(2024, 2, 29).toJulianDay()), record.data() + 21);
    qToLittleEndian<qint32>((13 * 3600 + 5 * 60 + 9) * 1000, record.data() + 25);
    bytes += record + "\x1A";
    qToLittleEndian<quint32>(1, bytes.data() + 4);
    QVERIFY(WriteBytes(path, bytes));
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->value(0, 0).toLongLong(), -42);
    QCOMPARE(table->value(0, 1).toDouble(), 2.5);
    QCOMPARE(table->value(0, 2).toDouble(), 12.345);
    QCOMPARE(table->value(0, 3).toString(), QStringLiteral("2024-02-29 13:05:09"));
    QCOMPARE(FieldTypeNames::driverName(table->fields().at(2).typeCode),
             QStringLiteral("Numeric Currency"));
}

void TestDbSourcesFormats::dBase7BinaryTypes()
{
    // dBase 7 keeps integers and doubles big-endian with the sign bit flipped, so that the bytes
    // sort as the numbers do; timestamps are such doubles counting milliseconds from day 0 of
    // the Julian calendar.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("seven.dbf"));
    QString error;
    QVERIFY(DbfTable::create(path,
                             {{QStringLiteral("LONG_FIELD_NAME_OF_DBASE7"), 'I', 4, 0},
                              {QStringLiteral("AUTO"), '+', 4, 0},
                              {QStringLiteral("VALUE"), 'O', 8, 0},
                              {QStringLiteral("STAMP"), '@', 8, 0}},
                             0x04, 1252, &error));
    QByteArray bytes = ReadBytes(path);
    bytes.chop(1);
    const auto flippedDouble = [](double value, char *out) {
        quint64 bits;
        memcpy(&bits, &value, sizeof(bits));
        bits = value >= 0 ? bits | 0x8000000000000000ull : ~bits;
        qToBigEndian<quint64>(bits, out);
    };
    QByteArray record(25, '\0');
    record[0] = ' ';
    qToBigEndian<quint32>(quint32(-7) ^ 0x80000000u, record.data() + 1);
    qToBigEndian<quint32>(3u ^ 0x80000000u, record.data() + 5);
    flippedDouble(-2.25, record.data() + 9);
    const double stamp = double(QDate(2001, 9, 9).toJulianDay()) * 86400000.0 + 3600000.0 * 12;
    flippedDouble(stamp, record.data() + 17);
    bytes += record + "\x1A";
    qToLittleEndian<quint32>(1, bytes.data() + 4);
    QVERIFY(WriteBytes(path, bytes));
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->fields().at(0).name, QStringLiteral("LONG_FIELD_NAME_OF_DBASE7"));
    QCOMPARE(table->value(0, 0).toLongLong(), -7);
    QCOMPARE(table->value(0, 1).toLongLong(), 3);
    QCOMPARE(table->value(0, 2).toDouble(), -2.25);
    QCOMPARE(table->value(0, 3).toString(), QStringLiteral("2001-09-09 12:00:00"));
}

void TestDbSourcesFormats::foxProVarchar()
{
    // A nullable varchar: _NullFlags bit 0 marks null, bit 1 a value shorter than the field,
    // whose length is then in the field's last byte.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("v.dbf"));
    QString error;
    QVERIFY(DbfTable::create(
        path, {{QStringLiteral("NAME"), 'V', 10, 0}, {QStringLiteral("_NullFlags"), '0', 1, 0}},
        0x30, 1252, &error));
    QByteArray bytes = ReadBytes(path);
    bytes.chop(1);
    bytes[32 + 18] = 0x02;
    bytes[64 + 18] = 0x05;
    bytes += QByteArray(" abc  \0\0\0\0\x05\x02", 12);
    bytes += QByteArray(" abcdefghij\x00", 12);
    bytes += QByteArray(" \0\0\0\0\0\0\0\0\0\0\x01", 12);
    bytes += "\x1A";
    qToLittleEndian<quint32>(3, bytes.data() + 4);
    QVERIFY(WriteBytes(path, bytes));
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->fields().size(), 1);
    QCOMPARE(table->value(0, 0).toString(), QStringLiteral("abc  "));
    QCOMPARE(table->value(1, 0).toString(), QStringLiteral("abcdefghij"));
    QVERIFY(table->value(2, 0).isNull());
    std::string utf8;
    bool isNull = false;
    QVERIFY(table->textUtf8(0, 0, &utf8, &isNull));
    QCOMPARE(QByteArray::fromStdString(utf8), QByteArray("abc  "));
}

void TestDbSourcesFormats::dBase2Layout()
{
    // dBase II: count and record length in 16 bits, 16-byte field descriptors from byte 8, the
    // records after a fixed 521-byte header.
    QByteArray bytes(521, '\0');
    bytes[0] = 0x02;
    qToLittleEndian<quint16>(3, bytes.data() + 1);
    bytes[3] = 12;
    bytes[4] = 31;
    bytes[5] = 84;
    qToLittleEndian<quint16>(1 + 8 + 6, bytes.data() + 6);
    const auto descriptor = [&](int index, const char *name, char type, int length, int decimals) {
        char *d = bytes.data() + 8 + 16 * index;
        memcpy(d, name, strlen(name));
        d[11] = type;
        d[12] = char(length);
        d[15] = char(decimals);
    };
    descriptor(0, "NAME", 'C', 8, 0);
    descriptor(1, "PRICE", 'N', 6, 2);
    bytes[8 + 32] = 0x0D;
    bytes += QByteArray(" Apple     1.50") + QByteArray("*Gone      2.00") +
             QByteArray(" Pear    -12.25");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.dbf"));
    QVERIFY(WriteBytes(path, bytes));
    QString error;
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->fields().size(), 2);
    QCOMPARE(table->fields().at(1).name, QStringLiteral("PRICE"));
    QCOMPARE(table->slotCount(), 3);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->value(0, 0).toString(), QStringLiteral("Apple"));
    QCOMPARE(table->value(2, 1).toDouble(), -12.25);
    QVERIFY(table->readOnlyReason().contains(QStringLiteral("dBase II")));
}

void TestDbSourcesFormats::dbfUpperCaseMemoCompanion()
{
    NUVELA_REQUIRE_SAMPLES();
    QTemporaryDir dir;
    QVERIFY(QFile::copy(SamplesDir() + QStringLiteral("/dbf/dbase_8b.dbf"),
                        dir.filePath(QStringLiteral("MEMO.DBF"))));
    QVERIFY(QFile::copy(SamplesDir() + QStringLiteral("/dbf/dbase_8b.dbt"),
                        dir.filePath(QStringLiteral("MEMO.DBT"))));
    for (const QString &name : {QStringLiteral("MEMO.DBF"), QStringLiteral("MEMO.DBT")})
        QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::WriteOwner);
    QString error;
    auto table = DbfTable::open(dir.filePath(QStringLiteral("MEMO.DBF")), SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QVERIFY(table->memoPath().endsWith(QStringLiteral("MEMO.DBT")));
    QVERIFY(table->readOnlyReason().isEmpty());
    const int memo = fieldIndex(*table, QStringLiteral("MEMO"));
    QVERIFY(memo >= 0);
    QVERIFY(!table->value(0, memo).toString().isEmpty());
}

void TestDbSourcesFormats::paradoxSamples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("types");
    QTest::addColumn<QString>("unwritable");

    QTest::newRow("Paradox 7 customer") << "CUSTOMER.DB" << 20 << "+AAAAAAAMD"
                                        << "Comments";
    QTest::newRow("Paradox 3 films") << "FILMS.DB" << 36 << "AASAANA$S"
                                     << "";
    QTest::newRow("Paradox 7 orders") << "ORDERS.DB" << 224 << "NNDDA$$$AAA"
                                      << "";
    QTest::newRow("every type") << "TypSammlung.DB" << 5 << "AN$SI#DT@ML+BY"
                                << "Bytes";
}

void TestDbSourcesFormats::paradoxSamples()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(QString, file);
    QFETCH(int, rows);
    QFETCH(QString, types);
    QFETCH(QString, unwritable);
    // A writable copy, so that what is refused is refused for the table's own reasons.
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    QVERIFY(QFile::copy(SamplesDir() + QStringLiteral("/paradox/") + file, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    QCOMPARE(database->tableNames(), QStringList{file});
    SourceTable *table = database->table(file);
    QVERIFY(table);
    QCOMPARE(table->rowCount(), rows);
    QString seen;
    for (const SourceField &field : table->fields())
        seen += field.nativeType;
    QCOMPARE(seen, types);
    if (unwritable.isEmpty())
        QVERIFY2(table->readOnlyReason().isEmpty(), qPrintable(table->readOnlyReason()));
    else
        QVERIFY2(table->readOnlyReason().contains(unwritable), qPrintable(table->readOnlyReason()));
    // Every sample has a primary index, which pxlib does not maintain: no record is added.
    QString writeError;
    qint64 slot = -1;
    QVERIFY(!table->insertRow({{1, QVariant(QStringLiteral("x"))}}, &slot, &writeError));
    QVERIFY2(writeError.contains(file), qPrintable(writeError));
    QCOMPARE(table->rowCount(), rows);
}

void TestDbSourcesFormats::paradoxValues()
{
    NUVELA_REQUIRE_SAMPLES();
    QString error;
    auto database = ForeignDatabase::open(SamplesDir() + QStringLiteral("/paradox/CUSTOMER.DB"),
                                          SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    SourceTable *table = database->table(QStringLiteral("CUSTOMER.DB"));
    // The autoincrement key counts up from 1; the date field holds valid canonical dates.
    QCOMPARE(table->value(0, 0).toLongLong(), 1);
    int dates = 0;
    for (qint64 slot = 0; slot < table->slotCount(); ++slot) {
        const QVariant date = table->value(slot, 9);
        if (date.isNull())
            continue;
        QVERIFY2(
            QDateTime::fromString(date.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss")).isValid(),
            qPrintable(date.toString()));
        ++dates;
    }
    QVERIFY(dates > 0);
}

void TestDbSourcesFormats::paradoxEveryTypeValues()
{
    NUVELA_REQUIRE_SAMPLES();
    QString error;
    auto database = ForeignDatabase::open(SamplesDir() + QStringLiteral("/paradox/TypSammlung.DB"),
                                          SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    const SourceTable *table = database->table(QStringLiteral("TypSammlung.DB"));
    QCOMPARE(table->fields().at(2).name, QStringLiteral("Währung"));
    QHash<QString, QVariantList> rows;
    for (qint64 slot = 0; slot < table->slotCount(); ++slot) {
        QVariantList row;
        for (int c = 0; c < table->fields().size(); ++c)
            row.append(table->value(slot, c));
        rows.insert(row.at(0).toString(), row);
    }
    const QVariantList second = rows.value(QStringLiteral("Zweite Zeile"));
    QCOMPARE(second.size(), 14);
    QCOMPARE(second.at(1).toDouble(), -40.0);                                 // N
    QCOMPARE(second.at(3).toLongLong(), -40);                                 // S
    QCOMPARE(second.at(4).toLongLong(), -40);                                 // I
    QCOMPARE(second.at(6).toString(), QStringLiteral("1999-09-09 00:00:00")); // D
    QCOMPARE(second.at(7).toString(), QStringLiteral("11:11:11"));            // T
    QCOMPARE(second.at(8).toString(), QStringLiteral("2003-06-10 11:11:11")); // @
    QCOMPARE(second.at(10).toLongLong(), 1);                                  // L
    // Empty fields are zero bytes in Paradox: null, not the smallest number or date.
    const QVariantList first = rows.value(QStringLiteral("Erste Zeile"));
    QVERIFY(first.at(4).isNull());
    QVERIFY(first.at(6).isNull());
    const QVariantList fifth = rows.value(QStringLiteral("Fünfter Datensatz"));
    QVERIFY(fifth.at(9).toString().startsWith(QStringLiteral("Dies ist eine Memo")));
}

void TestDbSourcesFormats::accessSamples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("tables");
    QTest::addColumn<QList<int>>("rows");

    QTest::newRow("Jet 3 Northwind")
        << "nwind.mdb" << QStringList{"Order Details", "Orders",     "Products",
                                      "Shippers",      "Categories", "Customers",
                                      "Employees",     "Suppliers",  QStringLiteral("Umsätze")}
        << QList<int>{2155, 830, 77, 3, 8, 91, 9, 29, 830};
    QTest::newRow("Jet 4 many types")
        << "test2V2000.mdb" << QStringList{"MSP_PROJECTS"} << QList<int>{1};
    QTest::newRow("Jet 4 dates") << "DateTestDatabase.mdb" << QStringList{"DateTest"}
                                 << QList<int>{6};
    QTest::newRow("ACE accdb") << "ASampleDatabase.accdb" << QStringList{"Asset Items"}
                               << QList<int>{65};
}

void TestDbSourcesFormats::accessSamples()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(QString, file);
    QFETCH(QStringList, tables);
    QFETCH(QList<int>, rows);
    QString error;
    auto database =
        ForeignDatabase::open(SamplesDir() + QStringLiteral("/mdb/") + file, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    QCOMPARE(database->typePath(), TypePath::Access);
    QStringList names = database->tableNames();
    for (const QString &name : names)
        QVERIFY2(!name.startsWith(QStringLiteral("MSys")), qPrintable(name));
    QCOMPARE(QSet<QString>(names.cbegin(), names.cend()),
             QSet<QString>(tables.cbegin(), tables.cend()));
    for (int i = 0; i < tables.size(); ++i) {
        SourceTable *table = database->table(tables.at(i));
        QVERIFY(table);
        QCOMPARE(table->rowCount(), rows.at(i));
        for (const SourceField &field : table->fields())
            QVERIFY2(field.size > 0 || field.nativeType == QLatin1String("Memo/Hyperlink") ||
                         field.nativeType == QLatin1String("OLE"),
                     qPrintable(field.name));
    }
}

void TestDbSourcesFormats::accessJet3CodePage()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString path = SamplesDir() + QStringLiteral("/mdb/charsetGBK.mdb");
    const auto hasHan = [](const SourceTable &table) {
        for (qint64 slot = 0; slot < table.slotCount(); ++slot) {
            for (int c = 0; c < table.fields().size(); ++c) {
                for (const QChar ch : table.value(slot, c).toString()) {
                    if (ch.unicode() >= 0x4E00 && ch.unicode() <= 0x9FFF)
                        return true;
                }
            }
        }
        return false;
    };
    QString error;
    SourceOptions gbk;
    gbk.codePage = 936;
    auto chinese = ForeignDatabase::open(path, gbk, &error);
    QVERIFY2(chinese, qPrintable(error));
    QCOMPARE(chinese->tableNames(), QStringList{QStringLiteral("table1")});
    QVERIFY(hasHan(*chinese->table(QStringLiteral("table1"))));
    auto western = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(western, qPrintable(error));
    QVERIFY(!hasHan(*western->table(QStringLiteral("table1"))));
    // The chosen page was for that open only.
    QVERIFY(!qEnvironmentVariableIsSet("MDB_JET3_CHARSET"));
}

void TestDbSourcesFormats::accessRefusesOtherFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fake.mdb"));
    QVERIFY(WriteBytes(path, QByteArray(8192, 'x')));
    QString error;
    QVERIFY(!ForeignDatabase::open(path, SourceOptions(), &error));
    QVERIFY2(error.contains(QStringLiteral("fake.mdb")) && error.contains(QStringLiteral("Access")),
             qPrintable(error));
}

void TestDbSourcesFormats::csvParse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("lineEnd");
    QTest::addColumn<QList<QStringList>>("records");

    QTest::newRow("comma crlf") << "a,b\r\n1,2\r\n"
                                << "," << int(CsvTable::LineEnd::CrLf)
                                << QList<QStringList>{{"a", "b"}, {"1", "2"}};
    QTest::newRow("semicolon lf") << "a;b\n1;2"
                                  << ";" << int(CsvTable::LineEnd::Lf)
                                  << QList<QStringList>{{"a", "b"}, {"1", "2"}};
    QTest::newRow("tab cr") << "a\tb\r1\t2\r"
                            << "\t" << int(CsvTable::LineEnd::Cr)
                            << QList<QStringList>{{"a", "b"}, {"1", "2"}};
    QTest::newRow("doubled quotes and break")
        << "a,b\n\"x \"\"y\"\"\",\"1\r\n2\"\n"
        << "," << int(CsvTable::LineEnd::Lf)
        << QList<QStringList>{{"a", "b"}, {"x \"y\"", "1\r\n2"}};
    QTest::newRow("separator in quotes")
        << "a;b\n\"1;2\";3\n"
        << ";" << int(CsvTable::LineEnd::Lf) << QList<QStringList>{{"a", "b"}, {"1;2", "3"}};
    QTest::newRow("empty fields") << "a,b,c\n,,\n"
                                  << "," << int(CsvTable::LineEnd::Lf)
                                  << QList<QStringList>{{"a", "b", "c"}, {"", "", ""}};
    QTest::newRow("unclosed quote")
        << "a\n\"open"
        << "," << int(CsvTable::LineEnd::Lf) << QList<QStringList>{{"a"}, {"open"}};
    QTest::newRow("backslash path kept")
        << "a,b\n\"C:\\dir\\\",x\n"
        << "," << int(CsvTable::LineEnd::Lf) << QList<QStringList>{{"a", "b"}, {"C:\\dir\\", "x"}};
}

void TestDbSourcesFormats::csvParse()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(int, lineEnd);
    QFETCH(QList<QStringList>, records);
    const CsvTable::Parsed parsed = CsvTable::parse(text);
    QCOMPARE(QString(parsed.dialect.separator), separator);
    QCOMPARE(int(parsed.dialect.lineEnd), lineEnd);
    QCOMPARE(parsed.records, records);
    // Formatting in the same dialect and parsing again gives the same records.
    QCOMPARE(CsvTable::parse(CsvTable::format(parsed.records, parsed.dialect)).records, records);
}

void TestDbSourcesFormats::csvSamples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("fields");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("quotes and newlines")
        << "quotes_and_newlines.csv"
        << "," << 2 << 2 << 0 << "b" << QVariant(QStringLiteral("ha \n\"ha\" \nha"));
    QTest::newRow("european") << "european.csv"
                              << ";" << 5 << 5 << 1 << "Model"
                              << QVariant(QStringLiteral("Venture \"Extended Edition\""));
    QTest::newRow("european break")
        << "european.csv"
        << ";" << 5 << 5 << 2 << "Description"
        << QVariant(QStringLiteral("MUST SELL!\nair; moon roof; loaded"));
    QTest::newRow("european number") << "european.csv"
                                     << ";" << 5 << 5 << 0 << "Year" << QVariant(qint64(1997));
    QTest::newRow("salesforce") << "input.csv"
                                << "," << 2 << 32 << 0 << "Field5"
                                << QVariant(QStringLiteral("Request:\n\n\nResponse:\n{ }"));
    QTest::newRow("uk cr only") << "uk-500.csv"
                                << "," << 500 << 11 << 0 << "first_name"
                                << QVariant(QStringLiteral("Aleshia"));
}

void TestDbSourcesFormats::csvSamples()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(QString, file);
    QFETCH(QString, separator);
    QFETCH(int, rows);
    QFETCH(int, fields);
    QFETCH(int, row);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QString error;
    auto table =
        CsvTable::open(SamplesDir() + QStringLiteral("/csv/") + file, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(QString(table->dialect().separator), separator);
    QCOMPARE(table->rowCount(), rows);
    QCOMPARE(table->fields().size(), fields);
    const int column = fieldIndex(*table, field);
    QVERIFY(column >= 0);
    QCOMPARE(table->value(row, column), value);
}

void TestDbSourcesFormats::csvTypesGuessed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("types.csv"));
    QVERIFY(WriteBytes(path, "id,price,name,code\n1,2.5,x,007\n2,,y,010\n"));
    QString error;
    auto table = CsvTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(FieldTypeNames::driverName(table->fields().at(0).typeCode),
             QStringLiteral("Numeric Long"));
    QCOMPARE(FieldTypeNames::driverName(table->fields().at(1).typeCode),
             QStringLiteral("Numeric Double"));
    QCOMPARE(FieldTypeNames::driverName(table->fields().at(2).typeCode), QStringLiteral("Text"));
    // Leading zeros are kept: such a column is text, not a number.
    QCOMPARE(FieldTypeNames::driverName(table->fields().at(3).typeCode), QStringLiteral("Text"));
    QVERIFY(table->value(1, 1).isNull());
    QCOMPARE(table->value(0, 3).toString(), QStringLiteral("007"));
}

void TestDbSourcesFormats::csvRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    QTest::newRow("empty") << QByteArray() << "no header row";
    QTest::newRow("blank lines") << QByteArray("\r\n\n\r") << "no header row";
    QTest::newRow("binary") << QByteArray("PK\x03\x04\0\0\x14", 7) << "binary data";
}

void TestDbSourcesFormats::csvRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("odd.csv"));
    QVERIFY(WriteBytes(path, bytes));
    QString error;
    QVERIFY(!ForeignDatabase::open(path, SourceOptions(), &error));
    QVERIFY2(error.contains(QStringLiteral("odd.csv")) && error.contains(reason),
             qPrintable(error));
}

void TestDbSourcesFormats::sourceTypes_data()
{
    QTest::addColumn<QString>("connectText");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("type");

    QTest::newRow("Access") << "Access"
                            << "C:/data/nwind.MDB" << int(SourceType::Access);
    QTest::newRow("accdb") << "Access"
                           << "x.accdb" << int(SourceType::Access);
    QTest::newRow("Dbase 5.0;") << "Dbase 5.0;"
                                << "people.dbf" << int(SourceType::DBase);
    QTest::newRow("dBASE 5.0;") << "dBASE 5.0;"
                                << "PEOPLE.DBF" << int(SourceType::DBase);
    QTest::newRow("Paradox 5.x;") << "Paradox 5.x;"
                                  << "ORDERS.DB" << int(SourceType::Paradox);
    QTest::newRow("Text") << "Text"
                          << "list.csv" << int(SourceType::Text);
    QTest::newRow("txt") << "Text"
                         << "list.TXT" << int(SourceType::Text);
    QTest::newRow("unknown") << "Excel 8.0;"
                             << "sheet.xls" << int(SourceType::Auto);
}

void TestDbSourcesFormats::sourceTypes()
{
    QFETCH(QString, connectText);
    QFETCH(QString, path);
    QFETCH(int, type);
    QCOMPARE(int(SourceOptions::typeFromConnectText(connectText)), type);
    QCOMPARE(int(SourceOptions::typeFromPath(path)), type);
    QCOMPARE(int(SourceOptions::typeFromConnectText(QStringLiteral("FoxPro 3.0;"))),
             int(SourceType::FoxPro));
}

void TestDbSourcesFormats::typeNames_data()
{
    QTest::addColumn<int>("path");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");

    const int access = int(TypePath::Access);
    const int driver = int(TypePath::InstallableDriver);
    QTest::newRow("access 2") << access << 2 << "Numeric Integer";
    QTest::newRow("access 17") << access << 17 << "Numeric Integer";
    QTest::newRow("access 3") << access << 3 << "Numeric Long";
    QTest::newRow("access 6") << access << 6 << "Currency";
    QTest::newRow("access 9 unknown") << access << 9 << "";
    QTest::newRow("access 131") << access << 131 << "Numeric Decimal";
    QTest::newRow("access 203") << access << 203 << "Memo";
    QTest::newRow("access 205") << access << 205 << "OLE Object";
    QTest::newRow("driver 1") << driver << 1 << "Yes/No";
    QTest::newRow("driver 2") << driver << 2 << "Numeric Byte";
    QTest::newRow("driver 5") << driver << 5 << "Numeric Currency";
    QTest::newRow("driver 9 unknown") << driver << 9 << "";
    QTest::newRow("driver 10") << driver << 10 << "Text";
    QTest::newRow("driver 15") << driver << 15 << "dbGUID";
}

void TestDbSourcesFormats::typeNames()
{
    QFETCH(int, path);
    QFETCH(int, code);
    QFETCH(QString, name);
    QCOMPARE(FieldTypeNames::name(static_cast<TypePath>(path), code), name);
}

void TestDbSourcesFormats::valueClasses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("valueClass");

    QTest::newRow("text") << "Text" << int(ValueClass::Text);
    QTest::newRow("memo upper") << "MEMO" << int(ValueClass::Text);
    QTest::newRow("long") << "Numeric Long" << int(ValueClass::Number);
    QTest::newRow("currency") << "Currency" << int(ValueClass::Number);
    // The driver path's currency name is not in the list, so it gives no class.
    QTest::newRow("numeric currency") << "Numeric Currency" << int(ValueClass::None);
    QTest::newRow("byte") << "Numeric Byte" << int(ValueClass::None);
    QTest::newRow("date") << "Date/Time" << int(ValueClass::Date);
    QTest::newRow("yes") << "yes/no" << int(ValueClass::Yes);
    QTest::newRow("empty") << "" << int(ValueClass::None);
}

void TestDbSourcesFormats::valueClasses()
{
    QFETCH(QString, name);
    QFETCH(int, valueClass);
    QCOMPARE(int(FieldTypeNames::valueClass(name)), valueClass);
}

QTEST_GUILESS_MAIN(TestDbSourcesFormats)
#include "tst_SourceFormats.moc"
