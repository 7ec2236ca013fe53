// The Notebook and its document editor as the main window offers them.
#include "FormNotes.h"
#include "FrmRtfEdit.h"
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

// The full editor opens only from the notebook, on the document it hands over.
const ToolRegistration notebookEditor{{
    .name = QStringLiteral("notebookeditor"),
    .caption = QStringLiteral("Edit Document"),
    .icon = QStringLiteral("accessories-text-editor"),
    .keys = {},
    .commands = {},
    .section = 1,
    .create = [] { return static_cast<QWidget *>(new FrmRtfEdit); },
    .handOver =
        [](QWidget *window, const ToolRequest &request) {
            if (auto *editor = qobject_cast<FrmRtfEdit *>(window))
                editor->open(request.file);
        },
}};

} // namespace
