#include "TestFiles.h"
#include "RtfReader.h"
#include "RtfPlainText.h"
#include "RtfWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

using Damage = RtfReader::Damage;
using DamageFlags = RtfReader::DamageFlags;

namespace
{

// Reads rtf; the caller checks the damage itself where it matters.
struct Read {
    std::unique_ptr<QTextDocument> document = std::make_unique<QTextDocument>();
    DamageFlags damage;
    QString text;
};

Read readRtf(const QByteArray &rtf)
{
    Read result;
    RtfReader reader;
    reader.read(rtf, result.document.get());
    result.damage = reader.damage();
    result.text = RtfPlainText::fromDocument(*result.document);
    return result;
}

// The character format of the first fragment whose text is marker.
QTextCharFormat formatOf(const QTextDocument &document, const QString &marker)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text() == marker)
                return it.fragment().charFormat();
        }
    }
    return {};
}

QTextBlock blockWith(const QTextDocument &document, const QString &text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text() == text)
            return block;
    }
    return {};
}

QList<QTextTable *> tablesOf(const QTextDocument &document)
{
    QList<QTextTable *> tables;
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame))
            tables.append(table);
    }
    return tables;
}

QString cellText(QTextTable *table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

const QByteArray Tables = "{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}}"
                          "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";

QByteArray pictureHex(const char *format)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toHex();
}

} // namespace

class RtfReaderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void characterFormats_data();
    void characterFormats();
    void verticalAlignment_data();
    void verticalAlignment();
    void lastColourWithoutSemicolon();
    void defaultFontFromDeff();
    void paragraphFormats_data();
    void paragraphFormats();
    void text_data();
    void text();
    void codePages_data();
    void codePages();
    void unknownCodePageFallsBackTo1252();
    void skippedDestinations_data();
    void skippedDestinations();
    void lists_data();
    void lists();
    void listTextKeptWithoutListTable();
    void longLists_data();
    void longLists();
    void tables();
    void tableRowWiderThanFirst();
    void longTables_data();
    void longTables();
    void pictures_data();
    void pictures();
    void hyperlinkField();
    void damagedInput_data();
    void damagedInput();
    void deepNestingDoesNotHang();
    void loadingIsNotAnEdit();
    void readerIsReusable();
    void samples_data();
    void samples();
};

void RtfReaderTest::characterFormats_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strike");
    QTest::addColumn<QColor>("foreground");
    QTest::addColumn<QColor>("background");

    const QColor none;
    QTest::newRow("defaults") << QByteArray("X") << "Times New Roman" << 12.0 << false << false
                              << false << false << none << none;
    QTest::newRow("all on") << QByteArray("\\f1\\fs31\\b\\i\\ul\\strike\\cf1\\cb2 X") << "Arial"
                            << 15.5 << true << true << true << true << QColor(Qt::red)
                            << QColor(Qt::blue);
    QTest::newRow("switched off by zero")
        << QByteArray("\\b\\i\\ul\\strike\\b0\\i0\\ul0\\strike0 X") << "Times New Roman" << 12.0
        << false << false << false << false << none << none;
    QTest::newRow("ulnone, word and double underline")
        << QByteArray("\\ulw\\ulnone\\uldb X") << "Times New Roman" << 12.0 << false << false
        << true << false << none << none;
    QTest::newRow("plain resets") << QByteArray("\\f1\\b\\i\\cf1\\fs40\\plain X")
                                  << "Times New Roman" << 12.0 << false << false << false << false
                                  << none << none;
    QTest::newRow("group ends a format") << QByteArray("{\\b\\cf1 A}X") << "Times New Roman" << 12.0
                                         << false << false << false << false << none << none;
    QTest::newRow("highlight and chcbpat")
        << QByteArray("\\highlight1 A\\chcbpat2 X") << "Times New Roman" << 12.0 << false << false
        << false << false << none << QColor(Qt::blue);
    QTest::newRow("colour 0 is auto") << QByteArray("\\cf1 A\\cf0 X") << "Times New Roman" << 12.0
                                      << false << false << false << false << none << none;
    QTest::newRow("colour past the table") << QByteArray("\\cf9 X") << "Times New Roman" << 12.0
                                           << false << false << false << false << none << none;
    QTest::newRow("font size zero clamps") << QByteArray("\\fs0 X") << "Times New Roman" << 1.0
                                           << false << false << false << false << none << none;
}

void RtfReaderTest::verticalAlignment_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("alignment");
    QTest::newRow("normal") << QByteArray("X") << int(QTextCharFormat::AlignNormal);
    QTest::newRow("super") << QByteArray("\\super X") << int(QTextCharFormat::AlignSuperScript);
    QTest::newRow("sub") << QByteArray("\\sub X") << int(QTextCharFormat::AlignSubScript);
    QTest::newRow("sub after super") << QByteArray("\\super\\sub X") << int(QTextCharFormat::AlignSubScript);
    QTest::newRow("nosupersub") << QByteArray("\\super\\nosupersub X") << int(QTextCharFormat::AlignNormal);
    QTest::newRow("group ends it") << QByteArray("{\\super A}X") << int(QTextCharFormat::AlignNormal);
    QTest::newRow("plain resets") << QByteArray("\\sub\\plain X") << int(QTextCharFormat::AlignNormal);
}

void RtfReaderTest::verticalAlignment()
{
    QFETCH(QByteArray, body);
    const Read read = readRtf("{\\rtf1\\ansi\\deff0" + Tables + body + "}");
    QCOMPARE(read.damage, DamageFlags(Damage::None));
    const QTextCharFormat format = formatOf(*read.document, QStringLiteral("X"));
    QVERIFY(format.isValid());
    QTEST(int(format.verticalAlignment()), "alignment");
}

