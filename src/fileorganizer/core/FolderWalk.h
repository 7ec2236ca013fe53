#pragma once

#include "FileEntry.h"
#include "FolderReader.h"

#include <QByteArray>
#include <QPair>
#include <QSet>

#include <deque>
#include <vector>

// A breadth-first walk from a start folder into every folder beneath it (or the start folder
// alone): each folder is read once, known by its device and inode, so a link back into the tree
// is not entered again; folders that cannot be read are skipped silently. Each folder opens
// through its parent's descriptor (FolderReader::Folder), so depth does not matter: a tree deeper
// than the system's path limit is walked to its bottom. Not thread-safe.
class FolderWalk
{
public:
    // One folder read: its native path (any length), its parent's (null for the start folder)
    // and its entries.
    struct Visit {
        QByteArray path;
        QByteArray parent;
        std::vector<FileEntry> entries;
    };

    FolderWalk(const QByteArray &start, bool subfolders);

    // Reads the next folder into visit; false when the walk is over.
    bool next(Visit *visit);

    // path + "/" + name, without a doubled separator.
    static QByteArray joined(const QByteArray &path, const QByteArray &name);

private:
    struct Pending {
        QByteArray path;
        QByteArray name;   // inside the parent
        QByteArray parent; // null for the start folder
    };

    FolderReader::Folder openFolder(const Pending &item);

    bool m_subfolders;
    std::deque<Pending> m_pending;
    QSet<QPair<quint64, quint64>> m_entered;
    // The folder read last and the parent opened last: siblings share a parent and a chain of
    // single folders goes on from the last one, so most folders open with one call.
    FolderReader::Folder m_last;
    QByteArray m_lastPath;
    FolderReader::Folder m_parent;
    QByteArray m_parentPath;
};
