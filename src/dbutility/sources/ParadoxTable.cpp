#include "ParadoxTable.h"

#include "CompanionFile.h"
#include "FieldNames.h"
#include "FieldTypeNames.h"
#include "ParadoxFieldCodec.h"
#include "ParadoxHeader.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

extern "C" {
#include <paradox.h>
}

namespace
{

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

// A record of pxlib values, freed with the record.
struct PxRecord {
    pxdoc_t *doc;
    pxval_t **values;
    int fields;
    ~PxRecord()
    {
        if (values)
            ParadoxFieldCodec::freeRecord(doc, values, fields);
    }
};

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

    // Opens a table through a FILE of our own: read-only tables open too (pxlib's own open asks
    // for write access), and a writable one is opened for update.
    bool open(const QString &path, bool writable, QString *error)
    {
        doc.reset(PX_new3(recordError, nullptr, nullptr, nullptr, messages.get()));
        if (!doc) {
            *error = QStringLiteral("out of memory");
            return false;
        }
        file = fopen(QFile::encodeName(path).constData(), writable ? "r+b" : "rb");
        if (!file) {
            *error = QString::fromLocal8Bit(strerror(errno));
            return false;
        }
        if (PX_open_fp(doc.get(), file) < 0) {
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
    ParadoxHeader header;
    QString why;
    bool encrypted = false;
    if (!header.read(probe, &why, &encrypted)) {
        if (!encrypted)
            return fail(why);
        if (error)
            *error = QStringLiteral("%1 is encrypted: this program cannot read password-protected "
                                    "Paradox tables")
                         .arg(name);
        return nullptr;
    }
    probe.close();

    std::unique_ptr<ParadoxTable> table(new ParadoxTable);
    table->m_path = info.absoluteFilePath();
    table->m_name = name;
    table->m_backupSuffix = options.backupSuffix;
    table->m_codePage = CodePage(
        options.codePage > 0 ? options.codePage : (header.codePage > 0 ? header.codePage : 1252));
    Document document;
    if (!document.open(path, false, &why))
        return fail(why);
    const QString blobPath = CompanionFile::find(path, QStringLiteral("mb"));
    if (!blobPath.isEmpty())
        table->m_blobFile.open(blobPath, false, nullptr);
    QString unwritable;
    if (!table->readFields(document, &unwritable, &why))
        return fail(why);
    if (!table->load(document, error))
        return nullptr;
    table->setWriteReasons(info.isWritable(), unwritable);
    return table;
}

// The fields as pxlib reads them; *unwritable names a field pxlib cannot write safely.
bool ParadoxTable::readFields(const Document &document, QString *unwritable, QString *why)
{
    pxdoc_t *doc = document.doc.get();
    const int fieldCount = PX_get_num_fields(doc);
    pxfield_t *pxFields = PX_get_fields(doc);
    if (fieldCount <= 0 || !pxFields) {
        *why = QStringLiteral("it has no fields");
        return false;
    }
    FieldNames names(QStringLiteral("Field"));
    int recordSize = 0;
    for (int i = 0; i < fieldCount; ++i) {
        const pxfield_t &pxField = pxFields[i];
        SourceField field;
        field.name = names.add(
            m_codePage.decode(pxField.px_fname ? QByteArray(pxField.px_fname) : QByteArray()));
        field.nativeType = typeLetter(pxField.px_ftype);
        field.typeCode = jetType(pxField.px_ftype);
        field.size = pxField.px_flen;
        field.decimals = pxField.px_fdc;
        m_fields.append(field);
        m_types.append(pxField.px_ftype);
        m_offsets.append(recordSize);
        recordSize += pxField.px_flen;
        if (ParadoxFieldCodec::isBlob(pxField.px_ftype) || pxField.px_ftype == pxfBCD ||
            pxField.px_ftype == pxfBytes)
            *unwritable = field.name;
    }
    if (PX_get_recordsize(doc) < recordSize) {
        *why = QStringLiteral("its fields do not fit its records");
        return false;
    }
    m_keyFields = qBound(0, doc->px_head->px_primarykeyfields, fieldCount);
    return true;
}

void ParadoxTable::setWriteReasons(bool writable, const QString &unwritable)
{
    if (!writable)
        m_readOnlyReason = QStringLiteral("%1 is read-only").arg(m_name);
    else if (!unwritable.isEmpty())
        m_readOnlyReason =
            QStringLiteral("%1 cannot be changed here: pxlib cannot write its field %2 safely")
                .arg(m_name, unwritable);
    if (m_keyFields > 0)
        m_fixedRecordsReason =
            QStringLiteral(
                "Records cannot be added to or deleted from %1 here: pxlib does not keep "
                "its primary index up to date")
                .arg(m_name);
}

// Reads every record of an open table (the file, or the working copy with pxlib's unwritten
// blocks) into memory.
bool ParadoxTable::load(const Document &document, QString *error)
{
    // Room for the rows the header counts, up to a sane number: a damaged count says billions.
    const int recordCount = PX_get_num_records(document.doc.get());
    QList<QVariantList> rows;
    rows.reserve(qBound(0, recordCount, 65536));
    for (int r = 0; r < recordCount; ++r) {
        bool ok = false;
        rows.append(readRecord(document, r, &ok));
        if (!ok) {
            if (error)
                *error = QStringLiteral("%1 is damaged: record %2 cannot be read (%3)")
                             .arg(m_name)
                             .arg(r + 1)
                             .arg(*document.messages);
            return false;
        }
    }
    m_rows = rows;
    resetSlots();
    return true;
}

QVariantList ParadoxTable::readRecord(const Document &document, int record, bool *ok) const
{
    pxdoc_t *doc = document.doc.get();
    pxfield_t *pxFields = PX_get_fields(doc);
    QByteArray raw(PX_get_recordsize(doc), '\0');
    *ok = PX_get_record(doc, record, raw.data()) != nullptr;
    QVariantList row;
    if (!*ok)
        return row;
    row.reserve(m_types.size());
    for (qsizetype f = 0; f < m_types.size(); ++f) {
        const int type = m_types.at(f);
        char *field = raw.data() + m_offsets.at(f);
        if (!ParadoxFieldCodec::isBlob(type)) {
            row.append(ParadoxFieldCodec::value(doc, field, pxFields[f], m_codePage));
            continue;
        }
        const QByteArray data = ParadoxFieldCodec::blob(field, m_fields.at(f).size,
                                                        m_blobFile.data(), m_blobFile.size());
        if (data.isNull())
            row.append(QVariant());
        else if (type == pxfMemoBLOb || type == pxfFmtMemoBLOb)
            row.append(m_codePage.decode(data));
        else
            row.append(data);
    }
    return row;
}

void ParadoxTable::resetSlots()
{
    m_fileRows = m_rows.size();
    m_deleted = QList<bool>(m_rows.size(), false);
    m_inserted.clear();
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
    m_savedRows = m_rows;
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

// Columns in range, and none of the primary key (pxlib would leave the index wrong).
bool ParadoxTable::checkChanges(const QMap<int, QVariant> &changes, QString *error) const
{
    if (!checkColumns(changes, error))
        return false;
    if (changes.isEmpty() || changes.firstKey() >= m_keyFields)
        return true;
    if (error)
        *error = QStringLiteral("The key field %1 of %2 cannot be changed here: pxlib does "
                                "not keep the primary index up to date")
                     .arg(m_fields.at(changes.firstKey()).name, m_name);
    return false;
}

bool ParadoxTable::fillRecord(pxval_t **record, const QMap<int, QVariant> &values,
                              QString *error) const
{
    pxdoc_t *doc = m_working->doc.get();
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const int f = it.key();
        QString why;
        if (!ParadoxFieldCodec::put(doc, record[f], m_types.at(f), m_fields.at(f).size, it.value(),
                                    m_codePage, &why)) {
            if (error)
                *error = QStringLiteral("The field %1 of %2 cannot hold %3: %4")
                             .arg(m_fields.at(f).name, m_name, it.value().toString().left(40), why);
            return false;
        }
    }
    return true;
}

// Whether a row of these values can be written, without writing it.
bool ParadoxTable::validate(const QMap<int, QVariant> &values, QString *error) const
{
    pxdoc_t *doc = m_working->doc.get();
    const PxRecord record{doc, ParadoxFieldCodec::emptyRecord(doc, m_types), int(m_types.size())};
    return fillRecord(record.values, values, error);
}

bool ParadoxTable::updateFileRow(qint64 slot, const QMap<int, QVariant> &changes, QString *error)
{
    pxdoc_t *doc = m_working->doc.get();
    const PxRecord record{doc, PX_retrieve_record(doc, int(slot)), int(m_types.size())};
    if (!record.values) {
        if (error)
            *error = QStringLiteral("%1: record %2 cannot be read").arg(m_name).arg(slot + 1);
        return false;
    }
    if (!fillRecord(record.values, changes, error))
        return false;
    bool ok = PX_update_record(doc, record.values, int(slot)) >= 0;
    QVariantList row;
    if (ok)
        row = readRecord(*m_working, int(slot), &ok);
    if (!ok) {
        if (error)
            *error =
                QStringLiteral("pxlib could not write %1: %2").arg(m_name, *m_working->messages);
        return false;
    }
    m_rows[slot] = row;
    return true;
}

bool ParadoxTable::updateRow(qint64 slot, const QMap<int, QVariant> &changes, QString *error)
{
    if (!m_readOnlyReason.isEmpty())
        return refuseWrite(error);
    if (!checkLiveSlot(slot, error) || !checkChanges(changes, error) || !startChanges(error))
        return false;
    if (slot < m_fileRows)
        return updateFileRow(slot, changes, error);
    // A row this transaction inserts: its values change before pxlib sees them.
    QMap<int, QVariant> values = m_inserted.at(slot - m_fileRows);
    values.insert(changes);
    if (!validate(values, error))
        return false;
    m_inserted[slot - m_fileRows] = values;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        m_rows[slot][it.key()] = it.value();
    return true;
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
    if (!checkColumns(values, error) || !startChanges(error) || !validate(values, error))
        return false;
    QVariantList row;
    for (qsizetype f = 0; f < m_fields.size(); ++f)
        row.append(values.value(int(f)));
    m_inserted.append(values);
    m_rows.append(row);
    m_deleted.append(false);
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
    if (!checkLiveSlot(slot, error) || !startChanges(error))
        return false;
    m_deleted[slot] = true;
    return true;
}

// Hands the transaction's deletes to pxlib (last first, so the record numbers still to delete
// do not move) and takes the blocks they empty out of the working copy; *rows becomes the
// file's rows that are left, in record order.
bool ParadoxTable::applyDeletes(QList<QVariantList> *rows, QString *error)
{
    *rows = m_rows.mid(0, m_fileRows);
    if (std::none_of(m_deleted.cbegin(), m_deleted.cbegin() + m_fileRows,
                     [](bool deleted) { return deleted; }))
        return true;
    pxdoc_t *doc = m_working->doc.get();
    for (qint64 slot = m_fileRows - 1; slot >= 0; --slot) {
        if (!m_deleted.at(slot))
            continue;
        if (PX_delete_record(doc, int(slot)) < 0) {
            if (error)
                *error = QStringLiteral("pxlib could not delete record %1 of %2")
                             .arg(slot + 1)
                             .arg(m_name);
            return false;
        }
        rows->removeAt(slot);
    }
    const QString path = m_change->workingPath();
    m_working.reset();
    QFile file(path);
    ParadoxHeader header;
    QString why;
    bool encrypted = false;
    const bool ok = file.open(QIODevice::ReadWrite) && header.read(file, &why, &encrypted) &&
                    header.dropEmptyBlocks(file, &why) && file.flush();
    file.close();
    m_working = std::make_unique<Document>();
    if (!ok || !m_working->open(path, true, &why)) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(m_name, why);
        return false;
    }
    return true;
}

// Hands the transaction's inserts to pxlib: each record lands where pxlib says (it fills free
// room in earlier blocks first), and *rows follows.
bool ParadoxTable::applyInserts(QList<QVariantList> *rows, QString *error)
{
    pxdoc_t *doc = m_working->doc.get();
    for (qsizetype i = 0; i < m_inserted.size(); ++i) {
        if (m_deleted.at(m_fileRows + i))
            continue;
        const PxRecord record{doc, ParadoxFieldCodec::emptyRecord(doc, m_types),
                              int(m_types.size())};
        if (!fillRecord(record.values, m_inserted.at(i), error))
            return false;
        const int at = PX_insert_record(doc, record.values);
        bool ok = at >= 0 && at <= rows->size();
        const QVariantList row = ok ? readRecord(*m_working, at, &ok) : QVariantList();
        if (!ok) {
            if (error)
                *error = QStringLiteral("pxlib could not write %1: %2")
                             .arg(m_name, *m_working->messages);
            return false;
        }
        rows->insert(at, row);
    }
    return true;
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
    QList<QVariantList> rows;
    if (!applyDeletes(&rows, error) || !applyInserts(&rows, error)) {
        rollbackWrite();
        return false;
    }
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
    m_rows = rows;
    m_savedRows.clear();
    resetSlots();
    return true;
}

void ParadoxTable::rollbackWrite()
{
    if (!m_working && !(m_change && m_change->isActive()))
        return;
    closeWorkingCopy();
    if (m_change)
        m_change->rollback();
    m_rows = m_savedRows;
    m_savedRows.clear();
    resetSlots();
}
