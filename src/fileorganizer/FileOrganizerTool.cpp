// The File organizer as the main window offers it.
#include "ToolRegistry.h"
#include "frmExpl.h"

namespace
{

const ToolRegistration fileOrganizer{{
    .name = QStringLiteral("filemanager"),
    .caption = QStringLiteral("File Organizer"),
    .icon = QStringLiteral("system-file-manager"),
    .keys = {QStringLiteral("filemanager")},
    .commands = {{QStringLiteral("ID_File"), QStringLiteral("&File Organizer")}},
    .section = 1,
    .order = 1,
    .create = [] { return static_cast<QWidget *>(new frmExpl); },
    .handOver = {},
}};

} // namespace
