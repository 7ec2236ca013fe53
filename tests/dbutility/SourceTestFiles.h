#pragma once

// Table files the source tests build themselves: Paradox tables through pxlib, dBase / FoxPro
// tables byte by byte (so that a test can write what no writer would), and SQL on an opened
// source.

#include "ForeignDatabase.h"
#include "JetSql.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QtEndian>

#include <cstring>

extern "C" {
#include <paradox.h>
}

struct ParadoxFieldSpec {
    const char *name;
    char type; // pxfAlpha, pxfShort, pxfLong, pxfCurrency, pxfNumber, pxfDate, pxfLogical
    int length;
};

// A Paradox table without primary index, with one record per row (values in field order: text,
// whole numbers or doubles; a null value leaves the field empty). pxlib writes 16 KB blocks.
inline bool MakeParadox(const QString &path, const QList<ParadoxFieldSpec> &specs,
                        const QList<QVariantList> &rows = {})
{
    pxdoc_t *doc = PX_new();
    if (!doc)
        return false;
    auto *fields =
        static_cast<pxfield_t *>(doc->malloc(doc, size_t(specs.size()) * sizeof(pxfield_t), "f"));
    for (qsizetype i = 0; i < specs.size(); ++i) {
        fields[i].px_fname = PX_strdup(doc, specs[i].name);
        fields[i].px_ftype = specs[i].type;
        fields[i].px_flen = specs[i].length;
        fields[i].px_fdc = 0;
    }
    bool ok = PX_create_file(doc, fields, int(specs.size()), QFile::encodeName(path).constData(),
                             pxfFileTypNonIndexDB) >= 0;
    for (const QVariantList &row : rows) {
        auto **record = static_cast<pxval_t **>(
            doc->malloc(doc, size_t(specs.size()) * sizeof(pxval_t *), "r"));
        for (qsizetype i = 0; i < specs.size(); ++i) {
            MAKE_PXVAL(doc, record[i]);
            record[i]->type = specs[i].type;
            const QVariant value = row.value(i);
            record[i]->isnull = value.isNull() ? 1 : 0;
            if (specs[i].type == pxfAlpha && !value.isNull()) {
                const QByteArray text = value.toString().toLatin1();
                record[i]->value.str.val = PX_strdup(doc, text.constData());
                record[i]->value.str.len = int(text.size());
            } else if (specs[i].type == pxfCurrency || specs[i].type == pxfNumber) {
                record[i]->value.dval = value.toDouble();
            } else {
                record[i]->value.lval = long(value.toLongLong());
            }
        }
        ok = ok && PX_insert_record(doc, record) >= 0;
        for (qsizetype i = 0; i < specs.size(); ++i) {
            if (specs[i].type == pxfAlpha && record[i]->value.str.val)
                doc->free(doc, record[i]->value.str.val);
            doc->free(doc, record[i]);
        }
        doc->free(doc, record);
    }
    PX_close(doc);
    PX_delete(doc);
    return ok;
}

// A dBase / FoxPro field descriptor as stored (flags: Visual FoxPro's 0x02 nullable, 0x04
// binary).
struct DbfFieldBytes {
    QByteArray name;
    char type;
    int length;
    int decimals = 0;
    int flags = 0;
};

// A table file of the given version: 32-byte header, descriptors, the 0x0D mark, the 263-byte
// back link of Visual FoxPro tables, then the records (each with its delete flag) and 0x1A.
inline QByteArray DbfFile(uchar version, const QList<DbfFieldBytes> &fields,
                          const QList<QByteArray> &records, uchar headerFlags = 0)
{
    const bool visualFoxPro = version >= 0x30 && version <= 0x32;
    int recordLength = 1;
    for (const DbfFieldBytes &field : fields)
        recordLength += field.length;
    const int headerSize = 32 + 32 * int(fields.size()) + 1 + (visualFoxPro ? 263 : 0);
    QByteArray header(headerSize, '\0');
    header[0] = char(version);
    header[1] = 124;
    header[2] = 1;
    header[3] = 1;
    qToLittleEndian<quint32>(quint32(records.size()), header.data() + 4);
    qToLittleEndian<quint16>(quint16(headerSize), header.data() + 8);
    qToLittleEndian<quint16>(quint16(recordLength), header.data() + 10);
    header[28] = char(headerFlags);
    header[29] = 0x03; // Windows Latin (1252)
    int offset = 1;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        char *d = header.data() + 32 + 32 * i;
        memcpy(d, fields[i].name.constData(), size_t(qMin<qsizetype>(fields[i].name.size(), 10)));
        d[11] = fields[i].type;
        qToLittleEndian<quint32>(quint32(offset), d + 12);
        d[16] = char(fields[i].length);
        d[17] = char(fields[i].decimals);
        d[18] = char(fields[i].flags);
        offset += fields[i].length;
    }
    header[32 + 32 * fields.size()] = 0x0D;
    QByteArray file = header;
    for (const QByteArray &record : records)
        file += record.leftJustified(recordLength, ' ', true);
    return file + '\x1A';
}

// Runs Jet SQL on a source's connection; *error is the statement's message when it fails.
inline bool RunSql(const ForeignDatabase &database, const QString &jetSql, QString *error)
{
    QSqlQuery query(database.connection());
    const bool ok = query.exec(JetSql::translate(jetSql));
    *error = ok ? QString() : query.lastError().text();
    return ok;
}

// The first column of a query's rows as text.
inline QStringList SqlColumn(const ForeignDatabase &database, const QString &jetSql)
{
    QSqlQuery query(database.connection());
    QStringList values;
    if (!query.exec(JetSql::translate(jetSql)))
        return {QStringLiteral("error: ") + query.lastError().text()};
    while (query.next())
        values.append(query.value(0).toString());
    return values;
}
