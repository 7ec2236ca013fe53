#include "RtfPlainText.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

#include <functional>

namespace
{

using Builder = std::function<void(QTextCursor &)>;

std::unique_ptr<QTextDocument> readBack(const QByteArray &rtf)
{
    auto document = std::make_unique<QTextDocument>();
    RtfReader reader;
    const bool clean = reader.read(rtf, document.get());
    if (!clean)
        qWarning("damage 0x%x", unsigned(reader.damage().toInt()));
    return clean ? std::move(document) : nullptr;
}

// What the formats this program writes look like in one fragment, comparable between documents.
QString describeChars(const QTextCharFormat &format)
{
    if (format.isImageFormat()) {
        const QTextImageFormat image = format.toImageFormat();
        return QStringLiteral("image %1x%2").arg(image.width()).arg(image.height());
    }
    return QStringLiteral("%1 %2pt w%3 i%4 u%5 s%6 fg%7 bg%8 a%9 v%10")
        .arg(format.fontFamilies().toStringList().value(0))
        .arg(format.fontPointSize())
        .arg(format.fontWeight() > QFont::Medium)
        .arg(format.fontItalic())
        .arg(format.fontUnderline())
        .arg(format.fontStrikeOut())
        .arg(format.foreground().style() == Qt::NoBrush ? QString()
                                                        : format.foreground().color().name())
        .arg(format.background().style() == Qt::NoBrush ? QString()
                                                        : format.background().color().name())
        .arg(format.anchorHref())
        .arg(int(format.verticalAlignment()));
}

QString describeBlock(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    QString out = QStringLiteral("[align %1 l%2 r%3 f%4 t%5 b%6")
                      .arg(int(format.alignment() & Qt::AlignHorizontal_Mask))
                      .arg(block.textList() ? 0 : format.leftMargin())
                      .arg(format.rightMargin())
                      .arg(block.textList() ? 0 : format.textIndent())
                      .arg(format.topMargin())
                      .arg(format.bottomMargin());
    if (format.pageBreakPolicy() != QTextFormat::PageBreak_Auto)
        out += QStringLiteral(" break %1").arg(int(format.pageBreakPolicy()));
    for (const QTextOption::Tab &tab : format.tabPositions())
        out += QStringLiteral(" tab %1@%2").arg(int(tab.type)).arg(tab.position);
    if (format.lineHeightType() != QTextBlockFormat::SingleHeight)
        out += QStringLiteral(" line %1:%2").arg(format.lineHeightType()).arg(format.lineHeight());
    if (format.headingLevel() > 0)
        out += QStringLiteral(" h%1").arg(format.headingLevel());
    if (const QTextList *list = block.textList())
        out += QStringLiteral(" list %1/%2 #%3")
                   .arg(int(list->format().style()))
                   .arg(list->format().indent())
                   .arg(list->itemNumber(block));
    out += u']';
    for (auto it = block.begin(); !it.atEnd(); ++it)
        out +=
            u'{' + describeChars(it.fragment().charFormat()) + u'|' + it.fragment().text() + u'}';
    return out;
}

// Every block in document order (table cells included) and every table's shape.
QStringList describe(const QTextDocument &document)
{
    QStringList out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line = describeBlock(block);
        if (auto *table = qobject_cast<QTextTable *>(document.frameAt(block.position()))) {
            const QTextTableCell cell = table->cellAt(block.position());
            line.prepend(QStringLiteral("cell %1,%2 of %3x%4 ")
                             .arg(cell.row())
                             .arg(cell.column())
                             .arg(table->rows())
                             .arg(table->columns()));
        }
        out.append(line);
    }
    return out;
}

QTextCharFormat chars(const QString &family, qreal points)
{
    QTextCharFormat format;
    format.setFontFamilies({family});
    format.setFontPointSize(points);
    format.setFontWeight(QFont::Normal);
    return format;
}

QImage testImage()
{
    QImage image(5, 4, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(2, 1, qRgb(0, 128, 255));
    return image;
}

} // namespace

class RtfWriterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void escapesAndUnicode_data();
    void escapesAndUnicode();
    void headerAndTables();
    void runsJoinAcrossFragments();
    void fontNames_data();
    void fontNames();
    void imageRoundTrip();
    void listTextForOtherReaders();
    void spannedCellsKeepTheGrid();
    void layoutFromOtherWriters_data();
    void layoutFromOtherWriters();
    void metafilesAreWrittenBackUnchanged_data();
    void metafilesAreWrittenBackUnchanged();
};

void RtfWriterTest::roundTrip_data()
{
    QTest::addColumn<Builder>("build");

    QTest::newRow("empty") << Builder([](QTextCursor &) {});
    QTest::newRow("character formats") << Builder([](QTextCursor &c) {
        QTextCharFormat f = chars("Arial", 11);
        c.insertText("plain ", f);
        f.setFontWeight(QFont::Bold);
        c.insertText("bold ", f);
        f.setFontItalic(true);
        c.insertText("bold italic ", f);
        f = chars("Courier New", 9.5);
        f.setFontUnderline(true);
        f.setFontStrikeOut(true);
        c.insertText("under strike ", f);
        f = chars("Arial", 20);
        f.setForeground(QColor(200, 10, 30));
        f.setBackground(QColor(250, 250, 0));
        c.insertText("coloured", f);
        f.setForeground(QColor(200, 10, 30));
        f.setBackground(QBrush());
        c.insertText(" same colour again", f);
        f = chars("Arial", 12);
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        c.insertText("2", f);
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        c.insertText("n", f);
    });
    QTest::newRow("paragraph formats") << Builder([](QTextCursor &c) {
        const QList<Qt::Alignment> alignments = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                                 Qt::AlignJustify};
        for (int i = 0; i < alignments.size(); ++i) {
            QTextBlockFormat b;
            b.setAlignment(alignments[i]);
            b.setLeftMargin(10 * i);
            b.setRightMargin(4 * i);
            b.setTextIndent(i % 2 ? -12 : 24);
            b.setTopMargin(2 * i);
            b.setBottomMargin(6);
            if (i == 0)
                c.setBlockFormat(b);
            else
                c.insertBlock(b);
            c.insertText(QStringLiteral("paragraph %1").arg(i), chars("Arial", 12));
        }
    });
    QTest::newRow("empty paragraphs") << Builder([](QTextCursor &c) {
        c.insertText("a", chars("Arial", 12));
        c.insertBlock();
        c.insertBlock();
        c.insertText("b", chars("Arial", 12));
        c.insertBlock();
    });
    QTest::newRow("lists") << Builder([](QTextCursor &c) {
        c.insertText("intro", chars("Arial", 12));
        const QList<QTextListFormat::Style> styles = {
            QTextListFormat::ListDisc,       QTextListFormat::ListCircle,
            QTextListFormat::ListSquare,     QTextListFormat::ListDecimal,
            QTextListFormat::ListLowerAlpha, QTextListFormat::ListUpperAlpha,
            QTextListFormat::ListLowerRoman, QTextListFormat::ListUpperRoman};
        for (int i = 0; i < styles.size(); ++i) {
            QTextListFormat list;
            list.setStyle(styles[i]);
            list.setIndent(1 + i % 3);
            c.insertBlock();
            c.insertList(list);
            c.insertText(QStringLiteral("first %1").arg(i), chars("Arial", 12));
            c.insertBlock();
            c.insertText(QStringLiteral("second %1").arg(i), chars("Arial", 12));
        }
        c.insertBlock(QTextBlockFormat());
        c.insertText("outro", chars("Arial", 12));
    });
    QTest::newRow("table between paragraphs") << Builder([](QTextCursor &c) {
        c.insertText("before", chars("Arial", 12));
        QTextTable *table = c.insertTable(3, 2);
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 2; ++column) {
                QTextCursor cell = table->cellAt(row, column).firstCursorPosition();
                if (row == 1 && column == 0)
                    continue; // an empty cell
                QTextCharFormat f = chars("Arial", 10);
                f.setFontWeight(row == 0 ? QFont::Bold : QFont::Normal);
                cell.insertText(QStringLiteral("r%1c%2").arg(row).arg(column), f);
                if (row == 2 && column == 1) {
                    QTextBlockFormat centred;
                    centred.setAlignment(Qt::AlignHCenter);
                    cell.insertBlock(centred);
                    cell.insertText("second paragraph", f);
                }
            }
        }
        c = table->lastCursorPosition();
        c.movePosition(QTextCursor::NextBlock);
        c.insertText("after", chars("Arial", 12));
    });
    QTest::newRow("table first, table last") << Builder([](QTextCursor &c) {
        QTextTable *table = c.insertTable(1, 3);
        table->cellAt(0, 2).firstCursorPosition().insertText("x", chars("Arial", 12));
        c = table->lastCursorPosition();
        c.movePosition(QTextCursor::NextBlock);
        c.insertTable(2, 1)->cellAt(1, 0).firstCursorPosition().insertText("y", chars("Arial", 12));
    });
    QTest::newRow("list inside a table") << Builder([](QTextCursor &c) {
        QTextTable *table = c.insertTable(1, 2);
        QTextCursor cell = table->cellAt(0, 1).firstCursorPosition();
        QTextListFormat list;
        list.setStyle(QTextListFormat::ListDecimal);
        cell.insertList(list);
        cell.insertText("one", chars("Arial", 12));
        cell.insertBlock();
        cell.insertText("two", chars("Arial", 12));
    });
    QTest::newRow("hyperlink") << Builder([](QTextCursor &c) {
        c.insertText("see ", chars("Arial", 12));
        QTextCharFormat link = chars("Arial", 12);
        link.setAnchor(true);
        link.setAnchorHref("https://example.org/?q=\"x\"&b={c}");
        link.setFontUnderline(true);
        c.insertText("here", link);
        c.insertText(".", chars("Arial", 12));
    });
    QTest::newRow("page breaks") << Builder([](QTextCursor &c) {
        c.insertText("first page", chars("Arial", 12));
        QTextBlockFormat next;
        next.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        c.insertBlock(next);
        c.insertText("second page", chars("Arial", 12));
    });
    QTest::newRow("tab stops") << Builder([](QTextCursor &c) {
        QTextBlockFormat tabs;
        tabs.setTabPositions({QTextOption::Tab(96, QTextOption::LeftTab),
                              QTextOption::Tab(288, QTextOption::RightTab),
                              QTextOption::Tab(384, QTextOption::CenterTab),
                              QTextOption::Tab(480, QTextOption::DelimiterTab, u'.')});
        c.setBlockFormat(tabs);
        c.insertText("a\tb\tc\td", chars("Arial", 12));
    });
    QTest::newRow("line spacing") << Builder([](QTextCursor &c) {
        QTextBlockFormat spacing;
        spacing.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
        c.setBlockFormat(spacing);
        c.insertText("one and a half", chars("Arial", 12));
        spacing.setLineHeight(24, QTextBlockFormat::FixedHeight);
        c.insertBlock(spacing);
        c.insertText("exactly 24", chars("Arial", 12));
        spacing.setLineHeight(30, QTextBlockFormat::MinimumHeight);
        c.insertBlock(spacing);
        c.insertText("at least 30", chars("Arial", 12));
    });
    QTest::newRow("headings") << Builder([](QTextCursor &c) {
        QTextBlockFormat heading;
        heading.setHeadingLevel(1);
        c.setBlockFormat(heading);
        c.insertText("Title", chars("Arial", 20));
        heading.setHeadingLevel(3);
        c.insertBlock(heading);
        c.insertText("Section", chars("Arial", 14));
        c.insertBlock(QTextBlockFormat());
        c.insertText("body", chars("Arial", 12));
    });
    QTest::newRow("image") << Builder([](QTextCursor &c) {
        c.document()->addResource(QTextDocument::ImageResource, QUrl("mem:pic"), testImage());
        c.insertText("a", chars("Arial", 12));
        QTextImageFormat image;
        image.setName("mem:pic");
        image.setWidth(50);
        image.setHeight(40);
        c.insertImage(image);
        c.insertText("b", chars("Arial", 12));
    });
}

