#include "EditorAutosave.h"

#include "AppFolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace
{

const QByteArray Magic = "NuvelaAutosave\t1\t";

// Reads the header of a copy: the document's path, or a null string for another file.
QString documentPathOf(QFile &file, QByteArray *rest = nullptr)
{
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray header = file.readLine(64 * 1024);
    if (!header.startsWith(Magic) || !header.endsWith('\n'))
        return QString();
    if (rest)
        *rest = file.readAll();
    return QString::fromUtf8(header.mid(Magic.size()).chopped(1));
}

} // namespace

QString EditorAutosave::folder()
{
    return AppFolders::join(AppFolders::programFolder(), QStringLiteral("Autosave"));
}

QString EditorAutosave::fileOf(const QString &documentPath)
{
    const QByteArray hash =
        QCryptographicHash::hash(documentPath.toUtf8(), QCryptographicHash::Sha1).toHex();
    return folder() + u'/' + QString::fromLatin1(hash) + QStringLiteral(".autosave");
}

bool EditorAutosave::save(const QString &documentPath, const QByteArray &rtf)
{
    QDir().mkpath(folder());
    QSaveFile file(fileOf(documentPath));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(Magic + documentPath.toUtf8() + '\n');
    file.write(rtf);
    return file.commit();
}

void EditorAutosave::discard(const QString &documentPath)
{
    QFile::remove(fileOf(documentPath));
}

bool EditorAutosave::exists(const QString &documentPath)
{
    return QFileInfo::exists(fileOf(documentPath));
}

QByteArray EditorAutosave::restore(const QString &documentPath)
{
    QFile file(fileOf(documentPath));
    QByteArray rtf;
    if (documentPathOf(file, &rtf) != documentPath)
        return QByteArray();
    return rtf;
}

QList<EditorAutosave::Copy> EditorAutosave::pending()
{
    QList<Copy> copies;
    const QFileInfoList files =
        QDir(folder()).entryInfoList({QStringLiteral("*.autosave")}, QDir::Files);
    for (const QFileInfo &info : files) {
        QFile file(info.filePath());
        const QString path = documentPathOf(file);
        if (!path.isNull())
            copies.append({path, info.filePath(), info.lastModified()});
    }
    std::sort(copies.begin(), copies.end(),
              [](const Copy &a, const Copy &b) { return a.saved < b.saved; });
    return copies;
}
