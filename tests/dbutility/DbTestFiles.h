#pragma once

#include "DbfTable.h"
#include "ParadoxTable.h"
#include "TestFiles.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QtEndian>

extern "C" {
#include <paradox.h>
}

// Database files for the Database utility's tests: the real samples with their known facts, and
// small files made here.

struct SampleDatabase {
    QString file;     // under the samples folder
    QString typeText; // favdbname.dbtype it gets
    QString table;    // a table of it
    qint64 records;   // live records of that table (SOURCES.md)
};

inline QList<SampleDatabase> DatabaseSamples()
{
    return {
        {"mdb/nwind.mdb", "Access", "Orders", 830},
        {"mdb/test2V2000.mdb", "Access", "MSP_PROJECTS", 1},
        {"mdb/DateTestDatabase.mdb", "Access", "DateTest", 6},
        {"mdb/charsetGBK.mdb", "Access", "table1", 1},
        {"mdb/ASampleDatabase.accdb", "Access", "Asset Items", 65},
        {"dbf/dbase_03.dbf", "dBASE 5.0;", "dbase_03.dbf", 14},
        {"dbf/dbase_83.dbf", "dBASE 5.0;", "dbase_83.dbf", 67},
        {"dbf/dbase_8b.dbf", "dBASE 5.0;", "dbase_8b.dbf", 10},
        {"dbf/dbase_f5.dbf", "dBASE 5.0;", "dbase_f5.dbf", 975},
        {"dbf/dbase_30.dbf", "dBASE 5.0;", "dbase_30.dbf", 34},
        {"dbf/cp1251.dbf", "dBASE 5.0;", "cp1251.dbf", 4},
        {"dbf/people.dbf", "dBASE 5.0;", "people.dbf", 2},
        {"paradox/CUSTOMER.DB", "Paradox 5.x;", "CUSTOMER.DB", 20},
        {"paradox/FILMS.DB", "Paradox 5.x;", "FILMS.DB", 36},
        {"paradox/ORDERS.DB", "Paradox 5.x;", "ORDERS.DB", 224},
        {"paradox/TypSammlung.DB", "Paradox 5.x;", "TypSammlung.DB", 5},
        {"csv/quotes_and_newlines.csv", "Text", "quotes_and_newlines.csv", 2},
        {"csv/european.csv", "Text", "european.csv", 5},
        {"csv/input.csv", "Text", "input.csv", 2},
        {"csv/uk-500.csv", "Text", "uk-500.csv", 500},
    };
}

// Copies a sample (and its companion files) into folder; returns the copy's path.
inline QString CopySample(const QString &sample, const QString &folder)
{
    const QFileInfo info(SamplesDir() + QLatin1Char('/') + sample);
    const QString base = info.completeBaseName();
    for (const QFileInfo &file : info.dir().entryInfoList(QDir::Files)) {
        if (file.completeBaseName().compare(base, Qt::CaseInsensitive) == 0)
            QFile::copy(file.absoluteFilePath(), folder + QLatin1Char('/') + file.fileName());
    }
    return folder + QLatin1Char('/') + info.fileName();
}

// people.dbf: NAME (C 12), AGE (N 6), BORN (D), ACTIVE (L), NOTE (M); rows as given
// (name, age, born, active), the last one deleted when deleteLast.
inline QString MakePeopleDbf(const QString &path, const QList<QVariantList> &rows,
                             bool deleteLast = false)
{
    QString error;
    if (!DbfTable::create(path,
                          {{QStringLiteral("NAME"), 'C', 12, 0},
                           {QStringLiteral("AGE"), 'N', 6, 0},
                           {QStringLiteral("BORN"), 'D', 8, 0},
                           {QStringLiteral("ACTIVE"), 'L', 1, 0},
                           {QStringLiteral("NOTE"), 'M', 10, 0}},
                          0x83, 1252, &error))
        return {};
    SourceOptions options;
    options.backupSuffix.clear();
    auto table = DbfTable::open(path, options, &error);
    if (!table || !table->beginWrite(&error))
        return {};
    qint64 slot = 0;
    for (const QVariantList &row : rows) {
        QMap<int, QVariant> values;
        for (int c = 0; c < row.size(); ++c) {
            if (!row.at(c).isNull())
                values.insert(c, row.at(c));
        }
        if (!table->insertRow(values, &slot, &error))
            return {};
    }
    if (deleteLast && !table->deleteRow(slot, &error))
        return {};
    return table->commitWrite(&error) ? path : QString();
}

