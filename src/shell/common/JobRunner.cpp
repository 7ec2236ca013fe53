#include "JobRunner.h"

#include "Job.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>

namespace
{

void showProgress(QProgressDialog &dialog, const Job &job)
{
    const qint64 total = job.filesTotal();
    if (total > 0) {
        // The dialog counts in int: scale large totals down to per mille.
        dialog.setRange(0, 1000);
        dialog.setValue(int(qMin<qint64>(1000, job.filesDone() * 1000 / total)));
        dialog.setLabelText(
            QObject::tr("%1\n%2 of %3").arg(job.currentText()).arg(job.filesDone()).arg(total));
    } else if (job.foldersDone() > 0) {
        dialog.setLabelText(QObject::tr("%1\n%2 files in %3 folders")
                                .arg(job.currentText())
                                .arg(job.filesDone())
                                .arg(job.foldersDone()));
    } else {
        dialog.setLabelText(QObject::tr("%1\n%2 done").arg(job.currentText()).arg(job.filesDone()));
    }
}

} // namespace

bool JobRunner::run(Job &job, QWidget *busy, const QString &title, QLabel *status)
{
    QPointer<QWidget> blocked = busy;
    const bool wasEnabled = busy && busy->isEnabled();
    if (busy)
        busy->setEnabled(false);

    QEventLoop loop;
    QObject::connect(&job, &Job::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    QPointer<QProgressDialog> dialog;
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (status)
            status->setText(job.currentText());
        if (!dialog && clock.elapsed() >= DialogDelayMs && job.isRunning()) {
            // The dialog belongs to the window, not to the disabled part, so Cancel works.
            dialog = new QProgressDialog(busy ? busy->window() : nullptr);
            dialog->setWindowTitle(title);
            dialog->setRange(0, 0);
            dialog->setAutoReset(false);
            dialog->setAutoClose(false);
            dialog->setMinimumDuration(0);
            dialog->setCancelButtonText(QObject::tr("Cancel"));
            QObject::connect(dialog, &QProgressDialog::canceled, &loop, [&job] { job.cancel(); });
            dialog->show();
        }
        if (dialog)
            showProgress(*dialog, job);
    });
    poll.start();
    job.start();
    loop.exec();
    // The loop also ends when the program quits: the job must not outlive its caller's objects.
    if (job.isRunning()) {
        job.cancel();
        job.wait();
    }
    poll.stop();
    delete dialog;
    if (status)
        status->clear();
    if (blocked)
        blocked->setEnabled(wasEnabled);
    return !job.isCancelled();
}
