#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// A trash of the test's own: HOME and XDG_DATA_HOME point into a temporary folder for as long
// as the object lives, so QFile::moveToTrash never reaches the user's trash (the home folder
// decides which trash a file uses: the test's files and this home share a device).
// makeUnavailable() leaves no place where a trash can be made, as on a file system without one.
class TestTrash
{
public:
    TestTrash() : m_home(m_root.path() + QStringLiteral("/home"))
    {
        QDir().mkpath(m_home + QStringLiteral("/.local/share"));
        set("HOME", m_home);
        set("XDG_DATA_HOME", m_home + QStringLiteral("/.local/share"));
    }
    ~TestTrash()
    {
        for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it) {
            if (it.value().isNull())
                qunsetenv(it.key().constData());
            else
                qputenv(it.key().constData(), it.value());
        }
    }
    TestTrash(const TestTrash &) = delete;
    TestTrash &operator=(const TestTrash &) = delete;

    QString filesFolder() const { return m_home + QStringLiteral("/.local/share/Trash/files"); }
    // The names of the entries in the trash, sorted.
    QStringList trashed() const
    {
        return QDir(filesFolder())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }
    QString trashedPath(const QString &name) const { return filesFolder() + u'/' + name; }

    // The data folder becomes a file: no trash can be made under it.
    void makeUnavailable()
    {
        const QString blocked = m_root.path() + QStringLiteral("/not-a-folder");
        QFile file(blocked);
        if (file.open(QIODevice::WriteOnly))
            file.write("x");
        set("XDG_DATA_HOME", blocked);
    }

private:
    void set(const char *name, const QString &value)
    {
        if (!m_saved.contains(name))
            m_saved.insert(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
        qputenv(name, value.toUtf8());
    }

    QTemporaryDir m_root;
    QString m_home;
    QHash<QByteArray, QByteArray> m_saved;
};
