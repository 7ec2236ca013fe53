#pragma once

#include <QByteArray>
#include <QImage>

#include <string_view>

// The \pict destination: the picture's data (hex digits or \bin bytes), its format and the size
// it is shown at. Only PNG and JPEG pictures are shown.
class RtfPicture
{
public:
    void clear() { *this = RtfPicture(); }

    void setPng() { m_png = true; }
    void setJpeg() { m_jpeg = true; }
    // \picwgoalN and \pichgoalN in twips, \picscalexN and \picscaleyN in percent.
    void setWidthGoal(int twips);
    void setHeightGoal(int twips);
    void setScaleX(int percent);
    void setScaleY(int percent);

    // Hex digits of the data; other characters between them mean nothing.
    void appendHex(const char *data, qsizetype size);
    void appendBinary(std::string_view bytes)
    {
        m_data.append(bytes.data(), qsizetype(bytes.size()));
    }

    bool isShown() const { return m_png || m_jpeg; }
    // Decodes the data; false when it is no picture of its format.
    bool decode(QImage &image) const;
    // The size in pixels at which image, decoded from this picture, is shown.
    qreal shownWidth(const QImage &image) const;
    qreal shownHeight(const QImage &image) const;

private:
    QByteArray m_data;
    bool m_png = false;
    bool m_jpeg = false;
    int m_widthGoal = 0;
    int m_heightGoal = 0;
    int m_scaleX = 100;
    int m_scaleY = 100;
    int m_nibble = -1; // the first hex digit of a byte, until its second comes
};
