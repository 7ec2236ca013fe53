#pragma once

#include <QDialog>

class QComboBox;

// The panel's Run dialog: one line for a command with its arguments, or the path of a folder or
// document, with the earlier commands in its list (newest first). It only collects the line; the
// panel runs it.
class RunDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RunDialog(const QStringList &history, QWidget *parent = nullptr);

    QString command() const;
    QComboBox *commandBox() const { return m_command; }

private:
    void browse();

    QComboBox *m_command = nullptr; // cboCommand
};
