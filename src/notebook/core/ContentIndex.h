#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

class Store;

// The full-text index of the documents' plain text beside the catalogue: an SQLite FTS5 table
// with the trigram tokenizer (case-insensitive), keyed by the catalogue row's id. The body copy
// `Content` of a row is RTF source, where a search for "café" never meets "caf\'e9"; the index
// holds the text as it reads.
//
// Rows enter the index only through NotesCatalogue::writeRow(); triggers could not turn RTF
// into text, and other programs write the catalogue too. For their rows, check() compares each
// row with what was indexed: rows added since the last check, and rows whose modification
// date is on or after the day of the last check and whose date or body copy differs from what
// the index noted, are stale. A row deleted elsewhere leaves an entry that searches join away.
class ContentIndex
{
public:
    // Searches of at least this many characters use the index; shorter ones scan its text.
    static constexpr int MinIndexedLength = 3;

    struct Staleness {
        std::vector<qint64> ids; // rows to index again, in id order
        qint64 maxId = 0;        // the catalogue's highest id when checked
        qint64 checkedMaxId = 0; // what the last check noted
        QDate checkedDay;
        // Nothing to index and nothing new to note.
        bool isCurrent(QDate today) const
        {
            return ids.empty() && maxId == checkedMaxId && checkedDay == today;
        }
    };

    explicit ContentIndex(const Store &store);

    // Creates the index when the store lacks it. False when this SQLite has no FTS5 trigram
    // tokenizer: content search then falls back to `like` on the body copy.
    bool ensure();
    bool isAvailable() const { return m_available; }

    // Replaces the entry of row id by text, noting the row's modification date and body copy.
    bool put(qint64 id, const QString &text, const QDateTime &mDate, const QString &content);
    bool remove(qint64 id);
    // Drops the whole index and makes it again, empty (a damaged index is dropped as well).
    bool clear();

    Staleness check() const;
    // Notes that every row up to maxId has been looked at on day today.
    bool markChecked(qint64 maxId, QDate today);

    // The condition on nv_notesdairy1 (Jet dialect) for rows whose text holds text anywhere,
    // without regard to case; through the index for MinIndexedLength characters or more.
    static QString condition(const QString &text);
    // A short fingerprint of a body copy, so a change that keeps the date is still seen.
    static qint64 signature(const QString &content);

private:
    const Store &m_store;
    bool m_available = false;
};
