#include "RtfWriter.h"

#include "RtfPicture.h"

#include <QBuffer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace
{

constexpr qreal TwipsPerPixel = 15.0; // at 96 dots per inch
constexpr int TextWidthTwips = 9360;  // 6.5 inches: a letter page between default margins
constexpr int ListIndentTwips = 360;

int twips(qreal pixels)
{
    return int(std::lround(pixels * TwipsPerPixel));
}

QByteArray number(int value)
{
    return QByteArray::number(value);
}

bool isBullet(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

// \levelnfc of a list style.
int levelFormat(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return 23;
    default:
        return 0;
    }
}

QString bulletText(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle:
        return QStringLiteral("o");
    case QTextListFormat::ListSquare:
        return QStringLiteral("\u25AA");
    default:
        return QStringLiteral("\u2022");
    }
}

int listLevel(const QTextList *list)
{
    return std::clamp(list->format().indent() - 1, 0, 8);
}

// A font table entry ends at ';' and readers trim its name: names are kept as they read back.
QString fontName(const QString &family)
{
    QString name;
    for (QChar c : family) {
        if (c != u';' && c.unicode() >= 0x20)
            name += c;
    }
    return name.trimmed();
}

// RTF text of a string: specials escaped, non-ASCII as \uN? (N a signed 16-bit unit, so a
// surrogate pair becomes two), control characters other than tab left out.
QByteArray escape(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\\':
        case u'{':
        case u'}':
            out += '\\';
            out += char(u);
            break;
        case u'\t':
            out += "\\tab ";
            break;
        case QChar::LineSeparator:
            out += "\\line ";
            break;
        case QChar::Nbsp:
            out += "\\~";
            break;
        case QChar::ObjectReplacementCharacter:
            break;
        default:
            if (u >= 0x20 && u < 0x80)
                out += char(u);
            else if (u >= 0x80)
                out += "\\u" + number(int(qint16(u))) + '?';
            break;
        }
    }
    return out;
}

} // namespace

QByteArray RtfWriter::write(const QTextDocument &document)
{
    m_document = &document;
    m_body.clear();
    m_fonts = QStringList{fontName(document.defaultFont().family())}; // f0
    m_fontIndex = {{m_fonts.first(), 0}};
    m_colors.clear();
    m_colorIndex.clear();
    m_lists.clear();
    m_headings = 0;
    m_listIndex.clear();
    m_endsCell = false;
    writeFrame(document.rootFrame(), false);
    QByteArray rtf = header();
    rtf += m_body;
    rtf += "}\n";
    m_document = nullptr;
    m_body.clear();
    return rtf;
}

QByteArray RtfWriter::header() const
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (int i = 0; i < m_fonts.size(); ++i) {
        out += "{\\f" + number(i) + "\\fnil\\fcharset0 " + escape(m_fonts[i]) + ";}";
    }
    out += "}\n{\\colortbl;";
    for (const QColor &color : m_colors) {
        out += "\\red" + number(color.red()) + "\\green" + number(color.green()) + "\\blue" +
               number(color.blue()) + ';';
    }
    out += "}\n";
    if (m_headings) {
        // Heading styles by the names word processors know them by.
        out += "{\\stylesheet{\\s0 Normal;}";
        for (int level = 1; level <= 9; ++level) {
            if (m_headings & (1 << level))
                out += "{\\s" + number(level) + "\\outlinelevel" + number(level - 1) +
                       "\\sbasedon0\\snext0 heading " + number(level) + ";}";
        }
        out += "}\n";
    }
    if (!m_lists.isEmpty()) {
        out += "{\\*\\listtable";
        for (int i = 0; i < m_lists.size(); ++i) {
            const QTextListFormat::Style style = m_lists[i]->format().style();
            const int id = i + 1;
            out += "\n{\\list\\listtemplateid" + number(id) + "\\listsimple0";
            for (int level = 0; level < 9; ++level) {
                out += "{\\listlevel\\levelnfc" + number(levelFormat(style)) + "\\levelnfcn" +
                       number(levelFormat(style)) + "\\leveljc0\\levelfollow0\\levelstartat1";
                if (isBullet(style)) {
                    out += "{\\leveltext\\'01" + escape(bulletText(style)) + ";}{\\levelnumbers;}";
                } else {
                    out += "{\\leveltext\\'02\\'0" + number(level) + ".;}{\\levelnumbers\\'01;}";
                }
                out += "\\fi-" + number(ListIndentTwips) + "\\li" +
                       number(ListIndentTwips * (level + 2)) + '}';
            }
            out += "\\listid" + number(id) + '}';
        }
        out += "}\n{\\*\\listoverridetable";
        for (int i = 0; i < m_lists.size(); ++i)
            out += "{\\listoverride\\listid" + number(i + 1) + "\\listoverridecount0\\ls" +
                   number(i + 1) + '}';
        out += "}\n";
    }
    return out;
}

