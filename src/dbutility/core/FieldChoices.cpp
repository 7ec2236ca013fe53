#include "FieldChoices.h"

#include "SqlText.h"
#include "Store.h"

#include <QSet>

namespace
{

QString lit(const QString &value)
{
    return SqlText::literal(value.isNull() ? QString(QLatin1String("")) : value);
}

QString where(const FieldChoices::Field &field)
{
    return QStringLiteral(" where dbpath=") + lit(field.path) + QStringLiteral(" and tblname=") +
           lit(field.table) + QStringLiteral(" and Fieldname=") + lit(field.field);
}

QString insertText(const FieldChoices::Field &field, const QString &value)
{
    return QStringLiteral("Insert Into favChoices(dbpath,tblname,fieldname,choices) values(") +
           lit(field.path) + QLatin1Char(',') + lit(field.table) + QLatin1Char(',') +
           lit(field.field) + QLatin1Char(',') + lit(value) + QLatin1Char(')');
}

} // namespace

QStringList FieldChoices::choices(const Field &field) const
{
    return m_store.column(QStringLiteral("select distinct choices from favChoices") + where(field));
}

bool FieldChoices::contains(const Field &field, const QString &value) const
{
    return m_store
               .value(QStringLiteral("select count(*) from favChoices") + where(field) +
                      QStringLiteral(" and choices=") + lit(value))
               .toInt() > 0;
}

bool FieldChoices::add(const Field &field, const QString &value)
{
    if (value.isEmpty() || contains(field, value))
        return false;
    return m_store.exec(insertText(field, value));
}

bool FieldChoices::edit(const Field &field, const QString &old, const QString &value)
{
    if (value.isEmpty() || contains(field, value))
        return false;
    return m_store.exec(QStringLiteral("Update favChoices set choices =") + lit(value) +
                        where(field) + QStringLiteral(" and choices=") + lit(old));
}

void FieldChoices::remove(const Field &field, const QString &value)
{
    m_store.exec(QStringLiteral("delete from favchoices where choices=") + lit(value) +
                 QStringLiteral(" and dbpath =") + lit(field.path) +
                 QStringLiteral(" and tblname=") + lit(field.table) +
                 QStringLiteral(" and fieldname=") + lit(field.field));
}

void FieldChoices::replace(const Field &field, const QStringList &values)
{
    m_store.transaction();
    m_store.exec(QStringLiteral("delete from favchoices") + where(field));
    QSet<QString> seen;
    for (const QString &value : values) {
        if (!value.isEmpty() && !seen.contains(value.toLower())) {
            seen.insert(value.toLower());
            m_store.exec(insertText(field, value));
        }
    }
    m_store.commit();
}
