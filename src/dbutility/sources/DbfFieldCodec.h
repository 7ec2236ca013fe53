#pragma once

#include "DbfHeader.h"

#include <QVariant>

#include <string>

class DbfMemo;

// Reads and writes one field's value in a dBase / FoxPro record, for every field type the
// header's version knows; values are the Qt types of SourceTable. A record is the bytes of one
// whole record (delete flag first) as laid out by the header. Not thread-safe: writing a memo
// appends to the memo file.
class DbfFieldCodec
{
public:
    // header, and memo when given, must outlive the codec; memo is null when the table has no
    // memo file, and then memo fields read as null and cannot be written. tableName is for
    // messages.
    DbfFieldCodec(const DbfHeader *header, DbfMemo *memo, const QString &tableName);

    // The value of a column (0 .. header.columns.size()-1) in a record; null when the field is
    // blank or damaged.
    QVariant decode(const uchar *record, int column) const;
    // A faster way to a text column's value: false when the column is not text; else *utf8 is
    // the text, or *isNull tells that there is none.
    bool decodeUtf8(const uchar *record, int column, std::string *utf8, bool *isNull) const;
    // Writes a value into a column of a record (and a memo into the memo file). On failure
    // false, *error says why, and the record may be half changed.
    bool encode(int column, const QVariant &value, QByteArray *record, QString *error);
    // The memo block a memo column of a record points at; 0 for none or another column.
    quint32 memoBlock(const uchar *record, int column) const;

private:
    using Column = DbfHeader::Column;

    QVariant decodeBinary(const uchar *record, const Column &column) const;
    QVariant memoValue(const Column &column, const uchar *field) const;

    const DbfHeader *m_header;
    DbfMemo *m_memo;
    QString m_tableName;
};
