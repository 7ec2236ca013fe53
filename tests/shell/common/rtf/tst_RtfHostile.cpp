// Rich text an attacker or an unlucky user might open, built here: odd control words read as
// word processors read them, and inputs whose cost once grew too fast give the right document
// (their speed is measured by bench/hostile_inputs, not here).

#include "RtfPlainText.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace
{

QString plainText(const QByteArray &rtf, QTextDocument *document)
{
    RtfReader reader;
    reader.read(rtf, document);
    return RtfPlainText::fromDocument(*document);
}

QString plainText(const QByteArray &rtf)
{
    QTextDocument document;
    return plainText(rtf, &document);
}

QColor foregroundOf(const QTextDocument &document, const QString &marker)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text() == marker)
                return it.fragment().charFormat().foreground().color();
        }
    }
    return {};
}

QTextTable *firstTable(const QTextDocument &document)
{
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame))
            return table;
    }
    return nullptr;
}

// A table of rows x columns, cell text "r<row>c<column>", and a paragraph after it.
QByteArray tableRtf(int rows, int columns, const QByteArray &between = {})
{
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int r = 0; r < rows; ++r) {
        rtf += "\\trowd";
        for (int c = 1; c <= columns; ++c)
            rtf += "\\cellx" + QByteArray::number(c * 300);
        for (int c = 0; c < columns; ++c)
            rtf += "\\intbl r" + QByteArray::number(r) + 'c' + QByteArray::number(c) + "\\cell";
        rtf += "\\row" + between + '\n';
    }
    return rtf + "\\pard after\\par}";
}

} // namespace

class TestRtfHostile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controlWordFaults_data();
    void controlWordFaults();
    void coloursOutsideTheTable();
    void tableRows_data();
    void tableRows();
    void manyFonts();
    void manyColoursWritten();
};

void TestRtfHostile::controlWordFaults_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    // \' without hex digits put a NUL character into the text.
    QTest::newRow("\\' without digits") << QByteArray("{\\rtf1 a\\'zb\\'}") << "azb\n";
    QTest::newRow("\\' with two digits") << QByteArray("{\\rtf1 a\\'41b}") << "aAb\n";
    QTest::newRow("\\' at the end") << QByteArray("{\\rtf1 a\\'") << "a\n";
    // After \*, \binN left its bytes to be read as RTF: a brace in them ended the group early.
    QTest::newRow("\\bin after \\*") << QByteArray("{\\rtf1 a{\\*\\bin3 }{}}b}") << "ab\n";
    QTest::newRow("\\bin after \\* in an unknown group")
        << QByteArray("{\\rtf1 a{\\*\\unknown\\bin3 {{{}b}") << "ab\n";
    // \chftn showed the footnote number inside hidden text.
    QTest::newRow("hidden footnote mark")
        << QByteArray("{\\rtf1 a{\\v\\chftn}{\\footnote\\chftn note}b\\chftn}") << "ab2\n";
    QTest::newRow("shown footnote marks")
        << QByteArray("{\\rtf1 a\\chftn{\\footnote\\chftn x}b\\chftn{\\footnote\\chftn y}}")
        << "a1b2\n";
}

void TestRtfHostile::controlWordFaults()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(plainText(rtf), text);
}

// \red, \green and \blue outside \colortbl carried into the next colour table's first entry.
void TestRtfHostile::coloursOutsideTheTable()
{
    QTextDocument document;
    plainText("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\green200\\red7 {\\colortbl\\blue255;}"
              "\\cf1 one\\cf2 two}",
              &document);
    QCOMPARE(foregroundOf(document, QStringLiteral("one")), QColor(1, 2, 3));
    QCOMPARE(foregroundOf(document, QStringLiteral("two")), QColor(0, 0, 255));
}

