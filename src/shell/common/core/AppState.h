#pragma once

#include <QString>

// The application-wide values the start-up sets and every tool window reads.
struct AppState
{
    QString myDocumentsPath;
    QString desktopPath;
    bool national = false;
    // The tool key read at start-up; lives until the first activation of the main window.
    QString pendingToolKey;
    QString helpFile;

    static AppState &instance();
};
