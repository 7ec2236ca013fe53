#pragma once

#include "CodePage.h"
#include "SourceOptions.h"
#include "SourceTable.h"

#include <QHash>

#include <memory>
#include <vector>

// A text table (.csv, .txt, .tsv, .tab): the first row gives the field names; the separator
// (comma, semicolon or tab) is detected; quoted fields double their quotes and may hold line
// breaks, kept as the file wrote them; records end in CR, LF or CRLF. Text is UTF-8, UTF-16 or
// UTF-32 with a byte-order mark, else UTF-8 when valid, else the code page.
//
// The file's text is held once, as UTF-8, with the end offset of each field (so a 50 MB file
// takes little more than its size); changed and inserted rows are held apart. A write rewrites
// the file in the same dialect (separator, line end, quoting, encoding) in one step, and rows
// the write did not change keep their bytes. A column is a number only when every value reads
// as one that writes back as the same text (see numberKind()).
class CsvTable final : public SourceTable
{
public:
    enum class LineEnd { Lf, CrLf, Cr };
    enum class Encoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Utf32Le, Utf32Be, CodePage };
    enum class NumberKind { None, Integer, Decimal };

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
    // The text of a file: by its byte-order mark, else UTF-8 when the bytes are valid UTF-8,
    // else the code page (codePage 0 means 1252).
    static QString decode(const QByteArray &bytes, int codePage, Encoding *encoding);
    // Whether a field's text is a number that writes back as the same text: an optional "-",
    // digits without a leading zero, an optional fraction, at most 15 significant digits; no
    // "+", no exponent, no blanks, no negative zero.
    static NumberKind numberKind(const char *text, qsizetype size);

    QString name() const override { return m_name; }
    const QList<SourceField> &fields() const override { return m_fields; }
    qint64 slotCount() const override { return m_fileRows + qint64(m_edits.inserted.size()); }
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

    Dialect dialect() const { return m_layout.dialect; }
    Encoding encoding() const { return m_encoding; }

    // Where each field of a text lies: field f of record r spans [start, fieldEnds[f]), where
    // start is recordStarts[r] for the record's first field and one byte (the separator) past
    // the field before for the others. Offsets are bytes of the UTF-8 text.
    struct Layout {
        Dialect dialect;
        std::vector<quint32> fieldEnds;
        std::vector<quint32> firstFields;  // per record: index of its first field
        std::vector<quint32> recordStarts; // per record: offset of its first byte
        qsizetype recordCount() const { return qsizetype(firstFields.size()); }
    };

private:
    struct Edits {
        QHash<qint64, QStringList> changed; // file rows with new values
        QList<QStringList> inserted;        // rows after the file's
        std::vector<bool> deleted;          // per slot
    };

    CsvTable() = default;
    bool load(const QByteArray &bytes, const SourceOptions &options, QString *error);
    void guessTypes();
    QByteArray rawField(qsizetype record, int column) const;
    QString fieldText(qint64 slot, int column, bool *present) const;
    QString textOf(int column, const QVariant &value, QString *error) const;
    bool rowOf(const QMap<int, QVariant> &values, QStringList *row, QString *error) const;
    QByteArray fileBytes() const;

    QString m_path;
    QString m_name;
    QString m_backupSuffix;
    QString m_readOnlyReason;
    Encoding m_encoding = Encoding::Utf8;
    CodePage m_codePage;
    QByteArray m_text; // the file as UTF-8, byte-order mark left out
    Layout m_layout;   // record 0 is the header
    QList<SourceField> m_fields;
    qint64 m_fileRows = 0;

    Edits m_edits;
    Edits m_saved;
    bool m_dirty = false;
    bool m_backedUp = false;
};
