// Fills the file grid model with generated rows (1M by default), then times appending, sorting
// and each filter of the date/extension/category table, and prints every figure and the
// slowest filter.
//
// usage: grid_filter [ROWS]
#include "DateRanges.h"
#include "FileGridFilter.h"
#include "KeyedGridModel.h"
#include "RowFilter.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace
{

double msSince(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rows = std::max(1, app.arguments().value(1, QStringLiteral("1000000")).toInt());

    KeyedGridModel grid;
    grid.setFixedRows(2);
    grid.setFormatText(QStringLiteral(
        "Name          |Ext      | Size          |Dt.Created |Dt.Modified|Att.|Location"));
    grid.setColumnKeys({"Name", "Ext", "Size", "cDate", "mDate", "Attribute", "Location"});
    grid.setColumnType(QStringLiteral("cDate"), GridCellType::Date, QStringLiteral("dd MMM-yy"));
    grid.setColumnType(QStringLiteral("mDate"), GridCellType::Date, QStringLiteral("dd MMM-yy"));
    const int group = grid.addColumn(QStringLiteral("Group"));

    const QStringList exts = {"txt", "doc", "JPG", "jpg", "mp3", "", "gz", "xls"};
    const QStringList groups = {"Document", "Document", "Picture", "Picture",
                                "Music",    "Others",   "Archive", "Spreadsheet"};
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    // Names and paths made beforehand so that the fill time is the grid's own.
    std::vector<QString> names(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i)
        names[size_t(i)] = QStringLiteral("file%1").arg((i * 7919) % rows);

    QElapsedTimer timer;
    timer.start();
    grid.setRedraw(false);
    grid.reserveRows(rows);
    for (int i = 0; i < rows; ++i) {
        const int row = grid.appendRow();
        grid.setText(row, 0, names[size_t(i)]);
        grid.setText(row, 1, exts[i % exts.size()]);
        grid.setText(row, 2, QStringLiteral("1Kb"));
        grid.setDateKey(row, 3, now - qint64(i % 800) * 86400000);
        grid.setDateKey(row, 4,
                        i % 50 == 0 ? KeyedGridModel::NoDate : now - qint64(i % 400) * 86400000);
        grid.setText(row, 5, QStringLiteral("A"));
        grid.setText(row, 6, names[size_t(i)]);
        grid.setText(row, group, groups[i % groups.size()]);
    }
    grid.setRedraw(true);
    std::printf("rows=%d append_ms=%.1f\n", rows, msSince(timer));

    // What scrolling through every row asks of the model: each cell's display text once,
    // then again (a lookup from then on).
    for (int pass = 0; pass < 2; ++pass) {
        timer.restart();
        qsizetype characters = 0;
        for (int row = 0; row < grid.rowCount(); ++row) {
            for (int column = 0; column < grid.columnCount(); ++column)
                characters += grid.data(grid.index(row, column)).toString().size();
        }
        std::printf("%s_display_all_cells_ms=%.1f (%lld characters)\n",
                    pass == 0 ? "first" : "second", msSince(timer), qint64(characters));
    }

    timer.restart();
    grid.sortByKey(QStringLiteral("Name"));
    std::printf("sort_name_ms=%.1f\n", msSince(timer));
    timer.restart();
    grid.sortByKey(QStringLiteral("mDate"));
    std::printf("sort_date_ms=%.1f\n", msSince(timer));

    double slowest = 0;
    QString slowestName;
    for (const QString &category : {QString(), QStringLiteral("Document")}) {
        for (const QString &ext : {QStringLiteral("*.*"), QStringLiteral("*.JPG")}) {
            for (const QString &range : DateRanges::entries()) {
                for (const QString &column : {QStringLiteral("cDate"), QStringLiteral("mDate")}) {
                    const RowFilter filter =
                        RowFilter::dateFilter(DateRanges::days(range), ext, category);
                    timer.restart();
                    const int shown = FileGridFilter::apply(grid, filter, column);
                    const double ms = msSince(timer);
                    const QString name =
                        QStringLiteral("%1 %2 %3 %4")
                            .arg(range, ext, category.isEmpty() ? "-" : category, column);
                    std::printf("filter [%s] shown=%d ms=%.1f\n", qPrintable(name), shown, ms);
                    if (ms > slowest) {
                        slowest = ms;
                        slowestName = name;
                    }
                }
            }
        }
        timer.restart();
        const int shown = FileGridFilter::apply(
            grid, RowFilter::extensionFilter(QStringLiteral("*.JPG"), category), QString());
        const double ms = msSince(timer);
        std::printf("filter [extension *.JPG %s] shown=%d ms=%.1f\n",
                    qPrintable(category.isEmpty() ? "-" : category), shown, ms);
        if (ms > slowest) {
            slowest = ms;
            slowestName = QStringLiteral("extension *.JPG");
        }
    }
    std::printf("slowest_filter_ms=%.1f (%s)\n", slowest, qPrintable(slowestName));
    return 0;
}
