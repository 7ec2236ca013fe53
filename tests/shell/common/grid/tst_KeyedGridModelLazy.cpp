#include "KeyedGridModel.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QFont>
#include <QMap>
#include <QSignalSpy>
#include <QTest>

#include <vector>

namespace
{

// Rows computed from their number, as a table read a page at a time would give them; counts
// what the model asks for.
class CountingSource final : public GridRowSource
{
public:
    explicit CountingSource(int rows) : rows(rows) {}
    int rowCount() const override { return rows; }
    QString text(int row, int column) const override
    {
        ++reads;
        return row >= 0 && row < rows ? QStringLiteral("r%1c%2").arg(row).arg(column) : QString();
    }
    int rows;
    mutable int reads = 0;
};

// Headings "G<n>" over groups of rows "G<n>/<i>", each heading open or closed.
class OutlineSource final : public GridRowSource
{
public:
    explicit OutlineSource(std::vector<int> sizes) : m_sizes(sizes), m_open(sizes.size(), false) {}
    int rowCount() const override
    {
        int rows = 0;
        for (size_t g = 0; g < m_sizes.size(); ++g)
            rows += 1 + (m_open[g] ? m_sizes[g] : 0);
        return rows;
    }
    QString text(int row, int column) const override
    {
        const auto [group, offset] = locate(row);
        if (group < 0 || (offset < 0 && column > 0))
            return {};
        return offset < 0 ? QStringLiteral("G%1").arg(group)
                          : QStringLiteral("G%1/%2").arg(group).arg(offset);
    }
    int outlineLevel(int row) const override { return locate(row).second < 0 ? 0 : -1; }
    bool isCollapsed(int row) const override
    {
        const auto [group, offset] = locate(row);
        return offset < 0 && group >= 0 && !m_open[size_t(group)];
    }
    int childRows(int row) const override
    {
        const auto [group, offset] = locate(row);
        return offset < 0 && group >= 0 ? m_sizes[size_t(group)] : 0;
    }
    void setCollapsed(int row, bool collapsed) override
    {
        const auto [group, offset] = locate(row);
        if (offset < 0 && group >= 0)
            m_open[size_t(group)] = !collapsed;
    }

private:
    // The group of a row and its place in it (-1 for the heading); group -1 when out of range.
    std::pair<int, int> locate(int row) const
    {
        for (size_t g = 0; g < m_sizes.size() && row >= 0; ++g) {
            const int span = 1 + (m_open[g] ? m_sizes[g] : 0);
            if (row < span)
                return {int(g), row - 1};
            row -= span;
        }
        return {-1, 0};
    }

    std::vector<int> m_sizes;
    std::vector<bool> m_open;
};

// Rows whose cells of one column take typed text, kept beside the computed ones.
class EditableSource final : public GridRowSource
{
public:
    int rowCount() const override { return 3; }
    QString text(int row, int column) const override
    {
        return typed.value({row, column}, QStringLiteral("r%1c%2").arg(row).arg(column));
    }
    bool isEditable(int row, int column) const override { return row != 1 && column == 2; }
    bool setText(int row, int column, const QString &text) override
    {
        if (!isEditable(row, column))
            return false;
        typed.insert({row, column}, text);
        return true;
    }
    QMap<QPair<int, int>, QString> typed;
};

std::unique_ptr<KeyedGridModel> makeModel(int fixedRows)
{
    auto model = std::make_unique<KeyedGridModel>();
    model->setFixedRows(fixedRows);
    model->setFormatText(QStringLiteral("Name      |City   |Code"));
    model->setColumnKeys({"NAME", "CITY", "CODE"});
    return model;
}

} // namespace

// The keyed grid model's lazy mode: rows kept by a source and read as views ask for them.
class tst_KeyedGridModelLazy : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void millionRowsCostOnlyWhatIsRead_data();
    void millionRowsCostOnlyWhatIsRead();
    void ownRowOperationsDoNothing();
    void appendedRowsReachTheViews();
    void headingsOpenAndClose();
    void leavingLazyModeGivesOwnRowsBack();
    void sourceDecidesWhatIsEditable();
};

void tst_KeyedGridModelLazy::millionRowsCostOnlyWhatIsRead_data()
{
    QTest::addColumn<int>("fixedRows");
    QTest::newRow("heading row") << 1;
    QTest::newRow("heading and filter rows") << 2;
    QTest::newRow("no fixed row") << 0;
}

