#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Cells as spreadsheets put them on the clipboard and take them from it: rows of tab-separated
// cells, each row ended by a line end; a cell holding a tab, a line break or a leading quote
// goes between quotes, with its quotes doubled. Empty cells and empty rows are kept, so a range
// pastes back into the same shape.
class ClipboardTable
{
public:
    static QString text(const QList<QStringList> &rows);
    // Reads CR LF, LF or CR line ends; the line end after the last row is optional.
    static QList<QStringList> rows(const QString &text);
};
