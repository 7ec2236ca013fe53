// Writes to dBase/FoxPro and text tables: values round-trip, headers stay right, a backup is
// kept before the first write, and a write either completes or leaves the files as they were.

#include "SourceTestFiles.h"
#include "TestFiles.h"
#include "CsvTable.h"
#include "DbfTable.h"
#include "ForeignDatabase.h"
#include "JetSql.h"
#include "ParadoxTable.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace
{

QStringList filesIn(const QTemporaryDir &dir)
{
    QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    return files;
}

// A Paradox table without primary index: Name A20, Count S, Born D, Ok L, Price $.
bool makeParadox(const QString &path)
{
    return MakeParadox(path, {{"Name", pxfAlpha, 20},
                              {"Count", pxfShort, 2},
                              {"Born", pxfDate, 4},
                              {"Ok", pxfLogical, 1},
                              {"Price", pxfCurrency, 8}});
}

const QList<DbfTable::FieldSpec> plainFields{
    {QStringLiteral("NAME"), 'C', 10, 0}, {QStringLiteral("COUNT"), 'N', 5, 0},
    {QStringLiteral("PRICE"), 'N', 8, 2}, {QStringLiteral("RATE"), 'F', 9, 3},
    {QStringLiteral("BORN"), 'D', 8, 0},  {QStringLiteral("OK"), 'L', 1, 0},
};

} // namespace

class TestDbSourcesWrites : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dbfRoundTrip_data();
    void dbfRoundTrip();
    void dbfAppendKeepsHeaderRight();
    void dbfDeleteSetsFlag();
    void dbfMemoUpdateKeepsOthers_data();
    void dbfMemoUpdateKeepsOthers();
    void dbfBackupKeptOnce();
    void dbfBackupChoice();
    void dbfRollbackLeavesFiles();
    void dbfAbandonedWriteLeavesFiles();
    void dbfRefusedValues_data();
    void dbfRefusedValues();
    void dbfReadOnlyWithoutMemoFile();
    void foxProDateTimes_data();
    void foxProDateTimes();

    void paradoxUpdateInPlace();
    void paradoxKeyedTableRefuses_data();
    void paradoxKeyedTableRefuses();
    void paradoxUnkeyedTableRoundTrip();

    void csvRoundTripDialect_data();
    void csvRoundTripDialect();
    void csvBackupAndFailedStatement();
};

void TestDbSourcesWrites::dbfRoundTrip_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("memo");
    QTest::addColumn<QString>("memoFile");

    QTest::newRow("FoxBASE") << 0x02 << false << "";
    QTest::newRow("dBase III") << 0x03 << false << "";
    QTest::newRow("dBase 7") << 0x04 << false << "";
    QTest::newRow("dBase 7 memo") << 0x8C << true << "t.dbt";
    QTest::newRow("dBase III memo") << 0x83 << true << "t.dbt";
    QTest::newRow("dBase IV memo") << 0x8B << true << "t.dbt";
    QTest::newRow("FoxPro 2 memo") << 0xF5 << true << "t.fpt";
    QTest::newRow("Visual FoxPro") << 0x30 << true << "t.fpt";
}

