#pragma once

#include "GridExport.h"

#include <QDialog>

#include <memory>

class GridRows;
class KeyedGridModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The export window: writes the shown rows and columns of a grid to a CSV, HTML or Excel
// (.xlsx) file. It proposes the title as the file's name in the format's export folder; the
// export runs as a job that can be cancelled, and the file can be opened when it is written.
class FileExportWindow : public QDialog
{
    Q_OBJECT
public:
    FileExportWindow(const KeyedGridModel &grid, const QString &title, QWidget *parent = nullptr);
    ~FileExportWindow() override;

    // "FileExport": shows the window modally for grid, titled by GridExport::title() from
    // today, the national flag and the table's name.
    static void FileExport(const KeyedGridModel &grid, const QString &tableName,
                           QWidget *parent = nullptr);

    GridExport::Format format() const;
    void setFormat(GridExport::Format format);
    QString path() const;
    // Runs the export (cmdExport); true when the file was written, and the window accepted.
    bool exportNow();

private:
    void onFormatChanged();
    void browse();

    std::unique_ptr<GridRows> m_rows;
    QString m_title;
    QString m_proposedFolder; // the export folder proposed last
    QComboBox *cboFormat = nullptr;
    QLineEdit *txtFileName = nullptr;
    QCheckBox *chkOpen = nullptr;
    QLabel *lblRows = nullptr;
    QLabel *lblStatus = nullptr;
    QPushButton *cmdExport = nullptr;
};
