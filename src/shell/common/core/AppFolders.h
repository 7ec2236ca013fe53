#pragma once

#include <QString>

// The program folder (stores, UserFiles resources) and the user-files root, as the platform
// maps them. Environment overrides make every test run in its own folders.
class AppFolders
{
public:
    // NUVELA_PROGRAM_DIR; else the executable's folder when it holds the stores or is writable;
    // else $XDG_DATA_HOME/nuvela. Never ends with a separator.
    static QString programFolder();
    // NUVELA_USER_FILES; else ~/NVUserFiles (C:\NVUserFiles on Windows).
    static QString userFilesRoot();

    // Joins a relative path written with "\" or "/" onto a root with the platform separator.
    static QString join(const QString &root, const QString &relative);
    // A path in the program folder; a file that is not there but beside the executable (the
    // shipped UserFiles of an installed program) is taken from there.
    static QString inProgramFolder(const QString &relative);
    static QString inUserFiles(const QString &relative);

    static QString dataStorePath();
    static QString infoStorePath();
    static QString helpFilePath();
    static QString soundPath(const QString &waveName);

    // Creates the fixed sub-folders of the user-files root; missing rights leave them absent.
    static void ensureUserFolders();
};
