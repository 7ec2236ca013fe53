#include "DesktopDialogs.h"
#include "MDIForm1.h"
#include "ThemeIcon.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nuvela Utilities"));
    QApplication::setOrganizationName(QStringLiteral("Nuvela"));
    ThemeIcon::setUpTheme();
    Dialogs::install(new DesktopDialogs);

    MDIForm1 window;
    window.show();
    // For the start-up benchmark: end as soon as the window has been shown.
    if (qEnvironmentVariableIsSet("NUVELA_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
