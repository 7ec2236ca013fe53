#pragma once

#include "DbSourceType.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

// Finds the database files in a folder and every folder beneath it. A file is a candidate by
// its name (.dbf, .mdb, .accdb, .db, .sqlite, .sqlite3, .db3, in any case) and a database by
// its first bytes, which also give its type: a dBase file named .mdb is dBase, a SQLite file
// named .db is SQLite, a text file named .dbf is none. Each folder is entered once, known by its
// device and inode, so a link back into the tree does not lead round in a loop; folders that
// cannot be read are skipped.
class DatabaseFinder
{
public:
    struct Found {
        QString path;
        DbKind kind = DbKind::None;
    };
    // Called for each folder read (its path) and each candidate file looked at.
    struct Progress {
        std::function<void(const QString &folder)> folderRead;
        std::function<void()> candidateRead;
    };

    static bool isCandidate(const QByteArray &fileName);
    // Walks the tree; cancelled is asked before each folder. The files found, by path.
    static std::vector<Found> find(const QString &folder, const std::function<bool()> &cancelled,
                                   const Progress &progress = {});
};
