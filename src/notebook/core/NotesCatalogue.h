#pragma once

#include "DocumentRecord.h"

#include <QByteArray>
#include <QDate>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ContentIndex;
class ListDocument;
class QSqlQuery;
class Store;

// The document catalogue nv_notesdairy1: one row per document file, addressed by the file's
// full path. Paths compare exactly (a case-sensitive file system tells Note.rtf from note.rtf),
// where the old program matched them with `like`.
//
// Every row this program writes goes through writeRow(), which keeps the content index
// (ContentIndex) in step in the same transaction. Other programs of the suite write the table
// directly; ContentIndex::check() finds their rows by their modification date.
class NotesCatalogue
{
public:
    // Background colours of the view pane, as Windows RGB values.
    static constexpr qint64 LinkColour = 13027794;     // &HC6C9D2: automatic linking
    static constexpr qint64 DefaultColour = 14208965;  // &HD8CFC5: add panel; no stored colour
    static constexpr qint64 QuickNoteColour = 7723767; // &H75DAF7: the side note

    // Uses the store's handle; creates the catalogue's own indexes and the content index when
    // the store lacks them (a store made by an older version).
    explicit NotesCatalogue(const Store &store);
    ~NotesCatalogue();
    NotesCatalogue(const NotesCatalogue &) = delete;
    NotesCatalogue &operator=(const NotesCatalogue &) = delete;

    const Store &store() const { return m_store; }
    ContentIndex &index() const { return *m_index; }

    std::optional<DocumentRecord> byPath(const QString &path) const;
    std::optional<DocumentRecord> byId(qint64 id) const;

    // The one routine that writes a catalogue row. A record with id 0 is added (its id is set),
    // any other replaces the row with that id. When the row is new, or its path, body copy or
    // modification date changed, the document's text is indexed again: plainText when given
    // (the caller has the body at hand), else as DocumentText::forIndex reads it. The row and
    // its index entry are written together or not at all; false when the store refused.
    bool writeRow(DocumentRecord &record, const QString *plainText = nullptr);
    // Removes a row and its index entry.
    bool removeRow(qint64 id);
    // Brings the content index up to date here and now when at most limit rows are stale;
    // false, with nothing done, when more are (a ContentIndexJob should do them). True when
    // the store has no index.
    bool refreshIndex(size_t limit);
    // Indexes a row again from its file or body copy (rows written by other programs).
    bool reindex(qint64 id);
    bool reindex(const DocumentRecord &record);

    // The row AddDocumentLink adds for path: DocType "Notes", Type "Business", category
    // "Undefined", name up to the first "." of the file name, ext from the last four characters
    // of the path ("rtf" when they hold no "."), colour LinkColour, version "1", serial number 1.
    static DocumentRecord linkRecord(const QString &path);
    // Adds the row of linkRecord(path) unless a row has that path; true when it added one.
    bool AddDocumentLink(const QString &path);

    // What saveBody() saved.
    enum class Saved {
        Nothing,   // the file could not be written: file and row are as they were
        FileOnly,  // the file is saved; the document has no row, or its row could not be written
        FileAndRow // both
    };
    // The save of a document by the editors. The file at path gets fileBytes through a
    // temporary file that replaces it only when complete, so a crash or a full disk leaves the
    // old file whole. The row of path gets mDate = today, the pane's colour bgcolor and the body
    // copy (rtf, the pane's rich text, with "'" as "`"); the index gets the text of rtf. The row
    // is written in a savepoint that is kept only once the file has replaced the old one: the
    // catalogue never tells of a save that did not happen. A row that cannot be written does
    // not cost the user's text: the file is saved all the same (FileOnly, with the reason).
    Saved saveBody(const QString &path, const QByteArray &fileBytes, const QByteArray &rtf,
                   qint64 bgcolor, QDate today, QString *error = nullptr);
    // The save of a list document: the file gets the list (atomically, as above), the row
    // mDate = today and the index the list's text, together as saveBody() does.
    Saved saveList(const QString &path, const ListDocument &list, QDate today,
                   QString *error = nullptr);
    // SaveKeywords: the row of path gets the keywords joined by joinKeywords(); false without
    // a row.
    bool saveKeywords(const QString &path, const QStringList &cells);
    // SaveKeywords' joining: the non-empty cells in order, each keyword once (compared without
    // regard to case), joined by ",".
    static QString joinKeywords(const QStringList &cells);
    // The row of a document the editors create: the link row of path with DocType docType,
    // today's date, the add panel's colour, and for a list the name with its extension and the
    // category "Undefined" as the list save sets them. False when the row cannot be written or
    // the path has one already.
    bool addCreated(const QString &path, const QString &docType, QDate today);
    // The side note: DocType "Quick Notes" and QuickNoteColour for the row of path.
    bool markQuickNote(const QString &path);

    // --- rows kept in step with the files of the document operations
    // Rows of the file at from, and of every file under the folder from, take the path to (the
    // rest of each path kept). Names, properties and indexed text stay: the files moved
    // unchanged. Returns how many rows moved, -1 when the store refused (nothing changed).
    int movePaths(const QString &from, const QString &to);
    // A document file renamed: its row gets the path to and the name and ext of to as
    // AddDocumentLink makes them. False without a row or when the store refused.
    bool renameDocument(const QString &from, const QString &to);
    // The paste's row copy, for the row of from and each row under the folder from: the row of
    // the matching path under to (a new one when there is none) gets documentName, ext,
    // category1, serialno, Version, Author, Date, Type, Progress, Current, bgcolor, mdate,
    // keyword and DueDate; DocType, Picfilelink and the body copy are not copied. Returns the
    // rows written, -1 when the store refused (nothing changed).
    int copyRows(const QString &from, const QString &to);
    // Removes the row of path and the rows under the folder path with their index entries;
    // returns how many, -1 when the store refused (nothing changed).
    int removeRows(const QString &path);
    // "delete * from nv_notesdairy1" and the whole content index; the files stay.
    bool removeAll();
    // The first row named name (compared as the store compares names, without regard to case).
    std::optional<DocumentRecord> byName(const QString &name) const;

    // The colour rule of the view pane: the row's bgcolor, DefaultColour when there is no row
    // or its colour is Null.
    qint64 viewColour(const QString &path) const;
    // LoadKeywords: the keywords of the row of path, split at ",", empty pieces dropped.
    QStringList keywordsOf(const QString &path) const;

    // The text the catalogue keeps as a body copy: rtf with every "'" replaced by "`".
    static QString contentOf(const QByteArray &rtf);

private:
    // Writes bytes to path and, when path has a row, the row as change() makes it with plain as
    // its indexed text, in the unit saveBody() describes.
    Saved saveFileAndRow(const QString &path, const QByteArray &bytes,
                         const std::function<void(DocumentRecord &)> &change, const QString &plain,
                         QString *error);
    std::optional<DocumentRecord> readOne(const QString &condition, const QVariant &value) const;
    bool writeColumns(DocumentRecord &record) const;
    // writeRow(); index false keeps the index entry as it is (the text did not change).
    bool writeRecord(DocumentRecord &record, const QString *plainText, bool index);
    // The rows at path, and under it when it is a folder, in id order; false when unreadable.
    bool rowsAt(const QString &path, std::vector<DocumentRecord> &rows) const;
    // The record of the query's current row, read as "select id, <every column>".
    static DocumentRecord recordOf(const QSqlQuery &query);

    const Store &m_store;
    std::unique_ptr<ContentIndex> m_index;
};
