#include "FolderSizeJob.h"

#include <QDirIterator>
#include <QFileInfo>

FolderSizeJob::FolderSizeJob(const QString &folder, QObject *parent) : Job(parent), m_folder(folder)
{
}

void FolderSizeJob::work()
{
    QDirIterator it(m_folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext() && !isCancelled()) {
        it.next();
        m_total += it.fileInfo().size();
        addFiles(1);
    }
}
