// Faults of the source layer found while building on it: multi-row Paradox writes, refused
// values that left memos behind, characters a code page lacks, tables whose index another
// program keeps, tab-separated files, line breaks inside quoted CSV fields, columns out of range.

#include "CsvTable.h"
#include "DbfTable.h"
#include "ForeignDatabase.h"
#include "ParadoxTable.h"
#include "SourceTestFiles.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace
{

const QList<ParadoxFieldSpec> paradoxFields{{"Name", pxfAlpha, 10}, {"Qty", pxfShort, 2}};

// Records n0, n1, ... with Qty 0, 1, ...; 170 of them fill a 2 KB block.
bool makeRows(const QString &path, int count = 10)
{
    QList<QVariantList> rows;
    for (int i = 0; i < count; ++i)
        rows.append({QStringLiteral("n%1").arg(i), i});
    return MakeParadox(path, paradoxFields, rows);
}

QStringList rowNames(int from, int to)
{
    QStringList names;
    for (int i = from; i < to; ++i)
        names.append(QStringLiteral("n%1=%1").arg(i));
    return names;
}

QStringList names(const SourceTable &table)
{
    QStringList values;
    for (qint64 slot = 0; slot < table.slotCount(); ++slot) {
        if (table.isLive(slot))
            values.append(table.value(slot, 0).toString() + QLatin1Char('=') +
                          table.value(slot, 1).toString());
    }
    return values;
}

} // namespace

class TestSourceFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paradoxMultiRowWrites_data();
    void paradoxMultiRowWrites();
    void columnOutOfRangeIsRefused_data();
    void columnOutOfRangeIsRefused();
    void refusedRowLeavesNoMemo_data();
    void refusedRowLeavesNoMemo();
    void characterOutsideCodePageRefused_data();
    void characterOutsideCodePageRefused();
    void productionIndexKeepsTableReadOnly_data();
    void productionIndexKeepsTableReadOnly();
    void tabSeparatedFilesOpen_data();
    void tabSeparatedFilesOpen();
    void csvLineBreakInFieldKept();
};

void TestSourceFaults::paradoxMultiRowWrites_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("delete several")
        << 10 << QStringList{"delete * from t where Qty >= 3 and Qty <= 7"}
        << QStringList{"n0=0", "n1=1", "n2=2", "n8=8", "n9=9"};
    QTest::newRow("delete every other") << 10 << QStringList{"delete * from t where Qty % 2 = 1"}
                                        << QStringList{"n0=0", "n2=2", "n4=4", "n6=6", "n8=8"};
    QTest::newRow("delete all") << 10 << QStringList{"delete * from t"} << QStringList{};
    QTest::newRow("delete all, then insert")
        << 10
        << QStringList{"delete * from t", "insert into t values ('a', 1)",
                       "insert into t values ('b', 2)"}
        << QStringList{"a=1", "b=2"};
    QTest::newRow("update several")
        << 10 << QStringList{"update t set Qty = Qty * 10 where Qty > 6"}
        << QStringList{"n0=0", "n1=1", "n2=2",  "n3=3",  "n4=4",
                       "n5=5", "n6=6", "n7=70", "n8=80", "n9=90"};
    QTest::newRow("one transaction") << 10
                                     << QStringList{"begin",
                                                    "delete * from t where Qty < 8",
                                                    "insert into t values ('new', 5)",
                                                    "update t set Qty = 6 where Name = 'new'",
                                                    "update t set Name = 'x' where Qty = 9",
                                                    "commit"}
                                     << QStringList{"n8=8", "x=9", "new=6"};
    QTest::newRow("insert then delete") << 10
                                        << QStringList{"begin", "insert into t values ('gone', 1)",
                                                       "delete * from t where Qty < 9", "commit"}
                                        << QStringList{"n9=9"};
    QTest::newRow("a whole block emptied")
        << 400 << QStringList{"delete * from t where Qty < 200"} << rowNames(200, 400);
    QTest::newRow("blocks emptied, then inserts")
        << 400
        << QStringList{"begin",
                       "delete * from t where Qty < 180 or Qty >= 350",
                       "insert into t values ('a', 1)",
                       "commit",
                       "insert into t values ('b', 2)",
                       "insert into t values ('c', 3)"}
        << rowNames(180, 350) + QStringList{"a=1", "b=2", "c=3"};
    QTest::newRow("rolled back") << 10
                                 << QStringList{"begin", "delete * from t where Qty > 0",
                                                "insert into t values ('z', 1)", "rollback"}
                                 << QStringList{"n0=0", "n1=1", "n2=2", "n3=3", "n4=4",
                                                "n5=5", "n6=6", "n7=7", "n8=8", "n9=9"};
}

