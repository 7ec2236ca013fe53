#include "DbfTable.h"

#include "CanonicalDate.h"
#include "CompanionFile.h"
#include "FieldNames.h"
#include "FieldTypeNames.h"
#include "LanguageDriver.h"
#include "ValueParser.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace
{

constexpr int headerBlock = 32;
constexpr int dBase7HeaderBlock = 68;
constexpr int dBase7FieldBlock = 48;
// dBase II: 8 bytes of facts, 32 field descriptors of 16 bytes, the end mark.
constexpr int dBase2HeaderSize = 8 + 32 * 16 + 1;
constexpr char deletedFlag = '*';
constexpr char liveFlag = ' ';
constexpr char endOfFile = 0x1A;

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

DbfMemo::Kind memoKind(uchar version, const QString &memoPath)
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

int jetTypeOf(char type, int decimals, bool visualFoxPro)
{
    switch (type) {
    case 'C':
    case 'V':
        return int(JetType::Text);
    case 'N':
    case 'F':
    case 'O':
        Q_UNUSED(decimals);
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

DbfTable::~DbfTable()
{
    rollbackWrite();
}

std::unique_ptr<DbfTable> DbfTable::open(const QString &path, const SourceOptions &options,
                                         QString *error)
{
    std::unique_ptr<DbfTable> table(new DbfTable);
    table->m_path = QFileInfo(path).absoluteFilePath();
    table->m_name = QFileInfo(path).fileName();
    table->m_backupSuffix = options.backupSuffix;
    if (!table->m_file.open(table->m_path, false, error))
        return nullptr;
    const bool fileWritable = QFileInfo(path).isWritable();
    if (!table->parse(options.codePage, error))
        return nullptr;

    const bool hasMemoField =
        std::any_of(table->m_columns.cbegin(), table->m_columns.cend(), [](const Column &c) {
            return c.type == 'M' || c.type == 'G' || c.type == 'W' || c.type == 'P' ||
                   (c.type == 'B' && c.length == 10);
        });
    if (hasMemoField) {
        QString memoPath = CompanionFile::find(path, QStringLiteral("fpt"));
        if (memoPath.isEmpty() || memoKind(table->m_version, QString()) != DbfMemo::Kind::FoxPro) {
            const QString dbt = CompanionFile::find(path, QStringLiteral("dbt"));
            if (!dbt.isEmpty())
                memoPath = dbt;
        }
        if (memoPath.isEmpty()) {
            table->m_readOnlyReason =
                QStringLiteral("%1 cannot be changed: its memo file is missing").arg(table->m_name);
        } else {
            table->m_memoPath = memoPath;
            table->m_memo = std::make_unique<DbfMemo>(memoKind(table->m_version, memoPath));
            QString memoError;
            if (!table->m_memo->open(memoPath, false, &memoError)) {
                table->m_memo.reset();
                table->m_readOnlyReason =
                    QStringLiteral("%1 cannot be changed: %2").arg(table->m_name, memoError);
            }
        }
    }
    if (!fileWritable ||
        (!table->m_memoPath.isEmpty() && !QFileInfo(table->m_memoPath).isWritable()))
        table->m_readOnlyReason = QStringLiteral("%1 is read-only").arg(table->m_name);
    if (table->m_dBase2)
        table->m_readOnlyReason =
            QStringLiteral("%1 is a dBase II table, which this program can read but not change")
                .arg(table->m_name);
    return table;
}

std::unique_ptr<DbfTable> DbfTable::fromBytes(const QByteArray &bytes, const QByteArray &memo,
                                              int codePage, QString *error)
{
    std::unique_ptr<DbfTable> table(new DbfTable);
    table->m_name = QStringLiteral("table.dbf");
    table->m_file.openBytes(bytes);
    if (!table->parse(codePage, error))
        return nullptr;
    if (!memo.isEmpty()) {
        table->m_memo = std::make_unique<DbfMemo>(memoKind(table->m_version, QString()));
        table->m_memo->openBytes(memo);
    }
    table->m_readOnlyReason = QStringLiteral("%1 is read-only").arg(table->m_name);
    return table;
}

bool DbfTable::isVisualFoxPro() const
{
    return m_version >= 0x30 && m_version <= 0x32;
}

bool DbfTable::isDBase7() const
{
    return (m_version & 0x07) == 0x04;
}

bool DbfTable::parse(int codePage, QString *error)
{
    const auto fail = [&](const QString &what) {
        if (error)
            *error = QStringLiteral("%1 is not a dBase table or is damaged: %2").arg(m_name, what);
        return false;
    };
    const uchar *data = m_file.data();
    const qint64 size = m_file.size();
    if (size < headerBlock + 1)
        return fail(QStringLiteral("the file is too short"));
    m_version = data[0];
    if (!knownVersion(m_version))
        return fail(
            QStringLiteral("unknown version byte 0x%1").arg(m_version, 2, 16, QLatin1Char('0')));
    // Where the header keeps its facts: dBase III and later, dBase 7 with longer field
    // descriptors, or dBase II (version 0x02 too), whose header is laid out differently.
    struct Layout {
        int fieldStart, fieldBlock, nameLength, type, length, decimals, flags;
    };
    static constexpr Layout dBase3{headerBlock, headerBlock, 11, 11, 16, 17, 18};
    static constexpr Layout dBase7{dBase7HeaderBlock, dBase7FieldBlock, 32, 32, 33, 34, -1};
    static constexpr Layout dBase2{8, 16, 11, 11, 12, 15, -1};
    quint32 recordCount = qFromLittleEndian<quint32>(data + 4);
    m_headerSize = qFromLittleEndian<quint16>(data + 8);
    m_recordLength = qFromLittleEndian<quint16>(data + 10);
    const Layout *layout = isDBase7() ? &dBase7 : &dBase3;
    const bool dBase3Fits = m_headerSize >= layout->fieldStart + 1 && m_headerSize <= size;
    if (m_version == 0x02 && !dBase3Fits && size >= dBase2HeaderSize) {
        m_dBase2 = true;
        layout = &dBase2;
        recordCount = qFromLittleEndian<quint16>(data + 1);
        m_headerSize = dBase2HeaderSize;
        m_recordLength = qFromLittleEndian<quint16>(data + 6);
    }
    if (m_headerSize < layout->fieldStart + 1 || m_headerSize > size)
        return fail(QStringLiteral("the header size %1 does not fit the file").arg(m_headerSize));
    if (m_recordLength < 1)
        return fail(QStringLiteral("the record length is 0"));
    const int fileCodePage = m_dBase2 ? 0 : LanguageDriver::codePage(data[29]);
    // The chosen page, else the file's, else Windows Latin.
    m_codePage = CodePage(codePage > 0 ? codePage : (fileCodePage > 0 ? fileCodePage : 1252));

    struct Descriptor {
        QByteArray name;
        char type;
        int length;
        int decimals;
        uchar flags;
    };
    QList<Descriptor> descriptors;
    for (int at = layout->fieldStart; at + layout->fieldBlock <= m_headerSize && data[at] != 0x0D;
         at += layout->fieldBlock) {
        const uchar *d = data + at;
        const char *name = reinterpret_cast<const char *>(d);
        Descriptor descriptor;
        descriptor.name = QByteArray(name, int(qstrnlen(name, uint(layout->nameLength)))).trimmed();
        descriptor.type = char(d[layout->type]);
        descriptor.length = d[layout->length];
        descriptor.decimals = d[layout->decimals];
        descriptor.flags = layout->flags >= 0 ? d[layout->flags] : 0;
        descriptors.append(descriptor);
    }
    if (descriptors.isEmpty())
        return fail(QStringLiteral("it has no fields"));

    const auto totalLength = [&](bool wideCharacter) {
        int total = 1;
        for (const Descriptor &d : descriptors)
            total += (wideCharacter && d.type == 'C') ? d.length + 256 * d.decimals : d.length;
        return total;
    };
    // Clipper and FoxPro keep character fields longer than 255 with the high byte in "decimals".
    const bool wideCharacter =
        totalLength(false) != m_recordLength && totalLength(true) == m_recordLength;
    if (totalLength(wideCharacter) > m_recordLength)
        return fail(QStringLiteral("its fields need %1 bytes but a record has %2")
                        .arg(totalLength(wideCharacter))
                        .arg(m_recordLength));

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
            m_nullFlagsOffset = column.offset;
            m_nullFlagsLength = column.length;
            continue;
        }
        // Bits of _NullFlags: one for each nullable field, then one for each varying-length
        // field telling that its last byte holds the length.
        if (isVisualFoxPro() && (d.flags & flagNullable))
            column.nullBit = nullBit++;
        if (isVisualFoxPro() && (column.type == 'V' || column.type == 'Q'))
            column.lengthBit = nullBit++;

        SourceField field;
        field.name = names.add(m_codePage.decode(d.name));
        field.nativeType = QString(QLatin1Char(column.type));
        field.typeCode = jetTypeOf(column.type, column.decimals, isVisualFoxPro());
        field.size = column.length;
        field.decimals = column.decimals;
        m_columns.append(column);
        m_fields.append(field);
    }
    if (m_fields.isEmpty())
        return fail(QStringLiteral("it has no fields"));
    if (m_nullFlagsOffset >= 0) {
        if (m_nullFlagsLength < (nullBit + 7) / 8) {
            for (Column &column : m_columns)
                column.nullBit = column.lengthBit = -1;
        }
    }
    const qint64 present = (size - m_headerSize) / m_recordLength;
    // A count beyond the data is a damaged header or a cut file: show what is there.
    m_slotCount = qMin<qint64>(recordCount, present);
    return true;
}

const uchar *DbfTable::record(qint64 slot) const
{
    return m_file.data() + m_headerSize + slot * m_recordLength;
}

bool DbfTable::isLive(qint64 slot) const
{
    return slot >= 0 && slot < m_slotCount && record(slot)[0] != deletedFlag;
}

QVariant DbfTable::value(qint64 slot, int columnIndex) const
{
    if (slot < 0 || slot >= m_slotCount || columnIndex < 0 || columnIndex >= m_columns.size())
        return {};
    const Column &column = m_columns.at(columnIndex);
    const uchar *rec = record(slot);
    if (flagSet(rec, column.nullBit))
        return {};
    const uchar *field = rec + column.offset;
    const int length = column.length;
    switch (column.type) {
    case 'C':
    case 'V': {
        const int end = textLength(rec, column);
        if (end == 0)
            return {};
        if (column.binary)
            return QByteArray(reinterpret_cast<const char *>(field), end);
        return m_codePage.decode(reinterpret_cast<const char *>(field), end);
    }
    case 'N':
    case 'F': {
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
    case 'D': {
        if (length < 8 || isBlank(field, length))
            return {};
        return dateFromDigits(field);
    }
    case 'L': {
        if (length < 1)
            return {};
        switch (field[0]) {
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
    case 'M':
    case 'G':
    case 'W':
    case 'P':
        return memoValue(column, field);
    case 'B':
        if (isVisualFoxPro() && length == 8) {
            double number;
            memcpy(&number, field, sizeof(number));
            return QVariant(qFromLittleEndian(number));
        }
        return memoValue(column, field);
    case 'I':
    case '+':
        if (length != 4)
            return {};
        if (isDBase7())
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
        const int end =
            flagSet(rec, column.lengthBit) ? qMin<int>(field[length - 1], length - 1) : length;
        return QByteArray(reinterpret_cast<const char *>(field), end);
    }
    default: {
        const QByteArray text = trimmedBytes(field, length);
        return text.isEmpty() ? QVariant() : QVariant(m_codePage.decode(text));
    }
    }
}

bool DbfTable::textUtf8(qint64 slot, int columnIndex, std::string *utf8, bool *isNull) const
{
    if (slot < 0 || slot >= m_slotCount || columnIndex < 0 || columnIndex >= m_columns.size())
        return false;
    const Column &column = m_columns.at(columnIndex);
    if ((column.type != 'C' && column.type != 'V') || column.binary)
        return false;
    const uchar *rec = record(slot);
    utf8->clear();
    const int end = flagSet(rec, column.nullBit) ? 0 : textLength(rec, column);
    *isNull = end == 0;
    if (!*isNull)
        m_codePage.appendUtf8(reinterpret_cast<const char *>(rec + column.offset), end, utf8);
    return true;
}

bool DbfTable::flagSet(const uchar *rec, int bit) const
{
    return bit >= 0 && m_nullFlagsOffset >= 0 &&
           ((rec[m_nullFlagsOffset + bit / 8] >> (bit % 8)) & 1);
}

int DbfTable::textLength(const uchar *rec, const Column &column) const
{
    const uchar *field = rec + column.offset;
    int end = column.length;
    // A varchar keeps its blanks: it fills its field, or its length is in the field's last byte.
    if (column.type == 'V')
        return flagSet(rec, column.lengthBit) && end > 0 ? qMin<int>(field[end - 1], end - 1) : end;
    while (end > 0 && (field[end - 1] == ' ' || field[end - 1] == 0))
        --end;
    return end;
}

QVariant DbfTable::memoValue(const Column &column, const uchar *field) const
{
    quint32 block = 0;
    if (column.length == 4) {
        block = qFromLittleEndian<quint32>(field);
    } else {
        bool ok = false;
        block = trimmedBytes(field, column.length).toUInt(&ok);
        if (!ok)
            return {};
    }
    if (block == 0 || !m_memo)
        return {};
    const QByteArray bytes = m_memo->read(block);
    if (column.type != 'M' || column.binary)
        return bytes.isEmpty() ? QVariant() : QVariant(bytes);
    return m_codePage.decode(bytes);
}

bool DbfTable::startChanges(QString *error)
{
    if (!m_readOnlyReason.isEmpty()) {
        if (error)
            *error = m_readOnlyReason;
        return false;
    }
    if (m_tableChange && m_tableChange->isActive())
        return true;
    const auto backup = [this](const QString &path) {
        return m_backupSuffix.isEmpty() ? QString() : path + m_backupSuffix;
    };
    if (!m_tableChange)
        m_tableChange = std::make_unique<FileTransaction>(m_path, backup(m_path));
    if (m_memo && !m_memoChange)
        m_memoChange = std::make_unique<FileTransaction>(m_memoPath, backup(m_memoPath));
    if (!m_tableChange->begin(error) || (m_memoChange && !m_memoChange->begin(error))) {
        rollbackWrite();
        return false;
    }
    if (!m_file.open(m_tableChange->workingPath(), true, error) ||
        (m_memo && !m_memo->open(m_memoChange->workingPath(), true, error))) {
        rollbackWrite();
        return false;
    }
    return true;
}

bool DbfTable::beginWrite(QString *)
{
    // The working copy is made by the first change, so a transaction that changes nothing
    // costs nothing.
    return true;
}

bool DbfTable::encode(int columnIndex, const QVariant &value, QByteArray *recordBytes,
                      QString *error)
{
    const Column &column = m_columns.at(columnIndex);
    const QString &fieldName = m_fields.at(columnIndex).name;
    char *field = recordBytes->data() + column.offset;
    const int length = column.length;
    const bool isNull = value.isNull() ||
                        (value.metaType().id() == QMetaType::QString && value.toString().isEmpty());
    const auto refuse = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("The field %1 of %2 cannot hold %3: %4")
                         .arg(fieldName, m_name, value.toString().left(40), why);
        return false;
    };
    const auto put = [&](const QByteArray &bytes, char pad, bool rightAlign) {
        memset(field, pad, size_t(length));
        const int used = int(qMin<qsizetype>(bytes.size(), length));
        memcpy(field + (rightAlign ? length - used : 0), bytes.constData(), size_t(used));
    };
    if (column.nullBit >= 0 && m_nullFlagsOffset >= 0) {
        char &flags = (*recordBytes)[m_nullFlagsOffset + column.nullBit / 8];
        const char bit = char(1 << (column.nullBit % 8));
        flags = char(value.isNull() ? (flags | bit) : (flags & ~bit));
    }
    switch (column.type) {
    case 'C': {
        QByteArray bytes =
            column.binary ? value.toByteArray() : m_codePage.encode(value.toString());
        if (bytes.size() > length)
            return refuse(QStringLiteral("it is longer than %1 bytes").arg(length));
        put(bytes, ' ', false);
        return true;
    }
    case 'N':
    case 'F': {
        if (isNull) {
            put({}, ' ', true);
            return true;
        }
        bool ok = false;
        const double number = value.metaType().id() == QMetaType::QString
                                  ? value.toString().trimmed().toDouble(&ok)
                                  : value.toDouble(&ok);
        if (!ok || !std::isfinite(number))
            return refuse(QStringLiteral("it is not a number"));
        const QByteArray text =
            (column.decimals == 0 && value.metaType().id() == QMetaType::LongLong)
                ? QByteArray::number(value.toLongLong())
                : QByteArray::number(number, 'f', column.decimals);
        if (text.size() > length)
            return refuse(QStringLiteral("it needs more than %1 digits").arg(length));
        put(text, ' ', true);
        return true;
    }
    case 'D': {
        if (isNull) {
            put({}, ' ', false);
            return true;
        }
        bool ok = false;
        const ValueParser::DateTime date = ValueParser::dateTime(value, &ok);
        if (!ok)
            return refuse(QStringLiteral("it is not a date"));
        put(QByteArray::number(date.date.year() * 10000 + date.date.month() * 100 + date.date.day())
                .rightJustified(8, '0'),
            ' ', false);
        return true;
    }
    case 'L': {
        if (value.isNull()) {
            put("?", ' ', false);
            return true;
        }
        bool ok = false;
        const bool truth = ValueParser::truth(value, &ok);
        if (!ok)
            return refuse(QStringLiteral("it is not Yes or No"));
        put(truth ? "T" : "F", ' ', false);
        return true;
    }
    case 'M': {
        quint32 block = 0;
        if (!isNull) {
            const QByteArray bytes =
                column.binary ? value.toByteArray() : m_codePage.encode(value.toString());
            if (!m_memo)
                return refuse(QStringLiteral("the memo file is missing"));
            if (!m_memo->append(bytes, column.binary, &block, error))
                return false;
        }
        if (length == 4) {
            qToLittleEndian<quint32>(block, field);
        } else {
            put(block ? QByteArray::number(block) : QByteArray(), ' ', true);
        }
        return true;
    }
    case 'I':
    case 'Y':
    case 'B':
    case 'T':
        if (isVisualFoxPro() && length == (column.type == 'I' ? 4 : 8)) {
            if (column.type == 'T') {
                bool ok = true;
                const ValueParser::DateTime date =
                    isNull ? ValueParser::DateTime() : ValueParser::dateTime(value, &ok);
                if (!ok)
                    return refuse(QStringLiteral("it is not a date"));
                qToLittleEndian<qint32>(isNull ? 0 : qint32(date.date.toJulianDay()), field);
                qToLittleEndian<qint32>(isNull ? 0 : date.milliseconds, field + 4);
                return true;
            }
            bool ok = isNull;
            const double number = isNull ? 0 : value.toDouble(&ok);
            if (!ok)
                return refuse(QStringLiteral("it is not a number"));
            if (column.type == 'I')
                qToLittleEndian<qint32>(qint32(number), field);
            else if (column.type == 'Y')
                qToLittleEndian<qint64>(qint64(std::llround(number * 10000.0)), field);
            else
                qToLittleEndian<double>(number, field);
            return true;
        }
        break;
    default:
        break;
    }
    return refuse(
        QStringLiteral("fields of type %1 cannot be written").arg(QLatin1Char(column.type)));
}

bool DbfTable::insertRow(const QMap<int, QVariant> &values, qint64 *slot, QString *error)
{
    if (!startChanges(error))
        return false;
    QByteArray bytes(m_recordLength, ' ');
    if (m_nullFlagsOffset >= 0)
        memset(bytes.data() + m_nullFlagsOffset, 0, size_t(m_nullFlagsLength));
    bytes[0] = liveFlag;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!encode(i, values.value(i), &bytes, error))
            return false;
    }
    const qint64 offset = m_headerSize + m_slotCount * qint64(m_recordLength);
    if (!m_file.write(offset, bytes + QByteArray(1, endOfFile), error))
        return false;
    *slot = m_slotCount++;
    return true;
}

