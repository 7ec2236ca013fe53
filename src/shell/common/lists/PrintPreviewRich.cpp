#include "PrintPreviewRich.h"

#include "RichTextPages.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

QPrintPreviewDialog *PrintPreviewRich(const QTextDocument &document, const QMarginsF &margins,
                                      QPageLayout::Orientation orientation, QWidget *parent)
{
    auto *printer = new QPrinter(QPrinter::HighResolution);
    printer->setPageOrientation(orientation);
    printer->setPageMargins(margins, QPageLayout::Millimeter);
    auto *dialog = new QPrintPreviewDialog(printer, parent);
    dialog->setObjectName(QStringLiteral("dlgPrintPreview"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->resize(900, 760);
    // The copy is the preview's: the editor may change its text while the preview is open.
    auto *copy = document.clone(dialog);
    QObject::connect(dialog, &QObject::destroyed, dialog, [printer] { delete printer; });
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [copy](QPrinter *target) {
                         RichTextPages pages(*copy, target->pageLayout());
                         QPainter painter;
                         if (!painter.begin(target))
                             return;
                         pages.layout(target);
                         for (int page = 0; page < pages.pageCount(); ++page) {
                             if (page > 0)
                                 target->newPage();
                             pages.paintPage(painter, page);
                         }
                     });
    dialog->open();
    return dialog;
}
