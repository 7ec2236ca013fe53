#include "RtfPlainText.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

QString RtfPlainText::fromDocument(const QTextDocument &document)
{
    QString out;
    appendFrame(document.rootFrame(), out);
    return out;
}

void RtfPlainText::appendFrame(const QTextFrame *frame, QString &out)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        const QTextFrame *child = it.currentFrame();
        const auto *table = qobject_cast<const QTextTable *>(child);
        if (!child && it == frame->begin() && !frame->parentFrame() &&
            it.currentBlock().length() == 1) {
            // A document always holds a block before its first table; a word processor that
            // opens a table first shows no such paragraph.
            auto next = it;
            ++next;
            if (!next.atEnd() && qobject_cast<const QTextTable *>(next.currentFrame()))
                continue;
        }
        if (!table) {
            if (child)
                appendFrame(child, out);
            else
                out += blockText(it.currentBlock()) + u'\n';
            continue;
        }
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                if (column > 0)
                    out += u'\t';
                const QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() != row || cell.column() != column)
                    continue;
                QString text;
                for (auto inner = cell.begin(); !inner.atEnd(); ++inner) {
                    if (inner.currentFrame())
                        continue;
                    // A cell is one field of its row: its lines and paragraphs join with spaces.
                    const QString paragraph = blockText(inner.currentBlock()).replace(u'\n', u' ');
                    if (!text.isEmpty() && !paragraph.isEmpty())
                        text += u' ';
                    text += paragraph;
                }
                out += text;
            }
            out += u'\n';
        }
    }
}

QString RtfPlainText::blockText(const QTextBlock &block)
{
    QString text = block.text();
    text.remove(QChar::ObjectReplacementCharacter);
    text.replace(QChar::LineSeparator, u'\n');
    if (const QTextList *list = block.textList()) {
        const QTextListFormat::Style style = list->format().style();
        const bool bullet = style == QTextListFormat::ListDisc ||
                            style == QTextListFormat::ListCircle ||
                            style == QTextListFormat::ListSquare;
        text.prepend((bullet ? QStringLiteral("\u2022") : list->itemText(block)) + u'\t');
    }
    return text;
}
