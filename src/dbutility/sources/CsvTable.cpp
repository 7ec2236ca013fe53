#include "CsvTable.h"

#include "FieldNames.h"
#include "FieldTypeNames.h"
#include "FileTransaction.h"
#include "MappedFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <cmath>

namespace
{

constexpr QChar quote = QLatin1Char('"');
// Jet's text driver reports text fields as 255 characters wide.
constexpr int textFieldSize = 255;

// "007" and "-01" are codes, not numbers: they would lose their zeros.
bool hasLeadingZero(const QString &text)
{
    const qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    return text.size() > start + 1 && text.at(start) == QLatin1Char('0') &&
           text.at(start + 1).isDigit();
}

bool isInteger(const QString &text)
{
    bool ok = false;
    text.toLongLong(&ok);
    return ok && !text.startsWith(QLatin1Char('+')) && !hasLeadingZero(text);
}

bool isDouble(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) && !text.startsWith(QLatin1Char('+')) &&
           !hasLeadingZero(text);
}

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

} // namespace

CsvTable::~CsvTable() = default;

QString CsvTable::decode(const QByteArray &bytes, int codePage, Encoding *encoding)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        *encoding = Encoding::Utf8Bom;
        return QString::fromUtf8(bytes.mid(3));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        *encoding = Encoding::Utf8;
        return text;
    }
    *encoding = Encoding::CodePage;
    return CodePage(codePage > 0 ? codePage : 1252).decode(bytes);
}

