#pragma once

#include <QString>

#include <vector>

class QFile;
class QIODevice;

// The facts of a Paradox table's header that must hold before pxlib is given the file: pxlib
// trusts them, and loops forever on a data block chain that leads back into itself and on an
// encrypted table. Offsets follow the format: all numbers little-endian, blocks numbered from 1
// and lying one after another behind the header.
struct ParadoxHeader {
    // Reads the header of a table and walks its chain of data blocks (at most the file's block
    // count). False when the file is no table pxlib can be given safely: *why says what is wrong
    // (for "... is not a Paradox table or is damaged: <why>"), or *encrypted is set.
    bool read(QIODevice &file, QString *why, bool *encrypted);
    // Takes the data blocks that deletes left empty out of a table that read() accepted, and
    // moves the others to the front in chain order. pxlib reads an empty block's record count
    // as thousands and then loses records, and it expects the chain in file order.
    bool dropEmptyBlocks(QFile &file, QString *why);

    int recordSize = 0;
    int headerSize = 0;
    int fileType = 0;
    int blockSize = 0; // bytes
    qint64 recordCount = 0;
    int fileBlocks = 0;
    int firstBlock = 0;
    int lastBlock = 0;
    // The file format's version code (3: Paradox 3.0 ... 12: Paradox 7).
    int version = 0;
    // The DOS code page the header names (Paradox 4 and later), 0 when it names none.
    int codePage = 0;

private:
    struct Block {
        int number;
        int lastRecordOffset; // negative when the block holds no record
    };
    bool readFieldSizes(QIODevice &file, int fields, int at, QString *why) const;
    bool walkChain(QIODevice &file, std::vector<Block> *blocks, QString *why) const;
};
