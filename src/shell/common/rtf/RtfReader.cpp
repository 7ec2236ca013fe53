#include "RtfReader.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <unordered_map>

namespace
{

enum class Word {
    // destinations
    Rtf,
    FontTable,
    ColorTable,
    SkippedDestination,
    ShapePicture,
    Picture,
    Field,
    FieldInstruction,
    FieldResult,
    ListTable,
    ListOverrideTable,
    List,
    ListLevel,
    LevelText,
    ListOverride,
    ListText,
    ParaNumbering,
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    Unicode,
    UnicodeSkip,
    Binary,
    // characters
    Plain,
    Font,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Superscript,
    Subscript,
    NoSuperSub,
    Foreground,
    Background,
    Hidden,
    // paragraphs
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    InTable,
    TableLevel,
    ListNumber,
    ListLevelNumber,
    ListId,
    LevelFormat,
    NumberingBullet,
    NumberingBody,
    NumberingLevel,
    NumberingDecimal,
    NumberingUpperRoman,
    NumberingLowerRoman,
    NumberingUpperLetter,
    NumberingLowerLetter,
    // breaks and special characters
    Par,
    Line,
    Tab,
    Cell,
    Row,
    NestedCell,
    NestedRow,
    RowDefaults,
    CellRight,
    EmDash,
    EnDash,
    Bullet,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    EmSpace,
    EnSpace,
    FootnoteMark,
    // pictures
    PngBlip,
    JpegBlip,
    PictureWidthGoal,
    PictureHeightGoal,
    PictureScaleX,
    PictureScaleY,
};

const std::unordered_map<std::string_view, Word> &words()
{
    static const std::unordered_map<std::string_view, Word> table = {
        {"rtf", Word::Rtf},
        {"fonttbl", Word::FontTable},
        {"colortbl", Word::ColorTable},
        {"stylesheet", Word::SkippedDestination},
        {"info", Word::SkippedDestination},
        {"header", Word::SkippedDestination},
        {"headerl", Word::SkippedDestination},
        {"headerr", Word::SkippedDestination},
        {"headerf", Word::SkippedDestination},
        {"footer", Word::SkippedDestination},
        {"footerl", Word::SkippedDestination},
        {"footerr", Word::SkippedDestination},
        {"footerf", Word::SkippedDestination},
        {"footnote", Word::SkippedDestination},
        {"annotation", Word::SkippedDestination},
        {"comment", Word::SkippedDestination},
        {"xe", Word::SkippedDestination},
        {"tc", Word::SkippedDestination},
        {"txe", Word::SkippedDestination},
        {"revtbl", Word::SkippedDestination},
        {"filetbl", Word::SkippedDestination},
        {"template", Word::SkippedDestination},
        {"objdata", Word::SkippedDestination},
        {"objclass", Word::SkippedDestination},
        {"objname", Word::SkippedDestination},
        {"nonshppict", Word::SkippedDestination},
        {"listname", Word::SkippedDestination},
        {"levelnumbers", Word::SkippedDestination},
        {"pntxta", Word::SkippedDestination},
        {"pntxtb", Word::SkippedDestination},
        {"ftnsep", Word::SkippedDestination},
        {"ftnsepc", Word::SkippedDestination},
        {"ftncn", Word::SkippedDestination},
        {"aftnsep", Word::SkippedDestination},
        {"aftnsepc", Word::SkippedDestination},
        {"aftncn", Word::SkippedDestination},
        {"shppict", Word::ShapePicture},
        {"pict", Word::Picture},
        {"field", Word::Field},
        {"fldinst", Word::FieldInstruction},
        {"fldrslt", Word::FieldResult},
        {"listtable", Word::ListTable},
        {"listoverridetable", Word::ListOverrideTable},
        {"list", Word::List},
        {"listlevel", Word::ListLevel},
        {"leveltext", Word::LevelText},
        {"listoverride", Word::ListOverride},
        {"listtext", Word::ListText},
        {"pntext", Word::ListText},
        {"pn", Word::ParaNumbering},
        {"ansi", Word::Ansi},
        {"mac", Word::Mac},
        {"pc", Word::Pc},
        {"pca", Word::Pca},
        {"ansicpg", Word::AnsiCodePage},
        {"deff", Word::DefaultFont},
        {"fcharset", Word::FontCharset},
        {"cpg", Word::FontCodePage},
        {"red", Word::Red},
        {"green", Word::Green},
        {"blue", Word::Blue},
        {"u", Word::Unicode},
        {"uc", Word::UnicodeSkip},
        {"bin", Word::Binary},
        {"plain", Word::Plain},
        {"f", Word::Font},
        {"fs", Word::FontSize},
        {"b", Word::Bold},
        {"i", Word::Italic},
        {"ul", Word::Underline},
        {"uld", Word::Underline},
        {"uldb", Word::Underline},
        {"uldash", Word::Underline},
        {"uldashd", Word::Underline},
        {"uldashdd", Word::Underline},
        {"ulhwave", Word::Underline},
        {"ulldash", Word::Underline},
        {"ulth", Word::Underline},
        {"ulw", Word::Underline},
        {"ulwave", Word::Underline},
        {"ululdbwave", Word::Underline},
        {"ulnone", Word::UnderlineNone},
        {"strike", Word::Strike},
        {"striked", Word::Strike},
        {"super", Word::Superscript},
        {"sub", Word::Subscript},
        {"nosupersub", Word::NoSuperSub},
        {"cf", Word::Foreground},
        {"cb", Word::Background},
        {"highlight", Word::Background},
        {"chcbpat", Word::Background},
        {"v", Word::Hidden},
        {"pard", Word::Pard},
        {"ql", Word::AlignLeft},
        {"qc", Word::AlignCenter},
        {"qr", Word::AlignRight},
        {"qj", Word::AlignJustify},
        {"qd", Word::AlignJustify},
        {"li", Word::LeftIndent},
        {"lin", Word::LeftIndent},
        {"ri", Word::RightIndent},
        {"rin", Word::RightIndent},
        {"fi", Word::FirstIndent},
        {"sb", Word::SpaceBefore},
        {"sa", Word::SpaceAfter},
        {"intbl", Word::InTable},
        {"itap", Word::TableLevel},
        {"ls", Word::ListNumber},
        {"ilvl", Word::ListLevelNumber},
        {"listid", Word::ListId},
        {"levelnfc", Word::LevelFormat},
        {"levelnfcn", Word::LevelFormat},
        {"pnlvlblt", Word::NumberingBullet},
        {"pnlvlbody", Word::NumberingBody},
        {"pnlvl", Word::NumberingLevel},
        {"pndec", Word::NumberingDecimal},
        {"pnucrm", Word::NumberingUpperRoman},
        {"pnlcrm", Word::NumberingLowerRoman},
        {"pnucltr", Word::NumberingUpperLetter},
        {"pnlcltr", Word::NumberingLowerLetter},
        {"par", Word::Par},
        {"line", Word::Line},
        {"tab", Word::Tab},
        {"cell", Word::Cell},
        {"row", Word::Row},
        {"nestcell", Word::NestedCell},
        {"nestrow", Word::NestedRow},
        {"trowd", Word::RowDefaults},
        {"cellx", Word::CellRight},
        {"emdash", Word::EmDash},
        {"endash", Word::EnDash},
        {"bullet", Word::Bullet},
        {"lquote", Word::LeftQuote},
        {"rquote", Word::RightQuote},
        {"ldblquote", Word::LeftDoubleQuote},
        {"rdblquote", Word::RightDoubleQuote},
        {"emspace", Word::EmSpace},
        {"enspace", Word::EnSpace},
        {"chftn", Word::FootnoteMark},
        {"pngblip", Word::PngBlip},
        {"jpegblip", Word::JpegBlip},
        {"picwgoal", Word::PictureWidthGoal},
        {"pichgoal", Word::PictureHeightGoal},
        {"picscalex", Word::PictureScaleX},
        {"picscaley", Word::PictureScaleY},
    };
    return table;
}

// Destinations that \* may introduce and that this reader understands.
bool understoodAfterStar(Word word)
{
    switch (word) {
    case Word::FieldInstruction:
    case Word::ParaNumbering:
    case Word::ListTable:
    case Word::ListOverrideTable:
    case Word::ShapePicture:
    case Word::Picture:
        return true;
    default:
        return false;
    }
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

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

// The target of a HYPERLINK field instruction, or "" for other fields.
QString hyperlinkTarget(const QString &instruction)
{
    const QString text = instruction.trimmed();
    static const QString keyword = QStringLiteral("HYPERLINK");
    if (!text.startsWith(keyword, Qt::CaseInsensitive))
        return {};
    QString rest = text.mid(keyword.size()).trimmed();
    if (rest.startsWith(u'"')) {
        // A quoted argument: \" and \\ stand for a quote and a backslash.
        QString target;
        for (qsizetype i = 1; i < rest.size() && rest[i] != u'"'; ++i) {
            if (rest[i] == u'\\' && i + 1 < rest.size())
                ++i;
            target += rest[i];
        }
        return target;
    }
    if (rest.startsWith(u'\\'))
        return {};
    return rest.section(u' ', 0, 0);
}

constexpr int MaxColumns = 63; // what word processors allow; more cells share the last one
constexpr int MaxTwips = 31680 * 4;
constexpr qreal TwipsPerPixel = 15.0; // at 96 dots per inch

bool isBullet(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

qreal pixels(int twips)
{
    return std::clamp(twips, -MaxTwips, MaxTwips) / TwipsPerPixel;
}

} // namespace

bool RtfReader::read(const QByteArray &rtf, QTextDocument *document)
{
    reset(document);
    m_pos = rtf.constData();
    m_end = m_pos + rtf.size();
    if (!rtf.startsWith("{\\rtf"))
        m_damage |= Damage::NotRtf;
    // Loading is not an edit: no undo steps, and the loaded document is unmodified.
    const bool undoRedo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    m_cursor = QTextCursor(document);
    m_cursor.beginEditBlock();
    parse();
    m_cursor.endEditBlock();
    document->setUndoRedoEnabled(undoRedo);
    document->setModified(false);
    // \deff names the font of text that names none: the document's own font.
    if (const QString family = m_fonts.value(m_defaultFont).name; !family.isEmpty()) {
        QFont font = document->defaultFont();
        font.setFamilies({family});
        document->setDefaultFont(font);
    }
    m_cursor = QTextCursor();
    m_table = nullptr;
    m_textLists.clear();
    return m_damage == Damage::None;
}

void RtfReader::reset(QTextDocument *document)
{
    m_damage = Damage::None;
    m_document = document;
    m_stack.assign(1, State{});
    m_overflowDepth = 0;
    m_skipCount = 0;
    m_ansiCodePage = 1252;
    m_defaultFont = 0;
    m_bytes.clear();
    m_run.clear();
    m_runChars = CharState{};
    m_formatValid = false;
    m_ignorable = false;
    m_documentEnded = false;
    m_fonts.clear();
    m_fontEntry = 0;
    m_fontName.clear();
    m_colors.clear();
    m_colorSet = false;
    m_red = m_green = m_blue = 0;
    m_listDefinitions.clear();
    m_listLevels.clear();
    m_overrides.clear();
    m_textLists.clear();
    m_paraNumbering = QTextListFormat::ListStyleUndefined;
    m_paraNumberingLevel = 0;
    m_listText.clear();
    m_fieldInstruction.clear();
    m_picture = Picture{};
    m_pictureCount = 0;
    m_footnoteCount = 0;
    m_blockPending = false;
    m_table = nullptr;
    m_row = m_column = 0;
    m_cellDone = m_rowDone = false;
    m_rowCount = m_columnCount = 0;
    m_cellRights.clear();
}

void RtfReader::parse()
{
    while (m_pos < m_end && !m_documentEnded) {
        const char c = *m_pos;
        if (c == '{') {
            flushBytes();
            ++m_pos;
            pushGroup();
        } else if (c == '}') {
            flushBytes();
            ++m_pos;
            popGroup();
        } else if (c == '\\') {
            parseControl();
        } else if (c == '\r' || c == '\n') {
            ++m_pos;
        } else {
            const char *start = m_pos;
            while (m_pos < m_end && *m_pos != '{' && *m_pos != '}' && *m_pos != '\\' &&
                   *m_pos != '\r' && *m_pos != '\n')
                ++m_pos;
            if (m_overflowDepth > 0)
                continue;
            if (m_skipCount > 0) {
                const qsizetype skipped = std::min<qsizetype>(m_skipCount, m_pos - start);
                m_skipCount -= int(skipped);
                start += skipped;
            }
            m_ignorable = false;
            appendBytes(start, m_pos - start);
        }
    }
    flushBytes();
    if (m_documentEnded) {
        // Word processors ignore what follows the document group; only real text is damage.
        for (const char *p = m_pos; p < m_end; ++p) {
            if (*p != '\0' && *p != ' ' && *p != '\r' && *p != '\n' && *p != '\t') {
                m_damage |= Damage::UnbalancedBraces;
                break;
            }
        }
        return;
    }
    if (m_stack.size() > 1 || m_overflowDepth > 0)
        m_damage |= Damage::Truncated;
    if (m_table)
        endTable();
    if (!m_blockPending)
        finishParagraph();
}

void RtfReader::pushGroup()
{
    m_ignorable = false;
    m_skipCount = 0;
    if (m_overflowDepth > 0 || int(m_stack.size()) > MaxDepth) {
        m_damage |= Damage::TooDeep;
        ++m_overflowDepth;
        return;
    }
    m_stack.push_back(m_stack.back());
}

void RtfReader::popGroup()
{
    m_ignorable = false;
    m_skipCount = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_stack.size() <= 1) {
        m_damage |= Damage::UnbalancedBraces;
        return;
    }
    if (m_stack.size() == 2) {
        // The document group ends: its last paragraph takes the properties it had inside.
        if (m_table)
            endTable();
        if (!m_blockPending)
            finishParagraph();
        m_blockPending = true;
        m_documentEnded = true;
    }
    const Destination ended = state().destination;
    m_stack.pop_back();
    if (ended != state().destination)
        endDestination(ended);
}

void RtfReader::setDestination(Destination destination)
{
    if (state().destination != Destination::Skip)
        state().destination = destination;
}

void RtfReader::endDestination(Destination ended)
{
    switch (ended) {
    case Destination::FontTable:
        finishFontName();
        break;
    case Destination::ColorTable:
        if (m_colorSet) // the last entry may lack its ';'
            m_colors.push_back(QColor(m_red, m_green, m_blue));
        m_colorSet = false;
        break;
    case Destination::List:
        finishListDefinition();
        break;
    case Destination::ListOverride:
        m_overrides.insert(m_overrideNumber, m_overrideListId);
        break;
    case Destination::FieldInstruction:
        state().chars.href = hyperlinkTarget(m_fieldInstruction);
        m_fieldInstruction.clear();
        break;
    case Destination::Picture:
        if (state().destination == Destination::Text)
            insertPicture();
        m_picture = Picture{};
        break;
    default:
        break;
    }
}

void RtfReader::parseControl()
{
    ++m_pos; // the backslash
    if (m_pos >= m_end)
        return;
    if (!isLetter(*m_pos)) {
        const char symbol = *m_pos++;
        if (symbol == '\'') {
            int value = 0;
            for (int i = 0; i < 2 && m_pos < m_end && hexValue(*m_pos) >= 0; ++i)
                value = value * 16 + hexValue(*m_pos++);
            if (m_overflowDepth > 0)
                return;
            m_ignorable = false;
            if (m_skipCount > 0) {
                --m_skipCount;
                return;
            }
            const char byte = char(value);
            appendBytes(&byte, 1);
            return;
        }
        flushBytes();
        if (m_overflowDepth > 0)
            return;
        if (m_skipCount > 0) {
            --m_skipCount;
            return;
        }
        handleSymbol(symbol);
        return;
    }
    const char *start = m_pos;
    while (m_pos < m_end && isLetter(*m_pos))
        ++m_pos;
    const std::string_view word(start, size_t(m_pos - start));
    bool negative = false;
    if (m_pos + 1 < m_end && *m_pos == '-' && isDigit(m_pos[1])) {
        negative = true;
        ++m_pos;
    }
    bool hasParam = false;
    qint64 value = 0;
    while (m_pos < m_end && isDigit(*m_pos)) {
        hasParam = true;
        if (value <= INT_MAX)
            value = value * 10 + (*m_pos - '0');
        ++m_pos;
    }
    if (m_pos < m_end && *m_pos == ' ')
        ++m_pos;
    value = std::min<qint64>(value, INT_MAX);
    const int param = int(negative ? -value : value);
    flushBytes();
    if (m_skipCount > 0) {
        --m_skipCount;
        if (word == "bin" && hasParam)
            m_pos += std::clamp<qint64>(param, 0, m_end - m_pos);
        return;
    }
    handleWord(word, hasParam, param);
}

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
            endParagraph();
        break;
    default:
        // \- (optional hyphen), \: and \| have no visible text
        break;
    }
}

