#pragma once

#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>

class QThread;

// Long work (scans, searches, batches, effects) as one kind of object: it runs work() on a thread
// of its own or in the caller's, counts its progress in counters the window polls, and checks a
// cancel flag once per file. A cancelled job stops at the next file; what it leaves behind is
// each job's contract (additive work keeps what it has done, replacing work rolls back).
//
// Thread affinity: counters, currentText() and cancel() may be used from any thread; work()
// must not touch widgets or objects of the user-interface thread.
class Job : public QObject
{
    Q_OBJECT
public:
    explicit Job(QObject *parent = nullptr);
    ~Job() override;

    // Runs work() on a new thread; finished() follows in the thread of this object.
    void start();
    // Runs work() here and now.
    void runHere();
    bool isRunning() const { return m_running.load(); }
    // Blocks until the job started by start() has ended.
    void wait();

    void cancel() { m_cancelled.store(true); }
    bool isCancelled() const { return m_cancelled.load(); }

    qint64 filesDone() const { return m_files.load(); }
    qint64 foldersDone() const { return m_folders.load(); }
    // How many files the job will do, when it knows (0: unknown, the progress has no end).
    qint64 filesTotal() const { return m_total.load(); }
    // What the job works on now (a folder path), for a status label.
    QString currentText() const;

Q_SIGNALS:
    // work() has returned, whether it ran to its end or was cancelled.
    void finished();
    // Files were counted; emitted in the thread that runs work(), so a direct connection acts
    // before the job goes on (windows poll the counters instead).
    void filesCounted(qint64 filesDone);

protected:
    virtual void work() = 0;
    void addFiles(qint64 count) { Q_EMIT filesCounted(m_files.fetch_add(count) + count); }
    void setFilesTotal(qint64 total) { m_total.store(total); }
    void addFolders(qint64 count) { m_folders.fetch_add(count); }
    void setCurrentText(const QString &text);

private:
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_running{false};
    std::atomic<qint64> m_files{0};
    std::atomic<qint64> m_folders{0};
    std::atomic<qint64> m_total{0};
    mutable QMutex m_textLock;
    QString m_currentText;
    QThread *m_thread = nullptr;
};
