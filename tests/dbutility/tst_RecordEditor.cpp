// Records changed through the record editor (the window's tests change every format's files):
// FoxPro's binary fields and a text file's dialect byte by byte, a refused value leaving every
// file as it was, and SQLite files changed with a copy kept too.

#include "DbTestFiles.h"
#include "OpenedSource.h"
#include "RecordEditor.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace
{

using Change = RecordEditor::Change;

std::unique_ptr<OpenedSource> openSource(const QString &path)
{
    QString error;
    auto source = OpenedSource::open(path, DbKind::None, &error);
    if (!source)
        qWarning("%s", qPrintable(error));
    return source;
}

QStringList filesIn(const QString &folder)
{
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    return files;
}

QString readSqlite(const QString &path, const QString &sql)
{
    const QString name = QStringLiteral("read-") + path;
    QString value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        if (query.exec(sql) && query.next())
            value = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(name);
    return value;
}

} // namespace

class tst_RecordEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void foxProBinaryFields();
    void csvKeepsItsDialect();
    void refusedValueWritesNothing_data();
    void refusedValueWritesNothing();
    void sqliteChangedWithACopyKept();
};

void tst_RecordEditor::foxProBinaryFields()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("parts.dbf"));
    QString error;
    QVERIFY2(DbfTable::create(path,
                              {{QStringLiteral("NAME"), 'C', 8, 0},
                               {QStringLiteral("QTY"), 'I', 4, 0},
                               {QStringLiteral("PRICE"), 'Y', 8, 4},
                               {QStringLiteral("SEEN"), 'T', 8, 0},
                               {QStringLiteral("OK"), 'L', 1, 0}},
                              0x30, 1252, &error),
             qPrintable(error));
    auto source = openSource(path);
    QVERIFY(source);
    RecordEditor editor(*source, QStringLiteral("parts.dbf"), true);
    const RecordEditor::Result result = editor.apply({{-1,
                                                       {{"NAME", "Nut"},
                                                        {"QTY", "-5"},
                                                        {"PRICE", "1.25"},
                                                        {"SEEN", "2024-01-05 13:30"},
                                                        {"OK", "y"}}}});
    QVERIFY2(result.ok, qPrintable(result.message));
    const QByteArray bytes = ReadBytes(path);
    const DbfLayout layout(bytes);
    QCOMPARE(layout.records, 1u);
    QCOMPARE(layout.field(bytes, 0, "NAME"), QByteArray("Nut     "));
    QCOMPARE(qFromLittleEndian<qint32>(layout.field(bytes, 0, "QTY").constData()), -5);
    QCOMPARE(qFromLittleEndian<qint64>(layout.field(bytes, 0, "PRICE").constData()), 12500);
    const QByteArray seen = layout.field(bytes, 0, "SEEN");
    QCOMPARE(qFromLittleEndian<qint32>(seen.constData()), QDate(2024, 1, 5).toJulianDay());
    QCOMPARE(qFromLittleEndian<qint32>(seen.constData() + 4), (13 * 60 + 30) * 60 * 1000);
    QCOMPARE(layout.field(bytes, 0, "OK"), QByteArray("T"));
    // Past the field's range: refused before the file is touched.
    const RecordEditor::Result refused = editor.apply({{1, {{"QTY", "3000000000"}}}});
    QVERIFY(!refused.ok);
    QCOMPARE(refused.field, QStringLiteral("QTY"));
    QCOMPARE(ReadBytes(path), bytes);
}

void tst_RecordEditor::csvKeepsItsDialect()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("people.csv"));
    const QByteArray original("name;age\r\nAnn;30\r\n\"Bob; Jr\";41\r\n");
    QVERIFY(WriteBytes(path, original));
    auto source = openSource(path);
    QVERIFY(source);
    RecordEditor editor(*source, QStringLiteral("people.csv"), false);
    QVERIFY(editor.apply({{2, {{"age", "42"}}}}).ok);
    QCOMPARE(ReadBytes(path), QByteArray("name;age\r\nAnn;30\r\n\"Bob; Jr\";42\r\n"));
    const RecordEditor::Result added = editor.apply({{-1, {{"name", "Cleo \"C\""}}}});
    QVERIFY2(added.ok, qPrintable(added.message));
    QCOMPARE(added.added, QList<qint64>{3});
    QCOMPARE(ReadBytes(path),
             QByteArray("name;age\r\nAnn;30\r\n\"Bob; Jr\";42\r\n\"Cleo \"\"C\"\"\";\r\n"));
    QVERIFY(editor.deleteRecord(1).ok);
    QCOMPARE(ReadBytes(path), QByteArray("name;age\r\n\"Bob; Jr\";42\r\n\"Cleo \"\"C\"\"\";\r\n"));
    QCOMPARE(ReadBytes(path + QStringLiteral(".bak")), original);
}

