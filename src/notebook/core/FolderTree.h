#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The notebook's file-system tree (tvwdb) without its widget: node tags, captions, the roots
// "Desktop" and "My Computer" as this system has them, and the entries of a folder. Node keys
// are full paths and compare exactly (a case-sensitive file system tells them apart).
class FolderTree
{
public:
    enum class Tag { Main, Folder, File };

    struct Entry {
        QString caption;
        QString path; // the node's key
        Tag tag = Tag::Folder;
    };

    // A mounted volume as the system reports it.
    struct Volume {
        QString name; // the volume's label; may be empty
        QString root; // where it is mounted
        QString device;
        QString type; // file system type ("ext4", "tmpfs", ...)
    };

    // "Main", "Folder" or "File".
    static QString tagText(Tag tag);
    // A name that is entirely upper case is shown with its first letter upper case and the
    // rest lower case (WINDOWS as Windows); other names as they are.
    static QString caption(const QString &name);

    // The entries of a folder: its folders, then its files, each sorted by name without regard
    // to case; hidden entries (a leading dot) are left out. readable is false when the folder
    // cannot be read.
    static std::vector<Entry> list(const QString &folder, bool *readable = nullptr);

    // The volumes a user keeps files on: the root file system, block devices and network
    // shares; kernel, memory and snap file systems are left out.
    static bool isUserVolume(const Volume &volume);
    static std::vector<Volume> mountedVolumes();
    // The volume's label and its mount point in brackets, "(/media/usb)" when it has no label.
    static QString volumeCaption(const Volume &volume);
    // The children of "My Computer": the home folder, then the user volumes.
    static std::vector<Entry> myComputer(const std::vector<Volume> &volumes, const QString &home);
};

// True when one of the sibling nodes (by key) is named name, compared exactly.
bool CheckDuplicate(const QStringList &siblingKeys, const QString &name);
// The path with one trailing separator.
QString IFBACKSLASH(const QString &path);
