#include "ParadoxTable.h"

#include "CanonicalDate.h"
#include "CodePage.h"
#include "CompanionFile.h"
#include "FieldNames.h"
#include "FieldTypeNames.h"
#include "MappedFile.h"
#include "ValueParser.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cmath>

#include <cstdio>

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

void freeRecord(pxdoc_t *doc, pxval_t **record, int fields)
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

// Sets a pxlib value from a value SQL gives; false with the reason when it does not fit.
bool putValue(pxdoc_t *doc, pxval_t *target, int type, int size, const QVariant &value,
              const CodePage &codePage, QString *why)
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
    bool ok = true;
    switch (type) {
    case pxfAlpha: {
        const QByteArray bytes = codePage.encode(value.toString());
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
    case pxfDate:
    case pxfTime:
    case pxfTimestamp: {
        ValueParser::DateTime date;
        if (type == pxfTime) {
            // A time alone: "HH:mm[:ss]" on any day.
            date = ValueParser::dateTime(QStringLiteral("2000-01-01 ") + value.toString(), &ok);
        } else {
            date = ValueParser::dateTime(value, &ok);
        }
        if (!ok) {
            *why = QStringLiteral("it is not a date or time");
            return false;
        }
        const qint64 days = date.date.toJulianDay() - pxDayOffset;
        if (type == pxfDate)
            target->value.lval = long(days);
        else if (type == pxfTime)
            target->value.lval = date.milliseconds;
        else
            target->value.dval = double(days) * 86400000.0 + date.milliseconds;
        return true;
    }
    case pxfLogical: {
        const bool truth = ValueParser::truth(value, &ok);
        if (!ok) {
            *why = QStringLiteral("it is not Yes or No");
            return false;
        }
        target->value.lval = truth ? 1 : 0;
        return true;
    }
    case pxfShort:
    case pxfLong:
    case pxfAutoInc: {
        const double number = value.toString().trimmed().toDouble(&ok);
        const double limit = type == pxfShort ? 32767 : 2147483647;
        if (!ok || number != std::floor(number) || number > limit || number < -limit) {
            *why = QStringLiteral("it is not a whole number the field can hold");
            return false;
        }
        target->value.lval = long(number);
        return true;
    }
    case pxfCurrency:
    case pxfNumber: {
        const double number = value.toString().trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(number)) {
            *why = QStringLiteral("it is not a number");
            return false;
        }
        target->value.dval = number;
        return true;
    }
    default:
        *why = QStringLiteral("fields of type %1 cannot be written")
                   .arg(ParadoxTable::typeLetter(type));
        return false;
    }
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

struct ParadoxTable::Document {
    std::unique_ptr<QString> messages = std::make_unique<QString>();
    PxDoc doc;
    FILE *file = nullptr;

    ~Document()
    {
        doc.reset();
        if (file)
            fclose(file);
    }

    // Opens a table for reading, or through a FILE opened for update when writable.
    bool open(const QString &path, bool writable, QString *error)
    {
        doc.reset(PX_new3(recordError, nullptr, nullptr, nullptr, messages.get()));
        if (!doc) {
            *error = QStringLiteral("out of memory");
            return false;
        }
        int rc = -1;
        if (writable) {
            file = fopen(QFile::encodeName(path).constData(), "r+b");
            rc = file ? PX_open_fp(doc.get(), file) : -1;
        } else {
            rc = PX_open_file(doc.get(), QFile::encodeName(path).constData());
        }
        if (rc < 0) {
            *error = messages->isEmpty() ? QStringLiteral("pxlib cannot read it") : *messages;
            return false;
        }
        messages->clear();
        return true;
    }
};

ParadoxTable::~ParadoxTable()
{
    rollbackWrite();
}

