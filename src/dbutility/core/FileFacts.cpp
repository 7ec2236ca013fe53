#include "FileFacts.h"

#include "FileEntry.h"
#include "FolderReader.h"
#include "SharedRoutines.h"
#include "explModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSaveFile>

namespace
{

QString hiddenListPath(const QFileInfo &info)
{
    return info.absolutePath() + QStringLiteral("/.hidden");
}

QList<QByteArray> hiddenNames(const QFileInfo &info)
{
    QFile file(hiddenListPath(info));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> names;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.trimmed().isEmpty())
            names.append(line);
    }
    return names;
}

// Adds or removes the file's name in its folder's ".hidden" list; an emptied list is removed.
bool listAsHidden(const QFileInfo &info, bool hidden)
{
    QList<QByteArray> names = hiddenNames(info);
    const QByteArray name = QFile::encodeName(info.fileName());
    if (names.contains(name) == hidden)
        return true;
    if (hidden)
        names.append(name);
    else
        names.removeAll(name);
    if (names.isEmpty())
        return QFile::remove(hiddenListPath(info));
    QSaveFile file(hiddenListPath(info));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QByteArray &entry : std::as_const(names))
        file.write(entry + '\n');
    return file.commit();
}

bool setWritable(const QString &path, bool writable)
{
    QFile::Permissions permissions = QFile::permissions(path);
    const QFile::Permissions write =
        QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
    if (writable)
        permissions |= QFile::WriteOwner | QFile::WriteUser;
    else
        permissions &= ~write;
    return QFile::setPermissions(path, permissions);
}

} // namespace

QString FileFacts::createdText(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QString();
    QDateTime created = info.birthTime();
    if (!created.isValid())
        created = info.metadataChangeTime();
    return FormatDate(created, QStringLiteral("dd-MMM-yyyy"));
}

QString FileFacts::sizeText(const QString &path, bool plain)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QString();
    return plain ? QString::number(info.size()) : FormatSizeText(info.size());
}

QString FileFacts::typeDescription(const QString &path)
{
    if (!QFileInfo::exists(path))
        return QString();
    static const QMimeDatabase mimes;
    return mimes.mimeTypeForFile(path).comment();
}

int FileFacts::attributes(const QString &path)
{
    FileEntry entry;
    if (!FolderReader::stat(QFile::encodeName(path), entry))
        return Normal;
    int value = entry.attributes & (Archive | Hidden | ReadOnly);
    if (hiddenNames(QFileInfo(path)).contains(QFile::encodeName(QFileInfo(path).fileName())))
        value |= Hidden;
    return value;
}

bool FileFacts::setAttributes(const QString &path, int attribute)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    switch (attribute) {
    case Hidden:
        return setWritable(path, true) && listAsHidden(info, true);
    case ReadOnly:
        return listAsHidden(info, false) && setWritable(path, false) &&
               !info.fileName().startsWith(QLatin1Char('.'));
    case Archive:
    case Normal:
        return listAsHidden(info, false) && setWritable(path, true) &&
               !info.fileName().startsWith(QLatin1Char('.'));
    default:
        return false;
    }
}
