#pragma once

#include "DesktopEnvironment.h"

#include <QString>
#include <QStringList>

// What the Run dialog does with a typed line: start the program it names with its arguments
// (split as a shell would, without one), or open a folder or document given by its path.
class RunCommand
{
public:
    enum class Kind { Start, Open, Nothing, Unbalanced, NotFound };

    Kind kind = Kind::Nothing;
    QString program; // Start: full path; Open: the folder or document
    QStringList arguments;

    // A relative path is taken from home, as a shell started there would.
    static RunCommand resolve(const QString &text, const DesktopEnvironment &environment,
                              const QString &home);
};
