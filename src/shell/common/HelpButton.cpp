#include "HelpButton.h"

#include "AppFolders.h"
#include "SharedRoutines.h"
#include "SqlText.h"
#include "Store.h"
#include "ThemeIcon.h"

#include <QEvent>

void ShowToolTip(QWidget *widget, const QString &code)
{
    Store store(Store::Kind::Data);
    const QVariant text =
        store.value(QStringLiteral("Select * from nv_tooltip where Code=") + SqlText::literal(code),
                    QStringLiteral("Tooltip"));
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
