#pragma once

#include "ToolRegistry.h"

#include <QString>

class QWidget;

// What tool windows ask of the main window. Absent (null) when a window runs on its own, as in
// tests.
class ToolHost
{
public:
    virtual ~ToolHost() = default;

    // Shows the named tool's window inside the frame (a new one, or the open one activated) and
    // hands it the request; null when no such tool is part of the program.
    virtual QWidget *openTool(const QString &name, const ToolRequest &request = {}) = 0;
    // The main window's caption of the current tool ("Conversion").
    virtual void setToolCaption(const QString &caption) = 0;
    // Shows the main window's navigation panels again (a window without the "Outer" tag closed).
    virtual void showNavigation() = 0;

    static ToolHost *instance();
    static void install(ToolHost *host);
};
