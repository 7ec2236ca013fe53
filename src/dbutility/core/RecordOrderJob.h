#pragma once

#include "Job.h"

#include <memory>

class RecordPager;

// Makes a pager's whole order (a sort, a filter, the grouped view) on the job's thread. The
// pager is new and not yet on screen; the connection it reads is left to it until the job ends
// (the pager on screen is frozen meanwhile). Cancelled, the pager is incomplete and the window
// keeps the rows it showed.
class RecordOrderJob final : public Job
{
    Q_OBJECT
public:
    explicit RecordOrderJob(std::shared_ptr<RecordPager> pager, QObject *parent = nullptr);

    bool succeeded() const { return m_succeeded; }
    // The engine's message when the order could not be made; empty when cancelled.
    QString error() const { return m_error; }

protected:
    void work() override;

private:
    std::shared_ptr<RecordPager> m_pager;
    bool m_succeeded = false;
    QString m_error;
};
