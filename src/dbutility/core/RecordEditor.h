#pragma once

#include "FieldValidator.h"

#include <QList>
#include <QMap>
#include <QString>

#include <functional>

class OpenedSource;

// Changes the records of one table of an opened database through SQL on the database's own
// connection: a foreign file is written by the source layer in its own format (replaced in one
// step, with its .bak copy kept before the first change since it was opened), a SQLite file by
// its engine (after a copy of it is kept the same way). Records are addressed by their record
// number (rowid), as the record grid's rows give it.
//
// Every typed text is checked against its field (FieldValidator) before anything is written, and
// a batch of changes is one transaction: a refused value or a failed statement writes nothing.
class RecordEditor
{
public:
    // source must outlive the editor. dayFirst reads typed dates as the national flag says.
    RecordEditor(OpenedSource &source, const QString &table, bool dayFirst);

    // Empty when the table's records can be changed; else why not, in the source's words.
    QString readOnlyReason() const;

    // The texts typed into one record, by field name; recordNumber -1 makes a new record.
    struct Change {
        qint64 recordNumber = -1;
        QMap<QString, QString> texts;
    };
    struct Result {
        bool ok = true;
        // The refusal (naming the field) or the failure, as the user reads it.
        QString message;
        // The change that was refused and its field; -1 and empty when nothing was refused.
        int change = -1;
        QString field;
        // The record numbers of the records made, in order.
        QList<qint64> added;
    };

    // Checks one typed text against a field of the table; empty when it fits.
    QString check(const QString &field, const QString &text, QVariant *value) const;
    // Checks every text of every change, then writes them all in one transaction.
    Result apply(const QList<Change> &changes);
    // Appends an empty record; on the Access path every text field starts as one blank, as
    // such tables have always had them (a field that must not be empty takes it).
    Result addRecord();
    Result deleteRecord(qint64 recordNumber);

private:
    int fieldIndex(const QString &name) const;
    // Runs the statements of a batch between BEGIN and COMMIT; on failure rolls back.
    Result write(const std::function<bool(QString *error, QList<qint64> *added)> &statements);

    OpenedSource &m_source;
    QString m_table;
    QList<SourceField> m_fields;
    QList<FieldValidator> m_validators;
};
