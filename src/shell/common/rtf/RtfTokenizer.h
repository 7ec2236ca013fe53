#pragma once

#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <string_view>

// Splits RTF into tokens: braces, runs of text bytes, \'hh bytes, control symbols and control
// words with their parameter. Line breaks in the source are not text and are dropped. It knows
// nothing of groups or destinations; the data of \binN is taken by the caller with take().
// The tokens point into the input, which must outlive them.
class RtfTokenizer
{
public:
    enum class Kind {
        End,
        GroupStart,
        GroupEnd,
        Text,    // text: one or more bytes, none of them a brace, backslash or line break
        HexByte, // byte: the value of \'hh (of the hex digits there are, one or two)
        Symbol,  // byte: the character after the backslash
        Word,    // text: the letters; hasParam and param: its number, cut to the int range
    };

    struct Token {
        Kind kind = Kind::End;
        std::string_view text;
        char byte = 0;
        bool hasParam = false;
        int param = 0;
    };

    void reset(const char *begin, const char *end)
    {
        m_pos = begin;
        m_end = end;
    }

    // The next token; Kind::End at the end of the input (also after a lone final backslash).
    Token next()
    {
        while (m_pos < m_end) {
            switch (*m_pos) {
            case '{':
                ++m_pos;
                return token(Kind::GroupStart);
            case '}':
                ++m_pos;
                return token(Kind::GroupEnd);
            case '\\':
                return control();
            case '\r':
            case '\n':
                ++m_pos;
                break;
            default:
                return text();
            }
        }
        return Token{};
    }

    qsizetype remaining() const { return m_end - m_pos; }
    // Takes count bytes as they are; count is at most remaining().
    std::string_view take(qsizetype count)
    {
        const std::string_view bytes(m_pos, size_t(count));
        m_pos += count;
        return bytes;
    }
    void skipToEnd() { m_pos = m_end; }
    // The rows of the table whose first row is being read, counted on the input that is left:
    // each \row ends one; the table goes on while its paragraphs are marked \intbl, and text or
    // a \par outside such a paragraph ends it. Groups under \* are passed over. A hint for
    // making rows ahead: a wrong count costs time, never text.
    int tableRowsAhead() const;
    // Whether what is left holds nothing but blanks, line breaks and NUL bytes.
    bool onlyBlanksLeft() const;

    // The value of a hex digit, or -1 for any other character.
    static int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

private:
    static Token token(Kind kind, std::string_view text = {}, char byte = 0)
    {
        Token made;
        made.kind = kind;
        made.text = text;
        made.byte = byte;
        return made;
    }
    Token text()
    {
        const char *start = m_pos;
        while (m_pos < m_end && *m_pos != '{' && *m_pos != '}' && *m_pos != '\\' &&
               *m_pos != '\r' && *m_pos != '\n')
            ++m_pos;
        return token(Kind::Text, std::string_view(start, size_t(m_pos - start)));
    }
    Token control();
    Token word();
    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    const char *m_pos = nullptr;
    const char *m_end = nullptr;
};

// The tokenizer is the reader's innermost loop: all of it inlines.
inline RtfTokenizer::Token RtfTokenizer::control()
{
    ++m_pos; // the backslash
    if (m_pos >= m_end)
        return Token{};
    if (isLetter(*m_pos))
        return word();
    const char symbol = *m_pos++;
    if (symbol != '\'')
        return token(Kind::Symbol, {}, symbol);
    int value = 0;
    int digits = 0;
    for (; digits < 2 && m_pos < m_end && hexValue(*m_pos) >= 0; ++digits)
        value = value * 16 + hexValue(*m_pos++);
    // \' without a hex digit is no byte at all (it was read as NUL): a symbol that shows nothing.
    if (digits == 0)
        return token(Kind::Symbol, {}, symbol);
    return token(Kind::HexByte, {}, char(value));
}

inline RtfTokenizer::Token RtfTokenizer::word()
{
    const char *start = m_pos;
    while (m_pos < m_end && isLetter(*m_pos))
        ++m_pos;
    Token made = token(Kind::Word, std::string_view(start, size_t(m_pos - start)));
    bool negative = false;
    if (m_pos + 1 < m_end && *m_pos == '-' && isDigit(m_pos[1])) {
        negative = true;
        ++m_pos;
    }
    qint64 value = 0;
    while (m_pos < m_end && isDigit(*m_pos)) {
        made.hasParam = true;
        if (value <= INT_MAX)
            value = value * 10 + (*m_pos - '0');
        ++m_pos;
    }
    // One space ends the word and belongs to it.
    if (m_pos < m_end && *m_pos == ' ')
        ++m_pos;
    value = std::min<qint64>(value, INT_MAX);
    made.param = int(negative ? -value : value);
    return made;
}
