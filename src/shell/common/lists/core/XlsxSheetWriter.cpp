#include "XlsxSheetWriter.h"

#include <xlsxwriter.h>

#include <QRegularExpression>

#include <algorithm>

namespace
{

constexpr int MaxCellCharacters = 32767;
// Column widths are in characters, as the grid keeps them; sheets cut very wide ones.
constexpr double MaxColumnWidth = 80;

} // namespace

XlsxSheetWriter::XlsxSheetWriter(const QString &path) : m_path(path.toUtf8()) {}

XlsxSheetWriter::~XlsxSheetWriter()
{
    if (m_workbook)
        workbook_close(m_workbook);
}

bool XlsxSheetWriter::isNumber(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral("^-?(0|[1-9][0-9]{0,14})(\\.[0-9]{1,15})?$"));
    return number.match(text).hasMatch();
}

QByteArray XlsxSheetWriter::cellText(const QString &text)
{
    QString kept;
    kept.reserve(std::min<qsizetype>(text.size(), MaxCellCharacters));
    for (qsizetype i = 0; i < text.size() && kept.size() < MaxCellCharacters; ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n') || u == 0xFFFE || u == 0xFFFF)
            continue;
        if (c.isHighSurrogate()) {
            // a pair is kept whole or not at all
            if (i + 1 < text.size() && text[i + 1].isLowSurrogate() &&
                kept.size() + 2 <= MaxCellCharacters) {
                kept += c;
                kept += text[++i];
            }
            continue;
        }
        if (c.isLowSurrogate())
            continue;
        kept += c;
    }
    return kept.toUtf8();
}

bool XlsxSheetWriter::begin(const QList<GridColumn> &columns, const QString &title)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    m_workbook = workbook_new_opt(m_path.constData(), &options);
    if (!m_workbook)
        return false;
    m_title = cellText(title);
    lxw_doc_properties properties{};
    properties.title = m_title.data();
    workbook_set_properties(m_workbook, &properties);
    m_bold = workbook_add_format(m_workbook);
    format_set_bold(m_bold);
    for (const GridColumn &column : columns)
        m_captions << cellText(column.caption);
    if (!addSheet())
        return false;
    for (qsizetype c = 0; c < columns.size() && c < LXW_COL_MAX; ++c) {
        const double width = std::clamp<double>(columns[c].widthChars + 1, 4, MaxColumnWidth);
        worksheet_set_column(m_sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr);
    }
    return true;
}

bool XlsxSheetWriter::addSheet()
{
    const QByteArray name = "Sheet" + QByteArray::number(++m_sheets);
    m_sheet = workbook_add_worksheet(m_workbook, name.constData());
    if (!m_sheet)
        return false;
    worksheet_freeze_panes(m_sheet, 1, 0);
    for (qsizetype c = 0; c < m_captions.size() && c < LXW_COL_MAX; ++c)
        worksheet_write_string(m_sheet, 0, lxw_col_t(c), m_captions[c].constData(), m_bold);
    m_row = 1;
    return true;
}

bool XlsxSheetWriter::addRow(const QStringList &cells)
{
    if (!m_sheet)
        return false;
    if (m_row >= LXW_ROW_MAX && !addSheet())
        return false;
    for (qsizetype c = 0; c < cells.size() && c < LXW_COL_MAX; ++c) {
        const QString &text = cells[c];
        if (text.isEmpty())
            continue;
        lxw_error result;
        if (isNumber(text)) {
            result = worksheet_write_number(m_sheet, m_row, lxw_col_t(c), text.toDouble(), nullptr);
        } else {
            const QByteArray utf8 = cellText(text);
            result =
                worksheet_write_string(m_sheet, m_row, lxw_col_t(c), utf8.constData(), nullptr);
        }
        if (result != LXW_NO_ERROR) {
            m_error = result;
            return false;
        }
    }
    ++m_row;
    return true;
}

bool XlsxSheetWriter::finish(bool ok, QString *error)
{
    if (!m_workbook) {
        if (error)
            *error = QStringLiteral("The workbook cannot be made.");
        return false;
    }
    const lxw_error closed = workbook_close(m_workbook);
    m_workbook = nullptr;
    const int failure = m_error ? m_error : closed;
    if (ok && failure != LXW_NO_ERROR && error)
        *error = QString::fromUtf8(lxw_strerror(lxw_error(failure)));
    return ok && failure == LXW_NO_ERROR;
}
