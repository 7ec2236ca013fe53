#pragma once

#include <QString>

class Store;

// The File organizer's folders, kept in the first FILECATEGORY row: the default folder the
// catalogue is built from and the two favourite folders of the User1/User2 tools.
struct OrganizerFolders {
    QString defaultFolder;
    QString user1;
    QString user2;

    // Null columns, or no row at all, read as empty texts.
    static OrganizerFolders read(const Store &store);
};