void TestDbSourcesWrites::dbfRoundTrip()
{
    QFETCH(int, version);
    QFETCH(bool, memo);
    QFETCH(QString, memoFile);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    QList<DbfTable::FieldSpec> fields = plainFields;
    if (memo)
        fields.append({QStringLiteral("NOTES"), 'M', version == 0x30 ? 4 : 10, 0});
    QString error;
    QVERIFY2(DbfTable::create(path, fields, uchar(version), 1252, &error), qPrintable(error));
    if (memo)
        QVERIFY(QFile::exists(dir.filePath(memoFile)));

    const QString longMemo = QString(700, QLatin1Char('m')) + QStringLiteral(" – ende");
    QMap<int, QVariant> row{{0, QStringLiteral("Müller")},
                            {1, qint64(-1234)},
                            {2, 99.5},
                            {3, QStringLiteral("0.125")},
                            {4, QStringLiteral("2024-02-29")},
                            {5, QStringLiteral("T")}};
    if (memo)
        row.insert(6, longMemo);
    QMap<int, QVariant> empty{{0, QVariant()}, {5, QVariant()}};
    {
        auto table = DbfTable::open(path, SourceOptions(), &error);
        QVERIFY2(table, qPrintable(error));
        QVERIFY(table->beginWrite(&error));
        qint64 slot = -1;
        QVERIFY2(table->insertRow(row, &slot, &error), qPrintable(error));
        QCOMPARE(slot, 0);
        QVERIFY2(table->insertRow(empty, &slot, &error), qPrintable(error));
        QVERIFY2(table->commitWrite(&error), qPrintable(error));
    }
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->slotCount(), 2);
    QCOMPARE(table->value(0, 0).toString(), QStringLiteral("Müller"));
    QCOMPARE(table->value(0, 1).toLongLong(), -1234);
    QCOMPARE(table->value(0, 2).toDouble(), 99.5);
    QCOMPARE(table->value(0, 3).toDouble(), 0.125);
    QCOMPARE(table->value(0, 4).toString(), QStringLiteral("2024-02-29 00:00:00"));
    QCOMPARE(table->value(0, 5).toLongLong(), 1);
    if (memo)
        QCOMPARE(table->value(0, 6).toString(), longMemo);
    for (int c = 0; c < table->fields().size(); ++c)
        QVERIFY2(table->value(1, c).isNull(), qPrintable(table->fields().at(c).name));

    const QByteArray bytes = ReadBytes(path);
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 4), 2u);
    const QDate today = QDate::currentDate();
    QCOMPARE(int(uchar(bytes.at(1))) + 1900, today.year());
    QCOMPARE(int(uchar(bytes.at(2))), today.month());
    QCOMPARE(int(uchar(bytes.at(3))), today.day());
    const int headerSize = qFromLittleEndian<quint16>(bytes.constData() + 8);
    const int recordLength = qFromLittleEndian<quint16>(bytes.constData() + 10);
    QCOMPARE(bytes.size(), headerSize + 2 * recordLength + 1);
    QCOMPARE(bytes.back(), '\x1A');
}

void TestDbSourcesWrites::dbfAppendKeepsHeaderRight()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    QString error;
    QVERIFY(DbfTable::create(path, plainFields, 0x03, 1252, &error));
    // Two sessions of appends: the count grows, the end-of-file mark moves to the new end.
    for (int session = 0; session < 2; ++session) {
        auto table = DbfTable::open(path, SourceOptions(), &error);
        QVERIFY2(table, qPrintable(error));
        QVERIFY(table->beginWrite(&error));
        for (int i = 0; i < 3; ++i) {
            qint64 slot = 0;
            QVERIFY2(table->insertRow({{0, QStringLiteral("row%1").arg(session * 3 + i)}}, &slot,
                                      &error),
                     qPrintable(error));
            QCOMPARE(slot, session * 3 + i);
        }
        // Rows appended in the transaction are readable before it commits.
        QCOMPARE(table->value(session * 3 + 2, 0).toString(),
                 QStringLiteral("row%1").arg(session * 3 + 2));
        QVERIFY2(table->commitWrite(&error), qPrintable(error));
    }
    const QByteArray bytes = ReadBytes(path);
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 4), 6u);
    const int headerSize = qFromLittleEndian<quint16>(bytes.constData() + 8);
    const int recordLength = qFromLittleEndian<quint16>(bytes.constData() + 10);
    QCOMPARE(bytes.size(), headerSize + 6 * recordLength + 1);
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QCOMPARE(table->rowCount(), 6);
    QCOMPARE(table->value(5, 0).toString(), QStringLiteral("row5"));
}

void TestDbSourcesWrites::dbfDeleteSetsFlag()
{
    NUVELA_REQUIRE_SAMPLES();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("people.dbf"));
    QVERIFY(QFile::copy(SamplesDir() + QStringLiteral("/dbf/people.dbf"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QString error;
    {
        auto table = DbfTable::open(path, SourceOptions(), &error);
        QVERIFY2(table, qPrintable(error));
        QCOMPARE(table->rowCount(), 2);
        QVERIFY(table->beginWrite(&error));
        QVERIFY2(table->deleteRow(0, &error), qPrintable(error));
        QVERIFY2(table->commitWrite(&error), qPrintable(error));
    }
    const QByteArray bytes = ReadBytes(path);
    const int headerSize = qFromLittleEndian<quint16>(bytes.constData() + 8);
    QCOMPARE(bytes.at(headerSize), '*');
    // The record stays in the file, so the count in the header does not change.
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 4), 3u);
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->value(1, 0).toString(), QStringLiteral("Bob"));
}

