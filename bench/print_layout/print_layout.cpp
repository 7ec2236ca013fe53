// Page layout of a long rich text for the print preview, against Qt printing it to a PDF.
//   print_layout [PAGES]   makes a document of about PAGES pages (default 200), lays it out as the
//                          preview does (RichTextPages) and prints it with QTextDocument::print
//                          to a PDF in memory; best of three runs each. Prints
//                          pages=N layout_ms=M qt_pdf_ms=Q ratio=M/Q
#include "RichTextPages.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <cstdio>
#include <limits>

namespace
{

// Paragraphs of mixed formatting, with a list now and then: about a page every ten of them.
void appendChapter(QTextCursor &cursor, int chapter)
{
    QTextCharFormat heading;
    heading.setFontPointSize(16);
    heading.setFontWeight(QFont::Bold);
    QTextBlockFormat headingBlock;
    headingBlock.setTopMargin(12);
    cursor.insertBlock(headingBlock);
    cursor.insertText(QStringLiteral("Chapter %1").arg(chapter), heading);
    for (int paragraph = 0; paragraph < 8; ++paragraph) {
        QTextBlockFormat block;
        block.setAlignment(paragraph % 3 ? Qt::AlignLeft : Qt::AlignJustify);
        block.setBottomMargin(4);
        cursor.insertBlock(block);
        for (int run = 0; run < 6; ++run) {
            QTextCharFormat chars;
            chars.setFontPointSize(10 + run % 3);
            chars.setFontWeight(run % 4 == 1 ? QFont::Bold : QFont::Normal);
            chars.setFontItalic(run % 5 == 2);
            cursor.insertText(QStringLiteral("The quick brown fox jumps over the lazy dog, "
                                             "naïve café Ελληνικά %1. ")
                                  .arg(chapter * 100 + paragraph * 10 + run),
                              chars);
        }
    }
    QTextListFormat list;
    list.setStyle(QTextListFormat::ListDisc);
    cursor.insertList(list);
    cursor.insertText(QStringLiteral("A point of chapter %1").arg(chapter));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Another point"));
    cursor.insertBlock(QTextBlockFormat());
}

QPageLayout pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                       QPageLayout::Millimeter);
}

int pagesOf(const QTextDocument &document)
{
    QBuffer nowhere;
    QPdfWriter writer(&nowhere);
    writer.setPageLayout(pageLayout());
    RichTextPages pages(document, pageLayout());
    return pages.layout(&writer);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int wanted = argc > 1 ? std::max(1, atoi(argv[1])) : 200;

    QTextDocument document;
    QTextCursor cursor(&document);
    int chapters = 0;
    while (chapters < 5)
        appendChapter(cursor, ++chapters);
    // Grow by the measured pages per chapter until the document has the pages asked for.
    for (int pages = pagesOf(document); pages < wanted; pages = pagesOf(document)) {
        const int more = std::max(1, int((wanted - pages) * double(chapters) / pages) + 1);
        for (int i = 0; i < more; ++i)
            appendChapter(cursor, ++chapters);
    }

    QElapsedTimer timer;
    qint64 layoutBest = std::numeric_limits<qint64>::max();
    qint64 printBest = std::numeric_limits<qint64>::max();
    int pages = 0;
    qsizetype pdfBytes = 0;
    for (int run = 0; run < 3; ++run) {
        {
            QBuffer nowhere;
            nowhere.open(QIODevice::WriteOnly);
            QPdfWriter writer(&nowhere);
            writer.setPageLayout(pageLayout());
            timer.start();
            RichTextPages layout(document, pageLayout());
            pages = layout.layout(&writer);
            layoutBest = std::min(layoutBest, timer.nsecsElapsed());
        }
        {
            QBuffer pdf;
            pdf.open(QIODevice::WriteOnly);
            QPdfWriter writer(&pdf);
            writer.setPageLayout(pageLayout());
            timer.start();
            document.print(&writer);
            printBest = std::min(printBest, timer.nsecsElapsed());
            pdfBytes = pdf.size();
        }
    }
    std::fprintf(stderr, "%d chapters, PDF of %.1f MB\n", chapters, pdfBytes / 1e6);
    std::printf("pages=%d layout_ms=%.1f qt_pdf_ms=%.1f ratio=%.2f\n", pages, layoutBest / 1e6,
                printBest / 1e6, double(layoutBest) / double(printBest));
    return 0;
}
