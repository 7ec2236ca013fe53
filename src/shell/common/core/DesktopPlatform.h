#pragma once

#include "Platform.h"

// The platform on a freedesktop (or Windows) desktop, through Qt.
class DesktopPlatform final : public Platform
{
public:
    QString specialFolder(int number) override;
    QString windowsFolder() override;
    bool openDocument(const QString &path) override;
    bool printDocument(const QString &path) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    void playSound(const QString &path) override;
    bool showHelp(const QString &path) override;
    QVariant setting(const QString &application, const QString &section, const QString &key,
                     const QVariant &fallback) override;
    void setSetting(const QString &application, const QString &section, const QString &key,
                    const QVariant &value) override;
    void exitProcess() override;
};
