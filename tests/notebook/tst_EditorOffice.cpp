#include "FrmRtfEdit.h"

#include "NotesCatalogue.h"
#include "OfficeTools.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QTextTable>

// Documents the editor writes, read by a real word processor: LibreOffice converts them to text,
// HTML and PDF, and what it found must be what was written. Skipped where LibreOffice is absent.
// With NUVELA_OFFICE_KEEP set to a folder, the PDFs are kept there for a person to look at.
class tst_EditorOffice : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    // Writes a document through the editor's tools, saved by SaveFull.
    QString writeDocument()
    {
        const QString path = m_env->writeFile(QStringLiteral("Office test.rtf"), "{\\rtf1 \\par}");
        FrmRtfEdit editor;
        if (!editor.open(path))
            qFatal("cannot open");
        QTextEdit *pane = editor.pane();
        pane->clear();
        QTextCursor cursor = pane->textCursor();
        QTextBlockFormat heading;
        heading.setHeadingLevel(1);
        cursor.setBlockFormat(heading);
        QTextCharFormat big;
        big.setFontPointSize(20);
        big.setFontWeight(QFont::Bold);
        cursor.insertText(QStringLiteral("Reisebericht Zoë"), big);
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertText(QStringLiteral("Plain, "));
        pane->setTextCursor(cursor);
        editor.runTool(QStringLiteral("Bold"));
        pane->insertPlainText(QStringLiteral("bold words"));
        editor.runTool(QStringLiteral("Bold"));
        editor.runTool(QStringLiteral("Italic"));
        pane->insertPlainText(QStringLiteral(" and italic ones"));
        editor.runTool(QStringLiteral("Italic"));
        pane->insertPlainText(QStringLiteral(" — Ελληνικά, 测试, naïve café."));
        cursor = pane->textCursor();
        cursor.insertBlock();
        pane->setTextCursor(cursor);
        editor.runTool(QStringLiteral("Bullet"));
        pane->insertPlainText(QStringLiteral("first point"));
        cursor = pane->textCursor();
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("second point"));
        cursor.insertBlock();
        pane->setTextCursor(cursor);
        editor.runTool(QStringLiteral("Bullet"));
        QTextTable *table = cursor.insertTable(2, 2);
        const QStringList cells = {"Stadt", "Tage", "Köln", "3"};
        for (int i = 0; i < 4; ++i)
            table->cellAt(i / 2, i % 2).firstCursorPosition().insertText(cells[i]);
        cursor = table->lastCursorPosition();
        cursor.movePosition(QTextCursor::NextBlock);
        cursor.insertText(QStringLiteral("After the table: "));
        pane->setTextCursor(cursor);
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(QColor(0, 120, 200));
        picture.save(m_env->scratch() + QStringLiteral("/blue.png"));
        m_env->dialogs().answerPath(m_env->scratch() + QStringLiteral("/blue.png"));
        editor.runTool(QStringLiteral("Picture"));
        cursor = pane->textCursor();
        QTextBlockFormat page;
        page.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.insertBlock(page);
        cursor.insertText(QStringLiteral("Second page."));
        if (!editor.SaveFull())
            qFatal("cannot save");
        return path;
    }

    QString convert(const QString &path, const QString &format)
    {
        return OfficeConvert(path, format, m_env->scratch() + QStringLiteral("/out"),
                             m_env->scratch() + QStringLiteral("/profile"));
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void textAsWritten()
    {
        NUVELA_REQUIRE_OFFICE();
        const QString txt = convert(writeDocument(), QStringLiteral("txt:Text (encoded):UTF8"));
        QVERIFY2(!txt.isEmpty(), "LibreOffice did not convert the document");
        const QString text = QString::fromUtf8(ReadBytes(txt));
        for (const QString &expected :
             {QStringLiteral("Reisebericht Zoë"),
              QStringLiteral("Plain, bold words and italic ones — Ελληνικά, 测试, naïve café."),
              QStringLiteral("first point"), QStringLiteral("second point"), QStringLiteral("Köln"),
              QStringLiteral("After the table:"), QStringLiteral("Second page.")})
            QVERIFY2(text.contains(expected), qPrintable(expected + "\n---\n" + text));
    }

    void formattingAsWritten_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::newRow("heading") << "<h1[^>]*>.*Reisebericht Zo";
        QTest::newRow("bold") << "<b>bold words</b>";
        QTest::newRow("italic") << "<i>\\s*and italic ones</i>";
        QTest::newRow("bullet list") << "<ul>.*first point.*second point.*</ul>";
        QTest::newRow("table") << "<table.*Stadt.*(K&ouml;ln|Köln).*</table>";
        QTest::newRow("picture") << "<img ";
    }

    void formattingAsWritten()
    {
        NUVELA_REQUIRE_OFFICE();
        QFETCH(QString, pattern);
        const QString html = convert(writeDocument(), QStringLiteral("html"));
        QVERIFY2(!html.isEmpty(), "LibreOffice did not convert the document");
        // LibreOffice breaks long lines of its HTML anywhere between words.
        const QString text = QString::fromUtf8(ReadBytes(html)).simplified();
        QVERIFY2(QRegularExpression(pattern).match(text).hasMatch(), qPrintable(text.left(4000)));
    }

    void pdfHasTwoPages()
    {
        NUVELA_REQUIRE_OFFICE();
        const QString pdf = convert(writeDocument(), QStringLiteral("pdf"));
        QVERIFY2(!pdf.isEmpty(), "LibreOffice did not convert the document");
        if (qEnvironmentVariableIsSet("NUVELA_OFFICE_KEEP"))
            QFile::copy(pdf, qEnvironmentVariable("NUVELA_OFFICE_KEEP") + "/editor-document.pdf");
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        if (!info.waitForFinished(60000) || info.exitCode() != 0)
            QSKIP("pdfinfo is not installed");
        QVERIFY2(QString::fromUtf8(info.readAllStandardOutput())
                     .contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\b"))),
                 "the page break did not start a second page");
    }
};

QTEST_MAIN(tst_EditorOffice)
#include "tst_EditorOffice.moc"
