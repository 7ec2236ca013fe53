// The Notebook as the main window offers it.
#include "FormNotes.h"
#include "ToolRegistry.h"

namespace
{

const ToolRegistration notebook{{
    .name = QStringLiteral("notebook"),
    .caption = QStringLiteral("Notebook"),
    .icon = QStringLiteral("accessories-text-editor"),
    .keys = {QStringLiteral("notebook")},
    .commands = {{QStringLiteral("NuvelaNoteBook"), QStringLiteral("&Notebook")}},
    .section = 1,
    .order = 2,
    .create = [] { return static_cast<QWidget *>(new FormNotes); },
    .handOver =
        [](QWidget *window, const ToolRequest &request) {
            if (auto *notes = qobject_cast<FormNotes *>(window))
                notes->openDocument(request.file);
        },
}};

} // namespace
