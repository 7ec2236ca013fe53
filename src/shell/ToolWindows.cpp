#include "ToolWindows.h"

#include "ThemeIcon.h"

#include <QLabel>
#include <QVBoxLayout>

// Each tool library that is part of the build defines NUVELA_WITH_<library>.
#ifdef NUVELA_WITH_fileorganizer
#include "frmExpl.h"
#endif
#ifdef NUVELA_WITH_conversions
#include "Form1.h"
#include "FrmSlider.h"
#endif

namespace {

QWidget *placeholder(Tool tool)
{
    auto *window = new QWidget;
    auto *layout = new QVBoxLayout(window);
    auto *label = new QLabel(QStringLiteral("%1 is not available in this build yet.")
                                 .arg(ToolKeys::caption(tool)),
                             window);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    window->setWindowTitle(ToolKeys::caption(tool));
    window->resize(480, 320);
    return window;
}

} // namespace

QWidget *CreateToolWindow(Tool tool)
{
    QWidget *window = nullptr;
    switch (tool) {
#ifdef NUVELA_WITH_fileorganizer
    case Tool::FileOrganizer: window = new frmExpl; break;
#endif
#ifdef NUVELA_WITH_conversions
    case Tool::Conversions: window = new Form1; break;
    case Tool::QuickConversions: window = new FrmSlider; break;
#endif
    default: break;
    }
    if (!window)
        window = placeholder(tool);
    window->setProperty("nuvelaTool", int(tool));
    return window;
}
