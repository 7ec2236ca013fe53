#pragma once

#include "RtfGroupState.h"

#include <QHash>
#include <QString>
#include <QTextListFormat>

#include <optional>
#include <vector>

// Which list a paragraph belongs to. Two ways lead there: the \listtable and
// \listoverridetable destinations define lists that a paragraph names by \lsN and \ilvlN; the
// older \pn numbering describes the list of the paragraphs that follow it.
class RtfListTable
{
public:
    // The list a paragraph belongs to: one per \ls number and level (or \pn style and level).
    struct Item {
        quint64 key = 0;
        int level = 0;
        QTextListFormat::Style style = QTextListFormat::ListDecimal;
    };

    void clear();

    // \list inside the table: a definition whose levels follow.
    void beginList();
    void setListId(int id) { m_listId = id; }
    void beginLevel() { m_levels.emplace_back(); }
    // \levelnfcN and the \leveltext of the level being read.
    void setLevelFormat(int format);
    void addLevelText(const QString &text);
    void finishList();

    // \listoverride: maps an \ls number to the \listid of a definition.
    void beginOverride();
    void setOverrideNumber(int number) { m_overrideNumber = number; }
    void setOverrideListId(int id) { m_overrideListId = id; }
    void finishOverride() { m_overrides.insert(m_overrideNumber, m_overrideListId); }

    // \pn numbering: \pnlvlblt, \pnlvlbody, \pnlvlN, and the style words from \pndec on
    // (0 decimal, 1 upper roman, 2 lower roman, 3 upper letter, 4 lower letter).
    void setNumberingBullet();
    void setNumberingBody();
    void setNumberingLevel(int level);
    void setNumberingStyle(int index);
    // \pard in the text ends \pn numbering.
    void endNumbering() { m_numbering = QTextListFormat::ListStyleUndefined; }

    // The list of a paragraph, or nothing when it is not a list item.
    std::optional<Item> itemOf(const RtfGroupState::Paragraph &para) const;

private:
    struct Level {
        QTextListFormat::Style style = QTextListFormat::ListDecimal;
        QString text;
    };

    QHash<int, std::vector<Level>> m_definitions; // by \listid
    std::vector<Level> m_levels;                  // of the \list being read
    int m_listId = 0;
    int m_overrideListId = 0;
    int m_overrideNumber = 0;
    QHash<int, int> m_overrides; // \ls number -> \listid
    QTextListFormat::Style m_numbering = QTextListFormat::ListStyleUndefined;
    int m_numberingLevel = 0;
};
