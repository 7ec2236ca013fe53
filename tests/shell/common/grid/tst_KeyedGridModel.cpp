#include "KeyedGridModel.h"

#include <QAbstractItemModelTester>
#include <QFont>
#include <QSignalSpy>
#include <QTest>

// The keyed grid model: grid row numbering with fixed rows, keys, hidden rows, dates,
// backgrounds and sorting, with the Qt side kept consistent with the grid side.
class tst_KeyedGridModel : public QObject
{
    Q_OBJECT

private:
    // Every shown row maps back and forth; hidden rows have no view index.
    static bool isConsistent(const KeyedGridModel &model)
    {
        int shown = 0;
        for (int row = model.fixedRows(); row < model.rows(); ++row) {
            const QModelIndex index = model.indexOf(row, 0);
            if (model.isRowHidden(row) != !index.isValid())
                return false;
            if (index.isValid()) {
                if (model.gridRow(index) != row || index.row() != shown)
                    return false;
                ++shown;
            }
        }
        return shown == model.rowCount() && shown == model.shownRows();
    }

    static void fill(KeyedGridModel &model, const QStringList &names)
    {
        for (const QString &name : names)
            model.setText(model.appendRow(), QStringLiteral("Name"), name);
    }

private Q_SLOTS:
    void formatTextGivesCaptionsWidthsAndKeys()
    {
        KeyedGridModel model;
        model.setFormatText(QStringLiteral(
            "Name          |Ext      | Size          |Dt.Created |Dt.Modified|Att.|Location"));
        QCOMPARE(model.columns(), 7);
        QCOMPARE(model.columnInfo(0).caption, QStringLiteral("Name"));
        QCOMPARE(model.columnInfo(0).widthChars, 14);
        QCOMPARE(model.columnInfo(2).caption, QStringLiteral("Size"));
        QCOMPARE(model.columnInfo(2).widthChars, 15);
        QCOMPARE(model.columnInfo(5).widthChars, 4);
        QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Dt.Created"));
        model.setColumnKeys({"Name", "Ext", "Size", "cDate", "mDate", "Attribute", "Location"});
        QCOMPARE(model.column(QStringLiteral("cdate")), 3);
        QCOMPARE(model.column(QStringLiteral("Location")), 6);
        QCOMPARE(model.column(QStringLiteral("Group")), -1);
    }

    void rowsAreCountedWithTheFixedRows()
    {
        KeyedGridModel model;
        model.setFixedRows(2);
        model.setFormatText(QStringLiteral("Name|Ext"));
        QCOMPARE(model.rows(), 2);
        QCOMPARE(model.appendRow(), 2);
        QCOMPARE(model.appendRow(), 3);
        QCOMPARE(model.rows(), 4);
        QCOMPARE(model.rowCount(), 2);
        model.setText(3, QStringLiteral("Ext"), QStringLiteral("gz"));
        QCOMPARE(model.text(3, QStringLiteral("Ext")), QStringLiteral("gz"));
        // Fixed rows and rows past the end hold no data and ignore writes.
        model.setText(1, QStringLiteral("Ext"), QStringLiteral("x"));
        model.setText(4, QStringLiteral("Ext"), QStringLiteral("x"));
        QCOMPARE(model.text(1, QStringLiteral("Ext")), QString());
        QCOMPARE(model.text(4, QStringLiteral("Ext")), QString());
        QCOMPARE(model.rows(), 4);
        model.clearRows();
        QCOMPARE(model.rows(), 2);
        QCOMPARE(model.rowCount(), 0);
    }

    void addedColumnCoversExistingRows()
    {
        KeyedGridModel model;
        model.setFormatText(QStringLiteral("Name"));
        model.setColumnKeys({"Name"});
        fill(model, {"a", "b"});
        const int group = model.addColumn(QStringLiteral("Group"));
        model.setColumnHidden(QStringLiteral("Group"), true);
        QVERIFY(model.columnInfo(group).hidden);
        model.setText(2, group, QStringLiteral("Music"));
        QCOMPARE(model.text(2, QStringLiteral("Group")), QStringLiteral("Music"));
        QCOMPARE(model.text(1, QStringLiteral("Group")), QString());
    }

