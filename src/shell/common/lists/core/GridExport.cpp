#include "GridExport.h"

#include "AppFolders.h"
#include "GridRows.h"
#include "SharedRoutines.h"
#include "XlsxSheetWriter.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace
{

QByteArray htmlHead(const QString &title)
{
    const QByteArray escaped = title.toHtmlEscaped().toUtf8();
    return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + escaped +
           "</title>\n<style>\nbody { font-family: sans-serif; }\ntable { border-collapse: "
           "collapse; }\nth, td { border: 1px solid #999; padding: 2px 6px; vertical-align: top; "
           "}\nth { background: #dde3ea; text-align: left; }\n</style>\n</head>\n<body>\n<h1>" +
           escaped + "</h1>\n<table>\n";
}

QByteArray htmlRow(const QStringList &cells, const char *tag, const QList<GridColumn> &columns)
{
    QByteArray line = "<tr>";
    for (qsizetype c = 0; c < cells.size(); ++c) {
        line += '<';
        line += tag;
        const Qt::Alignment alignment = columns[c].alignment & Qt::AlignHorizontal_Mask;
        if (alignment & Qt::AlignRight)
            line += " style=\"text-align: right\"";
        else if (alignment & Qt::AlignHCenter)
            line += " style=\"text-align: center\"";
        line += '>';
        QString text = cells[c].toHtmlEscaped();
        text.replace(u'\n', QStringLiteral("<br>"));
        line += text.toUtf8();
        line += "</";
        line += tag;
        line += '>';
    }
    return line + "</tr>\n";
}

QByteArray csvLine(const QStringList &cells)
{
    QString line;
    for (qsizetype c = 0; c < cells.size(); ++c) {
        if (c > 0)
            line += u',';
        line += GridExport::csvField(cells[c]);
    }
    return line.toUtf8() + "\r\n";
}

} // namespace

QString GridExport::extension(Format format)
{
    switch (format) {
    case Format::Csv:
        return QStringLiteral("csv");
    case Format::Html:
        return QStringLiteral("html");
    case Format::Xlsx:
        break;
    }
    return QStringLiteral("xlsx");
}

QString GridExport::filter(Format format)
{
    switch (format) {
    case Format::Csv:
        return QStringLiteral("CSV File (*.csv)|*.csv");
    case Format::Html:
        return QStringLiteral("HTML File (*.html)|*.html");
    case Format::Xlsx:
        break;
    }
    return QStringLiteral("Excel workbook (*.xlsx)|*.xlsx");
}

QString GridExport::folder(Format format)
{
    const QString sub =
        format == Format::Html ? QStringLiteral("TableHtml") : QStringLiteral("Excel");
    return AppFolders::inUserFiles(QStringLiteral("Exported Files\\") + sub);
}

QString GridExport::title(QDate today, bool national, const QString &tableName)
{
    const QString date = FormatDate(today.startOfDay(), national ? QStringLiteral("dd MMM-yyyy")
                                                                 : QStringLiteral("MMM dd-yyyy"));
    // Table names of files written on either system may carry either separator.
    const qsizetype cut = std::max(tableName.lastIndexOf(u'/'), tableName.lastIndexOf(u'\\'));
    return date + QStringLiteral(" - ") + tableName.mid(cut + 1);
}

QString GridExport::fileNameOf(const QString &title)
{
    QString name;
    for (const QChar c : title) {
        const bool refused = c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c);
        name += refused ? u'_' : c;
    }
    name = name.trimmed();
    if (name.isEmpty() || name.count(u'.') == name.size())
        return QStringLiteral("Export");
    return name;
}

QString GridExport::csvField(const QString &text)
{
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\n') ||
                       text.contains(u'\r') ||
                       (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quote)
        return text;
    QString field = text;
    field.replace(u'"', QStringLiteral("\"\""));
    return u'"' + field + u'"';
}

bool GridExport::write(Format format, const QString &path, const GridRows &rows,
                       const QString &title, const Monitor &monitor, QString *error)
{
    if (error)
        error->clear();
    if (format == Format::Xlsx)
        return writeXlsx(path, rows, title, monitor, error);
    return writeText(format, path, rows, title, monitor, error);
}

bool GridExport::writeText(Format format, const QString &path, const GridRows &rows,
                           const QString &title, const Monitor &monitor, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const bool html = format == Format::Html;
    if (html) {
        file.write(htmlHead(title));
        file.write("<thead>\n" + htmlRow(rows.captions(), "th", rows.columns()) +
                   "</thead>\n<tbody>\n");
    } else {
        file.write("\xEF\xBB\xBF");
        file.write(csvLine(rows.captions()));
    }
    for (int first = 0; first < rows.rowCount(); first += GridRows::PageRows) {
        const QList<QStringList> page = rows.read(first, GridRows::PageRows, monitor.cancelled);
        if (monitor.cancelled && monitor.cancelled()) {
            file.cancelWriting();
            return false;
        }
        QByteArray chunk;
        for (const QStringList &cells : page)
            chunk += html ? htmlRow(cells, "td", rows.columns()) : csvLine(cells);
        file.write(chunk);
        if (monitor.rowsDone)
            monitor.rowsDone(first + int(page.size()));
    }
    if (html)
        file.write("</tbody>\n</table>\n</body>\n</html>\n");
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool GridExport::writeXlsx(const QString &path, const GridRows &rows, const QString &title,
                           const Monitor &monitor, QString *error)
{
    // The library writes the file itself: it writes a temporary file beside the target, which
    // replaces the target only when complete.
    QTemporaryFile temporary(QFileInfo(path).absolutePath() +
                             QStringLiteral("/.export-XXXXXX.xlsx"));
    if (!temporary.open()) {
        if (error)
            *error = temporary.errorString();
        return false;
    }
    temporary.close();
    XlsxSheetWriter sheet(temporary.fileName());
    bool ok = sheet.begin(rows.columns(), title);
    for (int first = 0; ok && first < rows.rowCount(); first += GridRows::PageRows) {
        const QList<QStringList> page = rows.read(first, GridRows::PageRows, monitor.cancelled);
        if (monitor.cancelled && monitor.cancelled())
            return false; // the temporary file goes with its object
        for (const QStringList &cells : page)
            ok = ok && sheet.addRow(cells);
        if (ok && monitor.rowsDone)
            monitor.rowsDone(first + int(page.size()));
    }
    if (!sheet.finish(ok, error) || !ok)
        return false;
    // Replaces the old file in one step where the system can.
    std::error_code failed;
    std::filesystem::rename(std::filesystem::path(temporary.fileName().toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), failed);
    if (failed) {
        if (error)
            *error = QString::fromStdString(failed.message());
        return false;
    }
    temporary.setAutoRemove(false);
    return true;
}
