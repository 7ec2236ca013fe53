#include "ThemeIcon.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStyle>

namespace {

// Fallbacks from the style for names the theme may lack; the shipped icon otherwise.
QIcon fallback(const QString &name)
{
    static const struct {
        const char *prefix;
        QStyle::StandardPixmap pixmap;
    } map[] = {
        {"folder", QStyle::SP_DirIcon},          {"document-open", QStyle::SP_DialogOpenButton},
        {"document-save", QStyle::SP_DialogSaveButton}, {"edit-delete", QStyle::SP_TrashIcon},
        {"help", QStyle::SP_DialogHelpButton},   {"view-refresh", QStyle::SP_BrowserReload},
        {"go-up", QStyle::SP_ArrowUp},           {"go-down", QStyle::SP_ArrowDown},
        {"go-previous", QStyle::SP_ArrowBack},   {"go-next", QStyle::SP_ArrowForward},
        {"application-exit", QStyle::SP_DialogCloseButton},
        {"window-close", QStyle::SP_DialogCloseButton},
        {"computer", QStyle::SP_ComputerIcon},   {"drive", QStyle::SP_DriveHDIcon},
        {"dialog-cancel", QStyle::SP_DialogCancelButton},
        {"dialog-ok", QStyle::SP_DialogOkButton}, {"edit-find", QStyle::SP_FileDialogContentsView},
        {"text", QStyle::SP_FileIcon},           {"x-office", QStyle::SP_FileIcon},
        {"image", QStyle::SP_FileIcon},          {"audio", QStyle::SP_MediaVolume},
        {"media-playback", QStyle::SP_MediaPlay},
    };
    const QString own = QStringLiteral(":/icons/%1.svg").arg(name);
    if (QFile::exists(own))
        return QIcon(own);
    for (const auto &m : map) {
        if (name.startsWith(QLatin1String(m.prefix)))
            return qApp ? qApp->style()->standardIcon(m.pixmap) : QIcon();
    }
    return qApp ? qApp->style()->standardIcon(QStyle::SP_FileIcon) : QIcon();
}

} // namespace

QIcon ThemeIcon::get(const QString &name)
{
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return fallback(name);
}

void ThemeIcon::setUpTheme()
{
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor"))
        return;
    for (const char *theme : {"Adwaita", "breeze", "oxygen", "Tango", "gnome"}) {
        for (const QString &base : QIcon::themeSearchPaths()) {
            if (QDir(base + '/' + QLatin1String(theme)).exists()) {
                QIcon::setThemeName(QLatin1String(theme));
                return;
            }
        }
    }
}