void TestDbSourcesWrites::dbfMemoUpdateKeepsOthers_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("copyName");

    QTest::newRow("dBase III .dbt") << "dbase_83.dbf"
                                    << "dbase_83.dbt"
                                    << "d83";
    QTest::newRow("dBase IV .dbt") << "dbase_8b.dbf"
                                   << "dbase_8b.dbt"
                                   << "d8b";
    QTest::newRow("FoxPro .FPT upper case") << "dbase_f5.dbf"
                                            << "dbase_f5.fpt"
                                            << "F5";
}

void TestDbSourcesWrites::dbfMemoUpdateKeepsOthers()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(QString, table);
    QFETCH(QString, memo);
    QFETCH(QString, copyName);
    QTemporaryDir dir;
    const bool upper = copyName == copyName.toUpper();
    const QString path =
        dir.filePath(copyName + (upper ? QStringLiteral(".DBF") : QStringLiteral(".dbf")));
    const QString memoPath = dir.filePath(
        copyName + QLatin1Char('.') +
        (upper ? memo.section(QLatin1Char('.'), 1).toUpper() : memo.section(QLatin1Char('.'), 1)));
    QVERIFY(QFile::copy(SamplesDir() + QStringLiteral("/dbf/") + table, path));
    QVERIFY(QFile::copy(SamplesDir() + QStringLiteral("/dbf/") + memo, memoPath));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(memoPath, QFile::ReadOwner | QFile::WriteOwner);

    QString error;
    QList<QVariantList> before;
    int memoColumn = -1;
    {
        auto original = DbfTable::open(path, SourceOptions(), &error);
        QVERIFY2(original, qPrintable(error));
        for (int c = 0; c < original->fields().size(); ++c) {
            if (original->fields().at(c).nativeType == QLatin1String("M") && memoColumn < 0)
                memoColumn = c;
        }
        QVERIFY(memoColumn >= 0);
        for (qint64 slot = 0; slot < original->slotCount(); ++slot) {
            QVariantList row;
            for (int c = 0; c < original->fields().size(); ++c)
                row.append(original->value(slot, c));
            before.append(row);
        }
        QVERIFY(original->beginWrite(&error));
        QVERIFY2(original->updateRow(
                     0, {{memoColumn, QStringLiteral("A new memo\r\nwith two lines")}}, &error),
                 qPrintable(error));
        QVERIFY2(original->commitWrite(&error), qPrintable(error));
    }
    auto changed = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(changed, qPrintable(error));
    QCOMPARE(changed->value(0, memoColumn).toString(),
             QStringLiteral("A new memo\r\nwith two lines"));
    for (qint64 slot = 0; slot < changed->slotCount(); ++slot) {
        for (int c = 0; c < changed->fields().size(); ++c) {
            if (slot == 0 && c == memoColumn)
                continue;
            QCOMPARE(changed->value(slot, c), before.at(slot).at(c));
        }
    }
}

void TestDbSourcesWrites::dbfBackupKeptOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    QString error;
    QList<DbfTable::FieldSpec> fields = plainFields;
    fields.append({QStringLiteral("NOTES"), 'M', 10, 0});
    QVERIFY(DbfTable::create(path, fields, 0x83, 1252, &error));
    const QByteArray original = ReadBytes(path);
    const QByteArray originalMemo = ReadBytes(dir.filePath(QStringLiteral("t.dbt")));
    const auto append = [&](DbfTable &table, const QString &name) {
        QVERIFY(table.beginWrite(&error));
        qint64 slot = 0;
        QVERIFY2(table.insertRow({{0, name}, {6, name + QStringLiteral(" memo")}}, &slot, &error),
                 qPrintable(error));
        QVERIFY2(table.commitWrite(&error), qPrintable(error));
    };
    {
        auto table = DbfTable::open(path, SourceOptions(), &error);
        QVERIFY(!QFile::exists(path + QStringLiteral(".bak")));
        append(*table, QStringLiteral("first"));
        QCOMPARE(ReadBytes(path + QStringLiteral(".bak")), original);
        QCOMPARE(ReadBytes(dir.filePath(QStringLiteral("t.dbt.bak"))), originalMemo);
        // A second write of the same session keeps the copy from before the session.
        append(*table, QStringLiteral("second"));
        QCOMPARE(ReadBytes(path + QStringLiteral(".bak")), original);
    }
    const QByteArray afterFirstSession = ReadBytes(path);
    auto table = DbfTable::open(path, SourceOptions(), &error);
    append(*table, QStringLiteral("third"));
    QCOMPARE(ReadBytes(path + QStringLiteral(".bak")), afterFirstSession);
    QCOMPARE(table->rowCount(), 3);
}

