#pragma once

#include <QFrame>

class QFileSystemModel;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeView;

// The scan panel of the Database utility: a folder browser (FolderView) to pick the folder to
// scan, the scan and close buttons (CmdScan, CmdScanClose) and the progress bar pb1, whose value
// is the number of the file being added. The window runs the scan; the panel only shows it.
class FrmScan : public QFrame
{
    Q_OBJECT
public:
    explicit FrmScan(QWidget *parent = nullptr);

    // The folder chosen in the folder browser; it starts where setFolder() put it.
    QString folder() const;
    void setFolder(const QString &folder);
    QProgressBar *progressBar() const { return m_progress; }
    // A line under the buttons: what the scan is doing, or what it found.
    void setStatus(const QString &text);

Q_SIGNALS:
    // CmdScan was pressed.
    void scanRequested();
    // CmdScanClose was pressed.
    void closeRequested();

private:
    QFileSystemModel *m_folders;
    QTreeView *m_view;
    QLabel *m_chosen;
    QLabel *m_status;
    QPushButton *m_scan;
    QProgressBar *m_progress;
};
