#pragma once

#include <QString>

// Finds the file that belongs beside a table (memo, BLOB or index file): same base name, the
// given extension, matched without regard to case as the writing programs did not care.
class CompanionFile
{
public:
    // The companion's path, empty when there is none.
    static QString find(const QString &tablePath, const QString &extension);
};
