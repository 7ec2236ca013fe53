#pragma once

#include <QColor>

#include <vector>

// The \colortbl destination: \redN\greenN\blueN and ';' make one entry; an entry with no
// component is the automatic colour. Index 0 is always automatic.
class RtfColorTable
{
public:
    void clear();

    // Components of the entry being read, cut to 0-255.
    void setRed(int value);
    void setGreen(int value);
    void setBlue(int value);
    // Text of the table: each ';' in it ends an entry, other bytes mean nothing.
    void addBytes(const char *data, qsizetype size);
    // The end of the table: the last entry may lack its ';'.
    void finish();

    // The colour of entry index; invalid for automatic and for indexes past the table.
    QColor color(int index) const
    {
        return index > 0 && size_t(index) < m_colors.size() ? m_colors[size_t(index)] : QColor();
    }

private:
    std::vector<QColor> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_set = false;
};
