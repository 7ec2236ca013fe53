#include "RtfFontTable.h"

#include "RtfCodePage.h"

void RtfFontTable::clear()
{
    m_fonts.clear();
    m_entry = 0;
    m_name.clear();
    m_defaultFont = 0;
}

void RtfFontTable::beginEntry(int number)
{
    finishName();
    m_entry = number;
    m_fonts[number] = Font{};
}

void RtfFontTable::setCharset(int charset)
{
    m_fonts[m_entry].codePage = RtfCodePage::forCharset(charset, 0);
}

void RtfFontTable::setCodePage(int codePage)
{
    if (codePage > 0)
        m_fonts[m_entry].codePage = codePage;
}

void RtfFontTable::finishName()
{
    // Names keep no control characters and no surrounding spaces: a name is what a font
    // picker can match.
    QString name;
    for (QChar c : std::as_const(m_name)) {
        if (c.unicode() >= 0x20)
            name += c;
    }
    name = name.trimmed();
    if (!name.isEmpty())
        m_fonts[m_entry].name = name;
    m_name.clear();
}
