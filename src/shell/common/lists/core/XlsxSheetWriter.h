#pragma once

#include "GridColumn.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// Writes rows into an Excel workbook (.xlsx) through libxlsxwriter, one row at a time in its
// constant-memory mode: the column captions in bold as a frozen first row, then the cells. A
// cell that reads as a plain decimal number is written as a number (so sums work), any other
// as text. Rows past a sheet's 1,048,576 go on to a further sheet under the same captions;
// texts past a cell's 32,767 characters are cut, and characters XML cannot hold are left out.
class XlsxSheetWriter
{
public:
    explicit XlsxSheetWriter(const QString &path);
    ~XlsxSheetWriter();
    XlsxSheetWriter(const XlsxSheetWriter &) = delete;
    XlsxSheetWriter &operator=(const XlsxSheetWriter &) = delete;

    bool begin(const QList<GridColumn> &columns, const QString &title);
    bool addRow(const QStringList &cells);
    // Writes the file; with ok false the workbook is closed without caring for the file.
    // False, with the library's reason in error, when the file could not be written.
    bool finish(bool ok, QString *error);

    // True for a text written as a number: an optional minus, digits without a leading zero
    // (up to 15 of them), an optional point with up to 15 digits.
    static bool isNumber(const QString &text);
    // The text of a cell as the sheet keeps it (cut and cleaned as above), UTF-8.
    static QByteArray cellText(const QString &text);

private:
    bool addSheet();

    QByteArray m_path;
    QByteArray m_title;
    QList<QByteArray> m_captions;
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_bold = nullptr;
    int m_sheets = 0;
    quint32 m_row = 0;
    int m_error = 0;
};
