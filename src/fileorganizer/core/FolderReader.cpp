#include "FolderReader.h"

#include "NativeName.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#ifdef Q_OS_LINUX
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <utility>

namespace
{

// A ".hidden" list longer than this is no list: it is not read.
constexpr qint64 maxHiddenListSize = 1024 * 1024;

// The names of a ".hidden" list, one a line; a set, as a folder may hold 100,000 names.
QSet<QByteArray> hiddenNamesIn(const QByteArray &list)
{
    QSet<QByteArray> names;
    for (const QByteArray &line : list.split('\n')) {
        const QByteArray name = line.trimmed();
        if (!name.isEmpty())
            names.insert(name);
    }
    return names;
}

} // namespace

FolderReader::Folder::Folder(Folder &&other) noexcept
    : m_handle(std::exchange(other.m_handle, -1)), m_path(std::move(other.m_path))
{
}

FolderReader::Folder &FolderReader::Folder::operator=(Folder &&other) noexcept
{
    std::swap(m_handle, other.m_handle);
    std::swap(m_path, other.m_path);
    return *this;
}

bool FolderReader::read(const QByteArray &nativeFolder, std::vector<FileEntry> &entries)
{
    entries.clear();
    const Folder folder = open(nativeFolder);
    return folder.isOpen() && read(folder, entries);
}

bool FolderReader::read(const QString &folder, std::vector<FileEntry> &entries)
{
    return read(NativeName::toNative(folder), entries);
}

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

constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// A path longer than the system's limit opens one name at a time, each relative to the last.
int openPath(const QByteArray &path)
{
    if (path.size() < PATH_MAX)
        return ::open(path.constData(), folderFlags);
    int at = ::open(path.startsWith('/') ? "/" : ".", folderFlags);
    for (const QByteArray &name : path.split('/')) {
        if (at < 0 || name.isEmpty())
            continue;
        const int next = ::openat(at, name.constData(), folderFlags);
        ::close(at);
        at = next;
    }
    return at;
}

// The ".hidden" list of an open folder, read only when it is a regular file of sane size.
QSet<QByteArray> hiddenNames(int folder)
{
    const int list = ::openat(folder, ".hidden", O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (list < 0)
        return {};
    struct stat st;
    QByteArray bytes;
    if (::fstat(list, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxHiddenListSize) {
        bytes.resize(qsizetype(st.st_size));
        const ssize_t got = ::read(list, bytes.data(), size_t(bytes.size()));
        bytes.resize(got > 0 ? qsizetype(got) : 0);
    }
    ::close(list);
    return hiddenNamesIn(bytes);
}

} // namespace

FolderReader::Folder::~Folder()
{
    if (m_handle >= 0)
        ::close(m_handle);
}

FolderReader::Folder FolderReader::open(const QByteArray &nativePath)
{
    Folder folder;
    folder.m_handle = nativePath.isEmpty() ? -1 : openPath(nativePath);
    return folder;
}

FolderReader::Folder FolderReader::open(const Folder &parent, const QByteArray &name)
{
    Folder folder;
    if (parent.m_handle >= 0 && !name.isEmpty() && !name.contains('/'))
        folder.m_handle = ::openat(parent.m_handle, name.constData(), folderFlags);
    return folder;
}

bool FolderReader::stat(const QByteArray &nativePath, FileEntry &entry)
{
    struct statx st;
    if (::statx(AT_FDCWD, nativePath.constData(), AT_STATX_SYNC_AS_STAT, StatMask, &st) != 0)
        return false;
    const qsizetype slash = nativePath.lastIndexOf('/');
    entry.nativeName = slash < 0 ? nativePath : nativePath.mid(slash + 1);
    return fillEntry(st, entry.nativeName.startsWith('.'), entry);
}

bool FolderReader::stat(const Folder &folder, FileEntry &entry)
{
    struct statx st;
    return folder.m_handle >= 0 &&
           ::statx(folder.m_handle, "", AT_EMPTY_PATH | AT_STATX_SYNC_AS_STAT, StatMask, &st) ==
               0 &&
           fillEntry(st, false, entry);
}

bool FolderReader::read(const Folder &folder, std::vector<FileEntry> &entries)
{
    entries.clear();
    // The directory stream takes a descriptor of its own: the folder stays open.
    const int fd = folder.m_handle >= 0 ? ::dup(folder.m_handle) : -1;
    DIR *dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0)
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
    const QSet<QByteArray> hidden = hasHiddenList ? hiddenNames(::dirfd(dir)) : QSet<QByteArray>();
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

namespace
{

QSet<QByteArray> hiddenNames(const QString &folder)
{
    const QFileInfo info(folder + QStringLiteral("/.hidden"));
    QFile file(info.filePath());
    if (!info.isFile() || info.size() > maxHiddenListSize || !file.open(QIODevice::ReadOnly))
        return {};
    return hiddenNamesIn(file.read(maxHiddenListSize));
}

void fillEntry(const QFileInfo &info, FileEntry &entry)
{
    entry.nativeName = NativeName::toNative(info.fileName());
    entry.isFolder = info.isDir();
    entry.size = entry.isFolder ? 0 : info.size();
    entry.modifiedMsecs = info.lastModified().toMSecsSinceEpoch();
    const QDateTime born = info.birthTime();
    entry.createdMsecs = born.isValid() ? born.toMSecsSinceEpoch() : entry.modifiedMsecs;
    entry.inode = qHash(info.canonicalFilePath());
    int attributes = entry.isFolder ? FileEntry::Folder : FileEntry::Archive;
    if (!entry.isFolder && !info.isWritable())
        attributes |= FileEntry::ReadOnly;
    entry.attributes = attributes;
}

} // namespace

FolderReader::Folder::~Folder() = default;

FolderReader::Folder FolderReader::open(const QByteArray &nativePath)
{
    Folder folder;
    if (QFileInfo(NativeName::fromNative(nativePath)).isDir())
        folder.m_path = nativePath;
    return folder;
}

FolderReader::Folder FolderReader::open(const Folder &parent, const QByteArray &name)
{
    if (parent.m_path.isEmpty() || name.isEmpty())
        return {};
    return open(parent.m_path + '/' + name);
}

bool FolderReader::read(const Folder &folder, std::vector<FileEntry> &entries)
{
    entries.clear();
    const QString path = NativeName::fromNative(folder.m_path);
    QDir dir(path);
    if (folder.m_path.isEmpty() || !dir.exists() || !dir.isReadable())
        return false;
    const QSet<QByteArray> hidden = hiddenNames(path);
    const QFileInfoList infos = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot |
                                                  QDir::Hidden | QDir::System);
    for (const QFileInfo &info : infos) {
        if (!info.exists())
            continue;
        FileEntry entry;
        fillEntry(info, entry);
        if (info.isHidden() || hidden.contains(entry.nativeName))
            entry.attributes |= FileEntry::Hidden;
        entries.push_back(std::move(entry));
    }
    return true;
}

bool FolderReader::stat(const QByteArray &nativePath, FileEntry &entry)
{
    const QFileInfo info(NativeName::fromNative(nativePath));
    if (!info.exists())
        return false;
    fillEntry(info, entry);
    return true;
}

bool FolderReader::stat(const Folder &folder, FileEntry &entry)
{
    return stat(folder.m_path, entry);
}

#endif
