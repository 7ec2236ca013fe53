#include "PanelCommands.h"

#include <utility>

const QList<PanelCommands::Entry> &PanelCommands::controlPanel()
{
    static const QList<Entry> entries = {
        {"System Information", "msinfo32", "dialog-information"},
        {"Add/Remove Programs Properties (Install/Uninstall)", "appwiz.cpl,,1",
         "system-software-install"},
        {"Add/Remove Programs Properties (Windows Setup)", "appwiz.cpl,,2",
         "system-software-install"},
        {"Add/Remove Programs Properties (Startup Disk)", "appwiz.cpl,,3", "drive-removable-media"},
        {"Display Properties (Background)", "desk.cpl,,0", "preferences-desktop-wallpaper"},
        {"Display Properties (Screen Saver)", "desk.cpl,,1", "preferences-desktop-screensaver"},
        {"Display Properties (Appearance)", "desk.cpl,,2", "preferences-desktop-theme"},
        {"Display Properties (Settings)", "desk.cpl,,3", "preferences-desktop-display"},
        {"Regional Settings Properties (Regional Settings)", "intl.cpl,,0",
         "preferences-desktop-locale"},
        {"Regional Settings Properties (Number)", "intl.cpl,,1", "preferences-desktop-locale"},
        {"Regional Settings Properties (Currency)", "intl.cpl,,2", "preferences-desktop-locale"},
        {"Regional Settings Properties (Time)", "intl.cpl,,3", "preferences-desktop-locale"},
        {"Regional Settings Properties (Date)", "intl.cpl,,4", "preferences-desktop-locale"},
        {"Joystick Properties (Joystick)", "joy.cpl", "input-gaming"},
        {"Mouse Properties", "main.cpl @0", "input-mouse"},
        {"Keyboard Properties", "main.cpl @1", "input-keyboard"},
        {"Printers", "main.cpl @2", "printer"},
        {"Fonts", "main.cpl @3", "preferences-desktop-font"},
        {"Microsoft Exchange Profiles", "mlcfg32.cpl", "mail-unread"},
        {"Multimedia Properties (Audio)", "mmsys.cpl,,0", "audio-card"},
        {"Multimedia Properties (Viedo)", "mmsys.cpl,,1", "video-display"},
        {"Multimedia Properties (MIDI)", "mmsys.cpl,,2", "audio-x-generic"},
        {"Multimedia Properties (CD Music)", "mmsys.cpl,,3", "media-optical"},
        {"Multimedia Properties (Advanced)", "mmsys.cpl,,4", "audio-card"},
        {"Sounds Properties", "mmsys.cpl @1", "audio-volume-high"},
        {"Modem Properties (General)", "modem.cpl", "modem"},
        {"Network (Configuration)", "netcpl.cpl", "network-wired"},
        {"Password Properties (Change Passwords)", "password.cpl", "dialog-password"},
        {"System Properties (General)", "sysdm.cpl,,0", "computer"},
        {"System Properties (Device Manager)", "sysdm.cpl,,1", "computer"},
        {"System Properties (Hardware Profiles)", "sysdm.cpl,,2", "computer"},
        {"System Properties (Performance)", "sysdm.cpl,,3", "computer"},
        {"Add New Hardware Wizard", "sysdm.cpl @1", "list-add"},
        {"Date/Time Properties", "timedate.cpl", "x-office-calendar"},
    };
    return entries;
}

const QList<PanelCommands::Entry> &PanelCommands::iconStrip()
{
    static const QList<Entry> entries = {
        {"Add New Hardware", "sysdm.cpl @1", "list-add"},
        {"Add/Remove Programs", "appwiz.cpl,,1", "system-software-install"},
        {"Date/Time", "timedate.cpl", "x-office-calendar"},
        {"Display", "desk.cpl,,0", "preferences-desktop-wallpaper"},
        {"Internet", "inetcpl.cpl,,0", "preferences-system-network"},
        {"Joystick", "joy.cpl", "input-gaming"},
        {"Keyboard", "main.cpl @1", "input-keyboard"},
        {"Modem", "modem.cpl", "modem"},
        {"Mouse", "main.cpl @0", "input-mouse"},
        {"Multimedia", "mmsys.cpl,,0", "audio-card"},
        {"Network", "netcpl.cpl", "network-wired"},
        {"Passwords", "password.cpl", "dialog-password"},
        {"Regional Settings", "intl.cpl,,0", "preferences-desktop-locale"},
        {"Sounds", "mmsys.cpl @1", "audio-volume-high"},
        {"System", "sysdm.cpl,,0", "computer"},
    };
    return entries;
}

namespace
{

const QList<std::pair<QString, QString>> &toolKeys()
{
    static const QList<std::pair<QString, QString>> keys = {
        {"Network", "netcpl.cpl"}, {"AddnewHardware", "sysdm.cpl @1"}, {"DateTime", "timedate.cpl"},
        {"User", "control.exe"},   {"Mouse", "main.cpl @0"},           {"KeyPad", "main.cpl @1"},
    };
    return keys;
}

} // namespace

QString PanelCommands::toolKey(const QString &toolId)
{
    for (const auto &[id, key] : toolKeys()) {
        if (id == toolId)
            return key;
    }
    return {};
}

QStringList PanelCommands::pageTools()
{
    QStringList ids;
    for (const auto &tool : toolKeys())
        ids << tool.first;
    return ids;
}

QStringList PanelCommands::allKeys()
{
    QStringList keys;
    for (const Entry &entry : controlPanel())
        keys << entry.key;
    for (const Entry &entry : iconStrip())
        keys << entry.key;
    for (const auto &tool : toolKeys())
        keys << tool.second;
    keys << systemProperties() << controlProgram() << systemInformation() << diskCopy() << format()
         << shutDown() << taskbarHide() << taskbarShow();
    keys.removeDuplicates();
    return keys;
}
