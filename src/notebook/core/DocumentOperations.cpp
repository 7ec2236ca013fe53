#include "DocumentOperations.h"

#include "AppState.h"
#include "Dialogs.h"
#include "FailureSummary.h"
#include "FileTrash.h"
#include "FreeName.h"
#include "Moduleshortcut.h"
#include "NotesCatalogue.h"
#include "Platform.h"
#include "SharedRoutines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

bool sameFile(const QString &a, const QString &b)
{
    std::error_code code;
    return std::filesystem::equivalent(nativePath(a), nativePath(b), code) && !code;
}

void tell(const QString &text, const QString &title,
          Dialogs::Icon icon = Dialogs::Icon::Information)
{
    Dialogs::instance().message(text, title, icon);
}

// Asks before the file at path is replaced and moves it to the trash; true when path is free.
bool replaceAsked(const QString &path, const QString &question, const QString &title)
{
    if (!taken(path))
        return true;
    if (!Dialogs::instance().question(question, title))
        return false;
    QString error;
    switch (FileTrash::discard(path, title, &error)) {
    case FileTrash::Result::Trashed:
    case FileTrash::Result::Removed:
        return true;
    case FileTrash::Result::Kept:
        return false;
    case FileTrash::Result::Failed:
        break;
    }
    FailureSummary failed;
    failed.add(path, error);
    failed.report(QStringLiteral("The file there cannot be replaced:"), title);
    return false;
}

QString replaceQuestion(const QString &name)
{
    return QStringLiteral("%1 is on the Desktop already.\nDo you want to replace it?").arg(name);
}

} // namespace

DocumentOperations::DocumentOperations(NotesCatalogue &catalogue, const QString &title)
    : m_catalogue(catalogue), m_title(title)
{
}

QString DocumentOperations::propertiesPath(const QString &oldPath, const QString &name)
{
    const QFileInfo info(oldPath);
    const QString fileName = info.fileName();
    const qsizetype dot = fileName.indexOf(u'.');
    const QString extension = dot < 0 ? QString() : fileName.mid(dot).toUpper();
    const QString path = QDir(info.path()).filePath(name + extension);
    return path.compare(oldPath, Qt::CaseInsensitive) == 0 ? oldPath : path;
}

std::optional<QString> DocumentOperations::saveProperties(qint64 id, const Properties &fields)
{
    std::optional<DocumentRecord> row = m_catalogue.byId(id);
    if (!row)
        return std::nullopt;
    const QString name = fields.name.trimmed();
    if (name.isEmpty()) {
        tell(QStringLiteral("Please enter the Document Name"), m_title);
        return std::nullopt;
    }
    const QString oldPath = row->path;
    QString path = oldPath;
    // A document whose file is gone keeps its path: the row never names a file that is not.
    if (!oldPath.isEmpty() && QFileInfo(oldPath).isFile()) {
        path = propertiesPath(oldPath, name);
        if (!IsPlainFileName(QFileInfo(path).fileName())) {
            tell(QStringLiteral("\"%1\" cannot be the name of a file.").arg(name), m_title);
            return std::nullopt;
        }
        if (path != oldPath && taken(path))
            path = QDir(QFileInfo(path).path())
                       .filePath(FreeName(QFileInfo(path).path(), QFileInfo(path).fileName()));
    }
    std::error_code code;
    if (path != oldPath)
        std::filesystem::rename(nativePath(oldPath), nativePath(path), code);
    FailureSummary failed;
    if (code) {
        failed.add(oldPath, QString::fromStdString(code.message()));
        failed.report(QStringLiteral("The document could not be renamed:"), m_title);
        return std::nullopt;
    }
    row->documentName = name;
    row->path = path;
    row->category1 = fields.category;
    row->flags = fields.flags;
    row->version = fields.version;
    row->current = fields.current;
    row->dueDate = fields.dueDate.isValid() ? fields.dueDate.startOfDay() : QDateTime();
    row->type = fields.type;
    row->author = fields.author;
    bool number = false;
    const qint64 serial = fields.serialNo.trimmed().toLongLong(&number);
    row->serialNo = number ? std::optional<qint64>(serial) : std::nullopt;
    row->progress = fields.progress;
    if (!m_catalogue.writeRow(*row)) {
        if (path != oldPath)
            std::filesystem::rename(nativePath(path), nativePath(oldPath), code);
        failed.add(oldPath, QStringLiteral("The notebook's row cannot be written."));
        failed.report(QStringLiteral("The properties could not be saved:"), m_title);
        return std::nullopt;
    }
    PlaySoundCue(SoundCue::Save);
    return path;
}

bool DocumentOperations::addDocument(const NewDocument &fields)
{
    const QString name = fields.name.trimmed();
    if (name.isEmpty()) {
        tell(QStringLiteral("Please enter the Document Name"), m_title);
        return false;
    }
    const QString path = fields.path.trimmed();
    if (m_catalogue.byName(name) || (!path.isEmpty() && m_catalogue.byPath(path))) {
        tell(QStringLiteral("This Document already exists"), m_title);
        return false;
    }
    if (!path.isEmpty() && !QFileInfo(path).isFile()) {
        tell(QStringLiteral("There is no file at\n%1").arg(QDir::toNativeSeparators(path)),
             m_title);
        return false;
    }
    DocumentRecord record;
    if (!path.isEmpty())
        record.ext = NotesCatalogue::linkRecord(path).ext;
    record.documentName = name;
    record.date = fields.date.isValid() ? fields.date.startOfDay() : QDateTime();
    bool number = false;
    const qint64 serial = fields.serialNo.trimmed().toLongLong(&number);
    record.serialNo = number ? std::optional<qint64>(serial) : std::nullopt;
    record.category1 = fields.category;
    record.type = fields.type;
    record.path = path;
    record.bgcolor = NotesCatalogue::DefaultColour;
    if (!m_catalogue.writeRow(record)) {
        tell(QStringLiteral("The document could not be added."), m_title, Dialogs::Icon::Warning);
        return false;
    }
    PlaySoundCue(SoundCue::Add);
    return true;
}

