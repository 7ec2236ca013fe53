#pragma once

#include "DesktopEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// A desktop of the test's own: a PATH folder of stand-in programs that do nothing, XDG data and
// configuration folders for desktop entries and MIME defaults, and the desktop names. apply()
// puts it into the process environment for code that reads the environment itself; the old
// values come back when the fake desktop ends.
class FakeDesktop
{
public:
    explicit FakeDesktop(const QString &desktopNames = QString()) : m_names(desktopNames)
    {
        for (const char *folder : {"bin", "data-home", "data", "config-home", "config"})
            QDir(m_root.path()).mkpath(QString::fromLatin1(folder));
    }
    ~FakeDesktop()
    {
        for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it) {
            if (it.value().isNull())
                qunsetenv(it.key().constData());
            else
                qputenv(it.key().constData(), it.value());
        }
    }

    QString bin() const { return m_root.path() + "/bin"; }
    QString dataHome() const { return m_root.path() + "/data-home"; }
    QString data() const { return m_root.path() + "/data"; }
    QString configHome() const { return m_root.path() + "/config-home"; }

    // A stand-in program on the PATH. Returns its path.
    QString addProgram(const QString &name) const
    {
        const QString path = write(bin() + '/' + name, "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }
    // A file under the root (folders made); returns its path.
    QString write(const QString &path, const QByteArray &content) const
    {
        const QString full = QDir::isAbsolutePath(path) ? path : m_root.path() + '/' + path;
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
        return full;
    }
    // A desktop entry in the system data folder's applications (or the user's).
    QString addApplication(const QString &id, const QByteArray &keys, bool user = false) const
    {
        return write((user ? dataHome() : data()) + "/applications/" + id,
                     "[Desktop Entry]\nType=Application\n" + keys);
    }

    DesktopEnvironment environment() const
    {
        return DesktopEnvironment(m_names.split(':', Qt::SkipEmptyParts), {bin()},
                                  {dataHome(), data()}, {configHome(), m_root.path() + "/config"});
    }

    // This desktop, with names as XDG_CURRENT_DESKTOP gives them, for the whole process.
    void apply(const QString &names)
    {
        m_names = names;
        set("XDG_CURRENT_DESKTOP", m_names.toUtf8());
        set("PATH", bin().toUtf8());
        set("XDG_DATA_HOME", dataHome().toUtf8());
        set("XDG_DATA_DIRS", data().toUtf8());
        set("XDG_CONFIG_HOME", configHome().toUtf8());
        set("XDG_CONFIG_DIRS", (m_root.path() + "/config").toUtf8());
    }

private:
    void set(const char *name, const QByteArray &value)
    {
        if (!m_saved.contains(name))
            m_saved.insert(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
        qputenv(name, value);
    }

    QTemporaryDir m_root;
    QString m_names;
    QHash<QByteArray, QByteArray> m_saved;
};
