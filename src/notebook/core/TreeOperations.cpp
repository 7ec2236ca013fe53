#include "TreeOperations.h"

#include "Dialogs.h"
#include "FileTransferJob.h"
#include "FileTrash.h"
#include "FreeName.h"
#include "NotesCatalogue.h"
#include "SharedRoutines.h"

#include <QDir>
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

bool sameEntry(const QString &a, const QString &b)
{
    std::error_code code;
    return std::filesystem::equivalent(nativePath(a), nativePath(b), code) && !code;
}

// Every entry of folder as a path, hidden ones too: the siblings a new name must not meet.
QStringList entryPaths(const QString &folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString &name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        paths << dir.filePath(name);
    return paths;
}

QString renamed(const QString &from, const QString &to)
{
    std::error_code code;
    std::filesystem::rename(nativePath(from), nativePath(to), code);
    return code ? QString::fromStdString(code.message()) : QString();
}

} // namespace

TreeOperations::TreeOperations(NotesCatalogue &catalogue, const QString &title, JobRun run)
    : m_catalogue(catalogue), m_title(title), m_run(std::move(run))
{
}

bool TreeOperations::runJob(Job &job, const QString &title)
{
    if (m_run)
        return m_run(job, title);
    job.runHere();
    return !job.isCancelled();
}

void TreeOperations::report(const QString &heading)
{
    m_failures.report(heading, m_title);
}

QString TreeOperations::completedFileName(const QString &oldPath, const QString &typed)
{
    if (typed.contains(u'.'))
        return typed;
    return typed + (oldPath.right(3).toUpper() == QLatin1String("RTF") ? QStringLiteral(".rtf")
                                                                       : QStringLiteral(".xls"));
}

QString TreeOperations::checkedName(const QString &typed, const QString &folder,
                                    const QString &takenText)
{
    const QString name = typed.trimmed();
    if (name.isEmpty())
        return {};
    if (!IsPlainFileName(name)) {
        Dialogs::instance().message(
            QStringLiteral("\"%1\" cannot be the name of a file or folder.").arg(name), m_title,
            Dialogs::Icon::Information);
        return {};
    }
    if (CheckDuplicate(entryPaths(folder), name)) {
        Dialogs::instance().message(takenText, m_title, Dialogs::Icon::Information);
        return {};
    }
    return name;
}

QString TreeOperations::newFolder(const QString &parent)
{
    if (parent.isEmpty())
        return {};
    bool ok = false;
    const QString typed = Dialogs::instance().inputText(
        QStringLiteral("Enter New Folder To Create"), m_title, QString(), &ok);
    const QString name =
        ok ? checkedName(typed, parent, QStringLiteral("Name already exits")) : QString();
    if (name.isEmpty())
        return {};
    const QString path = QDir(parent).filePath(name);
    std::error_code code;
    std::filesystem::create_directory(nativePath(path), code);
    if (code) {
        m_failures.add(path, QString::fromStdString(code.message()));
        report(QStringLiteral("The folder could not be created:"));
        return {};
    }
    return path;
}

QString TreeOperations::rename(const QString &path, FolderTree::Tag tag, const QString &caption)
{
    if (tag == FolderTree::Tag::Main || path.isEmpty())
        return {};
    bool ok = false;
    const QString typed =
        Dialogs::instance().inputText(QStringLiteral("Rename ") + FolderTree::tagText(tag) + u' ' +
                                          caption + QStringLiteral(" To "),
                                      m_title, caption, &ok);
    const QString folder = QFileInfo(path).path();
    QString name =
        ok ? checkedName(typed, folder, QStringLiteral("Name Already Exists")) : QString();
    if (name.isEmpty())
        return {};
    const bool file = tag == FolderTree::Tag::File;
    if (file)
        name = completedFileName(path, name);
    QString target = QDir(folder).filePath(name);
    if (target == path)
        return {};
    // The completed name may be taken where the typed one was not: both files stay.
    const bool keptBoth = taken(target) && !sameEntry(target, path);
    if (keptBoth)
        target = QDir(folder).filePath(FreeName(folder, name));
    if (const QString error = renamed(path, target); !error.isEmpty()) {
        m_failures.add(path, error);
        report(QStringLiteral("It could not be renamed:"));
        return {};
    }
    const bool rows = file ? (!m_catalogue.byPath(path) || m_catalogue.renameDocument(path, target))
                           : m_catalogue.movePaths(path, target) >= 0;
    if (!rows) {
        // The file goes back to the name its row still has.
        renamed(target, path);
        m_failures.add(path, QStringLiteral("The notebook's row of it cannot be changed."));
        report(QStringLiteral("It could not be renamed:"));
        return {};
    }
    if (keptBoth)
        Dialogs::instance().message(
            QStringLiteral("%1 is taken, so both files stay: the renamed one is\n%2")
                .arg(name, QDir::toNativeSeparators(target)),
            m_title, Dialogs::Icon::Information);
    return target;
}