bool DocumentOperations::removeAllLinks()
{
    Dialogs &dialogs = Dialogs::instance();
    if (!dialogs.question(QStringLiteral("Remove every document from the notebook?\nThe files "
                                         "stay where they are."),
                          m_title, Dialogs::Icon::Warning) ||
        !dialogs.question(QStringLiteral("The categories, keywords and other properties of "
                                         "every document will be lost.\nRemove them all?"),
                          m_title, Dialogs::Icon::Warning))
        return false;
    if (!m_catalogue.removeAll()) {
        tell(QStringLiteral("The documents could not be removed."), m_title,
             Dialogs::Icon::Warning);
        return false;
    }
    PlaySoundCue(SoundCue::Del);
    return true;
}

int DocumentOperations::deleteDocuments(const QStringList &paths)
{
    if (paths.isEmpty())
        return 0;
    const QString question =
        paths.size() == 1
            ? QStringLiteral("Are you sure want to delete this File")
            : QStringLiteral("Are you sure want to delete these %1 documents?").arg(paths.size());
    if (!Dialogs::instance().question(question, m_title, Dialogs::Icon::Information))
        return 0;
    FailureSummary failed;
    int deleted = 0;
    for (const QString &path : paths) {
        if (taken(path)) {
            QString error;
            const FileTrash::Result result = FileTrash::discard(path, m_title, &error);
            if (result == FileTrash::Result::Failed)
                failed.add(path, error);
            if (result == FileTrash::Result::Failed || result == FileTrash::Result::Kept)
                continue;
        }
        if (m_catalogue.removeRows(path) < 0)
            failed.add(path, QStringLiteral("The notebook's row of it remains."));
        ++deleted;
    }
    failed.report(QStringLiteral("These documents could not be deleted:"), m_title);
    if (deleted > 0)
        PlaySoundCue(SoundCue::Del);
    return deleted;
}

QString DocumentOperations::desktopFolder()
{
    const QString desktop = AppState::instance().desktopPath;
    return desktop.isEmpty() ? GetSpecialFolder(0) : desktop;
}

QString DocumentOperations::saveToDesktop(const QString &name, const QByteArray &bytes,
                                          const QString &documentPath, const QString &title)
{
    const QString desktop = desktopFolder();
    const QString target = QDir(desktop).filePath(name);
    if (!documentPath.isEmpty() && sameFile(target, documentPath)) {
        tell(QStringLiteral("This document is on the Desktop already."), title);
        return {};
    }
    if (desktop.isEmpty() || !replaceAsked(target, replaceQuestion(name), title))
        return {};
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        FailureSummary failed;
        failed.add(target, file.errorString());
        failed.report(QStringLiteral("The file cannot be written:"), title);
        return {};
    }
    tell(QStringLiteral("Saved to Desktop"), title);
    return target;
}

QString DocumentOperations::copyToDesktop(const QString &path, const QString &title)
{
    const QString desktop = desktopFolder();
    const QString name = QFileInfo(path).fileName();
    const QString target = QDir(desktop).filePath(name);
    if (sameFile(target, path)) {
        tell(QStringLiteral("This document is on the Desktop already."), title);
        return {};
    }
    if (desktop.isEmpty() || !replaceAsked(target, replaceQuestion(name), title))
        return {};
    QFile file(path);
    if (!file.copy(target)) {
        FailureSummary failed;
        failed.add(path, file.errorString());
        failed.report(QStringLiteral("The file cannot be copied:"), title);
        return {};
    }
    tell(QStringLiteral("Saved to Desktop"), title);
    return target;
}

QString DocumentOperations::sendToDesktop(const QString &path, const QString &name,
                                          Moduleshortcut &module, const QString &title)
{
    // The module writes the entry into the platform's desktop folder, named after the title.
    const QString desktop = Platform::instance().specialFolder(0);
    const QString entry =
        QDir(desktop).filePath(Moduleshortcut::fileBaseName(name) + QStringLiteral(".desktop"));
    if (!desktop.isEmpty() &&
        !replaceAsked(entry,
                      QStringLiteral("A shortcut named %1 is on the Desktop already.\n"
                                     "Do you want to replace it?")
                          .arg(name.trimmed()),
                      title))
        return {};
    return module.createShortcut(QStringLiteral("..\\..\\Desktop"), name, path, QString());
}

bool DocumentOperations::clearWayFor(const QString &path, bool pickerAsked, const QString &title)
{
    if (!taken(path))
        return true;
    if (pickerAsked) {
        QString error;
        const FileTrash::Result result = FileTrash::discard(path, title, &error);
        if (result == FileTrash::Result::Failed) {
            FailureSummary failed;
            failed.add(path, error);
            failed.report(QStringLiteral("The file there cannot be replaced:"), title);
        }
        return result == FileTrash::Result::Trashed || result == FileTrash::Result::Removed;
    }
    return replaceAsked(path,
                        QStringLiteral("%1 exists already.\nDo you want to replace it?")
                            .arg(QDir::toNativeSeparators(path)),
                        title);
}
