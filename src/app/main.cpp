#include "DesktopDialogs.h"
#include "MDIForm1.h"
#include "ThemeIcon.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nuvela Utilities"));
    QApplication::setOrganizationName(QStringLiteral("Nuvela"));
    ThemeIcon::setUpTheme();
    Dialogs::install(new DesktopDialogs);

    MDIForm1 window;
    window.show();
    return app.exec();
}
