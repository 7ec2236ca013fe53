// The view pane of the notebook: a document shown from the tree or the grid, its colour, file
// facts, keywords and properties, and the side note.
#include "FormNotes.h"

#include "AppState.h"
#include "Dialogs.h"
#include "DocumentGrid.h"
#include "DocumentText.h"
#include "EditableGridProxy.h"
#include "FileFacts.h"
#include "FolderSizeJob.h"
#include "KeyedGrid.h"
#include "KeyedGridModel.h"
#include "ListDocument.h"
#include "NotebookList.h"
#include "NotesCatalogue.h"
#include "Platform.h"
#include "RtfReader.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"
#include "ToolStrip.h"
#include "WindowsColor.h"
#include "explModule.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>

namespace
{

// Pictures larger than this are shown scaled down: the pane is no image viewer.
constexpr int MaxPictureSide = 4096;

QImage readPicture(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > MaxPictureSide || size.height() > MaxPictureSide))
        reader.setScaledSize(size.scaled(MaxPictureSide, MaxPictureSide, Qt::KeepAspectRatio));
    return reader.read();
}

QString propertyDate(const QDateTime &value)
{
    return value.isValid()
               ? FormatDate(value, DocumentGrid::dateFormat(AppState::instance().national))
               : QString();
}

} // namespace

void FormNotes::clearPane()
{
    rtfText->clear();
    rtfText->setProperty("path", QString());
    rtfText->setPalette(QPalette());
    m_listGrid->setFormatText(QString());
    m_listSheet = false;
    imgPicture->clear();
    imgPicfilelink->clear();
    imgPicfilelink->hide();
    objectBox->setProperty("path", QString());
    m_objectLabel->clear();
    lblNotice->hide();
    lblCharacters->clear();
    // The pane keeps its place; an empty page stands for "hidden".
    m_paneStack->setCurrentWidget(m_emptyPane);
    m_pane = Pane::None;
    m_tools->tool(QStringLiteral("EditPicture"))->setEnabled(false);
}

bool FormNotes::showText(const QString &path)
{
    bool readable = false;
    const QByteArray bytes = DocumentText::readFile(path, &readable);
    if (!readable) {
        setStatus(tr("The file cannot be read: %1").arg(path));
        return false;
    }
    if (DocumentText::kindOf(path) == DocumentText::Kind::RichText) {
        RtfReader reader;
        if (!reader.read(bytes, rtfText->document())) {
            lblNotice->setText(tr("This document is damaged; what could be read of it is shown."));
            lblNotice->show();
        }
    } else {
        rtfText->setPlainText(DocumentText::plainOfBytes(bytes));
    }
    rtfText->setProperty("path", path);
    m_paneStack->setCurrentWidget(rtfText);
    m_pane = Pane::Text;
    applyColourRule(path);
    lblCharacters->setText(
        tr("No Of Character   -  %1").arg(rtfText->document()->toPlainText().size()));
    return true;
}

void FormNotes::applyColourRule(const QString &path)
{
    QPalette colours = rtfText->palette();
    colours.setColor(QPalette::Base, WindowsColor::toColor(m_catalogue->viewColour(path)));
    colours.setColor(QPalette::Text, Qt::black);
    rtfText->setPalette(colours);
}

void FormNotes::showList(const QString &path)
{
    m_listGrid->setFormatText(QString());
    m_listSheet = false;
    m_paneStack->setCurrentWidget(m_listPane);
    m_pane = Pane::List;
    QString error;
    const std::optional<ListDocument> list = ListDocument::load(path, &error);
    if (!list) {
        // A list whose file is missing shows an empty list.
        if (QFileInfo::exists(path)) {
            lblNotice->setText(tr("The list cannot be read: %1").arg(error));
            lblNotice->show();
        }
        return;
    }
    m_listSheet = list->fixedColumns() > 0;
    NotebookList::toGrid(*list, *m_listGrid, GridList->fontMetrics().averageCharWidth());
    m_listEdit->setFixedColumns(list->fixedColumns());
    applyListColumns();
}

