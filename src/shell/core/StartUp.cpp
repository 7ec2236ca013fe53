#include "StartUp.h"

#include "AppFolders.h"
#include "AppState.h"
#include "SetupRow.h"
#include "SharedRoutines.h"
#include "Store.h"

SetupRow::Values LoadStartUp(Store &store)
{
    AppState &app = AppState::instance();
    app.myDocumentsPath = GetSpecialFolder(5);
    app.desktopPath = GetSpecialFolder(0);
    AppFolders::ensureUserFolders();

    const SetupRow::Values setup = SetupRow::read(store);
    // Consumed before any window shows, so a later start without a new key opens nothing.
    SetupRow::writeKey(store, QString());

    app.pendingToolKey = setup.key;
    app.national = setup.national;
    app.helpFile = AppFolders::helpFilePath();
    return setup;
}