void RtfWriterTest::roundTrip()
{
    QFETCH(Builder, build);
    QTextDocument original;
    QTextCursor cursor(&original);
    build(cursor);

    const QByteArray rtf = RtfWriter().write(original);
    QCOMPARE(RtfWriter().write(original), rtf); // deterministic
    auto read = readBack(rtf);
    QVERIFY(read);
    QCOMPARE(read->toPlainText(), original.toPlainText());
    QCOMPARE(describe(*read), describe(original));
    // and writing what was read gives the same bytes again
    QCOMPARE(RtfWriter().write(*read), rtf);
}

void RtfWriterTest::escapesAndUnicode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("rtf specials") << QStringLiteral("a\\b{c}d") << QByteArray("a\\\\b\\{c\\}d");
    QTest::newRow("tab and line break")
        << QStringLiteral("a\tb\u2028c") << QByteArray("a\\tab b\\line c");
    QTest::newRow("latin") << QString::fromUtf8("café") << QByteArray("caf\\u233?");
    QTest::newRow("upper half is negative") << QString(QChar(0xF0B7)) << QByteArray("\\u-3913?");
    QTest::newRow("surrogate pair") << QString::fromUtf8("😀") << QByteArray("\\u-10179?\\u-8704?");
    QTest::newRow("cjk") << QString::fromUtf8("测试") << QByteArray("\\u27979?\\u-29739?");
    QTest::newRow("non-breaking space") << QString::fromUtf8("a\u00A0b") << QByteArray("a\\~b");
    QTest::newRow("digits after unicode") << QString::fromUtf8("é1") << QByteArray("\\u233?1");
}