void RtfReader::handleWord(std::string_view word, bool hasParam, int param)
{
    const auto found = words().find(word);
    const bool ignorable = std::exchange(m_ignorable, false);
    if (found == words().end()) {
        if (ignorable)
            state().destination = Destination::Skip;
        return;
    }
    const Word id = found->second;
    if (ignorable && !understoodAfterStar(id)) {
        state().destination = Destination::Skip;
        return;
    }
    if (m_overflowDepth > 0 && id != Word::Binary)
        return;
    const bool on = !hasParam || param != 0;
    State &s = state();
    const Destination dest = s.destination;
    switch (id) {
    case Word::Rtf:
    case Word::Field:
    case Word::FieldResult:
    case Word::ShapePicture:
        break;
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
            m_picture = Picture{};
            s.destination = Destination::Picture;
        } else {
            s.destination = Destination::Skip;
        }
        break;
    case Word::FieldInstruction:
        m_fieldInstruction.clear();
        setDestination(Destination::FieldInstruction);
        break;
    case Word::ListTable:
    case Word::ListOverrideTable:
        setDestination(Destination::ListTable);
        break;
    case Word::List:
        if (dest == Destination::ListTable) {
            m_listLevels.clear();
            m_listId = 0;
            s.destination = Destination::List;
        }
        break;
    case Word::ListLevel:
        if (dest == Destination::List) {
            m_listLevels.emplace_back();
            s.destination = Destination::ListLevel;
        }
        break;
    case Word::LevelText:
        if (dest == Destination::ListLevel)
            s.destination = Destination::LevelText;
        break;
    case Word::ListOverride:
        if (dest == Destination::ListTable) {
            m_overrideListId = 0;
            m_overrideNumber = 0;
            s.destination = Destination::ListOverride;
        }
        break;
    case Word::ListText:
        if (dest == Destination::Text) {
            m_listText.clear();
            s.destination = Destination::ListText;
        } else {
            setDestination(Destination::Skip);
        }
        break;
    case Word::ParaNumbering:
        setDestination(Destination::ParaNumbering);
        break;
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
        m_defaultFont = param;
        break;
    case Word::FontCharset:
        if (dest == Destination::FontTable)
            m_fonts[m_fontEntry].codePage = RtfCodePage::forCharset(param, 0);
        break;
    case Word::FontCodePage:
        if (dest == Destination::FontTable && param > 0)
            m_fonts[m_fontEntry].codePage = param;
        break;
    case Word::Red:
        m_red = std::clamp(param, 0, 255);
        m_colorSet = true;
        break;
    case Word::Green:
        m_green = std::clamp(param, 0, 255);
        m_colorSet = true;
        break;
    case Word::Blue:
        m_blue = std::clamp(param, 0, 255);
        m_colorSet = true;
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
        if (param < 0 || param > m_end - m_pos) {
            m_damage |= Damage::BadBinary;
            m_pos = m_end;
        } else {
            if (dest == Destination::Picture && m_overflowDepth == 0)
                m_picture.data.append(m_pos, param);
            m_pos += param;
        }
        break;
    case Word::Plain: {
        QString href = s.chars.href;
        s.chars = CharState{};
        s.chars.href = href;
        break;
    }
    case Word::Font:
        if (dest == Destination::FontTable) {
            finishFontName();
            m_fontEntry = param;
            m_fonts[param] = Font{};
        } else {
            s.chars.font = param;
        }
        break;
    case Word::FontSize:
        s.chars.halfPoints = hasParam ? std::clamp(param, 2, 3276) : 24;
        break;
    case Word::Bold:
        s.chars.bold = on;
        break;
    case Word::Italic:
        s.chars.italic = on;
        break;
    case Word::Underline:
        s.chars.underline = on;
        break;
    case Word::UnderlineNone:
        s.chars.underline = false;
        break;
    case Word::Strike:
        s.chars.strike = on;
        break;
    case Word::Superscript:
        s.chars.vertical = on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal;
        break;
    case Word::Subscript:
        s.chars.vertical = on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal;
        break;
    case Word::NoSuperSub:
        s.chars.vertical = QTextCharFormat::AlignNormal;
        break;
    case Word::Foreground:
        s.chars.foreground = param;
        break;
    case Word::Background:
        s.chars.background = param;
        break;
    case Word::Hidden:
        s.chars.hidden = on;
        break;
    case Word::Pard:
        s.para = ParaState{};
        if (dest == Destination::Text)
            m_paraNumbering = QTextListFormat::ListStyleUndefined;
        break;
    case Word::AlignLeft:
        s.para.alignment = Qt::AlignLeft;
        break;
    case Word::AlignCenter:
        s.para.alignment = Qt::AlignHCenter;
        break;
    case Word::AlignRight:
        s.para.alignment = Qt::AlignRight;
        break;
    case Word::AlignJustify:
        s.para.alignment = Qt::AlignJustify;
        break;
    case Word::LeftIndent:
        s.para.leftIndent = param;
        break;
    case Word::RightIndent:
        s.para.rightIndent = param;
        break;
    case Word::FirstIndent:
        s.para.firstIndent = param;
        break;
    case Word::SpaceBefore:
        s.para.spaceBefore = param;
        break;
    case Word::SpaceAfter:
        s.para.spaceAfter = param;
        break;
    case Word::InTable:
        s.para.inTable = true;
        break;
    case Word::TableLevel:
        s.para.inTable = param > 0;
        break;
    case Word::ListNumber:
        if (dest == Destination::ListOverride)
            m_overrideNumber = param;
        else
            s.para.listOverride = param;
        break;
    case Word::ListLevelNumber:
        s.para.listLevel = std::clamp(param, 0, 8);
        break;
    case Word::ListId:
        if (dest == Destination::ListOverride)
            m_overrideListId = param;
        else if (dest == Destination::List)
            m_listId = param;
        break;
    case Word::LevelFormat:
        if (dest == Destination::ListLevel && !m_listLevels.empty())
            m_listLevels.back().style = styleOfLevelFormat(param);
        break;
    case Word::NumberingBullet:
        m_paraNumbering = QTextListFormat::ListDisc;
        m_paraNumberingLevel = 0;
        break;
    case Word::NumberingBody:
        if (m_paraNumbering == QTextListFormat::ListStyleUndefined ||
            m_paraNumbering == QTextListFormat::ListDisc)
            m_paraNumbering = QTextListFormat::ListDecimal;
        m_paraNumberingLevel = 0;
        break;
    case Word::NumberingLevel:
        m_paraNumbering = QTextListFormat::ListDecimal;
        m_paraNumberingLevel = std::clamp(param - 1, 0, 8);
        break;
    case Word::NumberingDecimal:
    case Word::NumberingUpperRoman:
    case Word::NumberingLowerRoman:
    case Word::NumberingUpperLetter:
    case Word::NumberingLowerLetter:
        if (m_paraNumbering != QTextListFormat::ListDisc) {
            static const QTextListFormat::Style styles[] = {
                QTextListFormat::ListDecimal, QTextListFormat::ListUpperRoman,
                QTextListFormat::ListLowerRoman, QTextListFormat::ListUpperAlpha,
                QTextListFormat::ListLowerAlpha};
            m_paraNumbering = styles[int(id) - int(Word::NumberingDecimal)];
        }
        break;
    case Word::Par:
        if (dest == Destination::Text)
            endParagraph();
        break;
    case Word::Line:
        appendChar(QChar::LineSeparator);
        break;
    case Word::Tab:
    case Word::NestedCell:
        appendChar(u'\t');
        break;
    case Word::Cell:
        if (dest == Destination::Text)
            endCell();
        break;
    case Word::Row:
        if (dest == Destination::Text)
            endRow();
        break;
    case Word::NestedRow:
        if (dest == Destination::Text)
            endParagraph();
        break;
    case Word::RowDefaults:
        m_cellRights.clear();
        break;
    case Word::CellRight:
        if (m_cellRights.size() < size_t(MaxColumns))
            m_cellRights.push_back(param);
        break;
    case Word::EmDash:
        appendChar(u'\u2014');
        break;
    case Word::EnDash:
        appendChar(u'\u2013');
        break;
    case Word::Bullet:
        appendChar(u'\u2022');
        break;
    case Word::LeftQuote:
        appendChar(u'\u2018');
        break;
    case Word::RightQuote:
        appendChar(u'\u2019');
        break;
    case Word::LeftDoubleQuote:
        appendChar(u'\u201C');
        break;
    case Word::RightDoubleQuote:
        appendChar(u'\u201D');
        break;
    case Word::EmSpace:
        appendChar(u'\u2003');
        break;
    case Word::EnSpace:
        appendChar(u'\u2002');
        break;
    case Word::FootnoteMark:
        // The footnote text is skipped; its number stays where the reader sees it.
        if (dest == Destination::Text)
            addText(QString::number(++m_footnoteCount));
        break;
    case Word::PngBlip:
        m_picture.png = true;
        break;
    case Word::JpegBlip:
        m_picture.jpeg = true;
        break;
    case Word::PictureWidthGoal:
        m_picture.widthGoal = std::clamp(param, 0, MaxTwips);
        break;
    case Word::PictureHeightGoal:
        m_picture.heightGoal = std::clamp(param, 0, MaxTwips);
        break;
    case Word::PictureScaleX:
        m_picture.scaleX = std::clamp(param, 1, 1000);
        break;
    case Word::PictureScaleY:
        m_picture.scaleY = std::clamp(param, 1, 1000);
        break;
    }
}

