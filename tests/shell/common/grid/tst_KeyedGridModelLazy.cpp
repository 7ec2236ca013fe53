#include "KeyedGridModel.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QFont>
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
    explicit CountingSource(int rows) : m_rows(rows) {}

    int rowCount() const override { return m_rows; }
    QString text(int row, int column) const override
    {
        ++reads;
        if (row < 0 || row >= m_rows)
            return {};
        return QStringLiteral("r%1c%2").arg(row).arg(column);
    }
    void grow(int rows) { m_rows += rows; }

    mutable int reads = 0;

private:
    int m_rows;
};

// Headings over groups of data rows, each heading open or closed.
class OutlineSource final : public GridRowSource
{
public:
    explicit OutlineSource(std::vector<int> groupSizes) : m_sizes(std::move(groupSizes))
    {
        m_collapsed.assign(m_sizes.size(), true);
    }

    int rowCount() const override
    {
        int rows = 0;
        for (size_t g = 0; g < m_sizes.size(); ++g)
            rows += 1 + (m_collapsed[g] ? 0 : m_sizes[g]);
        return rows;
    }
    QString text(int row, int column) const override
    {
        int group = 0;
        int offset = 0;
        if (!locate(row, &group, &offset))
            return {};
        if (offset < 0)
            return column == 0 ? QStringLiteral("G%1").arg(group) : QString();
        return QStringLiteral("G%1/%2").arg(group).arg(offset);
    }
    int outlineLevel(int row) const override
    {
        int group = 0;
        int offset = 0;
        return locate(row, &group, &offset) && offset < 0 ? 0 : -1;
    }
    bool isCollapsed(int row) const override
    {
        int group = 0;
        int offset = 0;
        return locate(row, &group, &offset) && offset < 0 && m_collapsed[size_t(group)];
    }
    int childRows(int row) const override
    {
        int group = 0;
        int offset = 0;
        return locate(row, &group, &offset) && offset < 0 ? m_sizes[size_t(group)] : 0;
    }
    void setCollapsed(int row, bool collapsed) override
    {
        int group = 0;
        int offset = 0;
        if (locate(row, &group, &offset) && offset < 0)
            m_collapsed[size_t(group)] = collapsed;
    }

private:
    // offset -1 is the heading itself.
    bool locate(int row, int *group, int *offset) const
    {
        for (size_t g = 0; g < m_sizes.size(); ++g) {
            const int span = 1 + (m_collapsed[g] ? 0 : m_sizes[g]);
            if (row < span) {
                *group = int(g);
                *offset = row - 1;
                return row >= 0;
            }
            row -= span;
        }
        return false;
    }

    std::vector<int> m_sizes;
    std::vector<bool> m_collapsed;
};

KeyedGridModel *makeModel(int fixedRows, QObject *parent = nullptr)
{
    auto *model = new KeyedGridModel(parent);
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
    void millionRowsCostOnlyWhatIsRead();
    void rowNumbersFollowTheFixedRows_data();
    void rowNumbersFollowTheFixedRows();
    void ownRowOperationsDoNothing();
    void appendedRowsReachTheViews();
    void headingsOpenAndClose();
    void leavingLazyModeGivesOwnRowsBack();
};

