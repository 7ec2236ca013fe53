#include "RtfColorTable.h"

#include <algorithm>

void RtfColorTable::clear()
{
    m_colors.clear();
    m_set = false;
    m_red = m_green = m_blue = 0;
}

void RtfColorTable::setRed(int value)
{
    m_red = std::clamp(value, 0, 255);
    m_set = true;
}

void RtfColorTable::setGreen(int value)
{
    m_green = std::clamp(value, 0, 255);
    m_set = true;
}

void RtfColorTable::setBlue(int value)
{
    m_blue = std::clamp(value, 0, 255);
    m_set = true;
}

void RtfColorTable::addBytes(const char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != ';')
            continue;
        m_colors.push_back(m_set ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_set = false;
    }
}

void RtfColorTable::finish()
{
    if (m_set)
        m_colors.push_back(QColor(m_red, m_green, m_blue));
    m_set = false;
}