void tst_KeyedGridModelLazy::millionRowsCostOnlyWhatIsRead()
{
    QFETCH(int, fixedRows);
    auto model = makeModel(fixedRows);
    auto source = std::make_shared<CountingSource>(1'000'000);
    model->setRowSource(source);
    QVERIFY(model->isLazy());
    QCOMPARE(model->rowCount(), 1'000'000);
    QCOMPARE(model->rows(), 1'000'000 + fixedRows);
    QCOMPARE(model->shownRows(), 1'000'000);
    QCOMPARE(model->firstShownRow(), fixedRows);
    QCOMPARE(source->reads, 0);
    QCOMPARE(model->data(model->index(999'999, 2)).toString(), QStringLiteral("r999999c2"));
    QCOMPARE(model->text(fixedRows, QStringLiteral("city")), QStringLiteral("r0c1"));
    QCOMPARE(source->reads, 2);
    // Fixed rows, rows past the end and unknown keys are not the source's.
    QCOMPARE(model->text(fixedRows - 1, QStringLiteral("NAME")), QString());
    QCOMPARE(model->text(fixedRows + 1'000'000, QStringLiteral("NAME")), QString());
    QCOMPARE(model->text(fixedRows, QStringLiteral("nothing")), QString());
    QCOMPARE(source->reads, 2);
    const int row = fixedRows + 4;
    const QModelIndex index = model->indexOf(row, 1);
    QCOMPARE(index.row(), 4);
    QCOMPARE(model->gridRow(index), row);
    QCOMPARE(model->headerData(4, Qt::Vertical).toInt(), row);
    QVERIFY(!model->indexOf(fixedRows - 1, 0).isValid());
    QVERIFY(!model->indexOf(row, 3).isValid());
    QCOMPARE(model->gridRow(model->index(1'000'000, 0)), -1);
    model->setRowSource(std::make_shared<CountingSource>(0));
    QCOMPARE(model->firstShownRow(), -1);
}

void tst_KeyedGridModelLazy::ownRowOperationsDoNothing()
{
    auto model = makeModel(1);
    QAbstractItemModelTester tester(model.get());
    model->setRowSource(std::make_shared<CountingSource>(4));
    QSignalSpy reset(model.get(), &QAbstractItemModel::modelReset);
    QCOMPARE(model->appendRow(), -1);
    int filled = 0;
    QCOMPARE(model->appendRows(3, [&filled](int) { ++filled; }), 5);
    model->setText(1, QStringLiteral("NAME"), QStringLiteral("changed"));
    model->setRowBackground(2, Qt::red);
    model->setRowHidden(2, true);
    model->setRowHeading(2, true);
    QCOMPARE(model->hideRows([](int) { return true; }), 4);
    model->sortByKey(QStringLiteral("NAME"), Qt::DescendingOrder);
    QCOMPARE(filled, 0);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(model->rowCount(), 4);
    QCOMPARE(model->text(1, QStringLiteral("NAME")), QStringLiteral("r0c0"));
    QVERIFY(!model->cellBackground(2, 0).isValid());
    QVERIFY(!model->isRowHidden(2));
    QVERIFY(!model->isRowHeading(2));
    QVERIFY(!model->data(model->index(0, 0), Qt::FontRole).isValid());
}

void tst_KeyedGridModelLazy::appendedRowsReachTheViews()
{
    auto model = makeModel(1);
    QAbstractItemModelTester tester(model.get());
    auto source = std::make_shared<CountingSource>(256);
    model->setRowSource(source);
    QSignalSpy inserted(model.get(), &QAbstractItemModel::rowsInserted);
    source->rows += 1000;
    // Views keep the count they were told until the model announces the rows.
    QCOMPARE(model->rowCount(), 256);
    model->rowSourceAppended();
    QCOMPARE(model->rowCount(), 1256);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 256);
    QCOMPARE(inserted.at(0).at(2).toInt(), 1255);
    // Nothing new announces nothing; fewer rows is a new set of rows.
    model->rowSourceAppended();
    QCOMPARE(inserted.count(), 1);
    QSignalSpy reset(model.get(), &QAbstractItemModel::modelReset);
    source->rows = 56;
    model->rowSourceAppended();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model->rowCount(), 56);
}

void tst_KeyedGridModelLazy::headingsOpenAndClose()
{
    auto model = makeModel(1);
    QAbstractItemModelTester tester(model.get());
    model->setHeadingBackground(QColor(0xE0, 0xE0, 0xE0));
    model->setRowSource(std::make_shared<OutlineSource>(std::vector<int>{3, 1, 2}));
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->text(2, QStringLiteral("NAME")), QStringLiteral("G1"));
    QVERIFY(model->isRowHeading(2) && model->isHeadingCollapsed(2));
    QVERIFY(model->data(model->index(1, 0), Qt::FontRole).value<QFont>().bold());
    QCOMPARE(model->data(model->index(1, 2), Qt::BackgroundRole).value<QBrush>().color(),
             QColor(0xE0, 0xE0, 0xE0));

    QSignalSpy inserted(model.get(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(model.get(), &QAbstractItemModel::rowsRemoved);
    model->setHeadingCollapsed(1, false);
    QCOMPARE(model->rowCount(), 6);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 1);
    QCOMPARE(inserted.at(0).at(2).toInt(), 3);
    QCOMPARE(model->text(4, QStringLiteral("NAME")), QStringLiteral("G0/2"));
    QVERIFY(!model->isRowHeading(4));
    QVERIFY(!model->data(model->index(3, 0), Qt::BackgroundRole).isValid());
    // Opening an open heading or closing a data row changes nothing.
    model->setHeadingCollapsed(1, false);
    model->setHeadingCollapsed(3, true);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(removed.count(), 0);
    model->setHeadingCollapsed(6, false);
    QCOMPARE(model->text(8, QStringLiteral("NAME")), QStringLiteral("G2/1"));
    model->setHeadingCollapsed(1, true);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(2).toInt(), 3);
    QCOMPARE(model->rowCount(), 5);
    QCOMPARE(model->text(4, QStringLiteral("NAME")), QStringLiteral("G2/0"));
}

