#include "RtfPicture.h"

#include "RtfTokenizer.h"
#include "RtfTwips.h"

#include <QColor>

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

namespace
{

// Hundredths of a millimetre in pixels at 96 dots per inch.
qreal fromHimetric(int value)
{
    return std::clamp(value, 0, 1000000) * 96.0 / 2540.0;
}

} // namespace

qreal RtfPicture::metafileWidth() const
{
    const qreal width =
        m_widthGoal > 0 ? RtfTwips::toPixels(m_widthGoal) : fromHimetric(m_sourceWidth);
    return std::clamp(width > 0 ? width * m_scaleX / 100.0 : 96.0, 1.0, 4000.0);
}

qreal RtfPicture::metafileHeight() const
{
    const qreal height =
        m_heightGoal > 0 ? RtfTwips::toPixels(m_heightGoal) : fromHimetric(m_sourceHeight);
    return std::clamp(height > 0 ? height * m_scaleY / 100.0 : 96.0, 1.0, 4000.0);
}

QByteArray RtfPicture::source() const
{
    QByteArray out = "{\\pict";
    if (m_metafile == Metafile::Enhanced)
        out += "\\emfblip";
    else
        out += "\\wmetafile" + QByteArray::number(m_mappingMode);
    if (m_sourceWidth > 0)
        out += "\\picw" + QByteArray::number(m_sourceWidth);
    if (m_sourceHeight > 0)
        out += "\\pich" + QByteArray::number(m_sourceHeight);
    if (m_widthGoal > 0)
        out += "\\picwgoal" + QByteArray::number(m_widthGoal);
    if (m_heightGoal > 0)
        out += "\\pichgoal" + QByteArray::number(m_heightGoal);
    if (m_scaleX != 100)
        out += "\\picscalex" + QByteArray::number(m_scaleX);
    if (m_scaleY != 100)
        out += "\\picscaley" + QByteArray::number(m_scaleY);
    out += '\n';
    const QByteArray hex = m_data.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        out += hex.mid(i, 128);
        out += '\n';
    }
    return out + '}';
}

QImage RtfPicture::placeholder()
{
    // Light grey with a frame and a cross: no text, so no font is needed on any thread.
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(0xee, 0xee, 0xee));
    const QRgb line = qRgb(0x99, 0x99, 0x99);
    for (int x = 0; x < image.width(); ++x) {
        image.setPixel(x, 0, line);
        image.setPixel(x, image.height() - 1, line);
        const int y = x * (image.height() - 1) / (image.width() - 1);
        image.setPixel(x, y, line);
        image.setPixel(x, image.height() - 1 - y, line);
    }
    for (int y = 0; y < image.height(); ++y) {
        image.setPixel(0, y, line);
        image.setPixel(image.width() - 1, y, line);
    }
    return image;
}
