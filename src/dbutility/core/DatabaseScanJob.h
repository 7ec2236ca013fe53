#pragma once

#include "DatabaseFinder.h"
#include "Job.h"

#include <QStringList>

// The database scan: finds the database files under a folder (DatabaseFinder), then makes each
// one a favourite of the data store at storePath with the given colours, its tables and fields
// remembered. A file that is a favourite already is skipped and counted. The job opens its own
// handle on the store (it runs on a thread of its own). Progress: folders while it looks, then
// files added of the files found (a known total). Cancelled, it keeps the favourites added so
// far, each one whole.
class DatabaseScanJob : public Job
{
    Q_OBJECT
public:
    struct Colours {
        qint64 back = 0;
        qint64 backAlternate = 0;
        qint64 fore = 0;
    };

    DatabaseScanJob(const QString &storePath, const QString &folder, const Colours &colours,
                    QObject *parent = nullptr);

    // After the job: what was found, added, skipped, and why a file could not be added.
    const std::vector<DatabaseFinder::Found> &found() const { return m_found; }
    int added() const { return m_added; }
    int skipped() const { return m_skipped; }
    const QStringList &failures() const { return m_failures; }
    // The scan's outcome in a few lines for the user.
    QString summary() const;

protected:
    void work() override;

private:
    QString m_storePath;
    QString m_folder;
    Colours m_colours;
    std::vector<DatabaseFinder::Found> m_found;
    int m_added = 0;
    int m_skipped = 0;
    QStringList m_failures;
};
