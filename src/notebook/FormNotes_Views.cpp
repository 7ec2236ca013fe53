// The document grid of the notebook: the default list, the alphabetic and DocType strips, the
// sort tools and the grouped views.
#include "FormNotes.h"

#include "AppState.h"
#include "ColumnChoice.h"
#include "DocumentDelegate.h"
#include "DocumentGrid.h"
#include "DocumentLoader.h"
#include "KeyedGrid.h"
#include "NotesViews.h"
#include "ToolStrip.h"

#include <QLocale>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>

namespace
{

enum ViewTab { ListTab, ByMonthTab, ByCategoryTab };
constexpr int ListDocTypeTab = 5;
// Records read per page after the first, between two turns of the event loop.
constexpr int LoadPage = 2000;

QString gridDateFormat()
{
    return DocumentGrid::dateFormat(AppState::instance().national);
}

} // namespace

bool FormNotes::fillGrid(const QString &source, const QString &captions, const QString &dateFormat,
                         const DocumentGrid::Grouping *grouping)
{
    auto loader = std::make_unique<DocumentLoader>(m_store);
    QString error;
    if (!loader->start(*grid(), source, captions,
                       dateFormat.isEmpty() ? gridDateFormat() : dateFormat, grouping,
                       DocumentGrid::FirstPage, &error)) {
        setStatus(tr("The list could not be read: %1").arg(error));
        return false;
    }
    m_loader = std::move(loader);
    const int generation = ++m_loadGeneration;
    afterFill();
    if (!m_loader->atEnd())
        QTimer::singleShot(0, this, [this, generation] { loadMore(generation); });
    return true;
}

void FormNotes::loadMore(int generation)
{
    // A newer fill replaced the loader this page was asked for.
    if (generation != m_loadGeneration || !m_loader || m_loader->atEnd())
        return;
    const int first = m_loader->more(LoadPage);
    DocumentGrid::GridColor(*grid(), first);
    if (m_loader->atEnd())
        setStatus(tr("%n document(s)", nullptr, grid()->dataRows()));
    else
        QTimer::singleShot(0, this, [this, generation] { loadMore(generation); });
}

void FormNotes::finishLoading()
{
    if (!m_loader || m_loader->atEnd())
        return;
    const int first = grid()->rows();
    m_loader->finish();
    DocumentGrid::GridColor(*grid(), first);
    setStatus(tr("%n document(s)", nullptr, grid()->dataRows()));
}

bool FormNotes::isLoading() const
{
    return m_loader && !m_loader->atEnd();
}

void FormNotes::afterFill()
{
    m_delegate->forget();
    m_delegate->setIconsShown(false);
    setStatus(isLoading() ? tr("Reading the documents…")
                          : tr("%n document(s)", nullptr, grid()->dataRows()));
    updateRemoveTool();
    updateDocumentTools();
}

void FormNotes::setSortTool(const QString &tool)
{
    m_sortTool = tool;
    for (const char *id : {"StDocname", "StbyCat", "StDatewise"})
        m_tools->tool(QLatin1String(id))->setChecked(tool == QLatin1String(id));
}

void FormNotes::CmdRefresh_Click()
{
    setSortTool(QStringLiteral("StDocname"));
    {
        const QSignalBlocker views(SSActiveTabs1);
        const QSignalBlocker letters(Notes);
        SSActiveTabs1->setCurrentIndex(ListTab);
        Notes->setCurrentIndex(0);
    }
    m_view = View::List;
    ShowAlphabet(Notes->tabText(0));
    resetFilterFields();
    ApplyDocTypeIcons();
}

void FormNotes::ShowAlphabet(const QString &caption)
{
    if (!fillGrid(NotesViews::alphabetSource(caption), NotesViews::defaultCaptions()))
        return;
    ApplyDocTypeIcons();
    ApplySimpleView(m_details);
}

void FormNotes::onAlphabetTab(int index)
{
    if (index >= 0)
        ShowAlphabet(Notes->tabText(index));
}

void FormNotes::ShowDocType(int tab)
{
    const QList<NotesViews::DocTypeTab> &tabs = NotesViews::docTypeTabs();
    if (tab < 1 || tab > tabs.size())
        return;
    {
        const QSignalBlocker blocker(SSActiveTabs3);
        SSActiveTabs3->setCurrentIndex(tab - 1);
    }
    if (!fillGrid(NotesViews::docTypeSource(tab), NotesViews::defaultCaptions()))
        return;
    ApplyDocTypeIcons();
    ApplySimpleView(m_details);
    const bool list = tabs[tab - 1].pane == NotesViews::Pane::List;
    clearPane();
    m_paneStack->setCurrentWidget(list ? m_listPane : static_cast<QWidget *>(rtfText));
    setEditTools(tab == ListDocTypeTab);
}

