#pragma once

#include "BrowseSql.h"

#include <QString>

// What the record grid shows: a table, its visible fields, a filter and an order, as the pieces
// of the window's record-source text. text() is that text; the pager reads the same rows by
// record number (rowid) so that only the rows on screen are read.
struct RecordQuery {
    BrowseSql::Path path = BrowseSql::Path::Driver;
    // As the table list names it (a single-file source's file name).
    QString table;
    // VisibleFieldList(); empty for every field.
    QString list;
    // A filter clause with its leading blank (" where NAME ='x'"); empty for none.
    QString where;
    // The sort or group field; empty for the table's own order.
    QString orderField;
    bool descending = false;
    // Heading rows above each run of one value of orderField.
    bool grouped = false;

    QString text() const
    {
        return orderField.isEmpty()
                   ? BrowseSql::recordSource(path, table, list, where)
                   : BrowseSql::sortedSource(path, table, list, where, orderField, descending);
    }
    // The table as the FROM clause of every text names it.
    QString from() const
    {
        return path == BrowseSql::Path::Access ? BrowseSql::bracketed(table)
                                               : BrowseSql::fileTableName(table);
    }
};