void RtfReaderTest::characterFormats()
{
    QFETCH(QByteArray, body);
    const Read read = readRtf("{\\rtf1\\ansi\\deff0" + Tables + body + "}");
    QCOMPARE(read.damage, DamageFlags(Damage::None));
    const QTextCharFormat format = formatOf(*read.document, QStringLiteral("X"));
    QVERIFY(format.isValid());
    QTEST(format.fontFamilies().toStringList().value(0), "family");
    QTEST(format.fontPointSize(), "points");
    QTEST(format.fontWeight() == QFont::Bold, "bold");
    QTEST(format.fontItalic(), "italic");
    QTEST(format.fontUnderline(), "underline");
    QTEST(format.fontStrikeOut(), "strike");
    QFETCH(QColor, foreground);
    QFETCH(QColor, background);
    QCOMPARE(format.hasProperty(QTextFormat::ForegroundBrush), foreground.isValid());
    if (foreground.isValid())
        QCOMPARE(format.foreground().color(), foreground);
    QCOMPARE(format.hasProperty(QTextFormat::BackgroundBrush), background.isValid());
    if (background.isValid())
        QCOMPARE(format.background().color(), background);
}

void RtfReaderTest::lastColourWithoutSemicolon()
{
    const Read read = readRtf("{\\rtf1{\\colortbl;\\red1\\green2\\blue3}\\cf1 X}");
    QCOMPARE(formatOf(*read.document, QStringLiteral("X")).foreground().color(), QColor(1, 2, 3));
}

void RtfReaderTest::defaultFontFromDeff()
{
    const Read read = readRtf("{\\rtf1\\deff1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}X}");
    QCOMPARE(read.document->defaultFont().family(), QStringLiteral("Courier New"));
    QCOMPARE(formatOf(*read.document, QStringLiteral("X")).fontFamilies().toStringList(),
             QStringList{QStringLiteral("Courier New")});

    // Regression: a name of control characters became the document font, and was written as
    // an empty name that read back as no font at all.
    QTextDocument document;
    const QString systemFamily = document.defaultFont().family();
    RtfReader reader;
    QVERIFY(
        reader.read("{\\rtf1{\\fonttbl{\\f0 \\'01;}{\\f1 \\'02 Arial\\'03 ;}}\\f1 X}", &document));
    QCOMPARE(document.defaultFont().family(), systemFamily);
    QCOMPARE(formatOf(document, QStringLiteral("X")).fontFamilies().toStringList(),
             QStringList{QStringLiteral("Arial")});
}

void RtfReaderTest::paragraphFormats_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<qreal>("left");
    QTest::addColumn<qreal>("right");
    QTest::addColumn<qreal>("first");
    QTest::addColumn<qreal>("before");
    QTest::addColumn<qreal>("after");

    QTest::newRow("defaults") << QByteArray("X\\par") << int(Qt::AlignLeft) << 0.0 << 0.0 << 0.0
                              << 0.0 << 0.0;
    QTest::newRow("centred, indents in twips")
        << QByteArray("\\qc\\li1440\\ri720\\fi-360\\sb240\\sa120 X\\par") << int(Qt::AlignHCenter)
        << 96.0 << 48.0 << -24.0 << 16.0 << 8.0;
    QTest::newRow("right") << QByteArray("\\qr X\\par") << int(Qt::AlignRight) << 0.0 << 0.0 << 0.0
                           << 0.0 << 0.0;
    QTest::newRow("justified") << QByteArray("\\qj X\\par") << int(Qt::AlignJustify) << 0.0 << 0.0
                               << 0.0 << 0.0 << 0.0;
    QTest::newRow("pard resets") << QByteArray("\\qc\\li720 A\\par\\pard X\\par")
                                 << int(Qt::AlignLeft) << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("properties carry to the next paragraph")
        << QByteArray("\\qr\\li150 A\\par X\\par") << int(Qt::AlignRight) << 10.0 << 0.0 << 0.0
        << 0.0 << 0.0;
    QTest::newRow("last value before par counts")
        << QByteArray("\\ql X\\qc\\par") << int(Qt::AlignHCenter) << 0.0 << 0.0 << 0.0 << 0.0
        << 0.0;
    QTest::newRow("last paragraph without par")
        << QByteArray("A\\par\\qc\\li300 X") << int(Qt::AlignHCenter) << 20.0 << 0.0 << 0.0 << 0.0
        << 0.0;
}

void RtfReaderTest::paragraphFormats()
{
    QFETCH(QByteArray, body);
    const Read read = readRtf("{\\rtf1\\ansi" + Tables + body + "}");
    const QTextBlock block = blockWith(*read.document, QStringLiteral("X"));
    QVERIFY(block.isValid());
    const QTextBlockFormat format = block.blockFormat();
    QTEST(int(format.alignment() & Qt::AlignHorizontal_Mask), "alignment");
    QTEST(format.leftMargin(), "left");
    QTEST(format.rightMargin(), "right");
    QTEST(format.textIndent(), "first");
    QTEST(format.topMargin(), "before");
    QTEST(format.bottomMargin(), "after");
}

