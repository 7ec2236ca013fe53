#include "FolderReader.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>

namespace
{

// Names a ".hidden" file of the folder lists, one a line (the file managers' convention).
QList<QByteArray> hiddenNames(const QByteArray &folder)
{
    QFile file(QFile::decodeName(folder + "/.hidden"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> names = file.readAll().split('\n');
    for (QByteArray &name : names)
        name = name.trimmed();
    return names;
}

} // namespace

#ifdef Q_OS_LINUX

namespace
{

qint64 msecsOf(const struct statx_timestamp &t)
{
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// Read-only means the effective user may not write it; root may write anything writable by
// someone, so only a file without any write bit is read-only for root.
bool readOnly(const struct statx &st)
{
    static const uid_t user = geteuid();
    if (user == 0)
        return (st.stx_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    if (st.stx_uid == user)
        return (st.stx_mode & S_IWUSR) == 0;
    static const gid_t group = getegid();
    if (st.stx_gid == group)
        return (st.stx_mode & S_IWGRP) == 0;
    return (st.stx_mode & S_IWOTH) == 0;
}

constexpr unsigned StatMask = STATX_TYPE | STATX_MODE | STATX_UID | STATX_GID | STATX_SIZE |
                              STATX_MTIME | STATX_BTIME | STATX_INO;

// False for what is neither a file nor a folder (devices, sockets, pipes).
bool fillEntry(const struct statx &st, bool hidden, FileEntry &entry)
{
    entry.isFolder = S_ISDIR(st.stx_mode);
    if (!entry.isFolder && !S_ISREG(st.stx_mode))
        return false;
    entry.size = entry.isFolder ? 0 : qint64(st.stx_size);
    entry.modifiedMsecs = msecsOf(st.stx_mtime);
    entry.createdMsecs = (st.stx_mask & STATX_BTIME) ? msecsOf(st.stx_btime) : entry.modifiedMsecs;
    entry.device = (quint64(st.stx_dev_major) << 32) | st.stx_dev_minor;
    entry.inode = st.stx_ino;
    int attributes = entry.isFolder ? FileEntry::Folder : FileEntry::Archive;
    if (hidden)
        attributes |= FileEntry::Hidden;
    if (!entry.isFolder && readOnly(st))
        attributes |= FileEntry::ReadOnly;
    entry.attributes = attributes;
    return true;
}

} // namespace

bool FolderReader::stat(const QByteArray &nativePath, FileEntry &entry)
{
    struct statx st;
    if (::statx(AT_FDCWD, nativePath.constData(), AT_STATX_SYNC_AS_STAT, StatMask, &st) != 0)
        return false;
    const qsizetype slash = nativePath.lastIndexOf('/');
    entry.nativeName = slash < 0 ? nativePath : nativePath.mid(slash + 1);
    return fillEntry(st, entry.nativeName.startsWith('.'), entry);
}

bool FolderReader::read(const QByteArray &nativeFolder, std::vector<FileEntry> &entries)
{
    entries.clear();
    const int fd = ::open(nativeFolder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    std::vector<QByteArray> names;
    bool hasHiddenList = false;
    while (const dirent *item = ::readdir(dir)) {
        const char *name = item->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        if (qstrcmp(name, ".hidden") == 0)
            hasHiddenList = true;
        names.emplace_back(name);
    }
    const QList<QByteArray> hidden =
        hasHiddenList ? hiddenNames(nativeFolder) : QList<QByteArray>();
    entries.reserve(names.size());
    for (QByteArray &name : names) {
        struct statx st;
        // Following links: a link stands for its target; a dangling one fails and is skipped.
        if (::statx(::dirfd(dir), name.constData(), AT_STATX_SYNC_AS_STAT, StatMask, &st) != 0)
            continue;
        const bool hide = name.startsWith('.') || hidden.contains(name);
        FileEntry entry;
        if (fillEntry(st, hide, entry)) {
            entry.nativeName = std::move(name);
            entries.push_back(std::move(entry));
        }
    }
    ::closedir(dir);
    return true;
}

#else

bool FolderReader::read(const QByteArray &nativeFolder, std::vector<FileEntry> &entries)
{
    entries.clear();
    const QString folder = QFile::decodeName(nativeFolder);
    QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return false;
    const QList<QByteArray> hidden = hiddenNames(nativeFolder);
    const QFileInfoList infos = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot |
                                                  QDir::Hidden | QDir::System);
    for (const QFileInfo &info : infos) {
        if (!info.exists())
            continue;
        FileEntry entry;
        entry.nativeName = QFile::encodeName(info.fileName());
        entry.isFolder = info.isDir();
        entry.size = entry.isFolder ? 0 : info.size();
        entry.modifiedMsecs = info.lastModified().toMSecsSinceEpoch();
        const QDateTime born = info.birthTime();
        entry.createdMsecs = born.isValid() ? born.toMSecsSinceEpoch() : entry.modifiedMsecs;
        entry.inode = qHash(info.canonicalFilePath());
        int attributes = entry.isFolder ? FileEntry::Folder : FileEntry::Archive;
        if (info.isHidden() || hidden.contains(entry.nativeName))
            attributes |= FileEntry::Hidden;
        if (!entry.isFolder && !info.isWritable())
            attributes |= FileEntry::ReadOnly;
        entry.attributes = attributes;
        entries.push_back(std::move(entry));
    }
    return true;
}

bool FolderReader::stat(const QByteArray &nativePath, FileEntry &entry)
{
    const QFileInfo info(QFile::decodeName(nativePath));
    if (!info.exists())
        return false;
    entry.nativeName = QFile::encodeName(info.fileName());
    entry.isFolder = info.isDir();
    entry.size = entry.isFolder ? 0 : info.size();
    entry.modifiedMsecs = info.lastModified().toMSecsSinceEpoch();
    entry.createdMsecs = entry.modifiedMsecs;
    entry.inode = qHash(info.canonicalFilePath());
    entry.attributes = entry.isFolder ? FileEntry::Folder : FileEntry::Archive;
    return true;
}

#endif

bool FolderReader::read(const QString &folder, std::vector<FileEntry> &entries)
{
    return read(QFile::encodeName(folder), entries);
}
