#include "CompanionFile.h"

#include <QDir>
#include <QFileInfo>

QString CompanionFile::find(const QString &tablePath, const QString &extension)
{
    const QFileInfo info(tablePath);
    const QString wanted = info.completeBaseName() + QLatin1Char('.') + extension;
    const QString exact = info.absolutePath() + QLatin1Char('/') + wanted;
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = info.absoluteDir().entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return info.absolutePath() + QLatin1Char('/') + entry;
    }
    return {};
}
