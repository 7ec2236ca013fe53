#pragma once

#include <QString>

// The file facts of the view pane: type name, size as text, name, creation and modification
// dates and path of a file or folder.
struct FileFacts {
    bool exists = false;
    bool isFolder = false;
    QString typeName; // the desktop's name of the file type ("RTF document")
    QString sizeText; // "512Byte", "12Kb", "1.5Mb"; empty for a folder (FolderSizeJob adds it)
    QString name;
    QString created; // "dd MMM-yyyy" when national, else "MMM dd-yyyy"
    QString modified;
    QString path;

    // A missing path gives exists = false and only path and name set.
    static FileFacts of(const QString &path, bool national);
};
