#pragma once

#include "CodePage.h"

#include <QByteArray>
#include <QVariant>

struct px_doc;
struct px_field;
struct px_val;

// Reads and writes one Paradox field's value through pxlib's field routines (which know
// Paradox's byte orders and sign flips); values are the Qt types of SourceTable. BLOB fields
// are read here from the .mb file's bytes, as pxlib's own BLOB reader overruns its stack on
// real files.
class ParadoxFieldCodec
{
public:
    // pxlib counts dates in days from 1 Jan of year 1; this turns them into Julian day numbers.
    static constexpr long dayOffset = 1721425;

    static bool isBlob(int pxType);
    // Whether a field of a type may have the size its header entry gives: pxlib copies a number
    // field's bytes into a buffer of the type's own size, whatever the header says. A BCD
    // field's entry gives its decimal places instead; it takes 17 bytes (storedSize()).
    static bool sizeFits(int pxType, int size);
    static int storedSize(int pxType, int size);
    // The value of a field of a raw record (not a BLOB); null when the field is empty.
    static QVariant value(px_doc *doc, char *field, const px_field &info, const CodePage &codePage);
    // A BLOB field ends in a 10-byte pointer into the .mb file (offset, length, modification
    // number); a value short enough lives in the field's leading bytes instead. Damaged pointers
    // give an empty value; null when the field is empty.
    static QByteArray blob(const char *field, int length, const uchar *blobFile, qint64 fileSize);

    // Sets a pxlib value of a field of type pxType and size bytes from a value SQL gives; false
    // with the reason when it does not fit.
    static bool put(px_doc *doc, px_val *target, int pxType, int size, const QVariant &value,
                    const CodePage &codePage, QString *why);
    // A record of pxval_t pointers as PX_retrieve_record makes it: all fields null (for
    // insert), or frees one with its texts.
    static px_val **emptyRecord(px_doc *doc, const QList<int> &types);
    static void freeRecord(px_doc *doc, px_val **record, int fields);
};
