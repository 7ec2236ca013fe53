#pragma once

#include "ThemeIcon.h"

#include <QTest>
#include <QWidget>

// With NUVELA_SCREENSHOT_DIR set, saves a picture of a window for a person to look at.
inline void Screenshot(QWidget &window, const QString &name)
{
    if (!qEnvironmentVariableIsSet("NUVELA_SCREENSHOT_DIR"))
        return;
    ThemeIcon::setUpTheme();
    window.show();
    QTest::qWait(100);
    window.grab().save(qEnvironmentVariable("NUVELA_SCREENSHOT_DIR") + '/' + name + ".png");
}
