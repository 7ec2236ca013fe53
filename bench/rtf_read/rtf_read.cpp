// Reading speed of the RTF reader.
//   rtf_read [--runs N] FILE...   reads each file N times (default 5) and prints MB/s
//   rtf_read --text FILE          prints the plain text the reader found
//   rtf_read --make FILE [MB]     writes a document of real formatting (default 5 MB)
//   rtf_read --write FILE [N]     reads FILE and writes it back N times (default 5); prints
//                                 read_ms=R write_ms=W ratio=W/R (best runs)
#include "RtfPlainText.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <cstdio>

namespace
{

QByteArray readFile(const QString &path, bool *ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

// One chapter of mixed formatting: headings, styled runs in several fonts and colours,
// accented and non-Latin letters, bullet and numbered lists, a table.
void appendChapter(QTextCursor &cursor, int chapter)
{
    static const QStringList words = {
        QStringLiteral("Speiseplan"), QStringLiteral("Gemüse"),      QStringLiteral("café"),
        QStringLiteral("naïve"),      QStringLiteral("résumé"),      QStringLiteral("straße"),
        QStringLiteral("Ελληνικά"),   QStringLiteral("русский"),     QStringLiteral("测试"),
        QStringLiteral("한국어"),     QStringLiteral("table"),       QStringLiteral("paragraph"),
        QStringLiteral("{braces}"),   QStringLiteral("back\\slash"), QStringLiteral("quote’s"),
        QStringLiteral("the"),        QStringLiteral("and"),         QStringLiteral("of"),
        QStringLiteral("document"),   QStringLiteral("format")};
    static const QStringList fonts = {QStringLiteral("Times New Roman"), QStringLiteral("Arial"),
                                      QStringLiteral("Courier New"), QStringLiteral("Calibri")};
    static const QList<QColor> colors = {Qt::black, Qt::darkRed, Qt::darkBlue, Qt::darkGreen};

    QTextBlockFormat heading;
    heading.setAlignment(Qt::AlignHCenter);
    heading.setTopMargin(12);
    heading.setBottomMargin(6);
    QTextCharFormat headingChars;
    headingChars.setFontPointSize(16);
    headingChars.setFontWeight(QFont::Bold);
    cursor.insertBlock(heading);
    cursor.insertText(QStringLiteral("Chapter %1").arg(chapter), headingChars);

    int word = chapter;
    for (int paragraph = 0; paragraph < 12; ++paragraph) {
        QTextBlockFormat block;
        block.setAlignment(paragraph % 3 == 0 ? Qt::AlignJustify : Qt::AlignLeft);
        block.setLeftMargin(paragraph % 4 * 12);
        block.setTextIndent(paragraph % 2 * 24);
        block.setBottomMargin(4);
        cursor.insertBlock(block);
        for (int run = 0; run < 8; ++run) {
            QTextCharFormat chars;
            chars.setFontFamilies({fonts[(run + paragraph) % fonts.size()]});
            chars.setFontPointSize(10 + run % 3);
            chars.setFontWeight(run % 4 == 1 ? QFont::Bold : QFont::Normal);
            chars.setFontItalic(run % 5 == 2);
            chars.setFontUnderline(run % 7 == 3);
            chars.setForeground(colors[run % colors.size()]);
            QString text;
            for (int i = 0; i < 9; ++i)
                text += words[(word++ * 7) % words.size()] + u' ';
            cursor.insertText(text, chars);
        }
        if (paragraph == 5) {
            QTextListFormat list;
            list.setStyle(chapter % 2 ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal);
            cursor.insertList(list);
            for (int item = 0; item < 4; ++item) {
                if (item > 0)
                    cursor.insertBlock();
                cursor.insertText(QStringLiteral("Item %1 of the list: ").arg(item + 1) +
                                  words[(word++) % words.size()]);
            }
            cursor.insertBlock(QTextBlockFormat());
        }
    }
    QTextTable *table = cursor.insertTable(4, 3);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            QTextCursor cell = table->cellAt(row, column).firstCursorPosition();
            cell.insertText(QStringLiteral("R%1C%2 ").arg(row).arg(column) +
                            words[(word++) % words.size()]);
        }
    }
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
}

