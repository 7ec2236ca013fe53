#pragma once

#include "CodePage.h"
#include "DbfFieldCodec.h"
#include "DbfHeader.h"
#include "DbfMemo.h"
#include "FileTransaction.h"
#include "MappedFile.h"
#include "SourceOptions.h"
#include "SourceTable.h"

#include <memory>

// A dBase / FoxPro table (.dbf) with its memo file (.dbt or .fpt).
//
// Reads every version DbfHeader knows; records flagged "*" are deleted and not live. Writes
// fields of types C N F D L M (and FoxPro I B Y T) through a FileTransaction, so the table and
// memo change all at once.
class DbfTable final : public SourceTable
{
public:
    // A field for create().
    using FieldSpec = DbfHeader::FieldSpec;

    ~DbfTable() override;

    // Opens a table file; on failure returns null and a message naming the file.
    static std::unique_ptr<DbfTable> open(const QString &path, const SourceOptions &options,
                                          QString *error);
    // A read-only table over bytes in memory (memo may be empty).
    static std::unique_ptr<DbfTable> fromBytes(const QByteArray &table, const QByteArray &memo,
                                               int codePage, QString *error);
    // Writes an empty table (and its memo file when a field is M) of the given version.
    static bool create(const QString &path, const QList<FieldSpec> &fields, unsigned char version,
                       int codePage, QString *error);

    QString name() const override { return m_name; }
    const QList<SourceField> &fields() const override { return m_header.fields; }
    qint64 slotCount() const override { return m_slotCount; }
    bool isLive(qint64 slot) const override;
    QVariant value(qint64 slot, int column) const override;
    bool textUtf8(qint64 slot, int column, std::string *utf8, bool *isNull) const override;
    QString readOnlyReason() const override { return m_readOnlyReason; }

    bool beginWrite(QString *error) override;
    bool insertRow(const QMap<int, QVariant> &values, qint64 *slot, QString *error) override;
    bool updateRow(qint64 slot, const QMap<int, QVariant> &changes, QString *error) override;
    bool deleteRow(qint64 slot, QString *error) override;
    bool commitWrite(QString *error) override;
    void rollbackWrite() override;

    unsigned char version() const { return m_header.version; }
    int codePage() const { return m_header.codePage.number(); }
    QString memoPath() const { return m_memoPath; }

private:
    DbfTable();
    bool parse(int codePage, QString *error);
    void openMemo(const QString &path);
    // Inline: every value read of a scan goes through it.
    const uchar *record(qint64 slot) const
    {
        return m_file.data() + m_header.headerSize + slot * m_header.recordLength;
    }
    void refuseWithIndex(const QString &path);
    void listMemoStarts();
    bool startChanges(QString *error);
    bool encodeAll(const QMap<int, QVariant> &values, bool allColumns, QByteArray *bytes,
                   QString *error);
    bool reopen(QString *error);

    QString m_path;
    QString m_name;
    QString m_memoPath;
    QString m_backupSuffix;
    QString m_readOnlyReason;
    MappedFile m_file;
    std::unique_ptr<DbfMemo> m_memo;
    DbfHeader m_header;
    // Grows with inserted records; the header's count is written on commit.
    qint64 m_slotCount = 0;
    DbfFieldCodec m_codec;

    std::unique_ptr<FileTransaction> m_tableChange;
    std::unique_ptr<FileTransaction> m_memoChange;
};
