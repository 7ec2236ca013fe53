#include "JpegMetadata.h"

#include <QList>
#include <QMap>

namespace
{

const QByteArray exifHeader("Exif\0\0", 6);
const QByteArray xmpHeader("http://ns.adobe.com/xap/1.0/\0", 29);
const QByteArray iccHeader("ICC_PROFILE\0", 12);
const QByteArray photoshopHeader("Photoshop 3.0\0", 14);

constexpr int maxPayload = 65533;         // a segment's length field counts itself
constexpr int iccChunk = maxPayload - 14; // header plus sequence number and count

QByteArray segment(uchar marker, const QByteArray &payload)
{
    QByteArray s;
    s.reserve(payload.size() + 4);
    const int length = int(payload.size()) + 2;
    s.append(char(0xFF)).append(char(marker)).append(char(length >> 8)).append(char(length & 0xFF));
    s.append(payload);
    return s;
}

} // namespace

PictureProfiles JpegMetadata::read(const QByteArray &jpeg)
{
    PictureProfiles p;
    QMap<int, QByteArray> iccChunks;
    const auto *d = reinterpret_cast<const uchar *>(jpeg.constData());
    const qsizetype n = jpeg.size();
    if (n < 4 || d[0] != 0xFF || d[1] != 0xD8)
        return p;
    qsizetype at = 2;
    while (at + 4 <= n && d[at] == 0xFF) {
        const uchar marker = d[at + 1];
        if (marker == 0xDA || marker == 0xD9) // start of scan, end of picture
            break;
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        const int length = (d[at + 2] << 8) | d[at + 3];
        if (length < 2 || at + 2 + length > n)
            break;
        const QByteArray payload = jpeg.mid(at + 4, length - 2);
        if (marker == 0xE1 && payload.startsWith(exifHeader))
            p.exif = payload.mid(exifHeader.size());
        else if (marker == 0xE1 && payload.startsWith(xmpHeader))
            p.xmp = payload.mid(xmpHeader.size());
        else if (marker == 0xE2 && payload.startsWith(iccHeader) && payload.size() > 14)
            iccChunks.insert(uchar(payload.at(12)), payload.mid(14));
        else if (marker == 0xED && payload.startsWith(photoshopHeader))
            p.iptc = payload.mid(photoshopHeader.size());
        at += 2 + length;
    }
    for (const QByteArray &chunk : std::as_const(iccChunks))
        p.icc += chunk;
    return p;
}

QByteArray JpegMetadata::insert(const QByteArray &jpeg, const PictureProfiles &profiles)
{
    if (profiles.isEmpty() || jpeg.size() < 4)
        return jpeg;
    qsizetype at = 2;
    const auto *d = reinterpret_cast<const uchar *>(jpeg.constData());
    if (jpeg.size() > 6 && d[2] == 0xFF && d[3] == 0xE0) // keep JFIF first, as readers expect
        at = 4 + ((d[4] << 8) | d[5]);
    QByteArray segments;
    if (!profiles.exif.isEmpty() && exifHeader.size() + profiles.exif.size() <= maxPayload)
        segments += segment(0xE1, exifHeader + profiles.exif);
    if (!profiles.xmp.isEmpty() && xmpHeader.size() + profiles.xmp.size() <= maxPayload)
        segments += segment(0xE1, xmpHeader + profiles.xmp);
    const int chunks = int((profiles.icc.size() + iccChunk - 1) / iccChunk);
    for (int i = 0; i < chunks && chunks < 256; ++i) {
        const QByteArray head = iccHeader + char(i + 1) + char(chunks);
        segments += segment(0xE2, head + profiles.icc.mid(qsizetype(i) * iccChunk, iccChunk));
    }
    if (!profiles.iptc.isEmpty() && photoshopHeader.size() + profiles.iptc.size() <= maxPayload)
        segments += segment(0xED, photoshopHeader + profiles.iptc);
    return jpeg.left(at) + segments + jpeg.mid(at);
}

bool JpegMetadata::isComplete(const QByteArray &jpeg)
{
    // The end marker cannot occur inside the compressed data (0xFF is stuffed there), so it
    // must follow the first scan; data after it (some cameras append some) does no harm.
    const auto *d = reinterpret_cast<const uchar *>(jpeg.constData());
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && d[at] == 0xFF && d[at + 1] != 0xDA)
        at += d[at + 1] == 0xFF ? 1 : 2 + ((d[at + 2] << 8) | d[at + 3]);
    const qsizetype end = jpeg.lastIndexOf(QByteArrayView("\xFF\xD9", 2));
    return at + 4 <= jpeg.size() && end > at;
}
