#include "Moduleshortcut.h"

#include "CommandLine.h"
#include "DesktopMap.h"
#include "Dialogs.h"
#include "Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSaveFile>
#include <QUrl>
#include <QXmlStreamWriter>

namespace
{

void failed(const QString &text)
{
    Dialogs::instance().message(text, QStringLiteral("Ouch!"), Dialogs::Icon::Warning);
}

bool writeFile(const QString &path, const QByteArray &content)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    // Replaced whole or not at all: an entry cut short would break the menu.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.commit();
}

QByteArray menuFile(const QString &group, const QString &id)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeDTD(
        QStringLiteral("<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
                       " \"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd\">"));
    xml.writeStartElement(QStringLiteral("Menu"));
    xml.writeTextElement(QStringLiteral("Name"), QStringLiteral("Applications"));
    xml.writeStartElement(QStringLiteral("Menu"));
    xml.writeTextElement(QStringLiteral("Name"), group);
    xml.writeTextElement(QStringLiteral("Directory"),
                         QStringLiteral("nuvela-%1.directory").arg(id));
    xml.writeStartElement(QStringLiteral("Include"));
    xml.writeTextElement(QStringLiteral("Category"), QStringLiteral("X-Nuvela-") + id);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

} // namespace

Moduleshortcut::Moduleshortcut(Shell shell) : Moduleshortcut(shell, DesktopEnvironment::current())
{
}

Moduleshortcut::Moduleshortcut(Shell shell, const DesktopEnvironment &environment)
    : m_shell(shell), m_environment(environment)
{
}

QString Moduleshortcut::createShortcut(const QString &folder, const QString &title,
                                       const QString &target, const QString &arguments)
{
    Group group = Group::Invalid;
    if (!validateGroup(folder, &group))
        return {};
    const QString path = stripQuotes(target);
    const QString args = stripQuotes(arguments);
    if (title.trimmed().isEmpty() || !QDir::isAbsolutePath(path)) {
        failed(QStringLiteral("Create Shortcut Failed!"));
        return {};
    }
    Platform &platform = Platform::instance();
    const QString base = fileBaseName(title) + QStringLiteral(".desktop");
    QString file;
    QString category;
    if (group == Group::Desktop) {
        file = platform.specialFolder(0);
    } else {
        // Menu entries carry the program's prefix, so that a title can never shadow the entry
        // of an installed application with the same ID.
        file = platform.specialFolder(2);
        if (group == Group::Folder) {
            file += '/' + shellFolderName(folder);
            category = QStringLiteral("X-Nuvela-") + groupId(shellFolderName(folder));
        }
    }
    const DesktopEntry entry = shortcutEntry(title, path, args, group != Group::Desktop, category);
    if (file.isEmpty() || entry.isEmpty()) {
        failed(QStringLiteral("Create Shortcut Failed!"));
        return {};
    }
    file += group == Group::Desktop ? '/' + base : QStringLiteral("/nuvela-") + base;
    return writeEntry(file, entry, group == Group::Desktop);
}

bool Moduleshortcut::validateGroup(const QString &folder, Group *group) const
{
    *group = checkGroup(folder, m_shell);
    if (*group == Group::Invalid) {
        Dialogs::instance().message(
            QStringLiteral("Error: Could not validate the Program Group name!"),
            QStringLiteral("Error"), Dialogs::Icon::Question);
        return false;
    }
    if (m_shell == Shell::ProgramManager) {
        // Program Manager's conversation has no counterpart on this desktop.
        Dialogs::instance().message(DesktopMap::notAvailableText(),
                                    DesktopMap::notAvailableTitle());
        return false;
    }
    if (*group == Group::Folder && !createGroup(shellFolderName(folder))) {
        failed(QStringLiteral("Create Start Menu Group Failed!"));
        return false;
    }
    return true;
}

bool Moduleshortcut::createGroup(const QString &group) const
{
    Platform &platform = Platform::instance();
    const QString applications = platform.specialFolder(2);
    const QString dataHome = platform.specialFolder(28);
    const QString configHome = platform.specialFolder(26);
    if (group.trimmed().isEmpty() || applications.isEmpty() || dataHome.isEmpty() ||
        configHome.isEmpty())
        return false;
    const QString id = groupId(group);
    DesktopEntry directory;
    directory.set(QStringLiteral("Version"), QStringLiteral("1.0"));
    directory.set(QStringLiteral("Type"), QStringLiteral("Directory"));
    directory.set(QStringLiteral("Name"), group);
    directory.set(QStringLiteral("Icon"), QStringLiteral("folder"));
    return QDir().mkpath(applications + '/' + group) &&
           writeFile(dataHome + QStringLiteral("/desktop-directories/nuvela-%1.directory").arg(id),
                     directory.text()) &&
           writeFile(configHome +
                         QStringLiteral("/menus/applications-merged/nuvela-%1.menu").arg(id),
                     menuFile(group, id));
}

