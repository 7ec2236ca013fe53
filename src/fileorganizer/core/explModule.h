#pragma once

#include <QString>

// Name, size and attribute texts of the file grid.

// The text after the last "." of a file name; "" when it has none.
QString Extension(const QString &fileName);
// The text before the last "."; the whole name when it has none (".profile" gives "").
QString BaseName(const QString &fileName);
// "512Byte", "12Kb", "1.5Mb": kilobytes rounded half to even, megabytes to two decimals (half
// to even) in the user's locale, no unit above Mb.
QString FormatSizeText(qint64 size);
// The attribute letters for the exact values 32, 33, 34, 35, 1, 3, 2; "S" for any other.
QString AttributeText(int attributes);
