#pragma once

#include "CodePage.h"
#include "FileTransaction.h"
#include "MappedFile.h"
#include "SourceOptions.h"
#include "SourceTable.h"

#include <memory>

struct px_doc;
struct px_field;
struct px_val;

// A Paradox table (.db, with its .px primary index and .mb BLOB file beside it), read through
// pxlib into memory; every field type is read. The header and the chain of data blocks are
// checked before pxlib sees the file (ParadoxHeader); encrypted tables are refused.
//
// Writes go through pxlib where it keeps the table whole: fields that are not part of the
// primary key can be changed in tables without BLOB, BCD or bytes fields; records can be added
// and deleted only in tables without a primary index (pxlib does not maintain the .px file).
// Anything else is refused with a message saying why, and changes nothing.
//
// Slots stay put during a write transaction: a deleted row stays in its slot (not live) and
// inserted rows follow the file's rows; pxlib deletes and inserts them when the transaction
// commits, and the slots then follow the file's record order again.
class ParadoxTable final : public SourceTable
{
public:
    ~ParadoxTable() override;

    static std::unique_ptr<ParadoxTable> open(const QString &path, const SourceOptions &options,
                                              QString *error);

    QString name() const override { return m_name; }
    const QList<SourceField> &fields() const override { return m_fields; }
    qint64 slotCount() const override { return m_rows.size(); }
    bool isLive(qint64 slot) const override { return hasSlot(slot) && !m_deleted.at(slot); }
    QVariant value(qint64 slot, int column) const override;
    QString readOnlyReason() const override { return m_readOnlyReason; }

    bool insertRow(const QMap<int, QVariant> &values, qint64 *slot, QString *error) override;
    bool updateRow(qint64 slot, const QMap<int, QVariant> &changes, QString *error) override;
    bool deleteRow(qint64 slot, QString *error) override;
    bool commitWrite(QString *error) override;
    void rollbackWrite() override;

    int keyFieldCount() const { return m_keyFields; }

    // The Jet field type of a pxlib field type, and the letter Paradox uses for it.
    static int jetType(int pxType);
    static QString typeLetter(int pxType);

private:
    struct Document;

    ParadoxTable() = default;
    bool readFields(const Document &document, QString *unwritable, QString *why);
    void setWriteReasons(bool writable, const QString &unwritable);
    bool load(const Document &document, QString *error);
    QVariantList readRecord(const Document &document, int record, bool *ok) const;
    bool startChanges(QString *error);
    bool checkChanges(const QMap<int, QVariant> &changes, QString *error) const;
    bool fillRecord(px_val **record, const QMap<int, QVariant> &values, QString *error) const;
    bool validate(const QMap<int, QVariant> &values, QString *error) const;
    bool updateFileRow(qint64 slot, const QMap<int, QVariant> &changes, QString *error);
    bool applyDeletes(QList<QVariantList> *rows, QString *error);
    bool applyInserts(QList<QVariantList> *rows, QString *error);
    void closeWorkingCopy();
    void resetSlots();

    QString m_path;
    QString m_name;
    QString m_backupSuffix;
    QString m_readOnlyReason;
    QString m_fixedRecordsReason;
    CodePage m_codePage;
    MappedFile m_blobFile;
    QList<SourceField> m_fields;
    QList<int> m_types;
    QList<int> m_offsets;
    int m_keyFields = 0;

    // The rows SQL sees: the file's records, then those the transaction inserts. A file row's
    // slot is its pxlib record number until the transaction commits.
    QList<QVariantList> m_rows;
    QList<bool> m_deleted;
    qint64 m_fileRows = 0;
    QList<QMap<int, QVariant>> m_inserted; // the values of slots m_fileRows and on
    QList<QVariantList> m_savedRows;       // m_rows when the transaction began

    std::unique_ptr<FileTransaction> m_change;
    std::unique_ptr<Document> m_working;
};
