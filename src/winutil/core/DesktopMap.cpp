#include "DesktopMap.h"

#include "CommandLine.h"
#include "Dialogs.h"
#include "Platform.h"

namespace
{

struct RawRow {
    const char *key;
    const char *gnome;
    const char *kde;
    const char *xfce;
    const char *generic;
};

// Plasma 6 names its programs without a version; Plasma 5 with a 5. GNOME panels by their
// gnome-control-center names; XFCE by its settings dialogs.
#define KCM(name) "systemsettings " name " || systemsettings5 " name
#define PLASMA_SCRIPT(hiding)                                                                      \
    "qdbus6 org.kde.plasmashell /PlasmaShell org.kde.PlasmaShell.evaluateScript "                  \
    "\"panels().forEach(function(p){p.hiding='" hiding "'})\" || "                                 \
    "qdbus org.kde.plasmashell /PlasmaShell org.kde.PlasmaShell.evaluateScript "                   \
    "\"panels().forEach(function(p){p.hiding='" hiding "'})\""
#define XFCE_AUTOHIDE(value)                                                                       \
    "xfconf-query -c xfce4-panel -p /panels/panel-1/autohide-behavior -n -t int -s " value

constexpr RawRow Rows[] = {
    // Control Panel pages.
    {"appwiz.cpl,,1", "gnome-software", "plasma-discover", "-",
     "gnome-software || plasma-discover || synaptic-pkexec"},
    {"appwiz.cpl,,2", "gnome-software", "plasma-discover", "-",
     "gnome-software || plasma-discover || synaptic-pkexec"},
    {"appwiz.cpl,,3", "usb-creator-gtk", "usb-creator-kde", "-",
     "usb-creator-gtk || usb-creator-kde"},
    {"desk.cpl,,0", "gnome-control-center background", KCM("kcm_wallpaper"), "xfdesktop-settings",
     "nitrogen"},
    {"desk.cpl,,1", "gnome-control-center privacy", KCM("kcm_screenlocker"),
     "xfce4-screensaver-preferences || xscreensaver-settings || xscreensaver-demo",
     "xscreensaver-settings || xscreensaver-demo"},
    {"desk.cpl,,2", "gnome-control-center background", KCM("kcm_lookandfeel"),
     "xfce4-appearance-settings", "lxappearance"},
    {"desk.cpl,,3", "gnome-control-center display", KCM("kcm_kscreen"), "xfce4-display-settings",
     "arandr || lxrandr"},
    {"intl.cpl,,0", "gnome-control-center region", KCM("kcm_regionandlang"), "-", "-"},
    {"intl.cpl,,1", "gnome-control-center region", KCM("kcm_regionandlang"), "-", "-"},
    {"intl.cpl,,2", "gnome-control-center region", KCM("kcm_regionandlang"), "-", "-"},
    {"intl.cpl,,3", "gnome-control-center region", KCM("kcm_regionandlang"), "-", "-"},
    {"intl.cpl,,4", "gnome-control-center region", KCM("kcm_regionandlang"), "-", "-"},
    {"joy.cpl", "-", KCM("kcm_gamecontroller"), "-", "jstest-gtk"},
    {"main.cpl @0", "gnome-control-center mouse", KCM("kcm_mouse"), "xfce4-mouse-settings",
     "lxinput"},
    {"main.cpl @1", "gnome-control-center keyboard", KCM("kcm_keyboard"), "xfce4-keyboard-settings",
     "lxinput"},
    {"main.cpl @2", "gnome-control-center printers", KCM("kcm_printer_manager"),
     "system-config-printer", "system-config-printer"},
    {"main.cpl @3", "gnome-font-viewer", KCM("kcm_fonts"), "xfce4-appearance-settings",
     "font-manager || gnome-font-viewer"},
    {"mlcfg32.cpl", "gnome-control-center online-accounts", KCM("kcm_kaccounts"), "-", "-"},
    {"mmsys.cpl,,0", "gnome-control-center sound", KCM("kcm_pulseaudio"), "pavucontrol",
     "pavucontrol"},
    {"mmsys.cpl,,1", "-", "-", "-", "-"},
    {"mmsys.cpl,,2", "-", "-", "-", "-"},
    {"mmsys.cpl,,3", "gnome-control-center removable-media", KCM("kcm_solid_actions"),
     "thunar-volman-settings", "-"},
    {"mmsys.cpl,,4", "-", "-", "-", "pavucontrol"},
    {"mmsys.cpl @1", "gnome-control-center sound", KCM("kcm_notifications"), "xfce4-notifyd-config",
     "pavucontrol"},
    {"modem.cpl", "gnome-control-center network", KCM("kcm_networkmanagement"),
     "nm-connection-editor", "nm-connection-editor"},
    {"netcpl.cpl", "gnome-control-center network", KCM("kcm_networkmanagement"),
     "nm-connection-editor", "nm-connection-editor"},
    {"password.cpl", "gnome-control-center user-accounts", KCM("kcm_users"), "-", "-"},
    {"sysdm.cpl,,0", "gnome-control-center info-overview",
     "kinfocenter || " KCM("kcm_about-distro"), "-", "=sysinfo"},
    {"sysdm.cpl,,1", "-", "kinfocenter", "-", "hardinfo || hardinfo2 || lshw-gtk"},
    {"sysdm.cpl,,2", "-", "-", "-", "-"},
    {"sysdm.cpl,,3", "gnome-system-monitor", "plasma-systemmonitor || ksysguard",
     "xfce4-taskmanager", "gnome-system-monitor || mate-system-monitor || lxtask"},
    {"sysdm.cpl @1", "gnome-control-center bluetooth", KCM("kcm_bluetooth"), "blueman-manager",
     "blueman-manager"},
    {"timedate.cpl", "gnome-control-center datetime", KCM("kcm_clock"), "-", "time-admin"},
    // Pages only the icon strip and the tool bar offer.
    {"inetcpl.cpl,,0", "gnome-control-center network", KCM("kcm_proxy"), "-", "-"},
    {"control.exe", "gnome-control-center", "systemsettings || systemsettings5",
     "xfce4-settings-manager", "lxqt-config || mate-control-center || cinnamon-settings"},
    // System Information: the program's own window on every desktop.
    {"msinfo32", "=sysinfo", "=sysinfo", "=sysinfo", "=sysinfo"},
    // Disk tools: the desktop's disk utility stands in for format and disk copy.
    {"diskcopy", "gnome-disks", "partitionmanager", "-", "gnome-disks || gparted"},
    {"format", "gnome-disks", "partitionmanager", "-", "gnome-disks || gparted"},
    // Shut down through the desktop's own prompt; logind only where there is none.
    {"shutdown", "gnome-session-quit --power-off",
     "qdbus6 org.kde.LogoutPrompt /LogoutPrompt promptShutDown || "
     "qdbus org.kde.ksmserver /KSMServer logout 1 2 2",
     "xfce4-session-logout", "systemctl poweroff"},
    // The taskbar: Plasma and XFCE can hide their panels; GNOME's top bar cannot be hidden.
    {"taskbar-hide", "-", PLASMA_SCRIPT("autohide"), XFCE_AUTOHIDE("2"), "-"},
    {"taskbar-show", "-", PLASMA_SCRIPT("none"), XFCE_AUTOHIDE("0"), "-"},
};

#undef KCM
#undef PLASMA_SCRIPT
#undef XFCE_AUTOHIDE

const QString SystemInformationCell = QStringLiteral("=sysinfo");
const QString NoneCell = QStringLiteral("-");

// The first alternative of a cell whose program is on the PATH.
std::optional<DesktopMap::Command> choose(const QString &cell, const DesktopEnvironment &env)
{
    if (cell == SystemInformationCell)
        return DesktopMap::Command{DesktopMap::Command::Kind::SystemInformation, {}, {}};
    if (cell == NoneCell)
        return std::nullopt;
    for (const QString &alternative : cell.split(QStringLiteral(" || "))) {
        const std::optional<QStringList> words = CommandLine::split(alternative);
        if (!words || words->isEmpty())
            continue;
        const QString program = env.findProgram(words->first());
        if (!program.isEmpty())
            return DesktopMap::Command{DesktopMap::Command::Kind::Start, program, words->mid(1)};
    }
    return std::nullopt;
}

} // namespace

