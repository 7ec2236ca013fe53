#include "CatalogueScanJob.h"

#include "CategoryRules.h"
#include "FolderWalk.h"
#include "LocalTime.h"
#include "NativeName.h"
#include "Store.h"
#include "explModule.h"

#include <QSet>

#include <sqlite3.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace
{

// Rows per transaction: large enough for speed, small enough that a cancel loses nothing.
constexpr int RowsPerTransaction = 4096;

// Binds bytes that live until the statement has run; UTF-8 is the store's own encoding, so
// SQLite converts nothing.
void bindBytes(sqlite3_stmt *statement, int column, const char *bytes, qsizetype size)
{
    sqlite3_bind_text(statement, column, bytes, int(size), SQLITE_STATIC);
}

// Takes the indexes off filedetails and answers the statements that make them again. Filling
// an emptied table and indexing it afterwards is several times faster than keeping the index
// up to date row by row.
QList<QByteArray> dropIndexes(sqlite3 *db)
{
    QList<QByteArray> names;
    QList<QByteArray> statements;
    sqlite3_stmt *list = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT name, sql FROM sqlite_master WHERE type = 'index'"
                           " AND lower(tbl_name) = 'filedetails' AND sql IS NOT NULL",
                           -1, &list, nullptr) == SQLITE_OK) {
        while (sqlite3_step(list) == SQLITE_ROW) {
            names << reinterpret_cast<const char *>(sqlite3_column_text(list, 0));
            statements << reinterpret_cast<const char *>(sqlite3_column_text(list, 1));
        }
    }
    sqlite3_finalize(list);
    QList<QByteArray> dropped;
    for (qsizetype i = 0; i < names.size(); ++i) {
        QByteArray name = names[i];
        name.replace('"', "\"\"");
        if (sqlite3_exec(db, "DROP INDEX \"" + name + '"', nullptr, nullptr, nullptr) == SQLITE_OK)
            dropped << statements[i];
    }
    return dropped;
}

// Canonical date texts, remembered for the last second asked: a file's two times and the
// files of one folder often share it.
class DateTexts
{
public:
    // Bytes valid until the next call.
    QByteArray text(qint64 msecs)
    {
        const qint64 seconds = msecs >= 0 ? msecs / 1000 : (msecs - 999) / 1000;
        if (seconds != m_seconds || m_text.isNull()) {
            m_seconds = seconds;
            char text[19];
            m_text = LocalTime::canonicalText(msecs, text)
                         ? QByteArray(text, 19)
                         : LocalTime::canonicalText(msecs).toUtf8();
        }
        return m_text;
    }

private:
    qint64 m_seconds = 0;
    QByteArray m_text;
};

} // namespace

struct CatalogueScanJob::Row {
    // The file's full path as NativeName text in UTF-8 (so a name that is not UTF-8 reopens);
    // the name and the extension are parts of it.
    QByteArray location;
    qsizetype nameStart = 0;
    qsizetype dot = -1; // the last "." of the name, or -1
    QByteArray group;
    qint64 size = 0;
    qint64 created = 0;
    qint64 modified = 0;
    int attributes = 0;
};

namespace
{

using CatalogueRow = CatalogueScanJob::Row;
using RowBatch = std::vector<CatalogueRow>;
constexpr size_t RowsPerBatch = 512;

// Hands batches of rows from the walking thread to the writing one. Bounded, so a slow disk
// holds the walk back instead of filling memory.
class RowQueue
{
public:
    // False when the reader has stopped taking rows.
    bool push(RowBatch &&batch)
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_batches.size() < 8 || m_stopped; });
        if (m_stopped)
            return false;
        m_batches.push_back(std::move(batch));
        m_changed.notify_all();
        return true;
    }
    // False when the writer has closed the queue and every batch is taken.
    bool pop(RowBatch &batch)
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return !m_batches.empty() || m_closed || m_stopped; });
        if (m_batches.empty() || m_stopped)
            return false;
        batch = std::move(m_batches.front());
        m_batches.pop_front();
        m_changed.notify_all();
        return true;
    }
    // The walk has ended.
    void close()
    {
        std::lock_guard lock(m_lock);
        m_closed = true;
        m_changed.notify_all();
    }
    // The writer takes no more rows.
    void stop()
    {
        std::lock_guard lock(m_lock);
        m_stopped = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<RowBatch> m_batches;
    bool m_closed = false;
    bool m_stopped = false;
};

