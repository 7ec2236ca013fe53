#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// Everything the program asks of the operating system: special folders, opening and printing
// documents, starting programs, sounds, help, settings and ending the process. The desktop
// implementation follows freedesktop conventions; tests install a recording one.
class Platform
{
public:
    virtual ~Platform() = default;

    // Shell special folder by number (0 desktop, 5 documents, 20 fonts, ...); "" when unknown.
    virtual QString specialFolder(int number) = 0;
    virtual QString windowsFolder() = 0;
    // Opens a document or folder with the desktop's default application.
    virtual bool openDocument(const QString &path) = 0;
    virtual bool printDocument(const QString &path) = 0;
    // Starts a program without waiting; false when it could not be started.
    virtual bool startProgram(const QString &program, const QStringList &arguments = {}) = 0;
    // Plays a wave file without waiting; a missing file or no audio device is silence.
    virtual void playSound(const QString &path) = 0;
    virtual bool showHelp(const QString &path) = 0;
    virtual QVariant setting(const QString &application, const QString &section,
                             const QString &key, const QVariant &fallback = {}) = 0;
    virtual void setSetting(const QString &application, const QString &section,
                            const QString &key, const QVariant &value) = 0;
    // Ends the process at once, as closing the main window does.
    virtual void exitProcess() = 0;

    static Platform &instance();
    // Takes ownership; the previous one is deleted.
    static void install(Platform *platform);
};
