#include "RecordOrderJob.h"

#include "RecordPager.h"

RecordOrderJob::RecordOrderJob(std::shared_ptr<RecordPager> pager, QObject *parent)
    : Job(parent), m_pager(std::move(pager))
{
}

void RecordOrderJob::work()
{
    setCurrentText(m_pager->query().text());
    qint64 counted = 0;
    m_succeeded = m_pager->buildAll([this] { return isCancelled(); }, &m_error,
                                    [this, &counted](qint64 rows) {
                                        addFiles(rows - counted);
                                        counted = rows;
                                    });
}
