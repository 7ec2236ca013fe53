#pragma once

#include "FavouritesCatalogue.h"
#include "OpenedSource.h"
#include "RecordQuery.h"
#include "Store.h"

#include <QSet>

#include <memory>

class RecordEditor;
class RecordPager;

// The Database utility without its window: the favourites, the database and table being
// browsed and the texts that read them. The window (frmDblist) shows what this holds and calls
// these routines from its controls; tests and the benchmark call them directly.
class DbBrowser
{
public:
    DbBrowser();
    ~DbBrowser();

    const Store &store() const { return m_store; }
    FavouritesCatalogue &favourites() { return m_favourites; }

    // --- favourites
    struct Added {
        bool ok = false;
        // Why nothing was added, naming the file; or a table the file could not read.
        QString message;
        FavouritesCatalogue::Favourite favourite;
    };
    // Makes the file a favourite: its type from its content (see DbSourceType::detect), its
    // tables and their fields remembered. A file already among the favourites is remembered
    // afresh (its marks are forgotten). Colours are the record grid's, as OLE values.
    Added AddFavourite(const QString &path, qint64 backColor, qint64 backColorA, qint64 forColor);
    // The same for a file handed over by the File organizer.
    Added AddFromFileManager(const QString &path, qint64 backColor, qint64 backColorA,
                             qint64 forColor);
    // Makes a file of a known kind a favourite of a catalogue (on any store handle, as the
    // database scan has its own), its tables and their fields remembered.
    static Added remember(FavouritesCatalogue &favourites, const QString &path, DbKind kind,
                          qint64 backColor, qint64 backColorA, qint64 forColor);

    // --- the database being browsed
    // Opens a file as a type text ("" or an unknown text: as its content says). On failure the
    // previous database stays closed and *error names the file.
    bool OpenSource(const QString &path, const QString &typeText, QString *error);
    void closeSource();
    OpenedSource *source() const { return m_source.get(); }
    QString path() const { return m_path; }
    QString typeText() const { return m_typeText; }
    bool isAccessPath() const;
    QStringList tables() const;

    // Makes table the current one and returns its fields.
    QList<FieldInfo> ListFields(const QString &table);
    QString table() const { return m_table; }
    const QList<FieldInfo> &fields() const { return m_fields; }
    bool hasField(const QString &field) const;
    // The type name of a field of the current table; empty when there is none.
    QString fieldTypeName(const QString &field) const;

    // Marks of the current table from the favourites (empty for a database that is none).
    QList<FavouritesCatalogue::FieldMark> fieldMarks() const;
    // Fields marked and visible (the sort tools), and marked (the filter boxes, grouping).
    QStringList sortFields() const;
    QStringList filterFields() const;
    // "[a],[b]" of the fields ticked visible that the table still has; "" for every field.
    QString VisibleFieldList() const;

    // What the record grid shows of the current table.
    RecordQuery recordQuery(const QString &where = QString(), const QString &orderField = QString(),
                            bool grouped = false, bool descending = false) const;
    // A pager over the current database, prepared; null with the engine's message on failure.
    std::shared_ptr<RecordPager> makePager(const RecordQuery &query, QString *error) const;
    // The values of a filter box: distinct, not null, in order.
    QStringList distinctValues(const QString &field) const;
    // The where clause that filters the current table on a field's value (by its value class).
    QString filterClause(const QString &field, const QString &value) const;

    // Changes the records of the current table; it lives until another table or database is
    // opened. Typed dates read day first when dayFirst (the national flag).
    RecordEditor *editor(bool dayFirst);

    // True the first time a message is seen: each failure is told to the user once.
    bool firstReport(const QString &message);

private:
    Added add(const QString &path, qint64 backColor, qint64 backColorA, qint64 forColor);

    Store m_store;
    FavouritesCatalogue m_favourites;
    std::unique_ptr<OpenedSource> m_source;
    std::unique_ptr<RecordEditor> m_editor;
    QString m_path;
    QString m_typeText;
    QString m_table;
    QList<FieldInfo> m_fields;
    QSet<QString> m_reported;
};
