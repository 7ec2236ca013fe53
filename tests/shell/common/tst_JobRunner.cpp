#include "Job.h"
#include "JobRunner.h"

#include <QApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

// Long work through the one job runner: progress shown only after a delay, Cancel reaching
// the job, the window's busy part disabled meanwhile and enabled again afterwards.
class tst_JobRunner : public QObject
{
    Q_OBJECT

    // Counts "files" until it has done count of them or is cancelled.
    class CountingJob : public Job
    {
    public:
        CountingJob(int count, int msPerFile) : m_count(count), m_msPerFile(msPerFile) {}

    protected:
        void work() override
        {
            for (int i = 0; i < m_count && !isCancelled(); ++i) {
                setCurrentText(QStringLiteral("item %1").arg(i));
                QThread::msleep(m_msPerFile);
                addFiles(1);
            }
        }

    private:
        int m_count;
        int m_msPerFile;
    };

private Q_SLOTS:
    void shortJobShowsNoDialog()
    {
        QWidget window;
        auto *busy = new QWidget(&window);
        QLabel status(&window);
        CountingJob job(5, 1);
        bool disabledWhileRunning = false;
        QTimer::singleShot(0, &window, [&] { disabledWhileRunning = !busy->isEnabled(); });
        QVERIFY(JobRunner::run(job, busy, "Short", &status));
        QCOMPARE(job.filesDone(), qint64(5));
        QVERIFY(disabledWhileRunning);
        QVERIFY(busy->isEnabled());
        QVERIFY(status.text().isEmpty());
        QVERIFY(window.findChildren<QProgressDialog *>().isEmpty());
    }

    void cancelInTheDialogStopsTheJob()
    {
        QWidget window;
        auto *busy = new QWidget(&window);
        CountingJob job(100000, 2);
        bool sawDialog = false;
        // Once the dialog is up, press its Cancel as the user would.
        QTimer poll;
        connect(&poll, &QTimer::timeout, &window, [&] {
            const auto dialogs = window.findChildren<QProgressDialog *>();
            if (dialogs.isEmpty())
                return;
            sawDialog = true;
            QCOMPARE(dialogs.first()->isVisible(), true);
            if (auto *cancel = dialogs.first()->findChild<QPushButton *>())
                QTest::mouseClick(cancel, Qt::LeftButton);
            poll.stop();
        });
        poll.start(50);
        QVERIFY(!JobRunner::run(job, busy, "Long"));
        QVERIFY(sawDialog);
        QVERIFY(job.isCancelled());
        QVERIFY(job.filesDone() < 100000);
        QVERIFY(busy->isEnabled());
        QVERIFY(window.findChildren<QProgressDialog *>().isEmpty());
    }

    // Regression: quitting the program ended the runner's loop while the job went on working on
    // objects its caller was about to destroy.
    void quittingStopsTheJobBeforeReturning()
    {
        QWidget window;
        CountingJob job(100000, 2);
        QTimer::singleShot(100, &window, [] { QCoreApplication::exit(0); });
        QVERIFY(!JobRunner::run(job, nullptr, "Long"));
        QVERIFY(!job.isRunning());
        QVERIFY(job.filesDone() < 100000);
        // Leave the quitting state behind for the next tests: exec() starts afresh.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
    }

    void disabledPartStaysDisabled()
    {
        QWidget window;
        auto *busy = new QWidget(&window);
        busy->setEnabled(false);
        CountingJob job(1, 1);
        QVERIFY(JobRunner::run(job, busy, "Job"));
        QVERIFY(!busy->isEnabled());
    }
};

QTEST_MAIN(tst_JobRunner)
#include "tst_JobRunner.moc"