void tst_KeyedGridModelLazy::leavingLazyModeGivesOwnRowsBack()
{
    auto model = makeModel(1);
    QAbstractItemModelTester tester(model.get());
    model->setRowSource(std::make_shared<CountingSource>(10));
    model->clearRows();
    QVERIFY(!model->isLazy());
    const int row = model->appendRow();
    QCOMPARE(row, 1);
    model->setText(row, QStringLiteral("CITY"), QStringLiteral("Oslo"));
    QCOMPARE(model->text(row, QStringLiteral("CITY")), QStringLiteral("Oslo"));
    model->setRowSource(std::make_shared<CountingSource>(2));
    QCOMPARE(model->text(1, QStringLiteral("CITY")), QStringLiteral("r0c1"));
    model->setRowSource(nullptr);
    QCOMPARE(model->rowCount(), 0);
    // Columns outlive both modes.
    QCOMPARE(model->column(QStringLiteral("code")), 2);
}

void tst_KeyedGridModelLazy::sourceDecidesWhatIsEditable()
{
    auto model = makeModel(1);
    QAbstractItemModelTester tester(model.get());
    // The model's own rows are never edited through a view.
    model->appendRow();
    QVERIFY(!(model->flags(model->index(0, 2)) & Qt::ItemIsEditable));
    QVERIFY(!model->setData(model->index(0, 2), QStringLiteral("x")));
    auto source = std::make_shared<EditableSource>();
    model->setRowSource(source);
    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    QVERIFY(model->flags(model->index(0, 2)) & Qt::ItemIsEditable);
    QVERIFY(!(model->flags(model->index(1, 2)) & Qt::ItemIsEditable));
    QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable));
    QVERIFY(model->setData(model->index(2, 2), QStringLiteral("typed")));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().at(0).toModelIndex(), model->index(2, 2));
    QCOMPARE(model->data(model->index(2, 2)).toString(), QStringLiteral("typed"));
    QCOMPARE(model->text(3, QStringLiteral("CODE")), QStringLiteral("typed"));
    // Refused by the source, another role, or out of range: nothing changes, nothing is told.
    QVERIFY(!model->setData(model->index(1, 2), QStringLiteral("no")));
    QVERIFY(!model->setData(model->index(0, 2), QStringLiteral("no"), Qt::DisplayRole));
    QVERIFY(!model->setData(model->index(3, 2), QStringLiteral("no")));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(source->typed.size(), 1);
}

QTEST_MAIN(tst_KeyedGridModelLazy)
#include "tst_KeyedGridModelLazy.moc"