// Record numbers shift after each delete: a delete of several rows failed half-way.
void TestSourceFaults::paradoxMultiRowWrites()
{
    QFETCH(int, rows);
    QFETCH(QStringList, statements);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.db"));
    QVERIFY(makeRows(path, rows));
    QString error;
    QStringList shown;
    {
        auto database = ForeignDatabase::open(path, SourceOptions(), &error);
        QVERIFY2(database, qPrintable(error));
        for (const QString &sql : std::as_const(statements))
            QVERIFY2(RunSql(*database, sql, &error),
                     qPrintable(sql + QStringLiteral(": ") + error));
        shown = names(*database->table(QStringLiteral("t.db")));
    }
    // The open table showed what the file holds, in the file's order.
    auto table = ParadoxTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(names(*table), shown);
    QStringList wanted = expected;
    shown.sort();
    wanted.sort();
    QCOMPARE(shown, wanted);
}

void TestSourceFaults::columnOutOfRangeIsRefused_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("column");

    for (const char *file : {"t.db", "t.dbf", "t.csv"}) {
        QTest::addRow("%s, column -1", file) << file << -1;
        QTest::addRow("%s, column past the last", file) << file << 2;
    }
}

// A negative column reached m_fields.at(-1) in Paradox; dBase said nothing at all.
void TestSourceFaults::columnOutOfRangeIsRefused()
{
    QFETCH(QString, file);
    QFETCH(int, column);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    QString error;
    if (file.endsWith(QLatin1String(".db")))
        QVERIFY(makeRows(path));
    else if (file.endsWith(QLatin1String(".dbf")))
        QVERIFY(DbfTable::create(
            path, {{QStringLiteral("NAME"), 'C', 10, 0}, {QStringLiteral("QTY"), 'N', 3, 0}}, 0x03,
            1252, &error));
    else
        QVERIFY(WriteBytes(path, "Name,Qty\nn0,0\n"));
    const QByteArray before = ReadBytes(path);
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    SourceTable *table = database->table(file);
    QVERIFY(table->beginWrite(&error));
    qint64 slot = 0;
    if (file.endsWith(QLatin1String(".dbf")))
        QVERIFY2(table->insertRow({{0, QStringLiteral("a")}}, &slot, &error), qPrintable(error));
    error.clear();
    QVERIFY(!table->updateRow(slot, {{column, 1}}, &error));
    QCOMPARE(error, QStringLiteral("%1 has no field %2").arg(file).arg(column + 1));
    error.clear();
    QVERIFY(!table->insertRow({{column, 1}}, &slot, &error));
    QCOMPARE(error, QStringLiteral("%1 has no field %2").arg(file).arg(column + 1));
    table->rollbackWrite();
    QCOMPARE(ReadBytes(path), before);
}

void TestSourceFaults::refusedRowLeavesNoMemo_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("memoFile");
    QTest::addColumn<bool>("update");

    QTest::newRow("dBase III insert") << 0x83 << "t.dbt" << false;
    QTest::newRow("dBase IV insert") << 0x8B << "t.dbt" << false;
    QTest::newRow("FoxPro insert") << 0xF5 << "t.fpt" << false;
    QTest::newRow("FoxPro update") << 0xF5 << "t.fpt" << true;
}