bool DbfTable::updateRow(qint64 slot, const QMap<int, QVariant> &changes, QString *error)
{
    if (slot < 0 || slot >= m_slotCount) {
        if (error)
            *error = QStringLiteral("%1 has no record %2").arg(m_name).arg(slot + 1);
        return false;
    }
    if (!startChanges(error))
        return false;
    QByteArray bytes(reinterpret_cast<const char *>(record(slot)), m_recordLength);
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        if (it.key() < 0 || it.key() >= m_columns.size() ||
            !encode(it.key(), it.value(), &bytes, error))
            return false;
    }
    return m_file.write(m_headerSize + slot * qint64(m_recordLength), bytes, error);
}

bool DbfTable::deleteRow(qint64 slot, QString *error)
{
    if (slot < 0 || slot >= m_slotCount) {
        if (error)
            *error = QStringLiteral("%1 has no record %2").arg(m_name).arg(slot + 1);
        return false;
    }
    if (!startChanges(error))
        return false;
    return m_file.write(m_headerSize + slot * qint64(m_recordLength), QByteArray(1, deletedFlag),
                        error);
}

bool DbfTable::commitWrite(QString *error)
{
    if (!m_tableChange || !m_tableChange->isActive())
        return true;
    const QDate today = QDate::currentDate();
    QByteArray header(7, '\0');
    header[0] = char(today.year() - 1900);
    header[1] = char(today.month());
    header[2] = char(today.day());
    qToLittleEndian<quint32>(quint32(m_slotCount), header.data() + 3);
    const qint64 dataEnd = m_headerSize + m_slotCount * qint64(m_recordLength);
    bool ok = m_file.write(1, header, error);
    if (ok && (m_file.size() <= dataEnd || m_file.data()[dataEnd] != endOfFile))
        ok = m_file.write(dataEnd, QByteArray(1, endOfFile), error);
    ok = ok && m_file.sync(error) && (!m_memo || m_memo->file().sync(error));
    // The memo goes first: until the table is replaced, the old table only sees old blocks.
    ok = ok && (!m_memoChange || m_memoChange->commit(error)) && m_tableChange->commit(error);
    if (!ok) {
        rollbackWrite();
        return false;
    }
    return reopen(error);
}

