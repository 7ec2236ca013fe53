#pragma once

#include "Job.h"

#include <QString>

// Brings the content index up to date: the rows ContentIndex::check() finds stale, or (a
// rebuild) every row, read again from the document files (the body copy where a file cannot
// be read). The job opens its own handle on the store at storePath. Indexing is additive: a
// cancelled job keeps the rows it indexed, and the next check finds the rest.
class ContentIndexJob : public Job
{
    Q_OBJECT
public:
    enum class Mode { Stale, Rebuild };

    ContentIndexJob(const QString &storePath, Mode mode, QObject *parent = nullptr);

    // False when the store could not be opened or has no index.
    bool succeeded() const { return m_succeeded; }
    int indexed() const { return m_indexed; }

protected:
    void work() override;

private:
    QString m_storePath;
    Mode m_mode;
    bool m_succeeded = false;
    int m_indexed = 0;
};
