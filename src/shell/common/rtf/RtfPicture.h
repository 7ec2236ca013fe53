#pragma once

#include <QByteArray>
#include <QImage>

#include <string_view>

// The \pict destination: the picture's data (hex digits or \bin bytes), its format and the size
// it is shown at. PNG and JPEG pictures are shown. Windows metafiles (WMF, EMF) are kept as they
// are and shown as a placeholder of their size: the image format of the placeholder carries the
// picture's RTF (SourceProperty), which the writer puts back unchanged.
class RtfPicture
{
public:
    // The QTextFormat property of a kept picture: its \pict group as RTF (QByteArray).
    static constexpr int SourceProperty = 0x100000 + 0x5254; // QTextFormat::UserProperty + "RT"

    void clear() { *this = RtfPicture(); }

    void setPng() { m_png = true; }
    void setJpeg() { m_jpeg = true; }
    // \wmetafileN (N the mapping mode) and \emfblip.
    void setWindowsMetafile(int mappingMode)
    {
        m_metafile = Metafile::Windows;
        m_mappingMode = mappingMode;
    }
    void setEnhancedMetafile() { m_metafile = Metafile::Enhanced; }
    // \picwN and \pichN: for a metafile its extent in hundredths of a millimetre.
    void setSourceWidth(int value) { m_sourceWidth = value; }
    void setSourceHeight(int value) { m_sourceHeight = value; }
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
    bool isMetafile() const { return m_metafile != Metafile::None && !m_data.isEmpty(); }
    // The picture as a \pict group: its kind, sizes and data (hex), as a writer puts it back.
    QByteArray source() const;
    // A plain image standing in for a picture that is not shown (kept small: the image format's
    // size shows it at the picture's size).
    static QImage placeholder();
    // The size in pixels a metafile is shown at.
    qreal metafileWidth() const;
    qreal metafileHeight() const;
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
    enum class Metafile { None, Windows, Enhanced };
    Metafile m_metafile = Metafile::None;
    int m_mappingMode = 8;
    int m_sourceWidth = 0;
    int m_sourceHeight = 0;
};
