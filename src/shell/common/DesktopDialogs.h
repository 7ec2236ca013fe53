#pragma once

#include "Dialogs.h"

// Dialogs shown as the desktop's own message boxes and pickers, over the active window.
class DesktopDialogs final : public Dialogs
{
public:
    void message(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &text, const QString &title, Icon icon) override;
    QString inputText(const QString &prompt, const QString &title, const QString &initial,
                      bool *ok) override;
    QString openFileName(const QString &title, const QString &folder,
                         const QString &filter) override;
    QString saveFileName(const QString &title, const QString &folder,
                         const QString &filter) override;
    QString folderName(const QString &title, const QString &folder) override;
    QColor color(const QColor &initial, bool *ok) override;
    QFont font(const QFont &initial, bool *ok) override;
};
