#include "FolderTree.h"

#include "FolderReader.h"
#include "SharedRoutines.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace
{

void sortByCaption(std::vector<FolderTree::Entry> &entries)
{
    std::sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) {
        const int order = a.caption.compare(b.caption, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.caption < b.caption;
    });
}

} // namespace

QString FolderTree::tagText(Tag tag)
{
    switch (tag) {
    case Tag::Main:
        return QStringLiteral("Main");
    case Tag::Folder:
        return QStringLiteral("Folder");
    case Tag::File:
        return QStringLiteral("File");
    }
    return QString();
}

QString FolderTree::caption(const QString &name)
{
    const bool hasLetter =
        std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.isLetter(); });
    if (!hasLetter || name != name.toUpper())
        return name;
    return name.left(1) + name.mid(1).toLower();
}

std::vector<FolderTree::Entry> FolderTree::list(const QString &folder, bool *readable)
{
    std::vector<FileEntry> found;
    const bool ok = FolderReader::read(folder, found);
    if (readable)
        *readable = ok;
    std::vector<Entry> folders;
    std::vector<Entry> files;
    const QDir dir(folder);
    for (const FileEntry &entry : found) {
        const QString name = entry.name();
        if (name.startsWith('.'))
            continue;
        Entry node{caption(name), dir.filePath(name), entry.isFolder ? Tag::Folder : Tag::File};
        (entry.isFolder ? folders : files).push_back(std::move(node));
    }
    sortByCaption(folders);
    sortByCaption(files);
    folders.insert(folders.end(), std::make_move_iterator(files.begin()),
                   std::make_move_iterator(files.end()));
    return folders;
}

bool FolderTree::isUserVolume(const Volume &volume)
{
    if (volume.root == QLatin1String("/"))
        return true;
    static const QStringList systemTypes = {
        "autofs",      "binfmt_misc",    "bpf",      "cgroup",   "cgroup2", "configfs",
        "debugfs",     "devpts",         "devtmpfs", "efivarfs", "fusectl", "hugetlbfs",
        "mqueue",      "nsfs",           "overlay",  "proc",     "pstore",  "ramfs",
        "rpc_pipefs",  "securityfs",     "squashfs", "sysfs",    "tmpfs",   "tracefs",
        "fuse.portal", "fuse.gvfsd-fuse"};
    if (systemTypes.contains(volume.type))
        return false;
    for (const char *system : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot"}) {
        const QLatin1String prefix(system);
        if ((volume.root == prefix || volume.root.startsWith(prefix + '/')) &&
            !volume.root.startsWith(QLatin1String("/run/media/")))
            return false;
    }
    static const QStringList networkTypes = {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs"};
    return volume.device.startsWith(QLatin1String("/dev/")) || networkTypes.contains(volume.type);
}

std::vector<FolderTree::Volume> FolderTree::mountedVolumes()
{
    std::vector<Volume> volumes;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid() || !QFileInfo(storage.rootPath()).isDir())
            continue;
        Volume volume{storage.name(), storage.rootPath(), QString::fromLocal8Bit(storage.device()),
                      QString::fromLatin1(storage.fileSystemType())};
        if (isUserVolume(volume))
            volumes.push_back(std::move(volume));
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const Volume &a, const Volume &b) { return a.root < b.root; });
    return volumes;
}

QString FolderTree::volumeCaption(const Volume &volume)
{
    const QString bracketed = '(' + QDir::toNativeSeparators(volume.root) + ')';
    return volume.name.isEmpty() ? bracketed : volume.name + ' ' + bracketed;
}

std::vector<FolderTree::Entry> FolderTree::myComputer(const std::vector<Volume> &volumes,
                                                      const QString &home)
{
    std::vector<Entry> entries;
    if (!home.isEmpty())
        entries.push_back(
            {volumeCaption({QStringLiteral("Home"), home, {}, {}}), home, Tag::Folder});
    for (const Volume &volume : volumes)
        entries.push_back({volumeCaption(volume), volume.root, Tag::Folder});
    return entries;
}

bool CheckDuplicate(const QStringList &siblingKeys, const QString &name)
{
    return std::any_of(siblingKeys.cbegin(), siblingKeys.cend(),
                       [&name](const QString &key) { return FileNameOfPath(key) == name; });
}

QString IFBACKSLASH(const QString &path)
{
    return path.endsWith('/') || path.endsWith(QDir::separator()) ? path : path + QDir::separator();
}
