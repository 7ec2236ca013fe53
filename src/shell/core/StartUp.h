#pragma once

#include "SetupRow.h"

class Store;

// The load step of the main window, without the window: folders, the settings row and the
// tool key, which is consumed at once. Every step runs with errors ignored; a missing or broken
// store leaves the key empty and the national flag false.
SetupRow::Values LoadStartUp(Store &store);
