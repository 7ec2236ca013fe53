// The panels of the notebook's left side: the filter panel (quick search and structured
// filter), content search, and the folder scan; and the content index they rely on.
#include "FormNotes.h"

#include "ContentIndex.h"
#include "ContentIndexJob.h"
#include "Dialogs.h"
#include "DocumentGrid.h"
#include "FolderScanJob.h"
#include "NotesCatalogue.h"
#include "NotesFilter.h"
#include "NotesFilterLists.h"
#include "NotesViews.h"
#include "ThemeIcon.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{

// Stale rows up to this many are indexed before a content search without a progress dialog.
constexpr size_t InlineIndexLimit = 200;

QComboBox *filterList(QFormLayout *form, const QString &name, const QString &caption)
{
    auto *box = new QComboBox;
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    form->addRow(caption, box);
    return box;
}

void fillList(QComboBox *box, const QStringList &values, bool withAll)
{
    box->clear();
    if (withAll)
        box->addItem(QStringLiteral("All"));
    box->addItems(values);
    box->setCurrentIndex(withAll ? 0 : -1);
    if (!withAll)
        box->setCurrentText(QString());
}

QDateEdit *dateBox(const QString &name)
{
    auto *box = new QDateEdit(QDate::currentDate());
    box->setObjectName(name);
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("dd MMM yyyy"));
    return box;
}

} // namespace

QWidget *FormNotes::buildFilterPanel()
{
    fraFilter = new QGroupBox(tr("Filter"));
    fraFilter->setObjectName(QStringLiteral("fraFilter"));
    auto *form = new QFormLayout(fraFilter);
    Text4 = new QLineEdit;
    Text4->setObjectName(QStringLiteral("Text4"));
    Text4->setPlaceholderText(tr("Text in any column"));
    Text4->setClearButtonEnabled(true);
    form->addRow(tr("Search:"), Text4);
    cboKeyword = filterList(form, QStringLiteral("cboKeyword"), tr("Keyword:"));
    CmbKFlags = filterList(form, QStringLiteral("CmbKFlags"), tr("Flags:"));
    cboFileType = filterList(form, QStringLiteral("cboFileType"), tr("Extension:"));
    cboCateg = filterList(form, QStringLiteral("cboCateg"), tr("Category:"));
    CmbVersion = filterList(form, QStringLiteral("CmbVersion"), tr("Version:"));
    cboDate = new QComboBox;
    cboDate->setObjectName(QStringLiteral("cboDate"));
    cboDate->addItems(
        {QStringLiteral("All"), QStringLiteral("Modified"), QStringLiteral("Created")});
    form->addRow(tr("Date:"), cboDate);
    dtpDate1 = dateBox(QStringLiteral("dtpDate1"));
    dtpDate2 = dateBox(QStringLiteral("dtpDate2"));
    m_fromLabel = new QLabel(tr("From:"));
    m_toLabel = new QLabel(tr("To:"));
    form->addRow(m_fromLabel, dtpDate1);
    form->addRow(m_toLabel, dtpDate2);
    connect(cboDate, &QComboBox::currentIndexChanged, this, &FormNotes::onDateKindChanged);
    txtFileName = new QLineEdit;
    txtFileName->setObjectName(QStringLiteral("txtFileName"));
    txtFileName->setPlaceholderText(tr("Beginning of the name"));
    form->addRow(tr("Name:"), txtFileName);
    auto *filter = new QPushButton(ThemeIcon::get(QStringLiteral("system-search")), tr("Filter"));
    filter->setObjectName(QStringLiteral("cmdFilter"));
    filter->setDefault(true);
    connect(filter, &QPushButton::clicked, this, &FormNotes::cmdFilter_Click);
    connect(Text4, &QLineEdit::returnPressed, this, &FormNotes::cmdFilter_Click);
    connect(txtFileName, &QLineEdit::returnPressed, this, &FormNotes::cmdFilter_Click);
    form->addRow(filter);
    onDateKindChanged();
    return fraFilter;
}

QWidget *FormNotes::buildContentPanel()
{
    fraContent = new QGroupBox(tr("Find in the documents' text"));
    fraContent->setObjectName(QStringLiteral("fraContent"));
    auto *layout = new QVBoxLayout(fraContent);
    txtContent = new QLineEdit;
    txtContent->setObjectName(QStringLiteral("txtContent"));
    txtContent->setPlaceholderText(tr("Text anywhere in a document"));
    txtContent->setClearButtonEnabled(true);
    auto *find = new QPushButton(ThemeIcon::get(QStringLiteral("edit-find")), tr("Find"));
    find->setObjectName(QStringLiteral("CmdCntSearch"));
    connect(find, &QPushButton::clicked, this, &FormNotes::CmdCntSearch_Click);
    connect(txtContent, &QLineEdit::returnPressed, this, &FormNotes::CmdCntSearch_Click);
    layout->addWidget(txtContent);
    layout->addWidget(find, 0, Qt::AlignRight);
    layout->addStretch(1);
    return fraContent;
}

