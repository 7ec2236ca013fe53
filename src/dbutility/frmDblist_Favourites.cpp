// The favourites: the list, adding, removing, choosing one.
#include "frmDblist.h"

#include "DatabaseScanJob.h"
#include "Dialogs.h"
#include "FrmScan.h"
#include "JobRunner.h"
#include "KeyedGrid.h"
#include "RecordPager.h"
#include "SharedRoutines.h"
#include "ToolStrip.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>

namespace
{

// Background and text of the colour buttons when no favourite is left.
constexpr qint64 EmptyBack = 0xE0E0E0;
constexpr qint64 EmptyFore = 0x000000;

} // namespace

void frmDblist::LoadFavourites()
{
    const QString current = m_browser.path();
    KeyedGridModel *grid = grdFavData->grid();
    m_filling = true;
    grid->clearRows();
    for (const FavouritesCatalogue::Favourite &favourite : m_browser.favourites().favourites()) {
        const int row = grid->appendRow();
        grid->setText(row, QStringLiteral("Name"), favourite.dbname);
        grid->setText(row, QStringLiteral("dbname"), favourite.dbname);
        grid->setText(row, QStringLiteral("Loc"), favourite.loc);
        grid->setText(row, QStringLiteral("dbtype"), favourite.dbtype);
    }
    const int row = favouriteRow(current);
    if (row >= 0)
        grdFavData->setCurrentGridRow(row);
    m_filling = false;
}

int frmDblist::favouriteRow(const QString &path) const
{
    const KeyedGridModel *grid = grdFavData->grid();
    for (int row = grid->fixedRows(); row < grid->rows(); ++row) {
        if (!path.isEmpty() && grid->text(row, QStringLiteral("Loc")) == path)
            return row;
    }
    return -1;
}

void frmDblist::SelectFavourite(int row)
{
    if (m_filling || row < 0)
        return;
    const QString path = grdFavData->grid()->text(row, QStringLiteral("Loc"));
    for (const FavouritesCatalogue::Favourite &favourite : m_browser.favourites().favourites()) {
        if (favourite.loc != path)
            continue;
        const int type = cboDbType->findText(favourite.dbtype, Qt::MatchFixedString);
        if (type >= 0)
            cboDbType->setCurrentIndex(type);
        setColours(favourite.backColor, favourite.backColorA, favourite.forColor);
        OpenSource(path, favourite.dbtype);
        ShowFileFacts(false);
        readAttributes();
        return;
    }
}

void frmDblist::showAddPanel()
{
    m_leftPanels->setCurrentIndex(0);
    m_tools->tool(QStringLiteral("Favorites"))->setText(tr("Browse"));
    m_addPanel->show();
    m_addPath->setFocus();
}

void frmDblist::onAddClicked()
{
    QString path = m_addPath->text().trimmed();
    if (path.isEmpty())
        path = Dialogs::instance().openFileName(tr("Add a Database"), QString(),
                                                DbSourceType::favouriteFilter());
    // Picking nothing changes nothing.
    if (path.isEmpty())
        return;
    if (AddFavourite(path)) {
        m_addPath->clear();
        m_addPanel->hide();
    }
}

bool frmDblist::AddFavourite(const QString &path)
{
    setCursor(Qt::WaitCursor);
    const DbBrowser::Added added = m_browser.AddFavourite(path, m_back, m_backAlternate, m_fore);
    unsetCursor();
    if (!added.ok) {
        Dialogs::instance().message(added.message, windowTitle(), Dialogs::Icon::Warning);
        return false;
    }
    PlaySoundCue(SoundCue::Save);
    m_browser.closeSource();
    LoadFavourites();
    const int row = favouriteRow(added.favourite.loc);
    grdFavData->setCurrentGridRow(row);
    // Setting the same row again selects nothing new: show it all the same.
    if (m_browser.path() != added.favourite.loc)
        SelectFavourite(row);
    return true;
}

void frmDblist::AddFromFileManager(const QString &path)
{
    m_leftPanels->setCurrentIndex(0);
    if (AddFavourite(path))
        CmdNext_Click();
}