void RtfWriterTest::escapesAndUnicode()
{
    QFETCH(QString, text);
    QTextDocument document;
    QTextCursor(&document).insertText(text);
    const QByteArray rtf = RtfWriter().write(document);
    QFETCH(QByteArray, written);
    QVERIFY2(rtf.contains(written), rtf.constData());
    QVERIFY(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; }));
    auto read = readBack(rtf);
    QVERIFY(read);
    QCOMPARE(read->begin().text(), text);
}

void RtfWriterTest::headerAndTables()
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Liberation Serif"), 12));
    QTextCursor cursor(&document);
    QTextCharFormat f = chars("Arial", 12);
    f.setForeground(Qt::red);
    cursor.insertText("x", f);
    f = chars("Font;With Semicolon", 12);
    f.setForeground(Qt::blue);
    f.setBackground(Qt::red);
    cursor.insertText("y", f);
    cursor.insertText("z", QTextCharFormat());
    const QByteArray rtf = RtfWriter().write(document);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    QVERIFY(rtf.endsWith("}\n"));
    QVERIFY2(
        rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Liberation Serif;}"
                     "{\\f1\\fnil\\fcharset0 Arial;}{\\f2\\fnil\\fcharset0 FontWith Semicolon;}}"),
        rtf.constData());
    QVERIFY2(rtf.contains("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"),
             rtf.constData());
    QVERIFY2(rtf.contains("{\\f2\\fs24\\cf2\\chcbpat1\\cb1 y}"), rtf.constData());
    // a run without a family or size takes the document's font
    QVERIFY2(rtf.contains("{\\f0\\fs24 z}"), rtf.constData());
    auto read = readBack(rtf);
    QVERIFY(read);
    QCOMPARE(read->toPlainText(), QStringLiteral("xyz"));
}

void RtfWriterTest::runsJoinAcrossFragments()
{
    // Text typed out of order lands in separate fragments of one format; the output must not
    // depend on that history.
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText("world", chars("Arial", 12));
    cursor.setPosition(0);
    cursor.insertText("hello ", chars("Arial", 12));
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("\u0001\u0002"), chars("Unused Font", 30)); // not written
    const QByteArray rtf = RtfWriter().write(document);
    QVERIFY2(rtf.contains("{\\f1\\fs24 hello world}\\par"), rtf.constData());
    QVERIFY(!rtf.contains("Unused Font"));
    QVERIFY(!rtf.contains("\\fs60"));
}

