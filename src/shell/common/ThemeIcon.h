#pragma once

#include <QIcon>
#include <QString>

// Icons from the desktop's icon theme (freedesktop names such as "edit-copy"), falling back to
// the program's own when the theme lacks one.
class ThemeIcon
{
public:
    static QIcon get(const QString &name);
    // Chooses a theme when the platform names none (a bare X server has no desktop settings).
    static void setUpTheme();
};