    void hiddenRowsLeaveTheViewButKeepTheirNumbers()
    {
        KeyedGridModel model;
        QAbstractItemModelTester tester(&model);
        model.setFixedRows(2);
        model.setFormatText(QStringLiteral("Name"));
        model.setColumnKeys({"Name"});
        fill(model, {"a", "b", "c", "d", "e"});
        QCOMPARE(model.hideRows([](int row) { return row % 2 == 0; }), 2);
        QVERIFY(isConsistent(model));
        QCOMPARE(model.firstShownRow(), 3);
        QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("d"));
        QCOMPARE(model.text(4, QStringLiteral("Name")), QStringLiteral("c"));
        model.setRowHidden(3, true);
        model.setRowHidden(5, true);
        QVERIFY(isConsistent(model));
        QCOMPARE(model.firstShownRow(), -1);
        model.showAllRows();
        QVERIFY(isConsistent(model));
        QCOMPARE(model.shownRows(), 5);
    }

    void rowHiddenWhileRedrawIsOffCountsAfterwards()
    {
        KeyedGridModel model;
        model.setFormatText(QStringLiteral("Name"));
        model.setColumnKeys({"Name"});
        fill(model, {"a", "b", "c"});
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.setRedraw(false);
        model.setRowHidden(1, true);
        model.setRowHidden(2, true);
        QCOMPARE(model.firstShownRow(), 3);
        QCOMPARE(reset.count(), 0);
        model.setRedraw(true);
        QCOMPARE(reset.count(), 1);
        QVERIFY(isConsistent(model));
        QCOMPARE(model.rowCount(), 1);
    }

    void datesShowInTheColumnFormat()
    {
        KeyedGridModel model;
        model.setFixedRows(2);
        model.setFormatText(QStringLiteral("Name|Dt.Modified"));
        model.setColumnKeys({"Name", "mDate"});
        model.setColumnType(QStringLiteral("mDate"), GridCellType::Date,
                            QStringLiteral("dd MMM-yy"));
        const int row = model.appendRow();
        const int empty = model.appendRow();
        model.setDate(row, QStringLiteral("mDate"), QDateTime(QDate(2024, 3, 7), QTime(13, 5)));
        QCOMPARE(model.text(row, QStringLiteral("mDate")), QStringLiteral("07 Mar-24"));
        QCOMPARE(model.date(row, QStringLiteral("mDate")),
                 QDateTime(QDate(2024, 3, 7), QTime(13, 5)));
        QCOMPARE(model.text(empty, QStringLiteral("mDate")), QString());
        QCOMPARE(model.dateKey(empty, 1), KeyedGridModel::NoDate);
        QVERIFY(!model.date(empty, QStringLiteral("mDate")).isValid());
        model.setColumnFormat(QStringLiteral("mDate"), QStringLiteral("MMM dd-yy"));
        QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("Mar 07-24"));
        // Texts of date-only formats are shared by the quarter hour; times are not.
        const int later = model.appendRow();
        model.setDate(later, QStringLiteral("mDate"), QDateTime(QDate(2024, 3, 7), QTime(13, 14)));
        QCOMPARE(model.text(later, QStringLiteral("mDate")), QStringLiteral("Mar 07-24"));
        model.setColumnFormat(QStringLiteral("mDate"), QStringLiteral("HH:mm"));
        QCOMPARE(model.text(row, QStringLiteral("mDate")), QStringLiteral("13:05"));
        QCOMPARE(model.text(later, QStringLiteral("mDate")), QStringLiteral("13:14"));
    }

    void sortIsCaseInsensitiveAndStable_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("case") << QStringList{"beta", "Alpha", "alpha2", "ALPHA"}
                              << int(Qt::AscendingOrder)
                              << QStringList{"Alpha", "ALPHA", "alpha2", "beta"};
        QTest::newRow("descending keeps ties")
            << QStringList{"b", "A", "a", "c"} << int(Qt::DescendingOrder)
            << QStringList{"c", "b", "A", "a"};
        QTest::newRow("past sixteen characters")
            << QStringList{"abcdefghijklmnopB", "ABCDEFGHIJKLMNOPa", "abcdefghijklmnop"}
            << int(Qt::AscendingOrder)
            << QStringList{"abcdefghijklmnop", "ABCDEFGHIJKLMNOPa", "abcdefghijklmnopB"};
        QTest::newRow("beyond Latin-1")
            << QStringList{"\u03A9b", "\u03C9a", "z", "\u00E9"} << int(Qt::AscendingOrder)
            << QStringList{"z", "\u00E9", "\u03C9a", "\u03A9b"};
        QTest::newRow("empty first")
            << QStringList{"x", "", "a"} << int(Qt::AscendingOrder) << QStringList{"", "a", "x"};
    }

    void sortIsCaseInsensitiveAndStable()
    {
        QFETCH(QStringList, names);
        QFETCH(int, order);
        QFETCH(QStringList, sorted);
        KeyedGridModel model;
        model.setFixedRows(2);
        model.setFormatText(QStringLiteral("Name"));
        model.setColumnKeys({"Name"});
        fill(model, names);
        model.sortByKey(QStringLiteral("Name"), Qt::SortOrder(order));
        QStringList result;
        for (int row = 2; row < model.rows(); ++row)
            result << model.text(row, QStringLiteral("Name"));
        QCOMPARE(result, sorted);
    }

    void rowStateMovesWithItsRowWhenSorting()
    {
        KeyedGridModel model;
        model.setFixedRows(2);
        model.setFormatText(QStringLiteral("Name|When"));
        model.setColumnKeys({"Name", "When"});
        model.setColumnType(QStringLiteral("When"), GridCellType::Date, QStringLiteral("yyyy"));
        fill(model, {"c", "a", "b"});
        model.setDate(2, QStringLiteral("When"), QDateTime(QDate(2003, 1, 1), QTime()));
        model.setDate(3, QStringLiteral("When"), QDateTime(QDate(2001, 1, 1), QTime()));
        model.setRowBackground(2, Qt::red);
        model.setRowHidden(3, true);
        model.sortByKey(QStringLiteral("Name"));
        // a (hidden, 2001), b (no date), c (red, 2003)
        QVERIFY(model.isRowHidden(2));
        QCOMPARE(model.text(2, QStringLiteral("When")), QStringLiteral("2001"));
        QCOMPARE(model.cellBackground(4, 1), QColor(Qt::red));
        QVERIFY(!model.cellBackground(3, 1).isValid());
        QVERIFY(isConsistent(model));
        model.sortByKey(QStringLiteral("When"));
        QCOMPARE(model.text(2, QStringLiteral("Name")), QStringLiteral("b"));
        QCOMPARE(model.text(4, QStringLiteral("Name")), QStringLiteral("c"));
    }

    void backgroundPaintsEveryCellOfTheRow()
    {
        KeyedGridModel model;
        model.setFixedRows(2);
        model.setFormatText(QStringLiteral("A|B|C"));
        fill(model, {"x", "y"});
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setRowBackground(3, QColor(0xE1, 0xC2, 0x8A));
        QCOMPARE(changed.count(), 1);
        for (int c = 0; c < 3; ++c)
            QCOMPARE(model.cellBackground(3, c), QColor(0xE1, 0xC2, 0x8A));
        QVERIFY(!model.cellBackground(2, 2).isValid());
        QCOMPARE(model.data(model.index(1, 2), Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(0xE1, 0xC2, 0x8A));
        model.setCellBackground(3, 2, QColor());
        QVERIFY(!model.cellBackground(3, 2).isValid());
        model.clearRows();
        model.appendRow();
        QVERIFY(!model.cellBackground(2, 0).isValid());
    }

    void appendingSignalsOnlyWhileRedrawIsOn()
    {
        KeyedGridModel model;
        QAbstractItemModelTester tester(&model);
        model.setFormatText(QStringLiteral("A"));
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.appendRow();
        QCOMPARE(inserted.count(), 1);
        model.setRedraw(false);
        for (int i = 0; i < 100; ++i)
            model.setText(model.appendRow(), 0, QString::number(i));
        QCOMPARE(inserted.count(), 1);
        model.setRedraw(true);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.rowCount(), 101);
        QVERIFY(isConsistent(model));
    }

    // A collapsed heading folds the rows up to the next heading; rows a filter hid stay hidden
    // when it unfolds, and heading marks move with their rows.
    void headingsFoldTheirRowsApartFromHiddenOnes()
    {
        KeyedGridModel model;
        QAbstractItemModelTester tester(&model);
        model.setFormatText(QStringLiteral("Name"));
        fill(model, {"Home", "bills", "garden", "Work", "report"});
        model.setRowHeading(1, true);
        model.setRowHeading(4, true);
        QVERIFY(model.isRowHeading(1));
        QVERIFY(!model.isRowHeading(2));
        QCOMPARE(model.index(0, 0).data(Qt::FontRole).value<QFont>().bold(), true);
        QVERIFY(!model.index(1, 0).data(Qt::FontRole).isValid());

        model.setRowHidden(3, true);
        model.setHeadingCollapsed(1, true);
        QVERIFY(model.isHeadingCollapsed(1));
        QCOMPARE(model.rowCount(), 3); // Home, Work, report
        QCOMPARE(model.gridRow(model.index(1, 0)), 4);
        QVERIFY(!model.isRowHidden(2)); // folded, not hidden
        model.setHeadingCollapsed(1, false);
        QCOMPARE(model.rowCount(), 4); // garden stays hidden by the filter
        QVERIFY(isConsistent(model));

        // Collapsing is for headings only.
        model.setHeadingCollapsed(2, true);
        QVERIFY(!model.isHeadingCollapsed(2));
        QCOMPARE(model.rowCount(), 4);

        model.sortByKey(QStringLiteral("Name"));
        QCOMPARE(model.text(1, QStringLiteral("Name")), QStringLiteral("bills"));
        QVERIFY(model.isRowHeading(3)); // Home
        QVERIFY(model.isRowHeading(5)); // Work
        model.clearRows();
        fill(model, {"a"});
        QVERIFY(!model.isRowHeading(1));
    }

    // Rows appended in a run reach the views as one insertion: the view keeps its current row.
    void appendedRunIsOneInsertion()
    {
        KeyedGridModel model;
        QAbstractItemModelTester tester(&model);
        model.setFormatText(QStringLiteral("Name|Ext"));
        fill(model, {"first"});
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        const int first = model.appendRows(3, [&model](int row) {
            model.setText(row, QStringLiteral("Name"), QStringLiteral("n%1").arg(row));
        });
        QCOMPARE(first, 2);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted.front().at(1).toInt(), 1);
        QCOMPARE(inserted.front().at(2).toInt(), 3);
        QCOMPARE(changed.size(), 0);
        QCOMPARE(reset.size(), 0);
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.index(3, 0).data().toString(), QStringLiteral("n4"));
        QCOMPARE(model.appendRows(0, [](int) {}), 5);
        QVERIFY(isConsistent(model));
    }
};

QTEST_GUILESS_MAIN(tst_KeyedGridModel)
#include "tst_KeyedGridModel.moc"
