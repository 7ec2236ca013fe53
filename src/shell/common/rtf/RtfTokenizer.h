#pragma once

#include <QtGlobal>

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
        HexByte, // byte: the value of \'hh (of the hex digits there are, up to two)
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

    const char *m_pos = nullptr;
    const char *m_end = nullptr;
};
