#pragma once

#include "DesktopEntry.h"
#include "DesktopEnvironment.h"

#include <QString>

// The shortcut module: puts a shortcut to a file into a program group. On a freedesktop desktop
// (the newer shell) a shortcut is a desktop entry: on the desktop for the group "..\..\Desktop",
// at the top of the applications menu for "..", and otherwise in a menu folder of the group's
// name. The old Program Manager has no counterpart here: its name rules still apply, then it
// reports that it is not available. Messages go through Dialogs; no state survives a call.
class Moduleshortcut
{
public:
    enum class Shell { Freedesktop, ProgramManager };
    // Where a group name leads: the desktop, the menu's top, a menu folder, or nowhere.
    enum class Group { Desktop, TopLevel, Folder, Invalid };

    explicit Moduleshortcut(Shell shell = Shell::Freedesktop);
    Moduleshortcut(Shell shell, const DesktopEnvironment &environment);

    // Makes the shortcut named title to target (a document, folder or program) with arguments
    // (used for programs only) in folder. Returns the desktop entry written, "" when none was
    // (the user has been told why). A document gets a link entry on the desktop and an entry
    // that opens it with xdg-open in a menu, since menus list applications only.
    QString createShortcut(const QString &folder, const QString &title, const QString &target,
                           const QString &arguments);

    // The group name rules, without creating anything.
    static Group checkGroup(const QString &folder, Shell shell);
    // "..\..\Desktop" in any letter case, blanks around it ignored ("/" works as well as "\").
    static bool isDesktopGroup(const QString &folder);
    // Newer shell: shorter than 260 characters, none of \ / : * ? " < > |.
    static bool validShellName(const QString &name);
    // Program Manager: at most 30 characters, none of " ] [ , ) (.
    static bool validProgramManagerName(const QString &name);
    // One pair of surrounding double quotes removed (only when the text starts and ends with one).
    static QString stripQuotes(const QString &text);
    // A group name as a menu folder: double quotes become single quotes.
    static QString shellFolderName(const QString &name);
    // A file name for the title: path separators and control characters replaced, a leading dot
    // (a hidden file) made visible, at most 200 bytes.
    static QString fileBaseName(const QString &title);
    // The group as a name of ASCII letters, digits and "-" only (others as "_XX" hex bytes), for
    // the menu files and the category that puts entries into the group.
    static QString groupId(const QString &group);
    // The desktop entry of a shortcut; an empty entry when the arguments are badly quoted.
    // category is "" outside menu folders.
    static DesktopEntry shortcutEntry(const QString &title, const QString &target,
                                      const QString &arguments, bool inMenu,
                                      const QString &category);
    static bool isProgram(const QString &target);

private:
    bool validateGroup(const QString &folder, Group *group) const;
    bool createGroup(const QString &group) const;
    QString writeEntry(const QString &path, const DesktopEntry &entry, bool onDesktop) const;

    Shell m_shell;
    DesktopEnvironment m_environment;
};
