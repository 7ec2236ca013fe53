#pragma once

#include "Job.h"

#include <QString>

// The total size in bytes of the files in a folder and every folder beneath it, for the file
// facts of a folder node. Symbolic links are not followed, unreadable folders are skipped; a
// cancelled job's total is incomplete and not to be shown.
class FolderSizeJob : public Job
{
    Q_OBJECT
public:
    explicit FolderSizeJob(const QString &folder, QObject *parent = nullptr);

    QString folder() const { return m_folder; }
    qint64 total() const { return m_total; }

protected:
    void work() override;

private:
    QString m_folder;
    qint64 m_total = 0;
};
