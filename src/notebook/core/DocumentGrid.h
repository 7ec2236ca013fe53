#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>

class KeyedGridModel;
class Store;

// Fills the document grid from a record source and gives it the notebook's look: the grid is
// bound to the statement's fields, each column keyed by its field name ("DocumentName",
// "DATE", "MONTH"), the first columns captioned by a caption text whose blanks size them.
class DocumentGrid
{
public:
    // The grid's two background colours after a fill (&H5F4930 and &H7B5E3E) and the colour
    // of spreadsheet rows.
    static QColor backColour();
    static QColor alternateColour();
    static QColor spreadsheetColour();

    // Outline of a grouped view: rows are grouped on the trimmed text of the field `key`; a
    // heading row carrying heading(value) in the first column goes above each group.
    struct Grouping {
        QString key;
        std::function<QString(const QString &value)> heading;
    };

    // The records a window loads before it shows the grid; the rest follow in pages.
    static constexpr int FirstPage = 200;

    // Runs jetSql and replaces the grid's columns and rows by its whole result (a
    // DocumentLoader read to its end). On failure the grid keeps its content and error (when
    // given) says why. Date fields ("date", "mDate", "DueDate") become date columns shown in
    // dateFormat.
    static bool fill(const Store &store, const QString &jetSql, const QString &captions,
                     KeyedGridModel &grid, const QString &dateFormat,
                     const Grouping *grouping = nullptr, QString *error = nullptr);

    // "dd MMM-yyyy" when national (day first), else "MMM dd-yyyy".
    static QString dateFormat(bool national);
    // Sets the display format of the date columns present among keys.
    static void setDateFormat(KeyedGridModel &grid, const QString &format,
                              const QStringList &keys = {QStringLiteral("DATE"),
                                                         QStringLiteral("mDATE")});

    // Hides every column, then shows those of keys that the grid has.
    static void showOnly(KeyedGridModel &grid, const QStringList &keys);
    // The simple view shows the document name; the details view also the columns of
    // detailColumns(). Then GridColor.
    static void ApplySimpleView(KeyedGridModel &grid, bool details);
    static QStringList detailColumns();
    // Gives every row (from fromRow on) whose Ext cell, upper-cased, is "XLS" the spreadsheet
    // colour.
    static void GridColor(KeyedGridModel &grid, int fromRow = 0);
};
