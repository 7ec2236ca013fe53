#include "ContentIndexJob.h"

#include "ContentIndex.h"
#include "NotesCatalogue.h"
#include "Store.h"

#include <QDate>
#include <QSqlQuery>

namespace
{

constexpr size_t BatchSize = 200;

} // namespace

ContentIndexJob::ContentIndexJob(const QString &storePath, Mode mode, QObject *parent)
    : Job(parent), m_storePath(storePath), m_mode(mode)
{
}

void ContentIndexJob::work()
{
    Store store(Store::Kind::Data, m_storePath);
    if (!store.isOpen())
        return;
    NotesCatalogue catalogue(store);
    ContentIndex &index = catalogue.index();
    if (m_mode == Mode::Rebuild && !index.clear())
        return;
    if (!index.isAvailable())
        return;
    const ContentIndex::Staleness stale = index.check();
    setFilesTotal(qint64(stale.ids.size()));
    bool ok = true;
    for (size_t i = 0; i < stale.ids.size() && !isCancelled(); i += BatchSize) {
        store.transaction();
        for (size_t k = i; k < std::min(stale.ids.size(), i + BatchSize) && !isCancelled(); ++k) {
            if (const auto record = catalogue.byId(stale.ids[k])) {
                setCurrentText(record->path);
                if (catalogue.reindex(*record))
                    ++m_indexed;
            }
            addFiles(1);
        }
        ok = store.commit() && ok;
    }
    if (!isCancelled() && ok)
        ok = index.markChecked(stale.maxId, QDate::currentDate());
    m_succeeded = ok;
}
