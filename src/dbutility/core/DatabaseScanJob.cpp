#include "DatabaseScanJob.h"

#include "DbBrowser.h"
#include "FavouritesCatalogue.h"
#include "Store.h"

DatabaseScanJob::DatabaseScanJob(const QString &storePath, const QString &folder,
                                 const Colours &colours, QObject *parent)
    : Job(parent), m_storePath(storePath), m_folder(folder), m_colours(colours)
{
}

void DatabaseScanJob::work()
{
    DatabaseFinder::Progress progress;
    progress.folderRead = [this](const QString &folder) {
        setCurrentText(folder);
        addFolders(1);
    };
    m_found = DatabaseFinder::find(
        m_folder, [this] { return isCancelled(); }, progress);
    if (isCancelled())
        return;
    setFilesTotal(qint64(m_found.size()));
    Store store(Store::Kind::Data, m_storePath);
    FavouritesCatalogue favourites(store);
    for (const DatabaseFinder::Found &file : m_found) {
        if (isCancelled())
            break;
        setCurrentText(file.path);
        if (favourites.contains(file.path)) {
            ++m_skipped;
        } else {
            const DbBrowser::Added added =
                DbBrowser::remember(favourites, file.path, file.kind, m_colours.back,
                                    m_colours.backAlternate, m_colours.fore);
            if (added.ok)
                ++m_added;
            else
                m_failures.append(added.message);
        }
        addFiles(1);
    }
}

QString DatabaseScanJob::summary() const
{
    const auto files = [](qsizetype count) {
        return count == 1 ? QStringLiteral("1 database file")
                          : QStringLiteral("%1 database files").arg(count);
    };
    if (m_found.empty())
        return isCancelled() ? QStringLiteral("The scan of %1 was cancelled before it found a "
                                              "database file.")
                                   .arg(m_folder)
                             : QStringLiteral("No database files were found in %1.").arg(m_folder);
    QString text = QStringLiteral("%1 found in %2: %3 added to the favourites")
                       .arg(files(qsizetype(m_found.size())), m_folder)
                       .arg(m_added);
    if (m_skipped > 0)
        text += QStringLiteral(", %1 skipped as already among them").arg(m_skipped);
    text += QLatin1Char('.');
    if (!m_failures.isEmpty())
        text += QStringLiteral("\nNot added:\n") + m_failures.join(QLatin1Char('\n'));
    if (isCancelled())
        text +=
            QStringLiteral("\nThe scan was cancelled; the favourites added before it are kept.");
    return text;
}
