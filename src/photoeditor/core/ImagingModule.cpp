#include "ImagingModule.h"

#include "ImagingEngine.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QMutex>
#include <QMutexLocker>

namespace
{

struct State {
    QMutex lock;
    QString path;
    bool tried = false;
    ImagingEngine *engine = nullptr;
    QString failure;
};

State &state()
{
    static State s;
    return s;
}

} // namespace

ImagingEngine *ImagingModule::engine()
{
    State &s = state();
    QMutexLocker locker(&s.lock);
    if (s.tried)
        return s.engine;
    s.tried = true;
    const QString file = s.path.isEmpty() ? QCoreApplication::applicationDirPath() +
                                                QStringLiteral("/nuvela-imaging")
                                          : s.path;
    // The library stays loaded for the life of the process: ImageMagick keeps global state.
    QLibrary library(file);
    const auto entry =
        reinterpret_cast<ImagingEngine::Entry>(library.resolve(ImagingEngine::EntryPoint));
    if (!entry) {
        s.failure = library.errorString();
        return nullptr;
    }
    s.engine = entry(ImagingEngine::Version);
    if (!s.engine)
        s.failure = QStringLiteral("%1 was built for another version of the program").arg(file);
    return s.engine;
}

QString ImagingModule::unavailableText()
{
    engine();
    State &s = state();
    QMutexLocker locker(&s.lock);
    return QStringLiteral("Picture effects and the TIF, TGA, PCX, DCX and WPG formats need the "
                          "imaging module nuvela-imaging, which could not be loaded (%1).")
        .arg(s.failure);
}

void ImagingModule::setPath(const QString &path)
{
    State &s = state();
    QMutexLocker locker(&s.lock);
    s.path = path;
    s.tried = false;
    s.engine = nullptr;
    s.failure.clear();
}

QString ImagingModule::path()
{
    State &s = state();
    QMutexLocker locker(&s.lock);
    return s.path;
}