void FormNotes::showPicture(const QString &path)
{
    const QImage picture = readPicture(path);
    m_paneStack->setCurrentWidget(m_pictureArea);
    m_pane = Pane::Picture;
    if (picture.isNull()) {
        imgPicture->setText(tr("The picture cannot be read."));
        return;
    }
    imgPicture->setPixmap(QPixmap::fromImage(picture));
    m_tools->tool(QStringLiteral("EditPicture"))->setEnabled(true);
}

void FormNotes::showObject(const QString &path)
{
    objectBox->setProperty("path", path);
    m_objectLabel->setText(
        tr("%1\n\nopened with the desktop's application").arg(FileNameOfPath(path)));
    m_paneStack->setCurrentWidget(objectBox);
    m_pane = Pane::Object;
}

void FormNotes::showSidePicture(const QString &path)
{
    const QImage picture = path.isEmpty() ? QImage() : readPicture(path);
    if (picture.isNull())
        return;
    imgPicfilelink->setPixmap(QPixmap::fromImage(
        picture.scaled(QSize(240, 240), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    imgPicfilelink->setProperty("path", path);
    imgPicfilelink->show();
}

void FormNotes::ShowDocument(const QString &path)
{
    clearPane();
    lblDocument->setText(FileNameOfPath(path));
    lblDocInfo->clear();
    switch (DocumentText::kindOf(path)) {
    case DocumentText::Kind::RichText:
    case DocumentText::Kind::PlainText:
        showText(path);
        break;
    case DocumentText::Kind::List:
        showList(path);
        break;
    case DocumentText::Kind::Picture:
        showPicture(path);
        break;
    case DocumentText::Kind::Other:
        if (Dialogs::instance().question(
                QStringLiteral(
                    "It is not a text file. It may take some time. Do you want to open it ?"),
                windowTitle(), Dialogs::Icon::Question)) {
            showObject(path);
            Platform::instance().openDocument(path);
        }
        break;
    }
    showFacts(path);
    LoadKeywords(path);
    if (SSActiveTabs2->currentIndex() == 1)
        showProperties(path);
    updateDocumentTools();
}

void FormNotes::SelectRow(int row)
{
    const KeyedGridModel &rows = *grid();
    const QString path = rows.text(row, QStringLiteral("path"));
    m_currentPath = path;
    clearPane();
    const QString docType = rows.text(row, QStringLiteral("DocType"));
    const bool exists = !path.isEmpty() && QFileInfo::exists(path);
    lblDocument->setText(rows.text(row, QStringLiteral("DocumentName")));
    QStringList facts = {rows.text(row, QStringLiteral("Category1")),
                         rows.text(row, QStringLiteral("Type")),
                         rows.text(row, QStringLiteral("date"))};
    facts.removeAll(QString());
    lblDocInfo->setText(facts.join(QStringLiteral("  ·  ")));
    if (docType == QLatin1String("List") ||
        DocumentText::kindOf(path) == DocumentText::Kind::List) {
        showList(path);
    } else if (exists) {
        switch (DocumentText::kindOf(path)) {
        case DocumentText::Kind::RichText:
        case DocumentText::Kind::PlainText:
            showText(path);
            break;
        case DocumentText::Kind::Picture:
            showPicture(path);
            break;
        default:
            break;
        }
    }
    if (docType == QLatin1String("Multimedia"))
        showSidePicture(rows.text(row, QStringLiteral("Picfilelink")));
    if (exists)
        showFacts(path);
    LoadKeywords(path);
    if (SSActiveTabs2->currentIndex() == 1)
        showProperties(path);
    const int position = grid1->currentIndex().row() + 1;
    if (!exists && !path.isEmpty())
        setStatus(tr("The file of this document is missing: %1").arg(path));
    else
        setStatus(tr("%1 Of %2").arg(position).arg(rows.shownRows()));
    updateDocumentTools();
}

void FormNotes::showFacts(const QString &path)
{
    if (m_sizeJob) {
        m_sizeJob->cancel();
        m_sizeJob = nullptr;
    }
    const FileFacts facts = FileFacts::of(path, AppState::instance().national);
    lblFileType->setText(facts.typeName);
    lblFileSize->setText(facts.sizeText);
    lblFileName->setText(facts.name);
    lblCreated->setText(facts.created);
    lblModified->setText(facts.modified);
    lblPath->setText(QDir::toNativeSeparators(facts.path));
}

void FormNotes::showFolderFacts(const QString &path)
{
    showFacts(path);
    // The total size comes from a job of its own, so a large folder never holds the window up.
    // A job outlives its question until it has ended, and then deletes itself.
    lblFileSize->setText(tr("counting…"));
    auto *job = new FolderSizeJob(path, this);
    m_sizeJob = job;
    connect(job, &Job::finished, this, [this, job] {
        if (job == m_sizeJob) {
            if (!job->isCancelled())
                lblFileSize->setText(FormatSizeText(job->total()));
            m_sizeJob = nullptr;
        }
        job->deleteLater();
    });
    job->start();
}

void FormNotes::LoadKeywords(const QString &path)
{
    grdKeyword->clearContents();
    const QStringList keywords = m_catalogue->keywordsOf(path);
    grdKeyword->setRowCount(std::max<int>(11, int(keywords.size())));
    for (int row = 0; row < keywords.size(); ++row)
        grdKeyword->setItem(row, 0, new QTableWidgetItem(keywords[row]));
}

void FormNotes::clearProperties()
{
    for (QLineEdit *box : {LblDocName, Text1, TxtAuthor, TxtVersion, LblSNo, m_propPath,
                           m_propDocType, m_propModified})
        box->clear();
    LblDocName->setProperty("id", QVariant());
    for (QComboBox *box : {CmbCategory1, CmbFlags, CmbProgress})
        box->setCurrentText(QString());
    ChkCurrent->setChecked(false);
    dtpDueDate->setDate(dtpDueDate->minimumDate());
}

void FormNotes::showProperties(const QString &path)
{
    clearProperties();
    const std::optional<DocumentRecord> record = m_catalogue->byPath(path);
    if (!record)
        return;
    LblDocName->setText(record->documentName);
    LblDocName->setProperty("id", record->id);
    CmbCategory1->setCurrentText(record->category1);
    Text1->setText(record->type);
    TxtAuthor->setText(record->author);
    CmbFlags->setCurrentText(record->flags);
    m_propPath->setText(QDir::toNativeSeparators(record->path));
    TxtVersion->setText(record->version);
    LblSNo->setText(record->serialNo ? QString::number(*record->serialNo) : QString());
    CmbProgress->setCurrentText(record->progress);
    m_propDocType->setText(record->docType);
    m_propModified->setText(propertyDate(record->mDate));
    if (record->dueDate.isValid())
        dtpDueDate->setDate(record->dueDate.date());
    ChkCurrent->setChecked(record->current);
}

void FormNotes::markSideNote()
{
    const int row = grid1->currentGridRow();
    if (row < 0)
        return;
    const QString docType = grid()->text(row, QStringLiteral("DocType"));
    if (docType == QLatin1String("List") || docType == QLatin1String("Picture"))
        return;
    const QString path = m_pane == Pane::Text ? rtfText->property("path").toString()
                                              : grid()->text(row, QStringLiteral("path"));
    if (!m_catalogue->markQuickNote(path))
        return;
    applyColourRule(path);
    grid()->setText(row, QStringLiteral("DocType"), QStringLiteral("Quick Notes"));
    grid()->setText(row, QStringLiteral("bgcolor"),
                    QString::number(NotesCatalogue::QuickNoteColour));
}
