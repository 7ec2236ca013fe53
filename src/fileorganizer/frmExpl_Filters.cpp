// frmExpl: the filter boxes over the grid's filter row.

#include "frmExpl.h"

#include "DateRanges.h"
#include "ExtensionList.h"
#include "FileGridFilter.h"
#include "FilterHeader.h"
#include "KeyedGrid.h"
#include "RowFilter.h"

#include <QComboBox>
#include <QFrame>

void frmExpl::buildFilterBoxes()
{
    auto makeBox = [this](const QString &name) {
        auto *box = new QComboBox(FileGrid->filterHeader()->viewport());
        box->setObjectName(name);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(3);
        return box;
    };
    cboExt = makeBox(QStringLiteral("cboExt"));
    cboExt->addItem(QStringLiteral("*.*"));
    cboDateRangeC = makeBox(QStringLiteral("cboDateRangeC"));
    cboDateRangeM = makeBox(QStringLiteral("cboDateRangeM"));
    for (QComboBox *box : {cboDateRangeC, cboDateRangeM}) {
        box->addItems(DateRanges::entries());
        box->setCurrentText(DateRanges::all());
    }
    connect(cboExt, &QComboBox::activated, this, &frmExpl::onExtChosen);
    connect(cboDateRangeC, &QComboBox::activated, this,
            [this] { onDateRangeChosen(cboDateRangeC, cboDateRangeM, QStringLiteral("cDate")); });
    connect(cboDateRangeM, &QComboBox::activated, this,
            [this] { onDateRangeChosen(cboDateRangeM, cboDateRangeC, QStringLiteral("mDate")); });
}

void frmExpl::ComboPos()
{
    // The header places the boxes again by itself whenever a column is resized or scrolled.
    FilterHeader *header = FileGrid->filterHeader();
    header->placeOver(cboExt, grid()->column(QStringLiteral("Ext")));
    header->placeOver(cboDateRangeC, grid()->column(QStringLiteral("cDate")));
    header->placeOver(cboDateRangeM, grid()->column(QStringLiteral("mDate")));
}

void frmExpl::ComboExtItem(const QString &category)
{
    KeyedGridModel *model = grid();
    const int ext = model->column(QStringLiteral("Ext"));
    const int group = model->column(QStringLiteral("Group"));
    ExtensionList list(category);
    for (int row = model->fixedRows(); row < model->rows(); ++row)
        list.add(model->textAt(row, ext), model->textAt(row, group));
    cboExt->clear();
    cboExt->addItems(list.items());
    cboExt->setCurrentIndex(0);
}

QString frmExpl::currentCategory() const
{
    return m_branch == Branch::CategoryWise ? m_category : QString();
}

void frmExpl::resetDateBoxes()
{
    cboDateRangeC->setCurrentText(DateRanges::all());
    cboDateRangeM->setCurrentText(DateRanges::all());
}

void frmExpl::onDateRangeChosen(QComboBox *chosen, QComboBox *other, const QString &dateColumnKey)
{
    // The two date conditions never combine: choosing one range clears the other.
    other->setCurrentText(DateRanges::all());
    ApplyDateFilter(DateRanges::days(chosen->currentText()), dateColumnKey, currentCategory());
}

void frmExpl::ApplyDateFilter(int days, const QString &dateColumnKey, const QString &category)
{
    KeyedGridModel *model = grid();
    const RowFilter filter = RowFilter::dateFilter(days, cboExt->currentText(), category);
    if (FileGridFilter::apply(*model, filter, dateColumnKey) == 0)
        return;
    showFirstShownRow();
}

void frmExpl::onExtChosen()
{
    KeyedGridModel *model = grid();
    if (model->rows() <= model->fixedRows())
        return;
    resetDateBoxes();
    FileGridFilter::apply(
        *model, RowFilter::extensionFilter(cboExt->currentText(), currentCategory()), QString());
    showFirstShownRow();
}