void TestDbSourcesWrites::dbfBackupChoice()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    QString error;
    QVERIFY(DbfTable::create(path, plainFields, 0x03, 1252, &error));
    SourceOptions options;
    options.backupSuffix = QStringLiteral(".orig");
    {
        auto table = DbfTable::open(path, options, &error);
        qint64 slot = 0;
        QVERIFY(table->beginWrite(&error));
        QVERIFY(table->insertRow({{0, QStringLiteral("x")}}, &slot, &error));
        QVERIFY(table->commitWrite(&error));
    }
    QCOMPARE(filesIn(dir), (QStringList{"t.dbf", "t.dbf.orig"}));
    options.backupSuffix.clear();
    QFile::remove(path + QStringLiteral(".orig"));
    auto table = DbfTable::open(path, options, &error);
    qint64 slot = 0;
    QVERIFY(table->beginWrite(&error));
    QVERIFY(table->insertRow({{0, QStringLiteral("y")}}, &slot, &error));
    QVERIFY(table->commitWrite(&error));
    QCOMPARE(filesIn(dir), QStringList{"t.dbf"});
}

void TestDbSourcesWrites::dbfRollbackLeavesFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    QString error;
    QList<DbfTable::FieldSpec> fields = plainFields;
    fields.append({QStringLiteral("NOTES"), 'M', 10, 0});
    QVERIFY(DbfTable::create(path, fields, 0x8B, 1252, &error));
    {
        auto table = DbfTable::open(path, SourceOptions(), &error);
        QVERIFY(table->beginWrite(&error));
        qint64 slot = 0;
        QVERIFY(table->insertRow({{0, QStringLiteral("keep")}, {6, QStringLiteral("kept memo")}},
                                 &slot, &error));
        QVERIFY(table->commitWrite(&error));
    }
    const QByteArray before = ReadBytes(path);
    const QByteArray memoBefore = ReadBytes(dir.filePath(QStringLiteral("t.dbt")));
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY(table->beginWrite(&error));
    qint64 slot = 0;
    QVERIFY(table->insertRow({{0, QStringLiteral("gone")}, {6, QStringLiteral("gone memo")}}, &slot,
                             &error));
    QVERIFY(table->updateRow(
        0, {{0, QStringLiteral("changed")}, {6, QStringLiteral("changed memo")}}, &error));
    QVERIFY(table->deleteRow(0, &error));
    table->rollbackWrite();
    QCOMPARE(ReadBytes(path), before);
    QCOMPARE(ReadBytes(dir.filePath(QStringLiteral("t.dbt"))), memoBefore);
    QCOMPARE(table->slotCount(), 1);
    QCOMPARE(table->value(0, 0).toString(), QStringLiteral("keep"));
    QCOMPARE(table->value(0, 6).toString(), QStringLiteral("kept memo"));
    QCOMPARE(filesIn(dir), (QStringList{"t.dbf", "t.dbf.bak", "t.dbt", "t.dbt.bak"}));
}

void TestDbSourcesWrites::dbfAbandonedWriteLeavesFiles()
{
    // A table closed in the middle of a write (the program stopping) leaves the old files.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    QString error;
    QVERIFY(DbfTable::create(path, plainFields, 0x03, 1252, &error));
    const QByteArray before = ReadBytes(path);
    {
        auto table = DbfTable::open(path, SourceOptions(), &error);
        QVERIFY(table->beginWrite(&error));
        qint64 slot = 0;
        QVERIFY(table->insertRow({{0, QStringLiteral("lost")}}, &slot, &error));
    }
    QCOMPARE(ReadBytes(path), before);
    QCOMPARE(filesIn(dir), (QStringList{"t.dbf", "t.dbf.bak"}));
}

