#pragma once

#include "RtfGroupState.h"

#include <QHash>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

#include <functional>
#include <vector>

class QImage;
class QTextDocument;
class QTextList;
class QTextTable;
class RtfColorTable;
class RtfFontTable;
class RtfListTable;
class RtfPicture;
class RtfStyleSheet;

// Builds the document from what the reader finds in the text destination: runs of text in
// their character format, paragraphs, list items, table cells and rows, pictures. Text is
// gathered into runs and inserted once its format changes; a paragraph mark only makes the
// next content start a new block, so the last paragraph adds no empty block.
// The tables it is given are the reader's and are read as they fill.
class RtfDocumentBuilder
{
public:
    using State = RtfGroupState;

    // How long a list may grow (RtfReader publishes both and says why).
    static constexpr int BulletListChunk = 256;
    static constexpr int MaxNumberedItems = 2000;
    // What word processors allow; more cells share the last one.
    static constexpr int MaxColumns = 63;
    // Rows made ahead of the text at most.
    static constexpr int MaxRowsAhead = 64;

    RtfDocumentBuilder(const RtfFontTable &fonts, const RtfColorTable &colors,
                       const RtfListTable &lists, const RtfStyleSheet *styles = nullptr)
        : m_fonts(fonts), m_colors(colors), m_lists(lists), m_styles(styles)
    {
    }

    // Forgets all of the last document; the next one is built in document.
    void reset(QTextDocument *document);
    // Places the cursor at the start of the (cleared) document and opens one edit block.
    void beginEdit();
    void endEdit() { m_cursor.endEditBlock(); }
    // Lets go of the document once it is read.
    void release();

    void addText(const QString &text, const State &state)
    {
        beginContent(state);
        addRunText(text, state.chars);
    }
    // The \listtext bullet or number of the next paragraph.
    void clearListText() { m_listText.clear(); }
    void addListText(const QString &text) { m_listText += text; }

    void endParagraph(const State &state);
    void endCell(const State &state);
    void endRow();
    // Counts the rows of a table that starts, so that they are made in few steps: Qt re-indexes
    // a whole table whenever rows are added, and rows made ahead but not used are costly to
    // remove.
    void setRowCounter(std::function<int()> counter) { m_rowCounter = std::move(counter); }
    // \trowd and \cellxN: the right edges of the next row's cells, in twips.
    void clearCellRights() { m_cellRights.clear(); }
    void addCellRight(int twips);
    void insertPicture(const QImage &image, const RtfPicture &picture, const State &state);
    // A picture the document cannot show (a metafile): a placeholder of its size that carries
    // its RTF for the writer.
    void insertKeptPicture(const RtfPicture &picture, const State &state);
    // \page: the next paragraph starts a new page.
    void breakPage() { m_pageBreakNext = true; }
    // The end of the document group, or of the input when that group never ends: the table
    // is closed and the last paragraph takes the properties of state.
    void endDocument(const State &state);
    void endInput(const State &state);

private:
    using Chars = RtfGroupState::Chars;
    using Paragraph = RtfGroupState::Paragraph;

    struct ListUse {
        QTextList *list = nullptr;
        int items = 0;
    };

    void addRunText(const QString &text, const Chars &chars)
    {
        if (!(m_runChars == chars)) {
            flushRun();
            m_runChars = chars;
        }
        m_run += text;
    }
    void beginContent(const State &state);
    void beginTableContent();
    void flushRun();
    void finishParagraph(const Paragraph &para);
    void startTable();
    void endTable();
    const QTextCharFormat &charFormat(const Chars &chars);
    QTextBlockFormat blockFormat(const Paragraph &para) const;
    bool paragraphIsListItem(const Paragraph &para) const;
    void addToList(const Paragraph &para);

    const RtfFontTable &m_fonts;
    const RtfColorTable &m_colors;
    const RtfListTable &m_lists;
    const RtfStyleSheet *m_styles;

    QTextDocument *m_document = nullptr;
    QTextCursor m_cursor;

    QString m_run;
    Chars m_runChars;
    Chars m_formatChars; // the state m_format was made for
    QTextCharFormat m_format;
    bool m_formatValid = false;
    bool m_blockPending = false;
    bool m_pageBreakNext = false;
    QString m_listText;
    QHash<quint64, ListUse> m_textLists; // by RtfListTable::Item::key
    int m_pictureCount = 0;

    QTextTable *m_table = nullptr;
    int m_row = 0;
    int m_column = 0;
    int m_rowCount = 0;     // rows the table holds, some of them made ahead
    int m_expectedRows = 0; // what the row counter said when the table started
    std::function<int()> m_rowCounter;
    int m_columnCount = 0;
    bool m_cellDone = false;
    bool m_rowDone = false;
    std::vector<int> m_cellRights; // \cellx of the row definition, twips
};
