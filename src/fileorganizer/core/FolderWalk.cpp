#include "FolderWalk.h"

FolderWalk::FolderWalk(const QByteArray &start, bool subfolders) : m_subfolders(subfolders)
{
    m_pending.push_back({start, QByteArray(), QByteArray()});
}

QByteArray FolderWalk::joined(const QByteArray &path, const QByteArray &name)
{
    return path.endsWith('/') ? path + name : path + '/' + name;
}

FolderReader::Folder FolderWalk::openFolder(const Pending &item)
{
    if (item.parent.isNull())
        return FolderReader::open(item.path);
    if (item.parent == m_lastPath) {
        m_parent = std::move(m_last);
        m_parentPath = std::exchange(m_lastPath, QByteArray());
    } else if (item.parent != m_parentPath) {
        m_parent = FolderReader::open(item.parent);
        m_parentPath = item.parent;
    }
    return FolderReader::open(m_parent, item.name);
}

bool FolderWalk::next(Visit *visit)
{
    while (!m_pending.empty()) {
        const Pending item = std::move(m_pending.front());
        m_pending.pop_front();
        FolderReader::Folder folder = openFolder(item);
        if (!folder.isOpen() || !FolderReader::read(folder, visit->entries))
            continue;
        if (item.parent.isNull()) {
            // The start folder's own identity, so that a link back to it is not entered again.
            FileEntry self;
            if (FolderReader::stat(folder, self))
                m_entered.insert({self.device, self.inode});
        }
        for (const FileEntry &entry : visit->entries) {
            if (!m_subfolders || !entry.isFolder || m_entered.contains({entry.device, entry.inode}))
                continue;
            m_entered.insert({entry.device, entry.inode});
            m_pending.push_back({joined(item.path, entry.nativeName), entry.nativeName, item.path});
        }
        m_last = std::move(folder);
        m_lastPath = item.path;
        visit->path = item.path;
        visit->parent = item.parent;
        return true;
    }
    return false;
}
