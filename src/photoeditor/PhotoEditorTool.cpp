// The Photo Editor as other windows open it: by name, handed the picture to show.
#include "FormAllFunc.h"
#include "ToolRegistry.h"

namespace
{

const ToolRegistration photoEditor{{
    .name = QStringLiteral("photoeditor"),
    .caption = QStringLiteral("Photo Editor"),
    .icon = QStringLiteral("applications-graphics"),
    .keys = {},
    .commands = {},
    .section = 7,
    .create = [] { return static_cast<QWidget *>(new FormAllFunc); },
    .handOver =
        [](QWidget *window, const ToolRequest &request) {
            auto *editor = qobject_cast<FormAllFunc *>(window);
            if (editor && !request.file.isEmpty())
                editor->openPicture(request.file);
        },
}};

} // namespace
