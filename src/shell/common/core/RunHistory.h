#pragma once

#include <QStringList>

// A list of earlier commands (the Run dialog's, the query window's): newest first, each command once, at most
// `Capacity` entries (one for each letter, as the old dialog kept them).
class RunHistory
{
public:
    static constexpr int Capacity = 26;

    // history with command (trimmed) moved or added to the front; a blank command changes
    // nothing.
    static QStringList add(const QStringList &history, const QString &command);
};
