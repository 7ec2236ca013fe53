#pragma once

#include "ImagingEngine.h"

#include <QByteArray>

// Metadata segments of JPEG files: read from a file's header, and copied into a JPEG that Qt
// wrote (Qt keeps no EXIF, XMP or IPTC of its own).
class JpegMetadata
{
public:
    // The EXIF, ICC (joined from its chunks), XMP and IPTC segments before the picture data.
    // A damaged header yields what was read before the damage.
    static PictureProfiles read(const QByteArray &jpeg);
    // jpeg with profiles' segments inserted after its start (and its JFIF segment). Profiles too
    // large for a segment are left out (EXIF and XMP must each fit 64 KiB); the ICC profile is
    // split into chunks as JPEG requires.
    static QByteArray insert(const QByteArray &jpeg, const PictureProfiles &profiles);
    // True when the end-of-picture marker follows the picture data, i.e. the file was not cut
    // short.
    static bool isComplete(const QByteArray &jpeg);
};
