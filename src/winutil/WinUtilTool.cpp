// The Windows utility panel as the main window offers it.
#include "ToolRegistry.h"
#include "frmControlPanel.h"

namespace
{

const ToolRegistration windowsUtility{{
    .name = QStringLiteral("winutil"),
    .caption = QStringLiteral("Windows Utility"),
    .icon = QStringLiteral("preferences-system"),
    .keys = {},
    .commands = {{QStringLiteral("ID_Windows"), QStringLiteral("&Windows Utility")}},
    .section = 3,
    .create = [] { return static_cast<QWidget *>(new frmControlPanel); },
    .handOver = {},
}};

} // namespace
