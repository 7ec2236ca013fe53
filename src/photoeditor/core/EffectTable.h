#pragma once

#include "Effect.h"
#include "ImagingEngine.h"

#include <QImage>
#include <QList>
#include <QString>

#include <optional>

// The one table of the editor's picture commands: for each, the ImageMagick operation it is,
// the numbers it passes and what those numbers mean. Quarter turns, flips, crops and plain
// resizing are done by Qt, which gives ImageMagick's result for them without handing the picture
// over (several times faster on a large photo); their rows still name the ImageMagick operation
// they stand for, and the imaging module runs that too.
class EffectTable
{
public:
    enum class Engine { Magick, Qt };

    // The effects window's slider for values[0]; minimum == maximum means fixed numbers.
    struct Strength {
        int minimum = 0;
        int maximum = 0;
        int initial = 0;
        QString unit;
    };

    struct Entry {
        Effect effect;
        QString name; // heading of the effects window; the tool id where a tool has the name
        Engine engine;
        MagickOp op; // for Qt rows, the operation Qt reproduces
        Strength strength;
        QString meaning; // the numbers, stated once
        // The operation's numbers for a request on a picture of the size given; scale shrinks
        // lengths for a preview made on a copy scaled by it (1 for the picture itself).
        QList<double> (*args)(const EffectRequest &request, QSize size, double scale);
        // Qt rows: the result; the picture is in Format_RGB32 or Format_ARGB32.
        QImage (*qt)(const QImage &picture, const QList<double> &args);
    };

    static const QList<Entry> &entries();
    static const Entry &entry(Effect effect);
    // The effect of a heading or tool id ("Swirl", "PSize"); none for others.
    static std::optional<Effect> byName(const QString &name);
    // A request with the entry's initial strength (and fixed numbers).
    static EffectRequest request(Effect effect, const QColor &color = Qt::white);

    static MagickCall call(const EffectRequest &request, QSize size, double scale = 1.0);
    // Runs the request on picture. Magick rows need the imaging module: without it the answer
    // is false with ImagingModule::unavailableText(). A cancelled run answers false with an
    // empty error. Safe on any thread.
    static bool apply(const QImage &picture, const EffectRequest &request, QImage *result,
                      QString *error, const ImagingEngine::Cancelled &cancelled = {},
                      double scale = 1.0);
};