// Writes catalogue rows through one prepared statement. On its own it commits every few thousand
// rows; inside a caller's transaction it leaves committing to the caller.
class CatalogueWriter
{
public:
    enum class Commits { Batched, Caller };

    CatalogueWriter(sqlite3 *db, Commits commits) : m_db(db), m_commits(commits)
    {
        static const char sql[] = "INSERT INTO filedetails (Name, ext, \"Group\", CDate, mdate, "
                                  "Size, Location, Attribute)"
                                  " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)";
        if (sqlite3_prepare_v2(m_db, sql, -1, &m_insert, nullptr) != SQLITE_OK)
            m_insert = nullptr;
    }
    ~CatalogueWriter()
    {
        commit();
        sqlite3_finalize(m_insert);
    }
    bool isReady() const { return m_insert != nullptr; }

    void add(const CatalogueRow &row)
    {
        if (!m_inTransaction && m_commits == Commits::Batched) {
            sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr);
            m_inTransaction = true;
        }
        const char *path = row.location.constData();
        const qsizetype nameEnd = row.dot < 0 ? row.location.size() : row.dot;
        if (nameEnd > row.nameStart)
            bindBytes(m_insert, 1, path + row.nameStart, nameEnd - row.nameStart);
        else
            sqlite3_bind_null(m_insert, 1);
        if (row.dot < 0)
            bindBytes(m_insert, 2, "", 0);
        else
            bindBytes(m_insert, 2, path + row.dot + 1, row.location.size() - row.dot - 1);
        bindBytes(m_insert, 3, row.group.constData(), row.group.size());
        const QByteArray created = m_created.text(row.created);
        const QByteArray modified = m_modified.text(row.modified);
        bindBytes(m_insert, 4, created.constData(), created.size());
        bindBytes(m_insert, 5, modified.constData(), modified.size());
        sqlite3_bind_int64(m_insert, 6, row.size);
        bindBytes(m_insert, 7, path, row.location.size());
        sqlite3_bind_int(m_insert, 8, row.attributes);
        if (sqlite3_step(m_insert) != SQLITE_DONE)
            m_failed = true;
        sqlite3_reset(m_insert);
        if (++m_pending >= RowsPerTransaction)
            commit();
    }

    void commit()
    {
        if (m_inTransaction && sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            m_failed = true;
        m_inTransaction = false;
        m_pending = 0;
    }
    bool failed() const { return m_failed; }

private:
    sqlite3 *m_db;
    Commits m_commits;
    sqlite3_stmt *m_insert = nullptr;
    bool m_inTransaction = false;
    bool m_failed = false;
    int m_pending = 0;
    DateTexts m_created;
    DateTexts m_modified;
};

} // namespace

CatalogueScanJob::CatalogueScanJob(const QString &storePath, const QString &folder, Mode mode,
                                   QObject *parent)
    : Job(parent), m_storePath(storePath), m_folder(folder), m_mode(mode)
{
}

