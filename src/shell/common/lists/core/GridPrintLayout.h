#pragma once

#include <QFont>
#include <QList>
#include <QPageLayout>
#include <QPen>
#include <QString>

class GridRows;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

// How a grid is printed.
struct GridPrintSettings {
    QString title;
    QPageLayout page{QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                     QPageLayout::Millimeter};
    qreal fontPoints = 9;
    bool gridLines = true;
};

// Lays the shown rows of a grid out on pages: on every page the title at the left and "Page N
// of M" at the right, the column captions under them, then as many rows as fit, one line each
// (a longer text is cut with an ellipsis). Columns keep the grid's proportions and are narrowed
// together when they do not fit the page's width.
//
// Coordinates are the device's, with the origin at the top left of the page's paint rectangle,
// as QPrinter and QPdfWriter set up their painters. Works on the grid's thread (it reads rows).
class GridPrintLayout
{
public:
    GridPrintLayout(const GridRows &rows, const GridPrintSettings &settings);

    // Lays the pages out for device; returns the page count (at least 1: an empty grid prints
    // its captions).
    int paginate(const QPaintDevice &device);
    int pageCount() const { return m_pages; }
    int rowsPerPage() const { return m_rowsPerPage; }
    // Paints one page (from 0) with a painter begun on the device paginate() was given.
    void paintPage(QPainter &painter, int page) const;
    // Prints every page on device (a QPdfWriter or a QPrinter set up by the caller); false when
    // painting cannot begin there.
    bool print(QPagedPaintDevice &device);

private:
    void paintRow(QPainter &painter, const QStringList &cells, qreal top, bool caption) const;

    const GridRows &m_rows;
    GridPrintSettings m_settings;
    QFont m_font;
    QFont m_bold;
    QPen m_linePen;
    QList<qreal> m_widths; // per shown column, device units
    qreal m_width = 0;     // of the paint rectangle
    qreal m_rowHeight = 0;
    qreal m_headerHeight = 0;
    int m_rowsPerPage = 1;
    int m_pages = 1;
};
