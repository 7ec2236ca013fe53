#pragma once

#include "RtfCodePage.h"

#include <QColor>
#include <QFlags>
#include <QHash>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextListFormat>

#include <optional>
#include <string_view>
#include <vector>

class QTextDocument;
class QTextList;
class QTextTable;

// Reads RTF into a QTextDocument: character and paragraph formats, lists, tables, PNG and JPEG
// pictures and field results. Destinations it does not show (headers, footers, document info,
// style sheets, anything under \*) are skipped. Damaged input never stops it: it keeps what it
// could read and reports the damage.
class RtfReader
{
public:
    enum class Damage {
        None = 0,
        NotRtf = 0x01,           // the input does not start with {\rtf
        UnbalancedBraces = 0x02, // a '}' without its '{', or text after the last group
        Truncated = 0x04,        // the input ends inside a group
        BadBinary = 0x08,        // \binN with a negative N or more bytes than the input holds
        TooDeep = 0x10,          // groups nested deeper than MaxDepth; the inner ones are skipped
        UnknownCodePage = 0x20,  // text in a code page iconv does not know, read as 1252
        BadPicture = 0x40,       // PNG or JPEG data that does not decode
    };
    Q_DECLARE_FLAGS(DamageFlags, Damage)

    // Groups nested deeper than this are skipped (their braces still count).
    static constexpr int MaxDepth = 256;
    // Adding to a QTextList costs time in proportion to its length, so lists are kept short:
    // bullet lists are split (they look the same); numbered items past the limit keep the
    // number the file gives as text.
    static constexpr int BulletListChunk = 256;
    static constexpr int MaxNumberedItems = 2000;

    // Replaces the content of document by the text of rtf. Returns true when the input was
    // undamaged; damage() then tells what was wrong.
    bool read(const QByteArray &rtf, QTextDocument *document);
    DamageFlags damage() const { return m_damage; }

private:
    enum class Destination {
        Text,
        Skip,
        FontTable,
        ColorTable,
        ListTable,
        List,
        ListLevel,
        LevelText,
        ListOverride,
        ListText,
        ParaNumbering,
        Picture,
        FieldInstruction,
    };

    // Character properties; sizes in half-points, colours as colour-table indexes (0 = auto).
    struct CharState {
        int font = -1;
        int halfPoints = 24;
        int foreground = 0;
        int background = 0;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strike = false;
        bool hidden = false;
        QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
        QString href;
        bool operator==(const CharState &) const = default;
    };

    // Paragraph properties; lengths in twips.
    struct ParaState {
        Qt::Alignment alignment = Qt::AlignLeft;
        int leftIndent = 0;
        int rightIndent = 0;
        int firstIndent = 0;
        int spaceBefore = 0;
        int spaceAfter = 0;
        int listOverride = 0;
        int listLevel = 0;
        bool inTable = false;
    };

    struct State {
        Destination destination = Destination::Text;
        int unicodeSkip = 1;
        CharState chars;
        ParaState para;
    };

    struct Font {
        QString name;
        int codePage = 0; // 0 until \fcharset or \cpg gives one
    };

    struct ListLevel {
        QTextListFormat::Style style = QTextListFormat::ListDecimal;
        QString text;
    };

    // The list a paragraph belongs to: one per \ls number and level (or \pn style and level).
    struct ListItem {
        quint64 key = 0;
        int level = 0;
        QTextListFormat::Style style = QTextListFormat::ListDecimal;
    };

    struct ListUse {
        QTextList *list = nullptr;
        int items = 0;
    };

    struct Picture {
        QByteArray data;
        bool png = false;
        bool jpeg = false;
        int widthGoal = 0;
        int heightGoal = 0;
        int scaleX = 100;
        int scaleY = 100;
        int nibble = -1;
    };

    void reset(QTextDocument *document);
    void parse();
    void parseControl();
    void handleWord(std::string_view word, bool hasParam, int param);
    void handleSymbol(char symbol);
    void pushGroup();
    void popGroup();
    void endDestination(Destination ended);
    void setDestination(Destination destination);

    State &state() { return m_stack.back(); }
    int textCodePage() const;
    void appendBytes(const char *data, qsizetype size);
    void appendChar(char16_t c);
    void flushBytes();
    void addText(const QString &text);
    void addRunText(const QString &text);
    void appendPictureHex(const char *data, qsizetype size);

    void beginContent();
    void flushRun();
    void finishParagraph();
    void endParagraph();
    void endCell();
    void endRow();
    void startTable();
    void endTable();
    void insertPicture();
    void finishListDefinition();
    void finishFontName();
    const QTextCharFormat &charFormat(const CharState &chars);
    QTextBlockFormat blockFormat(const ParaState &para) const;
    std::optional<ListItem> listItemOf(const ParaState &para) const;
    bool paragraphIsListItem(const ParaState &para) const;
    void addToList(const ParaState &para);

    DamageFlags m_damage;
    const char *m_pos = nullptr;
    const char *m_end = nullptr;
    QTextDocument *m_document = nullptr;
    QTextCursor m_cursor;
    RtfCodePage m_codePages;

    std::vector<State> m_stack;
    int m_overflowDepth = 0;
    int m_skipCount = 0;
    int m_ansiCodePage = 1252;
    int m_defaultFont = 0;

    QByteArray m_bytes;
    QString m_run;
    CharState m_runChars;
    CharState m_formatChars; // the state m_format was made for
    QTextCharFormat m_format;
    bool m_formatValid = false;
    bool m_ignorable = false; // the last control was \*
    bool m_documentEnded = false;

    QHash<int, Font> m_fonts;
    int m_fontEntry = 0;
    QString m_fontName;
    std::vector<QColor> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorSet = false;

    QHash<int, std::vector<ListLevel>> m_listDefinitions; // by \listid
    std::vector<ListLevel> m_listLevels;                  // of the \list being read
    int m_listId = 0;
    int m_overrideListId = 0;
    int m_overrideNumber = 0;
    QHash<int, int> m_overrides; // \ls number -> \listid
    QHash<quint64, ListUse> m_textLists;
    QTextListFormat::Style m_paraNumbering = QTextListFormat::ListStyleUndefined;
    int m_paraNumberingLevel = 0;
    QString m_listText;

    QString m_fieldInstruction;
    Picture m_picture;
    int m_pictureCount = 0;
    int m_footnoteCount = 0;

    bool m_blockPending = false;
    QTextTable *m_table = nullptr;
    int m_row = 0;
    int m_column = 0;
    int m_rowCount = 0; // rows the table holds, some of them made ahead
    int m_columnCount = 0;
    bool m_cellDone = false;
    bool m_rowDone = false;
    std::vector<int> m_cellRights; // \cellx of the row definition, twips
};

Q_DECLARE_OPERATORS_FOR_FLAGS(RtfReader::DamageFlags)
