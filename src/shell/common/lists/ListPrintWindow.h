#pragma once

#include "GridPrintLayout.h"

#include <QDialog>

#include <memory>

class GridRows;
class KeyedGridModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrintPreviewDialog;
class QPrinter;
class QSpinBox;

// The print window of a grid: title, orientation, font size and grid lines; the page count as
// they are set; a preview (QPrintPreviewDialog), printing on a printer, and printing to a PDF
// file, which needs no printer at all.
class ListPrintWindow : public QDialog
{
    Q_OBJECT
public:
    ListPrintWindow(const KeyedGridModel &grid, const QString &title, QWidget *parent = nullptr);
    ~ListPrintWindow() override;

    // "ListPrint": shows the window modally for grid.
    static void ListPrint(const KeyedGridModel &grid, const QString &title,
                          QWidget *parent = nullptr);

    GridPrintSettings settings() const;
    // Pages of the settings on the default page size.
    int pageCount() const;
    // Opens the preview (cmdPreview); it closes itself, and deletes itself when closed.
    QPrintPreviewDialog *preview();
    // Asks where (a PDF picker in the PDF export folder) and prints there (cmdPdf); true when the
    // file was written.
    bool printToPdf();
    // Writes the PDF to path; false with a message when it cannot.
    bool printToPdf(const QString &path);

private:
    void updatePages();
    void printOn(QPrinter *printer);

    std::unique_ptr<GridRows> m_rows;
    QLineEdit *txtTitle = nullptr;
    QComboBox *cboOrientation = nullptr;
    QSpinBox *spnFontSize = nullptr;
    QCheckBox *chkGridLines = nullptr;
    QLabel *lblPages = nullptr;
};
