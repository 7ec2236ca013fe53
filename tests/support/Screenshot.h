#pragma once

#include "ThemeIcon.h"

#include <QTest>
#include <QWidget>

// With NUVELA_SCREENSHOT_DIR set, saves a picture of a window for a person to look at (run the
// test under xvfb-run with QT_QPA_PLATFORM=xcb to see it as a desktop draws it). For tests of
// windows: it needs common_widgets.
inline void SaveScreenshot(QWidget &window, const QString &name, QSize size = QSize())
{
    if (!qEnvironmentVariableIsSet("NUVELA_SCREENSHOT_DIR"))
        return;
    ThemeIcon::setUpTheme();
    if (size.isValid())
        window.resize(size);
    window.show();
    QTest::qWait(150);
    window.grab().save(qEnvironmentVariable("NUVELA_SCREENSHOT_DIR") + u'/' + name +
                       QStringLiteral(".png"));
}
