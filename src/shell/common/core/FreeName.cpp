#include "FreeName.h"

#include <QDir>
#include <QFileInfo>

namespace
{

constexpr qsizetype MaxNameBytes = 255;

bool taken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// stem shortened until stem + tail fits the byte limit; a surrogate pair is never split.
QString fitted(QString stem, const QString &tail)
{
    const qsizetype tailBytes = tail.toUtf8().size();
    while (!stem.isEmpty() && stem.toUtf8().size() + tailBytes > MaxNameBytes)
        stem.chop(stem.size() >= 2 && stem.back().isLowSurrogate() ? 2 : 1);
    return stem + tail;
}

} // namespace

bool IsPlainFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    if (name.contains(u'/') || name.contains(QChar(0)))
        return false;
#ifdef Q_OS_WIN
    if (name.contains(u'\\'))
        return false;
#endif
    return name.toUtf8().size() <= MaxNameBytes;
}

NameParts SplitFileName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0)
        return {name, QString()};
    return {name.left(dot), name.mid(dot)};
}

QString FreeName(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    if (!taken(dir.filePath(name)))
        return name;
    const NameParts parts = SplitFileName(name);
    for (int number = 2;; ++number) {
        const QString candidate =
            fitted(parts.stem, QStringLiteral(" (%1)").arg(number) + parts.extension);
        if (!taken(dir.filePath(candidate)))
            return candidate;
    }
}