void RtfWriterTest::fontNames_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QByteArray>("entry");

    QTest::newRow("plain") << "Arial" << QByteArray("{\\f1\\fnil\\fcharset0 Arial;}");
    QTest::newRow("semicolon ends an entry, so it goes")
        << "Odd;Name" << QByteArray("{\\f1\\fnil\\fcharset0 OddName;}");
    QTest::newRow("spaces and control characters trimmed")
        << QStringLiteral("\u0001 Times ") << QByteArray("{\\f1\\fnil\\fcharset0 Times;}");
    QTest::newRow("non-ASCII") << QString::fromUtf8("宋体")
                               << QByteArray("{\\f1\\fnil\\fcharset0 \\u23435?\\u20307?;}");
    QTest::newRow("nothing left: the document font") << ";" << QByteArray("}");
}

void RtfWriterTest::fontNames()
{
    QFETCH(QString, family);
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Default Face")));
    QTextCursor(&document).insertText("x", chars(family, 12));
    const QByteArray rtf = RtfWriter().write(document);
    QFETCH(QByteArray, entry);
    QVERIFY2(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Default Face;}" + entry),
             rtf.constData());
    auto read = readBack(rtf);
    QVERIFY(read);
    QCOMPARE(RtfWriter().write(*read), rtf);
}

void RtfWriterTest::imageRoundTrip()
{
    QTextDocument document;
    document.addResource(QTextDocument::ImageResource, QUrl("mem:pic"), testImage());
    QTextCursor cursor(&document);
    QTextImageFormat image;
    image.setName("mem:pic");
    cursor.insertImage(image); // no size given: the picture's own
    image.setName("mem:missing");
    cursor.insertImage(image); // a missing picture is left out
    const QByteArray rtf = RtfWriter().write(document);
    QCOMPARE(rtf.count("\\pict"), 1);
    QVERIFY(rtf.contains("\\pngblip\\picw5\\pich4\\picwgoal75\\pichgoal60"));
    auto read = readBack(rtf);
    QVERIFY(read);
    QTextImageFormat readImage;
    for (auto it = read->begin().begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isImageFormat())
            readImage = it.fragment().charFormat().toImageFormat();
    }
    QVERIFY(readImage.isValid());
    const QImage pixels =
        qvariant_cast<QImage>(read->resource(QTextDocument::ImageResource, QUrl(readImage.name())));
    QCOMPARE(pixels.convertToFormat(QImage::Format_ARGB32), testImage());
}

void RtfWriterTest::listTextForOtherReaders()
{
    // Readers without list tables show \listtext: it must hold the item's own marker.
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextListFormat list;
    list.setStyle(QTextListFormat::ListUpperRoman);
    cursor.createList(list);
    cursor.insertText("a");
    cursor.insertBlock();
    cursor.insertText("b");
    const QByteArray rtf = RtfWriter().write(document);
    QVERIFY2(rtf.contains("{\\listtext\\pard\\plain I.\\tab}"), rtf.constData());
    QVERIFY2(rtf.contains("{\\listtext\\pard\\plain II.\\tab}"), rtf.constData());
    QVERIFY(rtf.contains("\\levelnfc1"));
    auto read = readBack(rtf);
    QVERIFY(read);
    QCOMPARE(RtfPlainText::fromDocument(*read), QStringLiteral("I.\ta\nII.\tb\n"));
}

void RtfWriterTest::spannedCellsKeepTheGrid()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextTable *table = cursor.insertTable(2, 3);
    table->mergeCells(0, 0, 1, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText("wide");
    table->cellAt(0, 2).firstCursorPosition().insertText("right");
    table->cellAt(1, 1).firstCursorPosition().insertText("middle");
    auto read = readBack(RtfWriter().write(document));
    QVERIFY(read);
    QCOMPARE(RtfPlainText::fromDocument(*read), QStringLiteral("wide\t\tright\n\tmiddle\t\n\n"));
}

