#include "ExifOrientation.h"

#include <QtEndian>

namespace
{

// Where the orientation tag's value sits in the block, or -1: the first directory (IFD0) of
// the TIFF structure, entries of 12 bytes, the value in the entry's last four bytes.
qsizetype valueOffset(const QByteArray &exif, bool *bigEndian)
{
    if (exif.size() < 8 || (!exif.startsWith("II*\0") && !exif.startsWith("MM\0*")))
        return -1;
    const bool big = exif.at(0) == 'M';
    *bigEndian = big;
    const auto *d = reinterpret_cast<const uchar *>(exif.constData());
    const auto u16 = [&](qsizetype at) {
        return big ? qFromBigEndian<quint16>(d + at) : qFromLittleEndian<quint16>(d + at);
    };
    const auto u32 = [&](qsizetype at) {
        return big ? qFromBigEndian<quint32>(d + at) : qFromLittleEndian<quint32>(d + at);
    };
    const quint32 directory = u32(4);
    if (directory > quint32(exif.size() - 2))
        return -1;
    const int entries = u16(directory);
    for (int i = 0; i < entries; ++i) {
        const qsizetype entry = qsizetype(directory) + 2 + qsizetype(i) * 12;
        if (entry + 12 > exif.size())
            return -1;
        if (u16(entry) == 0x0112 && u16(entry + 2) == 3) // SHORT
            return entry + 8;
    }
    return -1;
}

} // namespace

int ExifOrientation::of(const QByteArray &exif)
{
    bool big = false;
    const qsizetype at = valueOffset(exif, &big);
    if (at < 0)
        return 1;
    const auto *d = reinterpret_cast<const uchar *>(exif.constData()) + at;
    const int value = big ? qFromBigEndian<quint16>(d) : qFromLittleEndian<quint16>(d);
    return value >= 1 && value <= 8 ? value : 1;
}

QByteArray ExifOrientation::with(const QByteArray &exif, int value)
{
    bool big = false;
    const qsizetype at = valueOffset(exif, &big);
    if (at < 0)
        return exif;
    QByteArray out = exif;
    auto *d = reinterpret_cast<uchar *>(out.data()) + at;
    if (big)
        qToBigEndian<quint16>(quint16(value), d);
    else
        qToLittleEndian<quint16>(quint16(value), d);
    return out;
}