void RtfReaderTest::text_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("paragraphs") << QByteArray("{\\rtf1 One\\par Two\\par}") << "One\nTwo\n";
    QTest::newRow("no final par") << QByteArray("{\\rtf1 One\\par Two}") << "One\nTwo\n";
    QTest::newRow("empty paragraph kept")
        << QByteArray("{\\rtf1 One\\par\\par Two\\par}") << "One\n\nTwo\n";
    QTest::newRow("backslash newline is a paragraph")
        << QByteArray("{\\rtf1 One\\\nTwo}") << "One\nTwo\n";
    QTest::newRow("line breaks in source are not text")
        << QByteArray("{\\rtf1 On\r\ne\nTwo}") << "OneTwo\n";
    QTest::newRow("control word delimiter") << QByteArray("{\\rtf1\\b  two\\b0 x}") << " twox\n";
    QTest::newRow("line and tab") << QByteArray("{\\rtf1 a\\line b\\tab c}") << "a\nb\tc\n";
    QTest::newRow("escaped specials") << QByteArray("{\\rtf1 \\{x\\} \\\\}") << "{x} \\\n";
    QTest::newRow("hex in 1252") << QByteArray("{\\rtf1\\ansi caf\\'e9 \\'80}")
                                 << QString::fromUtf8("café €\n");
    QTest::newRow("named characters")
        << QByteArray("{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~}")
        << QString::fromUtf8("—–•‘’“”\u00A0\n");
    QTest::newRow("unicode skips one fallback")
        << QByteArray("{\\rtf1 \\u8364?x}") << QString::fromUtf8("€x\n");
    QTest::newRow("negative unicode")
        << QByteArray("{\\rtf1 \\u-4064?}") << QString(QChar(0xF020)) + u'\n';
    QTest::newRow("uc2 skips a hex pair")
        << QByteArray("{\\rtf1\\uc2 \\u20320\\'c4\\'e3x}") << QString::fromUtf8("你x\n");
    QTest::newRow("uc0 skips nothing")
        << QByteArray("{\\rtf1\\uc0 \\u233 x}") << QString::fromUtf8("éx\n");
    QTest::newRow("uc is scoped to its group")
        << QByteArray("{\\rtf1 {\\uc3 a}\\u233 xy}") << QString::fromUtf8("aéy\n");
    QTest::newRow("skip stops at group end")
        << QByteArray("{\\rtf1\\uc4 {\\u233 x}y}") << QString::fromUtf8("éy\n");
    QTest::newRow("surrogate pair")
        << QByteArray("{\\rtf1 \\u-10179?\\u-8704?!}") << QString::fromUtf8("😀!\n");
    QTest::newRow("hidden text") << QByteArray("{\\rtf1 a{\\v hidden}b}") << "ab\n";
    QTest::newRow("footnote number stays, text does not")
        << QByteArray("{\\rtf1 a\\chftn{\\footnote\\chftn note}b}") << "a1b\n";
    QTest::newRow("soft hyphen and non-breaking hyphen")
        << QByteArray("{\\rtf1 a\\-b\\_c}") << QString::fromUtf8("ab\u2011c\n");
}

void RtfReaderTest::text()
{
    QFETCH(QByteArray, rtf);
    const Read read = readRtf(rtf);
    QCOMPARE(read.damage, DamageFlags(Damage::None));
    QTEST(read.text, "expected");
}

void RtfReaderTest::codePages_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    const auto cp = [](int page) { return "\\ansi\\ansicpg" + QByteArray::number(page); };
    QTest::newRow("1250") << cp(1250) << QByteArray("\\'8a\\'e8") << QString::fromUtf8("Šč");
    QTest::newRow("1251") << cp(1251) << QByteArray("\\'cf\\'f0\\'e8") << QString::fromUtf8("При");
    QTest::newRow("1252") << cp(1252) << QByteArray("\\'e4\\'9c") << QString::fromUtf8("äœ");
    QTest::newRow("1253") << cp(1253) << QByteArray("\\'c1\\'e2") << QString::fromUtf8("Αβ");
    QTest::newRow("1254") << cp(1254) << QByteArray("\\'d0\\'fe") << QString::fromUtf8("Ğş");
    QTest::newRow("1255") << cp(1255) << QByteArray("\\'e0\\'e1") << QString::fromUtf8("אב");
    QTest::newRow("1256") << cp(1256) << QByteArray("\\'c7\\'e1") << QString::fromUtf8("ال");
    QTest::newRow("1257") << cp(1257) << QByteArray("\\'c0\\'e8") << QString::fromUtf8("Ąč");
    QTest::newRow("1258") << cp(1258) << QByteArray("\\'c3\\'f5") << QString::fromUtf8("Ăơ");
    QTest::newRow("874") << cp(874) << QByteArray("\\'a1\\'a2") << QString::fromUtf8("กข");
    QTest::newRow("932") << cp(932) << QByteArray("\\'82\\'a0\\'93\\'fa")
                         << QString::fromUtf8("あ日");
    QTest::newRow("936") << cp(936) << QByteArray("\\'c4\\'e3\\'ba\\'c3")
                         << QString::fromUtf8("你好");
    QTest::newRow("949") << cp(949) << QByteArray("\\'c7\\'d1\\'b1\\'db")
                         << QString::fromUtf8("한글");
    QTest::newRow("950") << cp(950) << QByteArray("\\'a4\\'a4\\'a4\\'e5")
                         << QString::fromUtf8("中文");
    QTest::newRow("437") << cp(437) << QByteArray("\\'82\\'9b") << QString::fromUtf8("é¢");
    QTest::newRow("850") << cp(850) << QByteArray("\\'82\\'9b") << QString::fromUtf8("éø");
    QTest::newRow("mac") << QByteArray("\\mac") << QByteArray("\\'8e") << QString::fromUtf8("é");
    QTest::newRow("pc") << QByteArray("\\pc") << QByteArray("\\'81") << QString::fromUtf8("ü");
    QTest::newRow("raw bytes, not escaped")
        << cp(1251) << QByteArray("\xcf\xf0\xe8") << QString::fromUtf8("При");
    QTest::newRow("double-byte with an ASCII trail byte")
        << cp(932) << QByteArray("\\'83\\'5c") << QString::fromUtf8("ソ");
    QTest::newRow("font charset beats ansicpg")
        << QByteArray("\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset204 Arial Cyr;}}\\f0")
        << QByteArray("\\'c0") << QString::fromUtf8("А");
    QTest::newRow("charset per font switches")
        << QByteArray("\\ansi{\\fonttbl{\\f0\\fcharset129 Gulim;}{\\f1\\fcharset0 Arial;}}\\plain")
        << QByteArray("\\f0\\'c7\\'d1\\f1\\'e9") << QString::fromUtf8("한é");
    QTest::newRow("font code page") << QByteArray("\\ansi{\\fonttbl{\\f0\\cpg1253 Arial;}}\\f0")
                                    << QByteArray("\\'c1") << QString::fromUtf8("Α");
    QTest::newRow("symbol font bullet")
        << QByteArray("\\ansi{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0") << QByteArray("\\'b7")
        << QString::fromUtf8("•");
    QTest::newRow("invalid sequence becomes U+FFFD")
        << cp(936) << QByteArray("\\'ff\\'ff") << QString(2, QChar::ReplacementCharacter);
    QTest::newRow("lead byte cut by the paragraph end")
        << cp(936) << QByteArray("\\'c4\\par") << QString(QChar::ReplacementCharacter);
}

