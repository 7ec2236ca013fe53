#include "RunHistory.h"

QStringList RunHistory::add(const QStringList &history, const QString &command)
{
    const QString entry = command.trimmed();
    if (entry.isEmpty())
        return history;
    QStringList result{entry};
    for (const QString &old : history) {
        if (old != entry && result.size() < Capacity)
            result << old;
    }
    return result;
}
