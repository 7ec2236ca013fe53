// Feeds arbitrary bytes to the text-table reader: decoding, dialect detection and splitting
// must never crash or hang, and writing the records back in the detected dialect must read
// back as the same records.

#include "CsvTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    CsvTable::Encoding encoding;
    const QString text = CsvTable::decode(bytes, 1252, &encoding);
    const CsvTable::Parsed parsed = CsvTable::parse(text);
    // A record of one empty field is written as a blank line, which reading skips. In the
    // backslash dialect a backslash of the data before a quote cannot be told from an escape.
    for (const QStringList &record : parsed.records) {
        if (record.size() == 1 && record.first().isEmpty())
            return 0;
        if (parsed.dialect.backslashEscape && record.join(QString()).contains(QLatin1Char('\\')))
            return 0;
    }
    const CsvTable::Parsed again =
        CsvTable::parse(CsvTable::format(parsed.records, parsed.dialect), &parsed.dialect);
    if (again.records != parsed.records)
        abort();
    return 0;
}
