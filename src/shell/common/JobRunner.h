#pragma once

#include <QString>

class Job;
class QLabel;
class QWidget;

// Runs a Job on its own thread while the window stays responsive: the part of the window given
// as busy is disabled, a status label (when given) shows what the job works on, and a progress
// dialog with Cancel appears only when the job takes longer than a moment. Returns when the
// job has finished; false when it was cancelled.
class JobRunner
{
public:
    static bool run(Job &job, QWidget *busy, const QString &title, QLabel *status = nullptr);
    // How long a job runs before its progress dialog appears.
    static constexpr int DialogDelayMs = 500;
};
