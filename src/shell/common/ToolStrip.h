#pragma once

#include <QToolBar>

// A tool bar whose tools are addressed by their tool identifier ("ID_Copy", "SelectAll"):
// each action's objectName is its identifier, and one signal dispatches them all.
class ToolStrip : public QToolBar
{
    Q_OBJECT
public:
    explicit ToolStrip(const QString &objectName, QWidget *parent = nullptr);

    QAction *addTool(const QString &id, const QString &text, const QString &themeIcon = QString());
    QAction *tool(const QString &id) const;
    // Triggers a tool as a click does; false when there is no such tool.
    bool trigger(const QString &id);

Q_SIGNALS:
    // A tool was clicked (or triggered); id is its identifier.
    void toolClicked(const QString &id);
};
