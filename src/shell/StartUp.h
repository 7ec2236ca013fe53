#pragma once

#include <QString>

class Store;

// The load step of the main window, without the window: folders, the settings row and the
// tool key. Every step runs with errors ignored; a missing or broken store leaves the key
// empty and the national flag false.
struct StartUpResult
{
    QString toolKey;
    bool national = false;
    bool business = false;
};

StartUpResult LoadStartUp(Store &store);
