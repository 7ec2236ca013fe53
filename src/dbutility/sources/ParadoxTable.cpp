#include "ParadoxTable.h"

#include "CanonicalDate.h"
#include "CodePage.h"
#include "FieldNames.h"
#include "FieldTypeNames.h"
#include "MemoryTable.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

extern "C" {
#include <paradox.h>
}

namespace
{

// pxlib counts dates in days from 1 Jan of year 1; this turns them into Julian day numbers.
constexpr long pxDayOffset = 1721425;

void recordError(pxdoc_t *, int, const char *message, void *data)
{
    auto *error = static_cast<QString *>(data);
    if (error && error->isEmpty())
        *error = QString::fromUtf8(message).trimmed();
}

struct PxDeleter {
    void operator()(pxdoc_t *doc) const
    {
        PX_close(doc);
        PX_delete(doc);
    }
};
using PxDoc = std::unique_ptr<pxdoc_t, PxDeleter>;

QString companionOf(const QString &path, const QString &extension)
{
    const QFileInfo info(path);
    const QString wanted = info.completeBaseName() + QLatin1Char('.') + extension;
    const QStringList entries = info.absoluteDir().entryList(QDir::Files);
    for (const QString &entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return info.absolutePath() + QLatin1Char('/') + entry;
    }
    return {};
}

// One field of a raw record, decoded by pxlib's field routines (which know Paradox's byte
// orders and sign flips); blobs are decoded by blobValue() instead.
QVariant valueOf(pxdoc_t *doc, char *data, const pxfield_t &field, const CodePage &codePage)
{
    const int length = field.px_flen;
    // Paradox writes an empty field as zero bytes, whatever its type.
    if (std::all_of(data, data + length, [](char byte) { return byte == 0; }))
        return {};
    switch (field.px_ftype) {
    case pxfAlpha: {
        char *text = nullptr;
        if (PX_get_data_alpha(doc, data, length, &text) <= 0 || !text)
            return {};
        const QString value = codePage.decode(text, qsizetype(qstrnlen(text, uint(length))));
        doc->free(doc, text);
        return value.isEmpty() ? QVariant() : QVariant(value);
    }
    case pxfBytes: {
        char *bytes = nullptr;
        if (PX_get_data_bytes(doc, data, length, &bytes) <= 0 || !bytes)
            return {};
        const QByteArray value(bytes, length);
        doc->free(doc, bytes);
        return value;
    }
    case pxfBCD: {
        char *text = nullptr;
        if (PX_get_data_bcd(doc, reinterpret_cast<unsigned char *>(data), field.px_fdc, &text) <=
                0 ||
            !text)
            return {};
        bool ok = false;
        const double value = QByteArray(text).toDouble(&ok);
        doc->free(doc, text);
        return ok ? QVariant(value) : QVariant();
    }
    case pxfDate: {
        long days = 0;
        if (PX_get_data_long(doc, data, length, &days) <= 0)
            return {};
        const QString text = CanonicalDate::fromJulianDay(days + pxDayOffset);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case pxfTime: {
        long ms = 0;
        if (PX_get_data_long(doc, data, length, &ms) <= 0 || ms < 0 || ms >= 86400000)
            return {};
        return QTime::fromMSecsSinceStartOfDay(int(ms)).toString(QStringLiteral("HH:mm:ss"));
    }
    case pxfTimestamp: {
        double ms = 0;
        if (PX_get_data_double(doc, data, length, &ms) <= 0 || !(ms >= 0 && ms < 1e15))
            return {};
        const qint64 whole = qint64(ms);
        const QString text =
            CanonicalDate::fromJulianDay(whole / 86400000 + pxDayOffset, whole % 86400000);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case pxfCurrency:
    case pxfNumber: {
        double value = 0;
        if (PX_get_data_double(doc, data, length, &value) <= 0)
            return {};
        return value;
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
    case pxfLong:
    case pxfAutoInc: {
        long value = 0;
        if (PX_get_data_long(doc, data, length, &value) <= 0)
            return {};
        return QVariant(qint64(value));
    }
    default:
        return {};
    }
}

bool isBlob(int type)
{
    return type == pxfMemoBLOb || type == pxfFmtMemoBLOb || type == pxfBLOb || type == pxfOLE ||
           type == pxfGraphic;
}

// A BLOB field ends in a 10-byte pointer into the .mb file (offset, length, modification
// number); a value short enough lives in the field's leading bytes instead. Damaged pointers
// give an empty value. Null when the field is empty.
QByteArray blobValue(const char *field, int length, const QByteArray &blobFile)
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
    const qint64 fileSize = blobFile.size();
    if (block + 12 > fileSize)
        return QByteArray("");
    const uchar *base = reinterpret_cast<const uchar *>(blobFile.constData());
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
    return QByteArray(blobFile.constData() + start, qsizetype(size));
}

// Paradox 4 and later keep the table's DOS code page in the header at 0x6A.
int headerCodePage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(0x80);
    if (header.size() < 0x6C || uchar(header.at(0x39)) < 5)
        return 0;
    return uchar(header.at(0x6A)) | (uchar(header.at(0x6B)) << 8);
}

} // namespace

int ParadoxTable::jetType(int pxType)
{
    switch (pxType) {
    case pxfAlpha:
        return int(JetType::Text);
    case pxfDate:
    case pxfTime:
    case pxfTimestamp:
        return int(JetType::Date);
    case pxfShort:
        return int(JetType::Integer);
    case pxfLong:
    case pxfAutoInc:
        return int(JetType::Long);
    case pxfCurrency:
        return int(JetType::Currency);
    case pxfNumber:
    case pxfBCD:
        return int(JetType::Double);
    case pxfLogical:
        return int(JetType::Boolean);
    case pxfMemoBLOb:
    case pxfFmtMemoBLOb:
        return int(JetType::Memo);
    case pxfBLOb:
    case pxfOLE:
    case pxfGraphic:
        return int(JetType::LongBinary);
    case pxfBytes:
        return int(JetType::Binary);
    default:
        return 0;
    }
}

QString ParadoxTable::typeLetter(int pxType)
{
    switch (pxType) {
    case pxfAlpha:
        return QStringLiteral("A");
    case pxfDate:
        return QStringLiteral("D");
    case pxfShort:
        return QStringLiteral("S");
    case pxfLong:
        return QStringLiteral("I");
    case pxfCurrency:
        return QStringLiteral("$");
    case pxfNumber:
        return QStringLiteral("N");
    case pxfLogical:
        return QStringLiteral("L");
    case pxfMemoBLOb:
        return QStringLiteral("M");
    case pxfBLOb:
        return QStringLiteral("B");
    case pxfFmtMemoBLOb:
        return QStringLiteral("F");
    case pxfOLE:
        return QStringLiteral("O");
    case pxfGraphic:
        return QStringLiteral("G");
    case pxfTime:
        return QStringLiteral("T");
    case pxfTimestamp:
        return QStringLiteral("@");
    case pxfAutoInc:
        return QStringLiteral("+");
    case pxfBCD:
        return QStringLiteral("#");
    case pxfBytes:
        return QStringLiteral("Y");
    default:
        return QStringLiteral("?");
    }
}

std::unique_ptr<SourceTable> ParadoxTable::open(const QString &path, const SourceOptions &options,
                                                QString *error)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const auto fail = [&](const QString &what) -> std::unique_ptr<SourceTable> {
        if (error)
            *error = QStringLiteral("%1 is not a Paradox table or is damaged: %2").arg(name, what);
        return nullptr;
    };
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return fail(probe.errorString());
    const QByteArray head = probe.read(0x58);
    probe.close();
    // Record size, header size and file type must be sane before pxlib is given the file.
    if (head.size() < 0x58)
        return fail(QStringLiteral("the file is too short"));
    const int headerSize = uchar(head.at(2)) | (uchar(head.at(3)) << 8);
    const int fileType = uchar(head.at(4));
    const int blockSizeCode = uchar(head.at(5));
    if (headerSize < 0x58 || headerSize > info.size() || (fileType != 0 && fileType != 2) ||
        blockSizeCode < 1 || blockSizeCode > 32)
        return fail(QStringLiteral("the header does not describe a table"));