// Layout as other word processors write it: \page between paragraphs, tab kinds before \tx,
// \sl with and without \slmult, heading styles named in the style sheet.
void RtfWriterTest::layoutFromOtherWriters_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("blocks");
    const QByteArray head = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}"
                            "{\\stylesheet{\\s0 Normal;}{\\s1\\b\\fs32 heading 1;}"
                            "{\\s2\\sbasedon1 Heading 2;}{\\s7\\outlinelevel3 Chapter;}"
                            "{\\*\\cs10 Default Paragraph Font;}}\\f0 ";
    QTest::newRow("page") << head + "one\\par two\\page three\\par}"
                          << QStringList{"one", "two", "|break three"};
    QTest::newRow("page break before")
        << head + "one\\par\\pard\\pagebb two\\par}" << QStringList{"one", "|break two"};
    QTest::newRow("tab kinds") << head + "\\pard\\tx720\\tqr\\tx2880\\tqc\\tb1440 a\\tab b\\par}"
                               << QStringList{"|tab 0@48 tab 1@192 tab 2@96 a\tb"};
    QTest::newRow("double spacing")
        << head + "\\pard\\sl480\\slmult1 x\\par}" << QStringList{"|line 1:200 x"};
    QTest::newRow("exact spacing")
        << head + "\\pard\\sl-360\\slmult0 x\\par}" << QStringList{"|line 2:24 x"};
    QTest::newRow("heading styles") << head + "\\pard\\s1 T\\par\\pard\\s2 S\\par"
                                              "\\pard\\s7 C\\par\\pard\\s0 n\\par}"
                                    << QStringList{"|h1 T", "|h2 S", "|h4 C", "n"};
    QTest::newRow("outline level without style")
        << head + "\\pard\\outlinelevel1 T\\par}" << QStringList{"|h2 T"};
}

void RtfWriterTest::layoutFromOtherWriters()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, blocks);
    auto read = readBack(rtf);
    QVERIFY(read);
    QStringList found;
    for (QTextBlock block = read->begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        QStringList parts;
        if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            parts << QStringLiteral("break");
        for (const QTextOption::Tab &tab : format.tabPositions())
            parts << QStringLiteral("tab %1@%2").arg(int(tab.type)).arg(tab.position);
        if (format.lineHeightType() != QTextBlockFormat::SingleHeight)
            parts << QStringLiteral("line %1:%2")
                         .arg(format.lineHeightType())
                         .arg(format.lineHeight());
        if (format.headingLevel() > 0)
            parts << QStringLiteral("h%1").arg(format.headingLevel());
        found << (parts.isEmpty() ? QString() : u'|' + parts.join(u' ') + u' ') + block.text();
    }
    QCOMPARE(found, blocks);
    // What was read is written so that it reads the same again.
    auto again = readBack(RtfWriter().write(*read));
    QVERIFY(again);
    QCOMPARE(describe(*again), describe(*read));
}

void RtfWriterTest::metafilesAreWrittenBackUnchanged_data()
{
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<int>("width");
    QTest::newRow("wmf with goals") << QByteArray("{\\pict\\wmetafile8\\picw2540\\pich1270"
                                                  "\\picwgoal1440\\pichgoal720\n"
                                                  "010009000003aabbccdd\n}")
                                    << 96;
    QTest::newRow("wmf from its extent") << QByteArray("{\\pict\\wmetafile8\\picw2540\\pich1270\n"
                                                       "0100090000030102\n}")
                                         << 96;
    QTest::newRow("emf scaled") << QByteArray("{\\pict\\emfblip\\picwgoal720\\pichgoal720"
                                              "\\picscalex50\\picscaley50\n"
                                              "0100000020\n}")
                                << 24;
}

// A document with a metafile read and saved without edits keeps the picture's RTF as it came;
// the picture shows as a placeholder of its size.
void RtfWriterTest::metafilesAreWrittenBackUnchanged()
{
    QFETCH(QByteArray, picture);
    QFETCH(int, width);
    const QByteArray rtf =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 before " + picture + " after\\par}";
    auto read = readBack(rtf);
    QVERIFY(read);
    QTextImageFormat image;
    for (auto it = read->begin().begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isImageFormat())
            image = it.fragment().charFormat().toImageFormat();
    }
    QVERIFY(image.isValid());
    QCOMPARE(qRound(image.width()), width);
    const QByteArray written = RtfWriter().write(*read);
    QVERIFY2(written.contains(picture), written.constData());
    QCOMPARE(RtfWriter().write(*readBack(written)), written);
}

QTEST_MAIN(RtfWriterTest)
#include "tst_RtfWriter.moc"
