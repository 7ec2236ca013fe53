#include "RtfDocumentBuilder.h"

#include "RtfColorTable.h"
#include "RtfFontTable.h"
#include "RtfListTable.h"
#include "RtfPicture.h"
#include "RtfStyleSheet.h"
#include "RtfTwips.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace
{

bool isBullet(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

} // namespace

void RtfDocumentBuilder::reset(QTextDocument *document)
{
    m_document = document;
    m_run.clear();
    m_runChars = Chars{};
    m_formatValid = false;
    m_listText.clear();
    m_textLists.clear();
    m_pictureCount = 0;
    m_blockPending = false;
    m_pageBreakNext = false;
    m_table = nullptr;
    m_row = m_column = 0;
    m_cellDone = m_rowDone = false;
    m_rowCount = m_columnCount = 0;
    m_cellRights.clear();
}

void RtfDocumentBuilder::beginEdit()
{
    m_cursor = QTextCursor(m_document);
    m_cursor.beginEditBlock();
}

void RtfDocumentBuilder::release()
{
    m_cursor = QTextCursor();
    m_table = nullptr;
    m_textLists.clear();
}

void RtfDocumentBuilder::beginContent(const State &state)
{
    const Paragraph &para = state.para;
    if (para.inTable)
        beginTableContent();
    else if (m_table)
        endTable();
    if (m_blockPending) {
        flushRun();
        // a plain block: inheriting the list of the one before would cost a list update
        m_cursor.insertBlock(QTextBlockFormat());
        m_blockPending = false;
    }
    if (!m_listText.isEmpty()) {
        // Bullet text for readers without list support; a list we understand draws its own.
        const QString listText = std::exchange(m_listText, QString());
        if (!paragraphIsListItem(para))
            addRunText(listText, state.chars);
    }
}

void RtfDocumentBuilder::beginTableContent()
{
    if (!m_table) {
        startTable();
    } else if (m_rowDone) {
        flushRun();
        ++m_row;
        if (m_row >= m_rowCount) {
            // Qt re-indexes a whole table when rows are added: they come in growing batches, as
            // many as the counter expects. Qt removes a row in time proportional to the whole
            // table, so no batch exceeds what endTable() could drop at little cost.
            const int batch = std::clamp(m_rowCount, 1, MaxRowsAhead);
            const int expected = m_expectedRows - m_rowCount;
            const int more = expected > 0 ? std::min(expected, batch) : batch;
            m_table->appendRows(more);
            m_rowCount += more;
        }
        m_column = 0;
        m_cursor = m_table->cellAt(m_row, 0).firstCursorPosition();
        m_rowDone = m_cellDone = false;
        m_blockPending = false;
    } else if (m_cellDone) {
        flushRun();
        if (m_column + 1 < MaxColumns) {
            ++m_column;
            if (m_column >= m_columnCount) {
                m_table->appendColumns(1);
                ++m_columnCount;
            }
            m_cursor = m_table->cellAt(m_row, m_column).firstCursorPosition();
            m_blockPending = false;
        }
        m_cellDone = false;
    }
}

void RtfDocumentBuilder::flushRun()
{
    if (m_run.isEmpty())
        return;
    m_cursor.insertText(m_run, charFormat(m_runChars));
    m_run.clear();
}

void RtfDocumentBuilder::finishParagraph(const Paragraph &para)
{
    flushRun();
    QTextBlockFormat format = blockFormat(para);
    if (std::exchange(m_pageBreakNext, false))
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    m_cursor.setBlockFormat(format);
    addToList(para);
}

void RtfDocumentBuilder::endParagraph(const State &state)
{
    beginContent(state);
    finishParagraph(state.para);
    m_blockPending = true;
}

void RtfDocumentBuilder::endCell(const State &state)
{
    beginContent(state);
    finishParagraph(state.para);
    m_cellDone = true;
}

void RtfDocumentBuilder::endRow()
{
    if (!m_table)
        return;
    flushRun();
    m_rowDone = true;
    m_cellDone = false;
}

void RtfDocumentBuilder::addCellRight(int twips)
{
    if (m_cellRights.size() < size_t(MaxColumns))
        m_cellRights.push_back(twips);
}

void RtfDocumentBuilder::endDocument(const State &state)
{
    endInput(state);
    m_blockPending = true;
}

void RtfDocumentBuilder::endInput(const State &state)
{
    if (m_table)
        endTable();
    if (!m_blockPending)
        finishParagraph(state.para);
}

void RtfDocumentBuilder::startTable()
{
    flushRun();
    const int columns = std::max<int>(1, int(m_cellRights.size()));
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setCellPadding(4);
    format.setCellSpacing(0);
    format.setBorderCollapse(true);
    QList<QTextLength> widths;
    int left = 0;
    for (int right : m_cellRights) {
        if (right <= left) {
            widths.clear();
            break;
        }
        widths.append(QTextLength(QTextLength::FixedLength, RtfTwips::toPixels(right - left)));
        left = right;
    }
    if (!widths.isEmpty())
        format.setColumnWidthConstraints(widths);
    m_expectedRows = m_rowCounter ? m_rowCounter() : 0;
    m_rowCount = std::clamp(m_expectedRows, 1, MaxRowsAhead);
    m_table = m_cursor.insertTable(m_rowCount, columns, format);
    m_columnCount = columns;
    m_row = m_column = 0;
    m_rowDone = m_cellDone = false;
    m_blockPending = false;
}

void RtfDocumentBuilder::endTable()
{
    flushRun();
    if (m_rowCount > m_row + 1)
        m_table->removeRows(m_row + 1, m_rowCount - m_row - 1);
    m_cursor = m_table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_table = nullptr;
    m_rowDone = m_cellDone = false;
    m_blockPending = false;
}

void RtfDocumentBuilder::insertPicture(const QImage &image, const RtfPicture &picture,
                                       const State &state)
{
    beginContent(state);
    flushRun();
    const QUrl name(QStringLiteral("rtfimage:%1").arg(++m_pictureCount));
    m_document->addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(picture.shownWidth(image));
    format.setHeight(picture.shownHeight(image));
    m_cursor.insertImage(format);
}

void RtfDocumentBuilder::insertKeptPicture(const RtfPicture &picture, const State &state)
{
    beginContent(state);
    flushRun();
    const QUrl name(QStringLiteral("rtfimage:%1").arg(++m_pictureCount));
    m_document->addResource(QTextDocument::ImageResource, name, RtfPicture::placeholder());
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(picture.metafileWidth());
    format.setHeight(picture.metafileHeight());
    format.setProperty(RtfPicture::SourceProperty, picture.source());
    m_cursor.insertImage(format);
}

const QTextCharFormat &RtfDocumentBuilder::charFormat(const Chars &chars)
{
    if (m_formatValid && m_formatChars == chars)
        return m_format;
    QTextCharFormat format;
    const QString family = m_fonts.family(chars.font >= 0 ? chars.font : m_fonts.defaultFont());
    if (!family.isEmpty()) {
        format.setFontFamilies({family});
        // Also the name alone: Qt finds a format among the document's by a hash of its
        // properties, in which every list of families counts the same, so 20,000 fonts were
        // compared one by one. A text property sets them apart; the font is the same.
        format.setProperty(QTextFormat::FontFamily, family);
    }
    format.setFontPointSize(chars.halfPoints / 2.0);
    format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(chars.italic);
    format.setFontUnderline(chars.underline);
    format.setFontStrikeOut(chars.strike);
    if (chars.vertical != QTextCharFormat::AlignNormal)
        format.setVerticalAlignment(chars.vertical);
    if (const QColor foreground = m_colors.color(chars.foreground); foreground.isValid())
        format.setForeground(foreground);
    if (const QColor background = m_colors.color(chars.background); background.isValid())
        format.setBackground(background);
    if (!chars.href.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorHref(chars.href);
    }
    m_format = format;
    m_formatChars = chars;
    m_formatValid = true;
    return m_format;
}

QTextBlockFormat RtfDocumentBuilder::blockFormat(const Paragraph &para) const
{
    QTextBlockFormat format;
    format.setAlignment(para.alignment);
    // A list draws its own indent; the paragraph's indent only placed the bullet.
    if (!paragraphIsListItem(para)) {
        format.setLeftMargin(RtfTwips::toPixels(para.leftIndent));
        format.setTextIndent(RtfTwips::toPixels(para.firstIndent));
    }
    format.setRightMargin(RtfTwips::toPixels(para.rightIndent));
    format.setTopMargin(RtfTwips::toPixels(para.spaceBefore));
    format.setBottomMargin(RtfTwips::toPixels(para.spaceAfter));
    if (para.pageBreakBefore)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (!para.tabs.isEmpty())
        format.setTabPositions(para.tabs);
    // \sl: a multiple of single spacing (240 a line), at least or exactly a height in twips.
    if (para.lineSpacing > 0 && para.lineMultiple)
        format.setLineHeight(std::min(para.lineSpacing, 2400) * 100.0 / 240.0,
                             QTextBlockFormat::ProportionalHeight);
    else if (para.lineSpacing > 0)
        format.setLineHeight(RtfTwips::toPixels(para.lineSpacing), QTextBlockFormat::MinimumHeight);
    else if (para.lineSpacing < 0)
        format.setLineHeight(RtfTwips::toPixels(-para.lineSpacing), QTextBlockFormat::FixedHeight);
    int heading = m_styles ? m_styles->headingLevel(para.style) : 0;
    if (heading == 0 && para.outlineLevel >= 0 && para.outlineLevel < 9)
        heading = para.outlineLevel + 1;
    if (heading > 0)
        format.setHeadingLevel(heading);
    return format;
}

bool RtfDocumentBuilder::paragraphIsListItem(const Paragraph &para) const
{
    const std::optional<RtfListTable::Item> item = m_lists.itemOf(para);
    if (!item)
        return false;
    const auto use = m_textLists.constFind(item->key);
    return use == m_textLists.constEnd() || isBullet(item->style) || use->items < MaxNumberedItems;
}

void RtfDocumentBuilder::addToList(const Paragraph &para)
{
    if (!paragraphIsListItem(para))
        return;
    const RtfListTable::Item item = *m_lists.itemOf(para);
    ListUse &use = m_textLists[item.key];
    // Qt revisits every item of a list when one joins it; long bullet lists are cut into lists
    // that look the same, long numbered ones keep their \listtext numbers as text.
    if (use.list && use.items >= BulletListChunk && isBullet(item.style))
        use = ListUse{};
    if (use.list) {
        use.list->add(m_cursor.block());
    } else {
        QTextListFormat format;
        format.setStyle(item.style);
        format.setIndent(item.level + 1);
        use.list = m_cursor.createList(format);
    }
    ++use.items;
}
