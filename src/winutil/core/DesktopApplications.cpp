#include "DesktopApplications.h"

#include "DesktopEntry.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace
{

struct AccessoryKind {
    DesktopApplications::Accessory which;
    QStringList mimeTypes;
    QStringList categories;
};

const QList<AccessoryKind> &accessoryKinds()
{
    using A = DesktopApplications::Accessory;
    static const QList<AccessoryKind> kinds = {
        {A::Calculator, {}, {"Calculator"}},
        {A::TextEditor, {"text/plain"}, {"TextEditor"}},
        {A::Terminal, {}, {"TerminalEmulator"}},
        {A::Browser,
         {"x-scheme-handler/http", "x-scheme-handler/https", "text/html"},
         {"WebBrowser"}},
        {A::Mail, {"x-scheme-handler/mailto"}, {"Email"}},
        {A::FileManager, {"inode/directory"}, {"FileManager"}},
        {A::MediaPlayer, {"video/mp4", "video/x-matroska", "audio/mpeg"}, {"Player", "Video"}},
        {A::CdPlayer, {"x-content/audio-cdda"}, {"Player", "Audio"}},
        {A::PhoneDialer, {"x-scheme-handler/tel", "x-scheme-handler/callto"}, {"Telephony"}},
    };
    return kinds;
}

// The [Default Applications] group of a mimeapps.list (or the older defaults.list).
QList<std::pair<QString, QStringList>> readDefaultsFile(const QString &path)
{
    QFile file(path);
    QList<std::pair<QString, QStringList>> defaults;
    if (!file.open(QIODevice::ReadOnly))
        return defaults;
    bool inGroup = false;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('[')) {
            inGroup = line == QLatin1String("[Default Applications]");
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!inGroup || eq <= 0)
            continue;
        defaults.append({line.left(eq).trimmed(), line.mid(eq + 1).split(';', Qt::SkipEmptyParts)});
    }
    return defaults;
}

} // namespace

DesktopApplications::DesktopApplications(const DesktopEnvironment &environment)
    : m_environment(environment)
{
    // An ID seen in an earlier folder hides later ones, even when its entry is left out.
    QSet<QString> seen;
    for (const QString &data : environment.dataFolders())
        readFolder(data + QStringLiteral("/applications"), seen);
    readDefaults();
}

void DesktopApplications::readFolder(const QString &root, QSet<QString> &seen)
{
    QStringList files;
    QDirIterator it(root, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    std::sort(files.begin(), files.end());
    for (const QString &path : std::as_const(files)) {
        const QString id = QDir(root).relativeFilePath(path).replace('/', '-');
        if (seen.contains(id))
            continue;
        seen.insert(id);
        const std::optional<DesktopEntry> entry = DesktopEntry::read(path);
        if (!entry || entry->flag(QStringLiteral("Hidden")) ||
            entry->value(QStringLiteral("Type")) != QLatin1String("Application") ||
            entry->flag(QStringLiteral("Terminal")))
            continue;
        const QString tryExec = entry->value(QStringLiteral("TryExec"));
        if (!tryExec.isEmpty() && m_environment.findProgram(tryExec).isEmpty())
            continue;
        const QStringList exec = entry->execArguments(path);
        const QString program =
            exec.isEmpty() ? QString() : m_environment.findProgram(exec.first());
        if (program.isEmpty())
            continue;
        m_applications.append(
            {id, path, entry->value(QStringLiteral("Name")), program, exec.mid(1),
             entry->list(QStringLiteral("Categories")), entry->list(QStringLiteral("MimeType")),
             entry->flag(QStringLiteral("NoDisplay")), entry->list(QStringLiteral("OnlyShowIn")),
             entry->list(QStringLiteral("NotShowIn"))});
    }
}

void DesktopApplications::readDefaults()
{
    // The lookup order of the MIME applications specification: desktop-specific lists before
    // the general one, configuration folders before data folders.
    QStringList names;
    for (const QString &desktop : m_environment.desktopNames())
        names << desktop.toLower() + QStringLiteral("-mimeapps.list");
    names << QStringLiteral("mimeapps.list");
    QStringList files;
    for (const QString &config : m_environment.configFolders()) {
        for (const QString &name : std::as_const(names))
            files << config + '/' + name;
    }
    for (const QString &data : m_environment.dataFolders()) {
        for (const QString &name : std::as_const(names))
            files << data + QStringLiteral("/applications/") + name;
        files << data + QStringLiteral("/applications/defaults.list");
    }
    for (const QString &file : std::as_const(files))
        m_defaults += readDefaultsFile(file);
}

bool DesktopApplications::shownHere(const Application &application) const
{
    if (application.noDisplay)
        return false;
    const QStringList &names = m_environment.desktopNames();
    const auto any = [&names](const QStringList &list) {
        return std::any_of(list.begin(), list.end(), [&names](const QString &name) {
            return names.contains(name, Qt::CaseInsensitive);
        });
    };
    if (!application.onlyShowIn.isEmpty() && !any(application.onlyShowIn))
        return false;
    return !any(application.notShowIn);
}

std::optional<DesktopApplications::Application> DesktopApplications::find(const QString &id) const
{
    for (const Application &app : m_applications) {
        if (app.id == id)
            return app;
    }
    return std::nullopt;
}

std::optional<DesktopApplications::Application>
DesktopApplications::defaultFor(const QString &mimeType) const
{
    for (const auto &[type, ids] : m_defaults) {
        if (type != mimeType)
            continue;
        for (const QString &id : ids) {
            if (auto app = find(id))
                return app;
        }
    }
    for (const Application &app : m_applications) {
        if (app.mimeTypes.contains(mimeType) && shownHere(app))
            return app;
    }
    return std::nullopt;
}

std::optional<DesktopApplications::Application>
DesktopApplications::withCategories(const QStringList &categories) const
{
    for (const Application &app : m_applications) {
        const bool all =
            std::all_of(categories.begin(), categories.end(),
                        [&app](const QString &c) { return app.categories.contains(c); });
        if (all && shownHere(app))
            return app;
    }
    return std::nullopt;
}

std::optional<DesktopApplications::Application>
DesktopApplications::accessory(Accessory which) const
{
    for (const AccessoryKind &kind : accessoryKinds()) {
        if (kind.which != which)
            continue;
        for (const QString &type : kind.mimeTypes) {
            if (auto app = defaultFor(type))
                return app;
        }
        return withCategories(kind.categories);
    }
    return std::nullopt;
}
