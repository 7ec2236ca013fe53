#include "CsvTable.h"

#include "FieldNames.h"
#include "FieldTypeNames.h"
#include "FileTransaction.h"
#include "MappedFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <limits>

namespace
{

constexpr char quote = '"';
// Jet's text driver reports text fields as 255 characters wide.
constexpr int textFieldSize = 255;
// Doubles hold 15 significant decimal digits exactly.
constexpr int maxSignificantDigits = 15;

using Dialect = CsvTable::Dialect;
using Layout = CsvTable::Layout;

QString lineEndText(CsvTable::LineEnd lineEnd)
{
    switch (lineEnd) {
    case CsvTable::LineEnd::Lf:
        return QStringLiteral("\n");
    case CsvTable::LineEnd::Cr:
        return QStringLiteral("\r");
    case CsvTable::LineEnd::CrLf:
        break;
    }
    return QStringLiteral("\r\n");
}

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// Whether \" at i (the backslash) escapes a quote: only when text follows it, so that a field
// "C:\dir\" still ends at its quote.
bool escapedQuote(const char *d, qsizetype i, qsizetype size, char separator)
{
    return d[i] == '\\' && i + 2 < size && d[i + 1] == quote && d[i + 2] != separator &&
           !isLineBreak(d[i + 2]);
}

// The separator is the most frequent candidate in the first record outside quotes; the line end
// is the one that ends that record; \" escapes quotes when it appears with text after it.
Dialect detectDialect(const char *d, qsizetype size, const Dialect *known)
{
    Dialect dialect;
    int counts[3] = {0, 0, 0};
    const char candidates[3] = {',', ';', '\t'};
    bool quoted = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = d[i];
        if (c == quote) {
            quoted = !quoted;
        } else if (!quoted && isLineBreak(c)) {
            dialect.lineEnd = c == '\n'                            ? CsvTable::LineEnd::Lf
                              : (i + 1 < size && d[i + 1] == '\n') ? CsvTable::LineEnd::CrLf
                                                                   : CsvTable::LineEnd::Cr;
            break;
        } else if (!quoted) {
            for (int k = 0; k < 3; ++k)
                counts[k] += c == candidates[k];
        }
    }
    int best = 0;
    for (int k = 1; k < 3; ++k) {
        if (counts[k] > counts[best])
            best = k;
    }
    if (known) {
        dialect.separator = known->separator;
        dialect.backslashEscape = known->backslashEscape;
        return dialect;
    }
    dialect.separator = QLatin1Char(candidates[best]);
    for (qsizetype i = 0; i + 2 < size && !dialect.backslashEscape; ++i)
        dialect.backslashEscape = escapedQuote(d, i, size, candidates[best]);
    return dialect;
}

// The position after a quoted run that starts at i (its opening quote): past the closing quote,
// or the end of the text when the quote is never closed.
qsizetype skipQuoted(const char *d, qsizetype i, qsizetype size, const Dialect &dialect)
{
    const char separator = char(dialect.separator.unicode());
    for (++i; i < size;) {
        if (dialect.backslashEscape && escapedQuote(d, i, size, separator)) {
            i += 2;
        } else if (d[i] == quote) {
            if (i + 1 < size && d[i + 1] == quote)
                i += 2;
            else
                return i + 1;
        } else {
            ++i;
        }
    }
    return size;
}

// Records and fields of UTF-8 text. Blank lines between records are skipped; a quote opens a
// quoted run only as a field's first byte.
void split(const char *d, qsizetype size, const Dialect *known, Layout *layout)
{
    layout->dialect = detectDialect(d, size, known);
    const char separator = char(layout->dialect.separator.unicode());
    bool allQuoted = true;
    bool atRecordStart = true;
    qsizetype fieldStart = 0;
    const auto endField = [&](qsizetype end) {
        allQuoted = allQuoted && end > fieldStart && d[fieldStart] == quote;
        layout->fieldEnds.push_back(quint32(end));
    };
    for (qsizetype i = 0; i < size;) {
        const char c = d[i];
        const qsizetype lineEnd = c == '\r' && i + 1 < size && d[i + 1] == '\n' ? 2 : 1;
        if (atRecordStart) {
            if (isLineBreak(c)) {
                i += lineEnd;
                continue;
            }
            layout->recordStarts.push_back(quint32(i));
            layout->firstFields.push_back(quint32(layout->fieldEnds.size()));
            atRecordStart = false;
            fieldStart = i;
        }
        if (c == quote && i == fieldStart) {
            i = skipQuoted(d, i, size, layout->dialect);
        } else if (c == separator) {
            endField(i);
            fieldStart = ++i;
        } else if (isLineBreak(c)) {
            endField(i);
            i += lineEnd;
            atRecordStart = true;
        } else {
            ++i;
        }
    }
    if (!atRecordStart)
        endField(size);
    layout->dialect.quoteAll = !layout->fieldEnds.empty() && allQuoted;
}

