// The Conversions windows as the main window offers them.
#include "Form1.h"
#include "FrmSlider.h"
#include "ToolRegistry.h"

namespace
{

const ToolRegistration conversions{{
    .name = QStringLiteral("form1"),
    .caption = QStringLiteral("Conversions"),
    .icon = QStringLiteral("accessories-calculator"),
    .keys = {QStringLiteral("form1")},
    .commands = {{QStringLiteral("ID_Conversion"), QStringLiteral("&Conversions")},
                 {QStringLiteral("AllUnits"), QStringLiteral("All &Units")},
                 {QStringLiteral("AreaVolumeWeight"), QStringLiteral("&Area, Volume and Weight")}},
    .section = 2,
    .order = 1,
    .create = [] { return static_cast<QWidget *>(new Form1); },
    .handOver = {},
}};

const ToolRegistration quickConversions{{
    .name = QStringLiteral("quickconversions"),
    .caption = QStringLiteral("Quick Conversions"),
    .icon = QStringLiteral("accessories-calculator"),
    .keys = {},
    .commands = {{QStringLiteral("QuickConversions"), QStringLiteral("&Quick Conversions")}},
    .section = 2,
    .order = 2,
    .create = [] { return static_cast<QWidget *>(new FrmSlider); },
    .handOver = {},
}};

} // namespace