void tst_RecordEditor::refusedValueWritesNothing_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal");

    QTest::newRow("dBase date") << "dbf"
                                << "BORN"
                                << "1994-02-30"
                                << "The field BORN takes a date";
    QTest::newRow("dBase width") << "dbf"
                                 << "AGE"
                                 << "1234567"
                                 << "The field AGE holds numbers of at most 6";
    QTest::newRow("dBase length") << "dbf"
                                  << "NAME"
                                  << "Maximilian Ott"
                                  << "The field NAME holds at most 12 characters";
    QTest::newRow("dBase code page") << "dbf"
                                     << "NAME"
                                     << "Ω"
                                     << "The field NAME cannot hold \"Ω\"";
    QTest::newRow("text number") << "csv"
                                 << "age"
                                 << "forty"
                                 << "The field age takes a number";
    QTest::newRow("Paradox range") << "db"
                                   << "Count"
                                   << "40000"
                                   << "The field Count holds whole numbers";
    QTest::newRow("unknown field") << "dbf"
                                   << "GONE"
                                   << "x"
                                   << "people.dbf has no field GONE";
}

void tst_RecordEditor::refusedValueWritesNothing()
{
    QFETCH(QString, format);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("people.") + format);
    QString first = QStringLiteral("NAME");
    if (format == QLatin1String("dbf")) {
        MakePeopleDbf(path, {{"Ann", 30, "1994-03-12", 1}, {"Bob", 41, {}, 0}});
    } else if (format == QLatin1String("csv")) {
        WriteBytes(path, "name,age\nAnn,30\nBob,41\n");
        first = QStringLiteral("name");
    } else {
        MakeUnkeyedParadox(path, {{"Ann", 3, {}, 1}, {"Bob", 4, {}, 0}});
        first = QStringLiteral("Name");
    }
    const QStringList before = filesIn(dir.path());
    const QByteArray original = ReadBytes(path);
    auto source = openSource(path);
    QVERIFY(source);
    RecordEditor editor(*source, QFileInfo(path).fileName(), false);
    // A good change first: the batch is written whole or not at all.
    const RecordEditor::Result result =
        editor.apply({{1, {{first, "Zed"}}}, {-1, {{first, "New"}}}, {2, {{field, text}}}});
    QVERIFY(!result.ok);
    QVERIFY2(result.message.startsWith(refusal), qPrintable(result.message));
    QCOMPARE(result.change, 2);
    QCOMPARE(result.field, field);
    QCOMPARE(ReadBytes(path), original);
    QCOMPARE(filesIn(dir.path()), before);
    QCOMPARE(source->recordCount(QFileInfo(path).fileName()), 2);
}

void tst_RecordEditor::sqliteChangedWithACopyKept()
{
    QTemporaryDir dir;
    const QString path = MakeSqliteFile(dir.filePath(QStringLiteral("people.sqlite")));
    QVERIFY(!path.isEmpty());
    const QString backup = path + QStringLiteral(".bak");
    auto source = openSource(path);
    QVERIFY(source);
    RecordEditor editor(*source, QStringLiteral("people"), false);
    QVERIFY(!QFile::exists(backup));
    RecordEditor::Result result = editor.apply({{1, {{"age", "31"}, {"born", "1994-03-13"}}}});
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(readSqlite(path, QStringLiteral("select age || born from people where rowid = 1")),
             QStringLiteral("311994-03-13"));
    QCOMPARE(readSqlite(backup, QStringLiteral("select age from people where rowid = 1")),
             QStringLiteral("30"));
    QVERIFY(editor.apply({{1, {{"age", "32"}}}}).ok);
    QCOMPARE(readSqlite(backup, QStringLiteral("select age from people where rowid = 1")),
             QStringLiteral("30"));
    // A new record on the Access path starts with one blank in each text field.
    result = editor.addRecord();
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(result.added, QList<qint64>{5});
    QCOMPARE(
        readSqlite(path, QStringLiteral("select '[' || name || ']' from people where rowid = 5")),
        QStringLiteral("[ ]"));
    QVERIFY(editor.deleteRecord(2).ok);
    QCOMPARE(readSqlite(path, QStringLiteral("select count(*) from people")), QStringLiteral("4"));
    // A table without record numbers cannot be changed by them: nothing is.
    RecordEditor codes(*source, QStringLiteral("codes"), false);
    result = codes.apply({{1, {{"meaning", "changed"}}}});
    QVERIFY(!result.ok);
    QVERIFY(!result.message.isEmpty());
    QCOMPARE(readSqlite(path, QStringLiteral("select count(*) from codes where meaning = "
                                             "'changed'")),
             QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(tst_RecordEditor)
#include "tst_RecordEditor.moc"