int RtfReader::textCodePage() const
{
    const State &s = m_stack.back();
    const int font = s.destination == Destination::FontTable
                         ? m_fontEntry
                         : (s.chars.font >= 0 ? s.chars.font : m_defaultFont);
    const auto found = m_fonts.constFind(font);
    if (found != m_fonts.constEnd() && found->codePage > 0)
        return found->codePage;
    return m_ansiCodePage;
}

void RtfReader::appendBytes(const char *data, qsizetype size)
{
    if (size <= 0)
        return;
    switch (state().destination) {
    case Destination::Text:
        if (!state().chars.hidden)
            m_bytes.append(data, size);
        break;
    case Destination::ListText:
    case Destination::LevelText:
    case Destination::FieldInstruction:
        m_bytes.append(data, size);
        break;
    case Destination::FontTable:
        // ';' ends a font entry; it is never the second byte of a double-byte character.
        for (qsizetype i = 0; i < size; ++i) {
            if (data[i] == ';') {
                flushBytes();
                finishFontName();
            } else {
                m_bytes.append(data[i]);
            }
        }
        break;
    case Destination::ColorTable:
        for (qsizetype i = 0; i < size; ++i) {
            if (data[i] != ';')
                continue;
            m_colors.push_back(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
            m_red = m_green = m_blue = 0;
            m_colorSet = false;
        }
        break;
    case Destination::Picture:
        appendPictureHex(data, size);
        break;
    default:
        break;
    }
}

void RtfReader::appendPictureHex(const char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        const int value = hexValue(data[i]);
        if (value < 0)
            continue;
        if (m_picture.nibble < 0) {
            m_picture.nibble = value;
        } else {
            m_picture.data.append(char(m_picture.nibble * 16 + value));
            m_picture.nibble = -1;
        }
    }
}

