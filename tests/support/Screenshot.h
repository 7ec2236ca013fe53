#pragma once

#include "ThemeIcon.h"

#include <QTest>
#include <QWidget>

// With NUVELA_SCREENSHOT_DIR set, saves a picture of a window for a person to look at (under
// xvfb-run with QT_QPA_PLATFORM=xcb it is drawn as on a desktop). For window tests: it needs
// common_widgets. A valid size resizes the window first.
inline void Screenshot(QWidget &window, const QString &name, QSize size = QSize())
{
    if (!qEnvironmentVariableIsSet("NUVELA_SCREENSHOT_DIR"))
        return;
    ThemeIcon::setUpTheme();
    if (size.isValid())
        window.resize(size);
    window.show();
    QTest::qWait(100);
    window.grab().save(qEnvironmentVariable("NUVELA_SCREENSHOT_DIR") + u'/' + name +
                       QStringLiteral(".png"));
}