void RtfReaderTest::codePages()
{
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, bytes);
    const Read read = readRtf("{\\rtf1" + header + " " + bytes + "}");
    QCOMPARE(read.damage, DamageFlags(Damage::None));
    QTEST(read.document->begin().text(), "expected");
}

void RtfReaderTest::unknownCodePageFallsBackTo1252()
{
    const Read read = readRtf("{\\rtf1\\ansi\\ansicpg99999 caf\\'e9}");
    QCOMPARE(read.damage, DamageFlags(Damage::UnknownCodePage));
    QCOMPARE(read.text, QString::fromUtf8("café\n"));
}

void RtfReaderTest::skippedDestinations_data()
{
    QTest::addColumn<QByteArray>("group");

    QTest::newRow("header") << QByteArray("{\\header LEAK\\par}");
    QTest::newRow("footer") << QByteArray("{\\footerr LEAK}");
    QTest::newRow("info") << QByteArray("{\\info{\\title LEAK}{\\author LEAK}}");
    QTest::newRow("stylesheet") << QByteArray("{\\stylesheet{\\s0 LEAK;}{\\*\\cs1 LEAK;}}");
    QTest::newRow("unknown ignorable") << QByteArray("{\\*\\madeupdest LEAK {nested LEAK}}");
    QTest::newRow("known word under star") << QByteArray("{\\*\\b LEAK}");
    QTest::newRow("generator") << QByteArray("{\\*\\generator LEAK;}");
    QTest::newRow("field instruction") << QByteArray("{\\field{\\*\\fldinst PAGE LEAK}}");
    QTest::newRow("alternative picture")
        << QByteArray("{\\nonshppict{\\pict\\wmetafile8 4c45414b}}");
    QTest::newRow("list table names") << QByteArray("{\\*\\listtable{\\list{\\listname LEAK;}}}");
    QTest::newRow("binary data") << QByteArray("{\\*\\blob\\bin4 LEAK}");
    QTest::newRow("windows metafile") << QByteArray("{\\pict\\wmetafile8\\picw10 4c45414b}");
}

void RtfReaderTest::skippedDestinations()
{
    QFETCH(QByteArray, group);
    const Read read = readRtf("{\\rtf1\\ansi" + Tables + "before" + group + "after}");
    QCOMPARE(read.damage, DamageFlags(Damage::None));
    QCOMPARE(read.text, QStringLiteral("beforeafter\n"));
}

void RtfReaderTest::lists_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("indent");
    QTest::addColumn<QString>("expected");

    const QByteArray table =
        "{\\*\\listtable"
        "{\\list\\listtemplateid1{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}}"
        "{\\listlevel\\levelnfc23{\\leveltext\\'01o;}}\\listid10}"
        "{\\list\\listtemplateid2{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}"
        "{\\listlevel\\levelnfc4{\\leveltext\\'02\\'01);}}\\listid20}"
        "{\\list\\listtemplateid3{\\listlevel\\levelnfc1{\\leveltext\\'02\\'00.;}}\\listid30}}"
        "{\\*\\listoverridetable{\\listoverride\\listid10\\ls1}{\\listoverride\\listid20\\ls2}"
        "{\\listoverride\\listid30\\ls3}}";
    const auto items = [&](const QByteArray &para) {
        return "{\\rtf1\\ansi" + Tables + table + "\\pard Intro\\par" +
               "{\\listtext\\'b7\\tab}\\pard" + para + " one\\par" +
               "{\\listtext\\'b7\\tab}\\pard" + para + " two\\par\\pard End\\par}";
    };
    QTest::newRow("bullets") << items("\\li720\\fi-360\\ls1") << int(QTextListFormat::ListDisc) << 1
                             << QString::fromUtf8("Intro\n•\tone\n•\ttwo\nEnd\n");
    QTest::newRow("circle bullets, level 2")
        << items("\\ls1\\ilvl1") << int(QTextListFormat::ListCircle) << 2
        << QString::fromUtf8("Intro\n•\tone\n•\ttwo\nEnd\n");
    QTest::newRow("decimal") << items("\\ls2") << int(QTextListFormat::ListDecimal) << 1
                             << QStringLiteral("Intro\n1.\tone\n2.\ttwo\nEnd\n");
    QTest::newRow("lower letters") << items("\\ls2\\ilvl1") << int(QTextListFormat::ListLowerAlpha)
                                   << 2 << QStringLiteral("Intro\na.\tone\nb.\ttwo\nEnd\n");
    QTest::newRow("upper roman") << items("\\ls3") << int(QTextListFormat::ListUpperRoman) << 1
                                 << QStringLiteral("Intro\nI.\tone\nII.\ttwo\nEnd\n");
    QTest::newRow("old style bullets")
        << items("{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}\\plain")
        << int(QTextListFormat::ListDisc) << 1 << QString::fromUtf8("Intro\n•\tone\n•\ttwo\nEnd\n");
    QTest::newRow("old style numbers") << items("{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}\\plain")
                                       << int(QTextListFormat::ListDecimal) << 1
                                       << QStringLiteral("Intro\n1.\tone\n2.\ttwo\nEnd\n");
}