void TestDbSourcesWrites::dbfRefusedValues_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("reason");

    QTest::newRow("text too long")
        << 0 << QVariant(QStringLiteral("eleven char")) << "longer than 10";
    QTest::newRow("not a number") << 1 << QVariant(QStringLiteral("abc")) << "not a number";
    QTest::newRow("too many digits") << 1 << QVariant(qint64(123456)) << "more than 5";
    QTest::newRow("decimals overflow") << 2 << QVariant(123456.78) << "more than 8";
    QTest::newRow("not a date") << 4 << QVariant(QStringLiteral("31-02-2020x")) << "not a date";
    QTest::newRow("impossible date") << 4 << QVariant(QStringLiteral("2023-02-29")) << "not a date";
    QTest::newRow("not yes or no") << 5 << QVariant(QStringLiteral("maybe")) << "Yes or No";
}

void TestDbSourcesWrites::dbfRefusedValues()
{
    QFETCH(int, column);
    QFETCH(QVariant, value);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    QString error;
    QVERIFY(DbfTable::create(path, plainFields, 0x03, 1252, &error));
    const QByteArray before = ReadBytes(path);
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY(table->beginWrite(&error));
    qint64 slot = 0;
    QVERIFY(!table->insertRow({{column, value}}, &slot, &error));
    QVERIFY2(error.contains(reason) && error.contains(QStringLiteral("t.dbf")) &&
                 error.contains(table->fields().at(column).name),
             qPrintable(error));
    table->rollbackWrite();
    QCOMPARE(ReadBytes(path), before);
}

void TestDbSourcesWrites::dbfReadOnlyWithoutMemoFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    QString error;
    QVERIFY(DbfTable::create(path, {{QStringLiteral("NOTES"), 'M', 10, 0}}, 0x83, 1252, &error));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("t.dbt"))));
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QVERIFY(table->readOnlyReason().contains(QStringLiteral("memo file is missing")));
    qint64 slot = 0;
    QVERIFY(table->beginWrite(&error));
    QVERIFY(!table->insertRow({}, &slot, &error));
    QCOMPARE(error, table->readOnlyReason());
}

void TestDbSourcesWrites::foxProDateTimes_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("read");

    QTest::newRow("canonical") << "2024-02-29 13:05:09"
                               << "2024-02-29 13:05:09";
    QTest::newRow("T and no seconds") << "1999-12-31T23:59"
                                      << "1999-12-31 23:59:00";
    QTest::newRow("date only") << "2000-01-01"
                               << "2000-01-01 00:00:00";
    QTest::newRow("dBase digits") << "18991230"
                                  << "1899-12-30 00:00:00";
    QTest::newRow("bad hour") << "2000-01-01 24:00:00"
                              << "";
    QTest::newRow("bad separator") << "2000-01-01/10:00:00"
                                   << "";
}

void TestDbSourcesWrites::foxProDateTimes()
{
    QFETCH(QString, written);
    QFETCH(QString, read);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    QString error;
    QVERIFY(DbfTable::create(path, {{QStringLiteral("STAMP"), 'T', 8, 0}}, 0x30, 1252, &error));
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY(table->beginWrite(&error));
    qint64 slot = 0;
    const bool stored = table->insertRow({{0, written}}, &slot, &error);
    QCOMPARE(stored, !read.isEmpty());
    if (!stored) {
        QVERIFY2(error.contains(QStringLiteral("not a date")), qPrintable(error));
        return;
    }
    QVERIFY2(table->commitWrite(&error), qPrintable(error));
    QCOMPARE(DbfTable::open(path, SourceOptions(), &error)->value(0, 0).toString(), read);
}