CsvTable::Parsed CsvTable::parse(const QString &text, const Dialect *known)
{
    Parsed parsed;
    // The separator is the most frequent candidate in the first record outside quotes.
    int counts[3] = {0, 0, 0};
    const QChar candidates[3] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};
    bool quoted = false;
    bool lineEndFound = false;
    for (qsizetype i = 0; i < text.size() && !lineEndFound; ++i) {
        const QChar c = text.at(i);
        if (c == quote) {
            quoted = !quoted;
        } else if (!quoted && (c == QLatin1Char('\r') || c == QLatin1Char('\n'))) {
            lineEndFound = true;
            if (c == QLatin1Char('\n'))
                parsed.dialect.lineEnd = LineEnd::Lf;
            else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                parsed.dialect.lineEnd = LineEnd::CrLf;
            else
                parsed.dialect.lineEnd = LineEnd::Cr;
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
    const QChar separator = known ? known->separator : candidates[best];
    parsed.dialect.separator = separator;
    // \" counts as an escaped quote only when text follows it; "C:\dir\", ends a field.
    for (qsizetype i = known ? -1 : text.indexOf(QLatin1String("\\\""));
         i >= 0 && !parsed.dialect.backslashEscape;
         i = text.indexOf(QLatin1String("\\\""), i + 1)) {
        const QChar next = i + 2 < text.size() ? text.at(i + 2) : QLatin1Char('\n');
        parsed.dialect.backslashEscape =
            next != separator && next != QLatin1Char('\r') && next != QLatin1Char('\n');
    }
    if (known)
        parsed.dialect.backslashEscape = known->backslashEscape;
    const bool backslashEscape = parsed.dialect.backslashEscape;

    QStringList record;
    QString field;
    bool fieldQuoted = false;
    bool allQuoted = true;
    bool anyField = false;
    qsizetype i = 0;
    const qsizetype size = text.size();
    const auto endField = [&] {
        record.append(field);
        allQuoted = allQuoted && fieldQuoted;
        anyField = true;
        field.clear();
        fieldQuoted = false;
    };
    const auto endRecord = [&] {
        endField();
        parsed.records.append(record);
        record.clear();
    };
    bool atRecordStart = true;
    while (i < size) {
        const QChar c = text.at(i);
        if (c == quote && field.isEmpty() && !fieldQuoted) {
            // A quoted field: up to the closing quote; "" inside stands for one quote.
            fieldQuoted = true;
            ++i;
            while (i < size) {
                if (backslashEscape && text.at(i) == QLatin1Char('\\') && i + 1 < size &&
                    text.at(i + 1) == quote && i + 2 < size && text.at(i + 2) != separator &&
                    text.at(i + 2) != QLatin1Char('\r') && text.at(i + 2) != QLatin1Char('\n')) {
                    field.append(quote);
                    i += 2;
                    continue;
                }
                if (text.at(i) == quote) {
                    if (i + 1 < size && text.at(i + 1) == quote) {
                        field.append(quote);
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.append(text.at(i));
                ++i;
            }
            atRecordStart = false;
            continue;
        }
        if (c == separator) {
            endField();
            ++i;
            atRecordStart = false;
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            i += (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
                     ? 2
                     : 1;
            // Blank lines between records are skipped.
            if (!(atRecordStart && field.isEmpty() && !fieldQuoted))
                endRecord();
            atRecordStart = true;
            continue;
        }
        field.append(c);
        atRecordStart = false;
        ++i;
    }
    if (!atRecordStart || !field.isEmpty() || fieldQuoted)
        endRecord();
    parsed.dialect.quoteAll = anyField && allQuoted;
    return parsed;
}

QString CsvTable::format(const QList<QStringList> &records, const Dialect &dialect)
{
    const QString lineEnd = lineEndText(dialect.lineEnd);
    QString text;
    for (const QStringList &record : records) {
        for (qsizetype f = 0; f < record.size(); ++f) {
            if (f > 0)
                text.append(dialect.separator);
            const QString &field = record.at(f);
            const bool needsQuotes =
                dialect.quoteAll || field.contains(dialect.separator) || field.contains(quote) ||
                field.contains(QLatin1Char('\r')) || field.contains(QLatin1Char('\n')) ||
                field.startsWith(QLatin1Char(' ')) || field.endsWith(QLatin1Char(' '));
            if (needsQuotes) {
                QString escaped;
                for (qsizetype k = 0; k < field.size(); ++k) {
                    if (field.at(k) != quote) {
                        escaped.append(field.at(k));
                        continue;
                    }
                    // \" reads back as a quote only when text follows it; else the quote is
                    // doubled.
                    const QChar next = k + 1 < field.size() ? field.at(k + 1) : QLatin1Char('\n');
                    const bool backslash = dialect.backslashEscape && next != dialect.separator &&
                                           next != QLatin1Char('\r') && next != QLatin1Char('\n');
                    escaped.append(backslash ? QLatin1String("\\\"") : QLatin1String("\"\""));
                }
                text.append(quote + escaped + quote);
            } else {
                text.append(field);
            }
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
    const QByteArray bytes = file.readAll();
    if (bytes.contains('\0')) {
        if (error)
            *error =
                QStringLiteral("%1 is not a text table: it holds binary data").arg(info.fileName());
        return nullptr;
    }
    std::unique_ptr<CsvTable> table(new CsvTable);
    table->m_path = info.absoluteFilePath();
    table->m_name = info.fileName();
    table->m_backupSuffix = options.backupSuffix;
    table->m_codePage = CodePage(options.codePage > 0 ? options.codePage : 1252);
    const QString text = decode(bytes, options.codePage, &table->m_encoding);
    Parsed parsed = parse(text);
    if (parsed.records.isEmpty()) {
        if (error)
            *error =
                QStringLiteral("%1 is not a text table: it has no header row").arg(info.fileName());
        return nullptr;
    }
    table->m_dialect = parsed.dialect;
    table->m_header = parsed.records.takeFirst();
    table->m_rows = std::move(parsed.records);
    table->m_deleted = QList<bool>(table->m_rows.size(), false);
    table->guessTypes();
    if (!info.isWritable())
        table->m_readOnlyReason = QStringLiteral("%1 is read-only").arg(table->m_name);
    return table;
}

void CsvTable::guessTypes()
{
    FieldNames names(QStringLiteral("F"));
    m_fields.clear();
    for (qsizetype c = 0; c < m_header.size(); ++c) {
        SourceField field;
        field.name = names.add(m_header.at(c));
        // A column whose every value is a whole number is Long, every value a number Double.
        bool allInteger = true;
        bool allNumber = true;
        bool anyValue = false;
        for (const QStringList &row : std::as_const(m_rows)) {
            if (c >= row.size() || row.at(c).isEmpty())
                continue;
            anyValue = true;
            const QString &text = row.at(c);
            allInteger = allInteger && isInteger(text);
            allNumber = allNumber && (allInteger || isDouble(text));
            if (!allNumber)
                break;
        }
        if (anyValue && allInteger) {
            field.typeCode = int(JetType::Long);
            field.nativeType = QStringLiteral("Long");
            field.size = 4;
        } else if (anyValue && allNumber) {
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
    return hasSlot(slot) && !m_deleted.at(slot);
}

QVariant CsvTable::value(qint64 slot, int column) const
{
    if (!hasCell(slot, column))
        return {};
    const QStringList &row = m_rows.at(slot);
    if (column >= row.size() || row.at(column).isEmpty())
        return {};
    const QString &text = row.at(column);
    switch (static_cast<JetType>(m_fields.at(column).typeCode)) {
    case JetType::Long: {
        bool ok = false;
        const qlonglong number = text.toLongLong(&ok);
        return ok ? QVariant(number) : QVariant(text);
    }
    case JetType::Double: {
        bool ok = false;
        const double number = text.toDouble(&ok);
        return ok ? QVariant(number) : QVariant(text);
    }
    default:
        return text;
    }
}

QString CsvTable::textOf(int column, const QVariant &value) const
{
    if (value.isNull())
        return {};
    if (value.metaType().id() == QMetaType::Double &&
        m_fields.at(column).typeCode != int(JetType::Text))
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

bool CsvTable::beginWrite(QString *)
{
    m_savedRows = m_rows;
    m_savedDeleted = m_deleted;
    m_dirty = false;
    return true;
}

bool CsvTable::insertRow(const QMap<int, QVariant> &values, qint64 *slot, QString *error)
{
    if (!m_readOnlyReason.isEmpty())
        return refuseWrite(error);
    QStringList row;
    for (int c = 0; c < m_fields.size(); ++c)
        row.append(textOf(c, values.value(c)));
    m_rows.append(row);
    m_deleted.append(false);
    *slot = m_rows.size() - 1;
    m_dirty = true;
    return true;
}

bool CsvTable::updateRow(qint64 slot, const QMap<int, QVariant> &changes, QString *error)
{
    if (!m_readOnlyReason.isEmpty())
        return refuseWrite(error);
    if (!checkLiveSlot(slot, error))
        return false;
    QStringList &row = m_rows[slot];
    while (row.size() < m_fields.size())
        row.append(QString());
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        if (hasColumn(it.key()))
            row[it.key()] = textOf(it.key(), it.value());
    }
    m_dirty = true;
    return true;
}

bool CsvTable::deleteRow(qint64 slot, QString *error)
{
    if (!m_readOnlyReason.isEmpty())
        return refuseWrite(error);
    if (!checkLiveSlot(slot, error))
        return false;
    m_deleted[slot] = true;
    m_dirty = true;
    return true;
}

bool CsvTable::commitWrite(QString *error)
{
    if (!m_dirty)
        return true;
    QList<QStringList> records{m_header};
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        if (!m_deleted.at(i))
            records.append(m_rows.at(i));
    }
    const QString text = format(records, m_dialect);
    QByteArray bytes;
    switch (m_encoding) {
    case Encoding::Utf8Bom:
        bytes = "\xEF\xBB\xBF" + text.toUtf8();
        break;
    case Encoding::Utf8:
        bytes = text.toUtf8();
        break;
    case Encoding::CodePage:
        bytes = m_codePage.encode(text);
        break;
    }
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
    // Deleted rows are gone from the file; keep slots stable until the next open.
    m_savedRows = m_rows;
    m_savedDeleted = m_deleted;
    m_dirty = false;
    return true;
}

void CsvTable::rollbackWrite()
{
    if (!m_dirty)
        return;
    m_rows = m_savedRows;
    m_deleted = m_savedDeleted;
    m_dirty = false;
}