// A field's value from its bytes as stored: a leading quoted run loses its quotes and escapes,
// what follows it is kept as it is.
QByteArray unquote(const char *d, qsizetype size, const Dialect &dialect)
{
    if (size == 0 || d[0] != quote)
        return QByteArray(d, size);
    const char separator = char(dialect.separator.unicode());
    QByteArray value;
    value.reserve(size);
    qsizetype i = 1;
    while (i < size) {
        if (dialect.backslashEscape && escapedQuote(d, i, size, separator)) {
            value.append(quote);
            i += 2;
        } else if (d[i] == quote) {
            if (i + 1 < size && d[i + 1] == quote) {
                value.append(quote);
                i += 2;
                continue;
            }
            ++i;
            break;
        } else {
            value.append(d[i++]);
        }
    }
    value.append(d + i, size - i);
    return value;
}

// The file's text as UTF-8 and the encoding it came in.
QByteArray utf8Of(const QByteArray &bytes, int codePage, CsvTable::Encoding *encoding)
{
    using Encoding = CsvTable::Encoding;
    struct Mark {
        const char *bytes;
        qsizetype size;
        Encoding encoding;
        QStringDecoder::Encoding decoder;
    };
    // UTF-32LE's mark begins with UTF-16LE's: it is looked for first.
    static const Mark marks[] = {
        {"\xFF\xFE\0\0", 4, Encoding::Utf32Le, QStringDecoder::Utf32LE},
        {"\0\0\xFE\xFF", 4, Encoding::Utf32Be, QStringDecoder::Utf32BE},
        {"\xFF\xFE", 2, Encoding::Utf16Le, QStringDecoder::Utf16LE},
        {"\xFE\xFF", 2, Encoding::Utf16Be, QStringDecoder::Utf16BE},
    };
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        *encoding = Encoding::Utf8Bom;
        return bytes.sliced(3);
    }
    for (const Mark &mark : marks) {
        if (bytes.startsWith(QByteArrayView(mark.bytes, mark.size))) {
            *encoding = mark.encoding;
            QStringDecoder decoder(mark.decoder, QStringDecoder::Flag::Stateless);
            return QString(decoder.decode(QByteArrayView(bytes).sliced(mark.size))).toUtf8();
        }
    }
    if (bytes.isValidUtf8()) {
        *encoding = Encoding::Utf8;
        return bytes;
    }
    *encoding = Encoding::CodePage;
    return CodePage(codePage > 0 ? codePage : 1252).decode(bytes).toUtf8();
}

QList<QStringList> recordsOf(const QByteArray &text, const Layout &layout)
{
    QList<QStringList> records;
    const auto fieldCount = qsizetype(layout.fieldEnds.size());
    for (qsizetype r = 0; r < layout.recordCount(); ++r) {
        const qsizetype first = layout.firstFields[size_t(r)];
        const qsizetype last = r + 1 < layout.recordCount()
                                   ? qsizetype(layout.firstFields[size_t(r) + 1])
                                   : fieldCount;
        QStringList record;
        qsizetype start = layout.recordStarts[size_t(r)];
        for (qsizetype f = first; f < last; ++f) {
            const qsizetype end = layout.fieldEnds[size_t(f)];
            record.append(
                QString::fromUtf8(unquote(text.constData() + start, end - start, layout.dialect)));
            start = end + 1;
        }
        records.append(record);
    }
    return records;
}

} // namespace

CsvTable::~CsvTable() = default;

