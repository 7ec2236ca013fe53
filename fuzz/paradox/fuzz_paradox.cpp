// Feeds arbitrary bytes to the Paradox reader as a table (.db) and its BLOB file (.mb), reads
// every field of every row and, when the table can be written, changes it: nothing may crash,
// hang or read outside the data. The header and block chain checks run before pxlib sees it.
//
// Input: bytes 0-1 (little-endian) the length of the BLOB file, which is taken from the end;
// byte 2 bit 0 asks for a write transaction; the rest is the table.

#include "ParadoxTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace
{

bool writeFile(const QString &path, const char *data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(data, qint64(size)) == qint64(size);
}

void change(ParadoxTable &table)
{
    QString error;
    qint64 slot = 0;
    table.beginWrite(&error);
    for (int column = 0; column < table.fields().size() && column < 8; ++column) {
        table.updateRow(0, {{column, QStringLiteral("12")}}, &error);
        table.updateRow(table.slotCount() - 1, {{column, QVariant()}}, &error);
    }
    table.insertRow({{0, QStringLiteral("2024-02-29")}, {1, 7}}, &slot, &error);
    table.deleteRow(0, &error);
    table.deleteRow(slot, &error);
    table.commitWrite(&error);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    if (size < 3 || !dir.isValid())
        return 0;
    const size_t blobSize = qMin<size_t>(size_t(data[0] | (data[1] << 8)), size - 3);
    const bool writes = data[2] & 1;
    const QString path = dir.filePath(QStringLiteral("t.db"));
    const QString blobPath = dir.filePath(QStringLiteral("t.mb"));
    QFile::remove(blobPath);
    if (!writeFile(path, reinterpret_cast<const char *>(data + 3), size - 3 - blobSize) ||
        (blobSize > 0 &&
         !writeFile(blobPath, reinterpret_cast<const char *>(data + size - blobSize), blobSize)))
        return 0;
    SourceOptions options;
    options.backupSuffix.clear();
    QString error;
    auto table = ParadoxTable::open(path, options, &error);
    if (!table)
        return 0;
    const qint64 rows = qMin<qint64>(table->slotCount(), 2000);
    qint64 checksum = 0;
    for (qint64 slot = 0; slot < rows; ++slot) {
        for (int column = 0; column < table->fields().size(); ++column)
            checksum += table->value(slot, column).toString().size();
    }
    if (writes && table->readOnlyReason().isEmpty())
        change(*table);
    return checksum < 0 ? 1 : 0;
}
