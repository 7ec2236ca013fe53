#include "FileTrash.h"

#include "Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace
{

std::filesystem::path nativePath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// True for "<trash>/files/<name>" of a freedesktop trash: "<data>/Trash", "<top>/.Trash-<uid>"
// or "<top>/.Trash/<uid>".
bool isInTrash(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isAbsolute())
        return false;
    const QDir files = info.dir();
    QDir trash = files;
    if (files.dirName() != QLatin1String("files") || !trash.cdUp())
        return false;
    const QString name = trash.dirName();
    if (name == QLatin1String("Trash") || name.startsWith(QLatin1String(".Trash-")))
        return true;
    return trash.cdUp() && trash.dirName() == QLatin1String(".Trash");
}

// Where no trash can be made, Qt 6.4 moves the entry into "files" under the working folder
// and reports success; the entry goes back where it was and the stray record goes.
void putBack(const QString &moved, const QString &path)
{
    std::error_code code;
    std::filesystem::rename(nativePath(moved), nativePath(path), code);
    const QFileInfo info(moved);
    QDir trash = info.dir();
    trash.cdUp();
    QFile::remove(
        trash.filePath(QStringLiteral("info/") + info.fileName() + QStringLiteral(".trashinfo")));
    trash.rmdir(QStringLiteral("info"));
    trash.rmdir(QStringLiteral("files"));
}

// Whether this process may take entries out of folder (write and search rights as the
// effective user: a root process without its override rights is refused like anyone).
bool mayChange(const QString &folder)
{
#ifdef Q_OS_UNIX
    return faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) == 0;
#else
    return QFileInfo(folder).isWritable();
#endif
}

} // namespace

bool FileTrash::moveToTrash(const QString &path, QString *error)
{
    QFile file(path);
    if (file.moveToTrash()) {
        if (isInTrash(file.fileName()))
            return true;
        putBack(file.fileName(), path);
        setError(error, QStringLiteral("There is no trash for it."));
        return false;
    }
    setError(error, file.errorString().isEmpty() ? QStringLiteral("There is no trash for it.")
                                                 : file.errorString());
    return false;
}

bool FileTrash::removeForGood(const QString &path, QString *error)
{
    std::error_code code;
    std::filesystem::remove_all(nativePath(path), code);
    if (code) {
        setError(error, QString::fromStdString(code.message()));
        return false;
    }
    return true;
}

QString FileTrash::noTrashQuestion(const QString &path)
{
    return QStringLiteral("%1\ncannot be moved to the trash. It will be removed for good.\n\n"
                          "Do you want to remove it?")
        .arg(QDir::toNativeSeparators(path));
}

FileTrash::Result FileTrash::discard(const QString &path, const QString &title, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        setError(error, QStringLiteral("It does not exist."));
        return Result::Failed;
    }
    // Taking an entry out of its folder needs the folder's write permission; without it neither
    // the trash nor a removal can succeed, so the user is not asked in vain.
    if (!mayChange(info.absolutePath())) {
        setError(error, QStringLiteral("Permission denied"));
        return Result::Failed;
    }
    QString trashError;
    if (moveToTrash(path, &trashError))
        return Result::Trashed;
    if (!Dialogs::instance().question(noTrashQuestion(path), title, Dialogs::Icon::Warning))
        return Result::Kept;
    return removeForGood(path, error) ? Result::Removed : Result::Failed;
}
