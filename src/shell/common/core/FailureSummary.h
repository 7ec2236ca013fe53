#pragma once

#include <QList>
#include <QString>

// The failures of one operation over files, each with the file and the reason, told to the user
// once at its end instead of being skipped silently. Not shared between threads: a job keeps
// its own and the window reads it after the job has finished.
class FailureSummary
{
public:
    struct Failure {
        QString path;
        QString reason;
    };

    // At most this many failures are listed by name; the rest are counted.
    static constexpr int MaxListed = 12;

    void add(const QString &path, const QString &reason);
    void append(const FailureSummary &other);
    bool isEmpty() const { return m_failures.isEmpty(); }
    qsizetype size() const { return m_failures.size(); }
    const QList<Failure> &failures() const { return m_failures; }
    void clear() { m_failures.clear(); }

    // heading, a blank line, then one line per failure: the path, " - " and the reason.
    QString text(const QString &heading) const;
    // Shows text(heading) in one message (warning icon) when anything failed, then forgets the
    // failures. True when a message was shown.
    bool report(const QString &heading, const QString &title);

private:
    QList<Failure> m_failures;
};