void TestDbSourcesWrites::paradoxUpdateInPlace()
{
    NUVELA_REQUIRE_SAMPLES();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ORDERS.DB"));
    QVERIFY(QFile::copy(SamplesDir() + QStringLiteral("/paradox/ORDERS.DB"), path));
    QVERIFY(QFile::copy(SamplesDir() + QStringLiteral("/paradox/ORDERS.PX"),
                        dir.filePath(QStringLiteral("ORDERS.PX"))));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray original = ReadBytes(path);
    QString error;
    QList<QVariantList> before;
    {
        auto database = ForeignDatabase::open(path, SourceOptions(), &error);
        QVERIFY2(database, qPrintable(error));
        const SourceTable *table = database->table(QStringLiteral("ORDERS.DB"));
        for (qint64 slot = 0; slot < table->slotCount(); ++slot) {
            QVariantList row;
            for (int c = 0; c < table->fields().size(); ++c)
                row.append(table->value(slot, c));
            before.append(row);
        }
        QVERIFY2(
            RunSql(*database,
                   QStringLiteral("Update [ORDERS.DB] set [Ship VIA]='DHL', [Amount Paid]=12.5, "
                                  "[Ship Date]=#01-Feb-2003# where [Order No]=1002"),
                   &error),
            qPrintable(error));
    }
    QCOMPARE(ReadBytes(path + QStringLiteral(".bak")), original);
    auto table = ParadoxTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->slotCount(), before.size());
    for (qint64 slot = 0; slot < table->slotCount(); ++slot) {
        for (int c = 0; c < table->fields().size(); ++c) {
            QVariant expected = before.at(slot).at(c);
            if (slot == 1 && c == 4)
                expected = QStringLiteral("DHL");
            if (slot == 1 && c == 6)
                expected = 12.5;
            if (slot == 1 && c == 3)
                expected = QStringLiteral("2003-02-01 00:00:00");
            QCOMPARE(table->value(slot, c), expected);
        }
    }
    // Only the three fields' bytes changed.
    const QByteArray after = ReadBytes(path);
    QCOMPARE(after.size(), original.size());
    int changed = 0;
    for (qsizetype i = 0; i < after.size(); ++i)
        changed += after.at(i) != original.at(i);
    QVERIFY2(changed > 0 && changed <= 4 + 8 + 7, qPrintable(QString::number(changed)));
}

void TestDbSourcesWrites::paradoxKeyedTableRefuses_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("reason");

    QTest::newRow("key field") << "Update [ORDERS.DB] set [Order No]=1 where [Order No]=1002"
                               << "key field";
    QTest::newRow("insert") << "Insert into [ORDERS.DB] ([Order No]) values (99999)"
                            << "primary index";
    QTest::newRow("delete") << "Delete * from [ORDERS.DB] where [Order No]=1002"
                            << "primary index";
    QTest::newRow("too long") << "Update [ORDERS.DB] set [Ship VIA]='Carrier pigeon'"
                              << "longer than 7";
    QTest::newRow("not a date") << "Update [ORDERS.DB] set [Sale Date]='soon'"
                                << "not a date";
}

void TestDbSourcesWrites::paradoxKeyedTableRefuses()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(QString, sql);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ORDERS.DB"));
    QVERIFY(QFile::copy(SamplesDir() + QStringLiteral("/paradox/ORDERS.DB"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray original = ReadBytes(path);
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    QVERIFY(!RunSql(*database, sql, &error));
    QVERIFY2(error.contains(reason) && error.contains(QStringLiteral("ORDERS.DB")),
             qPrintable(error));
    QCOMPARE(ReadBytes(path), original);
    QCOMPARE(database->table(QStringLiteral("ORDERS.DB"))->rowCount(), 224);
    const QStringList left = filesIn(dir);
    QVERIFY2(left.size() <= 2 && left.first() == QStringLiteral("ORDERS.DB"),
             qPrintable(left.join(u',')));
}

void TestDbSourcesWrites::paradoxUnkeyedTableRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("loose.db"));
    QVERIFY(makeParadox(path));
    QString error;
    {
        auto database = ForeignDatabase::open(path, SourceOptions(), &error);
        QVERIFY2(database, qPrintable(error));
        for (const QString &sql :
             {QStringLiteral("Insert into loose (Name, Count, Born, Ok, Price) values ('Anna', 3, "
                             "#12-Mar-1994#, true, 9.95)"),
              QStringLiteral("Insert into loose (Name, Count) values ('Ben', -7)"),
              QStringLiteral("Insert into loose (Name, Ok) values ('Cleo', false)"),
              QStringLiteral("Update loose set Price = 1.5 where Name = 'ben'"),
              QStringLiteral("Delete * from loose where Name = 'Cleo'")}) {
            QVERIFY2(RunSql(*database, sql, &error),
                     qPrintable(sql + QStringLiteral(": ") + error));
        }
        // A failing statement leaves what the earlier ones wrote.
        QVERIFY(!RunSql(*database, QStringLiteral("Update loose set Count = 40000"), &error));
        QVERIFY2(error.contains(QStringLiteral("Count")), qPrintable(error));
    }
    auto table = ParadoxTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->slotCount(), 2);
    QCOMPARE(table->value(0, 0).toString(), QStringLiteral("Anna"));
    QCOMPARE(table->value(0, 1).toLongLong(), 3);
    QCOMPARE(table->value(0, 2).toString(), QStringLiteral("1994-03-12 00:00:00"));
    QCOMPARE(table->value(0, 3).toLongLong(), 1);
    QCOMPARE(table->value(0, 4).toDouble(), 9.95);
    QCOMPARE(table->value(1, 0).toString(), QStringLiteral("Ben"));
    QCOMPARE(table->value(1, 1).toLongLong(), -7);
    QVERIFY(table->value(1, 2).isNull());
    QCOMPARE(table->value(1, 4).toDouble(), 1.5);
    QVERIFY(QFile::exists(path + QStringLiteral(".bak")));
}

