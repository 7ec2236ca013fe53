#include "PictureFormats.h"

#include <QFileInfo>

namespace
{

// clang-format off
const QList<PictureFormats::Format> formats = {
    {"JPG", {"JPEG", "JPE"}, "JPEG", "jpeg", true, true, true, {}, "JPEG picture"},
    {"BMP", {}, "BMP", "bmp", true, false, false, {"None"}, "Windows bitmap"},
    {"TIF", {"TIFF"}, "TIFF", {}, true, true, false, {"LZW", "Zip", "JPEG", "RLE", "None"},
     "TIFF picture"},
    {"TGA", {}, "TGA", {}, true, false, false, {"None", "RLE"}, "Targa picture"},
    {"PCX", {}, "PCX", {}, true, false, false, {"RLE"}, "Paintbrush picture"},
    {"WPG", {}, "WPG", {}, false, false, false, {}, "WordPerfect graphic (read only)"},
    {"PNG", {}, "PNG", "png", true, true, false, {"Zip"}, "PNG picture"},
    {"PPM", {"PNM"}, "PPM", "ppm", true, false, false, {"None"}, "Portable pixmap"},
    {"PGM", {}, "PGM", "pgm", true, false, false, {"None"}, "Portable greymap"},
    {"PBM", {}, "PBM", "pbm", true, false, false, {"None"}, "Portable bitmap"},
    {"DCX", {}, "DCX", {}, true, false, false, {"RLE"}, "Multi-page Paintbrush picture"},
};
// clang-format on

} // namespace

const QList<PictureFormats::Format> &PictureFormats::all()
{
    return formats;
}

const PictureFormats::Format *PictureFormats::byExtension(const QString &ext)
{
    QString e = ext.toUpper();
    if (e.startsWith('.'))
        e.remove(0, 1);
    for (const Format &f : formats) {
        if (f.ext == e || f.aliases.contains(e))
            return &f;
    }
    return nullptr;
}

const PictureFormats::Format *PictureFormats::byCoder(const QString &coder)
{
    const QString c = coder.toUpper();
    for (const Format &f : formats) {
        if (f.coder == c)
            return &f;
    }
    return nullptr;
}

const PictureFormats::Format *PictureFormats::ofPath(const QString &path)
{
    return byExtension(QFileInfo(path).suffix());
}

QString PictureFormats::saveFilter()
{
    QStringList parts;
    for (const Format &f : formats)
        parts << "*." + f.ext << "*." + f.ext;
    return parts.join('|');
}

QString PictureFormats::openFilter()
{
    QStringList patterns;
    for (const Format &f : formats) {
        patterns << "*." + f.ext.toLower();
        for (const QString &alias : f.aliases)
            patterns << "*." + alias.toLower();
    }
    return QStringLiteral("Pictures|%1|All files|*").arg(patterns.join(';'));
}
