#include "RtfStyleSheet.h"

#include <QRegularExpression>

void RtfStyleSheet::finishEntry()
{
    static const QRegularExpression heading(QStringLiteral("^heading\\s*([1-9])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    int level = 0;
    if (const QRegularExpressionMatch match = heading.match(m_name.trimmed()); match.hasMatch())
        level = match.captured(1).toInt();
    else if (m_outline >= 0 && m_outline < 9)
        level = m_outline + 1;
    // A table of thousands of styles is damage: the first ones are enough.
    if (level > 0 && m_levels.size() < 4096)
        m_levels.insert(m_number, level);
    m_number = 0;
    m_outline = -1;
    m_name.clear();
}