// A SQLite database: table "people" (name, age, born, active, photo, price), a view
// "adults" and a WITHOUT ROWID table "codes".
inline QString MakeSqliteFile(const QString &path)
{
    const QString connection = QStringLiteral("make-sqlite-") + path;
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        const char *const statements[] = {
            "create table people (name varchar(30), age integer, born date, active boolean, "
            "photo blob, price real)",
            "insert into people values ('Alice', 30, '1994-03-12', 1, x'010203', 9.5)",
            "insert into people values ('bob', 25, '1999-07-01', 0, null, 12)",
            "insert into people values ('O''Neil', 41, null, 1, null, null)",
            "insert into people values ('alice', 52, '1972-01-30', 0, null, 3.25)",
            "create view adults as select name, age from people where age >= 30",
            "create table codes (code text primary key, meaning text) without rowid",
            "insert into codes values ('B', 'bravo')",
            "insert into codes values ('A', 'alpha')",
        };
        for (const char *statement : statements)
            ok = q.exec(QString::fromLatin1(statement)) && ok;
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok ? path : QString();
}

// A Paradox table without primary index (so records can be added and deleted): Name A20,
// Count S, Born D, Ok L; rows in that order (name, count, "yyyy-MM-dd", 0/1), written through
// the source layer without a backup.
inline QString MakeUnkeyedParadox(const QString &path, const QList<QVariantList> &rows)
{
    pxdoc_t *doc = PX_new();
    if (!doc)
        return {};
    const struct {
        const char *name;
        char type;
        int length;
    } specs[] = {{"Name", pxfAlpha, 20},
                 {"Count", pxfShort, 2},
                 {"Born", pxfDate, 4},
                 {"Ok", pxfLogical, 1}};
    constexpr int count = int(sizeof(specs) / sizeof(specs[0]));
    auto *fields = static_cast<pxfield_t *>(doc->malloc(doc, count * sizeof(pxfield_t), "f"));
    for (int i = 0; i < count; ++i)
        fields[i] = {PX_strdup(doc, specs[i].name), specs[i].type, specs[i].length, 0};
    const bool made = PX_create_file(doc, fields, count, QFile::encodeName(path).constData(),
                                     pxfFileTypNonIndexDB) >= 0;
    PX_close(doc);
    PX_delete(doc);
    SourceOptions options;
    options.backupSuffix.clear();
    QString error;
    auto table = made ? ParadoxTable::open(path, options, &error) : nullptr;
    if (!table || !table->beginWrite(&error))
        return {};
    for (const QVariantList &row : rows) {
        QMap<int, QVariant> values;
        for (int c = 0; c < row.size(); ++c)
            values.insert(c, row.at(c));
        qint64 slot = 0;
        if (!table->insertRow(values, &slot, &error))
            return {};
    }
    return table->commitWrite(&error) ? path : QString();
}

// Where each field of a dBase / FoxPro record lies: name -> (offset, length).
struct DbfLayout {
    int headerSize = 0;
    int recordLength = 0;
    quint32 records = 0;
    QMap<QByteArray, QPair<int, int>> fields;

    explicit DbfLayout(const QByteArray &bytes)
    {
        records = qFromLittleEndian<quint32>(bytes.constData() + 4);
        headerSize = qFromLittleEndian<quint16>(bytes.constData() + 8);
        recordLength = qFromLittleEndian<quint16>(bytes.constData() + 10);
        int offset = 1;
        for (int at = 32; at + 32 <= headerSize && bytes.at(at) != '\x0D'; at += 32) {
            const QByteArray name = bytes.mid(at, 11).split('\0').first();
            const int length = uchar(bytes.at(at + 16));
            fields.insert(name, {offset, length});
            offset += length;
        }
    }
    QByteArray field(const QByteArray &bytes, int record, const char *name) const
    {
        const QPair<int, int> f = fields.value(name);
        return bytes.mid(headerSize + record * recordLength + f.first, f.second);
    }
    char flag(const QByteArray &bytes, int record) const
    {
        return bytes.at(headerSize + record * recordLength);
    }
};
