#pragma once

#include <QVariant>

// The help texts of nv_tooltip by window code ("UTL0035"). The table is read once and read again
// only when the data store has changed since (another handle or program wrote it), so the help
// buttons ask on every hover without opening a store each time. User-interface thread only.
class Tooltips
{
public:
    // The Tooltip of the row whose Code is code; invalid when there is no such row or the store
    // cannot be read.
    static QVariant text(const QString &code);
};
