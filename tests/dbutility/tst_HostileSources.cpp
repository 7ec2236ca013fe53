// Files an attacker or an unlucky user might pick, each built here: the readers neither crash
// nor hang on them, read what they hold, or say why they cannot.

#include "CsvTable.h"
#include "DbfTable.h"
#include "FieldNames.h"
#include "FieldTypeNames.h"
#include "ForeignDatabase.h"
#include "ParadoxTable.h"
#include "SourceModule.h"
#include "SourceTestFiles.h"
#include "TestFiles.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <sys/wait.h>
#include <unistd.h>

namespace
{

// A Paradox table of 200 records in three 16 KB blocks (chained 1 -> 2 -> 3).
constexpr int paradoxRows = 200;

bool makeThreeBlockTable(const QString &path)
{
    QList<QVariantList> rows;
    for (int i = 0; i < paradoxRows; ++i)
        rows.append({QStringLiteral("row %1").arg(i)});
    return MakeParadox(path, {{"Name", pxfAlpha, 200}}, rows);
}

// Overwrites bytes of a file at an offset.
bool patch(const QString &path, qint64 offset, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(offset) &&
           file.write(bytes) == bytes.size();
}

QByteArray le16(int value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(quint16(value), bytes.data());
    return bytes;
}

QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<quint32>(value, bytes.data());
    return bytes;
}

// Runs check as the unprivileged user "nobody" when the tests run as root (root may write any
// file, so a read-only file would not be read-only for it). -1 when that cannot be arranged.
int asUnprivileged(const std::function<bool()> &check)
{
    if (geteuid() != 0)
        return check() ? 1 : 0;
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        _exit(check() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) <= 1 ? WEXITSTATUS(status) : -1;
}

} // namespace

class TestHostileSources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void foxProEmptyVarbinaryIsNull();
    void paradoxDamagedChainRefused_data();
    void paradoxDamagedChainRefused();
    void paradoxReadOnlyTableOpens();
    void numericTypesCompareAsNumbers_data();
    void numericTypesCompareAsNumbers();
    void csvUnicodeMarks_data();
    void csvUnicodeMarks();
    void csvNumbersOnlyWhenFaithful_data();
    void csvNumbersOnlyWhenFaithful();
    void repeatedFieldNames_data();
    void repeatedFieldNames();
    void tooManyColumnsSaySo();
    void dbfCreateRefusesWhatCannotOpen();
    void dBase3MemoWithoutEndMark();
};

// A Visual FoxPro varbinary of length 0 whose "shorter than the field" bit is set: its length
// byte would lie before the field, and the value was read up to the next NUL byte anywhere.
void TestHostileSources::foxProEmptyVarbinaryIsNull()
{
    const QList<DbfFieldBytes> fields{{"NAME", 'C', 8}, {"BLOB", 'Q', 0}, {"_NullFlags", '0', 1}};
    // No NUL byte anywhere after the header, and the table fills whole pages.
    const int records = 4 * 1024 * 1024 / 10;
    QList<QByteArray> rows;
    for (int i = 0; i < records; ++i)
        rows.append(QByteArray(" name    \x01", 10));
    QByteArray bytes = DbfFile(0x30, fields, rows);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vfp.dbf"));
    QVERIFY(WriteBytes(path, bytes.left(bytes.size() - 1)));
    QString error;
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->fields().size(), 2);
    QVERIFY(table->value(0, 1).isNull());
    QVERIFY(table->value(records - 1, 1).isNull());
    QCOMPARE(table->value(records - 1, 0).toString(), QStringLiteral("name"));
    auto inMemory = DbfTable::fromBytes(bytes, {}, 0, &error);
    QVERIFY2(inMemory, qPrintable(error));
    QVERIFY(inMemory->value(7, 1).isNull());
}

