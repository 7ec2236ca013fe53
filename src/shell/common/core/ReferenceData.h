#pragma once

#include <QString>

struct sqlite3;

// The schema and reference rows a new store is made of, shipped in data/ (compiled in as
// resources, so a store can be made wherever the program runs).
class ReferenceData
{
public:
    enum class Store { Data, Info };

    // Creates every table of the store on an empty database and fills its reference rows, in one
    // transaction: on failure the database is left without them and message says why.
    static bool build(Store store, sqlite3 *db, QString *message);

    // A shipped data file's text (name relative to data/), or a null string.
    static QString text(const QString &name);
};
