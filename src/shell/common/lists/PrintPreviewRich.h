#pragma once

#include <QMarginsF>
#include <QPageLayout>

class QPrintPreviewDialog;
class QTextDocument;
class QWidget;

// The print preview of a rich text: the pages laid out by RichTextPages on the default page
// size with the given margins (millimetres) and orientation, in a preview window that prints
// them too. The window opens over parent without blocking it, keeps its own copy of the text
// and deletes itself when closed.
QPrintPreviewDialog *PrintPreviewRich(const QTextDocument &document, const QMarginsF &margins,
                                      QPageLayout::Orientation orientation,
                                      QWidget *parent = nullptr);
