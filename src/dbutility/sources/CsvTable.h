#pragma once

#include "CodePage.h"
#include "SourceOptions.h"
#include "SourceTable.h"

#include <memory>

// A text table (.csv, .txt): the first row gives the field names; the separator (comma,
// semicolon or tab) is detected; quoted fields double their quotes and may hold line breaks;
// records end in CR, LF or CRLF. The whole table is held in memory, and a write rewrites the
// file in the same dialect (separator, line end, quoting, encoding) in one step.
class CsvTable final : public SourceTable
{
public:
    enum class LineEnd { Lf, CrLf, Cr };
    enum class Encoding { Utf8, Utf8Bom, CodePage };

    struct Dialect {
        QChar separator = QLatin1Char(',');
        LineEnd lineEnd = LineEnd::CrLf;
        bool quoteAll = false;
        // Quotes inside quoted fields written \" (as some exporters do) rather than "".
        bool backslashEscape = false;
    };

    struct Parsed {
        Dialect dialect;
        QList<QStringList> records; // the header row first
    };

    ~CsvTable() override;

    static std::unique_ptr<CsvTable> open(const QString &path, const SourceOptions &options,
                                          QString *error);
    // Splits text into records; finds the separator, quoting and line end from the text, or
    // takes separator and quoting from `known` (as when reading back what format() wrote).
    static Parsed parse(const QString &text, const Dialect *known = nullptr);
    // The text of records in a dialect, each record ended by the dialect's line end.
    static QString format(const QList<QStringList> &records, const Dialect &dialect);
    // The text of a file: UTF-8 (with or without mark) when the bytes are valid UTF-8, else the
    // code page (codePage 0 means 1252).
    static QString decode(const QByteArray &bytes, int codePage, Encoding *encoding);

    QString name() const override { return m_name; }
    const QList<SourceField> &fields() const override { return m_fields; }
    qint64 slotCount() const override { return m_rows.size(); }
    bool isLive(qint64 slot) const override;
    QVariant value(qint64 slot, int column) const override;
    QString readOnlyReason() const override { return m_readOnlyReason; }

    bool beginWrite(QString *error) override;
    bool insertRow(const QMap<int, QVariant> &values, qint64 *slot, QString *error) override;
    bool updateRow(qint64 slot, const QMap<int, QVariant> &changes, QString *error) override;
    bool deleteRow(qint64 slot, QString *error) override;
    bool commitWrite(QString *error) override;
    void rollbackWrite() override;

    Dialect dialect() const { return m_dialect; }

private:
    CsvTable() = default;
    void guessTypes();
    QString textOf(int column, const QVariant &value) const;

    QString m_path;
    QString m_name;
    QString m_backupSuffix;
    QString m_readOnlyReason;
    Dialect m_dialect;
    Encoding m_encoding = Encoding::Utf8;
    CodePage m_codePage;
    QStringList m_header;
    QList<SourceField> m_fields;
    QList<QStringList> m_rows;
    QList<bool> m_deleted;

    bool m_dirty = false;
    QList<QStringList> m_savedRows;
    QList<bool> m_savedDeleted;
    bool m_backedUp = false;
};
