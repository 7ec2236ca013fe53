#include "RtfTokenizer.h"

#include <algorithm>

bool RtfTokenizer::onlyBlanksLeft() const
{
    return std::all_of(m_pos, m_end, [](char c) {
        return c == '\0' || c == ' ' || c == '\r' || c == '\n' || c == '\t';
    });
}

int RtfTokenizer::tableRowsAhead() const
{
    int rows = 0;
    bool inTable = true;
    int depth = 0;
    int skippedFrom = 0; // the depth of the \* group being passed over, 0 when none
    for (const char *p = m_pos; p < m_end;) {
        const char c = *p++;
        if (c == '{' || c == '}') {
            if (c == '}' && depth == skippedFrom)
                skippedFrom = 0;
            depth += c == '{' ? 1 : -1;
            continue;
        }
        if (c != '\\') {
            const bool blank = c == ' ' || c == '\r' || c == '\n' || c == '\t';
            if (!blank && !inTable && skippedFrom == 0)
                break;
            continue;
        }
        if (p < m_end && *p == '*' && skippedFrom == 0)
            skippedFrom = depth;
        if (p >= m_end || !isLetter(*p)) {
            ++p;
            continue;
        }
        const char *start = p;
        while (p < m_end && isLetter(*p))
            ++p;
        const std::string_view word(start, size_t(p - start));
        if (word == "bin") {
            qint64 count = 0;
            while (p < m_end && isDigit(*p) && count < m_end - p)
                count = count * 10 + (*p++ - '0');
            p += std::min<qint64>(count + (p < m_end && *p == ' '), m_end - p);
        } else if (skippedFrom != 0) {
            continue;
        } else if (word == "row") {
            ++rows;
        } else if (word == "pard") {
            inTable = false;
        } else if (word == "intbl") {
            inTable = true;
        } else if (!inTable && (word == "par" || word == "sect" || word == "page")) {
            break;
        }
    }
    return rows;
}
