// The photo editor's ImageMagick work, built as a module that is loaded on first use: Magick++
// and its many libraries would otherwise slow every start-up of the program.
#include "ImagingEngine.h"

#include <Magick++.h>
using MagickCore::Quantum; // QuantumRange needs it in scope

#include <QThread>

#include <cmath>
#include <mutex>

namespace
{

// The formats the editor opens; anything else ImageMagick knows (scripts, vector formats,
// delegates) is refused before decoding.
const QStringList readable = {"JPEG", "BMP",   "BMP3",  "TIFF", "TGA", "PCX", "DCX", "WPG", "PNG",
                              "PNG8", "PNG24", "PNG32", "PNM",  "PPM", "PGM", "PBM", "GIF", "ICO"};

QByteArray bytes(const Magick::Blob &blob)
{
    return QByteArray(static_cast<const char *>(blob.data()), qsizetype(blob.length()));
}

QByteArray profile(const Magick::Image &image, const char *name)
{
    const MagickCore::StringInfo *info = MagickCore::GetImageProfile(image.constImage(), name);
    if (!info)
        return {};
    return QByteArray(reinterpret_cast<const char *>(MagickCore::GetStringInfoDatum(info)),
                      qsizetype(MagickCore::GetStringInfoLength(info)));
}

// Attaches a profile as it is: ImageMagick's profile() would convert colours between two ICC
// profiles, and the picture handed over has none yet.
void attach(Magick::Image &image, const char *name, const QByteArray &data)
{
    if (data.isEmpty())
        return;
    MagickCore::StringInfo *info = MagickCore::AcquireStringInfo(size_t(data.size()));
    MagickCore::SetStringInfoDatum(info, reinterpret_cast<const unsigned char *>(data.constData()));
    image.modifyImage();
    MagickCore::SetImageProfile(image.image(), name, info);
    MagickCore::DestroyStringInfo(info);
}

const QByteArray exifMarker("Exif\0\0", 6);

PictureProfiles profilesOf(const Magick::Image &image)
{
    PictureProfiles p;
    p.exif = profile(image, "exif");
    if (p.exif.startsWith(exifMarker))
        p.exif.remove(0, exifMarker.size());
    p.icc = profile(image, "icc");
    p.xmp = profile(image, "xmp");
    p.iptc = profile(image, "8bim");
    return p;
}

// 8 bits to ImageMagick's quantum, as its own import scales them (257 times at 16 bits).
inline Quantum toQuantum(uchar value)
{
    return Quantum(value * (QuantumRange / 255));
}

// Rows first to first + rows of picture as an ImageMagick image. The pixel cache is filled
// directly: ImageMagick's own import takes a general path for every pixel, about three times
// slower, and the transfer is a large part of a quick effect. Values scale as its import does.
Magick::Image fromQImage(const QImage &picture, int first = 0, int rows = -1)
{
    if (rows < 0)
        rows = picture.height();
    const size_t width = size_t(picture.width());
    const bool alpha = picture.hasAlphaChannel();
    // An image of true colour whose pixels are not cleared first: every one is written below.
    MagickCore::ExceptionInfo *exception = MagickCore::AcquireExceptionInfo();
    MagickCore::Image *core = MagickCore::AcquireImage(nullptr);
    if (!MagickCore::SetImageExtent(core, width, size_t(rows))) {
        MagickCore::DestroyImage(core);
        MagickCore::DestroyExceptionInfo(exception);
        throw std::runtime_error("No memory for the picture in ImageMagick");
    }
    core->matte = alpha ? MagickCore::MagickTrue : MagickCore::MagickFalse;
    Magick::Image image(core);
    for (int y = 0; y < rows; ++y) {
        MagickCore::PixelPacket *q =
            MagickCore::QueueAuthenticPixels(core, 0, y, width, 1, exception);
        if (!q)
            break;
        const auto *p = reinterpret_cast<const QRgb *>(picture.constScanLine(first + y));
        for (size_t x = 0; x < width; ++x) {
            const QRgb c = p[x];
            q[x].red = toQuantum(uchar(qRed(c)));
            q[x].green = toQuantum(uchar(qGreen(c)));
            q[x].blue = toQuantum(uchar(qBlue(c)));
            q[x].opacity = alpha ? toQuantum(uchar(255 - qAlpha(c))) : 0;
        }
        if (!MagickCore::SyncAuthenticPixels(core, exception))
            break;
    }
    const bool failed = exception->severity >= MagickCore::ErrorException;
    MagickCore::DestroyExceptionInfo(exception);
    if (failed)
        throw std::runtime_error("The picture could not be handed to ImageMagick");
    return image;
}

// Rows first to first + rows of image into picture from row at on.
void intoQImage(const Magick::Image &image, int first, int rows, QImage &picture, int at)
{
    const size_t width = image.columns();
    const bool alpha = image.matte();
    const MagickCore::Image *core = image.constImage();
    MagickCore::ExceptionInfo *exception = MagickCore::AcquireExceptionInfo();
    for (int y = 0; y < rows; ++y) {
        const MagickCore::PixelPacket *p =
            MagickCore::GetVirtualPixels(core, 0, first + y, width, 1, exception);
        if (!p)
            break;
        auto *q = reinterpret_cast<QRgb *>(picture.scanLine(at + y));
        for (size_t x = 0; x < width; ++x) {
            q[x] = qRgba(MagickCore::ScaleQuantumToChar(p[x].red),
                         MagickCore::ScaleQuantumToChar(p[x].green),
                         MagickCore::ScaleQuantumToChar(p[x].blue),
                         alpha ? 255 - MagickCore::ScaleQuantumToChar(p[x].opacity) : 255);
        }
    }
    const bool failed = exception->severity >= MagickCore::ErrorException;
    MagickCore::DestroyExceptionInfo(exception);
    if (failed)
        throw std::runtime_error("The picture could not be taken back from ImageMagick");
}

QImage toQImage(const Magick::Image &image)
{
    QImage picture(int(image.columns()), int(image.rows()),
                   image.matte() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (picture.isNull())
        throw std::bad_alloc();
    intoQImage(image, 0, picture.height(), picture, 0);
    return picture;
}

// Progress callback: answering false makes ImageMagick abandon the operation.
MagickCore::MagickBooleanType keepGoing(const char *, const MagickCore::MagickOffsetType,
                                        const MagickCore::MagickSizeType, void *data)
{
    const auto *cancelled = static_cast<const ImagingEngine::Cancelled *>(data);
    return (*cancelled && (*cancelled)()) ? MagickCore::MagickFalse : MagickCore::MagickTrue;
}

Magick::Geometry exactSize(double width, double height)
{
    Magick::Geometry g(size_t(std::max(1.0, std::round(width))),
                       size_t(std::max(1.0, std::round(height))));
    g.aspect(true);
    return g;
}

void convolve(Magick::Image &image, const QList<double> &args)
{
    double kernel[9];
    double sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += kernel[i] = args.value(i);
    if (std::abs(sum) > 1e-9) {
        for (double &k : kernel)
            k /= sum;
    }
    image.convolve(3, kernel);
}

Magick::Image texture(const Magick::Image &picture, const QList<double> &a)
{
    Magick::Image tile(picture);
    tile.resize(Magick::Geometry(size_t(a.value(2)), size_t(a.value(3))));
    Magick::Image canvas(Magick::Geometry(size_t(a.value(0)), size_t(a.value(1))),
                         Magick::Color("white"));
    canvas.matte(picture.matte());
    canvas.texture(tile);
    return canvas;
}

void run(Magick::Image &image, const MagickCall &call)
{
    const QList<double> &a = call.args;
    switch (call.op) {
    case MagickOp::Negate:
        image.negate();
        break;
    case MagickOp::Solarize:
        // Magick++ takes the threshold in quantum units, not percent.
        image.solarize(a.value(0) * QuantumRange / 100.0);
        break;
    case MagickOp::Blur:
        image.blur(a.value(0), a.value(1));
        break;
    case MagickOp::Emboss:
        image.emboss(a.value(0), a.value(1));
        break;
    case MagickOp::Wave: {
        // The wave adds the amplitude above and below; the picture keeps its size.
        const size_t w = image.columns(), h = image.rows();
        image.wave(a.value(0), a.value(1));
        image.crop(Magick::Geometry(w, h, 0, ssize_t(std::abs(a.value(0)))));
        image.page(Magick::Geometry(w, h, 0, 0));
        break;
    }
    case MagickOp::Implode:
        image.implode(a.value(0));
        break;
    case MagickOp::Pixelate: {
        const double w = double(image.columns()), h = double(image.rows());
        const double block = std::max(1.0, a.value(0));
        image.sample(exactSize(w / block, h / block));
        image.sample(exactSize(w, h));
        break;
    }
    case MagickOp::Swirl:
        image.swirl(a.value(0));
        break;
    case MagickOp::Colorize:
        image.colorize(
            unsigned(std::lround(a.value(0))),
            Magick::ColorRGB(call.color.redF(), call.color.greenF(), call.color.blueF()));
        break;
    case MagickOp::AddNoise:
        image.attenuate(a.value(0));
        image.addNoise(Magick::GaussianNoise);
        break;
    case MagickOp::Convolve:
        convolve(image, a);
        break;
    case MagickOp::Texture:
        image = texture(image, a);
        break;
    case MagickOp::Rotate:
        image.backgroundColor(
            Magick::ColorRGB(call.color.redF(), call.color.greenF(), call.color.blueF()));
        image.rotate(a.value(0));
        image.page(Magick::Geometry(image.columns(), image.rows(), 0, 0));
        break;
    case MagickOp::BrightnessContrast:
        image.brightnessContrast(a.value(0), a.value(1));
        break;
    case MagickOp::Sharpen:
        image.sharpen(a.value(0), a.value(1));
        break;
    case MagickOp::Modulate:
        image.modulate(a.value(0), a.value(1), a.value(2));
        break;
    case MagickOp::Grayscale:
        image.grayscale(MagickCore::Rec709LuminancePixelIntensityMethod);
        break;
    case MagickOp::Sepia:
        image.sepiaTone(a.value(0) * QuantumRange / 100.0);
        break;
    case MagickOp::Flip:
        image.flip();
        break;
    case MagickOp::Flop:
        image.flop();
        break;
    case MagickOp::Crop:
        image.crop(Magick::Geometry(size_t(a.value(2)), size_t(a.value(3)), ssize_t(a.value(0)),
                                    ssize_t(a.value(1))));
        image.page(Magick::Geometry(image.columns(), image.rows(), 0, 0));
        break;
    case MagickOp::Resize:
        image.resize(exactSize(a.value(0), a.value(1)));
        break;
    }
}

// Rows a band must borrow from each neighbour so that an operation gives every row of the band
// what it gives on the whole picture; -1 for operations that need the whole picture (geometry,
// and emboss and sepia, which end by equalising or normalising over all pixels).
int bandOverlap(const MagickCall &call)
{
    const auto gaussian = [&] {
        // ImageMagick's kernel for radius 0 reaches about 4.7 sigma at 16 bits.
        const double radius = call.args.value(0), sigma = call.args.value(1);
        return radius > 0 ? int(std::ceil(radius)) + 2 : int(std::ceil(5 * sigma)) + 2;
    };
    switch (call.op) {
    case MagickOp::Negate:
    case MagickOp::Solarize:
    case MagickOp::Colorize:
    case MagickOp::AddNoise:
    case MagickOp::BrightnessContrast:
    case MagickOp::Modulate:
    case MagickOp::Grayscale:
        return 0;
    case MagickOp::Convolve:
        return 2;
    case MagickOp::Blur:
    case MagickOp::Sharpen:
        return gaussian();
    default:
        return -1;
    }
}

// Pixels a band holds at most: its two pixel caches (before and after) stay well inside
// ImageMagick's memory limit, so no band spills to the disk cache, and the peak memory of an
// effect is a band, not a second picture.
constexpr qint64 bandPixels = 2'000'000;

Magick::CompressionType compression(const QString &name)
{
    if (name == QLatin1String("None"))
        return Magick::NoCompression;
    if (name == QLatin1String("RLE"))
        return Magick::RLECompression;
    if (name == QLatin1String("LZW"))
        return Magick::LZWCompression;
    if (name == QLatin1String("Zip"))
        return Magick::ZipCompression;
    if (name == QLatin1String("JPEG"))
        return Magick::JPEGCompression;
    return Magick::UndefinedCompression;
}

// The resource limits, in bytes or pixels. The system's policy may lower any of them; beyond
// memory and map, pixels go to a disk cache, and beyond all three an operation fails.
struct Limit {
    const char *option; // as ImageMagick's -limit spells it
    MagickCore::ResourceType type;
    MagickCore::MagickSizeType value;
};
const Limit limits[] = {
    {"memory", MagickCore::MemoryResource, 256ull << 20},
    {"map", MagickCore::MapResource, 512ull << 20},
    {"disk", MagickCore::DiskResource, 1ull << 30},
    {"area", MagickCore::AreaResource, 128000000},
    {"width", MagickCore::WidthResource, 16000},
    {"height", MagickCore::HeightResource, 16000},
};

class MagickEngine final : public ImagingEngine
{
public:
    MagickEngine()
    {
        Magick::InitializeMagick(nullptr);
        for (const Limit &limit : limits)
            MagickCore::SetMagickResourceLimit(limit.type, limit.value);
        MagickCore::SetMagickResourceLimit(MagickCore::ThreadResource,
                                           MagickCore::MagickSizeType(QThread::idealThreadCount()));
    }

    bool ping(const QByteArray &data, const QString &coderHint, PictureHeader *header,
              QString *error) override
    {
        try {
            Magick::Image image = pinged(data, coderHint);
            header->size = QSize(int(image.columns()), int(image.rows()));
            header->coder = QString::fromStdString(image.magick());
            header->profiles = profilesOf(image);
            return true;
        } catch (const std::exception &e) {
            *error = QString::fromLocal8Bit(e.what());
            return false;
        }
    }

    bool decode(const QByteArray &data, const QString &coderHint, QImage *picture,
                QString *error) override
    {
        try {
            const QString coder = QString::fromStdString(pinged(data, coderHint).magick());
            Magick::Image image;
            image.quiet(true); // a damaged file yields what could be read
            image.subRange(1); // first page of a multi-page file
            if (!coder.isEmpty())
                image.magick(coder.toStdString());
            image.read(Magick::Blob(data.constData(), size_t(data.size())));
            *picture = toQImage(image);
            return true;
        } catch (const std::exception &e) {
            *error = QString::fromLocal8Bit(e.what());
            return false;
        }
    }

    bool encode(const QImage &picture, const EncodeRequest &request, QByteArray *data,
                QString *error) override
    {
        try {
            Magick::Image image = fromQImage(picture);
            image.magick(request.coder.toStdString());
            if (request.quality > 0)
                image.quality(size_t(request.quality));
            if (!request.compression.isEmpty())
                image.compressType(compression(request.compression));
            if (!request.profiles.exif.isEmpty())
                attach(image, "exif", exifMarker + request.profiles.exif);
            attach(image, "icc", request.profiles.icc);
            attach(image, "xmp", request.profiles.xmp);
            attach(image, "8bim", request.profiles.iptc);
            Magick::Blob blob;
            image.write(&blob);
            *data = bytes(blob);
            return true;
        } catch (const std::exception &e) {
            *error = QString::fromLocal8Bit(e.what());
            return false;
        }
    }

    bool apply(const QImage &picture, const MagickCall &call, QImage *result,
               const Cancelled &cancelled, QString *error) override
    {
        try {
            const int overlap = bandOverlap(call);
            const int rows = int(std::max<qint64>(64, bandPixels / std::max(1, picture.width())));
            *result = overlap >= 0 && picture.height() > rows + rows / 2
                          ? inBands(picture, call, rows, overlap, cancelled)
                          : whole(picture, call, cancelled);
            return !result->isNull();
        } catch (const std::exception &e) {
            *result = QImage();
            if (!(cancelled && cancelled()))
                *error = QString::fromLocal8Bit(e.what());
            return false;
        }
    }

    QStringList limitArguments() const override
    {
        QStringList args;
        for (const Limit &limit : limits)
            args << QStringLiteral("-limit") << QString::fromLatin1(limit.option)
                 << QString::number(limit.value);
        args << QStringLiteral("-limit") << QStringLiteral("thread")
             << QString::number(QThread::idealThreadCount());
        return args;
    }

private:
    static QImage whole(const QImage &picture, const MagickCall &call, const Cancelled &cancelled)
    {
        Magick::Image image = fromQImage(picture);
        image.modifyImage();
        MagickCore::SetImageProgressMonitor(image.image(), keepGoing,
                                            const_cast<Cancelled *>(&cancelled));
        run(image, call);
        return cancelled && cancelled() ? QImage() : toQImage(image);
    }

    // The picture in bands of rows, each with overlap rows of its neighbours around it; only the
    // band's own rows are kept.
    static QImage inBands(const QImage &picture, const MagickCall &call, int rows, int overlap,
                          const Cancelled &cancelled)
    {
        QImage out(picture.size(), picture.format());
        if (out.isNull())
            throw std::bad_alloc();
        const int h = picture.height();
        for (int top = 0; top < h; top += rows) {
            if (cancelled && cancelled())
                return {};
            const int first = std::max(0, top - overlap);
            const int last = std::min(h, top + rows + overlap);
            const int own = std::min(rows, h - top);
            Magick::Image band = fromQImage(picture, first, last - first);
            run(band, call);
            intoQImage(band, top - first, own, out, top);
        }
        return out;
    }

    // Pings the data, with the hint when it has no signature ImageMagick knows, and refuses
    // formats the editor does not open.
    static Magick::Image pinged(const QByteArray &data, const QString &coderHint)
    {
        const Magick::Blob blob(data.constData(), size_t(data.size()));
        Magick::Image image;
        image.quiet(true);
        try {
            image.ping(blob);
        } catch (const Magick::Error &) {
            if (coderHint.isEmpty())
                throw;
            image = Magick::Image();
            image.quiet(true);
            image.magick(coderHint.toStdString());
            image.ping(blob);
        }
        const QString coder = QString::fromStdString(image.magick());
        if (!readable.contains(coder))
            throw std::runtime_error("The format " + coder.toStdString() + " is not opened here");
        return image;
    }
};

} // namespace

extern "C" Q_DECL_EXPORT ImagingEngine *nuvelaImagingEngine(int version)
{
    if (version != ImagingEngine::Version)
        return nullptr;
    static std::once_flag once;
    static MagickEngine *engine = nullptr;
    std::call_once(once, [] { engine = new MagickEngine; });
    return engine;
}