std::unique_ptr<ParadoxTable> ParadoxTable::open(const QString &path, const SourceOptions &options,
                                                 QString *error)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const auto fail = [&](const QString &what) -> std::unique_ptr<ParadoxTable> {
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

    std::unique_ptr<ParadoxTable> table(new ParadoxTable);
    table->m_path = info.absoluteFilePath();
    table->m_name = name;
    table->m_backupSuffix = options.backupSuffix;
    Document document;
    QString message;
    if (!document.open(path, false, &message))
        return fail(message);
    // pxlib's own BLOB reader overruns its stack on real .mb files; the blobs are read here.
    const QString blobPath = CompanionFile::find(path, QStringLiteral("mb"));
    if (!blobPath.isEmpty()) {
        QFile blob(blobPath);
        if (blob.open(QIODevice::ReadOnly))
            table->m_blobFile = blob.readAll();
    }
    const int fieldCount = PX_get_num_fields(document.doc.get());
    pxfield_t *pxFields = PX_get_fields(document.doc.get());
    if (fieldCount <= 0 || !pxFields)
        return fail(QStringLiteral("it has no fields"));
    const int fileCodePage = headerCodePage(path);
    table->m_codePage = CodePage(options.codePage > 0 ? options.codePage
                                                      : (fileCodePage > 0 ? fileCodePage : 1252));
    FieldNames names(QStringLiteral("Field"));
    int recordSize = 0;
    QString unwritable;
    for (int i = 0; i < fieldCount; ++i) {
        SourceField field;
        field.name = names.add(table->m_codePage.decode(
            pxFields[i].px_fname ? QByteArray(pxFields[i].px_fname) : QByteArray()));
        field.nativeType = typeLetter(pxFields[i].px_ftype);
        field.typeCode = jetType(pxFields[i].px_ftype);
        field.size = pxFields[i].px_flen;
        field.decimals = pxFields[i].px_fdc;
        table->m_fields.append(field);
        table->m_types.append(pxFields[i].px_ftype);
        table->m_offsets.append(recordSize);
        recordSize += pxFields[i].px_flen;
        if (isBlob(pxFields[i].px_ftype) || pxFields[i].px_ftype == pxfBCD ||
            pxFields[i].px_ftype == pxfBytes)
            unwritable = field.name;
    }
    if (PX_get_recordsize(document.doc.get()) < recordSize)
        return fail(QStringLiteral("its fields do not fit its records"));
    table->m_keyFields = qBound(0, document.doc->px_head->px_primarykeyfields, fieldCount);
    if (!table->load(path, error))
        return nullptr;

    if (!info.isWritable())
        table->m_readOnlyReason = QStringLiteral("%1 is read-only").arg(name);
    else if (!unwritable.isEmpty())
        table->m_readOnlyReason =
            QStringLiteral("%1 cannot be changed here: pxlib cannot write its field %2 safely")
                .arg(name, unwritable);
    if (table->m_keyFields > 0)
        table->m_fixedRecordsReason =
            QStringLiteral(
                "Records cannot be added to or deleted from %1 here: pxlib does not keep "
                "its primary index up to date")
                .arg(name);
    return table;
}

bool ParadoxTable::load(const QString &path, QString *error)
{
    Document document;
    QString message;
    if (!document.open(path, false, &message)) {
        if (error)
            *error =
                QStringLiteral("%1 is not a Paradox table or is damaged: %2").arg(m_name, message);
        return false;
    }
    return load(document, error);
}

// Reads every record of an open table (the file, or the working copy with pxlib's unwritten
// blocks) into memory.
bool ParadoxTable::load(const Document &document, QString *error)
{
    pxdoc_t *doc = document.doc.get();
    pxfield_t *pxFields = PX_get_fields(doc);
    const int recordCount = PX_get_num_records(doc);
    QByteArray raw(PX_get_recordsize(doc), '\0');
    QList<QVariantList> rows;
    for (int r = 0; r < recordCount; ++r) {
        if (!PX_get_record(doc, r, raw.data())) {
            if (error)
                *error = QStringLiteral("%1 is damaged: record %2 cannot be read (%3)")
                             .arg(m_name)
                             .arg(r + 1)
                             .arg(*document.messages);
            return false;
        }
        QVariantList row;
        for (qsizetype f = 0; f < m_types.size(); ++f) {
            const int type = m_types.at(f);
            char *field = raw.data() + m_offsets.at(f);
            if (!isBlob(type)) {
                row.append(valueOf(doc, field, pxFields[f], m_codePage));
                continue;
            }
            const QByteArray data = blobValue(field, m_fields.at(f).size, m_blobFile);
            if (data.isNull())
                row.append(QVariant());
            else if (type == pxfMemoBLOb || type == pxfFmtMemoBLOb)
                row.append(m_codePage.decode(data));
            else
                row.append(data);
        }
        rows.append(row);
    }
    m_rows = rows;
    return true;
}

QVariant ParadoxTable::value(qint64 slot, int column) const
{
    if (!hasCell(slot, column))
        return {};
    return m_rows.at(slot).value(column);
}

bool ParadoxTable::startChanges(QString *error)
{
    if (!m_readOnlyReason.isEmpty())
        return refuseWrite(error);
    if (m_working)
        return true;
    if (!m_change)
        m_change = std::make_unique<FileTransaction>(
            m_path, m_backupSuffix.isEmpty() ? QString() : m_path + m_backupSuffix);
    if (!m_change->begin(error))
        return false;
    m_working = std::make_unique<Document>();
    QString message;
    if (!m_working->open(m_change->workingPath(), true, &message)) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(m_name, message);
        rollbackWrite();
        return false;
    }
    return true;
}