    auto messages = std::make_shared<QString>();
    PxDoc doc(PX_new3(recordError, nullptr, nullptr, nullptr, messages.get()));
    if (!doc)
        return fail(QStringLiteral("out of memory"));
    if (PX_open_file(doc.get(), QFile::encodeName(path).constData()) < 0)
        return fail(messages->isEmpty() ? QStringLiteral("pxlib cannot read it") : *messages);
    // pxlib's own BLOB reader overruns its stack on real .mb files; the blobs are read here.
    QByteArray blobFile;
    const QString blobPath = companionOf(path, QStringLiteral("mb"));
    if (!blobPath.isEmpty()) {
        QFile blob(blobPath);
        if (blob.open(QIODevice::ReadOnly))
            blobFile = blob.readAll();
    }
    messages->clear();

    const int fieldCount = PX_get_num_fields(doc.get());
    pxfield_t *pxFields = PX_get_fields(doc.get());
    if (fieldCount <= 0 || !pxFields)
        return fail(QStringLiteral("it has no fields"));
    const int fileCodePage = headerCodePage(path);
    const CodePage codePage(options.codePage > 0 ? options.codePage
                                                 : (fileCodePage > 0 ? fileCodePage : 1252));
    QList<SourceField> fields;
    FieldNames names(QStringLiteral("Field"));
    QList<int> types;
    QList<int> offsets;
    int recordSize = 0;
    for (int i = 0; i < fieldCount; ++i) {
        SourceField field;
        field.name = names.add(codePage.decode(
            pxFields[i].px_fname ? QByteArray(pxFields[i].px_fname) : QByteArray()));
        field.nativeType = typeLetter(pxFields[i].px_ftype);
        field.typeCode = jetType(pxFields[i].px_ftype);
        field.size = pxFields[i].px_flen;
        field.decimals = pxFields[i].px_fdc;
        fields.append(field);
        types.append(pxFields[i].px_ftype);
        offsets.append(recordSize);
        recordSize += pxFields[i].px_flen;
    }
    const int recordCount = PX_get_num_records(doc.get());
    std::shared_ptr<pxdoc_t> shared(doc.release(), PxDeleter());
    const int pxRecordSize = PX_get_recordsize(shared.get());
    if (pxRecordSize < recordSize)
        return fail(QStringLiteral("its fields do not fit its records"));
    MemoryTable::Loader loader = [=](MemoryTable::Rows *rows, QString *loadError) {
        QByteArray raw(pxRecordSize, '\0');
        for (int r = 0; r < recordCount; ++r) {
            if (!PX_get_record(shared.get(), r, raw.data())) {
                *loadError = QStringLiteral("%1 is damaged: record %2 cannot be read (%3)")
                                 .arg(name)
                                 .arg(r + 1)
                                 .arg(*messages);
                return false;
            }
            QVariantList row;
            for (qsizetype f = 0; f < types.size(); ++f) {
                const int type = types.at(f);
                char *field = raw.data() + offsets.at(f);
                if (!isBlob(type)) {
                    row.append(valueOf(shared.get(), field, pxFields[f], codePage));
                    continue;
                }
                const QByteArray data = blobValue(field, fields.at(f).size, blobFile);
                if (data.isNull())
                    row.append(QVariant());
                else if (type == pxfMemoBLOb || type == pxfFmtMemoBLOb)
                    row.append(codePage.decode(data));
                else
                    row.append(data);
            }
            rows->append(row);
        }
        return true;
    };
    // Read now so that damage shows when the table opens, not in the middle of a query.
    auto table = std::make_unique<MemoryTable>(
        name, TypePath::InstallableDriver, fields, loader,
        QStringLiteral("%1 is a Paradox table, which this program can read but not change")
            .arg(name));
    const QString loadError = table->loadError();
    if (!loadError.isEmpty()) {
        if (error)
            *error = loadError;
        return nullptr;
    }
    return table;
}
