// Writes structure-aware seeds for fuzz_dbf into a folder: for each table version the reader
// knows, a valid header with every field type of that version (Visual FoxPro with _NullFlags,
// nullable and varying fields, varbinary), records with values, a deleted one and empty ones,
// and a memo file of the version's kind. Each seed is in fuzz_dbf's input layout: a code-page
// byte, the memo file's length (2 bytes, little-endian), the table, the memo file.
//   dbf_seeds FOLDER

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QtEndian>

#include <cstdio>
#include <cstring>

namespace
{

struct Field {
    QByteArray name;
    char type;
    int length;
    int decimals = 0;
    int flags = 0; // Visual FoxPro: 0x02 nullable, 0x04 binary
};

enum class Memo { None, DBase3, DBase4, FoxPro };

struct Version {
    const char *name;
    uchar byte;
    Memo memo;
    QList<Field> fields;
};

// A value of a field's width for record r: text, digits, dates, binary numbers as the type
// wants, memo r at block firstMemo + r; r == 2 leaves every field blank.
QByteArray valueOf(const Field &field, int r, bool bigEndianIntegers, int firstMemo)
{
    QByteArray value(field.length, r == 2 ? ' ' : '\0');
    if (r == 2)
        return value;
    char *d = value.data();
    switch (field.type) {
    case 'C':
    case 'V':
        value = QByteArray("text " + QByteArray::number(r) + " \xE9\xE8")
                    .leftJustified(field.length, ' ', true);
        if (field.type == 'V' && field.length > 0)
            value[field.length - 1] = char(qMin(6, field.length - 1));
        break;
    case 'N':
    case 'F':
        value = QByteArray::number(r * 12.5 - 3, 'f', field.decimals)
                    .rightJustified(field.length, ' ', true);
        break;
    case 'D':
        value = QByteArray("2024021") + char('0' + r);
        break;
    case 'L':
        value = r == 0 ? "T" : "?";
        break;
    case 'M':
    case 'G':
    case 'P':
    case 'W':
    case 'B':
        if (field.length == 4)
            qToLittleEndian<quint32>(quint32(firstMemo + r), d);
        else if (field.type == 'B' && field.length == 8)
            qToLittleEndian<double>(r * 1.5, d);
        else
            value = QByteArray::number(firstMemo + r).rightJustified(field.length, ' ', true);
        break;
    case 'I':
    case '+':
        if (bigEndianIntegers)
            qToBigEndian<quint32>(quint32(r - 1) ^ 0x80000000u, d);
        else
            qToLittleEndian<qint32>(r - 1, d);
        break;
    case 'Y':
        qToLittleEndian<qint64>(qint64(r) * 12345, d);
        break;
    case 'T':
        qToLittleEndian<qint32>(2460000 + r, d);
        qToLittleEndian<qint32>(r * 3600000, d + 4);
        break;
    case 'O':
    case '@':
        qToBigEndian<quint64>(0xC000000000000000ull + quint64(r), d);
        break;
    case 'Q':
        for (int i = 0; i < field.length; ++i)
            d[i] = char(i * 31 + r);
        if (field.length > 0)
            d[field.length - 1] = char(qMin(3, field.length - 1));
        break;
    case '0':
        d[0] = char(r == 1 ? 0x55 : 0xAA); // null and length bits
        break;
    }
    return value.leftJustified(field.length, '\0', true);
}

QByteArray table(const Version &version)
{
    const bool dBase7 = (version.byte & 0x07) == 0x04;
    const bool visualFoxPro = version.byte >= 0x30 && version.byte <= 0x32;
    const int start = dBase7 ? 68 : 32;
    const int block = dBase7 ? 48 : 32;
    int recordLength = 1;
    for (const Field &field : version.fields)
        recordLength += field.length;
    const int headerSize =
        start + block * int(version.fields.size()) + 1 + (visualFoxPro ? 263 : 0);
    QByteArray bytes(headerSize, '\0');
    bytes[0] = char(version.byte);
    bytes[1] = 124;
    bytes[2] = 5;
    bytes[3] = 17;
    qToLittleEndian<quint32>(4, bytes.data() + 4);
    qToLittleEndian<quint16>(quint16(headerSize), bytes.data() + 8);
    qToLittleEndian<quint16>(quint16(recordLength), bytes.data() + 10);
    bytes[29] = 0x03;
    int at = start;
    int offset = 1;
    for (const Field &field : version.fields) {
        memcpy(bytes.data() + at, field.name.constData(), size_t(field.name.size()));
        if (dBase7) {
            bytes[at + 32] = field.type;
            bytes[at + 33] = char(field.length);
            bytes[at + 34] = char(field.decimals);
        } else {
            bytes[at + 11] = field.type;
            qToLittleEndian<quint32>(quint32(offset), bytes.data() + at + 12);
            bytes[at + 16] = char(field.length);
            bytes[at + 17] = char(field.decimals);
            bytes[at + 18] = char(field.flags);
        }
        offset += field.length;
        at += block;
    }
    bytes[at] = 0x0D;
    for (int r = 0; r < 4; ++r) {
        bytes += r == 3 ? '*' : ' ';
        for (const Field &field : version.fields)
            bytes += valueOf(field, r, dBase7, version.memo == Memo::FoxPro ? 8 : 1);
    }
    return bytes + '\x1A';
}

// Memos 1.. for the records' memo fields, in the version's layout.
QByteArray memoFile(Memo kind)
{
    QByteArray bytes;
    switch (kind) {
    case Memo::None:
        break;
    case Memo::DBase3:
        bytes = QByteArray(512, '\0');
        for (int m = 0; m < 4; ++m)
            bytes += QByteArray("memo text " + QByteArray::number(m) + "\x1A\x1A")
                         .leftJustified(512, '\0');
        qToLittleEndian<quint32>(5, bytes.data());
        break;
    case Memo::DBase4:
        bytes = QByteArray(512, '\0');
        qToLittleEndian<quint16>(512, bytes.data() + 20);
        for (int m = 0; m < 4; ++m) {
            QByteArray entry("\xFF\xFF\x08\x00\0\0\0\0", 8);
            const QByteArray text = "dBase IV memo " + QByteArray::number(m);
            qToLittleEndian<quint32>(quint32(text.size() + 8), entry.data() + 4);
            bytes += (entry + text).leftJustified(512, '\0');
        }
        qToLittleEndian<quint32>(5, bytes.data());
        break;
    case Memo::FoxPro:
        // 64-byte blocks after a 512-byte header: the first memo is block 8.
        bytes = QByteArray(512, '\0');
        qToBigEndian<quint32>(12, bytes.data());
        qToBigEndian<quint16>(64, bytes.data() + 6);
        for (int m = 0; m < 4; ++m) {
            QByteArray entry(8, '\0');
            const QByteArray text = "FoxPro memo " + QByteArray::number(m);
            qToBigEndian<quint32>(m == 1 ? 0 : 1, entry.data()); // picture, then text
            qToBigEndian<quint32>(quint32(text.size()), entry.data() + 4);
            bytes += (entry + text).leftJustified(64, '\0');
        }
        break;
    }
    return bytes;
}

QList<Version> versions()
{
    const QList<Field> common{{"NAME", 'C', 12},    {"COUNT", 'N', 6}, {"PRICE", 'N', 9, 2},
                              {"RATE", 'F', 10, 3}, {"BORN", 'D', 8},  {"OK", 'L', 1}};
    const QList<Field> memo{{"NOTES", 'M', 10}};
    QList<Version> list{
        {"foxbase", 0x02, Memo::None, common},
        {"dbase3", 0x03, Memo::None, common},
        {"dbase3-memo", 0x83, Memo::DBase3, common + memo},
        {"dbase4-memo", 0x8B, Memo::DBase4, common + memo},
        {"dbase5-sql", 0x43, Memo::None, common},
        {"foxpro2", 0xF5, Memo::FoxPro,
         common + memo + QList<Field>{{"PICTURE", 'G', 10}, {"GENERAL", 'P', 10}}},
        {"dbase7", 0x04, Memo::None,
         common +
             QList<Field>{
                 {"LONG", 'I', 4}, {"DOUBLE", 'O', 8}, {"STAMP", '@', 8}, {"AUTO", '+', 4}}},
        {"dbase7-memo", 0x8C, Memo::DBase4,
         common + memo + QList<Field>{{"BINARY", 'B', 10}, {"OLE", 'G', 10}}},
    };
    // Visual FoxPro: every type, nullable and varying fields whose bits live in _NullFlags.
    const QList<Field> visual{{"NAME", 'C', 12, 0, 0x02},
                              {"COUNT", 'N', 6},
                              {"BORN", 'D', 8, 0, 0x02},
                              {"OK", 'L', 1},
                              {"NOTES", 'M', 4},
                              {"PICTURE", 'G', 4},
                              {"LONG", 'I', 4, 0, 0x02},
                              {"MONEY", 'Y', 8, 4},
                              {"DOUBLE", 'B', 8, 2},
                              {"STAMP", 'T', 8},
                              {"VARCHAR", 'V', 10, 0, 0x02},
                              {"VARBIN", 'Q', 8, 0, 0x04},
                              {"EMPTYBIN", 'Q', 0, 0, 0x06},
                              {"BLOB", 'W', 4},
                              {"BINTEXT", 'C', 6, 0, 0x04},
                              {"_NullFlags", '0', 2, 0, 0x05}};
    for (uchar byte : {uchar(0x30), uchar(0x31), uchar(0x32)})
        list.append({byte == 0x30   ? "vfp"
                     : byte == 0x31 ? "vfp-autoinc"
                                    : "vfp9",
                     byte, Memo::FoxPro, visual});
    return list;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        fprintf(stderr, "usage: dbf_seeds FOLDER\n");
        return 2;
    }
    int written = 0;
    for (const Version &version : versions()) {
        const QByteArray memo = memoFile(version.memo);
        QByteArray seed(3, '\0');
        seed[0] = char(written % 6);
        qToLittleEndian<quint16>(quint16(memo.size()), seed.data() + 1);
        QFile file(QString::fromLocal8Bit(argv[1]) + QLatin1Char('/') +
                   QLatin1String(version.name) + QLatin1String(".seed"));
        if (file.open(QIODevice::WriteOnly) && file.write(seed + table(version) + memo) > 0)
            ++written;
    }
    printf("%d seeds\n", written);
    return written > 0 ? 0 : 1;
}
