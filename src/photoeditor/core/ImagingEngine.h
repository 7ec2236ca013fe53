#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The narrow interface between the photo editor and its ImageMagick module (nuvela-imaging,
// loaded on first use by ImagingModule). Everything here is header-only: the module includes
// this file and links nothing of the editor.
//
// Pictures cross the interface as QImage in Format_RGB32 (opaque) or Format_ARGB32 (with
// transparency); the engine answers in the same two formats. Every call may run on any thread;
// calls on different pictures may run at the same time.

// The ImageMagick operations the editor uses. EffectTable chooses the operation and its numbers;
// the engine runs exactly the one asked for. Lengths are in pixels of the picture handed over.
enum class MagickOp {
    Negate,             // no numbers
    Solarize,           // threshold, percent of the full intensity
    Blur,               // radius (0: ImageMagick chooses), sigma
    Emboss,             // radius, sigma
    Wave,               // amplitude, wavelength; the answer is cropped back to the input's size
    Implode,            // amount: positive pulls towards the centre, negative pushes out
    Pixelate,           // block size: sampled down by it and back up
    Swirl,              // degrees at the centre, fading to none at the edge
    Colorize,           // percent of the colour mixed in; the call's colour
    AddNoise,           // attenuation (1 is ImageMagick's default), Gaussian noise
    Convolve,           // nine kernel values, row by row, normalised to a sum of 1
    Texture,            // canvas width, height, tile width, height: the picture shrunk to the
                        // tile and repeated over the canvas from its top-left corner
    Rotate,             // degrees clockwise; the canvas grows and new corners get the colour
    BrightnessContrast, // brightness, contrast, each -100 to 100
    Sharpen,            // radius, sigma
    Modulate,           // brightness, saturation, hue, percent (100 leaves each unchanged)
    Grayscale,          // no numbers
    Sepia,              // threshold, percent
    Flip,               // top to bottom
    Flop,               // left to right
    Crop,               // left, top, width, height
    Resize,             // width, height (proportions as given)
};

struct MagickCall {
    MagickOp op = MagickOp::Negate;
    QList<double> args;
    QColor color;
};

// Metadata carried from a picture's file to the files saved from it. Empty members are absent.
struct PictureProfiles {
    QByteArray exif; // the TIFF structure of the EXIF block, without the "Exif\0\0" marker
    QByteArray icc;  // the whole ICC colour profile
    QByteArray xmp;  // the XMP packet (XML)
    QByteArray iptc; // the Photoshop resource block that holds IPTC data ("8BIM" records)

    bool isEmpty() const
    {
        return exif.isEmpty() && icc.isEmpty() && xmp.isEmpty() && iptc.isEmpty();
    }
};

// What a file holds, read from its header without decoding pixels.
struct PictureHeader {
    QSize size;
    QString coder; // ImageMagick's name of the format ("TIFF", "PCX")
    PictureProfiles profiles;
};

struct EncodeRequest {
    QString coder;            // ImageMagick's format name ("TIFF", "TGA", "PNG")
    int quality = -1;         // 1-100 where the format has one; -1 leaves ImageMagick's default
    QString compression;      // "None", "RLE", "LZW", "Zip", "JPEG"; empty for the format's default
    PictureProfiles profiles; // written where the format can hold them
};

class ImagingEngine
{
public:
    static constexpr int Version = 1;
    // The module's exported C function: ImagingEngine *nuvelaImagingEngine(int version); it
    // answers null when it was built for another version of this interface.
    static constexpr const char *EntryPoint = "nuvelaImagingEngine";
    using Entry = ImagingEngine *(*)(int version);
    // Answers true when the work should stop; an operation that stops answers false with an
    // empty error.
    using Cancelled = std::function<bool()>;

    virtual ~ImagingEngine() = default;

    // Reads the header; coderHint names the format for files without a signature (TGA).
    virtual bool ping(const QByteArray &data, const QString &coderHint, PictureHeader *header,
                      QString *error) = 0;
    // Decodes the first picture of the file.
    virtual bool decode(const QByteArray &data, const QString &coderHint, QImage *image,
                        QString *error) = 0;
    virtual bool encode(const QImage &image, const EncodeRequest &request, QByteArray *data,
                        QString *error) = 0;
    virtual bool apply(const QImage &image, const MagickCall &call, QImage *result,
                       const Cancelled &cancelled, QString *error) = 0;
    // The resource limits the engine runs under, as the options of ImageMagick's command-line
    // tools ("-limit", "memory", "256MiB", ...), so others can run under the same ones.
    virtual QStringList limitArguments() const = 0;
};