bool TreeOperations::remove(const QString &path, FolderTree::Tag tag)
{
    if (tag == FolderTree::Tag::Main || path.isEmpty())
        return false;
    if (!Dialogs::instance().question(QStringLiteral("Are you sure want to delete this ") +
                                          FolderTree::tagText(tag),
                                      m_title, Dialogs::Icon::Information))
        return false;
    QString error;
    switch (FileTrash::discard(path, m_title, &error)) {
    case FileTrash::Result::Kept:
        return false;
    case FileTrash::Result::Failed:
        m_failures.add(path, error);
        report(QStringLiteral("It could not be deleted:"));
        return false;
    case FileTrash::Result::Trashed:
    case FileTrash::Result::Removed:
        break;
    }
    if (m_catalogue.removeRows(path) < 0) {
        m_failures.add(path, QStringLiteral("Deleted, but the notebook's rows of it remain."));
        report(QStringLiteral("It could not be deleted completely:"));
    }
    PlaySoundCue(SoundCue::Del);
    return true;
}

void TreeOperations::setClipboard(const QString &path, Mode mode)
{
    m_clipboard = path;
    m_mode = mode;
}

QString TreeOperations::paste(const QString &target)
{
    if (m_clipboard.isEmpty() || target.isEmpty())
        return {};
    const QString source = m_clipboard;
    const QFileInfo info(source);
    if (!taken(source)) {
        m_failures.add(source, QStringLiteral("It does not exist any more."));
        m_clipboard.clear();
        report(QStringLiteral("It could not be pasted:"));
        return {};
    }
    const QString destination = QDir(target).filePath(info.fileName());
    const QString pasted = info.isDir() && !info.isSymLink() ? pasteFolder(source, destination)
                                                             : pasteFile(source, destination);
    // A cut file has gone from where the clipboard remembers it.
    if (!pasted.isEmpty() && m_mode == Mode::Cut)
        m_clipboard.clear();
    return pasted;
}

QString TreeOperations::pasteFolder(const QString &source, QString target)
{
    const QString overwrite = QStringLiteral("Folder Exists.Do you want to overwrite ? ");
    if (target == source) {
        // Pasted into its own parent: overwriting it with itself leaves it as it is.
        return Dialogs::instance().question(overwrite, m_title) ? target : QString();
    }
    if (FileTransferJob::isInside(target, source)) {
        m_failures.add(source, QStringLiteral("A folder cannot go into itself."));
        report(QStringLiteral("It could not be pasted:"));
        return {};
    }
    const QFileInfo there(target);
    if (there.isDir() && !there.isSymLink()) {
        if (!Dialogs::instance().question(overwrite, m_title))
            return {};
    } else if (taken(target)) {
        // A file has the folder's name: both stay.
        target = there.dir().filePath(FreeName(there.path(), there.fileName()));
    }
    const bool cut = m_mode == Mode::Cut;
    FileTransferJob job(cut ? FileTransferJob::Mode::Move : FileTransferJob::Mode::Copy,
                        {{source, target}}, FileTransferJob::Taken::Replace);
    runJob(job, cut ? QStringLiteral("Moving") : QStringLiteral("Copying"));
    m_failures.append(job.failures());
    for (const FileTransferJob::Pair &pair : job.done()) {
        const int rows = cut ? m_catalogue.movePaths(pair.source, pair.target)
                             : m_catalogue.copyRows(pair.source, pair.target);
        if (rows < 0)
            m_failures.add(pair.target, QStringLiteral("The notebook's rows of it are unchanged."));
    }
    report(QStringLiteral("Not everything could be pasted:"));
    return job.done().isEmpty() ? QString() : target;
}

QString TreeOperations::pasteFile(const QString &source, QString target)
{
    const QFileInfo there(target);
    if (there.isDir() && !there.isSymLink()) {
        // A folder has the file's name: both stay.
        target = there.dir().filePath(FreeName(there.path(), there.fileName()));
    } else if (taken(target)) {
        if (!Dialogs::instance().question(QStringLiteral("File Exists.Do you want to overwrite ? "),
                                          m_title))
            return {};
        // Overwriting a file with itself leaves it as it is.
        if (sameEntry(source, target))
            return target;
    }
    const bool cut = m_mode == Mode::Cut;
    FileTransferJob job(cut ? FileTransferJob::Mode::Move : FileTransferJob::Mode::Copy,
                        {{source, target}}, FileTransferJob::Taken::Replace);
    runJob(job, cut ? QStringLiteral("Moving") : QStringLiteral("Copying"));
    m_failures.append(job.failures());
    if (job.done().isEmpty()) {
        report(QStringLiteral("It could not be pasted:"));
        return {};
    }
    // The row goes with the file as a copy of its facts; a cut file's old row goes.
    if (m_catalogue.copyRows(source, target) < 0 || (cut && m_catalogue.removeRows(source) < 0))
        m_failures.add(target, QStringLiteral("The notebook's row of it is unchanged."));
    report(QStringLiteral("It was pasted, but:"));
    return target;
}
