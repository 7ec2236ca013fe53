#include "DbfHeader.h"

#include "FieldNames.h"
#include "FieldTypeNames.h"
#include "LanguageDriver.h"

#include <QDate>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace
{

constexpr int headerBlock = 32;
constexpr int dBase7HeaderBlock = 68;
constexpr int dBase7FieldBlock = 48;
// dBase II: 8 bytes of facts, 32 field descriptors of 16 bytes, the end mark.
constexpr int dBase2HeaderSize = 8 + 32 * 16 + 1;

// VFP field flags
constexpr uchar flagNullable = 0x02;
constexpr uchar flagBinary = 0x04;

bool knownVersion(uchar version)
{
    switch (version) {
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x83:
    case 0x8B:
    case 0x8C:
    case 0xF5:
    case 0xFB:
    case 0x30:
    case 0x31:
    case 0x32:
    case 0x43:
    case 0x63:
    case 0x7B:
    case 0xCB:
    case 0xE5:
        return true;
    default:
        return false;
    }
}

int jetTypeOf(char type, bool visualFoxPro)
{
    switch (type) {
    case 'C':
    case 'V':
        return int(JetType::Text);
    case 'N':
    case 'F':
    case 'O':
        return int(JetType::Double);
    case 'B':
        return visualFoxPro ? int(JetType::Double) : int(JetType::LongBinary);
    case 'D':
    case 'T':
    case '@':
        return int(JetType::Date);
    case 'L':
        return int(JetType::Boolean);
    case 'M':
        return int(JetType::Memo);
    case 'I':
    case '+':
        return int(JetType::Long);
    case 'Y':
        return int(JetType::Currency);
    case 'G':
    case 'W':
    case 'P':
    case 'Q':
        return int(JetType::LongBinary);
    default:
        return 0;
    }
}

} // namespace

// A field descriptor as stored, before the lengths are understood.
struct DbfHeader::Descriptor {
    QByteArray name;
    char type;
    int length;
    int decimals;
    uchar flags;
};

// Where the header keeps its facts: dBase III and later, dBase 7 with longer field
// descriptors, or dBase II (version 0x02 too), whose header is laid out differently.
struct DbfHeader::Layout {
    int fieldStart, fieldBlock, nameLength, type, length, decimals, flags;
};

bool DbfHeader::parse(const uchar *data, qint64 size, int chosenCodePage, const QString &tableName,
                      QString *error)
{
    const auto fail = [&](const QString &what) {
        if (error)
            *error =
                QStringLiteral("%1 is not a dBase table or is damaged: %2").arg(tableName, what);
        return false;
    };
    QString why;
    const Layout *layout = nullptr;
    quint32 recordCount = 0;
    if (!readSizes(data, size, &layout, &recordCount, &why))
        return fail(why);
    const int fileCodePage = dBase2 ? 0 : LanguageDriver::codePage(data[29]);
    hasProductionIndex = !dBase2 && (data[28] & 0x01);
    // The chosen page, else the file's, else Windows Latin.
    codePage =
        CodePage(chosenCodePage > 0 ? chosenCodePage : (fileCodePage > 0 ? fileCodePage : 1252));
    const QList<Descriptor> descriptors = readDescriptors(data, *layout);
    if (descriptors.isEmpty())
        return fail(QStringLiteral("it has no fields"));
    if (!makeColumns(descriptors, &why))
        return fail(why);
    const qint64 present = (size - headerSize) / recordLength;
    // A count beyond the data is a damaged header or a cut file: show what is there.
    slotCount = qMin<qint64>(recordCount, present);
    return true;
}

