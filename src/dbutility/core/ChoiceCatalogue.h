#pragma once

#include <QString>
#include <QStringList>

class Store;

// The choice catalogue cla_dbchoices (data store): kinds of values a field's choices can be
// filled from, each naming the table and field that hold them, an optional extra condition and
// an optional column marking rows for the national setting. The ten built-in kinds read their
// tables from the information store, where their values are shipped (data/choices.tsv, and
// NV_CONVERSION for units); any other kind reads the data store.
class ChoiceCatalogue
{
public:
    struct Kind {
        QString table;    // tablename
        QString field;    // Fieldname
        QString value;    // Value: a condition appended to the query; empty for none
        QString national; // national: the column marking rows; empty for none
        bool builtIn = false;
    };

    ChoiceCatalogue(const Store &data, const Store &info) : m_data(data), m_info(info) {}

    // "COMPANY NAME", "FIRST", "LAST", "MAGAZINE NAME", "NICK", "ZODIC-SIGN", "UNIT",
    // "UNIT-TYPE", "COUNTRY", "CITY".
    static QStringList builtInKinds();
    static bool isBuiltIn(const QString &kind);

    // Makes sure the built-in kinds are in cla_dbchoices and their value tables in the
    // information store hold their values: a store made by an older version of the program has
    // neither. Each table is filled once, in one transaction. False when a store refused.
    bool prepare() const;

    // "SELECT DISTINCT Engname FROM [cla_dbchoices] WHERE len(Engname)<>0 ORDER BY Engname"
    QStringList kinds() const;
    // The catalogue row of a kind (its name upper-cased first); false when there is none.
    bool kind(const QString &name, Kind *kind) const;
    // The value query of a kind; the national condition (" and <national>='C'") applies
    // only when the national flag is off.
    static QString valueQuery(const Kind &kind, bool nationalFlag);
    // The values of a kind, in the order the query gives them; empty for an unknown kind.
    QStringList values(const QString &name, bool nationalFlag) const;

private:
    bool prepareKinds() const;
    bool loadTables() const;

    const Store &m_data;
    const Store &m_info;
};