void RtfWriter::writeFrame(const QTextFrame *frame, bool inTable)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame *child = it.currentFrame()) {
            const auto *table = qobject_cast<const QTextTable *>(child);
            if (table && !inTable)
                writeTable(table);
            else
                writeFrame(child, inTable);
        } else {
            writeBlock(it.currentBlock(), inTable);
        }
    }
}

void RtfWriter::writeTable(const QTextTable *table)
{
    const QTextTableFormat format = table->format();
    const QList<QTextLength> widths = format.columnWidthConstraints();
    QByteArray rowDefinition = "\\trowd\\trgaph108";
    int right = 0;
    for (int column = 0; column < table->columns(); ++column) {
        const bool fixed = column < widths.size() &&
                           widths[column].type() == QTextLength::FixedLength &&
                           widths[column].rawValue() > 0;
        right += fixed ? twips(widths[column].rawValue()) : TextWidthTwips / table->columns();
        rowDefinition += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs"
                         "\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx" +
                         number(right);
    }
    for (int row = 0; row < table->rows(); ++row) {
        m_body += rowDefinition + '\n';
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() != row || cell.column() != column) {
                // covered by a spanning cell: an empty cell keeps the grid
                m_body += "\\pard\\plain\\intbl\\cell\n";
                continue;
            }
            // Every cell holds at least one block; the last one ends the cell.
            QTextBlock last = table->document()->findBlock(cell.lastPosition());
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (const QTextFrame *nested = it.currentFrame()) {
                    writeFrame(nested, true);
                } else {
                    m_endsCell = it.currentBlock() == last;
                    writeBlock(it.currentBlock(), true);
                }
            }
            m_endsCell = false;
        }
        m_body += "\\row\n";
    }
}

void RtfWriter::writeBlock(const QTextBlock &block, bool inTable)
{
    const QTextBlockFormat format = block.blockFormat();
    m_body += "\\pard\\plain";
    if (inTable)
        m_body += "\\intbl";
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignJustify)
        m_body += "\\qj";
    else if (alignment & Qt::AlignHCenter)
        m_body += "\\qc";
    else if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        m_body += "\\qr";
    else
        m_body += "\\ql";
    const QTextList *list = block.textList();
    if (list) {
        const int level = listLevel(list);
        m_body += "\\fi-" + number(ListIndentTwips) + "\\li" +
                  number(ListIndentTwips * (level + 2)) + "\\ls" + number(listNumber(list)) +
                  "\\ilvl" + number(level);
    } else {
        if (const int left = twips(format.leftMargin()))
            m_body += "\\li" + number(left);
        if (const int first = twips(format.textIndent()))
            m_body += "\\fi" + number(first);
    }
    if (const int right = twips(format.rightMargin()))
        m_body += "\\ri" + number(right);
    if (const int before = twips(format.topMargin()))
        m_body += "\\sb" + number(before);
    if (const int after = twips(format.bottomMargin()))
        m_body += "\\sa" + number(after);
    writeLayout(format);
    if (list) {
        // The bullet or number as text, for readers that do not know list tables.
        const QTextListFormat::Style style = list->format().style();
        m_body += "{\\listtext\\pard\\plain ";
        m_body += escape(isBullet(style) ? bulletText(style) : list->itemText(block));
        m_body += "\\tab}";
    }
    // Fragments split where Qt happened to insert text; runs join them again by what is written,
    // so the same document always gives the same runs.
    QByteArray runCode;
    QByteArray runText;
    QString runHref;
    const auto writeRun = [&] {
        if (runText.isEmpty())
            return;
        if (runHref.isEmpty()) {
            m_body += '{' + runCode + ' ' + runText + '}';
        } else {
            // field arguments escape a quote or backslash with a backslash
            QString href = runHref;
            href.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
            m_body += "{\\field{\\*\\fldinst{HYPERLINK \"" + escape(href) + "\"}}{\\fldrslt{" +
                      runCode + ' ' + runText + "}}}";
        }
        runText.clear();
    };
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat charFormat = fragment.charFormat();
        if (charFormat.isImageFormat()) {
            writeRun();
            writeImage(charFormat.toImageFormat());
            continue;
        }
        const QByteArray text = escape(fragment.text());
        if (text.isEmpty())
            continue; // nothing a reader would see; its font and colours stay out of the tables
        const QByteArray code = charFormatCode(charFormat);
        if (code != runCode || charFormat.anchorHref() != runHref) {
            writeRun();
            runCode = code;
            runHref = charFormat.anchorHref();
        }
        runText += text;
    }
    writeRun();
    m_body += m_endsCell ? "\\cell\n" : "\\par\n";
}

