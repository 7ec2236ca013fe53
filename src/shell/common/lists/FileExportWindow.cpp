#include "FileExportWindow.h"

#include "AppState.h"
#include "Dialogs.h"
#include "GridExportJob.h"
#include "GridRows.h"
#include "JobRunner.h"
#include "Platform.h"
#include "ThemeIcon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

FileExportWindow::FileExportWindow(const KeyedGridModel &grid, const QString &title,
                                   QWidget *parent)
    : QDialog(parent), m_rows(std::make_unique<GridRows>(grid)), m_title(title)
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(tr("Export"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("document-save-as")));
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(title, this);
    heading->setObjectName(QStringLiteral("lblTitle"));
    heading->setTextFormat(Qt::PlainText);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    lblRows = new QLabel(tr("%n row(s)", nullptr, m_rows->rowCount()) +
                             tr(", %n column(s)", nullptr, int(m_rows->columns().size())),
                         this);
    lblRows->setObjectName(QStringLiteral("lblRows"));
    layout->addWidget(lblRows);

    auto *form = new QFormLayout;
    cboFormat = new QComboBox(this);
    cboFormat->setObjectName(QStringLiteral("cboFormat"));
    cboFormat->addItem(ThemeIcon::get(QStringLiteral("x-office-spreadsheet")),
                       tr("Excel workbook (*.xlsx)"), int(GridExport::Format::Xlsx));
    cboFormat->addItem(ThemeIcon::get(QStringLiteral("text-x-generic")), tr("CSV text (*.csv)"),
                       int(GridExport::Format::Csv));
    cboFormat->addItem(ThemeIcon::get(QStringLiteral("text-html")), tr("Web page (*.html)"),
                       int(GridExport::Format::Html));
    form->addRow(tr("Format:"), cboFormat);
    auto *fileRow = new QHBoxLayout;
    txtFileName = new QLineEdit(this);
    txtFileName->setObjectName(QStringLiteral("txtFileName"));
    txtFileName->setMinimumWidth(420);
    auto *cmdBrowse = new QToolButton(this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setIcon(ThemeIcon::get(QStringLiteral("document-open")));
    cmdBrowse->setToolTip(tr("Choose the file"));
    fileRow->addWidget(txtFileName, 1);
    fileRow->addWidget(cmdBrowse);
    form->addRow(tr("File:"), fileRow);
    chkOpen = new QCheckBox(tr("Open the file when it is written"), this);
    chkOpen->setObjectName(QStringLiteral("chkOpen"));
    form->addRow(QString(), chkOpen);
    layout->addLayout(form);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    layout->addWidget(lblStatus);

    auto *buttons = new QDialogButtonBox(this);
    cmdExport = buttons->addButton(tr("Export"), QDialogButtonBox::AcceptRole);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    cmdExport->setIcon(ThemeIcon::get(QStringLiteral("document-save")));
    QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(buttons);

    connect(cboFormat, &QComboBox::currentIndexChanged, this, &FileExportWindow::onFormatChanged);
    connect(cmdBrowse, &QToolButton::clicked, this, &FileExportWindow::browse);
    connect(cmdExport, &QPushButton::clicked, this, &FileExportWindow::exportNow);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    onFormatChanged();
}

FileExportWindow::~FileExportWindow() = default;

void FileExportWindow::FileExport(const KeyedGridModel &grid, const QString &tableName,
                                  QWidget *parent)
{
    FileExportWindow window(
        grid, GridExport::title(QDate::currentDate(), AppState::instance().national, tableName),
        parent);
    window.exec();
}

GridExport::Format FileExportWindow::format() const
{
    return GridExport::Format(cboFormat->currentData().toInt());
}

void FileExportWindow::setFormat(GridExport::Format format)
{
    cboFormat->setCurrentIndex(cboFormat->findData(int(format)));
}

QString FileExportWindow::path() const
{
    return QDir::fromNativeSeparators(txtFileName->text().trimmed());
}

void FileExportWindow::onFormatChanged()
{
    // The name follows the format: its extension, and its export folder unless the user chose
    // another folder.
    const QString extension = GridExport::extension(format());
    const QString current = path();
    const QFileInfo info(current);
    QString folder = info.path();
    if (current.isEmpty() || folder == m_proposedFolder)
        folder = GridExport::folder(format());
    m_proposedFolder = folder;
    const QString name =
        current.isEmpty() ? GridExport::fileNameOf(m_title) : info.completeBaseName();
    txtFileName->setText(QDir::toNativeSeparators(folder + u'/' + name + u'.' + extension));
}

void FileExportWindow::browse()
{
    const QString chosen =
        Dialogs::instance().saveFileName(tr("Export"), path(), GridExport::filter(format()));
    if (!chosen.isEmpty())
        txtFileName->setText(QDir::toNativeSeparators(chosen));
}

bool FileExportWindow::exportNow()
{
    QString target = path();
    if (target.isEmpty())
        return false;
    const QString extension = GridExport::extension(format());
    if (QFileInfo(target).suffix().compare(extension, Qt::CaseInsensitive) != 0)
        target += u'.' + extension;
    QDir().mkpath(QFileInfo(target).absolutePath());
    if (QFileInfo::exists(target) &&
        !Dialogs::instance().question(
            tr("The file %1 exists already. Replace it?").arg(QDir::toNativeSeparators(target)),
            windowTitle()))
        return false;
    GridExportJob job(*m_rows, format(), target, m_title);
    const bool completed = JobRunner::run(job, this, tr("Export"), lblStatus);
    if (!completed)
        return false;
    if (!job.succeeded()) {
        Dialogs::instance().message(tr("The file cannot be written:\n%1\n\n%2")
                                        .arg(QDir::toNativeSeparators(target), job.error()),
                                    windowTitle(), Dialogs::Icon::Critical);
        return false;
    }
    txtFileName->setText(QDir::toNativeSeparators(target));
    if (chkOpen->isChecked())
        Platform::instance().openDocument(target);
    accept();
    return true;
}
