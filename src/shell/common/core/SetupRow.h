#pragma once

#include <QString>

class Store;

// The one settings row nv_setup, shared with the sibling programs of the suite: the pending tool
// key (the hand-over between programs), the national flag and the Business flag.
class SetupRow
{
public:
    struct Values {
        QString key; // Null reads as the empty text
        bool national = false;
        bool business = false;
    };

    // The first row's values; defaults when the store or the row cannot be read.
    static Values read(const Store &store);
    // Writes the tool key another program (or this one, on its next start) is to open; the
    // empty text consumes it.
    static bool writeKey(const Store &store, const QString &key);
};
