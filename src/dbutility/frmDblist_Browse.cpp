// Tables, fields and records: the source, the field lists and marks, the record grid with its
// sort tools, filter boxes and grouped view.
#include "frmDblist.h"

#include "Dialogs.h"
#include "FileFacts.h"
#include "KeyedGrid.h"
#include "RecordGridDelegate.h"
#include "RecordPager.h"
#include "ToolStrip.h"
#include "frmQuery.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>

namespace
{

const QString All = QStringLiteral("All");

} // namespace

void frmDblist::OpenSource(const QString &path, const QString &typeText)
{
    clearChoosing();
    QString error;
    if (!m_browser.OpenSource(path, typeText, &error)) {
        report(error);
        return;
    }
    LblName->setText(path);
    const QStringList tables = m_browser.tables();
    const bool list = m_browser.source()->hasTableList();
    m_tablesCaption->setVisible(list);
    m_tableList->setVisible(list);
    if (list) {
        fillTableList(tables);
        if (tables.isEmpty())
            report(tr("%1 has no tables that can be read").arg(QFileInfo(path).fileName()));
    } else if (!tables.isEmpty()) {
        ListFields(tables.first());
    }
}

void frmDblist::fillTableList(const QStringList &tables)
{
    m_filling = true;
    m_tableList->clear();
    m_tableList->addItems(tables);
    m_filling = false;
    if (!tables.isEmpty())
        m_tableList->setCurrentRow(0);
}

void frmDblist::ListFields(const QString &table)
{
    settleEdits();
    setRecordMode(RecordMode::View);
    m_fillTimer->stop();
    records()->setRowSource(nullptr);
    m_pager.reset();
    lblTblName->setText(table);
    const QList<FieldInfo> fields = m_browser.ListFields(table);
    m_filling = true;
    lstFields->clear();
    KeyedGridModel *grid3 = Grid3->grid();
    grid3->clearRows();
    for (const FieldInfo &field : fields) {
        auto *item = new QListWidgetItem(field.name, lstFields);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setToolTip(field.typeName + QStringLiteral(", ") + field.sizeText());
        const int row = grid3->appendRow();
        grid3->setText(row, QStringLiteral("Name"), field.name);
        grid3->setText(row, QStringLiteral("Type"), field.typeName);
        grid3->setText(row, QStringLiteral("Size"), field.sizeText());
    }
    m_filling = false;
    showRecordCount();
    loadMarks();
    fillValueFields();
    report(m_browser.source()->loadError(table));
}

void frmDblist::showRecordCount()
{
    if (m_browser.source())
        LblRcount->setText(
            tr("Records: %1").arg(m_browser.source()->recordCount(m_browser.table())));
}

void frmDblist::loadMarks()
{
    m_filling = true;
    const QList<FavouritesCatalogue::FieldMark> marks = m_browser.fieldMarks();
    Grid4->setRowCount(0);
    KeyedGridModel *details = m_details->grid();
    details->clearRows();
    for (const FieldInfo &field : m_browser.fields()) {
        const int row = details->appendRow();
        details->setText(row, QStringLiteral("Name"), field.name);
        details->setText(row, QStringLiteral("Type"), field.typeName);
        details->setText(row, QStringLiteral("Size"), field.sizeText());
    }
    for (const FavouritesCatalogue::FieldMark &mark : marks) {
        const int row = Grid4->rowCount();
        Grid4->insertRow(row);
        Grid4->setItem(row, 0, new QTableWidgetItem(mark.fieldName));
        auto *view = new QTableWidgetItem;
        view->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        view->setCheckState(mark.visible ? Qt::Checked : Qt::Unchecked);
        Grid4->setItem(row, 1, view);
        for (int d = details->fixedRows(); d < details->rows(); ++d) {
            if (details->text(d, QStringLiteral("Name"))
                    .compare(mark.fieldName, Qt::CaseInsensitive) == 0)
                details->setText(d, QStringLiteral("View"), mark.visible ? tr("Yes") : tr("No"));
        }
        for (int i = 0; i < lstFields->count(); ++i) {
            if (mark.marked && lstFields->item(i)->text() == mark.fieldName)
                lstFields->item(i)->setCheckState(Qt::Checked);
        }
    }
    m_filling = false;
}

void frmDblist::onFieldTicked(QListWidgetItem *item)
{
    if (m_filling)
        return;
    int ticked = 0;
    for (int i = 0; i < lstFields->count(); ++i)
        ticked += lstFields->item(i)->checkState() == Qt::Checked ? 1 : 0;
    if (ticked > FavouritesCatalogue::MaxMarked) {
        Dialogs::instance().message(QStringLiteral("You can select maximum of five fields"),
                                    windowTitle(), Dialogs::Icon::Information);
        m_filling = true;
        item->setCheckState(Qt::Unchecked);
        m_filling = false;
        return;
    }
    m_browser.favourites().SetMarked(m_browser.path(), m_browser.table(), item->text(),
                                     item->checkState() == Qt::Checked);
    if (m_pager) {
        SortEntries();
        FilterBoxes();
    }
}