QString CsvTable::decode(const QByteArray &bytes, int codePage, Encoding *encoding)
{
    return QString::fromUtf8(utf8Of(bytes, codePage, encoding));
}

CsvTable::Parsed CsvTable::parse(const QString &text, const Dialect *known)
{
    const QByteArray utf8 = text.toUtf8();
    Layout layout;
    split(utf8.constData(), utf8.size(), known, &layout);
    return Parsed{layout.dialect, recordsOf(utf8, layout)};
}

CsvTable::NumberKind CsvTable::numberKind(const char *text, qsizetype size)
{
    qsizetype i = text && size > 0 && text[0] == '-' ? 1 : 0;
    const qsizetype digitsStart = i;
    while (i < size && text[i] >= '0' && text[i] <= '9')
        ++i;
    const qsizetype wholeDigits = i - digitsStart;
    // "007" and "-01" are codes, not numbers: they would lose their zeros.
    if (wholeDigits == 0 || (wholeDigits > 1 && text[digitsStart] == '0'))
        return NumberKind::None;
    const bool fraction = i < size && text[i] == '.';
    qsizetype fractionDigits = 0;
    if (fraction) {
        for (++i; i < size && text[i] >= '0' && text[i] <= '9'; ++i)
            ++fractionDigits;
        if (fractionDigits == 0)
            return NumberKind::None;
    }
    if (i != size)
        return NumberKind::None;
    int significant = 0;
    bool nonZero = false;
    for (qsizetype k = digitsStart; k < size; ++k) {
        if (text[k] == '.')
            continue;
        nonZero = nonZero || text[k] != '0';
        significant += nonZero ? 1 : 0;
    }
    if (significant > maxSignificantDigits || (digitsStart == 1 && !nonZero))
        return NumberKind::None;
    return fraction ? NumberKind::Decimal : NumberKind::Integer;
}

QString CsvTable::format(const QList<QStringList> &records, const Dialect &dialect)
{
    const QString lineEnd = lineEndText(dialect.lineEnd);
    const QChar quoteChar = QLatin1Char(quote);
    QString text;
    for (const QStringList &record : records) {
        for (qsizetype f = 0; f < record.size(); ++f) {
            if (f > 0)
                text.append(dialect.separator);
            const QString &field = record.at(f);
            const bool needsQuotes =
                dialect.quoteAll || field.contains(dialect.separator) ||
                field.contains(quoteChar) || field.contains(QLatin1Char('\r')) ||
                field.contains(QLatin1Char('\n')) || field.startsWith(QLatin1Char(' ')) ||
                field.endsWith(QLatin1Char(' '));
            if (!needsQuotes) {
                text.append(field);
                continue;
            }
            QString escaped;
            for (qsizetype k = 0; k < field.size(); ++k) {
                if (field.at(k) != quoteChar) {
                    escaped.append(field.at(k));
                    continue;
                }
                // \" reads back as a quote only when text follows it; else the quote is doubled.
                const QChar next = k + 1 < field.size() ? field.at(k + 1) : QLatin1Char('\n');
                const bool backslash = dialect.backslashEscape && next != dialect.separator &&
                                       next != QLatin1Char('\r') && next != QLatin1Char('\n');
                escaped.append(backslash ? QLatin1String("\\\"") : QLatin1String("\"\""));
            }
            text.append(quoteChar + escaped + quoteChar);
        }
        text.append(lineEnd);
    }
    return text;
}

std::unique_ptr<CsvTable> CsvTable::open(const QString &path, const SourceOptions &options,
                                         QString *error)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open %1: %2").arg(path, file.errorString());
        return nullptr;
    }
    // Offsets are 32-bit: text beyond that is no table anyone edits in this program.
    if (file.size() >= qint64(std::numeric_limits<quint32>::max()) / 4) {
        if (error)
            *error = QStringLiteral("%1 is too large to open as a text table").arg(info.fileName());
        return nullptr;
    }
    std::unique_ptr<CsvTable> table(new CsvTable);
    table->m_path = info.absoluteFilePath();
    table->m_name = info.fileName();
    table->m_backupSuffix = options.backupSuffix;
    if (!table->load(file.readAll(), options, error))
        return nullptr;
    if (!info.isWritable())
        table->m_readOnlyReason = QStringLiteral("%1 is read-only").arg(table->m_name);
    return table;
}

