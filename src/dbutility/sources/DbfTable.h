#pragma once

#include "CodePage.h"
#include "DbfMemo.h"
#include "FileTransaction.h"
#include "MappedFile.h"
#include "SourceOptions.h"
#include "SourceTable.h"

#include <memory>

// A dBase / FoxPro table (.dbf) with its memo file (.dbt or .fpt).
//
// Reads dBase II and versions 0x02 (FoxBASE), 0x03, 0x83, 0x8B, 0x8C, 0xF5, 0xFB, 0x30-0x32 and
// dBase 7 (0x04, 0x8C); records flagged "*" are deleted and not live. Writes fields of types C N F
// D L M (and FoxPro I B Y T) through a FileTransaction, so the table and memo change all at once.
class DbfTable : public SourceTable
{
public:
    // A field for create().
    struct FieldSpec {
        QString name;
        char type = 'C';
        int length = 10;
        int decimals = 0;
    };

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
    const QList<SourceField> &fields() const override { return m_fields; }
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

    unsigned char version() const { return m_version; }
    int codePage() const { return m_codePage.number(); }
    QString memoPath() const { return m_memoPath; }

private:
    struct Column {
        char type = 'C';
        int offset = 0;
        int length = 0;
        int decimals = 0;
        bool binary = false;
        int nullBit = -1;   // bit of _NullFlags set when the value is null
        int lengthBit = -1; // bit of _NullFlags set when a varying field is shorter than its size
    };

    DbfTable() = default;
    bool parse(int codePage, QString *error);
    bool isVisualFoxPro() const;
    bool isDBase7() const;
    const uchar *record(qint64 slot) const;
    bool flagSet(const uchar *record, int bit) const;
    // Bytes of a text field's value: without trailing blanks; a varchar's own length.
    int textLength(const uchar *record, const Column &column) const;
    QVariant memoValue(const Column &column, const uchar *field) const;
    bool encode(int column, const QVariant &value, QByteArray *record, QString *error);
    bool startChanges(QString *error);
    bool reopen(QString *error);

    QString m_path;
    QString m_name;
    QString m_memoPath;
    QString m_backupSuffix;
    QString m_readOnlyReason;
    CodePage m_codePage;
    MappedFile m_file;
    std::unique_ptr<DbfMemo> m_memo;
    unsigned char m_version = 0;
    int m_headerSize = 0;
    int m_recordLength = 0;
    int m_nullFlagsOffset = -1;
    int m_nullFlagsLength = 0;
    bool m_dBase2 = false;
    qint64 m_slotCount = 0;
    QList<Column> m_columns;
    QList<SourceField> m_fields;

    std::unique_ptr<FileTransaction> m_tableChange;
    std::unique_ptr<FileTransaction> m_memoChange;
};