const QList<DesktopMap::Row> &DesktopMap::rows()
{
    static const QList<Row> rows = [] {
        QList<Row> list;
        for (const RawRow &raw : Rows) {
            list.append({QString::fromLatin1(raw.key),
                         {QString::fromLatin1(raw.gnome), QString::fromLatin1(raw.kde),
                          QString::fromLatin1(raw.xfce), QString::fromLatin1(raw.generic)}});
        }
        return list;
    }();
    return rows;
}

std::optional<DesktopMap::Row> DesktopMap::row(const QString &key)
{
    for (const Row &r : rows()) {
        if (r.key == key)
            return r;
    }
    return std::nullopt;
}

DesktopMap::Command DesktopMap::resolve(const QString &key, const DesktopEnvironment &environment)
{
    const std::optional<Row> found = row(key);
    if (!found)
        return {};
    if (auto command = choose(found->cell(environment.desktop()), environment))
        return *command;
    if (environment.desktop() != Desktop::Generic) {
        if (auto command = choose(found->cell(Desktop::Generic), environment))
            return *command;
    }
    return {};
}

DesktopMap::Command::Kind DesktopMap::launch(const QString &key,
                                             const DesktopEnvironment &environment)
{
    const Command command = resolve(key, environment);
    if (command.kind == Command::Kind::Start &&
        !Platform::instance().startProgram(command.program, command.arguments)) {
        Dialogs::instance().message(notAvailableText(), notAvailableTitle());
        return Command::Kind::NotAvailable;
    }
    if (command.kind == Command::Kind::NotAvailable)
        Dialogs::instance().message(notAvailableText(), notAvailableTitle());
    return command.kind;
}

QString DesktopMap::notAvailableText()
{
    return QStringLiteral("The selected function is not available on this system");
}

QString DesktopMap::notAvailableTitle()
{
    return QStringLiteral("Not available");
}
