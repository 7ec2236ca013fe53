#pragma once

#include "ImagingEngine.h"

#include <QImage>
#include <QString>

// Reading and writing picture files. Reading refuses pictures above MaxPixels from their header
// alone, before any pixel is decoded; writing encodes first and then replaces the file
// atomically, so a failed save leaves the old file as it was.
class PictureFile
{
public:
    // A decompression bomb guard: a 100 MP picture already needs 400 MB as the editor keeps it.
    static constexpr qint64 MaxPixels = 100'000'000;

    enum class Failure {
        None,
        Unreadable,  // missing, or no permission
        NotPicture,  // no known picture type, or damaged beyond reading
        TooLarge,    // above MaxPixels
        NeedsModule, // a type only the imaging module reads, and it is missing
    };

    struct Loaded {
        Failure failure = Failure::None;
        QString detail;       // the reason, for the status bar
        QImage image;         // Format_RGB32 or Format_ARGB32
        QSize size;           // as the header says, also for TooLarge
        QString coder;        // ImageMagick's name of the type read ("JPEG")
        bool damaged = false; // read, but the file was cut short: the rest is missing
        PictureProfiles profiles;
    };

    struct Options {
        QString ext;              // a type of PictureFormats ("JPG")
        int quality = 90;         // JPEG
        QString compression;      // one of the type's choices; empty for its default
        PictureProfiles profiles; // written where the type can hold them; empty to strip
    };

    static Loaded read(const QString &path);
    // The encoded file; false with a reason when the type cannot be written.
    static bool encode(const QImage &image, const Options &options, QByteArray *data,
                       QString *error);
    // Encodes and replaces path atomically; a read-only file or folder fails with the reason.
    static bool write(const QImage &image, const QString &path, const Options &options,
                      QString *error);
};