void RtfReaderTest::lists()
{
    QFETCH(QByteArray, rtf);
    const Read read = readRtf(rtf);
    QCOMPARE(read.damage, DamageFlags(Damage::None));
    QTEST(read.text, "expected");
    const QTextBlock one = blockWith(*read.document, QStringLiteral("one"));
    const QTextBlock two = blockWith(*read.document, QStringLiteral("two"));
    QVERIFY(one.textList());
    QCOMPARE(two.textList(), one.textList());
    QTEST(int(one.textList()->format().style()), "style");
    QTEST(one.textList()->format().indent(), "indent");
    QVERIFY(!blockWith(*read.document, QStringLiteral("End")).textList());
    QVERIFY(!blockWith(*read.document, QStringLiteral("Intro")).textList());
}

void RtfReaderTest::listTextKeptWithoutListTable()
{
    // \ls without a list table: the bullet text is all a reader has, so it stays as text.
    const Read read = readRtf("{\\rtf1\\ansi{\\fonttbl{\\f1\\fcharset2 Symbol;}}"
                              "{\\listtext\\f1\\'b7\\tab}\\pard\\ls7 item\\par}");
    QCOMPARE(read.damage, DamageFlags(Damage::None));
    QCOMPARE(read.text, QString::fromUtf8("•\titem\n"));
    QVERIFY(!read.document->begin().textList());
}

void RtfReaderTest::longLists_data()
{
    QTest::addColumn<bool>("bullets");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("listed");
    QTest::addColumn<int>("lists");

    const int chunk = RtfReader::BulletListChunk;
    const int numbered = RtfReader::MaxNumberedItems;
    QTest::newRow("bullets, one chunk") << true << chunk << chunk << 1;
    QTest::newRow("bullets, one past a chunk") << true << chunk + 1 << chunk + 1 << 2;
    QTest::newRow("bullets, many chunks") << true << 20 * chunk << 20 * chunk << 20;
    QTest::newRow("numbers up to the limit") << false << numbered << numbered << 1;
    QTest::newRow("numbers past the limit") << false << numbered + 5 << numbered << 1;
}

void RtfReaderTest::longLists()
{
    // Regression: every paragraph joining a long QTextList took time in proportion to the list,
    // so a 20000-item list took minutes to read.
    QFETCH(bool, bullets);
    QFETCH(int, items);
    QByteArray rtf = "{\\rtf1\\ansi{\\*\\listtable{\\list{\\listlevel\\levelnfc" +
                     QByteArray(bullets ? "23" : "0") +
                     "}\\listid5}}{\\*\\listoverridetable{\\listoverride\\listid5\\ls1}}";
    for (int item = 1; item <= items; ++item)
        rtf += "{\\listtext " + (bullets ? QByteArray("-") : QByteArray::number(item) + '.') +
               "\\tab}\\pard\\ls1 i" + QByteArray::number(item) + "\\par\n";
    rtf += "\\pard end\\par}";
    const Read read = readRtf(rtf);
    QCOMPARE(read.damage, DamageFlags(Damage::None));
    int listed = 0;
    QSet<QTextList *> lists;
    for (QTextBlock block = read.document->begin(); block.isValid(); block = block.next()) {
        if (block.textList()) {
            ++listed;
            lists.insert(block.textList());
        }
    }
    QTEST(listed, "listed");
    QTEST(int(lists.size()), "lists");
    const QStringList lines = read.text.split(u'\n');
    QCOMPARE(lines.size(), items + 2);
    for (int item = 1; item <= items; ++item) {
        const QString marker = bullets ? QStringLiteral("\u2022") : QString::number(item) + u'.';
        QCOMPARE(lines[item - 1], marker + u'\t' + u'i' + QString::number(item));
    }
    QCOMPARE(lines[items], QStringLiteral("end"));
}

