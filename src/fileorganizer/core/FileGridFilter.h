#pragma once

#include <QString>

class KeyedGridModel;
class RowFilter;

// Applies a filter box's RowFilter to the file grid in one pass: rows it does not accept are
// hidden, the others shown. A filter that makes no pass leaves every row as it is.
class FileGridFilter
{
public:
    // dateColumnKey names the date cell the filter compares ("cDate" or "mDate"); it may be
    // empty for a filter without a date condition. Returns the number of rows shown.
    static int apply(KeyedGridModel &grid, const RowFilter &filter, const QString &dateColumnKey);
};
