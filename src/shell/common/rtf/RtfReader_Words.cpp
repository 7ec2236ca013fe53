// The reader's control symbols and words: handleWord() sends each word to the handler of its
// group (RtfControlWords::Group).
#include "RtfReader.h"

#include "RtfTwips.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace
{

// The character a special-character word stands for.
char16_t specialCharacter(RtfControlWords::Word word)
{
    using Word = RtfControlWords::Word;
    switch (word) {
    case Word::EmDash:
        return u'\u2014';
    case Word::EnDash:
        return u'\u2013';
    case Word::Bullet:
        return u'\u2022';
    case Word::LeftQuote:
        return u'\u2018';
    case Word::RightQuote:
        return u'\u2019';
    case Word::LeftDoubleQuote:
        return u'\u201C';
    case Word::RightDoubleQuote:
        return u'\u201D';
    case Word::EmSpace:
        return u'\u2003';
    case Word::EnSpace:
        return u'\u2002';
    default:
        return u'\uFFFD';
    }
}

} // namespace

void RtfReader::handleSymbol(char symbol)
{
    switch (symbol) {
    case '*':
        m_ignorable = true;
        return;
    case '\\':
    case '{':
    case '}':
        m_ignorable = false;
        appendBytes(&symbol, 1);
        return;
    default:
        break;
    }
    m_ignorable = false;
    switch (symbol) {
    case '~':
        appendChar(QChar::Nbsp);
        break;
    case '_':
        appendChar(u'\u2011');
        break;
    case '\t':
        appendChar(u'\t');
        break;
    case '\r':
    case '\n':
        if (state().destination == Destination::Text)
            m_builder.endParagraph(state());
        break;
    default:
        // \- (optional hyphen), \: and \| have no visible text
        break;
    }
}

void RtfReader::handleWord(std::string_view name, bool hasParam, int param)
{
    using Group = RtfControlWords::Group;
    const std::optional<Word> found = RtfControlWords::find(name);
    const bool ignorable = std::exchange(m_ignorable, false);
    if (!found) {
        if (ignorable)
            state().destination = Destination::Skip;
        return;
    }
    const Word word = *found;
    if (ignorable && !RtfControlWords::understoodAfterStar(word)) {
        state().destination = Destination::Skip;
        // The data of \binN goes with it: its bytes may hold braces.
        if (word == Word::Binary)
            documentWord(word, param);
        return;
    }
    if (m_overflowDepth > 0 && word != Word::Binary)
        return;
    switch (RtfControlWords::groupOf(word)) {
    case Group::Destination:
        destinationWord(word);
        break;
    case Group::List:
        listWord(word, param);
        break;
    case Group::Numbering:
        numberingWord(word, param);
        break;
    case Group::Document:
        documentWord(word, param);
        break;
    case Group::Character:
        characterWord(word, hasParam, param);
        break;
    case Group::Paragraph:
        paragraphWord(word, param);
        break;
    case Group::Break:
        breakWord(word, param);
        break;
    case Group::Picture:
        pictureWord(word, param);
        break;
    }
}

void RtfReader::destinationWord(Word word)
{
    RtfGroupState &s = state();
    const Destination dest = s.destination;
    switch (word) {
    case Word::FontTable:
        setDestination(Destination::FontTable);
        break;
    case Word::ColorTable:
        setDestination(Destination::ColorTable);
        break;
    case Word::SkippedDestination:
        s.destination = Destination::Skip;
        break;
    case Word::Picture:
        if (dest == Destination::Text) {
            m_picture.clear();
            s.destination = Destination::Picture;
        } else {
            s.destination = Destination::Skip;
        }
        break;
    case Word::FieldInstruction:
        m_field.clear();
        setDestination(Destination::FieldInstruction);
        break;
    case Word::ListText:
        if (dest == Destination::Text) {
            m_builder.clearListText();
            s.destination = Destination::ListText;
        } else {
            setDestination(Destination::Skip);
        }
        break;
    case Word::ParaNumbering:
        setDestination(Destination::ParaNumbering);
        break;
    case Word::StyleSheet:
        setDestination(Destination::StyleSheet);
        break;
    default:
        // \rtf, \field, \fldrslt and \shppict: what they hold is read where they stand
        break;
    }
}