void DbfTable::rollbackWrite()
{
    const bool active =
        (m_tableChange && m_tableChange->isActive()) || (m_memoChange && m_memoChange->isActive());
    if (!active)
        return;
    m_file.close();
    if (m_memo)
        m_memo->close();
    if (m_tableChange)
        m_tableChange->rollback();
    if (m_memoChange)
        m_memoChange->rollback();
    reopen(nullptr);
}

bool DbfTable::reopen(QString *error)
{
    QString message;
    bool ok = m_file.open(m_path, false, &message) &&
              (!m_memo || m_memo->open(m_memoPath, false, &message));
    if (ok) {
        const quint32 recordCount = qFromLittleEndian<quint32>(m_file.data() + 4);
        m_slotCount = qMin<qint64>(recordCount, (m_file.size() - m_headerSize) / m_recordLength);
    } else {
        m_slotCount = 0;
        m_readOnlyReason = message;
        if (error)
            *error = message;
    }
    return ok;
}

bool DbfTable::create(const QString &path, const QList<FieldSpec> &fields, unsigned char version,
                      int codePage, QString *error)
{
    const bool dBase7 = (version & 0x07) == 0x04;
    const bool visualFoxPro = version >= 0x30 && version <= 0x32;
    const int fieldBlock = dBase7 ? dBase7FieldBlock : headerBlock;
    const int fieldStart = dBase7 ? dBase7HeaderBlock : headerBlock;
    int headerSize = fieldStart + fieldBlock * int(fields.size()) + 1 + (visualFoxPro ? 263 : 0);
    int recordLength = 1;
    bool hasMemo = false;
    for (const FieldSpec &spec : fields) {
        recordLength += spec.length;
        hasMemo = hasMemo || spec.type == 'M';
    }
    if (fields.isEmpty() || headerSize > 0xFFFF || recordLength > 0xFFFF) {
        if (error)
            *error = QStringLiteral("%1: a table needs between 1 and about 2000 fields").arg(path);
        return false;
    }
    QByteArray header(headerSize, '\0');
    const QDate today = QDate::currentDate();
    header[0] = char(version);
    header[1] = char(today.year() - 1900);
    header[2] = char(today.month());
    header[3] = char(today.day());
    qToLittleEndian<quint16>(quint16(headerSize), header.data() + 8);
    qToLittleEndian<quint16>(quint16(recordLength), header.data() + 10);
    header[29] = char(LanguageDriver::id(codePage));
    int at = fieldStart;
    int offset = 1;
    for (const FieldSpec &spec : fields) {
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
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(header + QByteArray(1, endOfFile)) < 0) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    file.close();
    if (hasMemo) {
        const DbfMemo::Kind kind = memoKind(version, QString());
        const QFileInfo info(path);
        const QString memoPath =
            info.absolutePath() + QLatin1Char('/') + info.completeBaseName() +
            (kind == DbfMemo::Kind::FoxPro ? QLatin1String(".fpt") : QLatin1String(".dbt"));
        QFile memo(memoPath);
        if (!memo.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            memo.write(DbfMemo::emptyFile(kind)) < 0) {
            if (error)
                *error = QStringLiteral("Cannot write %1: %2").arg(memoPath, memo.errorString());
            return false;
        }
    }
    return true;
}
