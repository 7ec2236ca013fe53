#include "FileSearchJob.h"

#include "FolderReader.h"
#include "FolderWalk.h"
#include "NativeName.h"

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
    FolderWalk walk(NativeName::toNative(m_folder), m_subfolders);
    FolderWalk::Visit visit;
    while (!isCancelled() && walk.next(&visit)) {
        const QString folder = withSeparator(NativeName::fromNative(visit.path));
        setCurrentText(folder);
        addFolders(1);
        FolderHits found{
            folder,
            visit.parent.isNull() ? QString() : withSeparator(NativeName::fromNative(visit.parent)),
            {}};
        for (FileEntry &entry : visit.entries) {
            if (isCancelled())
                break;
            addFiles(1);
            if (m_pattern.matches(entry.name()))
                found.hits.push_back(std::move(entry));
        }
        if (!found.hits.empty())
            m_results.append(std::move(found));
    }
    setCurrentText(QString());
}
