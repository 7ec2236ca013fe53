#include "DesktopPlatform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QLibrary>
#include <QStandardPaths>
#include <QUrl>

namespace {

QString location(QStandardPaths::StandardLocation where)
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(where));
}

// The first shared (all users') folder of a kind that exists, with sub appended.
QString sharedLocation(QStandardPaths::StandardLocation where, const QString &sub = QString())
{
    const QStringList all = QStandardPaths::standardLocations(where);
    for (qsizetype i = 1; i < all.size(); ++i) {
        if (QFileInfo(all.at(i) + sub).isDir())
            return QDir::toNativeSeparators(all.at(i) + sub);
    }
    return {};
}

} // namespace

QString DesktopPlatform::specialFolder(int number)
{
    switch (number) {
    case 0: // desktop
    case 16: // common desktop
        return location(QStandardPaths::DesktopLocation);
    case 2: // programs menu
    case 11: // start menu
        return location(QStandardPaths::ApplicationsLocation);
    case 5: // documents
        return location(QStandardPaths::DocumentsLocation);
    case 7: // start-up programs
    case 29: // start-up programs, not localised
        return QDir::toNativeSeparators(
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/autostart");
    case 13: // music
        return location(QStandardPaths::MusicLocation);
    case 14: // videos
        return location(QStandardPaths::MoviesLocation);
    case 20: // fonts
        return location(QStandardPaths::FontsLocation);
    case 21: // templates
        return location(QStandardPaths::TemplatesLocation);
    case 22: // common start menu
    case 23: // common programs menu
        return sharedLocation(QStandardPaths::ApplicationsLocation);
    case 24: // common start-up programs
    case 30: // common start-up programs, not localised
        return sharedLocation(QStandardPaths::GenericConfigLocation, QStringLiteral("/autostart"));
    case 26: // application data
        return location(QStandardPaths::GenericConfigLocation);
    case 32: // internet cache
        return location(QStandardPaths::GenericCacheLocation);
    case 28: // local application data
    case 35: // common application data
        return location(QStandardPaths::GenericDataLocation);
    case 38: // program files
#ifdef Q_OS_WIN
        return QDir::toNativeSeparators(qEnvironmentVariable("ProgramFiles", "C:\\Program Files"));
#else
        return QStringLiteral("/usr");
#endif
    case 36: // Windows folder
        return windowsFolder();
    case 39: // pictures
        return location(QStandardPaths::PicturesLocation);
    case 40: // profile
        return location(QStandardPaths::HomeLocation);
    default:
        return {};
    }
}

QString DesktopPlatform::windowsFolder()
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(qEnvironmentVariable("SystemRoot", "C:\\Windows"));
#else
    return QDir::rootPath();
#endif
}

bool DesktopPlatform::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopPlatform::printDocument(const QString &path)
{
    if (!QFileInfo::exists(path))
        return false;
#ifdef Q_OS_WIN
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#else
    // CUPS prints the formats it knows (text, PDF, pictures) directly.
    return QProcess::startDetached(QStringLiteral("lp"), {path});
#endif
}

bool DesktopPlatform::startProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

void DesktopPlatform::playSound(const QString &path)
{
    if (!QFileInfo::exists(path))
        return;
    using Play = void (*)(const char16_t *, int);
    // The sound module sits beside the executable; without it, cues are silent.
    static const Play play = reinterpret_cast<Play>(QLibrary::resolve(
        QCoreApplication::applicationDirPath() + QStringLiteral("/nuvela-sound"), "nuvelaPlaySound"));
    if (play)
        play(reinterpret_cast<const char16_t *>(path.utf16()), int(path.size()));
}

bool DesktopPlatform::showHelp(const QString &path)
{
    return QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QVariant DesktopPlatform::setting(const QString &application, const QString &section,
                                  const QString &key, const QVariant &fallback)
{
    QSettings settings(QStringLiteral("Nuvela"), application);
    return settings.value(section + '/' + key, fallback);
}

void DesktopPlatform::setSetting(const QString &application, const QString &section,
                                 const QString &key, const QVariant &value)
{
    QSettings settings(QStringLiteral("Nuvela"), application);
    settings.setValue(section + '/' + key, value);
}

void DesktopPlatform::exitProcess()
{
    QCoreApplication::exit(0);
}
