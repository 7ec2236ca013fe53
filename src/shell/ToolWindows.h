#pragma once

#include "ToolKeys.h"

class QWidget;

// Makes a new window of a tool; a tool not built yet gets a placeholder with its name.
QWidget *CreateToolWindow(Tool tool);
