#include "SpecialFolders.h"

#include "AppFolders.h"
#include "Drives.h"
#include "Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QXmlStreamReader>

#include <algorithm>

namespace
{

// XDG_DATA_HOME, where the trash and the recent-files list live.
QString dataHome()
{
    return Platform::instance().specialFolder(28);
}

// The first folder named sub under the XDG data folders (the user's own first).
QString dataFolder(const DesktopEnvironment &environment, const QStringList &subs)
{
    for (const QString &sub : subs) {
        for (const QString &data : environment.dataFolders()) {
            if (QFileInfo(data + '/' + sub).isDir())
                return data + '/' + sub;
        }
    }
    return {};
}

} // namespace

const QList<SpecialFolders::Entry> &SpecialFolders::entries()
{
    using K = Kind;
    static const QList<Entry> list = {
        {0, "Desktop", K::Folder},
        {1, "Internet", K::None},
        {2, "Program Groups", K::Folder},
        {3, "Control Panel", K::None},
        {4, "Printers", K::None},
        {5, "My Documents", K::Folder},
        {6, "Favorites", K::None},
        {7, "Startup Menu", K::Folder},
        {8, "Recent Documents", K::Virtual},
        {9, "Send To", K::None},
        {10, "Recycle Bin", K::Virtual},
        {11, "Start Menu", K::Folder},
        {16, "Desktop Directory", K::Folder},
        {17, "My Computer", K::Virtual},
        {18, "Network Neighborhood", K::None},
        {19, "Network Neighborhood Directory", K::None},
        {20, "Fonts", K::Folder},
        {21, "Document Templates", K::Folder},
        {22, "Start Menu (All Users)", K::Folder},
        {23, "Program Groups (All Users)", K::Folder},
        {24, "Startup Menu (All Users)", K::Folder},
        {25, "Desktop Directory (All Users)", K::None},
        {26, "Application Data", K::Folder},
        {27, "Printer Directory", K::None},
        {29, "Non-Localized Startup Menu", K::Folder},
        {30, "Non-Localized Startup Menu (All Users)", K::Folder},
        {31, "Favorites (All Users)", K::None},
        {32, "Internet Cache", K::Folder},
        {33, "Cookies", K::None},
        {34, "History", K::None},
    };
    return list;
}

QString SpecialFolders::name(int csidl)
{
    for (const Entry &entry : entries()) {
        if (entry.csidl == csidl)
            return entry.name;
    }
    return {};
}

SpecialFolders::Shown SpecialFolders::show(int csidl)
{
    const auto entry = std::find_if(entries().begin(), entries().end(),
                                    [csidl](const Entry &e) { return e.csidl == csidl; });
    Shown shown;
    if (entry == entries().end() || entry->kind == Kind::None) {
        // The old shell knew no folder of these numbers above 21 at all.
        shown.caption = csidl > 21 ? noPathText(csidl) : missingText();
        return shown;
    }
    if (entry->kind == Kind::Folder) {
        const QString path = Platform::instance().specialFolder(csidl);
        if (path.isEmpty() || !QFileInfo(path).isDir()) {
            shown.caption = missingText();
            return shown;
        }
        shown.visible = true;
        shown.folder = path;
        shown.caption = QDir::toNativeSeparators(path);
        return shown;
    }
    shown.visible = true;
    shown.caption = noPathText(csidl);
    if (csidl == 8)
        shown.items = recentFiles(dataHome() + QStringLiteral("/recently-used.xbel"));
    else if (csidl == 10)
        shown.items = trashItems(dataHome() + QStringLiteral("/Trash/files"));
    else
        shown.items = volumes();
    return shown;
}

QList<SpecialFolders::Item> SpecialFolders::recentFiles(const QString &xbelPath)
{
    QFile file(xbelPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    struct Visit {
        QString path;
        QString stamp; // ISO 8601 text: text order is time order
    };
    QList<Visit> visits;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement ||
            xml.name() != QLatin1String("bookmark"))
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const QUrl url(attributes.value(QLatin1String("href")).toString());
        QString stamp = attributes.value(QLatin1String("visited")).toString();
        if (stamp.isEmpty())
            stamp = attributes.value(QLatin1String("modified")).toString();
        if (url.isLocalFile() && QFileInfo::exists(url.toLocalFile()))
            visits.append({url.toLocalFile(), stamp});
    }
    std::stable_sort(visits.begin(), visits.end(),
                     [](const Visit &a, const Visit &b) { return a.stamp > b.stamp; });
    QList<Item> items;
    for (const Visit &visit : std::as_const(visits))
        items.append({QFileInfo(visit.path).fileName(), visit.path});
    return items;
}

QList<SpecialFolders::Item> SpecialFolders::trashItems(const QString &trashFolder)
{
    QList<Item> items;
    const QFileInfoList files =
        QDir(trashFolder)
            .entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                           QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &info : files)
        items.append({info.fileName(), info.absoluteFilePath()});
    return items;
}

QList<SpecialFolders::Item> SpecialFolders::volumes()
{
    QList<Item> items;
    for (const Drives::Drive &drive : Drives::list())
        items.append({drive.name, drive.rootPath});
    return items;
}

QString SpecialFolders::browseFolder(Browse which, const DesktopEnvironment &environment)
{
    Platform &platform = Platform::instance();
    QString folder;
    switch (which) {
    case Browse::Desktop:
        folder = platform.specialFolder(0);
        break;
    case Browse::MyDocuments:
        folder = platform.specialFolder(5);
        break;
    case Browse::MyMusic:
        folder = platform.specialFolder(13);
        break;
    case Browse::MyPictures:
        folder = platform.specialFolder(39);
        break;
    case Browse::MyWebs:
        // A user's own web pages, as web servers publish them.
        if (const QString home = platform.specialFolder(40); !home.isEmpty())
            folder = home + QStringLiteral("/public_html");
        break;
    case Browse::Clipart:
        folder =
            dataFolder(environment, {QStringLiteral("clipart"), QStringLiteral("openclipart")});
        break;
    case Browse::Stationery:
        folder = platform.specialFolder(21);
        break;
    case Browse::Themes:
        folder = dataFolder(environment, {QStringLiteral("themes")});
        break;
    case Browse::Favorites:
        break;
    case Browse::UserFiles:
        folder = AppFolders::userFilesRoot();
        break;
    case Browse::Windows:
        folder = platform.windowsFolder();
        break;
    case Browse::ProgramFiles:
        folder = platform.specialFolder(38);
        break;
    }
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

QString SpecialFolders::missingText()
{
    return QStringLiteral("The folder does not exist on this system.");
}

QString SpecialFolders::noPathText(int csidl)
{
    if (csidl > 21)
        return QStringLiteral("Is either a vitual folder, or Shell32.dll is < v4.71 ") +
               QStringLiteral("and it doesn't know about the CSIDL value)");
    return QStringLiteral("Folder has no path (is a vitual folder).");
}
