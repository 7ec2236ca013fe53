#include "KeyedGrid.h"

#include "FilterHeader.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>

KeyedGrid::KeyedGrid(QWidget *parent)
    : QTableView(parent), m_model(new KeyedGridModel(this)), m_header(new FilterHeader(this))
{
    setHorizontalHeader(m_header);
    setModel(m_model);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setShowGrid(true);
    setAlternatingRowColors(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_header->setStretchLastSection(true);

    connect(m_model, &KeyedGridModel::columnsLaidOut, this, &KeyedGrid::applyColumns);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                Q_EMIT currentGridRowChanged(m_model->gridRow(current));
            });
    // A double click on an outline heading folds or unfolds its rows.
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        const int row = m_model->gridRow(index);
        if (m_model->isRowHeading(row)) {
            m_model->setHeadingCollapsed(row, !m_model->isHeadingCollapsed(row));
            setCurrentGridRow(row);
        }
    });
    connect(this, &QAbstractItemView::pressed, this, [this](const QModelIndex &index) {
        const int row = m_model->gridRow(index);
        if (row >= 0)
            Q_EMIT rowPicked(row);
    });
}

void KeyedGrid::applyColumns()
{
    const int charWidth = fontMetrics().averageCharWidth();
    for (int c = 0; c < m_model->columns(); ++c) {
        const GridColumn &column = m_model->columnInfo(c);
        setColumnHidden(c, column.hidden);
        setColumnWidth(c, column.widthChars * charWidth + 8);
    }
    // The filter row takes the height of a combo box so the filter boxes fit.
    static const int comboHeight = QComboBox().sizeHint().height();
    m_header->setBandHeight(m_model->fixedRows() >= 2 ? comboHeight : 0);
}

int KeyedGrid::currentGridRow() const
{
    return m_model->gridRow(currentIndex());
}

void KeyedGrid::setCurrentGridRow(int row)
{
    const QModelIndex index = m_model->indexOf(row, 0);
    setCurrentIndex(index);
    if (index.isValid())
        scrollTo(index);
}

int KeyedGrid::columnWidthOf(const QString &key) const
{
    const int c = m_model->column(key);
    return c < 0 ? 0 : columnWidth(c);
}

void KeyedGrid::keyPressEvent(QKeyEvent *event)
{
    QTableView::keyPressEvent(event);
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return) {
        const int row = currentGridRow();
        if (row >= 0)
            Q_EMIT rowPicked(row);
    }
}