bool CsvTable::load(const QByteArray &bytes, const SourceOptions &options, QString *error)
{
    m_codePage = CodePage(options.codePage > 0 ? options.codePage : 1252);
    m_text = utf8Of(bytes, options.codePage, &m_encoding);
    const auto refuse = [&](const char *why) {
        if (error)
            *error =
                QStringLiteral("%1 is not a text table: it %2").arg(m_name, QLatin1String(why));
        return false;
    };
    if (m_text.contains('\0'))
        return refuse("holds binary data");
    split(m_text.constData(), m_text.size(), nullptr, &m_layout);
    if (m_layout.recordCount() == 0)
        return refuse("has no header row");
    m_fileRows = m_layout.recordCount() - 1;
    m_edits.deleted.assign(size_t(m_fileRows), false);
    guessTypes();
    return true;
}

// Bytes of field `column` of a record of the file (the header is record 0), without quoting;
// null when the record has fewer fields.
QByteArray CsvTable::rawField(qsizetype record, int column) const
{
    const std::vector<quint32> &ends = m_layout.fieldEnds;
    const qsizetype first = m_layout.firstFields[size_t(record)];
    const qsizetype last = record + 1 < m_layout.recordCount()
                               ? qsizetype(m_layout.firstFields[size_t(record) + 1])
                               : qsizetype(ends.size());
    if (column < 0 || first + column >= last)
        return {};
    const qsizetype start = column == 0 ? qsizetype(m_layout.recordStarts[size_t(record)])
                                        : ends[size_t(first + column - 1)] + 1;
    const qsizetype end = ends[size_t(first + column)];
    const char *data = m_text.constData() + start;
    if (end > start && *data == quote)
        return unquote(data, end - start, m_layout.dialect);
    return QByteArray::fromRawData(data, end - start);
}

void CsvTable::guessTypes()
{
    FieldNames names(QStringLiteral("F"));
    const qsizetype columns = m_layout.recordCount() > 1 ? qsizetype(m_layout.firstFields[1])
                                                         : qsizetype(m_layout.fieldEnds.size());
    m_fields.clear();
    for (int c = 0; c < columns; ++c) {
        SourceField field;
        field.name = names.add(QString::fromUtf8(rawField(0, c)));
        // A column whose every value is a whole number is Long, every value a number Double.
        bool anyValue = false;
        NumberKind kind = NumberKind::Integer;
        for (qint64 r = 1; r <= m_fileRows && kind != NumberKind::None; ++r) {
            const QByteArray text = rawField(r, c);
            if (text.isEmpty())
                continue;
            anyValue = true;
            const NumberKind found = numberKind(text.constData(), text.size());
            if (found != NumberKind::Integer)
                kind = found;
        }
        if (anyValue && kind == NumberKind::Integer) {
            field.typeCode = int(JetType::Long);
            field.nativeType = QStringLiteral("Long");
            field.size = 4;
        } else if (anyValue && kind == NumberKind::Decimal) {
            field.typeCode = int(JetType::Double);
            field.nativeType = QStringLiteral("Double");
            field.size = 8;
        } else {
            field.typeCode = int(JetType::Text);
            field.nativeType = QStringLiteral("Text");
            field.size = textFieldSize;
        }
        m_fields.append(field);
    }
}

bool CsvTable::isLive(qint64 slot) const
{
    return hasSlot(slot) && !m_edits.deleted[size_t(slot)];
}

// The text of a cell; *present is false when the row has no such field.
QString CsvTable::fieldText(qint64 slot, int column, bool *present) const
{
    const QStringList *row = nullptr;
    if (slot >= m_fileRows) {
        row = &m_edits.inserted.at(slot - m_fileRows);
    } else if (!m_edits.changed.isEmpty()) {
        const auto found = m_edits.changed.constFind(slot);
        row = found != m_edits.changed.cend() ? &*found : nullptr;
    }
    if (row) {
        *present = column < row->size();
        return *present ? row->at(column) : QString();
    }
    const QByteArray bytes = rawField(slot + 1, column);
    *present = !bytes.isNull();
    return QString::fromUtf8(bytes);
}

