#include "UndoHistory.h"

int UndoHistory::record(const QImage &before, const QString &what)
{
    m_redo.clear();
    m_undo.append({before, what});
    return trim();
}

QImage UndoHistory::undo(const QImage &current, int *dropped)
{
    if (m_undo.isEmpty())
        return {};
    Step step = m_undo.takeLast();
    m_redo.append({current, step.what});
    const int n = trim();
    if (dropped)
        *dropped = n;
    return step.picture;
}

QImage UndoHistory::redo(const QImage &current, int *dropped)
{
    if (m_redo.isEmpty())
        return {};
    Step step = m_redo.takeLast();
    m_undo.append({current, step.what});
    const int n = trim();
    if (dropped)
        *dropped = n;
    return step.picture;
}

void UndoHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
}

qint64 UndoHistory::bytes() const
{
    // Shared pictures are counted for each step: the budget is a bound, never an underestimate.
    qint64 total = 0;
    for (const Step &s : m_undo)
        total += s.picture.sizeInBytes();
    for (const Step &s : m_redo)
        total += s.picture.sizeInBytes();
    return total;
}

int UndoHistory::trim()
{
    int dropped = 0;
    while (bytes() > m_budget && !m_undo.isEmpty()) {
        m_undo.removeFirst();
        ++dropped;
    }
    // Redo steps go last, and only when no undo step is left to drop.
    while (bytes() > m_budget && !m_redo.isEmpty())
        m_redo.removeFirst();
    return dropped;
}