void FormNotes::onDocTypeTab(int index)
{
    if (index >= 0)
        ShowDocType(index + 1);
}

void FormNotes::setEditTools(bool listTab)
{
    m_tools->tool(QStringLiteral("EditGriidList"))->setVisible(listTab);
    m_tools->tool(QStringLiteral("New"))->setVisible(!listTab);
    m_tools->tool(QStringLiteral("EditDocuments"))->setVisible(!listTab);
    m_tools->tool(QStringLiteral("EditDoc-Full"))->setVisible(!listTab);
}

void FormNotes::SortBy(const QString &tool)
{
    if (tool == QLatin1String("StDocname")) {
        ApplySimpleView(m_details);
        CmdRefresh_Click();
        return;
    }
    const bool byCategory = tool == QLatin1String("StbyCat");
    if (!byCategory && tool != QLatin1String("StDatewise"))
        return;
    setSortTool(tool);
    if (!fillGrid(byCategory ? NotesViews::byCategorySource() : NotesViews::byDateSource(),
                  byCategory ? NotesViews::byCategoryCaptions() : NotesViews::byDateCaptions()))
        return;
    DocumentGrid::showOnly(*grid(), NotesViews::sortViewColumns());
    ApplyDocTypeIcons();
}

void FormNotes::onViewTab(int index)
{
    switch (index) {
    case ByMonthTab:
        ByMonthView();
        break;
    case ByCategoryTab:
        ByCategoryView();
        break;
    default:
        CmdRefresh_Click();
        break;
    }
}

void FormNotes::ByCategoryView()
{
    m_view = View::ByCategory;
    const DocumentGrid::Grouping grouping{QStringLiteral("CATEGORY1"),
                                          [](const QString &category) { return category; }};
    if (!fillGrid(NotesViews::byCategoryViewSource(), NotesViews::byCategoryViewCaptions(),
                  QStringLiteral("yy-MM-dd"), &grouping))
        return;
    DocumentGrid::showOnly(*grid(),
                           {QStringLiteral("CATEGORY1"), QStringLiteral("DOCUMENTNAME"),
                            QStringLiteral("DATE"), QStringLiteral("mDate"), QStringLiteral("TYPE"),
                            QStringLiteral("SERIALNO"), QStringLiteral("PATH")});
}

void FormNotes::ByMonthView()
{
    m_view = View::ByMonth;
    const DocumentGrid::Grouping grouping{QStringLiteral("MONTH"), [](const QString &month) {
                                              const int number = month.toInt();
                                              return number >= 1 && number <= 12
                                                         ? QLocale::c().monthName(number)
                                                         : month;
                                          }};
    if (!fillGrid(NotesViews::byMonthViewSource(), NotesViews::byMonthViewCaptions(),
                  gridDateFormat(), &grouping))
        return;
    DocumentGrid::showOnly(*grid(), {QStringLiteral("MONTH"), QStringLiteral("DATE"),
                                     QStringLiteral("DOCUMENTNAME"), QStringLiteral("TYPE"),
                                     QStringLiteral("CATEGORY1"), QStringLiteral("SERIALNO"),
                                     QStringLiteral("PATH")});
}

void FormNotes::ApplySimpleView(bool details)
{
    m_details = details;
    DocumentGrid::ApplySimpleView(*grid(), details);
    if (details) {
        ApplyColumnChoice();
        SSActiveTabs2->setCurrentIndex(0);
    }
}

void FormNotes::ApplyColumnChoice()
{
    ColumnChoice::ApplyColumnChoice(m_store, *grid());
}

void FormNotes::ApplyDocTypeIcons()
{
    m_delegate->setIconsShown(true);
    grid1->viewport()->update();
}

void FormNotes::onCurrentRowChanged(int row)
{
    updateRemoveTool();
    updateDocumentTools();
    if (row >= 0 && !grid()->isRowHeading(row))
        SelectRow(row);
}

void FormNotes::updateRemoveTool()
{
    const int row = grid1->currentGridRow();
    m_tools->tool(QStringLiteral("ID_RemoveLink"))->setEnabled(row >= 0 && isDocumentMissing(row));
}
