#pragma once

#include <QByteArray>

// The orientation tag (0x0112) of an EXIF block: how a camera says the picture must be turned
// to stand upright. The editor turns a photo upright when it opens it, so the tag must then say
// "as stored" (1), or other programs would turn the saved photo a second time.
class ExifOrientation
{
public:
    // 1 to 8; 1 (as stored) when the block has no tag or cannot be read.
    static int of(const QByteArray &exif);
    // exif with its orientation tag set to value; unchanged when it has no such tag.
    static QByteArray with(const QByteArray &exif, int value);
};
