#pragma once

#include "FileEntry.h"

#include <QByteArray>

#include <vector>

// Reads the entries directly inside one folder: names, sizes, times and attributes in one pass
// (statx relative to the open folder on Linux). Entries that vanish or cannot be read while the
// folder is read are left out silently; a symbolic link stands for what it points to, and a
// dangling one is left out. A ".hidden" file in the folder names entries to mark hidden; it is
// read only when it is a regular file of at most 1 MB (a pipe would block, a link to a device
// would never end).
//
// This is the one place that speaks to the operating system about folders: the POSIX calls sit
// in one #ifdef of FolderReader.cpp, with Qt's classes for other systems.
class FolderReader
{
public:
    // An open folder. Reading it and opening the folders inside it go through its descriptor,
    // so a folder at any depth opens, paths longer than the system's limit included. Move-only.
    class Folder
    {
    public:
        Folder() = default;
        Folder(Folder &&other) noexcept;
        Folder &operator=(Folder &&other) noexcept;
        Folder(const Folder &) = delete;
        Folder &operator=(const Folder &) = delete;
        ~Folder();

        bool isOpen() const { return m_handle >= 0 || !m_path.isEmpty(); }

    private:
        friend class FolderReader;
        int m_handle = -1; // POSIX descriptor
        QByteArray m_path; // elsewhere
    };

    // Opens a folder by its native path (any length); not open when it cannot be opened.
    static Folder open(const QByteArray &nativePath);
    // Opens the folder called name inside parent (following a link).
    static Folder open(const Folder &parent, const QByteArray &name);

    // Fills entries (cleared first) in the order the file system gives them. False when the
    // folder cannot be read; entries is then empty.
    static bool read(const Folder &folder, std::vector<FileEntry> &entries);
    static bool read(const QByteArray &nativeFolder, std::vector<FileEntry> &entries);
    // folder as the program shows it (NativeName).
    static bool read(const QString &folder, std::vector<FileEntry> &entries);
    // The entry of one path (following a link); false when it does not exist or is neither a
    // file nor a folder.
    static bool stat(const QByteArray &nativePath, FileEntry &entry);
    // The identity (device, inode) and times of an open folder.
    static bool stat(const Folder &folder, FileEntry &entry);
};
