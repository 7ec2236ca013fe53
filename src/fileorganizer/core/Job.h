#pragma once

#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>

class QThread;

// Long work (scans, searches, batches) as one kind of object: it runs work() on a thread of its
// own or in the caller's, counts its progress in counters the window polls, and checks a cancel
// flag once per file. A cancelled job stops at the next file and keeps what it has done.
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
    // What the job works on now (a folder path), for a status label.
    QString currentText() const;

Q_SIGNALS:
    // work() has returned, whether it ran to its end or was cancelled.
    void finished();

protected:
    virtual void work() = 0;
    void addFiles(qint64 count) { m_files.fetch_add(count); }
    void addFolders(qint64 count) { m_folders.fetch_add(count); }
    void setCurrentText(const QString &text);

private:
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_running{false};
    std::atomic<qint64> m_files{0};
    std::atomic<qint64> m_folders{0};
    mutable QMutex m_textLock;
    QString m_currentText;
    QThread *m_thread = nullptr;
};
