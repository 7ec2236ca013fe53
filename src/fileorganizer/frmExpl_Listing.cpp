// frmExpl: the file grid, folder listings, the catalogue and its database view.

#include "frmExpl.h"

#include "AppFolders.h"
#include "AppState.h"
#include "CatalogueReader.h"
#include "CatalogueScanJob.h"
#include "CategoryRules.h"
#include "FolderReader.h"
#include "KeyedGrid.h"
#include "SelectionMark.h"
#include "SharedRoutines.h"
#include "explModule.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace
{

const QString GridFormat = QStringLiteral(
    "Name          |Ext      | Size          |Dt.Created |Dt.Modified|Att.|Location");
const QStringList GridKeys = {QStringLiteral("Name"),    QStringLiteral("Ext"),
                              QStringLiteral("Size"),    QStringLiteral("cDate"),
                              QStringLiteral("mDate"),   QStringLiteral("Attribute"),
                              QStringLiteral("Location")};
constexpr int PictureKeyRole = Qt::UserRole + 2;

// The fixed entries of the category list: picture key, picture file, caption.
struct FixedEntry {
    const char *key;
    const char *picture;
    const char *caption;
};
const FixedEntry FixedEntries[] = {
    {"PicKey1", "All.ico", "All"},           {"PicKey2", "Database.ico", "Database"},
    {"PicKey3", "document.ico", "Document"}, {"PicKey4", "Music.ico", "Music"},
    {"PicKey5", "New.ico", "New"},           {"PicKey6", "Picture.ico", "Picture"},
    {"PicKey7", "Prg.ico", "Program Files"}, {"PicKey8", "Spreadsheet.ico", "Spreadsheet"},
    {"PicKey9", "System.ico", "System"},
};

// A picture of the program folder's misc folder, as the program spells it or as shipped.
QIcon miscPicture(const QString &file)
{
    for (const char *folder : {"userfiles\\misc\\", "UserFiles\\Misc\\"}) {
        const QString path = AppFolders::inProgramFolder(QLatin1String(folder) + file);
        if (QFile::exists(path))
            return QIcon(path);
    }
    return QIcon();
}

} // namespace

void frmExpl::FileGridSetup()
{
    KeyedGridModel *model = grid();
    model->setFixedRows(2);
    model->setFormatText(GridFormat);
    model->setColumnKeys(GridKeys);
    const QString dateFormat = GridDateFormat(AppState::instance().national);
    model->setColumnType(QStringLiteral("cDate"), GridCellType::Date, dateFormat);
    model->setColumnType(QStringLiteral("mDate"), GridCellType::Date, dateFormat);
    model->setColumnAlignment(QStringLiteral("Size"), Qt::AlignRight | Qt::AlignVCenter);
    FileGrid->applyColumns();
    ComboPos();
}

int frmExpl::appendEntryRow(const FileEntry &entry, const QString &location)
{
    KeyedGridModel *model = grid();
    const QString name = entry.name();
    const int row = model->appendRow();
    model->setText(row, 0, BaseName(name));
    model->setText(row, 1, Extension(name));
    model->setText(row, 5, AttributeText(entry.attributes));
    model->setText(row, 6, location);
    model->setDateKey(row, 4, entry.modifiedMsecs);
    return row;
}

void frmExpl::ListFolderToGrid(const QString &folderPath)
{
    if (folderPath.isEmpty())
        return;
    m_viewMode = ViewMode::Folder;
    m_currentFolder = folderPath;
    BrowseFolder1->setText(QDir::toNativeSeparators(folderPath));
    frmLookIn->show();
    FileGridSetup();
    KeyedGridModel *model = grid();
    std::vector<FileEntry> entries;
    FolderReader::read(folderPath, entries);
    const QString prefix =
        folderPath.endsWith(QLatin1Char('/')) ? folderPath : folderPath + QLatin1Char('/');
    model->setRedraw(false);
    model->reserveRows(int(entries.size()));
    for (const FileEntry &entry : entries) {
        if (entry.isFolder)
            continue;
        const int row = appendEntryRow(entry, prefix + entry.name());
        model->setText(row, 2, FormatSizeText(entry.size));
    }
    model->setRedraw(true);
    afterListing();
}

void frmExpl::afterListing()
{
    KeyedGridModel *model = grid();
    m_currentFile.clear();
    model->sortByKey(QStringLiteral("Name"));
    m_sortColumn = QStringLiteral("Name");
    ComboExtItem(QString());
    resetDateBoxes();
    ComboPos();
    if (model->rows() > 2)
        showProperties(model->fixedRows());
    else
        hideProperties();
    m_recordLabel->clear();
    LblFileSize->clear();
}

bool frmExpl::ScanFolderToCatalogue(const QString &startPath)
{
    CatalogueScanJob job(AppFolders::dataStorePath(), startPath, CatalogueScanJob::Mode::Tree);
    return runJob(job, tr("Building the catalogue"));
}

void frmExpl::AddFolderFilesToCatalogue(const QString &folderPath)
{
    CatalogueScanJob job(AppFolders::dataStorePath(), folderPath,
                         CatalogueScanJob::Mode::OneFolder);
    job.runHere();
}

