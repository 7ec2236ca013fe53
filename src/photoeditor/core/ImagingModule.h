#pragma once

#include <QString>

class ImagingEngine;

// Finds the ImageMagick module (nuvela-imaging) and loads it on first use, so that start-up
// never pays for ImageMagick. Without the module, pictures that Qt reads still open, draw and
// save in Qt's formats; effects and the other formats answer unavailableText().
class ImagingModule
{
public:
    // The engine, loading the module on the first call; null when the module is missing or was
    // built for another version of the interface. Safe from any thread.
    static ImagingEngine *engine();
    // Why engine() is null: a message for the user that names the module.
    static QString unavailableText();

    // Where the module is looked for: beside the executable unless set (tests and benchmarks
    // point at their build's module). Setting it forgets the engine found so far.
    static void setPath(const QString &path);
    static QString path();
};