void TestDbSourcesWrites::csvRoundTripDialect_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("comma crlf") << QByteArray("a,b\r\n1,x\r\n2,y\r\n")
                                << QByteArray("a,b\r\n1,changed\r\n2,y\r\n");
    QTest::newRow("semicolon cr") << QByteArray("a;b\r1;x\r2;y")
                                  << QByteArray("a;b\r1;changed\r2;y\r");
    QTest::newRow("tab lf") << QByteArray("a\tb\n1\tx\n2\ty\n")
                            << QByteArray("a\tb\n1\tchanged\n2\ty\n");
    QTest::newRow("all quoted") << QByteArray("\"a\",\"b\"\n\"1\",\"x\"\n\"2\",\"y\"\n")
                                << QByteArray("\"a\",\"b\"\n\"1\",\"changed\"\n\"2\",\"y\"\n");
    QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBF"
                                              "a,b\n1,\xC3\xA9\n2,y\n")
                                << QByteArray("\xEF\xBB\xBF"
                                              "a,b\n1,changed\n2,y\n");
    QTest::newRow("code page 1252")
        << QByteArray("a,b\n1,x\n2,\xE9t\xE9\n") << QByteArray("a,b\n1,changed\n2,\xE9t\xE9\n");
}

void TestDbSourcesWrites::csvRoundTripDialect()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.csv"));
    QVERIFY(WriteBytes(path, input));
    QString error;
    auto table = CsvTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QVERIFY(table->beginWrite(&error));
    QVERIFY(table->updateRow(0, {{1, QStringLiteral("changed")}}, &error));
    QVERIFY2(table->commitWrite(&error), qPrintable(error));
    QCOMPARE(ReadBytes(path), expected);
    QCOMPARE(ReadBytes(path + QStringLiteral(".bak")), input);
}

void TestDbSourcesWrites::csvBackupAndFailedStatement()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.csv"));
    const QByteArray input("name,qty\nx,1\ny,2\n");
    QVERIFY(WriteBytes(path, input));
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    QSqlQuery query(database->connection());
    // The second row's new value overflows: the whole statement fails and the file stays.
    QVERIFY(!query.exec(JetSql::translate(QStringLiteral(
        "update t set qty = case when name='y' then abs(-9223372036854775807 - 1) else 5 end"))));
    QCOMPARE(ReadBytes(path), input);
    QVERIFY(query.exec(QStringLiteral("select qty from t order by name")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 1);
    query.finish();
    QVERIFY2(query.exec(JetSql::translate(QStringLiteral("Delete * from t where name='x'"))),
             qPrintable(query.lastError().text()));
    QCOMPARE(ReadBytes(path), QByteArray("name,qty\ny,2\n"));
    QCOMPARE(ReadBytes(path + QStringLiteral(".bak")), input);
    QCOMPARE(filesIn(dir), (QStringList{"t.csv", "t.csv.bak"}));
}

QTEST_GUILESS_MAIN(TestDbSourcesWrites)
#include "tst_SourceWrites.moc"