void RtfReaderTest::tables()
{
    const Read read = readRtf("{\\rtf1\\ansi Before\\par"
                              "\\trowd\\cellx1500\\cellx3000\\cellx4500"
                              "\\pard\\intbl A1\\cell B1\\cell\\qc C1\\par second\\cell\\row"
                              "\\trowd\\cellx1500\\cellx3000\\cellx4500"
                              "\\pard\\intbl A2\\cell\\cell C2\\cell\\row"
                              "\\pard After\\par}");
    QCOMPARE(read.damage, DamageFlags(Damage::None));
    const QList<QTextTable *> tables = tablesOf(*read.document);
    QCOMPARE(tables.size(), 1);
    QTextTable *table = tables.first();
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 3);
    QCOMPARE(cellText(table, 0, 0), QStringLiteral("A1"));
    QCOMPARE(cellText(table, 0, 1), QStringLiteral("B1"));
    QCOMPARE(cellText(table, 0, 2), QStringLiteral("C1\u2029second"));
    QCOMPARE(cellText(table, 1, 1), QString());
    QCOMPARE(cellText(table, 1, 2), QStringLiteral("C2"));
    QCOMPARE(table->format().columnWidthConstraints().value(1),
             QTextLength(QTextLength::FixedLength, 100));
    QCOMPARE(blockWith(*read.document, QStringLiteral("C1")).blockFormat().alignment() &
                 Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    QCOMPARE(read.text, QStringLiteral("Before\nA1\tB1\tC1 second\nA2\t\tC2\nAfter\n"));
    // the table sits between the paragraphs, without an empty one before it
    QCOMPARE(read.document->begin().text(), QStringLiteral("Before"));
    QCOMPARE(read.document->frameAt(read.document->begin().next().position()), table);
}

void RtfReaderTest::tableRowWiderThanFirst()
{
    const Read read = readRtf("{\\rtf1 \\trowd\\cellx100\\intbl a\\cell\\row"
                              "\\trowd\\cellx100\\cellx200\\intbl b\\cell c\\cell\\row"
                              "\\pard\\intbl orphan\\cell}");
    const QList<QTextTable *> tables = tablesOf(*read.document);
    QCOMPARE(tables.size(), 1);
    QCOMPARE(tables.first()->columns(), 2);
    QCOMPARE(tables.first()->rows(), 3);
    QCOMPARE(read.text, QStringLiteral("a\t\nb\tc\norphan\t\n\n"));
}

void RtfReaderTest::longTables_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("cut");
    // rows are made ahead in batches; the counts sit on and around the batch edges
    for (int rows : {1, 2, 3, 4, 5, 1023, 1024, 1025, 5000})
        QTest::addRow("%d rows", rows) << rows << false;
    QTest::newRow("cut short after 1025 rows") << 1025 << true;
}

void RtfReaderTest::longTables()
{
    QFETCH(int, rows);
    QByteArray rtf = "{\\rtf1 ";
    for (int row = 0; row < rows; ++row)
        rtf += "\\trowd\\cellx100\\cellx200\\pard\\intbl r" + QByteArray::number(row) +
               "\\cell x\\cell\\row\n";
    QFETCH(bool, cut);
    rtf += cut ? "\\pard after" : "\\pard after\\par}";
    const Read read = readRtf(rtf);
    QCOMPARE(read.damage, cut ? DamageFlags(Damage::Truncated) : DamageFlags(Damage::None));
    const QList<QTextTable *> tables = tablesOf(*read.document);
    QCOMPARE(tables.size(), 1);
    QCOMPARE(tables.first()->rows(), rows);
    QCOMPARE(cellText(tables.first(), rows - 1, 0), QStringLiteral("r%1").arg(rows - 1));
    QVERIFY(read.text.endsWith(QStringLiteral("r%1\tx\nafter\n").arg(rows - 1)));
}

void RtfReaderTest::pictures_data()
{
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<qreal>("width");
    QTest::addColumn<qreal>("height");
    QTest::addColumn<DamageFlags>("damage");

    QTest::newRow("png, natural size")
        << "{\\pict\\pngblip\\picw4\\pich3 " + pictureHex("PNG") + "}" << 4.0 << 3.0
        << DamageFlags(Damage::None);
    QTest::newRow("png, goal size in twips")
        << "{\\*\\shppict{\\pict\\pngblip\\picwgoal1500\\pichgoal750\n" + pictureHex("PNG") +
               "}}{\\nonshppict{\\pict\\wmetafile8 0102}}"
        << 100.0 << 50.0 << DamageFlags(Damage::None);
    QTest::newRow("jpeg, scaled") << "{\\pict\\jpegblip\\picscalex200\\picscaley50 " +
                                         pictureHex("JPEG") + "}"
                                  << 8.0 << 1.5 << DamageFlags(Damage::None);
    const QByteArray png = QByteArray::fromHex(pictureHex("PNG"));
    QTest::newRow("binary png") << "{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " +
                                       png + "}"
                                << 4.0 << 3.0 << DamageFlags(Damage::None);
    QTest::newRow("broken png") << QByteArray("{\\pict\\pngblip 89504e470d0a1a0a0000}") << 0.0
                                << 0.0 << DamageFlags(Damage::BadPicture);
}

void RtfReaderTest::pictures()
{
    QFETCH(QByteArray, picture);
    const Read read = readRtf("{\\rtf1\\ansi a" + picture + "b\\par}");
    QTEST(read.damage, "damage");
    QFETCH(qreal, width);
    const QTextBlock block = read.document->begin();
    QTextImageFormat image;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isImageFormat())
            image = it.fragment().charFormat().toImageFormat();
    }
    QCOMPARE(!image.name().isEmpty(), width > 0);
    QCOMPARE(read.text, QStringLiteral("ab\n"));
    if (width == 0)
        return;
    QCOMPARE(image.width(), width);
    QTEST(image.height(), "height");
    const QImage stored = qvariant_cast<QImage>(
        read.document->resource(QTextDocument::ImageResource, QUrl(image.name())));
    QCOMPARE(stored.size(), QSize(4, 3));
    QCOMPARE(QColor(stored.pixel(1, 1)).red() > 200, true);
}

