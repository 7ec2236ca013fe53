#pragma once

#include <QImage>
#include <QList>
#include <QString>

// Undo and redo of whole pictures within a memory budget. Each step keeps the picture as it
// was; when the steps kept (undo and redo together) would pass the budget, the oldest undo
// steps are dropped, and the caller is told how many so it can say so. A picture larger than
// the whole budget keeps no step at all.
class UndoHistory
{
public:
    static constexpr qint64 DefaultBudget = qint64(1) << 30; // 1 GiB: ten 24 MP photos

    explicit UndoHistory(qint64 budgetBytes = DefaultBudget) : m_budget(budgetBytes) {}

    // Keeps before (the picture before a change named what) and forgets the redo steps.
    // Returns how many older steps were dropped to stay within the budget.
    int record(const QImage &before, const QString &what);
    bool canUndo() const { return !m_undo.isEmpty(); }
    bool canRedo() const { return !m_redo.isEmpty(); }
    // The name of the change the next undo (redo) reverts (repeats).
    QString undoText() const { return canUndo() ? m_undo.last().what : QString(); }
    QString redoText() const { return canRedo() ? m_redo.last().what : QString(); }
    // The picture to show after undoing; current is kept for redo. Null when there is nothing
    // to undo. dropped (when given) counts older steps dropped to make room for current.
    QImage undo(const QImage &current, int *dropped = nullptr);
    QImage redo(const QImage &current, int *dropped = nullptr);
    void clear();

    qint64 bytes() const;
    qint64 budget() const { return m_budget; }
    int undoCount() const { return int(m_undo.size()); }
    int redoCount() const { return int(m_redo.size()); }

private:
    struct Step {
        QImage picture;
        QString what;
    };
    int trim();

    qint64 m_budget;
    QList<Step> m_undo; // oldest first
    QList<Step> m_redo; // the next redo last
};
