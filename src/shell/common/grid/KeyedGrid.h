#pragma once

#include "KeyedGridModel.h"

#include <QTableView>

class FilterHeader;

// The view of a KeyedGridModel: column widths from the model's character widths, a filter row
// under the captions when the model has two fixed rows, and rows addressed by grid number.
// A double click on an outline heading folds or unfolds the rows under it.
class KeyedGrid : public QTableView
{
    Q_OBJECT
public:
    explicit KeyedGrid(QWidget *parent = nullptr);

    KeyedGridModel *grid() const { return m_model; }
    FilterHeader *filterHeader() const { return m_header; }

    // The grid row of the current cell; -1 when there is none.
    int currentGridRow() const;
    // Makes a row current and scrolls to it; a hidden row or one out of range clears it.
    void setCurrentGridRow(int row);
    // Width in pixels of one column.
    int columnWidthOf(const QString &key) const;
    // Lays out the columns again from the model (widths, hidden columns, filter row).
    void applyColumns();

Q_SIGNALS:
    // The current row changed; row is the grid row, -1 for none.
    void currentGridRowChanged(int row);
    // The user picked a data row with the mouse or the keyboard.
    void rowPicked(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    KeyedGridModel *m_model;
    FilterHeader *m_header;
};
