#pragma once

#include "FailureSummary.h"
#include "Job.h"

#include <QList>
#include <QString>

// Copies or moves files and folder trees, each item from its source to its target path (the
// new entry's own path, not the folder it goes into). What happens where a target file exists
// was decided before the job started: Replace moves the old file to the trash first (one the
// trash refuses stays as it was and is listed), KeepBoth writes under a FreeName, Skip lists it
// and leaves both. A folder that exists at the target keeps what it has; the files merge in.
//
// A move renames where the file system allows it (one step for a whole folder), else copies
// and removes each source file once it is copied, then its folders once they are empty. A
// folder never goes into itself. Symbolic links are copied as links, never followed.
//
// done() lists what arrived, for callers that keep records of paths: a whole folder when it
// went in one step, else its files one by one. Failures name the file and the reason.
// Cancel is checked per file; what was done stays done and is listed (the work is additive).
// Thread affinity: done() and failures() are read once the job has finished.
class FileTransferJob : public Job
{
public:
    enum class Mode { Copy, Move };
    enum class Taken { Replace, KeepBoth, Skip };
    struct Pair {
        QString source;
        QString target;
    };

    FileTransferJob(Mode mode, const QList<Pair> &items, Taken taken, QObject *parent = nullptr);

    Mode mode() const { return m_mode; }
    const QList<Pair> &done() const { return m_done; }
    const FailureSummary &failures() const { return m_failures; }

    // True when path is folder itself or lies inside it.
    static bool isInside(const QString &path, const QString &folder);

protected:
    void work() override;

private:
    void transfer(const QString &source, const QString &target);
    void transferFile(const QString &source, QString target);
    void transferFolder(const QString &source, QString target);
    // Frees or changes target by the Taken rule; false (listed) when the file cannot go there.
    bool makeRoom(const QString &source, QString &target);
    // Renames source to target; true when done. A failure other than a change of device is
    // listed and sets *failed.
    bool renamed(const QString &source, const QString &target, bool *failed);
    bool copyFile(const QString &source, const QString &target);

    Mode m_mode;
    QList<Pair> m_items;
    Taken m_taken;
    QList<Pair> m_done;
    FailureSummary m_failures;
};
