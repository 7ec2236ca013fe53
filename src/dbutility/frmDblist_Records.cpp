// Records changed in the grid: view, add and edit modes, deleting, typed texts written to the
// file, and cells cut, copied and pasted through the system clipboard.
#include "frmDblist.h"

#include "AppState.h"
#include "ClipboardTable.h"
#include "Dialogs.h"
#include "KeyedGrid.h"
#include "RecordGridDelegate.h"
#include "RecordPager.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"
#include "ToolStrip.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

namespace
{

bool dayFirst()
{
    return AppState::instance().national;
}

} // namespace

QWidget *frmDblist::buildRecordTools(QWidget *pane)
{
    m_recordTools = new ToolStrip(QStringLiteral("SSActiveToolBars2"), pane);
    m_recordTools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_recordTools->setIconSize(QSize(16, 16));
    m_recordTools->addTool(QStringLiteral("ID_Add"), tr("Add Record"), QStringLiteral("list-add"));
    m_recordTools->addTool(QStringLiteral("ID_Edit"), tr("Edit"), QStringLiteral("document-edit"));
    m_recordTools->addTool(QStringLiteral("ID_Delete"), tr("Delete Record"),
                           QStringLiteral("edit-delete"));
    m_recordTools->addSeparator();
    const struct {
        const char *id;
        QString text;
        const char *icon;
        QKeySequence::StandardKey key;
    } cellTools[] = {{"Cut", tr("Cut"), "edit-cut", QKeySequence::Cut},
                     {"Copy", tr("Copy"), "edit-copy", QKeySequence::Copy},
                     {"Paste", tr("Paste"), "edit-paste", QKeySequence::Paste}};
    for (const auto &tool : cellTools) {
        QAction *action =
            m_recordTools->addTool(QLatin1String(tool.id), tool.text, QLatin1String(tool.icon));
        action->setShortcut(tool.key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        action->setToolTip(
            tr("%1 the selected cells (tab-separated, as spreadsheets take them)").arg(tool.text));
        if (auto *button = qobject_cast<QToolButton *>(m_recordTools->widgetForAction(action)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        // The keys work while the grid has the focus.
        m_grid->addAction(action);
    }
    m_recordTools->addSeparator();
    m_recordTools
        ->addTool(QStringLiteral("ID_Values"), tr("Values"), QStringLiteral("view-list-bullet"))
        ->setToolTip(tr("The lists of values offered while a field is edited"));
    auto *spacer = new QWidget(m_recordTools);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_recordTools->addWidget(spacer);
    CmdRecSave =
        new QPushButton(ThemeIcon::get(QStringLiteral("document-save")), tr("Save"), m_recordTools);
    CmdRecSave->setObjectName(QStringLiteral("CmdRecSave"));
    CmdRecSave->setToolTip(tr("Write the changes to the file"));
    m_recCancel = new QPushButton(tr("Cancel"), m_recordTools);
    m_recCancel->setObjectName(QStringLiteral("CmdRecCancel"));
    m_recCancel->setToolTip(tr("Forget the changes not yet written"));
    m_recSaveTool = m_recordTools->addWidget(CmdRecSave);
    m_recCancelTool = m_recordTools->addWidget(m_recCancel);
    connect(m_recordTools, &ToolStrip::toolClicked, this, &frmDblist::onToolClicked);
    connect(CmdRecSave, &QPushButton::clicked, this, [this] {
        if (finishEditing())
            PlaySoundCue(SoundCue::Save);
    });
    connect(m_recCancel, &QPushButton::clicked, this, [this] {
        if (!m_pager)
            return;
        m_pager->dropPending();
        m_grid->viewport()->update();
        PlaySoundCue(SoundCue::Cancel);
    });
    return m_recordTools;
}

void frmDblist::setRecordMode(RecordMode mode)
{
    m_mode = mode;
    const bool editing = mode != RecordMode::View;
    LblMode->setText(mode == RecordMode::Add    ? tr("Add Mode")
                     : mode == RecordMode::Edit ? tr("Edit Mode")
                                                : tr("View Mode"));
    if (m_pager)
        m_pager->setEditable(editing);
    m_grid->setEditTriggers(
        editing ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                      QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                : QAbstractItemView::NoEditTriggers);
    // Cell commands act in Edit Mode only.
    for (const char *id : {"Cut", "Copy", "Paste"})
        m_recordTools->tool(QLatin1String(id))->setVisible(mode == RecordMode::Edit);
    m_recSaveTool->setVisible(editing);
    m_recCancelTool->setVisible(editing);
    // The query window changes records behind the typed texts' back.
    m_tools->tool(QStringLiteral("ID_Query"))->setEnabled(!editing);
}

bool frmDblist::refusedHere()
{
    RecordEditor *editor = m_pager ? m_browser.editor(dayFirst()) : nullptr;
    if (!editor)
        return true;
    QString reason = editor->readOnlyReason();
    if (reason.isEmpty() && m_pager->isReadWhole())
        reason = tr("The records of %1 cannot be changed here: it has no record numbers")
                     .arg(m_browser.table());
    if (reason.isEmpty())
        return false;
    report(reason);
    return true;
}

void frmDblist::startEditing()
{
    if (refusedHere())
        return;
    setRecordMode(RecordMode::Edit);
    PlaySoundCue(SoundCue::Edit);
}

void frmDblist::addRecord()
{
    if (refusedHere() || !finishEditing())
        return;
    finishCounting();
    const RecordEditor::Result result = m_browser.editor(dayFirst())->addRecord();
    if (!result.ok) {
        report(result.message);
        return;
    }
    PlaySoundCue(SoundCue::Add);
    showRecordCount();
    // The plain records, the new one last, ready to be filled in.
    for (QComboBox *box : m_mdbBoxes + m_dbfBoxes) {
        if (box->count() > 0)
            box->setCurrentIndex(0);
    }
    VTabs->setCurrentIndex(0);
    setRecordMode(RecordMode::Add);
    RecordSource();
    finishCounting();
    const int row = m_pager ? m_pager->rowOf(result.added.value(0, -1)) : -1;
    if (row >= 0)
        m_grid->setCurrentGridRow(row + records()->fixedRows());
}

void frmDblist::deleteRecord()
{
    if (!m_pager)
        return;
    const qint64 number = m_pager->recordNumber(m_grid->currentGridRow() - records()->fixedRows());
    if (number < 0 || refusedHere())
        return;
    if (!Dialogs::instance().question(QStringLiteral(" You want to delete this Record"),
                                      windowTitle(), Dialogs::Icon::Question))
        return;
    // What was typed into the record goes with it.
    if (m_pager->pending().count(number) > 0 && m_pager->pending().size() == 1)
        m_pager->dropPending();
    if (!finishEditing())
        return;
    finishCounting();
    const RecordEditor::Result result = m_browser.editor(dayFirst())->deleteRecord(number);
    if (!result.ok) {
        report(result.message);
        return;
    }
    PlaySoundCue(SoundCue::Del);
    showRecordCount();
    reloadRecords();
}

bool frmDblist::finishEditing()
{
    return writeChanges({});
}

bool frmDblist::writeChanges(const QList<RecordEditor::Change> &added)
{
    if (!m_pager || (!m_pager->hasPending() && added.isEmpty()))
        return true;
    RecordEditor *editor = m_browser.editor(dayFirst());
    if (!editor)
        return false;
    // The order is read whole before the table changes under it.
    finishCounting();
    const QStringList columns = m_pager->columnNames();
    QList<RecordEditor::Change> changes;
    for (const auto &[number, texts] : m_pager->pending()) {
        RecordEditor::Change change{number, {}};
        for (auto text = texts.cbegin(); text != texts.cend(); ++text)
            change.texts.insert(columns.value(text.key()), text.value());
        changes.append(change);
    }
    const int typed = int(changes.size());
    changes += added;
    m_committing = true;
    const RecordEditor::Result result = editor->apply(changes);
    if (!result.ok) {
        Dialogs::instance().message(result.message, windowTitle(), Dialogs::Icon::Warning);
        // Back to the cell refused, which still shows what was typed.
        if (result.change >= 0 && result.change < typed) {
            const int row = m_pager->rowOf(changes.at(result.change).recordNumber);
            int column = 0;
            for (int c = 0; c < columns.size(); ++c) {
                if (columns.at(c).compare(result.field, Qt::CaseInsensitive) == 0)
                    column = c;
            }
            if (row >= 0)
                m_grid->setCurrentIndex(records()->indexOf(row + records()->fixedRows(), column));
        }
        m_committing = false;
        return false;
    }
    m_pager->dropPending();
    m_pager->forgetPages();
    m_committing = false;
    showRecordCount();
    if (!result.added.isEmpty())
        reloadRecords(result.added.first());
    else
        m_grid->viewport()->update();
    return true;
}

void frmDblist::settleEdits()
{
    if (m_pager && m_pager->hasPending() && !finishEditing())
        m_pager->dropPending();
}

void frmDblist::reloadRecords(qint64 recordNumber)
{
    if (!m_pager)
        return;
    const int row = m_grid->currentGridRow() - records()->fixedRows();
    const int column = qMax(0, m_grid->currentIndex().column());
    QString error;
    std::shared_ptr<RecordPager> pager = m_browser.makePager(m_pager->query(), &error);
    if (!pager) {
        reportTableError(error);
        return;
    }
    const RecordQuery &query = pager->query();
    if ((!query.where.isEmpty() || !query.orderField.isEmpty()) && !runOrderJob(pager))
        return;
    showPager(pager);
    finishCounting();
    int target = recordNumber >= 0 ? m_pager->rowOf(recordNumber) : row;
    target = qMin(target, m_pager->rowCount() - 1);
    if (target >= 0)
        m_grid->setCurrentIndex(records()->indexOf(target + records()->fixedRows(), column));
}

void frmDblist::onRecordRowChanged(int row)
{
    if (m_committing || !m_pager || !m_pager->hasPending())
        return;
    const auto &pending = m_pager->pending();
    const qint64 number = m_pager->recordNumber(row - records()->fixedRows());
    // Still on the one record typed into.
    if (pending.size() == 1 && pending.begin()->first == number)
        return;
    finishEditing();
}

QModelIndexList frmDblist::selectedCells() const
{
    QModelIndexList cells = m_grid->selectionModel()->selectedIndexes();
    if (cells.isEmpty() && m_grid->currentIndex().isValid())
        cells.append(m_grid->currentIndex());
    std::sort(cells.begin(), cells.end());
    return cells;
}

void frmDblist::copyCells(bool cut)
{
    const QModelIndexList cells = selectedCells();
    if (m_mode != RecordMode::Edit || cells.isEmpty())
        return;
    int top = cells.first().row(), bottom = top, left = cells.first().column(), right = left;
    for (const QModelIndex &cell : cells) {
        top = qMin(top, cell.row());
        bottom = qMax(bottom, cell.row());
        left = qMin(left, cell.column());
        right = qMax(right, cell.column());
    }
    const KeyedGridModel *model = records();
    QList<QStringList> rows;
    for (int r = top; r <= bottom; ++r) {
        QStringList row;
        for (int c = left; c <= right; ++c)
            row.append(model->data(model->index(r, c)).toString());
        rows.append(row);
    }
    QGuiApplication::clipboard()->setText(ClipboardTable::text(rows));
    if (!cut)
        return;
    for (const QModelIndex &cell : cells)
        records()->setData(cell, QString());
    finishEditing();
}

void frmDblist::pasteCells()
{
    const QList<QStringList> rows = ClipboardTable::rows(QGuiApplication::clipboard()->text());
    const QModelIndexList cells = selectedCells();
    if (m_mode != RecordMode::Edit || !m_pager || rows.isEmpty() || cells.isEmpty())
        return;
    // Rows past the last record become new records: every record must be known first.
    finishCounting();
    KeyedGridModel *model = records();
    if (rows.size() == 1 && rows.first().size() == 1 && cells.size() > 1) {
        // One value into a range: every cell of it.
        for (const QModelIndex &cell : cells)
            model->setData(cell, rows.first().first());
        finishEditing();
        return;
    }
    const QStringList columns = m_pager->columnNames();
    int left = cells.first().column();
    for (const QModelIndex &cell : cells)
        left = qMin(left, cell.column());
    int viewRow = cells.first().row();
    QList<RecordEditor::Change> added;
    for (const QStringList &row : rows) {
        // Headings are no records: the rows go to the records under them.
        while (viewRow < model->rowCount() && m_pager->outlineLevel(viewRow) >= 0)
            ++viewRow;
        RecordEditor::Change change;
        for (int c = 0; c < row.size() && left + c < columns.size(); ++c) {
            if (viewRow < model->rowCount())
                model->setData(model->index(viewRow, left + c), row.at(c));
            else
                change.texts.insert(columns.at(left + c), row.at(c));
        }
        if (viewRow >= model->rowCount())
            added.append(change);
        ++viewRow;
    }
    writeChanges(added);
}

QStringList frmDblist::choicesOfColumn(int column) const
{
    if (!m_pager || column < 0 || column >= m_pager->columnNames().size())
        return {};
    return FieldChoices(m_browser.store())
        .choices({m_browser.path(), m_browser.table(), m_pager->columnNames().at(column)});
}
