#pragma once

#include "NativeName.h"

#include <QByteArray>
#include <QString>

// One entry of a folder as the file grid and the catalogue need it. Times are milliseconds
// since the epoch; attributes follow the file-attribute bits the grid shows (archive 32,
// hidden 2, read-only 1, folder 16).
struct FileEntry {
    enum Attribute { ReadOnly = 1, Hidden = 2, Folder = 16, Archive = 32 };

    // The name as the file system holds it (any bytes, not only UTF-8); name() is the text that
    // shows it and turns back into it (NativeName).
    QByteArray nativeName;
    bool isFolder = false;
    qint64 size = 0;
    // Birth time where the file system keeps one, else the last-modified time.
    qint64 createdMsecs = 0;
    qint64 modifiedMsecs = 0;
    int attributes = Archive;
    // Identity of a folder, so a walk can tell a folder it has seen from a new one.
    quint64 device = 0;
    quint64 inode = 0;

    QString name() const { return NativeName::fromNative(nativeName); }
};