void tst_KeyedGridModelLazy::millionRowsCostOnlyWhatIsRead()
{
    std::unique_ptr<KeyedGridModel> model(makeModel(1));
    auto source = std::make_shared<CountingSource>(1'000'000);
    model->setRowSource(source);
    QVERIFY(model->isLazy());
    QCOMPARE(model->rowCount(), 1'000'000);
    QCOMPARE(model->rows(), 1'000'001);
    QCOMPARE(model->dataRows(), 1'000'000);
    QCOMPARE(model->shownRows(), 1'000'000);
    QCOMPARE(source->reads, 0);
    QCOMPARE(model->data(model->index(999'999, 2)).toString(), QStringLiteral("r999999c2"));
    QCOMPARE(model->text(1, QStringLiteral("city")), QStringLiteral("r0c1"));
    QCOMPARE(model->textAt(1'000'000, 0), QStringLiteral("r999999c0"));
    QCOMPARE(source->reads, 3);
    // The heading row and rows past the end are not the source's.
    QCOMPARE(model->text(0, QStringLiteral("NAME")), QString());
    QCOMPARE(model->text(1'000'001, QStringLiteral("NAME")), QString());
    QCOMPARE(model->text(1, QStringLiteral("nothing")), QString());
    QCOMPARE(source->reads, 3);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
}

void tst_KeyedGridModelLazy::rowNumbersFollowTheFixedRows_data()
{
    QTest::addColumn<int>("fixedRows");
    QTest::newRow("heading row") << 1;
    QTest::newRow("heading and filter rows") << 2;
    QTest::newRow("no fixed row") << 0;
}

void tst_KeyedGridModelLazy::rowNumbersFollowTheFixedRows()
{
    QFETCH(int, fixedRows);
    std::unique_ptr<KeyedGridModel> model(makeModel(fixedRows));
    model->setRowSource(std::make_shared<CountingSource>(5));
    QCOMPARE(model->firstShownRow(), fixedRows);
    for (int i = 0; i < 5; ++i) {
        const int row = fixedRows + i;
        const QModelIndex index = model->indexOf(row, 1);
        QVERIFY(index.isValid());
        QCOMPARE(index.row(), i);
        QCOMPARE(model->gridRow(index), row);
        QCOMPARE(model->headerData(i, Qt::Vertical).toInt(), row);
        QVERIFY(!model->isRowHidden(row));
    }
    QVERIFY(!model->indexOf(fixedRows + 5, 0).isValid());
    QVERIFY(!model->indexOf(fixedRows - 1, 0).isValid());
    QVERIFY(!model->indexOf(fixedRows, 3).isValid());
    QCOMPARE(model->gridRow(model->index(5, 0)), -1);
    model->setRowSource(std::make_shared<CountingSource>(0));
    QCOMPARE(model->firstShownRow(), -1);
}

void tst_KeyedGridModelLazy::ownRowOperationsDoNothing()
{
    std::unique_ptr<KeyedGridModel> model(makeModel(1));
    QAbstractItemModelTester tester(model.get());
    auto source = std::make_shared<CountingSource>(4);
    model->setRowSource(source);
    QSignalSpy reset(model.get(), &QAbstractItemModel::modelReset);
    QCOMPARE(model->appendRow(), -1);
    model->setText(1, QStringLiteral("NAME"), QStringLiteral("changed"));
    model->setCellBackground(1, 0, Qt::red);
    model->setRowBackground(2, Qt::red);
    model->setRowHidden(2, true);
    QCOMPARE(model->hideRows([](int) { return true; }), 4);
    model->sortByKey(QStringLiteral("NAME"), Qt::DescendingOrder);
    model->reserveRows(100);
    model->setRowHeading(2, true);
    int filled = 0;
    QCOMPARE(model->appendRows(3, [&filled](int) { ++filled; }), 5);
    QCOMPARE(filled, 0);
    QCOMPARE(reset.count(), 0);
    QVERIFY(!model->isRowHeading(2));
    QCOMPARE(model->rowCount(), 4);
    QCOMPARE(model->text(1, QStringLiteral("NAME")), QStringLiteral("r0c0"));
    QVERIFY(!model->cellBackground(1, 0).isValid());
    QVERIFY(!model->isRowHidden(2));
    QCOMPARE(model->text(4, QStringLiteral("CODE")), QStringLiteral("r3c2"));
    QVERIFY(!model->isRowHeading(1));
    QVERIFY(!model->data(model->index(0, 0), Qt::FontRole).isValid());
}

void tst_KeyedGridModelLazy::appendedRowsReachTheViews()
{
    std::unique_ptr<KeyedGridModel> model(makeModel(1));
    QAbstractItemModelTester tester(model.get());
    auto source = std::make_shared<CountingSource>(256);
    model->setRowSource(source);
    QSignalSpy inserted(model.get(), &QAbstractItemModel::rowsInserted);
    source->grow(1000);
    // Views keep the count they were told until the model announces the rows.
    QCOMPARE(model->rowCount(), 256);
    model->rowSourceAppended();
    QCOMPARE(model->rowCount(), 1256);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 256);
    QCOMPARE(inserted.at(0).at(2).toInt(), 1255);
    QCOMPARE(model->text(1256, QStringLiteral("NAME")), QStringLiteral("r1255c0"));
    // Nothing new announces nothing; fewer rows is a new set of rows.
    model->rowSourceAppended();
    QCOMPARE(inserted.count(), 1);
    QSignalSpy reset(model.get(), &QAbstractItemModel::modelReset);
    source->grow(-1200);
    model->rowSourceAppended();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model->rowCount(), 56);
}

void tst_KeyedGridModelLazy::headingsOpenAndClose()
{
    std::unique_ptr<KeyedGridModel> model(makeModel(1));
    QAbstractItemModelTester tester(model.get());
    model->setHeadingBackground(QColor(0xE0, 0xE0, 0xE0));
    model->setRowSource(std::make_shared<OutlineSource>(std::vector<int>{3, 1, 2}));
    // Collapsed to the headings.
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->text(2, QStringLiteral("NAME")), QStringLiteral("G1"));
    QVERIFY(model->isRowHeading(2));
    QVERIFY(model->isHeadingCollapsed(2));
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
    QCOMPARE(model->text(5, QStringLiteral("NAME")), QStringLiteral("G1"));
    // Opening an open heading or closing a data row changes nothing.
    model->setHeadingCollapsed(1, false);
    model->setHeadingCollapsed(3, true);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(removed.count(), 0);

    model->setHeadingCollapsed(6, false);
    QCOMPARE(model->rowCount(), 8);
    QCOMPARE(model->text(8, QStringLiteral("NAME")), QStringLiteral("G2/1"));
    model->setHeadingCollapsed(1, true);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 1);
    QCOMPARE(removed.at(0).at(2).toInt(), 3);
    QCOMPARE(model->rowCount(), 5);
    QCOMPARE(model->text(3, QStringLiteral("NAME")), QStringLiteral("G2"));
    QCOMPARE(model->text(4, QStringLiteral("NAME")), QStringLiteral("G2/0"));
}

void tst_KeyedGridModelLazy::leavingLazyModeGivesOwnRowsBack()
{
    std::unique_ptr<KeyedGridModel> model(makeModel(1));
    QAbstractItemModelTester tester(model.get());
    model->setRowSource(std::make_shared<CountingSource>(10));
    model->clearRows();
    QVERIFY(!model->isLazy());
    QCOMPARE(model->rowCount(), 0);
    const int row = model->appendRow();
    QCOMPARE(row, 1);
    model->setText(row, QStringLiteral("CITY"), QStringLiteral("Oslo"));
    QCOMPARE(model->text(row, QStringLiteral("CITY")), QStringLiteral("Oslo"));

    model->setRowSource(std::make_shared<CountingSource>(2));
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->text(1, QStringLiteral("CITY")), QStringLiteral("r0c1"));
    model->setRowSource(nullptr);
    QCOMPARE(model->rowCount(), 0);
    // Columns outlive both modes.
    QCOMPARE(model->column(QStringLiteral("code")), 2);
    model->setFormatText(QStringLiteral("One"));
    QCOMPARE(model->columns(), 1);
}

QTEST_MAIN(tst_KeyedGridModelLazy)
#include "tst_KeyedGridModelLazy.moc"
