#include "EditorText.h"

#include "SharedRoutines.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

QString EditorText::timeStamp(Stamp kind, QTime time)
{
    QString format;
    switch (kind) {
    case Stamp::Medium:
        format = QStringLiteral("hh:mm AP");
        break;
    case Stamp::Long:
        format = QStringLiteral("hh:mm:ss AP");
        break;
    case Stamp::Short:
        format = QStringLiteral("H:mm");
        break;
    }
    return QStringLiteral(" Time: ") + QLocale::c().toString(time, format);
}

QString EditorText::dateStamp(Stamp kind, QDate date, bool national)
{
    QString format;
    switch (kind) {
    case Stamp::Medium:
        format = national ? QStringLiteral("dd MMM-yyyy") : QStringLiteral("MMM dd-yyyy");
        break;
    case Stamp::Short:
        format = national ? QStringLiteral("d MMM-yy") : QStringLiteral("MMM d-yy");
        break;
    case Stamp::Long:
        format = QStringLiteral("dddd MMMM dd yyyy");
        break;
    }
    return QStringLiteral("  Date: ") + FormatDate(date.startOfDay(), format);
}

QString EditorText::changeCase(const QString &text, Case kind)
{
    switch (kind) {
    case Case::Lower:
        return text.toLower();
    case Case::Upper:
        return text.toUpper();
    case Case::Invert:
        break;
    }
    QString inverted = text;
    for (QChar &c : inverted) {
        if (c.isUpper())
            c = c.toLower();
        else if (c.isLower())
            c = c.toUpper();
    }
    return inverted;
}

QTextCursor EditorText::findWord(const QTextDocument &document, const QString &word,
                                 const QTextCursor &from)
{
    if (word.trimmed().isEmpty())
        return QTextCursor();
    QTextCursor found = document.find(word, from, QTextDocument::FindWholeWords);
    if (found.isNull())
        found = document.find(word, 0, QTextDocument::FindWholeWords);
    return found;
}

int EditorText::lineOf(const QTextDocument &document, int position)
{
    const QTextBlock block = document.findBlock(position);
    if (!block.isValid())
        return 0;
    int line = int(block.text().left(position - block.position()).count(QChar::LineSeparator));
    for (QTextBlock earlier = block.previous(); earlier.isValid(); earlier = earlier.previous())
        line += 1 + int(earlier.text().count(QChar::LineSeparator));
    return line;
}

const QList<qint64> &EditorText::textPalette()
{
    static const QList<qint64> palette = {
        0x800080, 0xC00000, 0xC000C0, 0x800000, 0x4080,   0x8000,   0x4000,   0x400040, 0x808000,
        0x80,     0x800000, 0x404080, 0x800080, 0xC00000, 0xC000C0, 0x800000, 0x4080,   0x8000,
        0x4000,   0x400040, 0x808000, 0x80,     0x800000, 0x404080, 0x800000, 0x404080};
    return palette;
}

const QList<qint64> &EditorText::backPalette()
{
    static const QList<qint64> palette = {
        0xC0C0FF, 0xFF80FF, 0xFFFFC0, 0xFF0000, 0xFFFF00, 0xC0C0C0, 0xFF8080,
        0x80FFFF, 0xFF8080, 0xFF00,   0xCD7887, 0x808080, 0xCFD5F8, 0xB9DBDA,
        0x80DFE0, 0xAEBAD0, 0xB1DAD5, 0x8683F8, 0xECC4D6, 0xACDBEC, 0xAEBAE8,
        0xB3C6B3, 0xCCD0BB, 0xD0B6AE, 0x8AC6DF, 0x8697DD, 0xC8B8A4, 0x9EB8DE};
    return palette;
}