QVariant CsvTable::value(qint64 slot, int column) const
{
    if (!hasCell(slot, column))
        return {};
    const auto type = static_cast<JetType>(m_fields.at(column).typeCode);
    // A number of the file is read from its bytes, without a text in between.
    if (type != JetType::Text && slot < m_fileRows &&
        (m_edits.changed.isEmpty() || !m_edits.changed.contains(slot))) {
        const QByteArray bytes = rawField(slot + 1, column);
        if (bytes.isEmpty())
            return {};
        bool ok = false;
        const QVariant number = type == JetType::Long ? QVariant(bytes.toLongLong(&ok))
                                                      : QVariant(bytes.toDouble(&ok));
        return ok ? number : QVariant(QString::fromUtf8(bytes));
    }
    bool present = false;
    const QString text = fieldText(slot, column, &present);
    if (text.isEmpty())
        return {};
    bool ok = false;
    switch (type) {
    case JetType::Long: {
        const qlonglong number = text.toLongLong(&ok);
        return ok ? QVariant(number) : QVariant(text);
    }
    case JetType::Double: {
        const double number = text.toDouble(&ok);
        return ok ? QVariant(number) : QVariant(text);
    }
    default:
        return text;
    }
}

bool CsvTable::textUtf8(qint64 slot, int column, std::string *utf8, bool *isNull) const
{
    if (!hasCell(slot, column) || m_fields.at(column).typeCode != int(JetType::Text))
        return false;
    QByteArray bytes;
    if (slot < m_fileRows && (m_edits.changed.isEmpty() || !m_edits.changed.contains(slot))) {
        bytes = rawField(slot + 1, column);
    } else {
        bool present = false;
        bytes = fieldText(slot, column, &present).toUtf8();
    }
    *isNull = bytes.isEmpty();
    utf8->assign(bytes.constData(), size_t(bytes.size()));
    return true;
}

// The text a value is written as; a value the file's code page cannot hold is refused.
QString CsvTable::textOf(int column, const QVariant &value, QString *error) const
{
    if (value.isNull())
        return {};
    const QString text = value.metaType().id() == QMetaType::Double &&
                                 m_fields.at(column).typeCode != int(JetType::Text)
                             ? QString::number(value.toDouble(), 'g', 15)
                             : value.toString();
    QString unmappable;
    if (m_encoding == Encoding::CodePage)
        m_codePage.encode(text, &unmappable);
    if (!unmappable.isEmpty() && error)
        *error = QStringLiteral("The field %1 of %2 cannot hold %3: its code page %4 has no "
                                "character \"%5\"")
                     .arg(m_fields.at(column).name, m_name, text.left(40))
                     .arg(m_codePage.number())
                     .arg(unmappable);
    return unmappable.isEmpty() ? text : QString();
}

// Puts values into a row (which keeps its other fields); false when one cannot be written.
bool CsvTable::rowOf(const QMap<int, QVariant> &values, QStringList *row, QString *error) const
{
    while (row->size() < m_fields.size())
        row->append(QString());
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        QString problem;
        const QString text = textOf(it.key(), it.value(), &problem);
        if (!problem.isEmpty()) {
            if (error)
                *error = problem;
            return false;
        }
        (*row)[it.key()] = text;
    }
    return true;
}

bool CsvTable::beginWrite(QString *)
{
    m_saved = m_edits;
    m_dirty = false;
    return true;
}

bool CsvTable::insertRow(const QMap<int, QVariant> &values, qint64 *slot, QString *error)
{
    if (!m_readOnlyReason.isEmpty())
        return refuseWrite(error);
    QStringList row;
    if (!checkColumns(values, error) || !rowOf(values, &row, error))
        return false;
    m_edits.inserted.append(row);
    m_edits.deleted.push_back(false);
    *slot = slotCount() - 1;
    m_dirty = true;
    return true;
}

