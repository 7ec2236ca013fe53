#include "ParadoxFieldCodec.h"

#include "CanonicalDate.h"
#include "ParadoxTable.h"
#include "ValueParser.h"

#include <QTime>
#include <QtEndian>

#include <algorithm>
#include <cmath>

extern "C" {
#include <paradox.h>
}

namespace
{

constexpr long dayOffset = ParadoxFieldCodec::dayOffset;

// Text, bytes and BCD numbers: pxlib hands them over in memory the caller frees.
QVariant textValue(pxdoc_t *doc, char *data, const pxfield_t &field, const CodePage &codePage)
{
    const int length = field.px_flen;
    char *text = nullptr;
    switch (field.px_ftype) {
    case pxfAlpha: {
        if (PX_get_data_alpha(doc, data, length, &text) <= 0 || !text)
            return {};
        const QString value = codePage.decode(text, qsizetype(qstrnlen(text, uint(length))));
        doc->free(doc, text);
        return value.isEmpty() ? QVariant() : QVariant(value);
    }
    case pxfBytes: {
        if (PX_get_data_bytes(doc, data, length, &text) <= 0 || !text)
            return {};
        const QByteArray value(text, length);
        doc->free(doc, text);
        return value;
    }
    default: {
        if (PX_get_data_bcd(doc, reinterpret_cast<unsigned char *>(data), field.px_fdc, &text) <=
                0 ||
            !text)
            return {};
        bool ok = false;
        const double value = QByteArray(text).toDouble(&ok);
        doc->free(doc, text);
        return ok ? QVariant(value) : QVariant();
    }
    }
}

QVariant timeValue(pxdoc_t *doc, char *data, const pxfield_t &field)
{
    const int length = field.px_flen;
    switch (field.px_ftype) {
    case pxfDate: {
        long days = 0;
        if (PX_get_data_long(doc, data, length, &days) <= 0)
            return {};
        const QString text = CanonicalDate::fromJulianDay(days + dayOffset);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case pxfTime: {
        long ms = 0;
        if (PX_get_data_long(doc, data, length, &ms) <= 0 || ms < 0 || ms >= 86400000)
            return {};
        return QTime::fromMSecsSinceStartOfDay(int(ms)).toString(QStringLiteral("HH:mm:ss"));
    }
    default: {
        double ms = 0;
        if (PX_get_data_double(doc, data, length, &ms) <= 0 || !(ms >= 0 && ms < 1e15))
            return {};
        const qint64 whole = qint64(ms);
        const QString text =
            CanonicalDate::fromJulianDay(whole / 86400000 + dayOffset, whole % 86400000);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    }
}

QVariant numberValue(pxdoc_t *doc, char *data, const pxfield_t &field)
{
    const int length = field.px_flen;
    switch (field.px_ftype) {
    case pxfCurrency:
    case pxfNumber: {
        double value = 0;
        return PX_get_data_double(doc, data, length, &value) > 0 ? QVariant(value) : QVariant();
    }
    case pxfLogical: {
        char value = 0;
        if (PX_get_data_byte(doc, data, length, &value) <= 0)
            return {};
        return QVariant(qint64(value ? 1 : 0));
    }
    case pxfShort: {
        short value = 0;
        if (PX_get_data_short(doc, data, length, &value) <= 0)
            return {};
        return QVariant(qint64(value));
    }
    default: {
        long value = 0;
        if (PX_get_data_long(doc, data, length, &value) <= 0)
            return {};
        return QVariant(qint64(value));
    }
    }
}

bool putText(pxdoc_t *doc, pxval_t *target, int size, const QString &text, const CodePage &codePage,
             QString *why)
{
    QString unmappable;
    const QByteArray bytes = codePage.encode(text, &unmappable);
    if (!unmappable.isEmpty()) {
        *why = QStringLiteral("its code page %1 has no character \"%2\"")
                   .arg(codePage.number())
                   .arg(unmappable);
        return false;
    }
    if (bytes.size() > size) {
        *why = QStringLiteral("it is longer than %1 bytes").arg(size);
        return false;
    }
    auto *copy = static_cast<char *>(doc->malloc(doc, size_t(size) + 1, "alpha"));
    memset(copy, 0, size_t(size) + 1);
    memcpy(copy, bytes.constData(), size_t(bytes.size()));
    target->value.str.val = copy;
    target->value.str.len = int(bytes.size());
    return true;
}

bool putTime(pxval_t *target, int type, const QVariant &value, QString *why)
{
    bool ok = true;
    // A time alone is "HH:mm[:ss]" on any day.
    const ValueParser::DateTime date =
        type == pxfTime
            ? ValueParser::dateTime(QStringLiteral("2000-01-01 ") + value.toString(), &ok)
            : ValueParser::dateTime(value, &ok);
    if (!ok) {
        *why = QStringLiteral("it is not a date or time");
        return false;
    }
    const qint64 days = date.date.toJulianDay() - dayOffset;
    if (type == pxfDate)
        target->value.lval = long(days);
    else if (type == pxfTime)
        target->value.lval = date.milliseconds;
    else
        target->value.dval = double(days) * 86400000.0 + date.milliseconds;
    return true;
}

bool putNumber(pxval_t *target, int type, const QVariant &value, QString *why)
{
    bool ok = true;
    if (type == pxfLogical) {
        const bool truth = ValueParser::truth(value, &ok);
        if (!ok)
            *why = QStringLiteral("it is not Yes or No");
        target->value.lval = truth ? 1 : 0;
        return ok;
    }
    const double number = value.toString().trimmed().toDouble(&ok);
    if (type == pxfCurrency || type == pxfNumber) {
        if (!ok || !std::isfinite(number)) {
            *why = QStringLiteral("it is not a number");
            return false;
        }
        target->value.dval = number;
        return true;
    }
    const double limit = type == pxfShort ? 32767 : 2147483647;
    if (!ok || number != std::floor(number) || number > limit || number < -limit) {
        *why = QStringLiteral("it is not a whole number the field can hold");
        return false;
    }
    target->value.lval = long(number);
    return true;
}

} // namespace

bool ParadoxFieldCodec::isBlob(int type)
{
    return type == pxfMemoBLOb || type == pxfFmtMemoBLOb || type == pxfBLOb || type == pxfOLE ||
           type == pxfGraphic;
}

bool ParadoxFieldCodec::sizeFits(int type, int size)
{
    switch (type) {
    case pxfAlpha:
    case pxfBytes:
        return size >= 1;
    case pxfLogical:
        return size == 1;
    case pxfShort:
        return size == 2;
    case pxfDate:
    case pxfLong:
    case pxfTime:
    case pxfAutoInc:
        return size == 4;
    case pxfCurrency:
    case pxfNumber:
    case pxfTimestamp:
        return size == 8;
    case pxfBCD:
        return size <= 32;
    default:
        // A BLOB field ends in its 10-byte pointer into the .mb file.
        return isBlob(type) && size >= 10;
    }
}

int ParadoxFieldCodec::storedSize(int type, int size)
{
    return type == pxfBCD ? 17 : size;
}

QVariant ParadoxFieldCodec::value(pxdoc_t *doc, char *data, const pxfield_t &field,
                                  const CodePage &codePage)
{
    // Paradox writes an empty field as zero bytes, whatever its type.
    if (std::all_of(data, data + field.px_flen, [](char byte) { return byte == 0; }))
        return {};
    switch (field.px_ftype) {
    case pxfAlpha:
    case pxfBytes:
    case pxfBCD:
        return textValue(doc, data, field, codePage);
    case pxfDate:
    case pxfTime:
    case pxfTimestamp:
        return timeValue(doc, data, field);
    case pxfCurrency:
    case pxfNumber:
    case pxfLogical:
    case pxfShort:
    case pxfLong:
    case pxfAutoInc:
        return numberValue(doc, data, field);
    default:
        return {};
    }
}

QByteArray ParadoxFieldCodec::blob(const char *field, int length, const uchar *base,
                                   qint64 fileSize)
{
    if (length < 10)
        return {};
    const uchar *pointer = reinterpret_cast<const uchar *>(field) + length - 10;
    const quint32 offset = qFromLittleEndian<quint32>(pointer);
    const quint32 size = qFromLittleEndian<quint32>(pointer + 4);
    if (size == 0)
        return {};
    const int inline_ = length - 10;
    if (size <= quint32(inline_))
        return QByteArray(field, qsizetype(size));
    const quint32 index = offset & 0xFF;
    const qint64 block = offset & 0xFFFFFF00u;
    if (!base || block + 12 > fileSize)
        return QByteArray("");
    qint64 start = 0;
    if (index == 0xFF) {
        // A block of its own: 9 header bytes, then the data.
        if (base[block] != 2)
            return QByteArray("");
        start = block + 9;
    } else {
        // A block shared by small blobs: a table of 5-byte entries after a 12-byte header.
        const qint64 entry = block + 12 + qint64(index) * 5;
        if (base[block] != 3 || entry + 5 > fileSize)
            return QByteArray("");
        start = block + qint64(base[entry]) * 16;
    }
    if (start + qint64(size) > fileSize)
        return QByteArray("");
    return QByteArray(reinterpret_cast<const char *>(base) + start, qsizetype(size));
}

bool ParadoxFieldCodec::put(pxdoc_t *doc, pxval_t *target, int type, int size,
                            const QVariant &value, const CodePage &codePage, QString *why)
{
    if (type == pxfAlpha && target->value.str.val) {
        doc->free(doc, target->value.str.val);
        target->value.str.val = nullptr;
    }
    const bool empty = value.isNull() ||
                       (value.metaType().id() == QMetaType::QString && value.toString().isEmpty());
    target->isnull = empty ? 1 : 0;
    if (empty)
        return true;
    switch (type) {
    case pxfAlpha:
        return putText(doc, target, size, value.toString(), codePage, why);
    case pxfDate:
    case pxfTime:
    case pxfTimestamp:
        return putTime(target, type, value, why);
    case pxfLogical:
    case pxfShort:
    case pxfLong:
    case pxfAutoInc:
    case pxfCurrency:
    case pxfNumber:
        return putNumber(target, type, value, why);
    default:
        *why = QStringLiteral("fields of type %1 cannot be written")
                   .arg(ParadoxTable::typeLetter(type));
        return false;
    }
}

pxval_t **ParadoxFieldCodec::emptyRecord(pxdoc_t *doc, const QList<int> &types)
{
    auto **record = static_cast<pxval_t **>(
        doc->malloc(doc, sizeof(pxval_t *) * size_t(types.size()), "record"));
    for (qsizetype f = 0; f < types.size(); ++f) {
        MAKE_PXVAL(doc, record[f]);
        record[f]->type = types.at(f);
        record[f]->isnull = 1;
    }
    return record;
}

void ParadoxFieldCodec::freeRecord(pxdoc_t *doc, pxval_t **record, int fields)
{
    for (int i = 0; i < fields; ++i) {
        if (!record[i])
            continue;
        const int type = record[i]->type;
        const bool text = type == pxfAlpha || type == pxfBCD || type == pxfBytes || isBlob(type);
        if (text && record[i]->value.str.val)
            doc->free(doc, record[i]->value.str.val);
        doc->free(doc, record[i]);
    }
    doc->free(doc, record);
}
