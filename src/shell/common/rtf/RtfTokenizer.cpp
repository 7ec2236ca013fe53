#include "RtfTokenizer.h"

#include <algorithm>

bool RtfTokenizer::onlyBlanksLeft() const
{
    return std::all_of(m_pos, m_end, [](char c) {
        return c == '\0' || c == ' ' || c == '\r' || c == '\n' || c == '\t';
    });
}
