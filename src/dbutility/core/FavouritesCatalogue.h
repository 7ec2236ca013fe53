#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Store;

// The favourites of the Database utility in the data store: favdbname (one row per remembered
// database, keyed by its path Loc), FavTable (its tables), favfldname (marked and visible
// fields of each table) and favchoices (value lists, never removed here).
//
// Every statement is the utility's own text with the values escaped. Statements run under the
// resume-next rule: one that fails is skipped and the operation goes on with its next step.
class FavouritesCatalogue
{
public:
    // A new favourite's colours: the system window and window-text colours as OLE values.
    static constexpr qint64 DefaultBackColor = 0x80000005;
    static constexpr qint64 DefaultForeColor = 0x80000008;
    static constexpr int MaxMarked = 5;

    struct Favourite {
        QString dbname;
        QString dbtype;
        QString loc;
        qint64 backColor = DefaultBackColor;
        qint64 backColorA = DefaultBackColor;
        qint64 forColor = DefaultForeColor;
    };

    struct FieldMark {
        QString fieldName;
        bool marked = false;
        bool visible = true;
    };

    // A table and its fields, in the table's field order, for RememberAllTables.
    struct TableFields {
        QString table;
        QStringList fields;
    };

    enum class Colour { Back, BackAlternate, Fore };

    explicit FavouritesCatalogue(const Store &store) : m_store(store) {}

    // Removes rows without a path, then every favourite whose file is gone (with its tables and
    // fields; its choices stay). Returns the number of favourites removed for a missing file.
    int cleanUp();
    // "Select * from favdbname", in the order the rows were added.
    QList<Favourite> favourites() const;
    // Appends a favourite row as given.
    bool append(const Favourite &favourite);
    bool contains(const QString &path) const;

    void RememberSingleTable(const QString &path, const QString &table, const QStringList &fields);
    void RememberAllTables(const QString &path, const QList<TableFields> &tables);
    void RememberFields(const QString &path, const QString &table, const QStringList &fields);
    void RemoveFavourite(const QString &path);

    // The favfldname rows of a table, in the order they were remembered.
    QList<FieldMark> fieldMarks(const QString &path, const QString &table) const;
    // Names of the marked fields (and visible too, when visibleOnly), in row order.
    QStringList markedFields(const QString &path, const QString &table, bool visibleOnly) const;
    void SetMarked(const QString &path, const QString &table, const QString &field, bool marked);
    void setVisible(const QString &path, const QString &table, const QString &field, bool visible);
    void setColour(const QString &path, Colour colour, qint64 oleColor);

    // The SQL texts, for the rare caller that runs them itself.
    static QString markedFieldsText(const QString &path, const QString &table, bool visibleOnly);

private:
    const Store &m_store;
};
