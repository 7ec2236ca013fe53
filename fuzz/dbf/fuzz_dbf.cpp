// Feeds arbitrary bytes to the dBase/FoxPro reader as a table and its memo file and reads
// every field of every row: nothing may crash, hang or read outside the data.
//
// Input: byte 0 picks the code page, bytes 1-2 (little-endian) the length of the memo file,
// which is taken from the end; the rest is the table.

#include "DbfTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    static const int codePages[] = {0, 1252, 866, 936, 950, 437};
    const int codePage = codePages[data[0] % 6];
    const size_t memoSize = qMin<size_t>(size_t(data[1] | (data[2] << 8)), size - 3);
    const QByteArray table(reinterpret_cast<const char *>(data + 3),
                           qsizetype(size - 3 - memoSize));
    const QByteArray memo(reinterpret_cast<const char *>(data + size - memoSize),
                          qsizetype(memoSize));
    QString error;
    auto dbf = DbfTable::fromBytes(table, memo, codePage, &error);
    if (!dbf)
        return 0;
    const qint64 rows = qMin<qint64>(dbf->slotCount(), 2000);
    qint64 checksum = 0;
    for (qint64 slot = 0; slot < rows; ++slot) {
        checksum += dbf->isLive(slot);
        for (int column = 0; column < dbf->fields().size(); ++column)
            checksum += dbf->value(slot, column).toString().size();
    }
    return checksum < 0 ? 1 : 0;
}
