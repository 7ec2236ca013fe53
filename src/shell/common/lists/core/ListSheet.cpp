#include "ListSheet.h"

#include "KeyedGridModel.h"

#include <QStringList>

void ListSheet::ListSheetSetup(KeyedGridModel &grid)
{
    QStringList captions{QString()};
    QStringList keys{QStringLiteral("R")};
    for (int c = 1; c < Columns; ++c) {
        captions << QStringLiteral("C%1").arg(c);
        keys << captions.back();
    }
    // The format text sizes the columns: the heading column narrow, the others ten characters.
    QString format = QStringLiteral("     ");
    for (int c = 1; c < Columns; ++c)
        format += QStringLiteral("|%1").arg(captions[c], -10);
    grid.setFixedRows(1);
    grid.setFormatText(format);
    grid.setColumnKeys(keys);
    grid.appendRows(Rows - 1,
                    [&grid](int row) { grid.setText(row, 0, QStringLiteral("R%1").arg(row)); });
}