// A memo was appended for an earlier column before a later column's value was refused; in a
// transaction that goes on, it stayed in the memo file for good.
void TestSourceFaults::refusedRowLeavesNoMemo()
{
    QFETCH(int, version);
    QFETCH(QString, memoFile);
    QFETCH(bool, update);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    QString error;
    QVERIFY(DbfTable::create(
        path, {{QStringLiteral("NOTES"), 'M', 10, 0}, {QStringLiteral("QTY"), 'N', 2, 0}},
        uchar(version), 1252, &error));
    auto table = DbfTable::open(path, SourceOptions(), &error);
    QVERIFY2(table, qPrintable(error));
    QVERIFY(table->beginWrite(&error));
    qint64 slot = 0;
    QVERIFY2(table->insertRow({{0, QStringLiteral("kept")}, {1, 5}}, &slot, &error),
             qPrintable(error));
    QVERIFY2(table->commitWrite(&error), qPrintable(error));
    const QByteArray memoBefore = ReadBytes(dir.filePath(memoFile));
    QVERIFY(table->beginWrite(&error));
    const QMap<int, QVariant> refused{{0, QString(3000, QLatin1Char('m'))}, {1, 12345}};
    const bool written =
        update ? table->updateRow(0, refused, &error) : table->insertRow(refused, &slot, &error);
    QVERIFY(!written);
    QVERIFY2(error.contains(QStringLiteral("QTY")), qPrintable(error));
    // The transaction goes on and commits what else it did.
    QVERIFY(table->insertRow({{1, 7}}, &slot, &error));
    QVERIFY2(table->commitWrite(&error), qPrintable(error));
    QCOMPARE(ReadBytes(dir.filePath(memoFile)), memoBefore);
    QCOMPARE(table->value(0, 0).toString(), QStringLiteral("kept"));
    QCOMPARE(table->rowCount(), 2);
}

void TestSourceFaults::characterOutsideCodePageRefused_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("character");

    QTest::newRow("dBase, DOS page") << "t.dbf" << 437 << "5 €"
                                     << "€";
    QTest::newRow("dBase, Cyrillic page") << "t.dbf" << 1251 << "naïve"
                                          << "ï";
    QTest::newRow("dBase, outside the BMP") << "t.dbf" << 1252 << "a😀"
                                            << "😀";
    QTest::newRow("Paradox") << "t.db" << 437 << "5 €"
                             << "€";
    QTest::newRow("text in a code page") << "t.csv" << 1252 << "Ωmega"
                                         << "Ω";
}

// A character the code page lacks was written as "?" without a word.
void TestSourceFaults::characterOutsideCodePageRefused()
{
    QFETCH(QString, file);
    QFETCH(int, codePage);
    QFETCH(QString, value);
    QFETCH(QString, character);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    QString error;
    if (file.endsWith(QLatin1String(".dbf")))
        QVERIFY(
            DbfTable::create(path, {{QStringLiteral("NAME"), 'C', 10, 0}}, 0x03, codePage, &error));
    else if (file.endsWith(QLatin1String(".db")))
        QVERIFY(MakeParadox(path, {{"Name", pxfAlpha, 10}}));
    else
        QVERIFY(WriteBytes(path, "Name\n\xE9t\xE9\n")); // not UTF-8: read in the code page
    const QByteArray before = ReadBytes(path);
    SourceOptions options;
    options.codePage = codePage;
    auto database = ForeignDatabase::open(path, options, &error);
    QVERIFY2(database, qPrintable(error));
    QVERIFY(!RunSql(*database, QStringLiteral("insert into t (Name) values ('%1')").arg(value),
                    &error));
    QVERIFY2(error.contains(QStringLiteral("field Name"), Qt::CaseInsensitive) &&
                 error.contains(QLatin1Char('"') + character + QLatin1Char('"')),
             qPrintable(error));
    QCOMPARE(ReadBytes(path), before);
    // What the page holds is still written.
    QVERIFY2(RunSql(*database, QStringLiteral("insert into t (Name) values ('plain')"), &error),
             qPrintable(error));
}