bool CsvTable::updateRow(qint64 slot, const QMap<int, QVariant> &changes, QString *error)
{
    if (!m_readOnlyReason.isEmpty())
        return refuseWrite(error);
    if (!checkLiveSlot(slot, error) || !checkColumns(changes, error))
        return false;
    QStringList row;
    if (slot >= m_fileRows) {
        row = m_edits.inserted.at(slot - m_fileRows);
    } else if (const auto found = m_edits.changed.constFind(slot);
               found != m_edits.changed.cend()) {
        row = *found;
    } else {
        bool present = true;
        for (int c = 0; present; ++c) {
            const QString text = fieldText(slot, c, &present);
            if (present)
                row.append(text);
        }
    }
    if (!rowOf(changes, &row, error))
        return false;
    if (slot >= m_fileRows)
        m_edits.inserted[slot - m_fileRows] = row;
    else
        m_edits.changed.insert(slot, row);
    m_dirty = true;
    return true;
}

bool CsvTable::deleteRow(qint64 slot, QString *error)
{
    if (!m_readOnlyReason.isEmpty())
        return refuseWrite(error);
    if (!checkLiveSlot(slot, error))
        return false;
    m_edits.deleted[size_t(slot)] = true;
    m_dirty = true;
    return true;
}

// The file as it now reads, in its encoding: rows nobody changed keep their bytes.
QByteArray CsvTable::fileBytes() const
{
    const QByteArray lineEnd = lineEndText(m_layout.dialect.lineEnd).toLatin1();
    const std::vector<quint32> &ends = m_layout.fieldEnds;
    QByteArray text;
    text.reserve(m_text.size() + lineEnd.size());
    for (qsizetype record = 0; record < m_layout.recordCount(); ++record) {
        const qint64 slot = record - 1;
        if (slot >= 0 && m_edits.deleted[size_t(slot)])
            continue;
        if (const auto found = m_edits.changed.constFind(slot); found != m_edits.changed.cend()) {
            text += format({*found}, m_layout.dialect).toUtf8();
            continue;
        }
        const qsizetype next = record + 1 < m_layout.recordCount()
                                   ? qsizetype(m_layout.firstFields[size_t(record) + 1])
                                   : qsizetype(ends.size());
        const qsizetype start = m_layout.recordStarts[size_t(record)];
        text.append(m_text.constData() + start, ends[size_t(next - 1)] - start).append(lineEnd);
    }
    for (qsizetype i = 0; i < m_edits.inserted.size(); ++i) {
        if (!m_edits.deleted[size_t(m_fileRows + i)])
            text += format({m_edits.inserted.at(i)}, m_layout.dialect).toUtf8();
    }
    const auto encoded = [&text](QStringEncoder::Encoding encoding) {
        QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
        return QByteArray(encoder.encode(QString::fromUtf8(text)));
    };
    switch (m_encoding) {
    case Encoding::Utf8:
        return text;
    case Encoding::Utf8Bom:
        return "\xEF\xBB\xBF" + text;
    case Encoding::Utf16Le:
        return encoded(QStringEncoder::Utf16LE);
    case Encoding::Utf16Be:
        return encoded(QStringEncoder::Utf16BE);
    case Encoding::Utf32Le:
        return encoded(QStringEncoder::Utf32LE);
    case Encoding::Utf32Be:
        return encoded(QStringEncoder::Utf32BE);
    case Encoding::CodePage:
        break;
    }
    return m_codePage.encode(QString::fromUtf8(text));
}

bool CsvTable::commitWrite(QString *error)
{
    if (!m_dirty)
        return true;
    const QByteArray bytes = fileBytes();
    FileTransaction change(
        m_path, m_backedUp || m_backupSuffix.isEmpty() ? QString() : m_path + m_backupSuffix);
    bool ok = change.begin(error);
    if (ok) {
        m_backedUp = true;
        QFile file(change.workingPath());
        ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
             file.write(bytes) == bytes.size() && file.flush() &&
             MappedFile::syncToDisk(file.handle());
        if (!ok && error)
            *error = QStringLiteral("Cannot write %1: %2").arg(m_path, file.errorString());
        file.close();
        ok = ok && change.commit(error);
    }
    if (!ok) {
        rollbackWrite();
        return false;
    }
    // Deleted rows are gone from the file; slots stay as they are until the next open.
    m_saved = m_edits;
    m_dirty = false;
    return true;
}

void CsvTable::rollbackWrite()
{
    if (!m_dirty)
        return;
    m_edits = m_saved;
    m_dirty = false;
}
