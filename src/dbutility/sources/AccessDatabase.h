#pragma once

#include "SourceOptions.h"
#include "SourceTable.h"

#include <memory>
#include <vector>

// Opens an Access file (.mdb Jet 3/4, .accdb) through libmdb: every table whose name does not
// begin with "MSys" (compared with case), in the engine's catalogue order. Rows are read on
// first use. Access files are read-only here: a write attempt answers with a message.
// Jet 3 files store 8-bit text; it is decoded with options.codePage (default 1252).
class AccessDatabase
{
public:
    static bool open(const QString &path, const SourceOptions &options,
                     std::vector<std::unique_ptr<SourceTable>> *tables, QString *error);

    // The OLE DB type code for a libmdb column type.
    static int oleDbType(int mdbType);
};
