#include "FavouritesCatalogue.h"

#include "SqlText.h"
#include "Store.h"

#include <QFileInfo>
#include <QSqlQuery>

namespace
{

QString lit(const QString &value)
{
    // A null path or name is written as an empty text, never as NULL.
    return SqlText::literal(value.isNull() ? QString(QLatin1String("")) : value);
}

QString pathAndTable(const QString &path, const QString &table)
{
    return QStringLiteral(" where dbpath=") + lit(path) + QStringLiteral(" and tblname=") +
           lit(table);
}

} // namespace

int FavouritesCatalogue::cleanUp()
{
    m_store.exec(QStringLiteral("Delete from FavDbName where loc is null or len(trim(loc)) =0"));
    QStringList paths;
    QSqlQuery rows = m_store.query(QStringLiteral("Select * from FavDbName"));
    while (rows.next())
        paths.append(rows.value(QStringLiteral("Loc")).toString());
    rows.finish();
    int removed = 0;
    for (const QString &loc : std::as_const(paths)) {
        if (QFileInfo::exists(loc))
            continue;
        m_store.exec(QStringLiteral("Delete from FavTable where dbpath=") + lit(loc));
        m_store.exec(QStringLiteral("Delete from favFldName where dbpath=") + lit(loc));
        m_store.exec(QStringLiteral("Delete from FavDbName where loc=") + lit(loc));
        ++removed;
    }
    return removed;
}

QList<FavouritesCatalogue::Favourite> FavouritesCatalogue::favourites() const
{
    QList<Favourite> rows;
    QSqlQuery query = m_store.query(QStringLiteral("Select * from favdbname"));
    while (query.next()) {
        Favourite row;
        row.dbname = query.value(QStringLiteral("dbname")).toString();
        row.dbtype = query.value(QStringLiteral("dbtype")).toString();
        row.loc = query.value(QStringLiteral("Loc")).toString();
        const auto colour = [&query](const char *column, qint64 fallback) {
            const QVariant value = query.value(QLatin1String(column));
            return value.isNull() ? fallback : value.toLongLong();
        };
        row.backColor = colour("BackColor", DefaultBackColor);
        row.backColorA = colour("BackColorA", DefaultBackColor);
        row.forColor = colour("ForColor", DefaultForeColor);
        rows.append(row);
    }
    return rows;
}

bool FavouritesCatalogue::append(const Favourite &favourite)
{
    return m_store.exec(
        QStringLiteral("Insert into favdbname(dbname,dbtype,Loc,BackColor,BackColorA,ForColor) "
                       "values(%1,%2,%3,%4,%5,%6)")
            .arg(lit(favourite.dbname), lit(favourite.dbtype), lit(favourite.loc))
            .arg(favourite.backColor)
            .arg(favourite.backColorA)
            .arg(favourite.forColor));
}

bool FavouritesCatalogue::contains(const QString &path) const
{
    return m_store.value(QStringLiteral("Select count(*) from favdbname where loc=") + lit(path))
               .toInt() > 0;
}

void FavouritesCatalogue::RememberSingleTable(const QString &path, const QString &table,
                                              const QStringList &fields)
{
    m_store.transaction();
    m_store.exec(QStringLiteral("Delete from favFldName where dbpath =") + lit(path));
    m_store.exec(QStringLiteral("Insert Into FavTable(dbpath,tblname) values(") + lit(path) +
                 QLatin1Char(',') + lit(table) + QLatin1Char(')'));
    m_store.exec(QStringLiteral("Delete from FavFldName where dbpath=") + lit(path) +
                 QStringLiteral(" and tblname =") + lit(table));
    RememberFields(path, table, fields);
    m_store.commit();
}

