#pragma once

#include "DesktopEnvironment.h"

#include <QList>
#include <QString>

// The panel's special (shell) folders by their old CSIDL numbers, as this desktop has them: a
// real folder (from the XDG user folders through Platform), a virtual one whose items the panel
// lists itself (the trash, recent files, the mounted volumes), or none where the number has no
// meaning here (printers, the control panel, cookies).
class SpecialFolders
{
public:
    enum class Kind { Folder, Virtual, None };

    struct Entry {
        int csidl;
        QString name;
        Kind kind;
    };

    struct Item {
        QString name;
        QString path;
    };

    // What choosing a folder shows: the folder or items in the view (hidden when there is
    // nothing to show) and the text of the path caption.
    struct Shown {
        bool visible = false;
        QString folder;    // the folder the view shows; "" for a virtual folder
        QList<Item> items; // a virtual folder's items
        QString caption;
    };

    // Folders the panel's buttons browse.
    enum class Browse {
        Desktop,
        MyDocuments,
        MyMusic,
        MyPictures,
        MyWebs,
        Clipart,
        Stationery,
        Themes,
        Favorites,
        UserFiles,
        Windows,
        ProgramFiles
    };

    // The cboShellFolders list, in list order (12 to 15 and 28 are not offered).
    static const QList<Entry> &entries();
    static QString name(int csidl);
    static Shown show(int csidl);

    // Recent files from a recently-used.xbel, newest first, local files that still exist.
    static QList<Item> recentFiles(const QString &xbelPath);
    // The trash's files (its "files" folder, by name).
    static QList<Item> trashItems(const QString &trashFolder);
    // Mounted volumes that hold a real device.
    static QList<Item> volumes();

    // The folder a button browses; "" when it has no meaning here or does not exist.
    static QString browseFolder(Browse which, const DesktopEnvironment &environment);

    static QString missingText();
    static QString noPathText(int csidl);
};
