#pragma once

#include "DesktopEnvironment.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The one table that maps each page the panel offers (keyed by the old applet argument, such as
// "desk.cpl,,0") to the program that opens the same page on GNOME, KDE Plasma, XFCE and on any
// other desktop. A cell lists alternatives separated by " || ", tried in order, the first whose
// program is on the PATH winning; "-" says the desktop has no page of its own; "=sysinfo" is the
// program's own System Information window. The running desktop's cell is tried first, then the
// generic cell, whose programs work on any desktop.
class DesktopMap
{
public:
    using Desktop = DesktopEnvironment::Desktop;

    struct Row {
        QString key;
        std::array<QString, 4> cells; // by Desktop: GNOME, KDE, XFCE, generic
        QString cell(Desktop desktop) const { return cells.at(std::size_t(desktop)); }
    };

    // What choosing a page does on a given desktop.
    struct Command {
        enum class Kind { Start, SystemInformation, NotAvailable };
        Kind kind = Kind::NotAvailable;
        QString program; // full path found on the PATH
        QStringList arguments;
    };

    static const QList<Row> &rows();
    static std::optional<Row> row(const QString &key);
    static Command resolve(const QString &key, const DesktopEnvironment &environment);

    // Resolves and starts the page through Platform. A page the desktop does not have, or a
    // start that fails, shows "The selected function is not available on this system". The
    // caller opens System Information itself when that is the answer.
    static Command::Kind launch(const QString &key, const DesktopEnvironment &environment);

    static QString notAvailableText();
    static QString notAvailableTitle();
};
