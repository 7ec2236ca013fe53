#include "StartUp.h"

#include "AppFolders.h"
#include "AppState.h"
#include "SharedRoutines.h"
#include "Store.h"

#include <QSqlQuery>

StartUpResult LoadStartUp(Store &store)
{
    AppState &app = AppState::instance();
    app.myDocumentsPath = GetSpecialFolder(5);
    app.desktopPath = GetSpecialFolder(0);
    AppFolders::ensureUserFolders();

    StartUpResult result;
    QSqlQuery setup = store.query(QStringLiteral("select * from nv_setup"));
    const bool haveRow = setup.isActive() && setup.next();
    if (haveRow) {
        // A Null key reads as the empty text.
        result.toolKey = setup.value(QStringLiteral("key")).toString();
        result.national = setup.value(QStringLiteral("national")).toInt() != 0;
        result.business = setup.value(QStringLiteral("Business")).toInt() != 0;
    }
    setup.finish();
    // Consumed before any window shows, so a later start without a new key opens nothing.
    store.exec(QStringLiteral("update nv_setup set key=''"));

    app.pendingToolKey = result.toolKey;
    app.national = result.national;
    app.helpFile = AppFolders::helpFilePath();
    return result;
}