void frmDblist::onVisibilityChanged(int row, int column)
{
    if (m_filling || column != 1)
        return;
    const QString field = Grid4->item(row, 0) ? Grid4->item(row, 0)->text() : QString();
    m_browser.favourites().setVisible(m_browser.path(), m_browser.table(), field,
                                      Grid4->item(row, 1)->checkState() == Qt::Checked);
    if (m_pager)
        RecordSource(m_where);
}

void frmDblist::CmdNext_Click()
{
    if (!m_browser.source() || m_browser.path().isEmpty() || m_browser.table().isEmpty())
        return;
    setRecordMode(RecordMode::View);
    RecordSource();
    ShowFileFacts(true);
    SortEntries();
    FilterBoxes();
}

void frmDblist::RecordSource(const QString &where)
{
    if (!m_browser.source())
        return;
    settleEdits();
    m_where = where;
    QString error;
    std::shared_ptr<RecordPager> pager = m_browser.makePager(m_browser.recordQuery(where), &error);
    if (!pager) {
        reportTableError(error);
        return;
    }
    if (!where.isEmpty() && !runOrderJob(pager))
        return;
    showPager(pager);
}

void frmDblist::showPager(std::shared_ptr<RecordPager> pager)
{
    m_fillTimer->stop();
    m_delegate->clearFonts();
    pager->setEditable(m_mode != RecordMode::View);
    KeyedGridModel *model = records();
    // The first page shows at once; the rest of a plain order follows while the window idles.
    if (!pager->isComplete())
        pager->fillMore(RecordPager::PageRows, 50);
    QStringList format;
    for (const QString &name : pager->columnNames()) {
        int size = 10;
        for (const FieldInfo &field : m_browser.fields()) {
            if (field.name.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            switch (field.valueClass()) {
            case ValueClass::Date:
                size = 19;
                break;
            case ValueClass::Number:
                size = qMax(field.size, 10);
                break;
            default:
                size = field.size;
            }
        }
        const int width = qBound(6, qMax<int>(int(name.size()), size), 32) + 1;
        format << QString(name).replace(QLatin1Char('|'), QLatin1Char('/')).leftJustified(width);
    }
    model->setFormatText(format.join(QLatin1Char('|')));
    model->setColumnKeys(pager->columnNames());
    model->setRowSource(pager);
    m_pager = std::move(pager);
    const RecordQuery &query = m_pager->query();
    const int sorted = int(m_pager->columnNames().indexOf(query.orderField));
    m_grid->horizontalHeader()->setSortIndicatorShown(sorted >= 0 && !query.grouped);
    if (sorted >= 0)
        m_grid->horizontalHeader()->setSortIndicator(sorted, query.descending ? Qt::DescendingOrder
                                                                              : Qt::AscendingOrder);
    m_grid->setCurrentGridRow(model->firstShownRow());
    updatePosition();
    if (!m_pager->isComplete())
        m_fillTimer->start();
}

void frmDblist::fillMore()
{
    if (!m_pager || m_busy) {
        m_fillTimer->stop();
        return;
    }
    const bool complete = m_pager->fillMore(1 << 20, 15);
    records()->rowSourceAppended();
    updatePosition();
    if (complete)
        m_fillTimer->stop();
}

void frmDblist::finishCounting()
{
    while (m_fillTimer->isActive())
        fillMore();
}

void frmDblist::ShowFileFacts(bool plainSize)
{
    const QString path = m_browser.path();
    m_created->setText(tr("Created: %1").arg(FileFacts::createdText(path)));
    m_fileSize->setText(tr("Size: %1").arg(FileFacts::sizeText(path, plainSize)));
    m_fileType->setText(FileFacts::typeDescription(path));
}

void frmDblist::SortEntries()
{
    const QStringList fields = m_browser.source() ? m_browser.sortFields() : QStringList();
    for (int i = 1; i <= 5; ++i) {
        QAction *tool = findChild<QAction *>(QStringLiteral("ID_Sort%1").arg(i));
        tool->setVisible(i <= fields.size());
        tool->setText(i <= fields.size() ? BrowseSql::sortCaption(fields[i - 1]) : QString());
    }
    m_tools->tool(QStringLiteral("Sort"))->setVisible(!fields.isEmpty());
}

QComboBox *frmDblist::filterBox(bool access, int index) const
{
    return (access ? m_mdbBoxes : m_dbfBoxes).value(index);
}

void frmDblist::FilterBoxes()
{
    for (QComboBox *box : m_mdbBoxes + m_dbfBoxes) {
        box->clear();
        box->hide();
    }
    for (QLabel *caption : std::as_const(m_filterCaptions))
        caption->hide();
    while (VTabs->count() > 1)
        VTabs->removeTab(VTabs->count() - 1);
    if (!m_browser.source())
        return;
    const bool access = m_browser.isAccessPath();
    const QStringList fields = m_browser.filterFields();
    for (int i = 0; i < fields.size() && i < 5; ++i) {
        QComboBox *box = filterBox(access, i);
        box->setProperty("Tag", fields[i]);
        box->setToolTip(tr("Show the records whose %1 is the value chosen").arg(fields[i]));
        box->addItem(All);
        box->addItems(m_browser.distinctValues(fields[i]));
        box->setCurrentIndex(0);
        box->show();
        m_filterCaptions[i]->setText(fields[i] + QLatin1Char(':'));
        m_filterCaptions[i]->show();
        VTabs->addTab(fields[i]);
    }
    VTabs->setCurrentIndex(0);
}

void frmDblist::onFilterChosen(QComboBox *chosen)
{
    const bool access = m_mdbBoxes.contains(chosen);
    const QList<QComboBox *> &boxes = access ? m_mdbBoxes : m_dbfBoxes;
    bool allAll = true;
    for (QComboBox *box : boxes)
        allAll = allAll && (box->count() == 0 || box->currentText() == All);
    if (allAll) {
        RecordSource();
        return;
    }
    if (chosen->currentText() == All)
        return;
    for (QComboBox *box : boxes) {
        if (box != chosen && box->count() > 0)
            box->setCurrentIndex(0);
    }
    RecordSource(m_browser.filterClause(chosen->property("Tag").toString(), chosen->currentText()));
}

void frmDblist::SortBy(const QString &field, bool descending)
{
    if (field.isEmpty() || !m_browser.source())
        return;
    settleEdits();
    QString error;
    std::shared_ptr<RecordPager> pager =
        m_browser.makePager(m_browser.recordQuery(m_where, field, false, descending), &error);
    if (!pager) {
        reportTableError(error);
        return;
    }
    if (runOrderJob(pager))
        showPager(pager);
}

void frmDblist::onGroupTab(int index)
{
    if (index < 0 || !m_browser.source())
        return;
    VTabs->setCurrentIndex(index);
    if (index == 0) {
        Refresh();
        return;
    }
    const QString field = VTabs->tabText(index);
    if (field.isEmpty())
        return;
    settleEdits();
    QString error;
    std::shared_ptr<RecordPager> pager =
        m_browser.makePager(m_browser.recordQuery(m_where, field, true), &error);
    if (!pager) {
        reportTableError(error);
        return;
    }
    if (runOrderJob(pager))
        showPager(pager);
}

void frmDblist::moveRecord(int step)
{
    KeyedGridModel *model = records();
    const int row = m_grid->currentGridRow();
    const int target = row < 0 ? model->firstShownRow() : row + step;
    if (model->isDataRow(target))
        m_grid->setCurrentGridRow(target);
}

void frmDblist::updatePosition()
{
    if (!m_pager) {
        m_position->clear();
        return;
    }
    const int row = m_grid->currentGridRow() - records()->fixedRows();
    // A heading stands for the first record under it.
    const qint64 position =
        row < 0 ? -1 : qMax(m_pager->recordPosition(row), m_pager->groupStart(row));
    m_position->setText((position < 0 ? QString() : QString::number(position + 1)) +
                        QLatin1Char('/') + QString::number(m_pager->recordCount()));
}

void frmDblist::Refresh()
{
    // Typed texts that cannot be written stay, with the rows in edit mode.
    if (!m_browser.source() || !finishEditing())
        return;
    for (QComboBox *box : m_mdbBoxes + m_dbfBoxes) {
        if (box->count() > 0)
            box->setCurrentIndex(0);
    }
    VTabs->setCurrentIndex(0);
    setRecordMode(RecordMode::View);
    RecordSource();
}

void frmDblist::CmdSingle_Click()
{
    clearChoosing();
    grdFavData->setCurrentGridRow(-1);
    LblMode->setText(tr("Single"));
}

void frmDblist::openQueryWindow()
{
    if (!m_browser.source() || m_browser.table().isEmpty())
        return;
    // Modal to this window, and shown without waiting, so the window keeps painting behind it.
    auto *query = new frmQuery(
        m_browser, m_pager ? m_pager->query().text() : m_browser.recordQuery().text(), this);
    query->setAttribute(Qt::WA_DeleteOnClose);
    connect(query, &QDialog::finished, this, [this, query] {
        if (query->changedRecords() > 0)
            Refresh();
    });
    query->open();
}

void frmDblist::chooseFile()
{
    const QString path =
        Dialogs::instance().openFileName(tr("Open a Database"), QString(), m_dialogFilter);
    if (path.isEmpty())
        return;
    m_browsePath->setText(path);
    // What the file holds decides over the type chosen before it was picked.
    const DbKind kind = DbSourceType::detect(path);
    const int type = cboDbType->findText(DbSourceType::text(kind), Qt::MatchFixedString);
    if (kind != DbKind::None && type >= 0)
        cboDbType->setCurrentIndex(type);
    OpenSource(path, cboDbType->currentText());
    ShowFileFacts(false);
}
