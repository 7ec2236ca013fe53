#pragma once

#include "Platform.h"

#include <QHash>
#include <QStringList>

// Records what the program asks of the platform instead of doing it. Special folders point
// into the test's own temporary folders.
class RecordingPlatform final : public Platform
{
public:
    QHash<int, QString> folders;            // special folder number -> path
    QStringList opened, printed, sounds, help;
    QList<QStringList> started;             // program followed by its arguments
    bool startSucceeds = true;
    int exits = 0;
    QHash<QString, QVariant> settings;      // "application/section/key" -> value

    QString specialFolder(int number) override { return folders.value(number); }
    QString windowsFolder() override { return folders.value(36); }
    bool openDocument(const QString &path) override
    {
        opened << path;
        return true;
    }
    bool printDocument(const QString &path) override
    {
        printed << path;
        return true;
    }
    bool startProgram(const QString &program, const QStringList &arguments) override
    {
        started.append(QStringList{program} + arguments);
        return startSucceeds;
    }
    void playSound(const QString &path) override { sounds << path; }
    bool showHelp(const QString &path) override
    {
        help << path;
        return true;
    }
    QVariant setting(const QString &application, const QString &section, const QString &key,
                     const QVariant &fallback) override
    {
        return settings.value(application + '/' + section + '/' + key, fallback);
    }
    void setSetting(const QString &application, const QString &section, const QString &key,
                    const QVariant &value) override
    {
        settings.insert(application + '/' + section + '/' + key, value);
    }
    void exitProcess() override { ++exits; }
};
