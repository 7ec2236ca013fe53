#pragma once

#include <QString>

// Names that take no existing entry's place, so that an operation that meets a taken name can
// keep both files instead of replacing one.

// True when name can name one entry of a folder: not empty, not "." or "..", no separator or
// NUL, and at most 255 bytes in UTF-8 (what Linux file systems take).
bool IsPlainFileName(const QString &name);

// The stem and the extension of a file name: the extension is the text from the last "."
// (with it); a leading dot belongs to the stem, so ".bashrc" has no extension.
struct NameParts {
    QString stem;
    QString extension;
};
NameParts SplitFileName(const QString &name);

// name when nothing in folder is called so, else the first of "stem (2).ext", "stem (3).ext",
// ... that is free. A stem is shortened (whole characters) so the name stays within 255 bytes.
// A dangling symbolic link counts as taken.
QString FreeName(const QString &folder, const QString &name);
