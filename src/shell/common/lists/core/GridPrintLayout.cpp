#include "GridPrintLayout.h"

#include "GridRows.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{

// Space around a cell's text, in average characters.
constexpr qreal CellPadding = 0.6;

} // namespace

GridPrintLayout::GridPrintLayout(const GridRows &rows, const GridPrintSettings &settings)
    : m_rows(rows), m_settings(settings)
{
}

int GridPrintLayout::paginate(const QPaintDevice &device)
{
    // Fonts are measured on the device itself, so the pages hold what they will show.
    m_font = QFont(QStringLiteral("DejaVu Sans"));
    m_font.setPointSizeF(std::clamp<qreal>(m_settings.fontPoints, 4, 72));
    m_font.setStyleHint(QFont::SansSerif);
    m_bold = m_font;
    m_bold.setBold(true);
    const QFontMetricsF metrics(m_font, &device);
    const qreal charWidth = metrics.averageCharWidth();
    m_rowHeight = std::ceil(metrics.height() * 1.35);
    m_headerHeight = std::ceil(QFontMetricsF(m_bold, &device).height() * 1.8);
    m_width = device.width();
    m_linePen = QPen(QColor(0x70, 0x70, 0x70));
    m_linePen.setWidthF(std::max<qreal>(1, device.logicalDpiX() / 300.0));

    m_widths.clear();
    qreal total = 0;
    for (const GridColumn &column : m_rows.columns()) {
        const qreal width = (std::max(column.widthChars, 2) + 2 * CellPadding) * charWidth;
        m_widths << width;
        total += width;
    }
    if (total > m_width && total > 0) {
        for (qreal &width : m_widths)
            width *= m_width / total;
    }
    const qreal body = device.height() - m_headerHeight - m_rowHeight; // title band, captions
    m_rowsPerPage = std::max(1, int(body / m_rowHeight));
    m_pages = std::max(1, (m_rows.rowCount() + m_rowsPerPage - 1) / m_rowsPerPage);
    return m_pages;
}

void GridPrintLayout::paintRow(QPainter &painter, const QStringList &cells, qreal top,
                               bool caption) const
{
    const QFontMetricsF metrics(caption ? m_bold : m_font, painter.device());
    const qreal padding = CellPadding * metrics.averageCharWidth();
    qreal left = 0;
    for (qsizetype c = 0; c < m_widths.size(); ++c) {
        const QRectF cell(left, top, m_widths[c], m_rowHeight);
        if (caption)
            painter.fillRect(cell, QColor(0xdd, 0xe3, 0xea));
        if (m_settings.gridLines || caption) {
            painter.setPen(m_linePen);
            painter.drawRect(cell);
        }
        painter.setPen(Qt::black);
        const QRectF text = cell.adjusted(padding, 0, -padding, 0);
        const Qt::Alignment alignment =
            caption ? Qt::AlignLeft : m_rows.columns()[c].alignment & Qt::AlignHorizontal_Mask;
        QString value = cells.value(c);
        value.replace(u'\n', u' ');
        painter.drawText(text, int(alignment | Qt::AlignVCenter),
                         metrics.elidedText(value, Qt::ElideRight, text.width()));
        left += m_widths[c];
    }
}

void GridPrintLayout::paintPage(QPainter &painter, int page) const
{
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(m_bold);
    const QRectF band(0, 0, m_width, m_headerHeight);
    painter.drawText(band, Qt::AlignLeft | Qt::AlignTop, m_settings.title);
    painter.setFont(m_font);
    painter.drawText(band, Qt::AlignRight | Qt::AlignTop,
                     QObject::tr("Page %1 of %2").arg(page + 1).arg(m_pages));
    painter.setFont(m_bold);
    paintRow(painter, m_rows.captions(), m_headerHeight, true);
    painter.setFont(m_font);
    const QList<QStringList> rows = m_rows.read(page * m_rowsPerPage, m_rowsPerPage);
    qreal top = m_headerHeight + m_rowHeight;
    for (const QStringList &cells : rows) {
        paintRow(painter, cells, top, false);
        top += m_rowHeight;
    }
    painter.restore();
}

bool GridPrintLayout::print(QPagedPaintDevice &device)
{
    device.setPageLayout(m_settings.page);
    paginate(device);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int page = 0; page < m_pages; ++page) {
        if (page > 0)
            device.newPage();
        paintPage(painter, page);
    }
    return painter.end();
}
