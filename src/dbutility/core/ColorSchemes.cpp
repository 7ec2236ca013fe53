#include "ColorSchemes.h"

#include "SqlText.h"
#include "Store.h"

#include <QSqlQuery>

QStringList ColorSchemes::names(const Store &info)
{
    return info.column(QStringLiteral(
        "select distinct SchemeName from [WIA_ColorScheme] where len(SchemeName) <> 0"));
}

bool ColorSchemes::scheme(const Store &info, const QString &name, Scheme *scheme)
{
    QSqlQuery query =
        info.query(QStringLiteral("select * from [WIA_ColorScheme] where [SchemeName]=") +
                   SqlText::literal(name));
    if (!query.next())
        return false;
    scheme->name = query.value(QStringLiteral("SchemeName")).toString();
    scheme->fontColor = query.value(QStringLiteral("FontColor")).toLongLong();
    scheme->row1Color = query.value(QStringLiteral("Row1Color")).toLongLong();
    scheme->row2Color = query.value(QStringLiteral("Row2Color")).toLongLong();
    return true;
}
