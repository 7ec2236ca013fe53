#pragma once

#include "ImagingModule.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <cmath>

// Pictures and picture files for the photo editor's tests, made in memory.

// Points the editor at this build's imaging module.
inline void UseBuiltImagingModule()
{
    ImagingModule::setPath(QStringLiteral(NUVELA_IMAGING_MODULE));
}

// Red rising to the right, green rising downwards, a blue square in the middle, a black
// vertical line at a third of the width and a white horizontal one at two thirds of the height.
inline QImage TestPicture(int width = 96, int height = 64)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(
                x, y,
                qRgb(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1), 40));
    }
    QPainter painter(&image);
    painter.fillRect(QRect(width * 3 / 8, height * 3 / 8, width / 4, height / 4),
                     QColor(0, 0, 255));
    painter.fillRect(QRect(width / 3, 0, 1, height), Qt::black);
    painter.fillRect(QRect(0, height * 2 / 3, width, 1), Qt::white);
    return image;
}

// The mean of one channel (0 red, 1 green, 2 blue) over the picture.
inline double Mean(const QImage &image, int channel)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            sum += channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c);
        }
    }
    return sum / (double(image.width()) * image.height());
}

// Standard deviation of the grey level: how much contrast the picture has.
inline double Spread(const QImage &image)
{
    double sum = 0, squares = 0;
    const double n = double(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double g = qGray(image.pixel(x, y));
            sum += g;
            squares += g * g;
        }
    }
    return std::sqrt(std::max(0.0, squares / n - (sum / n) * (sum / n)));
}

// Sum of grey-level differences between neighbours in one direction: how sharp the picture is.
inline double Detail(const QImage &image, bool horizontal = true)
{
    double sum = 0;
    for (int y = 0; y + (horizontal ? 0 : 1) < image.height(); ++y) {
        for (int x = 0; x + (horizontal ? 1 : 0) < image.width(); ++x) {
            const QRgb a = image.pixel(x, y);
            const QRgb b = horizontal ? image.pixel(x + 1, y) : image.pixel(x, y + 1);
            sum += std::abs(qGray(a) - qGray(b));
        }
    }
    return sum;
}

// The largest difference of any channel between two pictures of the same size; -1 otherwise.
inline int MaxDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return -1;
    int most = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return most;
}

inline quint32 Crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= uchar(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline QByteArray BigEndian32(quint32 value)
{
    QByteArray out(4, '\0');
    qToBigEndian(value, out.data());
    return out;
}

inline QByteArray PngChunk(const char *type, const QByteArray &data)
{
    const QByteArray body = QByteArray(type, 4) + data;
    return BigEndian32(quint32(data.size())) + body + BigEndian32(Crc32(body));
}

// A complete, valid black-and-white PNG of any size: all-zero rows compress to almost nothing,
// so a 20000 x 20000 picture (400 megapixels) is a file of some 50 KB.
inline QByteArray BombPng(int width, int height)
{
    QByteArray header = BigEndian32(quint32(width)) + BigEndian32(quint32(height));
    header +=
        QByteArray("\x01\x00\x00\x00\x00", 5); // 1 bit, grey, deflate, no filter, no interlace
    const QByteArray rows(qsizetype(height) * (1 + (width + 7) / 8), '\0');
    const QByteArray zlib = qCompress(rows, 9).mid(4); // qCompress puts the length first
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) + PngChunk("IDAT", zlib) +
           PngChunk("IEND", {});
}

// The header of a little-endian black-and-white TIFF of the size given, with no pixel data:
// enough for a reader to learn the size.
inline QByteArray TiffHeaderOnly(quint32 width, quint32 height)
{
    QByteArray t("II*\0", 4);
    auto u16 = [&t](quint16 v) { t.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto u32 = [&](quint32 v) {
        u16(quint16(v & 0xFFFF));
        u16(quint16(v >> 16));
    };
    u32(8);
    const quint16 tags[][2] = {{256, 4}, {257, 4}, {258, 3}, {259, 3},
                               {262, 3}, {273, 4}, {278, 4}, {279, 4}};
    const quint32 values[] = {width, height, 1, 1, 0, 200, height, (width + 7) / 8 * height};
    u16(8);
    for (int i = 0; i < 8; ++i) {
        u16(tags[i][0]);
        u16(tags[i][1]);
        u32(1);
        if (tags[i][1] == 3) {
            u16(quint16(values[i]));
            u16(0);
        } else {
            u32(values[i]);
        }
    }
    u32(0);
    return t;
}

// A small EXIF block (TIFF structure): one IFD with the camera make "Nuvela".
inline QByteArray ExifBlock()
{
    QByteArray t("II*\0\x08\0\0\0", 8);
    t += QByteArray("\x01\x00", 2);                         // one entry
    t += QByteArray("\x0F\x01\x02\x00\x07\x00\x00\x00", 8); // Make, ASCII, 7 bytes
    t += QByteArray("\x1A\x00\x00\x00", 4);                 // at offset 26
    t += QByteArray("\0\0\0\0", 4);                         // no next IFD
    t += QByteArray("Nuvela\0", 7);
    return t;
}

// An EXIF block whose first directory holds the orientation tag (and the camera make after it),
// little- or big-endian.
inline QByteArray ExifWithOrientation(quint16 orientation, bool bigEndian = false)
{
    QByteArray t;
    auto u16 = [&](quint16 v) {
        if (bigEndian)
            t.append(char(v >> 8)).append(char(v & 0xFF));
        else
            t.append(char(v & 0xFF)).append(char(v >> 8));
    };
    auto u32 = [&](quint32 v) {
        if (bigEndian) {
            u16(quint16(v >> 16));
            u16(quint16(v & 0xFFFF));
        } else {
            u16(quint16(v & 0xFFFF));
            u16(quint16(v >> 16));
        }
    };
    t += bigEndian ? QByteArray("MM\0*", 4) : QByteArray("II*\0", 4);
    u32(8);
    u16(2);
    u16(0x0112); // Orientation, SHORT, 1 value
    u16(3);
    u32(1);
    u16(orientation);
    u16(0);
    u16(0x010F); // Make, ASCII, 4 bytes in place
    u16(2);
    u32(4);
    t += QByteArray("Nuv\0", 4);
    u32(0);
    return t;
}
