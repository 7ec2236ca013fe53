#pragma once

#include "ImagingEngine.h"

#include <QByteArray>

// Metadata of PNG files, read from the chunks before the picture data without decoding it: Qt
// reads PNG pixels but keeps none of this. Understands the standard chunks (eXIf, iCCP, the XMP
// iTXt) and the "Raw profile type" text chunks that ImageMagick and other tools write.
class PngMetadata
{
public:
    // What could be read; a damaged chunk is skipped.
    static PictureProfiles read(const QByteArray &png);
};
