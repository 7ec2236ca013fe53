#pragma once

#include "RecordingPlatform.h"
#include "ScriptedDialogs.h"

#include <QTemporaryDir>

// A fresh world for one test: its own program folder and user-files folder (through the
// environment overrides), fresh stores made on first use, a scripted Dialogs and a recording
// Platform installed. Construct one per test function (init()), not per test program.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();

    QString programFolder() const { return m_program.path(); }
    QString userFiles() const { return m_user.path(); }
    // A scratch folder for files the test makes.
    QString scratch() const { return m_scratch.path(); }
    ScriptedDialogs &dialogs() { return *m_dialogs; }
    RecordingPlatform &platform() { return *m_platform; }

    // Writes a file (making its folders) and returns its full path.
    QString writeFile(const QString &relativePath, const QByteArray &content = "x") const;

private:
    QTemporaryDir m_program;
    QTemporaryDir m_user;
    QTemporaryDir m_scratch;
    ScriptedDialogs *m_dialogs;
    RecordingPlatform *m_platform;
};