void frmDblist::onDeleteFavourite()
{
    const int row = grdFavData->currentGridRow();
    if (row < 0)
        return;
    if (!Dialogs::instance().question(QStringLiteral(" You want to delete this Record"),
                                      windowTitle(), Dialogs::Icon::Question))
        return;
    m_browser.favourites().RemoveFavourite(grdFavData->grid()->text(row, QStringLiteral("Loc")));
    clearChoosing();
    LoadFavourites();
    if (grdFavData->grid()->dataRows() == 0)
        setColours(EmptyBack, EmptyBack, EmptyFore);
    PlaySoundCue(SoundCue::Del);
}

void frmDblist::onDeleteAll()
{
    if (!Dialogs::instance().question(
            QStringLiteral(" This will delete all links of database files from Nuvela Database "
                           "Utility Program. However original files will remain as it is in "
                           "there  original location."),
            windowTitle(), Dialogs::Icon::Question))
        return;
    for (const FavouritesCatalogue::Favourite &favourite : m_browser.favourites().favourites())
        m_browser.favourites().RemoveFavourite(favourite.loc);
    clearChoosing();
    LoadFavourites();
    setColours(EmptyBack, EmptyBack, EmptyFore);
    PlaySoundCue(SoundCue::Del);
}

void frmDblist::clearChoosing()
{
    settleEdits();
    setRecordMode(RecordMode::View);
    m_fillTimer->stop();
    records()->setRowSource(nullptr);
    m_pager.reset();
    m_browser.closeSource();
    m_filling = true;
    m_tableList->clear();
    lstFields->clear();
    Grid3->grid()->clearRows();
    m_details->grid()->clearRows();
    Grid4->setRowCount(0);
    m_filling = false;
    for (QLabel *label :
         {LblName, lblTblName, LblRcount, m_created, m_fileSize, m_fileType, m_position})
        label->clear();
    for (QComboBox *box : m_mdbBoxes + m_dbfBoxes) {
        box->clear();
        box->hide();
    }
    for (QLabel *caption : std::as_const(m_filterCaptions))
        caption->hide();
    SortEntries();
    FilterBoxes();
}

void frmDblist::toggleFavourites()
{
    QAction *tool = m_tools->tool(QStringLiteral("Favorites"));
    if (m_leftPanels->currentIndex() != 0) {
        m_leftPanels->setCurrentIndex(0);
        tool->setText(tr("Browse"));
    } else {
        m_leftPanels->setCurrentIndex(1);
        tool->setText(tr("Favorites"));
        LoadFavourites();
    }
}

void frmDblist::showScanPanel()
{
    m_scan->setFolder(GetSpecialFolder(5));
    m_middle->setCurrentWidget(m_scan);
}

void frmDblist::CmdScan_Click()
{
    const QString folder = m_scan->folder();
    if (folder.isEmpty() || m_busy)
        return;
    DatabaseScanJob job(Store::defaultPath(Store::Kind::Data), folder,
                        {m_back, m_backAlternate, m_fore});
    QProgressBar *pb1 = m_scan->progressBar();
    pb1->setRange(0, 0);
    pb1->show();
    // The bar counts the files added; the favourites grid shows them as they come.
    QTimer poll;
    poll.setInterval(200);
    qint64 shown = 0;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (job.filesTotal() > 0) {
            pb1->setRange(0, int(job.filesTotal()));
            pb1->setValue(int(job.filesDone()));
        }
        m_scan->setStatus(job.currentText());
        if (job.filesDone() != shown) {
            shown = job.filesDone();
            LoadFavourites();
        }
    });
    poll.start();
    setCursor(Qt::WaitCursor);
    m_busy = true;
    JobRunner::run(job, m_scan, tr("Scanning for databases"));
    m_busy = false;
    unsetCursor();
    poll.stop();
    pb1->hide();
    m_scan->setStatus(QString());
    m_middle->setCurrentIndex(0);
    LoadFavourites();
    Dialogs::instance().message(job.summary(), windowTitle(), Dialogs::Icon::Information);
}
