#include "ToolStrip.h"

#include "ThemeIcon.h"

#include <QAction>

ToolStrip::ToolStrip(const QString &objectName, QWidget *parent) : QToolBar(parent)
{
    setObjectName(objectName);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(24, 24));
}

QAction *ToolStrip::addTool(const QString &id, const QString &text, const QString &themeIcon)
{
    QAction *action = addAction(text);
    action->setObjectName(id);
    if (!themeIcon.isEmpty())
        action->setIcon(ThemeIcon::get(themeIcon));
    connect(action, &QAction::triggered, this, [this, id] { Q_EMIT toolClicked(id); });
    return action;
}

QAction *ToolStrip::tool(const QString &id) const
{
    return findChild<QAction *>(id, Qt::FindDirectChildrenOnly);
}

bool ToolStrip::trigger(const QString &id)
{
    QAction *action = tool(id);
    if (!action)
        return false;
    action->trigger();
    return true;
}