void CatalogueScanJob::work()
{
    m_succeeded = false;
    Store store(Store::Kind::Data, m_storePath);
    sqlite3 *db = store.handle();
    if (!store.isOpen() || !db)
        return;
    // In WAL mode this syncs at checkpoints only: a crash loses at most the last rows, never
    // the store, and the scan does not wait on the disk after every transaction.
    store.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    // One checkpoint at the end instead of one every thousand pages.
    store.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0"));
    if (m_clearFirst) {
        // A rescan replaces the catalogue in one transaction: cancelled or failed, it leaves the
        // catalogue as it was. Readers in other handles see the old one until the commit.
        if (!store.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return;
        const bool written = store.exec(QStringLiteral("Delete * from fileDetails")) && fill(store);
        const bool keep = written && !isCancelled();
        m_succeeded =
            store.exec(keep ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK")) && written;
    } else {
        m_succeeded = fill(store);
    }
    // A scan that died between dropping and rebuilding left no statement to rebuild from: the
    // lookups by path need this one.
    store.exec(QStringLiteral(
        "CREATE INDEX IF NOT EXISTS filedetails_location ON filedetails (Location)"));
    store.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
}

bool CatalogueScanJob::fill(const Store &store)
{
    if (m_folder.isEmpty())
        return true;
    sqlite3 *db = store.handle();
    CategoryRules rules(store);
    const QList<QByteArray> indexes = m_clearFirst ? dropIndexes(db) : QList<QByteArray>();
    bool written = false;
    {
        CatalogueWriter writer(db, m_clearFirst ? CatalogueWriter::Commits::Caller
                                                : CatalogueWriter::Commits::Batched);
        if (writer.isReady()) {
            // The walk runs beside the writer: reading folders and writing rows overlap.
            RowQueue queue;
            std::thread walker([this, &rules, &queue] {
                walk(rules, [&queue](RowBatch &&batch) { return queue.push(std::move(batch)); });
                queue.close();
            });
            RowBatch batch;
            while (queue.pop(batch)) {
                for (const CatalogueRow &row : batch) {
                    if (isCancelled())
                        break;
                    writer.add(row);
                    addFiles(1);
                }
                if (isCancelled())
                    queue.stop();
            }
            walker.join();
            writer.commit();
            written = !writer.failed();
        }
    }
    // Indexes come back even after a cancel or a failed write.
    for (const QByteArray &index : indexes) {
        if (sqlite3_exec(db, index.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            written = false;
    }
    return written;
}

void CatalogueScanJob::walk(CategoryRules &rules,
                            const std::function<bool(std::vector<Row> &&)> &deliver)
{
    FolderWalk walk(NativeName::toNative(m_folder), m_mode == Mode::Tree);
    FolderWalk::Visit visit;
    // Category by extension bytes: the rules are asked once per extension.
    QHash<QByteArray, QByteArray> groups;
    RowBatch batch;
    while (!isCancelled() && walk.next(&visit)) {
        // Paths are stored as NativeName text, so that every row reopens its file.
        const QString folderText = NativeName::fromNative(visit.path);
        const QByteArray prefix = folderText.toUtf8() + (visit.path.endsWith('/') ? "" : "/");
        setCurrentText(folderText);
        addFolders(1);
        for (const FileEntry &entry : visit.entries) {
            if (entry.isFolder)
                continue;
            CatalogueRow row;
            const QByteArray name = entry.name().toUtf8();
            row.location.reserve(prefix.size() + name.size());
            row.location.append(prefix).append(name);
            row.nameStart = prefix.size();
            const qsizetype dot = name.lastIndexOf('.');
            row.dot = dot < 0 ? -1 : prefix.size() + dot;
            const QByteArray ext = dot < 0 ? QByteArray() : name.mid(dot + 1);
            auto known = groups.constFind(ext);
            if (known == groups.constEnd())
                known = groups.insert(ext, rules.groupOf(QString::fromUtf8(ext)).toUtf8());
            row.group = *known;
            row.size = entry.size;
            row.created = entry.createdMsecs;
            row.modified = entry.modifiedMsecs;
            row.attributes = entry.attributes;
            batch.push_back(std::move(row));
            if (batch.size() >= RowsPerBatch) {
                if (!deliver(std::move(batch)))
                    return;
                batch = RowBatch();
            }
        }
    }
    if (!batch.empty())
        deliver(std::move(batch));
}