void TestHostileSources::paradoxDamagedChainRefused_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("offset"); // within the block or the header (block 0)
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    QTest::newRow("block points at itself") << 2 << 0 << le16(2) << "leads back to block 2";
    QTest::newRow("block points back into the chain")
        << 3 << 0 << le16(1) << "leads back to block 1";
    QTest::newRow("block beyond the file") << 2 << 0 << le16(999) << "beyond the end";
    QTest::newRow("first block beyond the file") << 0 << 0x0E << le16(40) << "beyond the end";
    QTest::newRow("encrypted") << 0 << 0x25 << le32(0x1234) << "encrypted";
    QTest::newRow("encrypted in the data header") << 0 << 0x5C << le32(0xBEEF) << "encrypted";
    QTest::newRow("record larger than a block") << 0 << 0x00 << le16(30000) << "does not describe";
    QTest::newRow("chain ends before the last block") << 0 << 0x10 << le16(2) << "does not end";
    QTest::newRow("last block beyond the file") << 0 << 0x10 << le16(257) << "does not end";
    QTest::newRow("more blocks than the file") << 0 << 0x0C << le16(40) << "more than the file";
    // pxlib took the second encryption word from a data header it had not read.
    QTest::newRow("unknown version") << 0 << 0x39 << QByteArray("\x0E") << "unknown version";
    // pxlib copied a 200-byte "currency" into an 8-byte buffer on its stack.
    QTest::newRow("a number of the wrong size")
        << 0 << 0x78 << QByteArray("\x05") << "do not go together";
    // pxlib read the missing part of a cut block from whatever its buffer held.
    QTest::newRow("cut inside a block") << 3 << 16000 << QByteArray() << "ends inside a data block";
    QTest::newRow("a billion records")
        << 0 << 0x06 << le32(1u << 30) << "more than its blocks hold";
    // pxlib read 58,624 field descriptors one byte at a time: seconds per open.
    QTest::newRow("more fields than the header holds")
        << 0 << 0x21 << le16(58624) << "fields do not fit";
}

void TestHostileSources::paradoxDamagedChainRefused()
{
    QFETCH(int, block);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chain.db"));
    QVERIFY(makeThreeBlockTable(path));
    QString error;
    QVERIFY2(ParadoxTable::open(path, SourceOptions(), &error), qPrintable(error));
    const QByteArray header = ReadBytes(path).left(0x80);
    const int headerSize = qFromLittleEndian<quint16>(header.constData() + 2);
    const int blockSize = uchar(header.at(5)) * 1024;
    const qint64 at = block == 0 ? offset : headerSize + (block - 1) * qint64(blockSize) + offset;
    // No bytes: the file is cut there.
    QVERIFY(bytes.isEmpty() ? QFile::resize(path, at) : patch(path, at, bytes));
    QVERIFY(!ParadoxTable::open(path, SourceOptions(), &error));
    QVERIFY2(error.contains(QStringLiteral("chain.db")) && error.contains(reason),
             qPrintable(error));
    QVERIFY(!ForeignDatabase::open(path, SourceOptions(), &error));
}

// pxlib's own open asks for write access: a read-only table could not be read at all.
void TestHostileSources::paradoxReadOnlyTableOpens()
{
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadOther |
                                                  QFile::ExeOther));
    const QString path = dir.filePath(QStringLiteral("locked.db"));
    QVERIFY(MakeParadox(path, {{"Name", pxfAlpha, 10}, {"Qty", pxfShort, 2}},
                        {{QStringLiteral("a"), 1}, {QStringLiteral("b"), 2}}));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadOther));
    const int opened = asUnprivileged([&path] {
        QString error;
        auto table = ParadoxTable::open(path, SourceOptions(), &error);
        return table && table->rowCount() == 2 && table->value(1, 1).toInt() == 2 &&
               table->readOnlyReason().contains(QStringLiteral("read-only"));
    });
    QVERIFY2(opened >= 0, "cannot run the check as an unprivileged user");
    QCOMPARE(opened, 1);
}

void TestHostileSources::numericTypesCompareAsNumbers_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("sql");

    QTest::newRow("Paradox currency") << "money.db"
                                      << "select count(*) from money where Price";
    QTest::newRow("FoxPro currency") << "money.dbf"
                                     << "select count(*) from money where PRICE";
}

// A comparison with a quoted number compares numbers, not texts of different kinds.
void TestHostileSources::numericTypesCompareAsNumbers()
{
    QFETCH(QString, file);
    QFETCH(QString, sql);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    QString error;
    if (file.endsWith(QLatin1String(".db"))) {
        QVERIFY(MakeParadox(path, {{"Price", pxfCurrency, 8}}, {{50.0}, {150.0}, {250.0}}));
    } else {
        QVERIFY(DbfTable::create(path, {{QStringLiteral("PRICE"), 'Y', 8, 4}}, 0x30, 1252, &error));
        auto database = ForeignDatabase::open(path, SourceOptions(), &error);
        QVERIFY2(database, qPrintable(error));
        QVERIFY2(RunSql(*database, QStringLiteral("insert into money values (50)"), &error) &&
                     RunSql(*database, QStringLiteral("insert into money values (150)"), &error) &&
                     RunSql(*database, QStringLiteral("insert into money values (250)"), &error),
                 qPrintable(error));
    }
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    QCOMPARE(SqlColumn(*database, sql + QStringLiteral(" > 100")), QStringList{"2"});
    QCOMPARE(SqlColumn(*database, sql + QStringLiteral(" > '100'")), QStringList{"2"});
    QCOMPARE(SqlColumn(*database, sql + QStringLiteral(" = '150'")), QStringList{"1"});
    // Every numeric type is a number column; the filter boxes keep their own table.
    for (JetType type : {JetType::Byte, JetType::Currency, JetType::Integer, JetType::Single})
        QCOMPARE(FieldTypeNames::storedClass(TypePath::InstallableDriver, int(type)),
                 ValueClass::Number);
    QCOMPARE(FieldTypeNames::valueClass(QStringLiteral("Numeric Currency")), ValueClass::None);
}