void FavouritesCatalogue::RememberAllTables(const QString &path, const QList<TableFields> &tables)
{
    m_store.transaction();
    for (const TableFields &table : tables) {
        m_store.exec(QStringLiteral("Insert Into FavTable(dbpath,tblname) values(") + lit(path) +
                     QLatin1Char(',') + lit(table.table) + QLatin1Char(')'));
        m_store.exec(QStringLiteral("Delete from FavFldName where dbpath=") + lit(path) +
                     QStringLiteral(" and tblname =") + lit(table.table));
        RememberFields(path, table.table, table.fields);
    }
    m_store.commit();
}

void FavouritesCatalogue::RememberFields(const QString &path, const QString &table,
                                         const QStringList &fields)
{
    for (const QString &field : fields)
        m_store.exec(QStringLiteral("Insert into favfldname(dbpath,tblName,FieldName,MSelected,"
                                    "VSelected) values(") +
                     lit(path) + QLatin1Char(',') + lit(table) + QLatin1Char(',') + lit(field) +
                     QStringLiteral(",false,true)"));
}

void FavouritesCatalogue::RemoveFavourite(const QString &path)
{
    m_store.exec(QStringLiteral("Delete from favfldname where dbpath=") + lit(path));
    m_store.exec(QStringLiteral("Delete from favtable where dbpath=") + lit(path));
    m_store.exec(QStringLiteral("Delete from favdbname where loc=") + lit(path));
}

QList<FavouritesCatalogue::FieldMark> FavouritesCatalogue::fieldMarks(const QString &path,
                                                                      const QString &table) const
{
    QList<FieldMark> marks;
    QSqlQuery query = m_store.query(QStringLiteral("Select * from favfldname") +
                                    pathAndTable(path, table) + QStringLiteral(" order by rowid"));
    while (query.next())
        marks.append({query.value(QStringLiteral("FieldName")).toString(),
                      query.value(QStringLiteral("MSelected")).toBool(),
                      query.value(QStringLiteral("VSelected")).toBool()});
    return marks;
}

QString FavouritesCatalogue::markedFieldsText(const QString &path, const QString &table,
                                              bool visibleOnly)
{
    return QStringLiteral(" select * from favFldname where dbpath=") + lit(path) +
           QStringLiteral(" and tblname=") + lit(table) + QStringLiteral(" and mselected=true") +
           (visibleOnly ? QStringLiteral(" and vselected=true") : QString());
}

QStringList FavouritesCatalogue::markedFields(const QString &path, const QString &table,
                                              bool visibleOnly) const
{
    QStringList names;
    QSqlQuery query = m_store.query(markedFieldsText(path, table, visibleOnly) +
                                    QStringLiteral(" order by rowid"));
    while (query.next())
        names.append(query.value(QStringLiteral("FieldName")).toString());
    return names;
}

void FavouritesCatalogue::SetMarked(const QString &path, const QString &table, const QString &field,
                                    bool marked)
{
    m_store.exec(QStringLiteral("Update favfldname set mselected=") +
                 (marked ? QStringLiteral("True") : QStringLiteral("False")) +
                 QStringLiteral(" where dbpath =") + lit(path) + QStringLiteral(" and tblname =") +
                 lit(table) + QStringLiteral(" and fieldname =") + lit(field));
}

void FavouritesCatalogue::setVisible(const QString &path, const QString &table,
                                     const QString &field, bool visible)
{
    m_store.exec(QStringLiteral("update favFldname set vSelected =") +
                 (visible ? QStringLiteral("True") : QStringLiteral("False")) +
                 pathAndTable(path, table) + QStringLiteral(" and Fieldname=") + lit(field));
}

void FavouritesCatalogue::setColour(const QString &path, Colour colour, qint64 oleColor)
{
    static const char *const statements[] = {
        "Update favdbname set  Backcolor=", "Update favdbname set BackcolorA=",
        "Update favdbname set ForColor="};
    m_store.exec(QLatin1String(statements[int(colour)]) + QString::number(oleColor) +
                 QStringLiteral(" where loc=") + lit(path));
}
