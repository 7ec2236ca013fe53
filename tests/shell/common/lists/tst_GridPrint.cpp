#include "GridPrintLayout.h"
#include "GridRows.h"
#include "KeyedGridModel.h"
#include "OfficeTools.h"
#include "RichTextPages.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QProcess>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

// Pages of grids and rich texts: how many, what they hold, and PDF files that need no printer.
class tst_GridPrint : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    static void fillGrid(KeyedGridModel &grid, int rows, int columns = 3)
    {
        QString format;
        for (int c = 0; c < columns; ++c)
            format += (c ? "|" : "") + QStringLiteral("Column %1   ").arg(c);
        grid.setFormatText(format);
        grid.appendRows(rows, [&grid, columns](int row) {
            for (int c = 0; c < columns; ++c)
                grid.setText(row, c, QStringLiteral("r%1c%2").arg(row).arg(c));
        });
    }

    static int pdfPages(const QByteArray &pdf)
    {
        return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") +
                   pdf.count("/Type /Page/") + pdf.count("/Type /Page>"));
    }

    // The text of a PDF as pdftotext reads it; "" where the tool is absent.
    static QString pdfText(const QString &path)
    {
        QProcess tool;
        tool.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), path, QStringLiteral("-")});
        if (!tool.waitForFinished(60000))
            return QString();
        return QString::fromUtf8(tool.readAllStandardOutput());
    }

    static std::unique_ptr<QTextDocument> paragraphs(int count)
    {
        auto document = std::make_unique<QTextDocument>();
        QTextCursor cursor(document.get());
        for (int i = 0; i < count; ++i) {
            if (i)
                cursor.insertBlock();
            cursor.insertText(QStringLiteral("Paragraph %1 of the printed text.").arg(i + 1));
        }
        return document;
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void gridPages_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<int>("points");
        QTest::newRow("empty") << 0 << false << 9;
        QTest::newRow("one") << 1 << false << 9;
        QTest::newRow("many") << 500 << false << 9;
        QTest::newRow("landscape") << 500 << true << 9;
        QTest::newRow("large font") << 500 << false << 18;
    }

    // Every row is on exactly one page and each page but the last is full.
    void gridPages()
    {
        QFETCH(int, rows);
        QFETCH(bool, landscape);
        QFETCH(int, points);
        KeyedGridModel grid;
        fillGrid(grid, rows);
        const GridRows shown(grid);
        GridPrintSettings settings;
        settings.fontPoints = points;
        settings.page.setOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        QBuffer nowhere;
        QPdfWriter writer(&nowhere);
        writer.setPageLayout(settings.page);
        GridPrintLayout layout(shown, settings);
        const int pages = layout.paginate(writer);
        QCOMPARE(pages, std::max(1, (rows + layout.rowsPerPage() - 1) / layout.rowsPerPage()));
        QVERIFY(layout.rowsPerPage() > 10);

        GridPrintSettings portrait9;
        GridPrintLayout reference(shown, portrait9);
        QPdfWriter referenceWriter(&nowhere);
        referenceWriter.setPageLayout(portrait9.page);
        reference.paginate(referenceWriter);
        if (landscape || points > 9)
            QVERIFY(layout.rowsPerPage() < reference.rowsPerPage());
    }

    void gridPdf()
    {
        KeyedGridModel grid;
        fillGrid(grid, 300, 4);
        grid.setText(grid.fixedRows(), 0, QStringLiteral("Zoë’s row"));
        GridPrintSettings settings;
        settings.title = QStringLiteral("Stock list");
        const GridRows rows(grid);
        GridPrintLayout layout(rows, settings);
        const QString path = m_env->scratch() + QStringLiteral("/grid.pdf");
        QPdfWriter writer(path);
        QVERIFY(layout.print(writer));
        const QByteArray pdf = ReadBytes(path);
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdfPages(pdf), layout.pageCount());
        QVERIFY(layout.pageCount() > 1);
        const QString text = pdfText(path);
        if (text.isEmpty())
            QSKIP("pdftotext is not installed");
        QVERIFY(text.contains(QStringLiteral("Stock list")));
        QVERIFY(text.contains(QStringLiteral("Page 1 of %1").arg(layout.pageCount())));
        QVERIFY(text.contains(QStringLiteral("Zoë’s row")));
        QVERIFY(text.contains(QStringLiteral("r299c0")));
    }

    void richTextPages_data()
    {
        QTest::addColumn<int>("paragraphs");
        QTest::addColumn<int>("margin");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("one line") << 1 << 20 << false;
        QTest::newRow("long") << 300 << 20 << false;
        QTest::newRow("wide margins") << 300 << 60 << false;
        QTest::newRow("landscape") << 300 << 20 << true;
    }

    void richTextPages()
    {
        QFETCH(int, paragraphs);
        QFETCH(int, margin);
        QFETCH(bool, landscape);
        const auto document = tst_GridPrint::paragraphs(paragraphs);
        const QPageLayout page(QPageSize(QPageSize::A4),
                               landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                               QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
        RichTextPages pages(*document, page);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        QVERIFY(pages.print(writer));
        QCOMPARE(pdfPages(buffer.data()), pages.pageCount());

        const QPageLayout reference(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        RichTextPages referencePages(*document, reference);
        QPdfWriter referenceWriter(&buffer);
        referenceWriter.setPageLayout(reference);
        referencePages.layout(&referenceWriter);
        if (paragraphs == 1)
            QCOMPARE(pages.pageCount(), 1);
        else if (margin > 20 || landscape)
            QVERIFY(pages.pageCount() > referencePages.pageCount());
        else
            QVERIFY(pages.pageCount() > 3);
    }

    // The copy is taken at once: the original may change or go.
    void richTextPagesKeepTheirCopy()
    {
        auto document = paragraphs(3);
        RichTextPages pages(*document, QPageLayout());
        document.reset();
        const QString path = m_env->scratch() + QStringLiteral("/text.pdf");
        QPdfWriter writer(path);
        QVERIFY(pages.print(writer));
        QVERIFY(ReadBytes(path).startsWith("%PDF"));
    }

    void richTextPdfIsWholeOrNothing()
    {
        const auto document = paragraphs(40);
        const QPageLayout page(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                               QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        const QString path = m_env->writeFile(QStringLiteral("pdf/old.pdf"), "old");
        QString error;
        QVERIFY(RichTextPages::printToPdf(*document, page, path, &error));
        QVERIFY(ReadBytes(path).startsWith("%PDF"));
        QVERIFY(!RichTextPages::printToPdf(
            *document, page, m_env->scratch() + QStringLiteral("/no/such.pdf"), &error));
        QVERIFY(!error.isEmpty());
        const QString text = pdfText(path);
        if (!text.isEmpty())
            QVERIFY(text.contains(QStringLiteral("Paragraph 40 of the printed text.")));
    }
};

QTEST_MAIN(tst_GridPrint)
#include "tst_GridPrint.moc"