bool DbfHeader::readSizes(const uchar *data, qint64 size, const Layout **layout,
                          quint32 *recordCount, QString *why)
{
    static constexpr Layout dBase3Layout{headerBlock, headerBlock, 11, 11, 16, 17, 18};
    static constexpr Layout dBase7Layout{dBase7HeaderBlock, dBase7FieldBlock, 32, 32, 33, 34, -1};
    static constexpr Layout dBase2Layout{8, 16, 11, 11, 12, 15, -1};
    if (size < headerBlock + 1) {
        *why = QStringLiteral("the file is too short");
        return false;
    }
    version = data[0];
    if (!knownVersion(version)) {
        *why = QStringLiteral("unknown version byte 0x%1").arg(version, 2, 16, QLatin1Char('0'));
        return false;
    }
    *recordCount = qFromLittleEndian<quint32>(data + 4);
    headerSize = qFromLittleEndian<quint16>(data + 8);
    recordLength = qFromLittleEndian<quint16>(data + 10);
    *layout = isDBase7() ? &dBase7Layout : &dBase3Layout;
    const bool dBase3Fits = headerSize >= (*layout)->fieldStart + 1 && headerSize <= size;
    if (version == 0x02 && !dBase3Fits && size >= dBase2HeaderSize) {
        dBase2 = true;
        *layout = &dBase2Layout;
        *recordCount = qFromLittleEndian<quint16>(data + 1);
        headerSize = dBase2HeaderSize;
        recordLength = qFromLittleEndian<quint16>(data + 6);
    }
    if (headerSize < (*layout)->fieldStart + 1 || headerSize > size) {
        *why = QStringLiteral("the header size %1 does not fit the file").arg(headerSize);
        return false;
    }
    if (recordLength < 1) {
        *why = QStringLiteral("the record length is 0");
        return false;
    }
    return true;
}

QList<DbfHeader::Descriptor> DbfHeader::readDescriptors(const uchar *data,
                                                        const Layout &layout) const
{
    QList<Descriptor> descriptors;
    for (int at = layout.fieldStart; at + layout.fieldBlock <= headerSize && data[at] != 0x0D;
         at += layout.fieldBlock) {
        const uchar *d = data + at;
        const char *name = reinterpret_cast<const char *>(d);
        Descriptor descriptor;
        descriptor.name = QByteArray(name, int(qstrnlen(name, uint(layout.nameLength)))).trimmed();
        descriptor.type = char(d[layout.type]);
        descriptor.length = d[layout.length];
        descriptor.decimals = d[layout.decimals];
        descriptor.flags = layout.flags >= 0 ? d[layout.flags] : 0;
        descriptors.append(descriptor);
    }
    return descriptors;
}

bool DbfHeader::makeColumns(const QList<Descriptor> &descriptors, QString *why)
{
    const auto totalLength = [&](bool wideCharacter) {
        int total = 1;
        for (const Descriptor &d : descriptors)
            total += (wideCharacter && d.type == 'C') ? d.length + 256 * d.decimals : d.length;
        return total;
    };
    // Clipper and FoxPro keep character fields longer than 255 with the high byte in "decimals".
    const bool wideCharacter =
        totalLength(false) != recordLength && totalLength(true) == recordLength;
    if (totalLength(wideCharacter) > recordLength) {
        *why = QStringLiteral("its fields need %1 bytes but a record has %2")
                   .arg(totalLength(wideCharacter))
                   .arg(recordLength);
        return false;
    }
    int offset = 1;
    int nullBit = 0;
    FieldNames names(QStringLiteral("Field"));
    for (const Descriptor &d : descriptors) {
        Column column;
        column.type = char(QChar::fromLatin1(d.type).toUpper().toLatin1());
        column.offset = offset;
        column.length =
            (wideCharacter && column.type == 'C') ? d.length + 256 * d.decimals : d.length;
        column.decimals = (wideCharacter && column.type == 'C') ? 0 : d.decimals;
        column.binary = isVisualFoxPro() && (d.flags & flagBinary);
        offset += column.length;
        if (column.type == '0') {
            nullFlagsOffset = column.offset;
            nullFlagsLength = column.length;
            continue;
        }
        // Bits of _NullFlags: one for each nullable field, then one for each varying-length
        // field telling that its last byte holds the length.
        if (isVisualFoxPro() && (d.flags & flagNullable))
            column.nullBit = nullBit++;
        if (isVisualFoxPro() && (column.type == 'V' || column.type == 'Q'))
            column.lengthBit = nullBit++;

        SourceField field;
        field.name = names.add(codePage.decode(d.name));
        field.nativeType = QString(QLatin1Char(column.type));
        field.typeCode = jetTypeOf(column.type, isVisualFoxPro());
        field.size = column.length;
        field.decimals = column.decimals;
        columns.append(column);
        fields.append(field);
    }
    if (fields.isEmpty()) {
        *why = QStringLiteral("it has no fields");
        return false;
    }
    // Too few flag bytes for the bits the fields need: the flags cannot be trusted.
    if (nullFlagsOffset >= 0 && nullFlagsLength < (nullBit + 7) / 8) {
        for (Column &column : columns)
            column.nullBit = column.lengthBit = -1;
    }
    return true;
}

