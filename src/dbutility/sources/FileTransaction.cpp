#include "FileTransaction.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>

FileTransaction::FileTransaction(const QString &path, const QString &backupPath)
    : m_path(path), m_backupPath(backupPath)
{
}

FileTransaction::~FileTransaction()
{
    rollback();
}

bool FileTransaction::begin(QString *error)
{
    if (isActive())
        return true;
    if (!m_backedUp && !m_backupPath.isEmpty()) {
        QFile::remove(m_backupPath);
        if (!QFile::copy(m_path, m_backupPath)) {
            if (error)
                *error = QStringLiteral("Cannot keep a backup copy of %1 as %2")
                             .arg(m_path, m_backupPath);
            return false;
        }
        m_backedUp = true;
    }
    const QFileInfo info(m_path);
    QTemporaryFile temp(info.absolutePath() + QLatin1String("/.") + info.fileName() +
                        QLatin1String(".XXXXXX"));
    temp.setAutoRemove(false);
    QFile source(m_path);
    if (!temp.open() || !source.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot write beside %1: %2").arg(m_path, temp.errorString());
        temp.remove();
        return false;
    }
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = source.read(buffer, sizeof(buffer));
        if (got < 0 || (got > 0 && temp.write(buffer, got) != got)) {
            if (error)
                *error = QStringLiteral("Cannot copy %1: %2").arg(m_path, temp.errorString());
            temp.remove();
            return false;
        }
        if (got == 0)
            break;
    }
    temp.setPermissions(source.permissions());
    temp.close();
    m_workingPath = temp.fileName();
    return true;
}

bool FileTransaction::commit(QString *error)
{
    if (!isActive())
        return true;
    std::error_code code;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(m_workingPath).toStdString()),
                            std::filesystem::path(QFile::encodeName(m_path).toStdString()), code);
    if (code) {
        if (error)
            *error = QStringLiteral("Cannot replace %1: %2")
                         .arg(m_path, QString::fromStdString(code.message()));
        rollback();
        return false;
    }
    m_workingPath.clear();
    return true;
}

void FileTransaction::rollback()
{
    if (isActive())
        QFile::remove(m_workingPath);
    m_workingPath.clear();
}