void RtfReader::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    QString text;
    if (isAscii(m_bytes)) {
        text = QString::fromLatin1(m_bytes);
    } else if (!m_codePages.decode(textCodePage(), m_bytes.constData(), m_bytes.size(), text)) {
        m_damage |= Damage::UnknownCodePage;
    }
    m_bytes.clear();
    addText(text);
}

void RtfReader::appendChar(char16_t c)
{
    flushBytes();
    if (state().destination == Destination::Text && state().chars.hidden)
        return;
    addText(QString(QChar(c)));
}

void RtfReader::addText(const QString &text)
{
    switch (state().destination) {
    case Destination::Text:
        beginContent();
        addRunText(text);
        break;
    case Destination::ListText:
        m_listText += text;
        break;
    case Destination::LevelText:
        if (!m_listLevels.empty())
            m_listLevels.back().text += text;
        break;
    case Destination::FieldInstruction:
        m_fieldInstruction += text;
        break;
    case Destination::FontTable:
        m_fontName += text;
        break;
    default:
        break;
    }
}

void RtfReader::addRunText(const QString &text)
{
    if (!(m_runChars == state().chars)) {
        flushRun();
        m_runChars = state().chars;
    }
    m_run += text;
}

void RtfReader::beginContent()
{
    const ParaState &para = state().para;
    if (para.inTable) {
        if (!m_table) {
            startTable();
        } else if (m_rowDone) {
            flushRun();
            ++m_row;
            if (m_row >= m_rowCount) {
                // Qt re-indexes a whole table when rows are added: add them in growing batches
                // so long tables stay linear; endTable() drops the ones left over.
                const int more = std::clamp(m_rowCount, 1, 4096);
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
    } else if (m_table) {
        endTable();
    }
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
            addRunText(listText);
    }
}

void RtfReader::flushRun()
{
    if (m_run.isEmpty())
        return;
    m_cursor.insertText(m_run, charFormat(m_runChars));
    m_run.clear();
}

void RtfReader::finishParagraph()
{
    flushRun();
    const ParaState &para = state().para;
    m_cursor.setBlockFormat(blockFormat(para));
    addToList(para);
}

void RtfReader::endParagraph()
{
    beginContent();
    finishParagraph();
    m_blockPending = true;
}

void RtfReader::endCell()
{
    state().para.inTable = true;
    beginContent();
    finishParagraph();
    m_cellDone = true;
}

void RtfReader::endRow()
{
    if (!m_table)
        return;
    flushRun();
    m_rowDone = true;
    m_cellDone = false;
}

void RtfReader::startTable()
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
        widths.append(QTextLength(QTextLength::FixedLength, pixels(right - left)));
        left = right;
    }
    if (!widths.isEmpty())
        format.setColumnWidthConstraints(widths);
    m_table = m_cursor.insertTable(1, columns, format);
    m_rowCount = 1;
    m_columnCount = columns;
    m_row = m_column = 0;
    m_rowDone = m_cellDone = false;
    m_blockPending = false;
}

