#include "RtfListTable.h"

#include <algorithm>

namespace
{

// The list style of a \levelnfc number.
QTextListFormat::Style styleOfLevelFormat(int format)
{
    switch (format) {
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    case 23:
        return QTextListFormat::ListDisc;
    case 255:
        return QTextListFormat::ListStyleUndefined;
    default:
        return QTextListFormat::ListDecimal;
    }
}

// Bullet lists name their bullet in \leveltext: 'o' (circle), a Wingdings square, else a disc.
QTextListFormat::Style bulletStyle(const QString &levelText)
{
    for (QChar c : levelText) {
        const char16_t u = c.unicode();
        if (u == u'o' || u == u'\u25CB' || u == u'\u25E6' || u == u'\uF06F')
            return QTextListFormat::ListCircle;
        if (u == u'\u25AA' || u == u'\u25A0' || u == u'\uF0A7' || u == u'\u00A7')
            return QTextListFormat::ListSquare;
    }
    return QTextListFormat::ListDisc;
}

} // namespace

void RtfListTable::clear()
{
    m_definitions.clear();
    m_levels.clear();
    m_overrides.clear();
    m_numbering = QTextListFormat::ListStyleUndefined;
    m_numberingLevel = 0;
}

void RtfListTable::beginList()
{
    m_levels.clear();
    m_listId = 0;
}

void RtfListTable::setLevelFormat(int format)
{
    if (!m_levels.empty())
        m_levels.back().style = styleOfLevelFormat(format);
}

void RtfListTable::addLevelText(const QString &text)
{
    if (!m_levels.empty())
        m_levels.back().text += text;
}

void RtfListTable::finishList()
{
    for (Level &level : m_levels) {
        if (level.style == QTextListFormat::ListDisc)
            level.style = bulletStyle(level.text);
    }
    m_definitions.insert(m_listId, m_levels);
    m_levels.clear();
}

void RtfListTable::beginOverride()
{
    m_overrideListId = 0;
    m_overrideNumber = 0;
}

void RtfListTable::setNumberingBullet()
{
    m_numbering = QTextListFormat::ListDisc;
    m_numberingLevel = 0;
}

void RtfListTable::setNumberingBody()
{
    if (m_numbering == QTextListFormat::ListStyleUndefined ||
        m_numbering == QTextListFormat::ListDisc)
        m_numbering = QTextListFormat::ListDecimal;
    m_numberingLevel = 0;
}

void RtfListTable::setNumberingLevel(int level)
{
    m_numbering = QTextListFormat::ListDecimal;
    m_numberingLevel = std::clamp(level - 1, 0, 8);
}

void RtfListTable::setNumberingStyle(int index)
{
    // A bullet keeps its bullet whatever style follows.
    if (m_numbering == QTextListFormat::ListDisc)
        return;
    static const QTextListFormat::Style styles[] = {
        QTextListFormat::ListDecimal, QTextListFormat::ListUpperRoman,
        QTextListFormat::ListLowerRoman, QTextListFormat::ListUpperAlpha,
        QTextListFormat::ListLowerAlpha};
    m_numbering = styles[index];
}

std::optional<RtfListTable::Item> RtfListTable::itemOf(const RtfGroupState::Paragraph &para) const
{
    if (para.listOverride > 0 && m_overrides.contains(para.listOverride)) {
        Item item;
        item.level = para.listLevel;
        item.key = (quint64(quint32(para.listOverride)) << 8) | quint64(item.level);
        const auto definition = m_definitions.constFind(m_overrides.value(para.listOverride));
        if (definition != m_definitions.constEnd() && size_t(item.level) < definition->size())
            item.style = (*definition)[size_t(item.level)].style;
        if (item.style == QTextListFormat::ListStyleUndefined)
            return std::nullopt;
        return item;
    }
    if (m_numbering == QTextListFormat::ListStyleUndefined)
        return std::nullopt;
    Item item;
    item.level = m_numberingLevel;
    item.key = (quint64(1) << 40) | quint64(item.level) << 8 | quint64(-int(m_numbering));
    item.style = m_numbering;
    return item;
}
