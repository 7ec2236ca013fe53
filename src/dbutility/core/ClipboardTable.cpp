#include "ClipboardTable.h"

namespace
{

const QChar quote = QLatin1Char('"');
const QChar tab = QLatin1Char('\t');

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

} // namespace

QString ClipboardTable::text(const QList<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                text.append(tab);
            const QString &cell = row.at(c);
            const bool quoted = cell.contains(tab) || cell.contains(QLatin1Char('\n')) ||
                                cell.contains(QLatin1Char('\r')) || cell.startsWith(quote);
            if (quoted)
                text.append(quote + QString(cell).replace(quote, QStringLiteral("\"\"")) + quote);
            else
                text.append(cell);
        }
        text.append(QLatin1Char('\n'));
    }
    return text;
}

QList<QStringList> ClipboardTable::rows(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        const QChar c = text.at(i);
        if (c == quote && cell.isEmpty()) {
            // A quoted cell: up to the closing quote; "" inside stands for one quote.
            for (++i; i < size; ++i) {
                if (text.at(i) != quote) {
                    cell.append(text.at(i));
                } else if (i + 1 < size && text.at(i + 1) == quote) {
                    cell.append(quote);
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            continue;
        }
        if (c == tab) {
            row.append(cell);
            cell.clear();
        } else if (isLineEnd(c)) {
            if (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            row.append(cell);
            cell.clear();
            rows.append(row);
            row.clear();
        } else {
            cell.append(c);
        }
        ++i;
    }
    if (!cell.isEmpty() || !row.isEmpty()) {
        row.append(cell);
        rows.append(row);
    }
    return rows;
}
