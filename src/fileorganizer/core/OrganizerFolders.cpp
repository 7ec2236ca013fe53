#include "OrganizerFolders.h"

#include "Store.h"

#include <QSqlQuery>

OrganizerFolders OrganizerFolders::read(const Store &store)
{
    OrganizerFolders folders;
    QSqlQuery query = store.query(QStringLiteral("Select * from FILECATEGORY"));
    if (query.next()) {
        folders.defaultFolder = query.value(QStringLiteral("DefFolderPath")).toString();
        folders.user1 = query.value(QStringLiteral("User1")).toString();
        folders.user2 = query.value(QStringLiteral("User2")).toString();
    }
    return folders;
}
