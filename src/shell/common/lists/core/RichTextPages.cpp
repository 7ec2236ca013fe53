#include "RichTextPages.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextFrame>

#include <cmath>

RichTextPages::RichTextPages(const QTextDocument &document, const QPageLayout &page)
    : m_page(page), m_copy(document.clone())
{
    // The page's margins frame the text: the document's own margin would add to them.
    QTextFrameFormat root = m_copy->rootFrame()->frameFormat();
    root.setMargin(0);
    m_copy->rootFrame()->setFrameFormat(root);
}

RichTextPages::~RichTextPages() = default;

int RichTextPages::layout(QPaintDevice *device)
{
    // Measured on the device, the text breaks into lines and pages as it will print.
    m_copy->documentLayout()->setPaintDevice(device);
    m_body = QSizeF(device->width(), device->height());
    m_copy->setPageSize(m_body);
    m_pages = std::max(1, m_copy->pageCount());
    return m_pages;
}

void RichTextPages::paintPage(QPainter &painter, int page) const
{
    painter.save();
    const qreal top = page * m_body.height();
    painter.translate(0, -top);
    const QRectF view(0, top, m_body.width(), m_body.height());
    painter.setClipRect(view);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = view;
    context.palette.setColor(QPalette::Text, Qt::black);
    m_copy->documentLayout()->draw(&painter, context);
    painter.restore();
}

bool RichTextPages::print(QPagedPaintDevice &device)
{
    device.setPageLayout(m_page);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    layout(&device);
    for (int page = 0; page < m_pages; ++page) {
        if (page > 0)
            device.newPage();
        paintPage(painter, page);
    }
    return painter.end();
}

bool RichTextPages::printToPdf(const QTextDocument &document, const QPageLayout &page,
                               const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    bool printed = false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("Nuvela Utilities"));
        RichTextPages pages(document, page);
        printed = pages.print(writer);
    }
    if (!printed) {
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("The pages cannot be printed.");
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
