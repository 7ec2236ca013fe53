#include "RtfPicture.h"

#include "RtfTokenizer.h"
#include "RtfTwips.h"

#include <algorithm>

void RtfPicture::setWidthGoal(int twips)
{
    m_widthGoal = std::clamp(twips, 0, RtfTwips::Max);
}

void RtfPicture::setHeightGoal(int twips)
{
    m_heightGoal = std::clamp(twips, 0, RtfTwips::Max);
}

void RtfPicture::setScaleX(int percent)
{
    m_scaleX = std::clamp(percent, 1, 1000);
}

void RtfPicture::setScaleY(int percent)
{
    m_scaleY = std::clamp(percent, 1, 1000);
}

void RtfPicture::appendHex(const char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        const int value = RtfTokenizer::hexValue(data[i]);
        if (value < 0)
            continue;
        if (m_nibble < 0) {
            m_nibble = value;
        } else {
            m_data.append(char(m_nibble * 16 + value));
            m_nibble = -1;
        }
    }
}

bool RtfPicture::decode(QImage &image) const
{
    return image.loadFromData(m_data, m_png ? "PNG" : "JPEG");
}

qreal RtfPicture::shownWidth(const QImage &image) const
{
    return m_widthGoal > 0 ? RtfTwips::toPixels(m_widthGoal) * m_scaleX / 100.0
                           : image.width() * m_scaleX / 100.0;
}

qreal RtfPicture::shownHeight(const QImage &image) const
{
    return m_heightGoal > 0 ? RtfTwips::toPixels(m_heightGoal) * m_scaleY / 100.0
                            : image.height() * m_scaleY / 100.0;
}
