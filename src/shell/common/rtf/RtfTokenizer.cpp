#include "RtfTokenizer.h"

#include <algorithm>
#include <climits>

namespace
{

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

RtfTokenizer::Token RtfTokenizer::control()
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
    for (int i = 0; i < 2 && m_pos < m_end && hexValue(*m_pos) >= 0; ++i)
        value = value * 16 + hexValue(*m_pos++);
    return token(Kind::HexByte, {}, char(value));
}

RtfTokenizer::Token RtfTokenizer::word()
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

bool RtfTokenizer::onlyBlanksLeft() const
{
    return std::all_of(m_pos, m_end, [](char c) {
        return c == '\0' || c == ' ' || c == '\r' || c == '\n' || c == '\t';
    });
}
