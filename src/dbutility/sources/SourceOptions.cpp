#include "SourceOptions.h"

#include <QFileInfo>

SourceType SourceOptions::typeFromConnectText(const QString &text)
{
    const QString lowered = text.trimmed().toLower();
    if (lowered == QLatin1String("access"))
        return SourceType::Access;
    if (lowered.startsWith(QLatin1String("dbase")))
        return SourceType::DBase;
    if (lowered.startsWith(QLatin1String("foxpro")))
        return SourceType::FoxPro;
    if (lowered.startsWith(QLatin1String("paradox")))
        return SourceType::Paradox;
    if (lowered == QLatin1String("text"))
        return SourceType::Text;
    return SourceType::Auto;
}

SourceType SourceOptions::typeFromPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("mdb") || suffix == QLatin1String("accdb"))
        return SourceType::Access;
    if (suffix == QLatin1String("dbf"))
        return SourceType::DBase;
    if (suffix == QLatin1String("db"))
        return SourceType::Paradox;
    if (suffix == QLatin1String("txt") || suffix == QLatin1String("csv") ||
        suffix == QLatin1String("tsv") || suffix == QLatin1String("tab"))
        return SourceType::Text;
    return SourceType::Auto;
}
