#include "ListDocument.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace
{

const QString Magic = QStringLiteral("NuvelaList");

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text[++i];
        switch (next.unicode()) {
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default: // not an escape this version writes: kept as it stands
            out += c;
            out += next;
        }
    }
    return out;
}

QString alignmentName(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return QStringLiteral("right");
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("center");
    return QStringLiteral("left");
}

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

// A whole non-negative number field; false when it is not one or exceeds limit.
bool number(const QString &field, qint64 limit, qint64 *out)
{
    bool ok = false;
    const qint64 value = field.toLongLong(&ok);
    if (!ok || value < 0 || value > limit)
        return false;
    *out = value;
    return true;
}

} // namespace

ListDocument::ListDocument(int rows, int columns)
{
    resize(rows, columns);
}

void ListDocument::resize(int rows, int columns)
{
    columns = std::max(0, columns);
    rows = std::max(0, rows);
    if (qint64(rows) * std::max(columns, 1) > MaxCells)
        rows = int(MaxCells / std::max(columns, 1));
    m_columns = columns;
    m_cells.resize(rows);
    for (QStringList &cells : m_cells)
        cells.resize(columns);
    m_layout.resize(columns);
    setFixed(m_fixedRows, m_fixedColumns);
}

void ListDocument::setFixed(int rows, int columns)
{
    m_fixedRows = std::clamp(rows, 0, this->rows());
    m_fixedColumns = std::clamp(columns, 0, m_columns);
}

QString ListDocument::cell(int row, int column) const
{
    if (row < 0 || row >= rows() || column < 0 || column >= m_columns)
        return QString();
    return m_cells[row][column];
}

void ListDocument::setCell(int row, int column, const QString &text)
{
    if (row >= 0 && row < rows() && column >= 0 && column < m_columns)
        m_cells[row][column] = text;
}

ListDocument::Column ListDocument::column(int column) const
{
    return column >= 0 && column < m_columns ? m_layout[column] : Column();
}

void ListDocument::setColumn(int column, const Column &layout)
{
    if (column >= 0 && column < m_columns)
        m_layout[column] = layout;
}

QString ListDocument::plainText() const
{
    QStringList lines;
    for (const QStringList &cells : m_cells) {
        QString line = cells.join('\t');
        while (line.endsWith('\t'))
            line.chop(1);
        if (!line.isEmpty())
            lines << line;
    }
    return lines.join('\n');
}

QByteArray ListDocument::write() const
{
    QString text = Magic + '\t' + QString::number(Version) + '\n';
    text += QStringLiteral("size\t%1\t%2\n").arg(rows()).arg(m_columns);
    text += QStringLiteral("fixed\t%1\t%2\n").arg(m_fixedRows).arg(m_fixedColumns);
    for (int c = 0; c < m_columns; ++c) {
        const Column &layout = m_layout[c];
        if (layout == Column())
            continue;
        text += QStringLiteral("column\t%1\t%2").arg(c).arg(layout.width);
        if (layout.hidden)
            text += QLatin1String("\thidden");
        text += '\t' + alignmentName(layout.alignment) + '\n';
    }
    for (int r = 0; r < rows(); ++r) {
        const QStringList &cells = m_cells[r];
        qsizetype used = cells.size();
        while (used > 0 && cells[used - 1].isEmpty())
            --used;
        if (used == 0)
            continue;
        text += QStringLiteral("row\t%1").arg(r);
        for (qsizetype c = 0; c < used; ++c)
            text += '\t' + escaped(cells[c]);
        text += '\n';
    }
    return text.toUtf8();
}

std::optional<ListDocument> ListDocument::read(const QByteArray &bytes, QString *error)
{
    const QString text = QString::fromUtf8(bytes);
    QList<QStringView> lines = QStringView(text).split('\n');
    if (lines.isEmpty() || !lines.front().startsWith(Magic + '\t')) {
        fail(error, QStringLiteral("This is not a list document."));
        return std::nullopt;
    }
    ListDocument list;
    bool sized = false;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QStringView line = lines[n];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const QList<QStringView> fields = line.split('\t');
        const QString kind = fields.front().toString();
        const auto bad = [&](const QString &what) {
            fail(error, QStringLiteral("Line %1 of the list document: %2.").arg(n + 1).arg(what));
            return std::nullopt;
        };
        qint64 a = 0;
        qint64 b = 0;
        if (n == 0) {
            if (fields.size() < 2 || !number(fields[1].toString(), INT_MAX, &a))
                return bad(QStringLiteral("no format version"));
            if (a > Version)
                return bad(
                    QStringLiteral("made by a later version of the program (format %1)").arg(a));
        } else if (kind == QLatin1String("size")) {
            if (fields.size() < 3 || !number(fields[1].toString(), MaxCells, &a) ||
                !number(fields[2].toString(), MaxCells, &b) ||
                a * std::max<qint64>(b, 1) > MaxCells)
                return bad(QStringLiteral("the size is not readable or too large"));
            list.resize(int(a), int(b));
            sized = true;
        } else if (!sized && (kind == QLatin1String("fixed") || kind == QLatin1String("column") ||
                              kind == QLatin1String("row"))) {
            return bad(QStringLiteral("cells before the size"));
        } else if (kind == QLatin1String("fixed")) {
            if (fields.size() < 3 || !number(fields[1].toString(), list.rows(), &a) ||
                !number(fields[2].toString(), list.columns(), &b))
                return bad(QStringLiteral("the fixed rows and columns are outside the size"));
            list.setFixed(int(a), int(b));
        } else if (kind == QLatin1String("column")) {
            if (fields.size() < 3 || !number(fields[1].toString(), list.columns() - 1, &a) ||
                !number(fields[2].toString(), INT_MAX, &b))
                return bad(QStringLiteral("a column outside the size"));
            Column layout;
            layout.width = int(b);
            for (qsizetype f = 3; f < fields.size(); ++f) {
                if (fields[f] == QLatin1String("hidden"))
                    layout.hidden = true;
                else if (fields[f] == QLatin1String("center"))
                    layout.alignment = Qt::AlignHCenter;
                else if (fields[f] == QLatin1String("right"))
                    layout.alignment = Qt::AlignRight;
            }
            list.setColumn(int(a), layout);
        } else if (kind == QLatin1String("row")) {
            if (fields.size() < 2 || !number(fields[1].toString(), list.rows() - 1, &a))
                return bad(QStringLiteral("a row outside the size"));
            if (fields.size() - 2 > list.columns())
                return bad(QStringLiteral("more cells than columns"));
            for (qsizetype f = 2; f < fields.size(); ++f)
                list.setCell(int(a), int(f - 2), unescaped(fields[f]));
        }
    }
    if (!sized) {
        fail(error, QStringLiteral("The list document has no size."));
        return std::nullopt;
    }
    return list;
}

bool ListDocument::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    const QByteArray bytes = write();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(error, file.errorString());
    return true;
}

std::optional<ListDocument> ListDocument::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, file.errorString());
        return std::nullopt;
    }
    // A list of MaxCells short cells stays well under this; more is not a list.
    constexpr qint64 MaxBytes = 512LL * 1024 * 1024;
    if (file.size() > MaxBytes) {
        fail(error, QStringLiteral("The list document is too large."));
        return std::nullopt;
    }
    return read(file.readAll(), error);
}
