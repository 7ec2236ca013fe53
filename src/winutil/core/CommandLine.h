#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Command lines split into a program and its arguments the way a POSIX shell splits words, but
// without running a shell: nothing is expanded except a leading "~", so a typed command can never
// run more than the one program it names.
class CommandLine
{
public:
    // Blanks separate words; '...' keeps its text literally; "..." keeps blanks and takes a
    // backslash before " \ $ or ` as an escape (another backslash stays); a backslash outside
    // quotes keeps the next character. An unquoted "~" or "~/" at the start of a word becomes home
    // when home is given (desktop entries never expand it). Empty when a quote is left open or the
    // text ends in a lone backslash.
    static std::optional<QStringList> split(const QString &text, const QString &home = QString());

    // Quotes one argument for a desktop entry's Exec key, so that split() gives it back
    // unchanged: arguments without reserved characters stay as they are.
    static QString quote(const QString &argument);
};