void TestHostileSources::csvUnicodeMarks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");

    const QString text = QStringLiteral("name,city\r\nZoë,Łódź\r\n");
    const auto marked = [&text](QStringConverter::Encoding encoding) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        return QByteArray(encoder.encode(text));
    };
    QTest::newRow("UTF-16 LE") << marked(QStringConverter::Utf16LE)
                               << int(CsvTable::Encoding::Utf16Le);
    QTest::newRow("UTF-16 BE") << marked(QStringConverter::Utf16BE)
                               << int(CsvTable::Encoding::Utf16Be);
    QTest::newRow("UTF-32 LE") << marked(QStringConverter::Utf32LE)
                               << int(CsvTable::Encoding::Utf32Le);
    QTest::newRow("UTF-32 BE") << marked(QStringConverter::Utf32BE)
                               << int(CsvTable::Encoding::Utf32Be);
    QTest::newRow("UTF-8") << marked(QStringConverter::Utf8) << int(CsvTable::Encoding::Utf8Bom);
}

// UTF-16 holds NUL bytes: with its mark it was refused as binary. A write keeps the encoding.
void TestHostileSources::csvUnicodeMarks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("people.csv"));
    QVERIFY(WriteBytes(path, bytes));
    QString error;
    auto table = CsvTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(int(table->encoding()), encoding);
    QCOMPARE(table->fields().at(1).name, QStringLiteral("city"));
    QCOMPARE(table->value(0, 1).toString(), QStringLiteral("Łódź"));
    QVERIFY(table->beginWrite(&error));
    QVERIFY(table->updateRow(0, {{1, QStringLiteral("Kraków")}}, &error));
    QVERIFY2(table->commitWrite(&error), qPrintable(error));
    auto again = CsvTable::open(path, SourceOptions(), &error);
    QVERIFY2(again, qPrintable(error));
    QCOMPARE(int(again->encoding()), encoding);
    QCOMPARE(again->value(0, 0).toString(), QStringLiteral("Zoë"));
    QCOMPARE(again->value(0, 1).toString(), QStringLiteral("Kraków"));
}

void TestHostileSources::csvNumbersOnlyWhenFaithful_data()
{
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QVariant>("first");

    QTest::newRow("whole numbers")
        << QByteArray("12\n-7\n0\n") << "Numeric Long" << QVariant(qint64(12));
    QTest::newRow("decimals") << QByteArray("1.50\n-0.25\n3\n") << "Numeric Double"
                              << QVariant(1.5);
    QTest::newRow("15 digits") << QByteArray("123456789012345\n") << "Numeric Long"
                               << QVariant(qint64(123456789012345));
    QTest::newRow("20-digit identifiers") << QByteArray("12345678901234567891\n1\n") << "Text"
                                          << QVariant(QStringLiteral("12345678901234567891"));
    QTest::newRow("16 significant digits") << QByteArray("0.1234567890123456\n") << "Text"
                                           << QVariant(QStringLiteral("0.1234567890123456"));
    QTest::newRow("exponent") << QByteArray("1E5\n2\n") << "Text"
                              << QVariant(QStringLiteral("1E5"));
    QTest::newRow("plus sign") << QByteArray("+5\n") << "Text" << QVariant(QStringLiteral("+5"));
    QTest::newRow("leading zero") << QByteArray("007\n") << "Text"
                                  << QVariant(QStringLiteral("007"));
    QTest::newRow("negative zero")
        << QByteArray("-0\n") << "Text" << QVariant(QStringLiteral("-0"));
    QTest::newRow("infinity") << QByteArray("inf\n") << "Text" << QVariant(QStringLiteral("inf"));
    QTest::newRow("bare point") << QByteArray("5.\n") << "Text" << QVariant(QStringLiteral("5."));
    QTest::newRow("hex") << QByteArray("0x1A\n") << "Text" << QVariant(QStringLiteral("0x1A"));
    QTest::newRow("quoted numbers")
        << QByteArray("\"42\"\n\"-1\"\n") << "Numeric Long" << QVariant(qint64(42));
}

void TestHostileSources::csvNumbersOnlyWhenFaithful()
{
    QFETCH(QByteArray, values);
    QFETCH(QString, type);
    QFETCH(QVariant, first);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ids.csv"));
    QVERIFY(WriteBytes(path, "id\n" + values));
    QString error;
    auto table = CsvTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(FieldTypeNames::driverName(table->fields().at(0).typeCode), type);
    QCOMPARE(table->value(0, 0), first);
}

