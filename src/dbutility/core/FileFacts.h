#pragma once

#include <QString>

// Facts about a database file that the window shows beside its records, and the file's
// attributes as the check boxes set them. Attributes follow the file-attribute values: archive
// 32 for an ordinary file, read-only 1 (no write permission), hidden 2 (a dot name, or listed in
// the folder's ".hidden" file as the file managers keep it), system 4 (no meaning here).
class FileFacts
{
public:
    enum Attribute { Normal = 0, ReadOnly = 1, Hidden = 2, System = 4, Archive = 32 };

    // Creation date as "dd-MMM-yyyy" (the last status change where the file system keeps no
    // birth time); empty for a missing file.
    static QString createdText(const QString &path);
    // The size in bytes as plain digits, or as the size text of the file grid.
    static QString sizeText(const QString &path, bool plain);
    // What kind of file it is, as the desktop names it ("dBASE document").
    static QString typeDescription(const QString &path);

    // The attribute value (sums such as 33 for a read-only ordinary file); 0 when missing.
    static int attributes(const QString &path);
    // Sets the file to one attribute alone (Normal clears all): false when that cannot be done
    // here (System, a dot name that cannot stop being hidden) or the file system refused.
    static bool setAttributes(const QString &path, int attribute);
};
