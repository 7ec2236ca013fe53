#include "Job.h"

#include <QMutexLocker>
#include <QThread>

Job::Job(QObject *parent) : QObject(parent) {}

Job::~Job()
{
    if (m_thread) {
        cancel();
        m_thread->wait();
        delete m_thread;
    }
}

void Job::start()
{
    if (m_running.load())
        return;
    m_running.store(true);
    delete m_thread;
    m_thread = QThread::create([this] {
        work();
        m_running.store(false);
    });
    connect(m_thread, &QThread::finished, this, &Job::finished);
    m_thread->start();
}

void Job::runHere()
{
    m_running.store(true);
    work();
    m_running.store(false);
    Q_EMIT finished();
}

void Job::wait()
{
    if (m_thread)
        m_thread->wait();
}

QString Job::currentText() const
{
    QMutexLocker lock(&m_textLock);
    return m_currentText;
}

void Job::setCurrentText(const QString &text)
{
    QMutexLocker lock(&m_textLock);
    m_currentText = text;
}
