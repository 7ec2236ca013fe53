#pragma once

#include "CodePage.h"
#include "FileTransaction.h"
#include "SourceOptions.h"
#include "SourceTable.h"

#include <memory>

struct px_doc;
struct px_field;

// A Paradox table (.db, with its .px primary index and .mb BLOB file beside it), read through
// pxlib into memory; every field type is read.
//
// Writes go through pxlib where it keeps the table whole: fields that are not part of the
// primary key can be changed in tables without BLOB, BCD or bytes fields; records can be added
// and deleted only in tables without a primary index (pxlib does not maintain the .px file).
// Anything else is refused with a message saying why, and changes nothing.
class ParadoxTable final : public SourceTable
{
public:
    ~ParadoxTable() override;

    static std::unique_ptr<ParadoxTable> open(const QString &path, const SourceOptions &options,
                                              QString *error);

    QString name() const override { return m_name; }
    const QList<SourceField> &fields() const override { return m_fields; }
    qint64 slotCount() const override { return m_rows.size(); }
    bool isLive(qint64 slot) const override { return hasSlot(slot); }
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
    bool load(const QString &path, QString *error);
    bool load(const Document &document, QString *error);
    bool startChanges(QString *error);
    bool changeRecord(qint64 slot, const QMap<int, QVariant> &values, bool insert, QString *error);
    void closeWorkingCopy();

    QString m_path;
    QString m_name;
    QString m_backupSuffix;
    QString m_readOnlyReason;
    QString m_fixedRecordsReason;
    CodePage m_codePage;
    QByteArray m_blobFile;
    QList<SourceField> m_fields;
    QList<int> m_types;
    QList<int> m_offsets;
    int m_keyFields = 0;
    QList<QVariantList> m_rows;

    std::unique_ptr<FileTransaction> m_change;
    std::unique_ptr<Document> m_working;
};