// Writes one record through pxlib: the changed fields over the record's current values, or a
// new record made of the given values.
bool ParadoxTable::changeRecord(qint64 slot, const QMap<int, QVariant> &values, bool insert,
                                QString *error)
{
    pxdoc_t *doc = m_working->doc.get();
    const int fieldCount = int(m_fields.size());
    pxval_t **record = nullptr;
    if (insert) {
        record = static_cast<pxval_t **>(
            doc->malloc(doc, sizeof(pxval_t *) * size_t(fieldCount), "record"));
        for (int f = 0; f < fieldCount; ++f) {
            MAKE_PXVAL(doc, record[f]);
            record[f]->type = m_types.at(f);
            record[f]->isnull = 1;
        }
    } else {
        record = PX_retrieve_record(doc, int(slot));
    }
    if (!record) {
        if (error)
            *error = QStringLiteral("%1: record %2 cannot be read").arg(m_name).arg(slot + 1);
        return false;
    }
    const auto release = [&] { freeRecord(doc, record, fieldCount); };
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const int f = it.key();
        if (!hasColumn(f))
            continue;
        QString why;
        if (!putValue(doc, record[f], m_types.at(f), m_fields.at(f).size, it.value(), m_codePage,
                      &why)) {
            if (error)
                *error = QStringLiteral("The field %1 of %2 cannot hold %3: %4")
                             .arg(m_fields.at(f).name, m_name, it.value().toString().left(40), why);
            release();
            return false;
        }
    }
    const int rc =
        insert ? PX_insert_record(doc, record) : PX_update_record(doc, record, int(slot));
    release();
    if (rc < 0) {
        if (error)
            *error =
                QStringLiteral("pxlib could not write %1: %2").arg(m_name, *m_working->messages);
        return false;
    }
    return true;
}

bool ParadoxTable::updateRow(qint64 slot, const QMap<int, QVariant> &changes, QString *error)
{
    if (!m_readOnlyReason.isEmpty())
        return refuseWrite(error);
    if (!checkSlot(slot, error))
        return false;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        if (it.key() < m_keyFields) {
            if (error)
                *error = QStringLiteral("The key field %1 of %2 cannot be changed here: pxlib does "
                                        "not keep the primary index up to date")
                             .arg(m_fields.at(it.key()).name, m_name);
            return false;
        }
    }
    if (!startChanges(error) || !changeRecord(slot, changes, false, error))
        return false;
    return load(*m_working, error);
}

bool ParadoxTable::insertRow(const QMap<int, QVariant> &values, qint64 *slot, QString *error)
{
    if (!m_readOnlyReason.isEmpty())
        return refuseWrite(error);
    if (!m_fixedRecordsReason.isEmpty()) {
        if (error)
            *error = m_fixedRecordsReason;
        return false;
    }
    if (!startChanges(error) || !changeRecord(-1, values, true, error) || !load(*m_working, error))
        return false;
    *slot = m_rows.size() - 1;
    return true;
}

bool ParadoxTable::deleteRow(qint64 slot, QString *error)
{
    if (!m_readOnlyReason.isEmpty())
        return refuseWrite(error);
    if (!m_fixedRecordsReason.isEmpty()) {
        if (error)
            *error = m_fixedRecordsReason;
        return false;
    }
    if (!checkSlot(slot, error))
        return false;
    if (!startChanges(error))
        return false;
    if (PX_delete_record(m_working->doc.get(), int(slot)) < 0) {
        if (error)
            *error =
                QStringLiteral("pxlib could not delete record %1 of %2").arg(slot + 1).arg(m_name);
        return false;
    }
    return load(*m_working, error);
}

void ParadoxTable::closeWorkingCopy()
{
    if (m_working && m_working->file)
        fflush(m_working->file);
    m_working.reset();
}

bool ParadoxTable::commitWrite(QString *error)
{
    if (!m_working)
        return true;
    m_working->doc.reset(); // PX_close writes pxlib's cached blocks and header
    const bool synced =
        fflush(m_working->file) == 0 && MappedFile::syncToDisk(fileno(m_working->file));
    closeWorkingCopy();
    if (!synced) {
        if (error)
            *error = QStringLiteral("Cannot write %1 to disk").arg(m_name);
        rollbackWrite();
        return false;
    }
    if (!m_change->commit(error)) {
        rollbackWrite();
        return false;
    }
    return load(m_path, error);
}

void ParadoxTable::rollbackWrite()
{
    if (!m_working && !(m_change && m_change->isActive()))
        return;
    closeWorkingCopy();
    if (m_change)
        m_change->rollback();
    load(m_path, nullptr);
}
