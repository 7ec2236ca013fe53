#include "CatalogueScanJob.h"

#include "CategoryRules.h"
#include "FolderReader.h"
#include "LocalTime.h"
#include "Store.h"
#include "explModule.h"

#include <QSet>

#include <sqlite3.h>

#include <deque>

namespace {

// Rows per transaction: large enough for speed, small enough that a cancel loses nothing.
constexpr int RowsPerTransaction = 4096;

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    if (folder.endsWith('/'))
        return folder + name;
    return folder + '/' + name;
}

void bindText(sqlite3_stmt *statement, int column, const QString &text)
{
    if (text.isNull())
        sqlite3_bind_null(statement, column);
    else
        sqlite3_bind_text16(statement, column, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

// Writes catalogue rows through one prepared statement, committing every few thousand rows.
class CatalogueWriter
{
public:
    explicit CatalogueWriter(sqlite3 *db) : m_db(db)
    {
        static const char sql[] =
            "INSERT INTO filedetails (Name, ext, \"Group\", CDate, mdate, Size, Location, Attribute)"
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

    void add(const FileEntry &file, const QString &name, const QString &location, const QString &group)
    {
        if (!m_inTransaction) {
            sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr);
            m_inTransaction = true;
        }
        const QString base = BaseName(name);
        bindText(m_insert, 1, base.isEmpty() ? QString() : base);
        bindText(m_insert, 2, Extension(name).isNull() ? QStringLiteral("") : Extension(name));
        bindText(m_insert, 3, group);
        bindText(m_insert, 4, LocalTime::canonicalText(file.createdMsecs));
        bindText(m_insert, 5, LocalTime::canonicalText(file.modifiedMsecs));
        sqlite3_bind_int64(m_insert, 6, file.size);
        bindText(m_insert, 7, location);
        sqlite3_bind_int(m_insert, 8, file.attributes);
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
    sqlite3_stmt *m_insert = nullptr;
    bool m_inTransaction = false;
    bool m_failed = false;
    int m_pending = 0;
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
    if (!store.isOpen() || !store.handle())
        return;
    if (m_clearFirst && !store.exec(QStringLiteral("Delete * from fileDetails")))
        return;
    if (m_folder.isEmpty()) {
        m_succeeded = true;
        return;
    }
    CategoryRules rules(store);
    CatalogueWriter writer(store.handle());
    if (!writer.isReady())
        return;

    // Folders already entered, by device and inode, so that links never lead round in a loop.
    QSet<QPair<quint64, quint64>> entered;
    std::deque<QByteArray> pending{QFile::encodeName(m_folder)};
    std::vector<FileEntry> entries;
    bool first = true;
    while (!pending.empty() && !isCancelled()) {
        const QByteArray folder = std::move(pending.front());
        pending.pop_front();
        const QString folderText = QFile::decodeName(folder);
        setCurrentText(folderText);
        if (!FolderReader::read(folder, entries)) {
            first = false;
            continue;
        }
        addFolders(1);
        if (first && m_mode == Mode::Tree) {
            // The start folder's own identity, so a link back to it is not entered again.
            FileEntry self;
            if (FolderReader::stat(folder, self))
                entered.insert({self.device, self.inode});
        }
        first = false;
        const QString prefix = folderText.endsWith(QLatin1Char('/')) ? folderText
                                                                       : folderText + QLatin1Char('/');
        for (const FileEntry &entry : entries) {
            if (isCancelled())
                break;
            if (entry.isFolder) {
                if (m_mode == Mode::Tree && !entered.contains({entry.device, entry.inode})) {
                    entered.insert({entry.device, entry.inode});
                    pending.push_back(joined(folder, entry.nativeName));
                }
                continue;
            }
            const QString name = entry.name();
            writer.add(entry, name, prefix + name, rules.groupOf(Extension(name)));
            addFiles(1);
        }
        if (m_mode == Mode::OneFolder)
            break;
    }
    writer.commit();
    m_succeeded = !writer.failed();
}
