#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The running freedesktop desktop as the panel sees it: which desktop family it is (from
// XDG_CURRENT_DESKTOP), which programs the PATH offers, and the XDG search folders for data and
// configuration. Built from an environment, so tests describe a desktop of their own with fake
// PATH folders and desktop names; nothing here starts a program.
class DesktopEnvironment
{
public:
    // The columns of the desktop map; Generic is every other desktop, and the fallback of all.
    enum class Desktop { Gnome, Kde, Xfce, Generic };

    DesktopEnvironment(const QStringList &desktopNames, const QStringList &pathFolders,
                       const QStringList &dataFolders = {}, const QStringList &configFolders = {});

    // Reads XDG_CURRENT_DESKTOP, PATH, HOME and the XDG_* folder variables with their defaults.
    static DesktopEnvironment fromEnvironment(const QProcessEnvironment &environment);
    // The process's own environment, read afresh on every call.
    static DesktopEnvironment current();

    Desktop desktop() const { return m_desktop; }
    // XDG_CURRENT_DESKTOP's names, in its order ("ubuntu", "GNOME").
    const QStringList &desktopNames() const { return m_desktopNames; }
    // The full path of an executable program found on the PATH (or name itself when it is an
    // absolute path to one); "" when there is none.
    QString findProgram(const QString &name) const;
    // XDG_DATA_HOME then XDG_DATA_DIRS; XDG_CONFIG_HOME then XDG_CONFIG_DIRS.
    const QStringList &dataFolders() const { return m_dataFolders; }
    const QStringList &configFolders() const { return m_configFolders; }

    // The desktop family named by XDG_CURRENT_DESKTOP's list (compared without regard to case).
    static Desktop desktopOf(const QStringList &desktopNames);
    static QString desktopName(Desktop desktop);

private:
    QStringList m_desktopNames;
    QStringList m_pathFolders;
    QStringList m_dataFolders;
    QStringList m_configFolders;
    Desktop m_desktop;
};
