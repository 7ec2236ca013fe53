#pragma once

#include <QPageLayout>
#include <QString>

#include <memory>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QTextDocument;

// A rich text laid out page by page, as the print preview and printing show it: the text flows
// over pages of the page layout's paint rectangle (its size, orientation and margins), at the
// resolution of the device it is laid out for. The document is copied once; the original may
// change or go meanwhile.
class RichTextPages
{
public:
    RichTextPages(const QTextDocument &document, const QPageLayout &page);
    ~RichTextPages();

    const QPageLayout &pageLayout() const { return m_page; }
    // Lays the text out for device (which must outlive the layout or the next call); returns
    // the page count, at least 1.
    int layout(QPaintDevice *device);
    int pageCount() const { return m_pages; }
    // Paints page (from 0) with a painter begun on the device of layout(), its origin at the top
    // left of the paint rectangle.
    void paintPage(QPainter &painter, int page) const;
    // Sets the page layout on device, lays out and paints every page; false when painting
    // cannot begin there.
    bool print(QPagedPaintDevice &device);

    // Writes the pages as a PDF file, whole or not at all; false with the reason in error.
    static bool printToPdf(const QTextDocument &document, const QPageLayout &page,
                           const QString &path, QString *error = nullptr);

private:
    QPageLayout m_page;
    std::unique_ptr<QTextDocument> m_copy;
    QSizeF m_body;
    int m_pages = 1;
};
