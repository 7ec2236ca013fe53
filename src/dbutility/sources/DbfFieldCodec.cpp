#include "DbfFieldCodec.h"

#include "CanonicalDate.h"
#include "DbfMemo.h"
#include "ValueParser.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace
{

QByteArray trimmedBytes(const uchar *data, int length)
{
    int begin = 0;
    int end = length;
    while (end > 0 && (data[end - 1] == ' ' || data[end - 1] == 0))
        --end;
    while (begin < end && data[begin] == ' ')
        ++begin;
    return QByteArray(reinterpret_cast<const char *>(data + begin), end - begin);
}

bool isBlank(const uchar *data, int length)
{
    for (int i = 0; i < length; ++i) {
        if (data[i] != ' ' && data[i] != 0)
            return false;
    }
    return true;
}

// dBase 7 stores integers big-endian with the sign bit flipped, so bytes sort as numbers.
qint32 dBase7Integer(const uchar *data)
{
    return qint32(qFromBigEndian<quint32>(data) ^ 0x80000000u);
}

double dBase7Double(const uchar *data)
{
    quint64 bits = qFromBigEndian<quint64>(data);
    bits = (bits & 0x8000000000000000ull) ? (bits & 0x7FFFFFFFFFFFFFFFull) : ~bits;
    double value;
    memcpy(&value, &bits, sizeof(value));
    return value;
}

QVariant dateTimeFromJulian(qint64 julianDay, qint64 milliseconds)
{
    const QString text = CanonicalDate::fromJulianDay(julianDay, milliseconds);
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// A dBase date field: eight digits yyyyMMdd.
QVariant dateFromDigits(const uchar *field)
{
    int digits[8];
    for (int i = 0; i < 8; ++i) {
        if (field[i] < '0' || field[i] > '9')
            return {};
        digits[i] = field[i] - '0';
    }
    const int year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
    const int month = digits[4] * 10 + digits[5];
    const int day = digits[6] * 10 + digits[7];
    const QString text = CanonicalDate::text(year, month, day);
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// Whether a bit of a record's _NullFlags is set; a table without the field has no bit set.
bool flagSet(const uchar *record, int nullFlagsOffset, int bit)
{
    return bit >= 0 && nullFlagsOffset >= 0 &&
           ((record[nullFlagsOffset + bit / 8] >> (bit % 8)) & 1);
}

// Bytes of a text field's value: without trailing blanks; a varchar's own length.
int textLength(const uchar *record, int nullFlagsOffset, const DbfHeader::Column &column)
{
    const uchar *field = record + column.offset;
    int end = column.length;
    // A varchar keeps its blanks: it fills its field, or its length is in the field's last byte.
    if (column.type == 'V')
        return flagSet(record, nullFlagsOffset, column.lengthBit) && end > 0
                   ? qMin<int>(field[end - 1], end - 1)
                   : end;
    while (end > 0 && (field[end - 1] == ' ' || field[end - 1] == 0))
        --end;
    return end;
}

// A number written as text (N, F): whole numbers as qint64, else double.
QVariant numberFromText(const uchar *field, int length)
{
    const QByteArray text = trimmedBytes(field, length);
    if (text.isEmpty() || text.startsWith('*'))
        return {};
    bool ok = false;
    if (!text.contains('.') && !text.contains('e') && !text.contains('E')) {
        const qlonglong number = text.toLongLong(&ok);
        if (ok)
            return QVariant(number);
    }
    const double number = text.toDouble(&ok);
    return ok ? QVariant(number) : QVariant();
}

QVariant truthFromLetter(uchar letter)
{
    switch (letter) {
    case 'T':
    case 't':
    case 'Y':
    case 'y':
        return QVariant(qint64(1));
    case 'F':
    case 'f':
    case 'N':
    case 'n':
        return QVariant(qint64(0));
    default:
        return {};
    }
}

// Fills a field with bytes (cut to the field) and pads the rest.
void put(char *field, int length, const QByteArray &bytes, char pad, bool rightAlign)
{
    memset(field, pad, size_t(length));
    const int used = int(qMin<qsizetype>(bytes.size(), length));
    memcpy(field + (rightAlign ? length - used : 0), bytes.constData(), size_t(used));
}

bool encodeNumber(const DbfHeader::Column &column, const QVariant &value, bool isNull, char *field,
                  QString *why)
{
    if (isNull) {
        put(field, column.length, {}, ' ', true);
        return true;
    }
    bool ok = false;
    const double number = value.metaType().id() == QMetaType::QString
                              ? value.toString().trimmed().toDouble(&ok)
                              : value.toDouble(&ok);
    if (!ok || !std::isfinite(number)) {
        *why = QStringLiteral("it is not a number");
        return false;
    }
    const QByteArray text = (column.decimals == 0 && value.metaType().id() == QMetaType::LongLong)
                                ? QByteArray::number(value.toLongLong())
                                : QByteArray::number(number, 'f', column.decimals);
    if (text.size() > column.length) {
        *why = QStringLiteral("it needs more than %1 digits").arg(column.length);
        return false;
    }
    put(field, column.length, text, ' ', true);
    return true;
}

bool encodeDate(const DbfHeader::Column &column, const QVariant &value, bool isNull, char *field,
                QString *why)
{
    if (isNull) {
        put(field, column.length, {}, ' ', false);
        return true;
    }
    bool ok = false;
    const ValueParser::DateTime date = ValueParser::dateTime(value, &ok);
    if (!ok) {
        *why = QStringLiteral("it is not a date");
        return false;
    }
    put(field, column.length,
        QByteArray::number(date.date.year() * 10000 + date.date.month() * 100 + date.date.day())
            .rightJustified(8, '0'),
        ' ', false);
    return true;
}

bool encodeLogical(const DbfHeader::Column &column, const QVariant &value, char *field,
                   QString *why)
{
    if (value.isNull()) {
        put(field, column.length, "?", ' ', false);
        return true;
    }
    bool ok = false;
    const bool truth = ValueParser::truth(value, &ok);
    if (!ok) {
        *why = QStringLiteral("it is not Yes or No");
        return false;
    }
    put(field, column.length, truth ? "T" : "F", ' ', false);
    return true;
}

// The bytes of a text or memo value; false when the code page lacks one of its characters.
bool textBytes(const DbfHeader::Column &column, const QVariant &value, const CodePage &codePage,
               QByteArray *bytes, QString *why)
{
    if (column.binary) {
        *bytes = value.toByteArray();
        return true;
    }
    QString unmappable;
    *bytes = codePage.encode(value.toString(), &unmappable);
    if (unmappable.isEmpty())
        return true;
    *why = QStringLiteral("its code page %1 has no character \"%2\"")
               .arg(codePage.number())
               .arg(unmappable);
    return false;
}

bool encodeText(const DbfHeader::Column &column, const QVariant &value, const CodePage &codePage,
                char *field, QString *why)
{
    QByteArray bytes;
    if (!textBytes(column, value, codePage, &bytes, why))
        return false;
    if (bytes.size() > column.length) {
        *why = QStringLiteral("it is longer than %1 bytes").arg(column.length);
        return false;
    }
    put(field, column.length, bytes, ' ', false);
    return true;
}

// A memo goes to the end of the memo file; the field keeps its first block (0: no memo).
// Fails with *why, or with *error when the memo file cannot be written.
bool encodeMemo(const DbfHeader::Column &column, const QVariant &value, bool isNull,
                const CodePage &codePage, DbfMemo *memo, char *field, QString *why, QString *error)
{
    quint32 block = 0;
    if (!isNull) {
        QByteArray bytes;
        if (!textBytes(column, value, codePage, &bytes, why))
            return false;
        if (!memo) {
            *why = QStringLiteral("the memo file is missing");
            return false;
        }
        if (!memo->append(bytes, column.binary, &block, error))
            return false;
    }
    if (column.length == 4)
        qToLittleEndian<quint32>(block, field);
    else
        put(field, column.length, block ? QByteArray::number(block) : QByteArray(), ' ', true);
    return true;
}

// Visual FoxPro's binary fields: I (4 bytes), Y, B and T (8 bytes), little-endian.
bool encodeFoxPro(const DbfHeader::Column &column, const QVariant &value, bool isNull, char *field,
                  QString *why)
{
    if (column.type == 'T') {
        bool ok = true;
        const ValueParser::DateTime date =
            isNull ? ValueParser::DateTime() : ValueParser::dateTime(value, &ok);
        if (!ok) {
            *why = QStringLiteral("it is not a date");
            return false;
        }
        qToLittleEndian<qint32>(isNull ? 0 : qint32(date.date.toJulianDay()), field);
        qToLittleEndian<qint32>(isNull ? 0 : date.milliseconds, field + 4);
        return true;
    }
    bool ok = isNull;
    const double number = isNull ? 0 : value.toDouble(&ok);
    if (!ok) {
        *why = QStringLiteral("it is not a number");
        return false;
    }
    if (column.type == 'I')
        qToLittleEndian<qint32>(qint32(number), field);
    else if (column.type == 'Y')
        qToLittleEndian<qint64>(qint64(std::llround(number * 10000.0)), field);
    else
        qToLittleEndian<double>(number, field);
    return true;
}

// The first block of a memo field: 4 bytes binary (Visual FoxPro), else digits; 0 for none.
quint32 blockOf(const DbfHeader::Column &column, const uchar *field)
{
    if (column.length == 4)
        return qFromLittleEndian<quint32>(field);
    bool ok = false;
    const quint32 block = trimmedBytes(field, column.length).toUInt(&ok);
    return ok ? block : 0;
}

} // namespace

DbfFieldCodec::DbfFieldCodec(const DbfHeader *header, DbfMemo *memo, const QString &tableName)
    : m_header(header), m_memo(memo), m_tableName(tableName)
{
}

QVariant DbfFieldCodec::decode(const uchar *record, int columnIndex) const
{
    const Column &column = m_header->columns.at(columnIndex);
    if (flagSet(record, m_header->nullFlagsOffset, column.nullBit))
        return {};
    const uchar *field = record + column.offset;
    const int length = column.length;
    switch (column.type) {
    case 'C':
    case 'V': {
        const int end = textLength(record, m_header->nullFlagsOffset, column);
        if (end == 0)
            return {};
        if (column.binary)
            return QByteArray(reinterpret_cast<const char *>(field), end);
        return m_header->codePage.decode(reinterpret_cast<const char *>(field), end);
    }
    case 'N':
    case 'F':
        return numberFromText(field, length);
    case 'D':
        if (length < 8 || isBlank(field, length))
            return {};
        return dateFromDigits(field);
    case 'L':
        if (length < 1)
            return {};
        return truthFromLetter(field[0]);
    case 'M':
    case 'G':
    case 'W':
    case 'P':
        return memoValue(column, field);
    default:
        return decodeBinary(record, column);
    }
}

// The types stored as binary numbers (and any unknown type, read as text).
QVariant DbfFieldCodec::decodeBinary(const uchar *record, const Column &column) const
{
    const uchar *field = record + column.offset;
    const int length = column.length;
    switch (column.type) {
    case 'B':
        if (m_header->isVisualFoxPro() && length == 8) {
            double number;
            memcpy(&number, field, sizeof(number));
            return QVariant(qFromLittleEndian(number));
        }
        return memoValue(column, field);
    case 'I':
    case '+':
        if (length != 4)
            return {};
        if (m_header->isDBase7())
            return QVariant(qint64(dBase7Integer(field)));
        return QVariant(qint64(qFromLittleEndian<qint32>(field)));
    case 'O':
        return length == 8 ? QVariant(dBase7Double(field)) : QVariant();
    case 'Y':
        if (length != 8)
            return {};
        return QVariant(double(qFromLittleEndian<qint64>(field)) / 10000.0);
    case 'T':
        if (length != 8 || qFromLittleEndian<qint32>(field) == 0)
            return {};
        return dateTimeFromJulian(qFromLittleEndian<qint32>(field),
                                  qFromLittleEndian<qint32>(field + 4));
    case '@': {
        if (length != 8 || isBlank(field, length))
            return {};
        const double ms = dBase7Double(field);
        if (!std::isfinite(ms) || ms < 0 || ms > 1e17)
            return {};
        const qint64 whole = qint64(ms);
        return dateTimeFromJulian(whole / 86400000, whole % 86400000);
    }
    case 'Q': {
        // A varbinary of no bytes holds nothing (its length byte would lie before the field).
        if (length < 1)
            return {};
        const int end = flagSet(record, m_header->nullFlagsOffset, column.lengthBit)
                            ? qMin<int>(field[length - 1], length - 1)
                            : length;
        return QByteArray(reinterpret_cast<const char *>(field), end);
    }
    default: {
        const QByteArray text = trimmedBytes(field, length);
        return text.isEmpty() ? QVariant() : QVariant(m_header->codePage.decode(text));
    }
    }
}

bool DbfFieldCodec::decodeUtf8(const uchar *record, int columnIndex, std::string *utf8,
                               bool *isNull) const
{
    const Column &column = m_header->columns.at(columnIndex);
    if ((column.type != 'C' && column.type != 'V') || column.binary)
        return false;
    utf8->clear();
    const int end = flagSet(record, m_header->nullFlagsOffset, column.nullBit)
                        ? 0
                        : textLength(record, m_header->nullFlagsOffset, column);
    *isNull = end == 0;
    if (!*isNull)
        m_header->codePage.appendUtf8(reinterpret_cast<const char *>(record + column.offset), end,
                                      utf8);
    return true;
}

quint32 DbfFieldCodec::memoBlock(const uchar *record, int column) const
{
    const Column &c = m_header->columns.at(column);
    return DbfHeader::isMemo(c) ? blockOf(c, record + c.offset) : 0;
}

QVariant DbfFieldCodec::memoValue(const Column &column, const uchar *field) const
{
    const quint32 block = blockOf(column, field);
    if (block == 0 || !m_memo)
        return {};
    const QByteArray bytes = m_memo->read(block);
    if (column.type != 'M' || column.binary)
        return bytes.isEmpty() ? QVariant() : QVariant(bytes);
    return m_header->codePage.decode(bytes);
}

bool DbfFieldCodec::encode(int columnIndex, const QVariant &value, QByteArray *record,
                           QString *error)
{
    const Column &column = m_header->columns.at(columnIndex);
    if (column.nullBit >= 0 && m_header->nullFlagsOffset >= 0) {
        char &flags = (*record)[m_header->nullFlagsOffset + column.nullBit / 8];
        const char bit = char(1 << (column.nullBit % 8));
        flags = char(value.isNull() ? (flags | bit) : (flags & ~bit));
    }
    char *field = record->data() + column.offset;
    const bool isNull = value.isNull() ||
                        (value.metaType().id() == QMetaType::QString && value.toString().isEmpty());
    const CodePage &codePage = m_header->codePage;
    QString why;
    bool ok = false;
    switch (column.type) {
    case 'C':
        ok = encodeText(column, value, codePage, field, &why);
        break;
    case 'N':
    case 'F':
        ok = encodeNumber(column, value, isNull, field, &why);
        break;
    case 'D':
        ok = encodeDate(column, value, isNull, field, &why);
        break;
    case 'L':
        ok = encodeLogical(column, value, field, &why);
        break;
    case 'M':
        ok = encodeMemo(column, value, isNull, codePage, m_memo, field, &why, error);
        break;
    case 'I':
    case 'Y':
    case 'B':
    case 'T':
        if (m_header->isVisualFoxPro() && column.length == (column.type == 'I' ? 4 : 8)) {
            ok = encodeFoxPro(column, value, isNull, field, &why);
            break;
        }
        [[fallthrough]];
    default:
        why = QStringLiteral("fields of type %1 cannot be written").arg(QLatin1Char(column.type));
        break;
    }
    if (ok)
        return true;
    // No reason means the memo file could not be written, and *error says so already.
    if (!why.isEmpty() && error)
        *error = QStringLiteral("The field %1 of %2 cannot hold %3: %4")
                     .arg(m_header->fields.at(columnIndex).name, m_tableName,
                          value.toString().left(40), why);
    return false;
}
