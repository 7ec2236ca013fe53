#pragma once

#include <QHash>
#include <QString>

// The \stylesheet destination, as far as a QTextDocument holds styles: which paragraph styles
// are headings, and of what level. A style is a heading when its name is "heading N" (any case,
// N from 1 to 9) or its entry carries \outlinelevelN (level N + 1).
class RtfStyleSheet
{
public:
    void clear() { *this = RtfStyleSheet(); }

    // \sN inside the table: the number of the entry being read.
    void beginEntry(int number) { m_number = number; }
    void setOutlineLevel(int level) { m_outline = level; }
    void addName(const QString &text) { m_name += text; }
    // ';' ends an entry.
    void finishEntry();

    // The heading level of paragraph style number; 0 for a style that is no heading.
    int headingLevel(int number) const { return m_levels.value(number, 0); }

private:
    QHash<int, int> m_levels;
    int m_number = 0;
    int m_outline = -1;
    QString m_name;
};