QWidget *FormNotes::buildScanPanel()
{
    fraScan = new QGroupBox(tr("Add the text documents of a folder"));
    fraScan->setObjectName(QStringLiteral("fraScan"));
    auto *layout = new QVBoxLayout(fraScan);
    auto *row = new QHBoxLayout;
    FolderView = new QLineEdit;
    FolderView->setObjectName(QStringLiteral("FolderView"));
    FolderView->setPlaceholderText(tr("Folder with .txt and .rtf files"));
    auto *browse = new QToolButton;
    browse->setIcon(ThemeIcon::get(QStringLiteral("folder-open")));
    browse->setToolTip(tr("Choose the folder"));
    connect(browse, &QToolButton::clicked, this, &FormNotes::chooseScanFolder);
    row->addWidget(FolderView, 1);
    row->addWidget(browse);
    auto *scan = new QPushButton(ThemeIcon::get(QStringLiteral("list-add")), tr("Scan"));
    scan->setObjectName(QStringLiteral("CmdScan"));
    connect(scan, &QPushButton::clicked, this,
            [this] { ScanFolder(FolderView->text().trimmed()); });
    layout->addLayout(row);
    layout->addWidget(scan, 0, Qt::AlignRight);
    layout->addStretch(1);
    return fraScan;
}

void FormNotes::chooseScanFolder()
{
    const QString folder = Dialogs::instance().folderName(tr("Scan folder"), FolderView->text());
    if (!folder.isEmpty())
        FolderView->setText(folder);
}

void FormNotes::onDateKindChanged()
{
    const bool range = cboDate->currentText() != QLatin1String("All");
    for (QWidget *widget : {static_cast<QWidget *>(dtpDate1), static_cast<QWidget *>(dtpDate2),
                            static_cast<QWidget *>(m_fromLabel), static_cast<QWidget *>(m_toLabel)})
        widget->setVisible(range);
}

void FormNotes::resetFilterFields()
{
    for (QComboBox *box : {cboCateg, cboFileType})
        box->setCurrentText(QStringLiteral("All"));
    cboDate->setCurrentIndex(0);
    txtFileName->clear();
    Text4->clear();
    cboKeyword->setCurrentText(QString());
    CmbVersion->setCurrentText(QString());
}

void FormNotes::FillFilterLists()
{
    const NotesFilterLists lists = NotesFilterLists::read(m_store);
    fillList(cboKeyword, lists.keywords, true);
    fillList(cboFileType, lists.extensions, false);
    fillList(cboCateg, lists.categories, true);
    fillList(CmbKFlags, lists.flags, true);
    fillList(CmbVersion, lists.versions, true);
}

void FormNotes::cmdFilter_Click()
{
    NotesFilterFields fields;
    fields.searchText = Text4->text();
    fields.keyword = cboKeyword->currentText();
    fields.flags = CmbKFlags->currentText();
    fields.extension = cboFileType->currentText();
    fields.category = cboCateg->currentText();
    fields.version = CmbVersion->currentText();
    fields.dateKind = cboDate->currentText();
    fields.from = dtpDate1->date();
    fields.to = dtpDate2->date();
    fields.namePrefix = txtFileName->text();
    const bool quick = !fields.searchText.isEmpty();
    if (!fillGrid(NotesFilter::recordSource(NotesFilter::clause(fields)),
                  NotesFilter::captions(quick)))
        return;
    ApplySimpleView(m_details);
}

bool FormNotes::refreshContentIndex()
{
    if (m_catalogue->refreshIndex(InlineIndexLimit))
        return true;
    ContentIndexJob job(Store::defaultPath(Store::Kind::Data), ContentIndexJob::Mode::Stale);
    return runJob(job, tr("Indexing the documents' text"));
}

void FormNotes::CmdCntSearch_Click()
{
    const QString text = txtContent->text();
    const bool indexed = m_catalogue->index().isAvailable();
    if (indexed && !refreshContentIndex()) {
        setStatus(tr("Content search cancelled."));
        return;
    }
    const QString condition =
        indexed ? ContentIndex::condition(text) : NotesViews::contentLikeCondition(text);
    if (!fillGrid(NotesViews::contentSource(condition), NotesViews::defaultCaptions())) {
        if (indexed)
            Dialogs::instance().message(
                tr("The content index cannot be read. Rebuild it with Tools, Rebuild Content "
                   "Index."),
                windowTitle(), Dialogs::Icon::Warning);
        return;
    }
    ApplyDocTypeIcons();
    ApplySimpleView(m_details);
}

bool FormNotes::ScanFolder(const QString &folder)
{
    if (folder.isEmpty()) {
        chooseScanFolder();
        if (FolderView->text().trimmed().isEmpty())
            return false;
        return ScanFolder(FolderView->text().trimmed());
    }
    FolderScanJob job(Store::defaultPath(Store::Kind::Data), folder);
    const bool completed = runJob(job, tr("Scanning %1").arg(folder));
    if (!job.folderReadable()) {
        Dialogs::instance().message(tr("The folder cannot be read:\n%1").arg(folder), windowTitle(),
                                    Dialogs::Icon::Warning);
        return false;
    }
    CmdRefresh_Click();
    setStatus(tr("%n document(s) added", nullptr, job.added()));
    return completed && job.succeeded();
}

bool FormNotes::RebuildContentIndex()
{
    if (!m_catalogue->index().isAvailable()) {
        Dialogs::instance().message(
            tr("This system's SQLite has no full-text index; content search reads the documents' "
               "stored text instead."),
            windowTitle(), Dialogs::Icon::Information);
        return false;
    }
    ContentIndexJob job(Store::defaultPath(Store::Kind::Data), ContentIndexJob::Mode::Rebuild);
    const bool completed = runJob(job, tr("Rebuilding the content index"));
    // The job made the index again on its own handle; this one looks afresh.
    m_catalogue->index().ensure();
    setStatus(completed ? tr("%n document(s) indexed", nullptr, job.indexed())
                        : tr("Rebuilding the content index was cancelled."));
    return completed && job.succeeded();
}
