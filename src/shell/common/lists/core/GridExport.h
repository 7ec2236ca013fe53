#pragma once

#include <QDate>
#include <QString>

#include <functional>

class GridRows;

// Writes the shown part of a grid to a file other programs read: CSV (RFC 4180, UTF-8 with a
// byte-order mark so spreadsheets take the letters right, lines ended by CR LF), HTML (one
// table under the title) or an Excel workbook (.xlsx). A file is written whole or not at all:
// the old file stays until the new one is complete, and a cancelled or failed export leaves
// nothing behind.
class GridExport
{
public:
    enum class Format { Csv, Html, Xlsx };

    static QString extension(Format format);
    // The save picker's filter of a format, "Caption|*.ext".
    static QString filter(Format format);
    // The fixed export folder of a format under the user files ("Exported Files\Excel", ...).
    static QString folder(Format format);

    // The title of an exported grid: today as "dd MMM-yyyy" when national, else "MMM dd-yyyy",
    // then " - " and the table's name without its folder.
    static QString title(QDate today, bool national, const QString &tableName);
    // title as a file name: characters that file systems refuse become "_", and an empty or
    // dot-only name becomes "Export".
    static QString fileNameOf(const QString &title);

    // What a long export reports and asks while it writes: rowsDone after each page of rows;
    // cancelled is asked before each page and while a page is read (either may be empty).
    struct Monitor {
        std::function<void(int rowsDone)> rowsDone;
        std::function<bool()> cancelled;
    };

    // Writes every row of rows to path. False, with the reason in error unless cancelled, when
    // nothing was written.
    static bool write(Format format, const QString &path, const GridRows &rows,
                      const QString &title, const Monitor &monitor = {}, QString *error = nullptr);

    // One field of a CSV line: quoted when it holds a comma, a quote, a line break or blanks at
    // either end; quotes doubled.
    static QString csvField(const QString &text);

private:
    static bool writeText(Format format, const QString &path, const GridRows &rows,
                          const QString &title, const Monitor &monitor, QString *error);
    static bool writeXlsx(const QString &path, const GridRows &rows, const QString &title,
                          const Monitor &monitor, QString *error);
};
