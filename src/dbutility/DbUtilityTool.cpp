// The Database utility as the main window offers it.
#include "ToolRegistry.h"
#include "frmDblist.h"

namespace
{

const ToolRegistration dbUtility{{
    .name = QStringLiteral("dbutility"),
    .caption = QStringLiteral("Database Utility"),
    .icon = QStringLiteral("x-office-spreadsheet"),
    .keys = {QStringLiteral("dbutility")},
    .commands = {{QStringLiteral("Database"), QStringLiteral("&Database Utility")}},
    .section = 1,
    .order = 3,
    .create = [] { return static_cast<QWidget *>(new frmDblist); },
    .handOver =
        [](QWidget *window, const ToolRequest &request) {
            if (auto *dblist = qobject_cast<frmDblist *>(window))
                dblist->handOver(request.file, request.outer);
        },
}};

} // namespace
