#include "ColumnChoice.h"

#include "KeyedGridModel.h"
#include "SqlText.h"
#include "Store.h"

#include <QSqlQuery>

namespace
{

QString knownField(const QString &field)
{
    for (const QString &known : ColumnChoice::fields()) {
        if (known.compare(field, Qt::CaseInsensitive) == 0)
            return known;
    }
    return QString();
}

} // namespace

QStringList ColumnChoice::fields()
{
    return {QStringLiteral("Type"),    QStringLiteral("Category1"), QStringLiteral("SerialNo"),
            QStringLiteral("Date"),    QStringLiteral("Path"),      QStringLiteral("mdate"),
            QStringLiteral("Version"), QStringLiteral("Author"),    QStringLiteral("Progress"),
            QStringLiteral("Flags")};
}

QList<ColumnChoice::Choice> ColumnChoice::read(const Store &store)
{
    QList<Choice> choices;
    QSqlQuery query = store.query(QStringLiteral("Select * from Nv_nbShow order by fldname"));
    while (query.next()) {
        const QString field = knownField(query.value(QStringLiteral("FldName")).toString());
        if (!field.isEmpty())
            choices.append({field, query.value(QStringLiteral("Show")).toInt() != 0});
    }
    return choices;
}

bool ColumnChoice::write(const Store &store, const QString &field, bool show)
{
    const QString known = knownField(field);
    if (known.isEmpty())
        return false;
    return store.exec(QStringLiteral("delete from Nv_nbShow where FldName=") +
                      SqlText::literal(known)) &&
           store.exec(QStringLiteral("insert into Nv_nbShow (FldName, Show) values (") +
                      SqlText::literal(known) + ',' + SqlText::boolLiteral(show) + ')');
}

void ColumnChoice::ApplyColumnChoice(const Store &store, KeyedGridModel &grid)
{
    for (const Choice &choice : read(store))
        grid.setColumnHidden(choice.field, !choice.show);
}