int make(const QString &path, double megabytes)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const qint64 target = qint64(megabytes * 1e6);
    QByteArray rtf;
    int chapters = 0;
    while (rtf.size() < target) {
        // Grow in steps sized from the last measure, so the writer runs only a few times.
        const int more =
            chapters == 0
                ? 50
                : std::max<int>(1, int(chapters * (double(target) / double(rtf.size()) - 1.0)) + 1);
        for (int i = 0; i < more; ++i)
            appendChapter(cursor, ++chapters);
        rtf = RtfWriter().write(document);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%s: %lld bytes, %d chapters\n", qPrintable(path), qlonglong(rtf.size()), chapters);
    return 0;
}

int printText(const QString &path)
{
    bool ok = false;
    const QByteArray rtf = readFile(path, &ok);
    if (!ok) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    QTextDocument document;
    RtfReader reader;
    if (!reader.read(rtf, &document))
        std::fprintf(stderr, "%s: damaged input (flags 0x%x)\n", qPrintable(path),
                     unsigned(reader.damage().toInt()));
    std::fputs(RtfPlainText::fromDocument(document).toUtf8().constData(), stdout);
    return 0;
}

int measure(const QStringList &paths, int runs)
{
    int failures = 0;
    for (const QString &path : paths) {
        bool ok = false;
        const QByteArray rtf = readFile(path, &ok);
        if (!ok) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            ++failures;
            continue;
        }
        RtfReader reader;
        QElapsedTimer timer;
        qint64 best = std::numeric_limits<qint64>::max();
        qint64 total = 0;
        for (int run = 0; run < runs; ++run) {
            QTextDocument document;
            timer.start();
            reader.read(rtf, &document);
            const qint64 elapsed = timer.nsecsElapsed();
            best = std::min(best, elapsed);
            total += elapsed;
        }
        const double megabytes = rtf.size() / 1e6;
        std::printf(
            "%s: %.2f MB, %d runs, mean %.1f ms, best %.1f ms, %.1f MB/s (best %.1f MB/s)\n",
            qPrintable(path), megabytes, runs, total / 1e6 / runs, best / 1e6,
            megabytes * runs / (total / 1e9), megabytes / (best / 1e9));
    }
    return failures == 0 ? 0 : 1;
}

// Saving costs against reading: the best of runs reads of the file into a document and the best
// of runs writes of that document.
int measureWrite(const QString &path, int runs)
{
    bool ok = false;
    const QByteArray rtf = readFile(path, &ok);
    if (!ok) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    QElapsedTimer timer;
    qint64 bestRead = std::numeric_limits<qint64>::max();
    qint64 bestWrite = std::numeric_limits<qint64>::max();
    qsizetype written = 0;
    for (int run = 0; run < runs; ++run) {
        QTextDocument document;
        timer.start();
        RtfReader().read(rtf, &document);
        bestRead = std::min(bestRead, timer.nsecsElapsed());
        timer.start();
        written = RtfWriter().write(document).size();
        bestWrite = std::min(bestWrite, timer.nsecsElapsed());
    }
    std::fprintf(stderr, "%s: %.2f MB read, %.2f MB written\n", qPrintable(path), rtf.size() / 1e6,
                 written / 1e6);
    std::printf("read_ms=%.1f write_ms=%.1f ratio=%.2f\n", bestRead / 1e6, bestWrite / 1e6,
                double(bestWrite) / double(bestRead));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() >= 2 && args[0] == QLatin1String("--text"))
        return printText(args[1]);
    if (args.size() >= 2 && args[0] == QLatin1String("--make"))
        return make(args[1], args.size() >= 3 ? args[2].toDouble() : 5.0);
    if (args.size() >= 2 && args[0] == QLatin1String("--write"))
        return measureWrite(args[1], args.size() >= 3 ? std::max(1, args[2].toInt()) : 5);
    int runs = 5;
    if (args.size() >= 2 && args[0] == QLatin1String("--runs")) {
        runs = std::max(1, args[1].toInt());
        args = args.mid(2);
    }
    if (args.isEmpty()) {
        std::fprintf(stderr,
                     "usage: rtf_read [--runs N] FILE... | --text FILE | --make FILE [MB] | "
                     "--write FILE [N]\n");
        return 2;
    }
    return measure(args, runs);
}
