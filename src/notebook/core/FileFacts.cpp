#include "FileFacts.h"

#include "DocumentGrid.h"
#include "SharedRoutines.h"
#include "explModule.h"

#include <QFileInfo>
#include <QMimeDatabase>

FileFacts FileFacts::of(const QString &path, bool national)
{
    FileFacts facts;
    facts.path = path;
    facts.name = FileNameOfPath(path);
    const QFileInfo info(path);
    if (!info.exists())
        return facts;
    facts.exists = true;
    facts.isFolder = info.isDir();
    static const QMimeDatabase mimes;
    facts.typeName = mimes.mimeTypeForFile(info).comment();
    if (!facts.isFolder)
        facts.sizeText = FormatSizeText(info.size());
    const QString format = DocumentGrid::dateFormat(national);
    // A file system without a birth time gives the status-change time as "created".
    QDateTime created = info.birthTime();
    if (!created.isValid())
        created = info.metadataChangeTime();
    facts.created = FormatDate(created, format);
    facts.modified = FormatDate(info.lastModified(), format);
    return facts;
}
