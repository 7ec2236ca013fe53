#pragma once

#include "FileEntry.h"
#include "Job.h"
#include "NamePattern.h"

#include <QList>

#include <vector>

// The search: names matching a pattern directly in one folder and, when asked, in every folder
// beneath it (breadth first, each folder once, unreadable ones skipped). Hits include folders
// whose names match (attribute 16, or 18 when hidden); the grid leaves those out.
class FileSearchJob : public Job
{
    Q_OBJECT
public:
    struct FolderHits {
        // The folder searched, with a trailing separator.
        QString folder;
        // The folder's parent in the walk (with separator); empty for the start folder.
        QString parent;
        std::vector<FileEntry> hits;
    };

    FileSearchJob(const QString &folder, const QString &patterns, bool subfolders,
                  QObject *parent = nullptr);

    // Folders with at least one hit, in walk order; the start folder first when it has hits.
    // Read once the job has finished.
    const QList<FolderHits> &results() const { return m_results; }

    // The hits directly inside one folder.
    static std::vector<FileEntry> search(const QString &folder, const NamePattern &pattern);

protected:
    void work() override;

private:
    QString m_folder;
    NamePattern m_pattern;
    bool m_subfolders;
    QList<FolderHits> m_results;
};
