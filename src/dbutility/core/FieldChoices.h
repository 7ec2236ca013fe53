#pragma once

#include <QString>
#include <QStringList>

class Store;

// The value lists a user keeps for the fields of a table (favchoices in the data store): shown
// on the values panel and as the drop-down list of the field's column while records are edited.
// A field holds each value once, compared without regard to case as every text of the store is.
// The statements are the utility's own texts with every value escaped.
class FieldChoices
{
public:
    // A field of a table of a database: the rows' dbpath, tblname and fieldname.
    struct Field {
        QString path;
        QString table;
        QString field;
    };

    explicit FieldChoices(const Store &store) : m_store(store) {}

    // "select distinct choices from favChoices where dbpath=... and tblname=... and
    // Fieldname=...": each value once, in the order the rows were added.
    QStringList choices(const Field &field) const;
    bool contains(const Field &field, const QString &value) const;
    // A new value; false, writing nothing, when it is empty or the field holds it already.
    bool add(const Field &field, const QString &value);
    // Changes the one value old into value; false, writing nothing, when value is empty or
    // the field holds it already.
    bool edit(const Field &field, const QString &old, const QString &value);
    void remove(const Field &field, const QString &value);
    // Replaces every value of the field by values (duplicates left out), in one transaction.
    void replace(const Field &field, const QStringList &values);

private:
    const Store &m_store;
};
