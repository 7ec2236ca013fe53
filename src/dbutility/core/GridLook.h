#pragma once

#include <QString>
#include <QStringList>

// How the record grid looks apart from its colours: grid lines, font and the size of the tool
// bar's buttons. The choices are kept in the user's settings (Platform) and read again when the
// window opens; colours belong to each favourite instead.
class GridLook
{
public:
    // The grid-line styles by their old values.
    enum class LineStyle {
        Flat = 1,
        Insert = 2,
        FlatHorizontal = 4,
        FlatVertical = 8,
        Explorer = 12,
        Excel = 13
    };
    enum class ToolSize { VerySmall, Small, Medium, Large };

    QString fontName = defaultFontName();
    int fontSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    LineStyle lineStyle = LineStyle::Flat;
    ToolSize toolSize = ToolSize::Small;

    // The line-style tools, in order: "Flat", "Insert", "FlatHorizontal", "FlatVertical",
    // "Explorer", "Excel".
    static QStringList lineStyleTools();
    // The style of a tool id; false for another id.
    static bool lineStyleOfTool(const QString &id, LineStyle *style);
    static QString toolOfLineStyle(LineStyle style);
    // Whether a style draws lines between rows, between columns.
    static bool hasRowLines(LineStyle style);
    static bool hasColumnLines(LineStyle style);

    // The font-name box "Id_Font1" and the size box "Id_FontSize".
    static QStringList fontNames();
    static QString defaultFontName() { return QStringLiteral("MS Serif"); }
    static QStringList fontSizes();

    // The tools "VerySmall", "Small", "Medium", "Large"; false for another id.
    static bool toolSizeOfTool(const QString &id, ToolSize *size);
    // Tool-bar icon size in pixels and the panel captions' point size of a tool size.
    static int iconSize(ToolSize size);
    static int captionPointSize(ToolSize size);

    // The look kept in the settings (defaults for what is not there).
    static GridLook read();
    void write() const;
};
