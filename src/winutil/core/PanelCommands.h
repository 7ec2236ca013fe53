#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the panel's lists, icon strip and tool bar offer, each by its key in the desktop map.
class PanelCommands
{
public:
    struct Entry {
        QString caption;
        QString key;  // desktop map key
        QString icon; // freedesktop icon name
    };

    // The Control Panel list (cboPanel), in list order: 34 entries, index 0 System Information.
    static const QList<Entry> &controlPanel();
    // The icon strip (Icon), by index: 15 pages.
    static const QList<Entry> &iconStrip();
    // Tool bar tools that open a page: tool identifier -> map key.
    static QString toolKey(const QString &toolId);
    static QStringList pageTools();

    // Keys of the panel's own buttons.
    static QString systemProperties() { return QStringLiteral("sysdm.cpl,,0"); }
    static QString controlProgram() { return QStringLiteral("control.exe"); }
    static QString systemInformation() { return QStringLiteral("msinfo32"); }
    static QString diskCopy() { return QStringLiteral("diskcopy"); }
    static QString format() { return QStringLiteral("format"); }
    static QString shutDown() { return QStringLiteral("shutdown"); }
    static QString taskbarHide() { return QStringLiteral("taskbar-hide"); }
    static QString taskbarShow() { return QStringLiteral("taskbar-show"); }

    // Every key the panel uses anywhere; each must have a row in the desktop map.
    static QStringList allKeys();
};
