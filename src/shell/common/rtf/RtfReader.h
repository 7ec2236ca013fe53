#pragma once

#include "RtfCodePage.h"
#include "RtfColorTable.h"
#include "RtfControlWords.h"
#include "RtfDocumentBuilder.h"
#include "RtfFieldInstruction.h"
#include "RtfFontTable.h"
#include "RtfGroupState.h"
#include "RtfListTable.h"
#include "RtfPicture.h"
#include "RtfStyleSheet.h"
#include "RtfTokenizer.h"

#include <QByteArray>
#include <QFlags>
#include <QString>

#include <string_view>
#include <vector>

class QTextDocument;

// Reads RTF into a QTextDocument: character and paragraph formats (page breaks, tab stops, line
// spacing and heading styles among them), lists, tables, PNG and JPEG pictures, Windows
// metafiles kept for writing back, and field results. Destinations it does not show (headers,
// footers, document info, anything under \*) are skipped. Damaged input never stops it: it keeps
// what it could read and reports the damage.
class RtfReader
{
public:
    enum class Damage {
        None = 0,
        NotRtf = 0x01,           // the input does not start with {\rtf
        UnbalancedBraces = 0x02, // a '}' without its '{', or text after the last group
        Truncated = 0x04,        // the input ends inside a group
        BadBinary = 0x08,        // \binN with a negative N or more bytes than the input holds
        TooDeep = 0x10,          // groups nested deeper than MaxDepth; the inner ones are skipped
        UnknownCodePage = 0x20,  // text in a code page iconv does not know, read as 1252
        BadPicture = 0x40,       // PNG or JPEG data that does not decode
    };
    Q_DECLARE_FLAGS(DamageFlags, Damage)

    // Groups nested deeper than this are skipped (their braces still count).
    static constexpr int MaxDepth = 256;
    // Adding to a QTextList costs time in proportion to its length, so lists are kept short:
    // bullet lists are split (they look the same); numbered items past the limit keep the
    // number the file gives as text.
    static constexpr int BulletListChunk = RtfDocumentBuilder::BulletListChunk;
    static constexpr int MaxNumberedItems = RtfDocumentBuilder::MaxNumberedItems;

    // Replaces the content of document by the text of rtf. Returns true when the input was
    // undamaged; damage() then tells what was wrong.
    bool read(const QByteArray &rtf, QTextDocument *document);
    DamageFlags damage() const { return m_damage; }

private:
    // RtfTokenizer splits the input; the reader keeps the group stack and sends text and
    // control words to the destination they belong to (the font, colour and list tables, a
    // picture, a field instruction); RtfDocumentBuilder puts the text destination into the
    // document.
    using Destination = RtfGroupState::Destination;
    using Word = RtfControlWords::Word;

    void reset(QTextDocument *document);
    void parse();
    void readText(std::string_view bytes);
    void readHexByte(char byte);
    void readSymbol(char symbol);
    void readWord(const RtfTokenizer::Token &token);
    void pushGroup();
    void popGroup();
    void endDestination(Destination ended);
    void setDestination(Destination destination);

    // Control symbols and words; one handler per group of words (RtfReader_Words.cpp).
    void handleSymbol(char symbol);
    void handleWord(std::string_view word, bool hasParam, int param);
    void destinationWord(Word word);
    void listWord(Word word, int param);
    void numberingWord(Word word, int param);
    void documentWord(Word word, int param);
    void characterWord(Word word, bool hasParam, int param);
    void paragraphWord(Word word, int param);
    // Page breaks, tab stops, line spacing and paragraph styles.
    void layoutWord(Word word, int param);
    void breakWord(Word word, int param);
    void pictureWord(Word word, int param);

    RtfGroupState &state() { return m_stack.back(); }
    int textCodePage() const;
    void appendBytes(const char *data, qsizetype size);
    void appendChar(char16_t c);
    void flushBytes();
    void addText(const QString &text);
    void insertPicture();

    DamageFlags m_damage;
    RtfTokenizer m_tokens;
    RtfCodePage m_codePages;

    std::vector<RtfGroupState> m_stack;
    int m_overflowDepth = 0; // groups below MaxDepth that are being skipped
    int m_skipCount = 0;     // characters still to skip after \uN
    int m_ansiCodePage = 1252;
    int m_footnoteCount = 0;
    bool m_ignorable = false; // the last control was \*
    bool m_documentEnded = false;
    QByteArray m_bytes; // 8-bit text not yet decoded

    // The destinations the reader keeps, and the document it builds from them.
    RtfFontTable m_fonts;
    RtfColorTable m_colors;
    RtfListTable m_lists;
    RtfPicture m_picture;
    RtfFieldInstruction m_field;
    RtfStyleSheet m_styles;
    RtfDocumentBuilder m_builder{m_fonts, m_colors, m_lists, &m_styles};
};

Q_DECLARE_OPERATORS_FOR_FLAGS(RtfReader::DamageFlags)
