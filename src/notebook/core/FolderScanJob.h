#pragma once

#include "Job.h"

#include <QString>
#include <QStringList>

// The folder scan of the notebook (CmdScan): links every "*.txt" and "*.rtf" file directly
// inside a folder (hidden ones left out) to the catalogue with AddDocumentLink, in name order. The
// job opens its own handle on the store at storePath, as it runs on a thread of its own. Linking is
// additive: a cancelled scan keeps the rows it wrote, in batches committed as it goes.
class FolderScanJob : public Job
{
    Q_OBJECT
public:
    FolderScanJob(const QString &storePath, const QString &folder, QObject *parent = nullptr);

    // The files of folder the scan links (the patterns compare without regard to case).
    static QStringList documentFiles(const QString &folder, bool *readable = nullptr);

    // False when the folder could not be read.
    bool folderReadable() const { return m_readable; }
    // False when the store could not be opened or refused a row.
    bool succeeded() const { return m_succeeded; }
    int added() const { return m_added; }

protected:
    void work() override;

private:
    QString m_storePath;
    QString m_folder;
    bool m_readable = true;
    bool m_succeeded = false;
    int m_added = 0;
};
