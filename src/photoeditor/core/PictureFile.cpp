#include "PictureFile.h"

#include "ExifOrientation.h"
#include "ImagingModule.h"
#include "JpegMetadata.h"
#include "PictureFormats.h"
#include "PngMetadata.h"
#include "WorkingFormat.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace
{

using Failure = PictureFile::Failure;

// Qt's readers the editor uses; other types Qt happens to read go through the module.
const QList<QByteArray> qtReadable = {"jpeg", "png", "bmp", "ppm", "pgm", "pbm", "gif"};

bool tooLarge(QSize size)
{
    return qint64(size.width()) * size.height() > PictureFile::MaxPixels;
}

QString sizeText(QSize size)
{
    return QStringLiteral("%1 \u00D7 %2 pixels").arg(size.width()).arg(size.height());
}

void readWithQt(QImageReader &reader, const QByteArray &data, PictureFile::Loaded &out)
{
    out.size = reader.size();
    if (!out.size.isValid()) {
        out.failure = Failure::NotPicture;
        out.detail = reader.errorString();
        return;
    }
    if (tooLarge(out.size)) {
        out.failure = Failure::TooLarge;
        return;
    }
    // The limit above is the guard; Qt's own allocation limit would refuse large photos.
    if (QImageReader::allocationLimit() != 0 && QImageReader::allocationLimit() < 1024)
        QImageReader::setAllocationLimit(1024);
    out.image = reader.read();
    if (out.image.isNull()) {
        out.failure = Failure::NotPicture;
        out.detail = reader.errorString();
        return;
    }
    if (out.coder == QLatin1String("JPEG")) {
        out.profiles = JpegMetadata::read(data);
        out.damaged = !JpegMetadata::isComplete(data);
        // Turned upright by the reader: the saved photo must not be turned again.
        out.profiles.exif = ExifOrientation::with(out.profiles.exif, 1);
    } else if (out.coder == QLatin1String("PNG")) {
        out.profiles = PngMetadata::read(data);
    }
}

void readWithModule(const QByteArray &data, const QString &path, PictureFile::Loaded &out)
{
    ImagingEngine *engine = ImagingModule::engine();
    if (!engine) {
        out.failure = Failure::NeedsModule;
        out.detail = ImagingModule::unavailableText();
        return;
    }
    // Targa files have no signature: the extension is the only hint.
    const PictureFormats::Format *byName = PictureFormats::ofPath(path);
    const QString hint =
        byName && byName->coder == QLatin1String("TGA") ? byName->coder : QString();
    PictureHeader header;
    if (!engine->ping(data, hint, &header, &out.detail)) {
        out.failure = Failure::NotPicture;
        return;
    }
    out.size = header.size;
    out.coder = header.coder;
    out.profiles = header.profiles;
    if (tooLarge(out.size)) {
        out.failure = Failure::TooLarge;
        return;
    }
    if (!engine->decode(data, hint, &out.image, &out.detail) || out.image.isNull())
        out.failure = Failure::NotPicture;
}

} // namespace

PictureFile::Loaded PictureFile::read(const QString &path)
{
    Loaded out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.failure = Failure::Unreadable;
        out.detail = file.errorString();
        return out;
    }
    // Read, not mapped: a file cut short by another program while mapped would crash us.
    const QByteArray data = file.readAll();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true); // a camera's orientation tag turns the photo upright
    const QByteArray qtFormat = reader.format();
    if (qtReadable.contains(qtFormat)) {
        const PictureFormats::Format *format =
            PictureFormats::byExtension(QString::fromLatin1(qtFormat));
        out.coder = format ? format->coder : QString::fromLatin1(qtFormat).toUpper();
        readWithQt(reader, data, out);
    } else {
        readWithModule(data, path, out);
    }
    if (out.failure == Failure::TooLarge)
        out.detail = QStringLiteral("%1 is %2, more than %3 megapixels")
                         .arg(QFileInfo(path).fileName(), sizeText(out.size))
                         .arg(MaxPixels / 1'000'000);
    if (out.failure != Failure::None) {
        out.image = QImage();
        return out;
    }
    // The editor shows no colour management; the ICC profile travels in the profiles.
    out.image.setColorSpace(QColorSpace());
    out.image = toWorkingFormat(out.image);
    return out;
}

bool PictureFile::encode(const QImage &image, const Options &options, QByteArray *data,
                         QString *error)
{
    const PictureFormats::Format *format = PictureFormats::byExtension(options.ext);
    if (!format) {
        *error = QStringLiteral("%1 is not a picture type the editor writes").arg(options.ext);
        return false;
    }
    if (!format->canWrite) {
        *error = QStringLiteral("%1 pictures can be opened but not saved; choose another type")
                     .arg(format->ext);
        return false;
    }
    ImagingEngine *engine = ImagingModule::engine();
    const bool viaQt = format->coder == QLatin1String("JPEG") ||
                       (!format->qt.isEmpty() && (!format->keepsMetadata || !engine));
    if (viaQt) {
        QBuffer buffer(data);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format->qt);
        if (format->hasQuality)
            writer.setQuality(options.quality);
        if (!writer.write(image)) {
            *error = writer.errorString();
            return false;
        }
        if (format->coder == QLatin1String("JPEG"))
            *data = JpegMetadata::insert(*data, options.profiles);
        return true;
    }
    if (!engine) {
        *error = ImagingModule::unavailableText();
        return false;
    }
    EncodeRequest request{format->coder, format->hasQuality ? options.quality : -1,
                          options.compression.isEmpty() ? format->compressions.value(0)
                                                        : options.compression,
                          format->keepsMetadata ? options.profiles : PictureProfiles()};
    return engine->encode(toWorkingFormat(image), request, data, error);
}

bool PictureFile::write(const QImage &image, const QString &path, const Options &options,
                        QString *error)
{
    // A read-only file stays as it is, even for a user whom the system would let write it.
    const QFileInfo target(path);
    const QFileDevice::Permissions writable =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (target.exists() && (!target.isWritable() || !(target.permissions() & writable))) {
        *error = QStringLiteral("%1 is read-only").arg(path);
        return false;
    }
    QByteArray data;
    if (!encode(image, options, &data, error))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.write(data) != data.size() || !file.commit()) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}
