#pragma once

#include "ImagingEngine.h"
#include "Job.h"

#include <functional>

// A picture operation (an effect, a load, a save) as a Job, so the JobRunner runs it off the
// interface thread. The work function gets the job's cancel flag to hand to the imaging engine;
// it must not touch widgets.
class PictureJob : public Job
{
    Q_OBJECT
public:
    using Work = std::function<void(const ImagingEngine::Cancelled &cancelled)>;

    PictureJob(const QString &text, Work work, QObject *parent = nullptr);

protected:
    void work() override;

private:
    QString m_text;
    Work m_work;
};
