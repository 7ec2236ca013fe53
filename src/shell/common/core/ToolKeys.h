#pragma once

#include <QList>
#include <QString>

#include <optional>

// Tool keys in nv_setup.key, matched exactly and case-sensitively. Four keys name windows of this
// program; the tool libraries register the windows for them (ToolRegistry).
class ToolKeys
{
public:
    // True for "filemanager", "dbutility", "notebook" and "form1".
    static bool isOwnKey(const QString &key);
    // The caption of the window an own key names ("File Organizer"); empty for other keys.
    static QString caption(const QString &key);
    // True for keys that belong to windows of sibling programs (recognised and ignored).
    static bool isSiblingKey(const QString &key);
};

// A list bar item: the sibling program it starts and the tool key it hands over ("" = none).
struct SuiteCode {
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