QString Moduleshortcut::writeEntry(const QString &path, const DesktopEntry &entry,
                                   bool onDesktop) const
{
    if (!writeFile(path, entry.text())) {
        failed(QStringLiteral("Create Shortcut Failed!"));
        return {};
    }
    // File managers start desktop entries on the desktop only when they are executable, and
    // GNOME's desktop only when they are trusted as well.
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup |
                                    QFile::ExeOther);
    const QString gio = m_environment.findProgram(QStringLiteral("gio"));
    if (onDesktop && !gio.isEmpty())
        Platform::instance().startProgram(gio, {QStringLiteral("set"), path,
                                                QStringLiteral("metadata::trusted"),
                                                QStringLiteral("true")});
    return path;
}

Moduleshortcut::Group Moduleshortcut::checkGroup(const QString &folder, Shell shell)
{
    if (isDesktopGroup(folder))
        return Group::Desktop;
    if (folder == QLatin1String(".."))
        return Group::TopLevel;
    const bool valid =
        shell == Shell::Freedesktop ? validShellName(folder) : validProgramManagerName(folder);
    return valid ? Group::Folder : Group::Invalid;
}

bool Moduleshortcut::isDesktopGroup(const QString &folder)
{
    return folder.trimmed().toUpper().replace('/', '\\') == QLatin1String("..\\..\\DESKTOP");
}

bool Moduleshortcut::validShellName(const QString &name)
{
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    if (name.size() >= 260)
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) { return forbidden.contains(c); });
}

bool Moduleshortcut::validProgramManagerName(const QString &name)
{
    static const QString forbidden = QStringLiteral("\"][,)(");
    if (name.size() > 30)
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) { return forbidden.contains(c); });
}

QString Moduleshortcut::stripQuotes(const QString &text)
{
    if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"'))
        return text.mid(1, text.size() - 2);
    return text;
}

QString Moduleshortcut::shellFolderName(const QString &name)
{
    return QString(name).replace('"', '\'');
}

QString Moduleshortcut::fileBaseName(const QString &title)
{
    QString name;
    for (const QChar c : title.trimmed())
        name += (c == '/' || c == '\\' || c.category() == QChar::Other_Control) ? QChar('-') : c;
    if (name.startsWith('.'))
        name[0] = '_';
    // Whole characters only: a surrogate pair cut in half would leave a name no file system
    // round-trips.
    while (name.toUtf8().size() > 200)
        name.chop(name.size() >= 2 && name.back().isLowSurrogate() ? 2 : 1);
    return name;
}

QString Moduleshortcut::groupId(const QString &group)
{
    QString id;
    for (const char c : group.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        // ASCII letters and digits only: the locale's idea of alphanumeric would let UTF-8
        // bytes through into an identifier that must stay ASCII.
        const bool asciiAlnum = (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= 'A' && byte <= 'Z');
        if (asciiAlnum || c == '-')
            id += QLatin1Char(c);
        else
            id += QStringLiteral("_%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    }
    return id;
}

bool Moduleshortcut::isProgram(const QString &target)
{
    const QFileInfo info(target);
    if (!info.isFile() || !info.isExecutable())
        return false;
    // Files on some disks are all executable; only programs and scripts count.
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    for (const char *program : {"application/x-executable", "application/x-sharedlib",
                                "application/x-pie-executable", "application/x-shellscript"}) {
        if (type.inherits(QLatin1String(program)))
            return true;
    }
    return false;
}

DesktopEntry Moduleshortcut::shortcutEntry(const QString &title, const QString &target,
                                           const QString &arguments, bool inMenu,
                                           const QString &category)
{
    DesktopEntry entry;
    entry.set(QStringLiteral("Version"), QStringLiteral("1.0"));
    const bool program = isProgram(target);
    entry.set(QStringLiteral("Type"),
              program || inMenu ? QStringLiteral("Application") : QStringLiteral("Link"));
    entry.set(QStringLiteral("Name"), title.trimmed());
    entry.set(QStringLiteral("Icon"), program ? QStringLiteral("application-x-executable")
                                              : QMimeDatabase().mimeTypeForFile(target).iconName());
    if (program) {
        const std::optional<QStringList> words = CommandLine::split(arguments);
        if (!words)
            return {};
        QStringList exec{CommandLine::quote(target)};
        for (const QString &word : *words)
            exec << CommandLine::quote(word);
        entry.set(QStringLiteral("Exec"), exec.join(' ').replace('%', QStringLiteral("%%")));
    } else if (inMenu) {
        entry.set(QStringLiteral("Exec"),
                  QStringLiteral("xdg-open ") +
                      CommandLine::quote(target).replace('%', QStringLiteral("%%")));
    } else {
        entry.set(QStringLiteral("URL"), QUrl::fromLocalFile(target).toString(QUrl::FullyEncoded));
    }
    if (!category.isEmpty())
        entry.set(QStringLiteral("Categories"), category + ';');
    return entry;
}