void frmExpl::LoadCatalogueGrid()
{
    QApplication::processEvents();
    if (m_rescan->isChecked()) {
        CatalogueScanJob job(AppFolders::dataStorePath(), m_folders.defaultFolder,
                             CatalogueScanJob::Mode::Tree);
        job.setClearFirst(true);
        runJob(job, tr("Building the catalogue"));
    }
    m_viewMode = ViewMode::Database;
    frmLookIn->hide();
    fillCategoryList();

    FileGridSetup();
    KeyedGridModel *model = grid();
    const int group = model->addColumn(QStringLiteral("Group"), QStringLiteral("Group"));
    model->setColumnHidden(QStringLiteral("Group"), true);
    const int size = model->column(QStringLiteral("Size"));
    const int cDate = model->column(QStringLiteral("cDate"));
    const int mDate = model->column(QStringLiteral("mDate"));
    const std::vector<CatalogueReader::Record> records =
        CatalogueReader::read(m_store, KeyedGridModel::NoDate);
    model->setRedraw(false);
    model->reserveRows(int(records.size()));
    for (const CatalogueReader::Record &record : records) {
        const int row = model->appendRow();
        model->setText(row, 0, record.name);
        model->setText(row, 1, record.ext);
        model->setText(row, size, FormatSizeText(record.size));
        model->setDateKey(row, cDate, record.created);
        model->setDateKey(row, mDate, record.modified);
        model->setText(row, 5, AttributeText(record.attributes));
        model->setText(row, 6, record.location);
        model->setText(row, group, record.group);
    }
    model->setRedraw(true);
    m_currentFile.clear();
    ComboExtItem(QString());
    resetDateBoxes();
    ComboPos();
    m_recordLabel->clear();
    LblFileSize->clear();
    const QListWidgetItem *selected = SSListBar1->currentItem();
    SelectCategory(selected ? selected->text() : QStringLiteral("All"));
}

void frmExpl::fillCategoryList()
{
    const QString selected =
        SSListBar1->currentItem() ? SSListBar1->currentItem()->text() : QString();
    SSListBar1->clear();
    const CategoryRules rules(m_store);
    QHash<QString, QIcon> icons;
    for (const CategoryRules::Category &category : rules.categories()) {
        if (!category.icon.isEmpty() && QFile::exists(category.icon))
            icons.insert(category.folderType, QIcon(category.icon));
    }
    auto add = [this](const QString &caption, const QIcon &icon) {
        auto *item = new QListWidgetItem(icon, caption, SSListBar1);
        return item;
    };
    add(QStringLiteral("All"), QIcon());
    for (const CategoryRules::Category &category : rules.categories())
        add(category.folderType, icons.value(category.folderType));
    add(CategoryRules::others(), QIcon());
    // The fixed entries give their pictures to the entries of the same caption, or come last.
    for (const FixedEntry &fixed : FixedEntries) {
        const QString caption = QString::fromLatin1(fixed.caption);
        const QList<QListWidgetItem *> same = SSListBar1->findItems(caption, Qt::MatchFixedString);
        QListWidgetItem *item = same.isEmpty() ? add(caption, QIcon()) : same.first();
        item->setData(PictureKeyRole, QString::fromLatin1(fixed.key));
        if (item->icon().isNull())
            item->setIcon(miscPicture(QString::fromLatin1(fixed.picture)));
    }
    const QList<QListWidgetItem *> again = SSListBar1->findItems(
        selected.isEmpty() ? QStringLiteral("All") : selected, Qt::MatchExactly);
    SSListBar1->setCurrentItem(again.isEmpty() ? SSListBar1->item(0) : again.first());
}

void frmExpl::SelectCategory(const QString &category)
{
    KeyedGridModel *model = grid();
    const int group = model->column(QStringLiteral("Group"));
    if (category == QLatin1String("All")) {
        model->showAllRows();
    } else {
        model->hideRows(
            [model, group, &category](int row) { return model->textAt(row, group) != category; });
    }
    const QList<QListWidgetItem *> items = SSListBar1->findItems(category, Qt::MatchExactly);
    if (!items.isEmpty())
        SSListBar1->setCurrentItem(items.first());
    showFirstShownRow();
}

void frmExpl::showFirstShownRow()
{
    const int first = grid()->firstShownRow();
    if (first < 0) {
        hideProperties();
        return;
    }
    showProperties(first);
    FileGrid->scrollTo(grid()->indexOf(first, 0));
}

void frmExpl::showProperties(int row)
{
    KeyedGridModel *model = grid();
    const QString name = model->text(row, QStringLiteral("Name"));
    const QString location = model->text(row, QStringLiteral("Location"));
    lblFileName->setText(FileNameOfPath(location));
    lblFileName->setToolTip(QDir::toNativeSeparators(location));
    LblName->setText(name);
    LblSize->setText(model->text(row, QStringLiteral("Size")));
    const QDateTime modified = model->date(row, QStringLiteral("mDate"));
    LblModified->setText(
        modified.isValid() ? FormatDate(modified, QStringLiteral("dd-MMM-yy hh:mm")) : QString());
    pnlPro->show();
}

void frmExpl::hideProperties()
{
    pnlPro->hide();
    for (QLabel *label : {lblFileName, LblName, LblSize, LblModified})
        label->clear();
}

void frmExpl::onCurrentRowChanged(int row)
{
    KeyedGridModel *model = grid();
    if (!model->isDataRow(row)) {
        m_currentFile.clear();
        return;
    }
    m_recordLabel->setText(QStringLiteral("Record - ") + QString::number(row) +
                           QStringLiteral(" / ") + QString::number(model->rows() - 1));
    LblFileSize->setText(QStringLiteral("Size - ") + model->text(row, QStringLiteral("Size")));
    m_currentFile = model->text(row, QStringLiteral("Location"));
    showProperties(row);
}

void frmExpl::onRowPicked(int row)
{
    grid()->setRowBackground(row, SelectionMark::color());
}

void frmExpl::SelectAll()
{
    KeyedGridModel *model = grid();
    model->setRedraw(false);
    for (int row = model->fixedRows(); row < model->rows(); ++row)
        model->setRowBackground(row, SelectionMark::color());
    model->setRedraw(true);
}
