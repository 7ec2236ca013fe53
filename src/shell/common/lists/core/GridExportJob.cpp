#include "GridExportJob.h"

#include "GridRows.h"

GridExportJob::GridExportJob(const GridRows &rows, GridExport::Format format, const QString &path,
                             const QString &title, QObject *parent)
    : Job(parent), m_rows(rows), m_format(format), m_path(path), m_title(title)
{
}

void GridExportJob::work()
{
    setFilesTotal(m_rows.rowCount());
    setCurrentText(m_path);
    qint64 counted = 0;
    GridExport::Monitor monitor;
    monitor.cancelled = [this] { return isCancelled(); };
    monitor.rowsDone = [this, &counted](int done) {
        addFiles(done - counted);
        counted = done;
    };
    m_succeeded = GridExport::write(m_format, m_path, m_rows, m_title, monitor, &m_error);
    if (isCancelled())
        m_error.clear();
}
