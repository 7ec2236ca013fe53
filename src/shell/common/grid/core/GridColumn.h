#pragma once

#include <QString>
#include <Qt>

// How a grid column keeps and shows its cells.
enum class GridCellType {
    Text, // cells are the text shown
    Date  // cells are points in time, shown through the column's display format
};

// One column of a KeyedGridModel: addressed by key, never by position.
struct GridColumn {
    QString key;
    QString caption;
    // Width in average characters, as the format text gives it (blanks included).
    int widthChars = 10;
    GridCellType type = GridCellType::Text;
    // Display format of a date column ("dd MMM-yy"), English month names.
    QString format;
    bool hidden = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};