void TestHostileSources::repeatedFieldNames_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("repeats") << QStringList{"a", "a", "A", "b"}
                             << QStringList{"a", "a_2", "A_3", "b"};
    QTest::newRow("a number taken by a real name")
        << QStringList{"a", "a_2", "a", "a"} << QStringList{"a", "a_2", "a_3", "a_4"};
    QTest::newRow("a real name after the numbering")
        << QStringList{"a", "a", "a_2", "a"} << QStringList{"a", "a_2", "a_2_2", "a_3"};
    QTest::newRow("empty names") << QStringList{"", "F2", ""} << QStringList{"F1", "F2", "F3"};
    QTest::newRow("blanks around") << QStringList{" x ", "x"} << QStringList{"x", "x_2"};
}

void TestHostileSources::repeatedFieldNames()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    FieldNames fieldNames(QStringLiteral("F"));
    QStringList given;
    for (const QString &name : std::as_const(names))
        given.append(fieldNames.add(name));
    QCOMPARE(given, expected);
}

// 20,000 equal header names are numbered; past 2,000 columns the message says what is wrong.
void TestHostileSources::tooManyColumnsSaySo()
{
    QTemporaryDir dir;
    const QString wide = dir.filePath(QStringLiteral("wide.csv"));
    QByteArray header = "x";
    for (int i = 1; i < 20000; ++i)
        header += ",x";
    QVERIFY(WriteBytes(wide, header + "\n"));
    QString error;
    auto table = CsvTable::open(wide, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->fields().size(), 20000);
    QCOMPARE(table->fields().last().name, QStringLiteral("x_20000"));
    QVERIFY(!ForeignDatabase::open(wide, SourceOptions(), &error));
    QVERIFY2(error.contains(QStringLiteral("this table has 20000 columns; at most 2,000 can be "
                                           "shown")),
             qPrintable(error));
    const QString fits = dir.filePath(QStringLiteral("fits.csv"));
    QVERIFY(WriteBytes(fits, header.left(2000 * 2 - 1) + "\n"));
    QVERIFY2(ForeignDatabase::open(fits, SourceOptions(), &error), qPrintable(error));
}

void TestHostileSources::dbfCreateRefusesWhatCannotOpen()
{
    QTemporaryDir dir;
    QList<DbfTable::FieldSpec> fields;
    for (int i = 0; i < 2001; ++i)
        fields.append({QStringLiteral("F%1").arg(i), 'C', 1, 0});
    const QString path = dir.filePath(QStringLiteral("wide.dbf"));
    QString error;
    QVERIFY(!DbfTable::create(path, fields, 0x03, 1252, &error));
    QVERIFY2(error.contains(QStringLiteral("2,000 fields")), qPrintable(error));
    QVERIFY(!QFile::exists(path));
    fields.removeLast();
    QVERIFY2(DbfTable::create(path, fields, 0x03, 1252, &error), qPrintable(error));
    QVERIFY2(ForeignDatabase::open(path, SourceOptions(), &error), qPrintable(error));
}

// dBase III memos end at 0x1A; without one a memo ran on to the end of the file, so every row
// returned all memos after its own.
void TestHostileSources::dBase3MemoWithoutEndMark()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notes.dbf"));
    QByteArray memo(512, '\0');
    qToLittleEndian<quint32>(6, memo.data());              // next free block
    memo += QByteArray("first").leftJustified(512, 'x');   // block 1
    memo += QByteArray("second").leftJustified(1024, 'y'); // blocks 2-3
    memo += QByteArray("last").leftJustified(1024, 'z');   // blocks 4-5
    memo += QByteArray(4096, 'g');                         // garbage past the next free block
    QVERIFY(WriteBytes(dir.filePath(QStringLiteral("notes.dbt")), memo));
    // Rows refer to the memos out of order; one row repeats a block.
    QVERIFY(WriteBytes(path, DbfFile(0x83, {{"NOTE", 'M', 10}},
                                     {" " + QByteArray("4").rightJustified(10),
                                      " " + QByteArray("1").rightJustified(10),
                                      " " + QByteArray("2").rightJustified(10),
                                      " " + QByteArray("1").rightJustified(10)})));
    QString error;
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->value(1, 0).toString(), QStringLiteral("first").leftJustified(512, u'x'));
    QCOMPARE(table->value(2, 0).toString(), QStringLiteral("second").leftJustified(1024, u'y'));
    QCOMPARE(table->value(0, 0).toString(), QStringLiteral("last").leftJustified(1024, u'z'));
}

QTEST_GUILESS_MAIN(TestHostileSources)
#include "tst_HostileSources.moc"