void RtfReader::endTable()
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

void RtfReader::insertPicture()
{
    if (!m_picture.png && !m_picture.jpeg)
        return;
    QImage image;
    if (!image.loadFromData(m_picture.data, m_picture.png ? "PNG" : "JPEG")) {
        m_damage |= Damage::BadPicture;
        return;
    }
    beginContent();
    flushRun();
    const QUrl name(QStringLiteral("rtfimage:%1").arg(++m_pictureCount));
    m_document->addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(m_picture.widthGoal > 0 ? pixels(m_picture.widthGoal) * m_picture.scaleX / 100.0
                                            : image.width() * m_picture.scaleX / 100.0);
    format.setHeight(m_picture.heightGoal > 0
                         ? pixels(m_picture.heightGoal) * m_picture.scaleY / 100.0
                         : image.height() * m_picture.scaleY / 100.0);
    m_cursor.insertImage(format);
}

void RtfReader::finishListDefinition()
{
    for (ListLevel &level : m_listLevels) {
        if (level.style == QTextListFormat::ListDisc)
            level.style = bulletStyle(level.text);
    }
    m_listDefinitions.insert(m_listId, m_listLevels);
    m_listLevels.clear();
}

void RtfReader::finishFontName()
{
    // Names keep no control characters and no surrounding spaces: a name is what a font
    // picker can match.
    QString name;
    for (QChar c : std::as_const(m_fontName)) {
        if (c.unicode() >= 0x20)
            name += c;
    }
    name = name.trimmed();
    if (!name.isEmpty())
        m_fonts[m_fontEntry].name = name;
    m_fontName.clear();
}

