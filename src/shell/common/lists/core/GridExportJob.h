#pragma once

#include "GridExport.h"
#include "Job.h"

class GridRows;

// Exports a grid as a job: one "file" per row for the progress, the cancel flag looked at before
// each page. A cancelled or failed export leaves the target as it was (GridExport's contract).
// rows must outlive the job.
class GridExportJob : public Job
{
    Q_OBJECT
public:
    GridExportJob(const GridRows &rows, GridExport::Format format, const QString &path,
                  const QString &title, QObject *parent = nullptr);

    bool succeeded() const { return m_succeeded; }
    // Why the file could not be written; empty after success or cancel.
    QString error() const { return m_error; }

protected:
    void work() override;

private:
    const GridRows &m_rows;
    GridExport::Format m_format;
    QString m_path;
    QString m_title;
    bool m_succeeded = false;
    QString m_error;
};
