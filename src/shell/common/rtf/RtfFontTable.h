#pragma once

#include <QHash>
#include <QString>

// The \fonttbl destination: font names and code pages by font number, and the default font
// (\deff) that text naming no font uses.
class RtfFontTable
{
public:
    void clear();

    // \fN inside the table: the entry that following names and charsets describe.
    void beginEntry(int number);
    // \fcharsetN and \cpgN of the current entry.
    void setCharset(int charset);
    void setCodePage(int codePage);
    // Text of the current entry's name; ';' (the caller sees it) ends the name.
    void addName(const QString &text) { m_name += text; }
    void finishName();

    int entry() const { return m_entry; }
    void setDefaultFont(int number) { m_defaultFont = number; }
    int defaultFont() const { return m_defaultFont; }

    // The code page the font's text is in; 0 when the table gives none.
    int codePage(int number) const
    {
        const auto found = m_fonts.constFind(number);
        return found != m_fonts.constEnd() ? found->codePage : 0;
    }
    // The family of the font; "" when the table names none.
    QString family(int number) const { return m_fonts.value(number).name; }

private:
    struct Font {
        QString name;
        int codePage = 0; // 0 until \fcharset or \cpg gives one
    };

    QHash<int, Font> m_fonts;
    int m_entry = 0;
    QString m_name;
    int m_defaultFont = 0;
};