void RtfReaderTest::hyperlinkField()
{
    const Read read =
        readRtf("{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"https://example.org/a b\"}}"
                "{\\fldrslt{\\ul link}}} now}");
    QCOMPARE(read.damage, DamageFlags(Damage::None));
    QCOMPARE(read.text, QStringLiteral("see link now\n"));
    const QTextCharFormat link = formatOf(*read.document, QStringLiteral("link"));
    QVERIFY(link.isAnchor());
    QCOMPARE(link.anchorHref(), QStringLiteral("https://example.org/a b"));
    QVERIFY(!formatOf(*read.document, QStringLiteral(" now")).isAnchor());
}

void RtfReaderTest::damagedInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<DamageFlags>("damage");
    QTest::addColumn<QString>("expected");

    QTest::newRow("cut short") << QByteArray("{\\rtf1 {\\b one\\par two")
                               << DamageFlags(Damage::Truncated) << "one\ntwo\n";
    QTest::newRow("cut inside a control word")
        << QByteArray("{\\rtf1 one\\pa") << DamageFlags(Damage::Truncated) << "one\n";
    QTest::newRow("cut after a backslash")
        << QByteArray("{\\rtf1 one\\") << DamageFlags(Damage::Truncated) << "one\n";
    QTest::newRow("cut inside a hex escape")
        << QByteArray("{\\rtf1 one\\'4") << DamageFlags(Damage::Truncated) << "one\x04\n";
    QTest::newRow("cut inside a picture")
        << "{\\rtf1 a{\\pict\\pngblip " + pictureHex("PNG").left(40)
        << DamageFlags(Damage::Truncated) << "a\n";
    QTest::newRow("extra closing brace")
        << QByteArray("{\\rtf1 a}}") << DamageFlags(Damage::UnbalancedBraces) << "a\n";
    QTest::newRow("text after the document")
        << QByteArray("{\\rtf1 a}b") << DamageFlags(Damage::UnbalancedBraces) << "a\n";
    QTest::newRow("nulls after the document are fine")
        << QByteArray("{\\rtf1 a}\r\n\0\0", 9) << DamageFlags(Damage::None) << "a\n";
    QTest::newRow("huge bin") << QByteArray("{\\rtf1 a{\\bin2147483647 xyz}b}")
                              << DamageFlags(Damage::BadBinary | Damage::Truncated) << "a\n";
    QTest::newRow("bin count past int")
        << QByteArray("{\\rtf1 a{\\bin99999999999999 xyz}b}")
        << DamageFlags(Damage::BadBinary | Damage::Truncated) << "a\n";
    QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 xyz}")
                                  << DamageFlags(Damage::BadBinary | Damage::Truncated) << "a\n";
    QTest::newRow("bin skips braces")
        << QByteArray("{\\rtf1 a{\\*\\x\\bin3 }}{}b}") << DamageFlags(Damage::None) << "ab\n";
    QTest::newRow("not rtf") << QByteArray("plain words") << DamageFlags(Damage::NotRtf)
                             << "plain words\n";
    QTest::newRow("empty") << QByteArray() << DamageFlags(Damage::NotRtf) << "\n";
    QTest::newRow("huge parameter") << QByteArray("{\\rtf1\\fs99999999999999999999 a\\u99999999?b}")
                                    << DamageFlags(Damage::None) << "ab\n";
    QTest::newRow("row and cell outside a table")
        << QByteArray("{\\rtf1 \\row a\\cell b}") << DamageFlags(Damage::None) << "a\n\tb\n\n";
    QTest::newRow("lone low surrogate")
        << QByteArray("{\\rtf1 \\u-8704?}") << DamageFlags(Damage::None)
        << QString(QChar(0xDE00)) + u'\n';
    QTest::newRow("font table without a name end")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial}}\\f0 a}") << DamageFlags(Damage::None)
        << "a\n";
    QTest::newRow("colour table without a final semicolon")
        << QByteArray("{\\rtf1{\\colortbl;\\red1\\green2\\blue3}\\cf1 a}")
        << DamageFlags(Damage::None) << "a\n";
}

void RtfReaderTest::damagedInput()
{
    QFETCH(QByteArray, rtf);
    QTextDocument document;
    RtfReader reader;
    QFETCH(DamageFlags, damage);
    QCOMPARE(reader.read(rtf, &document), damage == Damage::None);
    QCOMPARE(reader.damage(), damage);
    QTEST(RtfPlainText::fromDocument(document), "expected");
}

void RtfReaderTest::deepNestingDoesNotHang()
{
    // A million open groups, then text, then a million closes: one pass, flat memory.
    const int depth = 1000000;
    const QByteArray rtf =
        "{\\rtf1 a" + QByteArray(depth, '{') + "deep\\b\\par" + QByteArray(depth, '}') + "b}";
    const Read read = readRtf(rtf);
    QCOMPARE(read.damage, DamageFlags(Damage::TooDeep));
    QCOMPARE(read.text, QStringLiteral("ab\n"));

    const QByteArray shallow = "{\\rtf1 a" + QByteArray(RtfReader::MaxDepth - 2, '{') + "kept" +
                               QByteArray(RtfReader::MaxDepth - 2, '}') + "}";
    const Read kept = readRtf(shallow);
    QCOMPARE(kept.damage, DamageFlags(Damage::None));
    QCOMPARE(kept.text, QStringLiteral("akept\n"));
}

