#pragma once

#include "SourceField.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

#include <string>

// One table of a foreign database behind a uniform, row-slot addressed interface.
//
// Rows live in slots 0 .. slotCount()-1; a slot may be empty (a deleted dBase record), so
// readers skip slots for which isLive() is false. Values are Qt types: qint64, double, QString
// (dates as "yyyy-MM-dd HH:mm:ss"), QByteArray for binary data, a null QVariant for no value.
//
// Writes happen inside a write transaction: beginWrite(), any number of insertRow / updateRow
// / deleteRow, then commitWrite() which makes all of them reach the file at once, or
// rollbackWrite() which leaves the file as it was. Not thread-safe.
class SourceTable
{
public:
    // Tables with more fields cannot be shown to SQL (SQLite's column limit).
    static constexpr int MaxColumns = 2000;

    virtual ~SourceTable() = default;

    virtual QString name() const = 0;
    // Which table of type names the fields' typeCode belongs to.
    virtual TypePath typePath() const { return TypePath::InstallableDriver; }
    virtual const QList<SourceField> &fields() const = 0;
    virtual qint64 slotCount() const = 0;
    // Whether slot is one of 0 .. slotCount()-1 (live or not). Inline, so that a table marked
    // final pays nothing for it in a scan.
    bool hasSlot(qint64 slot) const { return slot >= 0 && slot < slotCount(); }
    virtual bool isLive(qint64 slot) const = 0;
    virtual QVariant value(qint64 slot, int column) const = 0;
    // A faster way to the same value for text columns: false when the column is not text (use
    // value()); else *utf8 is set to the text, or *isNull when there is none.
    virtual bool textUtf8(qint64 slot, int column, std::string *utf8, bool *isNull) const;

    // Number of live rows.
    virtual qint64 rowCount() const;

    // Empty when the table can be written, else the message to show for any write attempt.
    virtual QString readOnlyReason() const = 0;

    // Starts a write transaction; a read-only table refuses in the writes themselves.
    virtual bool beginWrite(QString *error);
    // values: column index -> value; missing columns are left empty.
    virtual bool insertRow(const QMap<int, QVariant> &values, qint64 *slot, QString *error);
    // changes: only the columns that change.
    virtual bool updateRow(qint64 slot, const QMap<int, QVariant> &changes, QString *error);
    virtual bool deleteRow(qint64 slot, QString *error);
    virtual bool commitWrite(QString *error);
    virtual void rollbackWrite();

protected:
    bool refuseWrite(QString *error) const;

    // The range checks every table makes before it reads or writes a value (see hasSlot()).
    bool hasColumn(int column) const { return column >= 0 && column < fields().size(); }
    bool hasCell(qint64 slot, int column) const { return hasSlot(slot) && hasColumn(column); }
    // hasSlot(), or isLive() for tables that refuse to change a deleted record; when false,
    // *error says "<table> has no record <slot + 1>".
    bool checkSlot(qint64 slot, QString *error) const;
    bool checkLiveSlot(qint64 slot, QString *error) const;
    // Whether every key of values is a column; when not, *error says "<table> has no field
    // <column + 1>".
    bool checkColumns(const QMap<int, QVariant> &values, QString *error) const;

private:
    bool noRecord(qint64 slot, QString *error) const;
};