const QTextCharFormat &RtfReader::charFormat(const CharState &chars)
{
    if (m_formatValid && m_formatChars == chars)
        return m_format;
    QTextCharFormat format;
    const auto font = m_fonts.constFind(chars.font >= 0 ? chars.font : m_defaultFont);
    if (font != m_fonts.constEnd() && !font->name.isEmpty())
        format.setFontFamilies({font->name});
    format.setFontPointSize(chars.halfPoints / 2.0);
    format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(chars.italic);
    format.setFontUnderline(chars.underline);
    format.setFontStrikeOut(chars.strike);
    if (chars.vertical != QTextCharFormat::AlignNormal)
        format.setVerticalAlignment(chars.vertical);
    const auto color = [this](int index) {
        return index > 0 && size_t(index) < m_colors.size() ? m_colors[size_t(index)] : QColor();
    };
    if (const QColor foreground = color(chars.foreground); foreground.isValid())
        format.setForeground(foreground);
    if (const QColor background = color(chars.background); background.isValid())
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

QTextBlockFormat RtfReader::blockFormat(const ParaState &para) const
{
    QTextBlockFormat format;
    format.setAlignment(para.alignment);
    // A list draws its own indent; the paragraph's indent only placed the bullet.
    if (!paragraphIsListItem(para)) {
        format.setLeftMargin(pixels(para.leftIndent));
        format.setTextIndent(pixels(para.firstIndent));
    }
    format.setRightMargin(pixels(para.rightIndent));
    format.setTopMargin(pixels(para.spaceBefore));
    format.setBottomMargin(pixels(para.spaceAfter));
    return format;
}

std::optional<RtfReader::ListItem> RtfReader::listItemOf(const ParaState &para) const
{
    if (para.listOverride > 0 && m_overrides.contains(para.listOverride)) {
        ListItem item;
        item.level = para.listLevel;
        item.key = (quint64(quint32(para.listOverride)) << 8) | quint64(item.level);
        const auto definition = m_listDefinitions.constFind(m_overrides.value(para.listOverride));
        if (definition != m_listDefinitions.constEnd() && size_t(item.level) < definition->size())
            item.style = (*definition)[size_t(item.level)].style;
        if (item.style == QTextListFormat::ListStyleUndefined)
            return std::nullopt;
        return item;
    }
    if (m_paraNumbering == QTextListFormat::ListStyleUndefined)
        return std::nullopt;
    ListItem item;
    item.level = m_paraNumberingLevel;
    item.key = (quint64(1) << 40) | quint64(item.level) << 8 | quint64(-int(m_paraNumbering));
    item.style = m_paraNumbering;
    return item;
}

bool RtfReader::paragraphIsListItem(const ParaState &para) const
{
    const std::optional<ListItem> item = listItemOf(para);
    if (!item)
        return false;
    const auto use = m_textLists.constFind(item->key);
    return use == m_textLists.constEnd() || isBullet(item->style) || use->items < MaxNumberedItems;
}

void RtfReader::addToList(const ParaState &para)
{
    if (!paragraphIsListItem(para))
        return;
    const ListItem item = *listItemOf(para);
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