void RtfReaderTest::loadingIsNotAnEdit()
{
    QTextDocument document;
    QTextCursor(&document).insertText(QStringLiteral("typed"));
    QVERIFY(document.isUndoAvailable());
    RtfReader reader;
    QVERIFY(reader.read("{\\rtf1 loaded\\par second}", &document));
    QCOMPARE(document.toPlainText(), QStringLiteral("loaded\nsecond"));
    QVERIFY(!document.isUndoAvailable());
    QVERIFY(!document.isModified());
    QVERIFY(document.isUndoRedoEnabled());
    QTextCursor(&document).insertText(QStringLiteral("x"));
    QVERIFY(document.isUndoAvailable());
}

void RtfReaderTest::readerIsReusable()
{
    // State of one read (fonts, code page, lists, damage) must not leak into the next.
    RtfReader reader;
    QTextDocument first;
    QVERIFY(!reader.read("{\\rtf1\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\b\\'c0", &first));
    QTextDocument second;
    QVERIFY(reader.read("{\\rtf1 \\'c0}", &second));
    QCOMPARE(reader.damage(), DamageFlags(Damage::None));
    QCOMPARE(second.toPlainText(), QString::fromUtf8("À"));
    QVERIFY(formatOf(second, QString::fromUtf8("À")).fontFamilies().toStringList().isEmpty());
}

void RtfReaderTest::samples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<int>("tableRows");

    QTest::newRow("Word lists") << "ListWord.rtf"
                                << QStringList{"Paragraph",   "•\tBullet",  "•\tBullet 2",
                                               "Paragraph 2", "1.\tList 1", "2.\tList 2"}
                                << QStringList{"·", "\uF0B7"} << 0;
    QTest::newRow("Word tables, German")
        << "Speiseplan_KW_32-33_Eybl.rtf"
        << QStringList{"Speiseplan", "05.08. –09.08.2019",
                       "Montag: Suppe:\tM 1\t Gemüserostbraten mit Semmelknödel und Salat       "
                       "A,C,G,L,",
                       "Freitag: Suppe:\tM 1\tFischstäbchen auf Erdäpfel - Vogerlsalat     A,C,D,",
                       "12.08.–16.08.2019\t\t"}
        << QStringList{"Normal", "Table Grid"} << 21;
    QTest::newRow("LibreOffice nested table") << "calcium_score.rtf" << QStringList{"Calcium-Score"}
                                              << QStringList{"LibreOffice", "Standard"} << 1;
    QTest::newRow("Word, Chinese code page")
        << "issue_11.rtf" << QStringList{"测试"} << QStringList{"宋体", "SimSun"} << 0;
    QTest::newRow("TextEdit table")
        << "pages_table_sample.rtf"
        << QStringList{"Hier steht normaler Text, dann kommt eine Tabelle.",
                       "Tabelle ist:",
                       "Header A\tHeader B\tHeader C",
                       "A1\tB1\tC1",
                       "A2\tB2\tC2",
                       "A3\tB3\tC3",
                       "Hier steht wieder normaler Text."}
        << QStringList{"HelveticaNeue"} << 5;
    QTest::newRow("WordPad metafile pictures")
        << "simplepict.rtf"
        << QStringList{"This is a simple document with images.  These images are actually "
                       "embedded in WMF images.",
                       "Then a GIF: (which is really a WMF image)"}
        << QStringList{"Msftedit"} << 0;
    QTest::newRow("Word 2003")
        << "source.rtf"
        << QStringList{"This is a test RTF",
                       "Hi! I’m a test file. This is some bold text, and some italic text, as well "
                       "as some underline text. And a bit of  text. So we’re going to end this "
                       "paragraph here and go on to a nice little list:",
                       "•\tItem 1",
                       "•\tItem 4",
                       "Cell 1\tCell 2 More in cell 2\tCell 3",
                       "Next row\tNext row \tNext row",
                       "This para has a 1footnote."}
        << QStringList{"hidden", "actual content of the footnote", "Table Grid"} << 2;
    QTest::newRow("WordPad, Korean code page")
        << "testKoreanEncoding.rtf" << QStringList{"MS Project Addin ProjectPlus"}
        << QStringList{"맑은 고딕"} << 0;
}

void RtfReaderTest::samples()
{
    QFETCH(QString, file);
    const QString path = QDir(SamplesDir(QStringLiteral("rtf"))).filePath(file);
    if (!QFileInfo::exists(path))
        QSKIP(qPrintable(
            QStringLiteral("sample files not found: %1 (set NUVELA_SAMPLES_DIR)").arg(path)));
    QFile input(path);
    QVERIFY(input.open(QIODevice::ReadOnly));
    const Read read = readRtf(input.readAll());
    QCOMPARE(read.damage, DamageFlags(Damage::None));
    const QStringList found = read.text.split(u'\n');
    QFETCH(QStringList, lines);
    for (const QString &line : lines) {
        if (!found.contains(line))
            QFAIL(qPrintable(QStringLiteral("missing line \"%1\" in:\n%2").arg(line, read.text)));
    }
    QFETCH(QStringList, absent);
    for (const QString &leak : absent)
        QVERIFY2(!read.text.contains(leak), qPrintable(leak));
    int rows = 0;
    for (QTextTable *table : tablesOf(*read.document))
        rows += table->rows();
    QTEST(rows, "tableRows");

    // Saved again, the document reads back with the same text, tables and lists.
    const QByteArray saved = RtfWriter().write(*read.document);
    const Read again = readRtf(saved);
    QCOMPARE(again.damage, DamageFlags(Damage::None));
    QCOMPARE(again.text, read.text);
    QCOMPARE(RtfWriter().write(*again.document), saved);
}

QTEST_MAIN(RtfReaderTest)
#include "tst_RtfReader.moc"
