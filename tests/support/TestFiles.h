#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>

// Files for tests: the real sample files written by other programs, and whole-file reads and
// writes.

// The samples folder (NUVELA_SAMPLES_DIR in the environment, else the one beside the checkout),
// or one of its sub-folders.
inline QString SamplesDir(const QString &subFolder = QString())
{
    const QString env = qEnvironmentVariable("NUVELA_SAMPLES_DIR");
    const QString root = env.isEmpty() ? QStringLiteral(NUVELA_SAMPLES_DIR) : env;
    return subFolder.isEmpty() ? root : root + '/' + subFolder;
}

inline bool HaveSamples()
{
    return QFileInfo::exists(SamplesDir() + QStringLiteral("/SOURCES.md"));
}

// Skips the test function, saying why, where the samples are absent.
#define NUVELA_REQUIRE_SAMPLES()                                                                   \
    if (!HaveSamples())                                                                            \
    QSKIP(qPrintable(QStringLiteral("the sample files are not at %1 (../shared absent)")          \
                         .arg(SamplesDir())))

inline QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