bool DbfHeader::isMemo(const Column &c)
{
    return c.type == 'M' || c.type == 'G' || c.type == 'W' || c.type == 'P' ||
           (c.type == 'B' && c.length == 10);
}

bool DbfHeader::hasMemoField() const
{
    return std::any_of(columns.cbegin(), columns.cend(), isMemo);
}

DbfMemo::Kind DbfHeader::memoKind(unsigned char version, const QString &memoPath)
{
    if (memoPath.endsWith(QLatin1String(".fpt"), Qt::CaseInsensitive))
        return DbfMemo::Kind::FoxPro;
    switch (version) {
    case 0xF5:
    case 0xFB:
    case 0x30:
    case 0x31:
    case 0x32:
        return DbfMemo::Kind::FoxPro;
    case 0x8B:
    case 0x8C:
    case 0x7B:
    case 0xCB:
    case 0xE5:
        return DbfMemo::Kind::DBase4;
    default:
        return DbfMemo::Kind::DBase3;
    }
}

QByteArray DbfHeader::build(const QList<FieldSpec> &specs, unsigned char tableVersion,
                            int pageNumber)
{
    const bool dBase7 = isDBase7(tableVersion);
    const int fieldBlock = dBase7 ? dBase7FieldBlock : headerBlock;
    const int fieldStart = dBase7 ? dBase7HeaderBlock : headerBlock;
    const int headerSize =
        fieldStart + fieldBlock * int(specs.size()) + 1 + (isVisualFoxPro(tableVersion) ? 263 : 0);
    int recordLength = 1;
    for (const FieldSpec &spec : specs)
        recordLength += spec.length;
    if (specs.isEmpty() || headerSize > 0xFFFF || recordLength > 0xFFFF)
        return {};
    QByteArray header(headerSize, '\0');
    const QDate today = QDate::currentDate();
    header[0] = char(tableVersion);
    header[1] = char(today.year() - 1900);
    header[2] = char(today.month());
    header[3] = char(today.day());
    qToLittleEndian<quint16>(quint16(headerSize), header.data() + 8);
    qToLittleEndian<quint16>(quint16(recordLength), header.data() + 10);
    header[29] = char(LanguageDriver::id(pageNumber));
    int at = fieldStart;
    int offset = 1;
    for (const FieldSpec &spec : specs) {
        const QByteArray name = spec.name.toLatin1().left(dBase7 ? 31 : 10);
        memcpy(header.data() + at, name.constData(), size_t(name.size()));
        if (dBase7) {
            header[at + 32] = spec.type;
            header[at + 33] = char(spec.length);
            header[at + 34] = char(spec.decimals);
        } else {
            header[at + 11] = spec.type;
            qToLittleEndian<quint32>(quint32(offset), header.data() + at + 12);
            header[at + 16] = char(spec.length & 0xFF);
            header[at + 17] = char(spec.type == 'C' ? spec.length >> 8 : spec.decimals);
        }
        offset += spec.length;
        at += fieldBlock;
    }
    header[at] = 0x0D;
    return header;
}
