#include "FileTransferJob.h"

#include "FileTrash.h"
#include "FreeName.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace
{

std::filesystem::path nativePath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

bool taken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

qint64 countFiles(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isDir() || info.isSymLink())
        return 1;
    qint64 count = 0;
    QDirIterator it(path, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

QString reasonOf(const std::error_code &code)
{
    return QString::fromStdString(code.message());
}

} // namespace

FileTransferJob::FileTransferJob(Mode mode, const QList<Pair> &items, Taken taken, QObject *parent)
    : Job(parent), m_mode(mode), m_items(items), m_taken(taken)
{
}

bool FileTransferJob::isInside(const QString &path, const QString &folder)
{
    const QString a = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString b = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    return a == b || a.startsWith(b.endsWith(u'/') ? b : b + u'/');
}

void FileTransferJob::work()
{
    qint64 total = 0;
    for (const Pair &item : m_items)
        total += countFiles(item.source);
    setFilesTotal(total);
    for (const Pair &item : m_items) {
        if (isCancelled())
            break;
        transfer(item.source, item.target);
    }
}

void FileTransferJob::transfer(const QString &source, const QString &target)
{
    const QFileInfo info(source);
    if (!info.exists() && !info.isSymLink()) {
        m_failures.add(source, QStringLiteral("It does not exist."));
        return;
    }
    if (info.isDir() && !info.isSymLink()) {
        if (isInside(target, source)) {
            m_failures.add(source, QStringLiteral("A folder cannot go into itself."));
            return;
        }
        transferFolder(source, target);
    } else {
        transferFile(source, target);
    }
}

bool FileTransferJob::makeRoom(const QString &source, QString &target)
{
    if (!taken(target))
        return true;
    switch (m_taken) {
    case Taken::Replace: {
        // Only a file makes room; a folder in the way is never thrown away for one.
        if (QFileInfo(target).isDir() && !QFileInfo(target).isSymLink())
            break;
        QString error;
        if (FileTrash::moveToTrash(target, &error))
            return true;
        m_failures.add(target,
                       QStringLiteral("The file there cannot be moved to the trash: ") + error);
        return false;
    }
    case Taken::KeepBoth: {
        const QFileInfo info(target);
        target = info.dir().filePath(FreeName(info.path(), info.fileName()));
        return true;
    }
    case Taken::Skip:
        break;
    }
    m_failures.add(source, QFileInfo(target).isDir()
                               ? QStringLiteral("A folder of that name is there already.")
                               : QStringLiteral("A file of that name is there already."));
    return false;
}

bool FileTransferJob::renamed(const QString &source, const QString &target, bool *failed)
{
    std::error_code code;
    std::filesystem::rename(nativePath(source), nativePath(target), code);
    if (!code)
        return true;
    if (code != std::errc::cross_device_link) {
        m_failures.add(source, reasonOf(code));
        *failed = true;
    }
    return false;
}

bool FileTransferJob::copyFile(const QString &source, const QString &target)
{
    const QFileInfo info(source);
    if (info.isSymLink()) {
        std::error_code code;
        std::filesystem::copy_symlink(nativePath(source), nativePath(target), code);
        if (code)
            m_failures.add(source, reasonOf(code));
        return !code;
    }
    QFile file(source);
    if (file.copy(target))
        return true;
    m_failures.add(source, file.errorString());
    return false;
}

void FileTransferJob::transferFile(const QString &source, QString target)
{
    if (isCancelled())
        return;
    setCurrentText(source);
    if (!makeRoom(source, target)) {
        addFiles(1);
        return;
    }
    bool failed = false;
    if (m_mode == Mode::Move && renamed(source, target, &failed)) {
        m_done.append({source, target});
    } else if (!failed && copyFile(source, target)) {
        if (m_mode == Mode::Copy) {
            m_done.append({source, target});
        } else if (QString error; FileTrash::removeForGood(source, &error)) {
            m_done.append({source, target});
        } else {
            // Both copies stay; the original still is where its records say.
            m_failures.add(source,
                           QStringLiteral("Copied, but the original cannot be removed: ") + error);
        }
    }
    addFiles(1);
}

void FileTransferJob::transferFolder(const QString &source, QString target)
{
    if (isCancelled())
        return;
    setCurrentText(source);
    const QFileInfo there(target);
    if (m_mode == Mode::Move && !taken(target)) {
        bool failed = false;
        if (renamed(source, target, &failed)) {
            m_done.append({source, target});
            addFiles(countFiles(target));
            return;
        }
        if (failed)
            return;
    }
    if (taken(target) && (!there.isDir() || there.isSymLink()) && !makeRoom(source, target))
        return;
    const QFileInfo folder(source);
    if (!folder.isReadable() || !folder.isExecutable()) {
        m_failures.add(source, QStringLiteral("Permission denied"));
        return;
    }
    std::error_code code;
    std::filesystem::create_directory(nativePath(target), code);
    if (code) {
        m_failures.add(target, reasonOf(code));
        return;
    }
    addFolders(1);
    const QFileInfoList entries = QDir(source).entryInfoList(
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (isCancelled())
            return;
        const QString to = QDir(target).filePath(entry.fileName());
        if (entry.isDir() && !entry.isSymLink())
            transferFolder(entry.filePath(), to);
        else
            transferFile(entry.filePath(), to);
    }
    // A moved folder goes once everything in it went; what failed keeps it in its place.
    if (m_mode == Mode::Move &&
        QDir(source).isEmpty(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot))
        QDir().rmdir(source);
}
