#include "PrintSingle.h"

#include "DocumentText.h"
#include "ListDocument.h"
#include "RtfReader.h"
#include "SharedRoutines.h"

#include <QImageReader>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>
#include <QUrl>

namespace
{

// Printed pictures fit a page's width at the preview's resolution.
constexpr int MaxPictureWidth = 640;

QString dateText(const QDateTime &value, bool national)
{
    return value.isValid() ? FormatDate(value, national ? QStringLiteral("dd MMM-yyyy")
                                                        : QStringLiteral("MMM dd-yyyy"))
                           : QString();
}

void insertHeader(QTextCursor &cursor, const DocumentRecord &row, bool national)
{
    const QStringList captions = PrintSingle::captions();
    const QStringList values = {dateText(row.date, national),
                                row.type,
                                row.category1,
                                row.documentName,
                                row.serialNo ? QString::number(*row.serialNo) : QString(),
                                row.version,
                                row.author,
                                row.progress};
    QTextTableFormat format;
    format.setBorderStyle(QTextFrameFormat::BorderStyle_None);
    format.setCellPadding(3);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QTextTable *table = cursor.insertTable(int(captions.size()) / 2, 4, format);
    QTextCharFormat caption;
    caption.setFontWeight(QFont::Bold);
    for (int i = 0; i < captions.size(); ++i) {
        const int row = i / 2;
        const int column = (i % 2) * 2;
        table->cellAt(row, column).firstCursorPosition().insertText(captions[i], caption);
        table->cellAt(row, column + 1).firstCursorPosition().insertText(values[i]);
    }
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat rule;
    rule.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                     QTextLength(QTextLength::PercentageLength, 100));
    cursor.insertBlock(rule);
    cursor.insertBlock(QTextBlockFormat());
}

void insertList(QTextCursor &cursor, const ListDocument &list)
{
    QList<int> shown;
    for (int c = 0; c < list.columns(); ++c) {
        if (!list.column(c).hidden)
            shown << c;
    }
    const int rows = std::min(list.rows(), PrintSingle::MaxListRows);
    if (shown.isEmpty() || rows == 0)
        return;
    QTextTableFormat format;
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setBorderCollapse(true);
    format.setHeaderRowCount(std::min(list.fixedRows(), rows));
    QTextTable *table = cursor.insertTable(rows, int(shown.size()), format);
    for (int r = 0; r < rows; ++r) {
        for (int i = 0; i < shown.size(); ++i)
            table->cellAt(r, i).firstCursorPosition().insertText(list.cell(r, shown[i]));
    }
    cursor.movePosition(QTextCursor::End);
    if (list.rows() > rows)
        cursor.insertText(
            QStringLiteral("… and %1 more rows: the list's own Print tool prints them all.")
                .arg(list.rows() - rows));
}

void insertBody(QTextCursor &cursor, QTextDocument &report, const QString &path)
{
    const QString unreadable = QStringLiteral("The file cannot be read: %1").arg(path);
    switch (DocumentText::kindOf(path)) {
    case DocumentText::Kind::RichText: {
        bool ok = false;
        const QByteArray bytes = DocumentText::readFile(path, &ok);
        if (!ok) {
            cursor.insertText(unreadable);
            return;
        }
        QTextDocument body;
        RtfReader().read(bytes, &body);
        cursor.insertFragment(QTextDocumentFragment(&body));
        return;
    }
    case DocumentText::Kind::List: {
        QString error;
        if (const std::optional<ListDocument> list = ListDocument::load(path, &error))
            insertList(cursor, *list);
        else
            cursor.insertText(unreadable);
        return;
    }
    case DocumentText::Kind::Picture: {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QSize size = reader.size();
        if (size.isValid() && size.width() > MaxPictureWidth)
            reader.setScaledSize(size.scaled(MaxPictureWidth, size.height(), Qt::KeepAspectRatio));
        const QImage picture = reader.read();
        if (picture.isNull()) {
            cursor.insertText(unreadable);
            return;
        }
        const QUrl name(QStringLiteral("nuvela-report://picture"));
        report.addResource(QTextDocument::ImageResource, name, picture);
        QTextImageFormat image;
        image.setName(name.toString());
        image.setWidth(picture.width());
        image.setHeight(picture.height());
        cursor.insertImage(image);
        return;
    }
    case DocumentText::Kind::PlainText:
    case DocumentText::Kind::Other:
        break;
    }
    bool ok = false;
    const QString text = DocumentText::readPlainFile(path, &ok);
    cursor.insertText(ok ? text : unreadable);
}

} // namespace

QStringList PrintSingle::captions()
{
    return {QStringLiteral("Date"),      QStringLiteral("Type"),
            QStringLiteral("Category"),  QStringLiteral("Document Name"),
            QStringLiteral("Serial No"), QStringLiteral("Version"),
            QStringLiteral("Author"),    QStringLiteral("Progress")};
}

std::unique_ptr<QTextDocument>
PrintSingle::report(const QString &path, const std::optional<DocumentRecord> &row, bool national)
{
    auto report = std::make_unique<QTextDocument>();
    report->setDocumentMargin(0);
    QTextCursor cursor(report.get());
    if (row)
        insertHeader(cursor, *row, national);
    insertBody(cursor, *report, path);
    return report;
}
