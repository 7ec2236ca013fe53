#include "DesktopEnvironment.h"

#include <QDir>
#include <QFileInfo>

namespace
{

// A colon-separated folder list; an unset or empty variable gives the fallback.
QStringList folders(const QProcessEnvironment &environment, const QString &variable,
                    const QString &fallback)
{
    QString value = environment.value(variable);
    if (value.isEmpty())
        value = fallback;
    QStringList list;
    for (const QString &folder : value.split(':', Qt::SkipEmptyParts)) {
        // Relative entries are not valid XDG folders and would depend on the working folder.
        if (QDir::isAbsolutePath(folder))
            list << QDir::cleanPath(folder);
    }
    return list;
}

bool isProgram(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

DesktopEnvironment::DesktopEnvironment(const QStringList &desktopNames,
                                       const QStringList &pathFolders,
                                       const QStringList &dataFolders,
                                       const QStringList &configFolders)
    : m_desktopNames(desktopNames), m_pathFolders(pathFolders), m_dataFolders(dataFolders),
      m_configFolders(configFolders), m_desktop(desktopOf(desktopNames))
{
}

DesktopEnvironment DesktopEnvironment::fromEnvironment(const QProcessEnvironment &environment)
{
    const QString home = environment.value(QStringLiteral("HOME"), QDir::homePath());
    const QStringList names =
        environment.value(QStringLiteral("XDG_CURRENT_DESKTOP")).split(':', Qt::SkipEmptyParts);
    QStringList path;
    for (const QString &folder :
         environment.value(QStringLiteral("PATH")).split(':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder))
            path << folder;
    }
    const QStringList data =
        folders(environment, QStringLiteral("XDG_DATA_HOME"), home + "/.local/share") +
        folders(environment, QStringLiteral("XDG_DATA_DIRS"),
                QStringLiteral("/usr/local/share:/usr/share"));
    const QStringList config =
        folders(environment, QStringLiteral("XDG_CONFIG_HOME"), home + "/.config") +
        folders(environment, QStringLiteral("XDG_CONFIG_DIRS"), QStringLiteral("/etc/xdg"));
    return DesktopEnvironment(names, path, data, config);
}

DesktopEnvironment DesktopEnvironment::current()
{
    return fromEnvironment(QProcessEnvironment::systemEnvironment());
}

QString DesktopEnvironment::findProgram(const QString &name) const
{
    if (name.isEmpty())
        return {};
    if (name.contains('/'))
        return QDir::isAbsolutePath(name) && isProgram(name) ? name : QString();
    for (const QString &folder : m_pathFolders) {
        const QString candidate = folder + '/' + name;
        if (isProgram(candidate))
            return candidate;
    }
    return {};
}

DesktopEnvironment::Desktop DesktopEnvironment::desktopOf(const QStringList &desktopNames)
{
    // The first name the map knows wins: "ubuntu:GNOME" is GNOME, "KDE" is Plasma. Desktops
    // built on GNOME's settings (Unity, Budgie) list GNOME themselves.
    for (const QString &name : desktopNames) {
        const QString upper = name.trimmed().toUpper();
        if (upper == QLatin1String("GNOME") || upper == QLatin1String("UNITY") ||
            upper == QLatin1String("GNOME-FLASHBACK") || upper == QLatin1String("GNOME-CLASSIC"))
            return Desktop::Gnome;
        if (upper == QLatin1String("KDE"))
            return Desktop::Kde;
        if (upper == QLatin1String("XFCE"))
            return Desktop::Xfce;
    }
    return Desktop::Generic;
}

QString DesktopEnvironment::desktopName(Desktop desktop)
{
    switch (desktop) {
    case Desktop::Gnome:
        return QStringLiteral("GNOME");
    case Desktop::Kde:
        return QStringLiteral("KDE Plasma");
    case Desktop::Xfce:
        return QStringLiteral("XFCE");
    case Desktop::Generic:
        break;
    }
    return QStringLiteral("Other");
}
