#pragma once

#include <QString>

#include <vector>

class Store;

// Reads the catalogue back for the database view, fast enough for a whole drive's rows: the
// query "Select * from FileDetails order by [name]" runs on the store's own handle and dates
// come back as milliseconds since the epoch.
class CatalogueReader
{
public:
    struct Record {
        QString name;
        QString ext;
        QString group;
        QString location;
        qint64 size = 0;
        // NoDate when the stored text is empty or no date.
        qint64 created = 0;
        qint64 modified = 0;
        int attributes = 0;
    };

    // Rows in the query's order; empty when the store cannot be read. noDate is the value of
    // an empty or unreadable date.
    static std::vector<Record> read(const Store &store, qint64 noDate);
};
