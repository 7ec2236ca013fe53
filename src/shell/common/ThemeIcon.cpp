#include "ThemeIcon.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QStandardPaths>
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

// Looked up once per name: theme searches and decoding style icons are slow.
QIcon resolve(const QString &name)
{
    static QHash<QString, QIcon> cache;
    if (const auto it = cache.constFind(name); it != cache.constEnd())
        return *it;
    const QIcon icon = QIcon::hasThemeIcon(name) ? QIcon::fromTheme(name) : fallback(name);
    cache.insert(name, icon);
    return icon;
}

// Resolves its icon when first drawn, so menus and hidden tools cost nothing at start-up.
class LazyIconEngine final : public QIconEngine
{
public:
    explicit LazyIconEngine(const QString &name) : m_name(name) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QString iconName() override { return m_name; }
    bool isNull() override { return false; }
    QIconEngine *clone() const override { return new LazyIconEngine(m_name); }
    QString key() const override { return QStringLiteral("LazyIconEngine"); }

private:
    const QIcon &icon()
    {
        if (!m_resolved) {
            m_icon = resolve(m_name);
            m_resolved = true;
        }
        return m_icon;
    }

    QString m_name;
    QIcon m_icon;
    bool m_resolved = false;
};

} // namespace

QIcon ThemeIcon::get(const QString &name)
{
    return QIcon(new LazyIconEngine(name));
}

void ThemeIcon::setUpTheme()
{
    // Platforms without desktop integration (offscreen, bare X) search only the resources.
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList dataDirs =
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString &dir : dataDirs) {
        const QString icons = dir + QStringLiteral("/icons");
        if (!paths.contains(icons) && QDir(icons).exists())
            paths << icons;
    }
    QIcon::setThemeSearchPaths(paths);

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
