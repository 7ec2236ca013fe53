#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QStringList>

class QTextBlock;
class QTextBlockFormat;
class QTextCharFormat;
class QTextDocument;
class QTextFrame;
class QTextImageFormat;
class QTextList;
class QTextTable;

// Writes a QTextDocument as RTF (\ansi, code page 1252, non-ASCII as \uN?): fonts, colours,
// character and paragraph formats (page breaks, tab stops, line spacing, heading styles), lists,
// tables and pictures (as PNG; pictures the reader kept, such as metafiles, as they came). The
// same document gives the same bytes.
class RtfWriter
{
public:
    QByteArray write(const QTextDocument &document);

private:
    void writeFrame(const QTextFrame *frame, bool inTable);
    void writeTable(const QTextTable *table);
    void writeBlock(const QTextBlock &block, bool inTable);
    void writeImage(const QTextImageFormat &format);
    void writeLayout(const QTextBlockFormat &format);
    QByteArray charFormatCode(const QTextCharFormat &format);
    QByteArray header() const;

    int fontIndex(const QString &family);
    int colorIndex(const QColor &color);
    int listNumber(const QTextList *list);

    const QTextDocument *m_document = nullptr;
    QByteArray m_body;
    // Tables in order of first use, with hashes to find an entry's index: a document of many
    // fonts or colours must not search the list for every run.
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QColor> m_colors;
    QHash<QRgb, int> m_colorIndex;
    QList<const QTextList *> m_lists;
    int m_headings = 0; // bit N: heading level N is used
    QHash<const QTextList *, int> m_listIndex;
    // The paragraph that ends a table cell writes \cell instead of \par.
    bool m_endsCell = false;
};
