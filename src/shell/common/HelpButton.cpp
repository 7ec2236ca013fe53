#include "HelpButton.h"

#include "AppFolders.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"
#include "Tooltips.h"

#include <QEvent>

void ShowToolTip(QWidget *widget, const QString &code)
{
    const QVariant text = Tooltips::text(code);
    if (text.isValid())
        widget->setToolTip(text.toString());
}

HelpButton::HelpButton(const QString &code, QWidget *parent) : QToolButton(parent), m_code(code)
{
    setObjectName(QStringLiteral("CmdHelp"));
    setIcon(ThemeIcon::get(QStringLiteral("help-contents")));
    setText(tr("Help"));
    setAutoRaise(true);
    connect(this, &QToolButton::clicked, this, [] { ShowHelpFile(AppFolders::helpFilePath()); });
}

bool HelpButton::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip || event->type() == QEvent::Enter)
        ShowToolTip(this, m_code);
    return QToolButton::event(event);
}
