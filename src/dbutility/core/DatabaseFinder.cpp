#include "DatabaseFinder.h"

#include "FolderReader.h"

#include <QFile>
#include <QPair>
#include <QSet>

#include <algorithm>
#include <deque>

bool DatabaseFinder::isCandidate(const QByteArray &fileName)
{
    const qsizetype dot = fileName.lastIndexOf('.');
    if (dot < 0)
        return false;
    const QByteArray suffix = fileName.mid(dot + 1).toLower();
    return suffix == "dbf" || suffix == "mdb" || suffix == "accdb" || suffix == "db" ||
           suffix == "sqlite" || suffix == "sqlite3" || suffix == "db3";
}

std::vector<DatabaseFinder::Found> DatabaseFinder::find(const QString &folder,
                                                        const std::function<bool()> &cancelled,
                                                        const Progress &progress)
{
    std::vector<Found> found;
    const QByteArray start = QFile::encodeName(folder);
    QSet<QPair<quint64, quint64>> entered;
    FileEntry self;
    if (FolderReader::stat(start, self))
        entered.insert({self.device, self.inode});
    std::deque<QByteArray> pending{start};
    std::vector<FileEntry> entries;
    while (!pending.empty() && !(cancelled && cancelled())) {
        const QByteArray path = std::move(pending.front());
        pending.pop_front();
        if (!FolderReader::read(path, entries))
            continue;
        if (progress.folderRead)
            progress.folderRead(QFile::decodeName(path));
        const QByteArray prefix = path.endsWith('/') ? path : path + '/';
        for (const FileEntry &entry : entries) {
            if (entry.isFolder) {
                if (!entered.contains({entry.device, entry.inode})) {
                    entered.insert({entry.device, entry.inode});
                    pending.push_back(prefix + entry.nativeName);
                }
                continue;
            }
            if (!isCandidate(entry.nativeName))
                continue;
            if (progress.candidateRead)
                progress.candidateRead();
            const QString file = QFile::decodeName(prefix + entry.nativeName);
            const DbKind kind = DbSourceType::fromContent(file);
            if (kind != DbKind::None)
                found.push_back({file, kind});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const Found &a, const Found &b) { return a.path < b.path; });
    return found;
}
