#pragma once

#include <QString>

// Makes the changes to one file all-or-nothing: begin() copies the file to a temporary file
// beside it, the caller writes to workingPath(), commit() renames the copy over the file in one
// step, rollback() throws the copy away. Before the first begin() of this object's life a backup
// copy is kept at backupPath (replacing an older one); an empty backupPath keeps none.
class FileTransaction
{
public:
    FileTransaction(const QString &path, const QString &backupPath);
    ~FileTransaction();

    bool begin(QString *error);
    bool isActive() const { return !m_workingPath.isEmpty(); }
    QString path() const { return m_path; }
    QString workingPath() const { return m_workingPath; }
    bool commit(QString *error);
    void rollback();

private:
    QString m_path;
    QString m_backupPath;
    QString m_workingPath;
    bool m_backedUp = false;
};
