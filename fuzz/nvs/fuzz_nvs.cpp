// Feeds arbitrary bytes to the list-document reader: it must refuse or read, never crash, hang
// or grow past its cell limit, and a list it reads must come back the same after a write.

#include "ListDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<ListDocument> list = ListDocument::read(bytes);
    if (!list)
        return 0;
    if (qint64(list->rows()) * std::max(list->columns(), 1) > ListDocument::MaxCells)
        abort();
    const std::optional<ListDocument> again = ListDocument::read(list->write());
    if (!again || *again != *list)
        abort();
    return 0;
}
