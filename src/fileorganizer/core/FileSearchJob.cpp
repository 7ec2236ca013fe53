#include "FileSearchJob.h"

#include "FolderReader.h"

#include <QSet>

#include <deque>

namespace
{

QString withSeparator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

FileSearchJob::FileSearchJob(const QString &folder, const QString &patterns, bool subfolders,
                             QObject *parent)
    : Job(parent), m_folder(folder), m_pattern(patterns), m_subfolders(subfolders)
{
}

std::vector<FileEntry> FileSearchJob::search(const QString &folder, const NamePattern &pattern)
{
    std::vector<FileEntry> entries;
    FolderReader::read(folder, entries);
    std::vector<FileEntry> hits;
    for (FileEntry &entry : entries) {
        if (pattern.matches(entry.name()))
            hits.push_back(std::move(entry));
    }
    return hits;
}

void FileSearchJob::work()
{
    m_results.clear();
    struct Pending {
        QString folder;
        QString parent;
    };
    std::deque<Pending> pending{{withSeparator(m_folder), QString()}};
    QSet<QPair<quint64, quint64>> entered;
    FileEntry self;
    if (FolderReader::stat(QFile::encodeName(m_folder), self))
        entered.insert({self.device, self.inode});
    std::vector<FileEntry> entries;
    while (!pending.empty() && !isCancelled()) {
        const Pending current = std::move(pending.front());
        pending.pop_front();
        setCurrentText(current.folder);
        if (!FolderReader::read(current.folder, entries))
            continue;
        addFolders(1);
        FolderHits found{current.folder, current.parent, {}};
        for (FileEntry &entry : entries) {
            if (isCancelled())
                break;
            addFiles(1);
            const QString name = entry.name();
            if (m_subfolders && entry.isFolder && !entered.contains({entry.device, entry.inode})) {
                entered.insert({entry.device, entry.inode});
                pending.push_back({current.folder + name + QLatin1Char('/'), current.folder});
            }
            if (m_pattern.matches(name))
                found.hits.push_back(entry);
        }
        if (!found.hits.empty())
            m_results.append(std::move(found));
        if (!m_subfolders)
            break;
    }
    setCurrentText(QString());
}
