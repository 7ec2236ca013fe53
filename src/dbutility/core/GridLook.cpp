#include "GridLook.h"

#include "Platform.h"

namespace
{

const QString Application = QStringLiteral("Nuvela Utilities");
const QString Section = QStringLiteral("DBViewer");

struct StyleTool {
    const char *id;
    GridLook::LineStyle style;
};

constexpr StyleTool styleTools[] = {
    {"Flat", GridLook::LineStyle::Flat},
    {"Insert", GridLook::LineStyle::Insert},
    {"FlatHorizontal", GridLook::LineStyle::FlatHorizontal},
    {"FlatVertical", GridLook::LineStyle::FlatVertical},
    {"Explorer", GridLook::LineStyle::Explorer},
    {"Excel", GridLook::LineStyle::Excel},
};

constexpr const char *sizeTools[] = {"VerySmall", "Small", "Medium", "Large"};

} // namespace

QStringList GridLook::lineStyleTools()
{
    QStringList ids;
    for (const StyleTool &tool : styleTools)
        ids.append(QLatin1String(tool.id));
    return ids;
}

bool GridLook::lineStyleOfTool(const QString &id, LineStyle *style)
{
    for (const StyleTool &tool : styleTools) {
        if (id == QLatin1String(tool.id)) {
            *style = tool.style;
            return true;
        }
    }
    return false;
}

QString GridLook::toolOfLineStyle(LineStyle style)
{
    for (const StyleTool &tool : styleTools) {
        if (tool.style == style)
            return QLatin1String(tool.id);
    }
    return QString();
}

bool GridLook::hasRowLines(LineStyle style)
{
    return style != LineStyle::FlatVertical;
}

bool GridLook::hasColumnLines(LineStyle style)
{
    return style != LineStyle::FlatHorizontal && style != LineStyle::Explorer;
}

QStringList GridLook::fontNames()
{
    return {QStringLiteral("Arial"),
            QStringLiteral("Courier New"),
            QStringLiteral("MS Serif"),
            QStringLiteral("MS Sans Serif"),
            QStringLiteral("Times New Roman"),
            QStringLiteral("Tempus Sans ITC"),
            QStringLiteral("Verdana"),
            QStringLiteral("Lucida Console"),
            QStringLiteral("Lucida Handwriting")};
}

QStringList GridLook::fontSizes()
{
    return {QStringLiteral("8"),  QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("14"),
            QStringLiteral("16"), QStringLiteral("18"), QStringLiteral("20")};
}

bool GridLook::toolSizeOfTool(const QString &id, ToolSize *size)
{
    for (int i = 0; i < 4; ++i) {
        if (id == QLatin1String(sizeTools[i])) {
            *size = ToolSize(i);
            return true;
        }
    }
    return false;
}

int GridLook::iconSize(ToolSize size)
{
    static constexpr int pixels[] = {12, 16, 22, 32};
    return pixels[int(size)];
}

int GridLook::captionPointSize(ToolSize size)
{
    static constexpr int points[] = {7, 8, 10, 12};
    return points[int(size)];
}

GridLook GridLook::read()
{
    Platform &platform = Platform::instance();
    const auto value = [&platform](const char *key, const QVariant &fallback) {
        return platform.setting(Application, Section, QLatin1String(key), fallback);
    };
    GridLook look;
    look.fontName = value("FontName", look.fontName).toString();
    const int size = value("FontSize", look.fontSize).toInt();
    look.fontSize = size >= 4 && size <= 72 ? size : 10;
    look.bold = value("FontBold", false).toBool();
    look.italic = value("FontItalic", false).toBool();
    look.underline = value("FontUnderline", false).toBool();
    look.strikeOut = value("FontStrikeOut", false).toBool();
    LineStyle style = LineStyle::Flat;
    if (lineStyleOfTool(value("LineStyle", QString()).toString(), &style))
        look.lineStyle = style;
    ToolSize toolSize = ToolSize::Small;
    if (toolSizeOfTool(value("ToolSize", QString()).toString(), &toolSize))
        look.toolSize = toolSize;
    return look;
}

void GridLook::write() const
{
    Platform &platform = Platform::instance();
    const auto set = [&platform](const char *key, const QVariant &value) {
        platform.setSetting(Application, Section, QLatin1String(key), value);
    };
    set("FontName", fontName);
    set("FontSize", fontSize);
    set("FontBold", bold);
    set("FontItalic", italic);
    set("FontUnderline", underline);
    set("FontStrikeOut", strikeOut);
    set("LineStyle", toolOfLineStyle(lineStyle));
    set("ToolSize", QLatin1String(sizeTools[int(toolSize)]));
}
