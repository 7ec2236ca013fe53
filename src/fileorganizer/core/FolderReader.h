#pragma once

#include "FileEntry.h"

#include <QByteArray>

#include <vector>

// Reads the entries directly inside one folder: names, sizes, times and attributes in one pass
// (statx relative to the open folder on Linux). Entries that vanish or cannot be read while the
// folder is read are left out silently; a symbolic link stands for what it points to, and a
// dangling one is left out.
class FolderReader
{
public:
    // Fills entries (cleared first) in the order the file system gives them. False when the
    // folder cannot be opened; entries is then empty.
    static bool read(const QByteArray &nativeFolder, std::vector<FileEntry> &entries);
    static bool read(const QString &folder, std::vector<FileEntry> &entries);
    // The entry of one path (following a link); false when it does not exist or is neither a
    // file nor a folder.
    static bool stat(const QByteArray &nativePath, FileEntry &entry);
};
