// Feeds arbitrary bytes to the JPEG, PNG and EXIF orientation readers: they must never crash, hang
// or read outside the data, and metadata they find, copied into a JPEG, must read back the same.

#include "ExifOrientation.h"
#include "JpegMetadata.h"
#include "PngMetadata.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{

// The smallest JPEG frame the inserting needs: start, a JFIF segment, the end.
const QByteArray plainJpeg("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
                           "\xFF\xD9",
                           22);

bool fitsOneSegment(const QByteArray &data, int header)
{
    return data.size() + header <= 65533;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    JpegMetadata::isComplete(bytes);
    const PictureProfiles fromPng = PngMetadata::read(bytes);
    PictureProfiles found = JpegMetadata::read(bytes);
    if (found.isEmpty())
        found = fromPng;
    // Setting the orientation touches two bytes at most and never the block's size.
    const QByteArray upright = ExifOrientation::with(found.exif, 1);
    if (upright.size() != found.exif.size() || ExifOrientation::of(bytes) < 1)
        abort();
    // What does not fit a segment is left out by design; everything else must survive.
    if (!fitsOneSegment(found.exif, 6) || !fitsOneSegment(found.xmp, 29) ||
        !fitsOneSegment(found.iptc, 14) || found.icc.size() > 255 * 65519)
        return 0;
    const PictureProfiles back = JpegMetadata::read(JpegMetadata::insert(plainJpeg, found));
    if (back.exif != found.exif || back.xmp != found.xmp || back.icc != found.icc ||
        back.iptc != found.iptc)
        abort();
    return 0;
}
