#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The picture file types of the save windows and how the editor reads and writes each. Types
// Qt reads natively go through Qt (no module needed, and faster); the others through the
// imaging module. JPEG is written by Qt with its metadata copied in by JpegMetadata.
class PictureFormats
{
public:
    struct Format {
        QString ext;                // as the save windows list it: "JPG"
        QStringList aliases;        // other extensions of the type: "JPEG", "JPE"
        QString coder;              // ImageMagick's name: "JPEG"
        QByteArray qt;              // Qt's reader and writer name, empty when Qt has none
        bool canWrite = true;       // WPG is read only
        bool keepsMetadata = false; // EXIF, ICC, XMP and IPTC survive a save in this type
        bool hasQuality = false;    // the compression panel's quality applies (1-100)
        QStringList compressions;   // the panel's choices; the first is the default
        QString description;
    };

    // In the order of the save windows' list.
    static const QList<Format> &all();
    // By extension, any case, with or without the dot, aliases included; null when unknown.
    static const Format *byExtension(const QString &ext);
    static const Format *byCoder(const QString &coder);
    static const Format *ofPath(const QString &path);
    // The save windows' file types, "*.JPG|*.JPG|*.BMP|*.BMP|...".
    static QString saveFilter();
    // For the Open picker: every readable type, then all files.
    static QString openFilter();
};
