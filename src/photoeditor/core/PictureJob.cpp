#include "PictureJob.h"

PictureJob::PictureJob(const QString &text, Work work, QObject *parent)
    : Job(parent), m_text(text), m_work(std::move(work))
{
}

void PictureJob::work()
{
    setCurrentText(m_text);
    m_work([this] { return isCancelled(); });
}
