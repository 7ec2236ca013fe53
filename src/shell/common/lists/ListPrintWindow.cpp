#include "ListPrintWindow.h"

#include "AppFolders.h"
#include "Dialogs.h"
#include "GridExport.h"
#include "GridRows.h"
#include "ThemeIcon.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QVBoxLayout>

ListPrintWindow::ListPrintWindow(const KeyedGridModel &grid, const QString &title, QWidget *parent)
    : QDialog(parent), m_rows(std::make_unique<GridRows>(grid))
{
    setObjectName(QStringLiteral("frmListPrint"));
    setWindowTitle(tr("Print List"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("document-print")));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    txtTitle = new QLineEdit(title, this);
    txtTitle->setObjectName(QStringLiteral("txtTitle"));
    txtTitle->setMinimumWidth(360);
    form->addRow(tr("Title:"), txtTitle);
    cboOrientation = new QComboBox(this);
    cboOrientation->setObjectName(QStringLiteral("cboOrientation"));
    cboOrientation->addItem(ThemeIcon::get(QStringLiteral("x-office-document")), tr("Portrait"),
                            int(QPageLayout::Portrait));
    cboOrientation->addItem(ThemeIcon::get(QStringLiteral("x-office-presentation")),
                            tr("Landscape"), int(QPageLayout::Landscape));
    // Wide grids read better across the page.
    if (m_rows->columns().size() > 6)
        cboOrientation->setCurrentIndex(1);
    form->addRow(tr("Orientation:"), cboOrientation);
    spnFontSize = new QSpinBox(this);
    spnFontSize->setObjectName(QStringLiteral("spnFontSize"));
    spnFontSize->setRange(6, 24);
    spnFontSize->setValue(9);
    spnFontSize->setSuffix(tr(" pt"));
    form->addRow(tr("Font size:"), spnFontSize);
    chkGridLines = new QCheckBox(tr("Grid lines"), this);
    chkGridLines->setObjectName(QStringLiteral("chkGridLines"));
    chkGridLines->setChecked(true);
    form->addRow(QString(), chkGridLines);
    lblPages = new QLabel(this);
    lblPages->setObjectName(QStringLiteral("lblPages"));
    form->addRow(tr("Pages:"), lblPages);
    layout->addLayout(form);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *cmdPreview = buttons->addButton(tr("Preview…"), QDialogButtonBox::ActionRole);
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
    cmdPreview->setIcon(ThemeIcon::get(QStringLiteral("document-print-preview")));
    QPushButton *cmdPdf = buttons->addButton(tr("Print to PDF…"), QDialogButtonBox::ActionRole);
    cmdPdf->setObjectName(QStringLiteral("cmdPdf"));
    cmdPdf->setIcon(ThemeIcon::get(QStringLiteral("application-pdf")));
    QPushButton *cmdPrint = buttons->addButton(tr("Print…"), QDialogButtonBox::ActionRole);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setIcon(ThemeIcon::get(QStringLiteral("document-print")));
    QPushButton *cmdClose = buttons->addButton(QDialogButtonBox::Close);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    layout->addWidget(buttons);

    connect(cmdPreview, &QPushButton::clicked, this, &ListPrintWindow::preview);
    connect(cmdPdf, &QPushButton::clicked, this, qOverload<>(&ListPrintWindow::printToPdf));
    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(settings().page);
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() == QDialog::Accepted)
            printOn(&printer);
    });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(cboOrientation, &QComboBox::currentIndexChanged, this, &ListPrintWindow::updatePages);
    connect(spnFontSize, &QSpinBox::valueChanged, this, &ListPrintWindow::updatePages);
    updatePages();
}

ListPrintWindow::~ListPrintWindow() = default;

void ListPrintWindow::ListPrint(const KeyedGridModel &grid, const QString &title, QWidget *parent)
{
    ListPrintWindow window(grid, title, parent);
    window.exec();
}

GridPrintSettings ListPrintWindow::settings() const
{
    GridPrintSettings settings;
    settings.title = txtTitle->text();
    settings.page.setOrientation(QPageLayout::Orientation(cboOrientation->currentData().toInt()));
    settings.fontPoints = spnFontSize->value();
    settings.gridLines = chkGridLines->isChecked();
    return settings;
}

int ListPrintWindow::pageCount() const
{
    // Counted on a PDF page of the same layout, so no printer is needed; nothing is painted.
    QBuffer nowhere;
    QPdfWriter writer(&nowhere);
    writer.setPageLayout(settings().page);
    GridPrintLayout layout(*m_rows, settings());
    return layout.paginate(writer);
}

void ListPrintWindow::updatePages()
{
    lblPages->setText(QString::number(pageCount()));
}

void ListPrintWindow::printOn(QPrinter *printer)
{
    GridPrintLayout layout(*m_rows, settings());
    QPainter painter;
    if (!painter.begin(printer))
        return;
    layout.paginate(*printer);
    for (int page = 0; page < layout.pageCount(); ++page) {
        if (page > 0)
            printer->newPage();
        layout.paintPage(painter, page);
    }
}

QPrintPreviewDialog *ListPrintWindow::preview()
{
    auto *printer = new QPrinter(QPrinter::HighResolution);
    printer->setPageLayout(settings().page);
    auto *dialog = new QPrintPreviewDialog(printer, this);
    dialog->setObjectName(QStringLiteral("dlgPreview"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->resize(900, 700);
    connect(dialog, &QObject::destroyed, dialog, [printer] { delete printer; });
    connect(dialog, &QPrintPreviewDialog::paintRequested, this, &ListPrintWindow::printOn);
    dialog->open();
    return dialog;
}

bool ListPrintWindow::printToPdf()
{
    const QString folder = AppFolders::inUserFiles(QStringLiteral("Exported Files\\PDF"));
    QDir().mkpath(folder);
    const QString proposed =
        folder + u'/' + GridExport::fileNameOf(txtTitle->text()) + QStringLiteral(".pdf");
    QString path = Dialogs::instance().saveFileName(tr("Print to PDF"), proposed,
                                                    QStringLiteral("PDF File (*.pdf)|*.pdf"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    return printToPdf(path);
}

bool ListPrintWindow::printToPdf(const QString &path)
{
    QSaveFile file(path);
    bool printed = file.open(QIODevice::WriteOnly);
    if (printed) {
        QPdfWriter writer(&file);
        writer.setTitle(txtTitle->text());
        writer.setCreator(QStringLiteral("Nuvela Utilities"));
        GridPrintLayout layout(*m_rows, settings());
        printed = layout.print(writer);
    }
    if (!printed || !file.commit()) {
        file.cancelWriting();
        Dialogs::instance().message(
            tr("The file cannot be written:\n%1").arg(QDir::toNativeSeparators(path)),
            windowTitle(), Dialogs::Icon::Critical);
        return false;
    }
    return true;
}
