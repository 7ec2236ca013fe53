#include "SetupRow.h"

#include "SqlText.h"
#include "Store.h"

#include <QSqlQuery>

SetupRow::Values SetupRow::read(const Store &store)
{
    Values values;
    QSqlQuery setup = store.query(QStringLiteral("select * from nv_setup"));
    if (setup.isActive() && setup.next()) {
        values.key = setup.value(QStringLiteral("key")).toString();
        values.national = setup.value(QStringLiteral("national")).toInt() != 0;
        values.business = setup.value(QStringLiteral("Business")).toInt() != 0;
    }
    return values;
}

bool SetupRow::writeKey(const Store &store, const QString &key)
{
    if (key.isEmpty())
        return store.exec(QStringLiteral("update nv_setup set key=''"));
    return store.exec(QStringLiteral("update nv_setup set key=") + SqlText::literal(key));
}
