#pragma once

#include "DocumentRecord.h"

#include <QByteArray>
#include <QDate>
#include <QStringList>

#include <memory>
#include <optional>

class ContentIndex;
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

    // The save of a document's body by the editors: the row of path gets mDate = today, the
    // pane's colour and the body copy (rtf with "'" as "`"), and the index the text of rtf.
    // A path without a row changes nothing (false).
    bool saveBody(const QString &path, const QByteArray &rtf, qint64 bgcolor, QDate today);
    // The side note: DocType "Quick Notes" and QuickNoteColour for the row of path.
    bool markQuickNote(const QString &path);

    // The colour rule of the view pane: the row's bgcolor, DefaultColour when there is no row
    // or its colour is Null.
    qint64 viewColour(const QString &path) const;
    // LoadKeywords: the keywords of the row of path, split at ",", empty pieces dropped.
    QStringList keywordsOf(const QString &path) const;

    // The text the catalogue keeps as a body copy: rtf with every "'" replaced by "`".
    static QString contentOf(const QByteArray &rtf);

private:
    std::optional<DocumentRecord> readOne(const QString &condition, const QVariant &value) const;
    bool writeColumns(DocumentRecord &record) const;

    const Store &m_store;
    std::unique_ptr<ContentIndex> m_index;
};
