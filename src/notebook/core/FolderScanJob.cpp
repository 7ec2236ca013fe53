#include "FolderScanJob.h"

#include "NotesCatalogue.h"
#include "Store.h"

#include <QDir>

namespace
{

constexpr int BatchSize = 100;

} // namespace

FolderScanJob::FolderScanJob(const QString &storePath, const QString &folder, QObject *parent)
    : Job(parent), m_storePath(storePath), m_folder(folder)
{
}

QStringList FolderScanJob::documentFiles(const QString &folder, bool *readable)
{
    QDir dir(folder);
    const bool ok = !folder.isEmpty() && dir.exists() && dir.isReadable();
    if (readable)
        *readable = ok;
    if (!ok)
        return {};
    dir.setNameFilters({QStringLiteral("*.txt"), QStringLiteral("*.rtf")});
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name);
    QStringList files;
    for (const QString &name : dir.entryList())
        files << dir.filePath(name);
    return files;
}

void FolderScanJob::work()
{
    const QStringList files = documentFiles(m_folder, &m_readable);
    setFilesTotal(files.size());
    Store store(Store::Kind::Data, m_storePath);
    if (!store.isOpen())
        return;
    NotesCatalogue catalogue(store);
    m_succeeded = true;
    for (qsizetype i = 0; i < files.size() && !isCancelled(); i += BatchSize) {
        store.transaction();
        for (qsizetype k = i; k < std::min(files.size(), i + BatchSize) && !isCancelled(); ++k) {
            setCurrentText(files[k]);
            if (catalogue.AddDocumentLink(files[k]))
                ++m_added;
            addFiles(1);
        }
        m_succeeded = store.commit() && m_succeeded;
    }
}