void RtfReader::listWord(Word word, int param)
{
    RtfGroupState &s = state();
    const Destination dest = s.destination;
    switch (word) {
    case Word::ListTable:
    case Word::ListOverrideTable:
        setDestination(Destination::ListTable);
        break;
    case Word::List:
        if (dest == Destination::ListTable) {
            m_lists.beginList();
            s.destination = Destination::List;
        }
        break;
    case Word::ListLevel:
        if (dest == Destination::List) {
            m_lists.beginLevel();
            s.destination = Destination::ListLevel;
        }
        break;
    case Word::LevelText:
        if (dest == Destination::ListLevel)
            s.destination = Destination::LevelText;
        break;
    case Word::ListOverride:
        if (dest == Destination::ListTable) {
            m_lists.beginOverride();
            s.destination = Destination::ListOverride;
        }
        break;
    case Word::ListNumber:
        if (dest == Destination::ListOverride)
            m_lists.setOverrideNumber(param);
        else
            s.para.listOverride = param;
        break;
    case Word::ListLevelNumber:
        s.para.listLevel = std::clamp(param, 0, 8);
        break;
    case Word::ListId:
        if (dest == Destination::ListOverride)
            m_lists.setOverrideListId(param);
        else if (dest == Destination::List)
            m_lists.setListId(param);
        break;
    case Word::LevelFormat:
        if (dest == Destination::ListLevel)
            m_lists.setLevelFormat(param);
        break;
    default:
        break;
    }
}

void RtfReader::numberingWord(Word word, int param)
{
    switch (word) {
    case Word::NumberingBullet:
        m_lists.setNumberingBullet();
        break;
    case Word::NumberingBody:
        m_lists.setNumberingBody();
        break;
    case Word::NumberingLevel:
        m_lists.setNumberingLevel(param);
        break;
    default:
        m_lists.setNumberingStyle(int(word) - int(Word::NumberingDecimal));
        break;
    }
}

void RtfReader::documentWord(Word word, int param)
{
    RtfGroupState &s = state();
    const Destination dest = s.destination;
    switch (word) {
    case Word::Ansi:
        m_ansiCodePage = 1252;
        break;
    case Word::Mac:
        m_ansiCodePage = 10000;
        break;
    case Word::Pc:
        m_ansiCodePage = 437;
        break;
    case Word::Pca:
        m_ansiCodePage = 850;
        break;
    case Word::AnsiCodePage:
        if (param > 0)
            m_ansiCodePage = param;
        break;
    case Word::DefaultFont:
        m_fonts.setDefaultFont(param);
        break;
    case Word::FontCharset:
        if (dest == Destination::FontTable)
            m_fonts.setCharset(param);
        break;
    case Word::FontCodePage:
        if (dest == Destination::FontTable)
            m_fonts.setCodePage(param);
        break;
    // Components outside the colour table belong to no entry (and must not carry into one).
    case Word::Red:
        if (dest == Destination::ColorTable)
            m_colors.setRed(param);
        break;
    case Word::Green:
        if (dest == Destination::ColorTable)
            m_colors.setGreen(param);
        break;
    case Word::Blue:
        if (dest == Destination::ColorTable)
            m_colors.setBlue(param);
        break;
    case Word::Unicode:
        if (param >= SHRT_MIN && param <= 0xFFFF)
            appendChar(char16_t(param < 0 ? param + 0x10000 : param));
        m_skipCount = s.unicodeSkip;
        break;
    case Word::UnicodeSkip:
        s.unicodeSkip = std::clamp(param, 0, 16);
        break;
    case Word::Binary:
        if (param < 0 || param > m_tokens.remaining()) {
            m_damage |= Damage::BadBinary;
            m_tokens.skipToEnd();
        } else if (const std::string_view bytes = m_tokens.take(param);
                   dest == Destination::Picture && m_overflowDepth == 0) {
            m_picture.appendBinary(bytes);
        }
        break;
    default:
        break;
    }
}

void RtfReader::characterWord(Word word, bool hasParam, int param)
{
    RtfGroupState::Chars &chars = state().chars;
    const bool on = !hasParam || param != 0;
    switch (word) {
    case Word::Plain: {
        QString href = chars.href;
        chars = RtfGroupState::Chars{};
        chars.href = href;
        break;
    }
    case Word::Font:
        if (state().destination == Destination::FontTable)
            m_fonts.beginEntry(param);
        else
            chars.font = param;
        break;
    case Word::FontSize:
        chars.halfPoints = hasParam ? std::clamp(param, 2, 3276) : 24;
        break;
    case Word::Bold:
        chars.bold = on;
        break;
    case Word::Italic:
        chars.italic = on;
        break;
    case Word::Underline:
        chars.underline = on;
        break;
    case Word::UnderlineNone:
        chars.underline = false;
        break;
    case Word::Strike:
        chars.strike = on;
        break;
    case Word::Superscript:
        chars.vertical = on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal;
        break;
    case Word::Subscript:
        chars.vertical = on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal;
        break;
    case Word::NoSuperSub:
        chars.vertical = QTextCharFormat::AlignNormal;
        break;
    case Word::Foreground:
        chars.foreground = param;
        break;
    case Word::Background:
        chars.background = param;
        break;
    case Word::Hidden:
        chars.hidden = on;
        break;
    default:
        break;
    }
}