QByteArray RtfWriter::charFormatCode(const QTextCharFormat &format)
{
    QByteArray code;
    QString family = format.fontFamilies().toStringList().value(0);
    if (family.isEmpty())
        family = format.stringProperty(QTextFormat::FontFamily);
    code += "\\f" + number(fontIndex(family));
    qreal points = format.fontPointSize();
    if (points <= 0)
        points = m_document->defaultFont().pointSizeF();
    if (points <= 0)
        points = 12;
    // readers keep sizes between 1 and 1638 points
    code += "\\fs" + number(std::clamp(int(std::lround(points * 2)), 2, 3276));
    if (format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() > QFont::Medium)
        code += "\\b";
    if (format.fontItalic())
        code += "\\i";
    if (format.fontUnderline())
        code += "\\ul";
    if (format.fontStrikeOut())
        code += "\\strike";
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        code += "\\super";
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        code += "\\sub";
    if (format.foreground().style() != Qt::NoBrush)
        code += "\\cf" + number(colorIndex(format.foreground().color()));
    if (format.background().style() != Qt::NoBrush) {
        const QByteArray index = number(colorIndex(format.background().color()));
        code += "\\chcbpat" + index + "\\cb" + index;
    }
    return code;
}

void RtfWriter::writeLayout(const QTextBlockFormat &format)
{
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        m_body += "\\pagebb";
    for (const QTextOption::Tab &tab : format.tabPositions()) {
        switch (tab.type) {
        case QTextOption::RightTab:
            m_body += "\\tqr";
            break;
        case QTextOption::CenterTab:
            m_body += "\\tqc";
            break;
        case QTextOption::DelimiterTab:
            m_body += "\\tqdec";
            break;
        default:
            break;
        }
        m_body += "\\tx" + number(twips(tab.position));
    }
    const qreal height = format.lineHeight();
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (height > 0 && std::lround(height) != 100)
            m_body += "\\sl" + number(int(std::lround(height * 240 / 100))) + "\\slmult1";
        break;
    case QTextBlockFormat::FixedHeight:
        if (height > 0)
            m_body += "\\sl-" + number(twips(height)) + "\\slmult0";
        break;
    case QTextBlockFormat::MinimumHeight:
        if (height > 0)
            m_body += "\\sl" + number(twips(height)) + "\\slmult0";
        break;
    default:
        break;
    }
    if (const int level = format.headingLevel(); level > 0 && level <= 9) {
        m_body += "\\s" + number(level) + "\\outlinelevel" + number(level - 1);
        m_headings |= 1 << level;
    }
}

void RtfWriter::writeImage(const QTextImageFormat &format)
{
    // A picture the reader kept (a metafile) goes back as it came.
    if (const QVariant kept = format.property(RtfPicture::SourceProperty);
        kept.typeId() == QMetaType::QByteArray) {
        m_body += kept.toByteArray();
        return;
    }
    const QVariant resource =
        m_document->resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image = qvariant_cast<QImage>(resource);
    if (image.isNull() && resource.typeId() == QMetaType::QByteArray)
        image = QImage::fromData(resource.toByteArray());
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return;
    const qreal width = format.width() > 0 ? format.width() : image.width();
    const qreal height = format.height() > 0 ? format.height() : image.height();
    m_body += "{\\pict\\pngblip\\picw" + number(image.width()) + "\\pich" + number(image.height()) +
              "\\picwgoal" + number(twips(width)) + "\\pichgoal" + number(twips(height)) + '\n';
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        m_body += hex.mid(i, 128);
        m_body += '\n';
    }
    m_body += '}';
}

int RtfWriter::fontIndex(const QString &family)
{
    const QString name = fontName(family);
    if (name.isEmpty())
        return 0;
    if (const auto found = m_fontIndex.constFind(name); found != m_fontIndex.cend())
        return *found;
    m_fonts.append(name);
    return *m_fontIndex.insert(name, int(m_fonts.size()) - 1);
}

int RtfWriter::colorIndex(const QColor &color)
{
    const QRgb rgb = color.rgb() | 0xFF000000u;
    if (const auto found = m_colorIndex.constFind(rgb); found != m_colorIndex.cend())
        return *found + 1;
    m_colors.append(QColor(rgb));
    return *m_colorIndex.insert(rgb, int(m_colors.size()) - 1) + 1;
}

int RtfWriter::listNumber(const QTextList *list)
{
    if (const auto found = m_listIndex.constFind(list); found != m_listIndex.cend())
        return *found + 1;
    m_lists.append(list);
    return *m_listIndex.insert(list, int(m_lists.size()) - 1) + 1;
}
