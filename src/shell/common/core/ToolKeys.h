#pragma once

#include <QString>

#include <optional>

// The tool windows of this program.
enum class Tool {
    FileOrganizer,
    Notebook,
    DatabaseUtility,
    Conversions,
    QuickConversions,
    WindowsUtility,
    PhotoEditor,
};

// Tool keys in nv_setup.key, matched exactly and case-sensitively.
class ToolKeys
{
public:
    // The window a key opens; none for sibling programs' keys and unknown keys.
    static std::optional<Tool> toolOfKey(const QString &key);
    // True for keys that belong to windows of sibling programs (recognised and ignored).
    static bool isSiblingKey(const QString &key);
    static QString caption(Tool tool);
};

// A list bar item: the sibling program it starts and the tool key it hands over ("" = none).
struct SuiteCode
{
    QString program;
    QString toolKey;
    QString group;
};

class SuiteCodes
{
public:
    // The first row whose code equals code exactly; none for unknown codes.
    static std::optional<SuiteCode> find(const QString &code);
    // Every code in list-bar order, grouped by program.
    static QList<std::pair<QString, SuiteCode>> all();
};