void RtfReader::paragraphWord(Word word, int param)
{
    RtfGroupState::Paragraph &para = state().para;
    switch (word) {
    case Word::Pard:
        para = RtfGroupState::Paragraph{};
        if (state().destination == Destination::Text)
            m_lists.endNumbering();
        break;
    case Word::AlignLeft:
        para.alignment = Qt::AlignLeft;
        break;
    case Word::AlignCenter:
        para.alignment = Qt::AlignHCenter;
        break;
    case Word::AlignRight:
        para.alignment = Qt::AlignRight;
        break;
    case Word::AlignJustify:
        para.alignment = Qt::AlignJustify;
        break;
    case Word::LeftIndent:
        para.leftIndent = param;
        break;
    case Word::RightIndent:
        para.rightIndent = param;
        break;
    case Word::FirstIndent:
        para.firstIndent = param;
        break;
    case Word::SpaceBefore:
        para.spaceBefore = param;
        break;
    case Word::SpaceAfter:
        para.spaceAfter = param;
        break;
    case Word::InTable:
        para.inTable = true;
        break;
    case Word::TableLevel:
        para.inTable = param > 0;
        break;
    default:
        layoutWord(word, param);
        break;
    }
}

void RtfReader::layoutWord(Word word, int param)
{
    RtfGroupState::Paragraph &para = state().para;
    const bool inStyleSheet = state().destination == Destination::StyleSheet;
    switch (word) {
    case Word::PageBreakBefore:
        para.pageBreakBefore = true;
        break;
    case Word::TabRight:
        para.nextTab = QTextOption::RightTab;
        break;
    case Word::TabCenter:
        para.nextTab = QTextOption::CenterTab;
        break;
    case Word::TabDecimal:
        para.nextTab = QTextOption::DelimiterTab;
        break;
    case Word::TabPosition:
        // Word allows 64 tab stops a paragraph; more are damage.
        if (para.tabs.size() < 64) {
            QTextOption::Tab tab(RtfTwips::toPixels(param), para.nextTab);
            if (para.nextTab == QTextOption::DelimiterTab)
                tab.delimiter = u'.';
            para.tabs.append(tab);
        }
        para.nextTab = QTextOption::LeftTab;
        break;
    case Word::LineSpacing:
        para.lineSpacing = param;
        break;
    case Word::LineMultiple:
        para.lineMultiple = param != 0;
        break;
    case Word::Style:
        if (inStyleSheet)
            m_styles.beginEntry(param);
        else
            para.style = param;
        break;
    case Word::OutlineLevel:
        if (inStyleSheet)
            m_styles.setOutlineLevel(param);
        else
            para.outlineLevel = param;
        break;
    default:
        break;
    }
}

void RtfReader::breakWord(Word word, int param)
{
    const bool inText = state().destination == Destination::Text;
    switch (word) {
    case Word::Par:
    case Word::NestedRow:
        if (inText)
            m_builder.endParagraph(state());
        break;
    case Word::Line:
        appendChar(QChar::LineSeparator);
        break;
    case Word::Tab:
    case Word::NestedCell:
        appendChar(u'\t');
        break;
    case Word::Cell:
        if (inText) {
            state().para.inTable = true;
            m_builder.endCell(state());
        }
        break;
    case Word::Row:
        if (inText)
            m_builder.endRow();
        break;
    case Word::RowDefaults:
        m_builder.clearCellRights();
        break;
    case Word::CellRight:
        m_builder.addCellRight(param);
        break;
    case Word::FootnoteMark:
        // The footnote text is skipped; its number stays where the reader sees it, unless the
        // text there is hidden. A hidden mark still counts.
        if (!inText)
            break;
        ++m_footnoteCount;
        if (!state().chars.hidden)
            addText(QString::number(m_footnoteCount));
        break;
    case Word::Page:
        if (inText) {
            m_builder.endParagraph(state());
            m_builder.breakPage();
        }
        break;
    default:
        appendChar(specialCharacter(word));
        break;
    }
}

void RtfReader::pictureWord(Word word, int param)
{
    switch (word) {
    case Word::PngBlip:
        m_picture.setPng();
        break;
    case Word::JpegBlip:
        m_picture.setJpeg();
        break;
    case Word::PictureWidthGoal:
        m_picture.setWidthGoal(param);
        break;
    case Word::PictureHeightGoal:
        m_picture.setHeightGoal(param);
        break;
    case Word::PictureScaleX:
        m_picture.setScaleX(param);
        break;
    case Word::PictureScaleY:
        m_picture.setScaleY(param);
        break;
    case Word::PictureWidth:
        m_picture.setSourceWidth(param);
        break;
    case Word::PictureHeight:
        m_picture.setSourceHeight(param);
        break;
    case Word::WindowsMetafile:
        m_picture.setWindowsMetafile(param);
        break;
    case Word::EnhancedMetafile:
        m_picture.setEnhancedMetafile();
        break;
    default:
        break;
    }
}
