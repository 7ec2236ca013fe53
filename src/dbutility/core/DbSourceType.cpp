#include "DbSourceType.h"

#include "SourceDetection.h"

#include <QFileInfo>

QString DbSourceType::text(DbKind kind)
{
    switch (kind) {
    case DbKind::Access:
        return QStringLiteral("Access");
    case DbKind::DBase:
        return QStringLiteral("dBASE 5.0;");
    case DbKind::FoxPro:
        return QStringLiteral("FoxPro 3.0;");
    case DbKind::Paradox:
        return QStringLiteral("Paradox 5.x;");
    case DbKind::Text:
        return QStringLiteral("Text");
    case DbKind::SQLite:
        return QStringLiteral("SQLite");
    case DbKind::None:
        break;
    }
    return QString();
}

DbKind DbSourceType::kind(const QString &typeText)
{
    const QString lowered = typeText.trimmed().toLower();
    if (lowered == QLatin1String("sqlite"))
        return DbKind::SQLite;
    switch (SourceOptions::typeFromConnectText(typeText)) {
    case SourceType::Access:
        return DbKind::Access;
    case SourceType::DBase:
        return DbKind::DBase;
    case SourceType::FoxPro:
        return DbKind::FoxPro;
    case SourceType::Paradox:
        return DbKind::Paradox;
    case SourceType::Text:
        return DbKind::Text;
    default:
        return DbKind::None;
    }
}

QStringList DbSourceType::boxItems()
{
    return {QStringLiteral("Access"),       QStringLiteral("Dbase 5.0;"),
            QStringLiteral("Paradox 5.x;"), QStringLiteral("FoxPro 3.0;"),
            QStringLiteral("Text"),         QStringLiteral("SQLite")};
}

QString DbSourceType::dialogFilter(const QString &typeText)
{
    const QString trimmed = typeText.trimmed();
    if (trimmed == QLatin1String("dBASE 5.0;"))
        return QStringLiteral("DBF File|*.dbf ");
    if (trimmed == QLatin1String("FoxPro 3.0;"))
        return QStringLiteral("Foxpro File|*.dbf ");
    switch (kind(trimmed)) {
    case DbKind::Access:
        return QStringLiteral("Access File|*.mdb;*.accdb");
    case DbKind::DBase:
        return QStringLiteral("dBase File|*.dbf");
    case DbKind::Paradox:
        return QStringLiteral("Paradox File|*.db");
    case DbKind::Text:
        return QStringLiteral("Text,CSV File|*.txt;*.csv;*.tsv;*.tab");
    case DbKind::SQLite:
        return QStringLiteral("SQLite Database|*.sqlite;*.sqlite3;*.db;*.db3");
    default:
        return QStringLiteral("Accees Database |*.mdb");
    }
}

QString DbSourceType::favouriteFilter()
{
    return QStringLiteral("Database |*.mdb;*.accdb;*.dbf;*.db;*.csv;*.txt;*.tsv;*.tab;*.sqlite;"
                          "*.sqlite3;*.db3|All Files|*");
}

DbKind DbSourceType::fromName(const QString &name)
{
    if (name.contains(QLatin1String("mdb"), Qt::CaseInsensitive))
        return DbKind::Access;
    if (name.contains(QLatin1String("dbf"), Qt::CaseInsensitive))
        return DbKind::DBase;
    if (name.contains(QLatin1String("db"), Qt::CaseInsensitive))
        return DbKind::Paradox;
    return DbKind::None;
}

namespace
{

DbKind kindOfFormat(SourceDetection::Format format)
{
    switch (format) {
    case SourceDetection::Format::Access:
        return DbKind::Access;
    case SourceDetection::Format::DBase:
        return DbKind::DBase;
    case SourceDetection::Format::FoxPro:
        // Stored as the dBase type, which reads both.
        return DbKind::DBase;
    case SourceDetection::Format::Paradox:
        return DbKind::Paradox;
    case SourceDetection::Format::SQLite:
        return DbKind::SQLite;
    case SourceDetection::Format::Text:
        return DbKind::Text;
    case SourceDetection::Format::Unknown:
        break;
    }
    return DbKind::None;
}

} // namespace

DbKind DbSourceType::fromContent(const QString &path)
{
    const DbKind kind = kindOfFormat(SourceDetection::detect(path));
    return kind == DbKind::Text ? DbKind::None : kind;
}

DbKind DbSourceType::detect(const QString &path)
{
    const DbKind kind = kindOfFormat(SourceDetection::detect(path));
    if (kind != DbKind::None)
        return kind;
    const QString fileName = QFileInfo(path).fileName();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt") ||
        suffix == QLatin1String("tsv") || suffix == QLatin1String("tab"))
        return DbKind::Text;
    return fromName(fileName);
}

SourceType DbSourceType::sourceType(DbKind kind)
{
    switch (kind) {
    case DbKind::Access:
        return SourceType::Access;
    case DbKind::DBase:
        return SourceType::DBase;
    case DbKind::FoxPro:
        return SourceType::FoxPro;
    case DbKind::Paradox:
        return SourceType::Paradox;
    case DbKind::Text:
        return SourceType::Text;
    default:
        return SourceType::Auto;
    }
}
