#pragma once

#include <QString>

// Rows of a KeyedGridModel that live outside it: a table of a million records read a page at a
// time as views ask for it. Rows are numbered 0 .. rowCount()-1 in the order views show them,
// outline headings included; columns are the model's own positions.
//
// Every call comes from the model's thread and must return quickly (a source reads a page, never
// the whole table). A source that changes its rows tells its model (rowSourceAppended(),
// rowSourceReset()); the model asks nothing of it meanwhile.
class GridRowSource
{
public:
    virtual ~GridRowSource() = default;

    virtual int rowCount() const = 0;
    // The shown text of a cell; empty for a cell out of range.
    virtual QString text(int row, int column) const = 0;

    // Outline headings: level 0 and up for a heading row, -1 for a data row.
    virtual int outlineLevel(int row) const
    {
        Q_UNUSED(row);
        return -1;
    }
    virtual bool isCollapsed(int row) const
    {
        Q_UNUSED(row);
        return false;
    }
    // The rows under a heading that opening it shows or closing it hides; 0 for a data row.
    virtual int childRows(int row) const
    {
        Q_UNUSED(row);
        return 0;
    }
    // Opens or closes a heading; rowCount() changes by childRows(row).
    virtual void setCollapsed(int row, bool collapsed)
    {
        Q_UNUSED(row);
        Q_UNUSED(collapsed);
    }

    // Editing: whether a cell takes typed text, and taking it. A source that takes a text shows
    // it from then on and decides itself when (and whether) it reaches where its rows live.
    virtual bool isEditable(int row, int column) const
    {
        Q_UNUSED(row);
        Q_UNUSED(column);
        return false;
    }
    virtual bool setText(int row, int column, const QString &text)
    {
        Q_UNUSED(row);
        Q_UNUSED(column);
        Q_UNUSED(text);
        return false;
    }
};