void TestRtfHostile::tableRows_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");

    QTest::newRow("one row") << tableRtf(1, 3) << 1 << 3;
    QTest::newRow("a power of two") << tableRtf(64, 2) << 64 << 2;
    QTest::newRow("one past a power of two") << tableRtf(65, 2) << 65 << 2;
    QTest::newRow("past the rows made ahead") << tableRtf(200, 63) << 200 << 63;
    QTest::newRow("rows set apart by \\pard\\intbl")
        << tableRtf(70, 2, "\\pard\\intbl ") << 70 << 2;
    // Counted rows that never come: \row in groups the reader skips.
    QTest::newRow("rows that are not rows")
        << QByteArray("{\\rtf1 \\trowd\\cellx100\\intbl a\\cell{\\header\\row\\row\\row}\\row"
                      "\\pard after\\par}")
        << 1 << 1;
    QTest::newRow("row marks under \\*")
        << QByteArray(
               "{\\rtf1 \\trowd\\cellx100\\intbl a\\cell{\\*\\x\\row\\row}\\row\\pard after\\par}")
        << 1 << 1;
}

// Rows were made in doubling batches and the spare ones removed, which cost seconds for a
// table one row past a power of two. The document must hold exactly the file's rows.
void TestRtfHostile::tableRows()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, rows);
    QFETCH(int, columns);
    QTextDocument document;
    plainText(rtf, &document);
    QTextTable *table = firstTable(document);
    QVERIFY(table);
    QCOMPARE(table->rows(), rows);
    QCOMPARE(table->columns(), columns);
    if (columns > 1) {
        const QString last = QStringLiteral("r%1c%2").arg(rows - 1).arg(columns - 1);
        QCOMPARE(table->cellAt(rows - 1, columns - 1).firstCursorPosition().block().text(), last);
    }
    QVERIFY(document.toPlainText().endsWith(QLatin1String("after")));
}

// 20,000 runs in 20,000 fonts: each run keeps its font.
void TestRtfHostile::manyFonts()
{
    QByteArray rtf = "{\\rtf1{\\fonttbl";
    for (int f = 0; f < 20000; ++f)
        rtf += "{\\f" + QByteArray::number(f) + " Family " + QByteArray::number(f) + ";}";
    rtf += '}';
    for (int f = 0; f < 20000; ++f)
        rtf += "{\\f" + QByteArray::number(f) + " r" + QByteArray::number(f) + '}';
    QTextDocument document;
    plainText(rtf + '}', &document);
    int runs = 0;
    for (auto it = document.begin().begin(); !it.atEnd(); ++it, ++runs) {
        const QTextCharFormat format = it.fragment().charFormat();
        QCOMPARE(format.fontFamilies().toStringList(),
                 QStringList{QStringLiteral("Family %1").arg(runs)});
        QCOMPARE(format.font().families().value(0), QStringLiteral("Family %1").arg(runs));
    }
    QCOMPARE(runs, 20000);
}

// 30,000 colours: each written once into the table, each run naming its own.
void TestRtfHostile::manyColoursWritten()
{
    constexpr int colours = 30000;
    const auto colour = [](int i) { return QColor::fromRgb(QRgb(0x10000 + i * 97)); };
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (int i = 0; i < colours; ++i) {
        QTextCharFormat format;
        format.setForeground(colour(i));
        cursor.insertText(QStringLiteral("c%1 ").arg(i), format);
        if (i % 100 == 99)
            cursor.insertBlock();
    }
    // A repeated colour, and one that differs only in its alpha, reuse their entries.
    QTextCharFormat again;
    again.setForeground(colour(5));
    cursor.insertText(QStringLiteral("again"), again);
    QColor translucent = colour(7);
    translucent.setAlpha(100);
    QTextCharFormat seeThrough;
    seeThrough.setForeground(translucent);
    cursor.insertText(QStringLiteral("seethrough"), seeThrough);
    cursor.endEditBlock();
    const QByteArray rtf = RtfWriter().write(document);
    const qsizetype tableStart = rtf.indexOf("{\\colortbl;");
    QVERIFY(tableStart > 0);
    QCOMPARE(rtf.mid(tableStart, rtf.indexOf('}', tableStart) - tableStart).count(';'),
             colours + 1);
    QTextDocument back;
    plainText(rtf, &back);
    QCOMPARE(foregroundOf(back, QStringLiteral("c29999 ")), colour(29999));
    QCOMPARE(foregroundOf(back, QStringLiteral("again")), colour(5));
    QCOMPARE(foregroundOf(back, QStringLiteral("seethrough")), colour(7));
}

QTEST_MAIN(TestRtfHostile)
#include "tst_RtfHostile.moc"
