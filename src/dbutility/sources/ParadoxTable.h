#pragma once

#include "SourceOptions.h"
#include "SourceTable.h"

#include <memory>

// Opens a Paradox table (.db, with its .px primary index and .mb BLOB file beside it) through
// pxlib. Every field type is read; the table is read-only here, and a write attempt answers
// with a message saying so.
class ParadoxTable
{
public:
    static std::unique_ptr<SourceTable> open(const QString &path, const SourceOptions &options,
                                             QString *error);

    // The Jet field type of a pxlib field type, and the letter Paradox uses for it.
    static int jetType(int pxType);
    static QString typeLetter(int pxType);
};