void TestSourceFaults::productionIndexKeepsTableReadOnly_data()
{
    QTest::addColumn<uchar>("flags");
    QTest::addColumn<QString>("index");
    QTest::addColumn<bool>("readOnly");

    QTest::newRow("dBase IV with its .mdx") << uchar(1) << "T.MDX" << true;
    QTest::newRow("FoxPro with its .cdx") << uchar(1) << "t.cdx" << true;
    QTest::newRow("flag without the index file") << uchar(1) << "" << false;
    QTest::newRow("index file without the flag") << uchar(0) << "t.mdx" << false;
}

// Writing left the production index stale for the program that keeps it.
void TestSourceFaults::productionIndexKeepsTableReadOnly()
{
    QFETCH(uchar, flags);
    QFETCH(QString, index);
    QFETCH(bool, readOnly);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    QVERIFY(WriteBytes(path, DbfFile(0x03, {{"NAME", 'C', 10}}, {" first"}, flags)));
    if (!index.isEmpty())
        QVERIFY(WriteBytes(dir.filePath(index), QByteArray(1024, '\0')));
    const QByteArray before = ReadBytes(path);
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    const QString reason = database->table(QStringLiteral("t.dbf"))->readOnlyReason();
    QCOMPARE(!reason.isEmpty(), readOnly);
    const bool written = RunSql(*database, QStringLiteral("update t set NAME = 'second'"), &error);
    QCOMPARE(written, !readOnly);
    if (readOnly) {
        QVERIFY2(error.contains(QStringLiteral("index %1").arg(index)), qPrintable(error));
        QCOMPARE(ReadBytes(path), before);
    }
}

void TestSourceFaults::tabSeparatedFilesOpen_data()
{
    QTest::addColumn<QString>("file");

    QTest::newRow("tsv") << "list.tsv";
    QTest::newRow("tab") << "list.tab";
}

void TestSourceFaults::tabSeparatedFilesOpen()
{
    QFETCH(QString, file);
    QTemporaryDir dir;
    QVERIFY(WriteBytes(dir.filePath(file), "name\tqty\napple, red\t3\n"));
    QCOMPARE(SourceOptions::typeFromPath(file), SourceType::Text);
    QString error;
    auto database = ForeignDatabase::open(dir.filePath(file), SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    QCOMPARE(database->type(), SourceType::Text);
    QCOMPARE(SqlColumn(*database, QStringLiteral("select name from list where qty = 3")),
             QStringList{"apple, red"});
    SourceOptions text;
    text.type = SourceType::Text;
    auto folder = ForeignDatabase::open(dir.path(), text, &error);
    QVERIFY2(folder, qPrintable(error));
    QCOMPARE(folder->tableNames(), QStringList{file});
}

// A CRLF inside a quoted field came back as LF; a file read and written back must not change.
void TestSourceFaults::csvLineBreakInFieldKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notes.csv"));
    const QByteArray input(
        "id,note\r\n1,\"two\r\nlines\"\r\n2,\"lf\nonly\"\r\n3,\"\"\"odd\"\" \"\r\n"
        "4,\"quoted anyway\"\r\n");
    QVERIFY(WriteBytes(path, input));
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QVERIFY2(database, qPrintable(error));
    QCOMPARE(SqlColumn(*database, QStringLiteral("select note from notes order by id")),
             (QStringList{"two\r\nlines", "lf\nonly", "\"odd\" ", "quoted anyway"}));
    QVERIFY2(RunSql(*database, QStringLiteral("update notes set note = note where id = 1"), &error),
             qPrintable(error));
    QCOMPARE(ReadBytes(path), input);
    QVERIFY2(
        RunSql(*database, QStringLiteral("update notes set note = 'one' where id = 3"), &error),
        qPrintable(error));
    QCOMPARE(ReadBytes(path),
             QByteArray("id,note\r\n1,\"two\r\nlines\"\r\n2,\"lf\nonly\"\r\n3,one\r\n"
                        "4,\"quoted anyway\"\r\n"));
}

QTEST_GUILESS_MAIN(TestSourceFaults)
#include "tst_SourceFaults.moc"
