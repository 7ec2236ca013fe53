#pragma once

#include <QString>

// The text of a Word (.doc) file for the editors' DocImport. The text comes from antiword (a
// program, started with an argument list, given at most TimeoutMs); where antiword is absent or
// cannot read the file, the file's raw bytes are taken as text instead, with the formatting
// characters Word keeps among them — the case the editor warns of.
class DocImport
{
public:
    static constexpr int TimeoutMs = 30000;

    struct Result {
        QString text;
        bool fromRawBytes = false; // antiword gave nothing: the bytes as plain text
        bool readable = true;      // false when the file cannot be read at all
    };

    static Result read(const QString &path);
    // The program's name; tests point it elsewhere.
    static QString program();
    static void setProgram(const QString &program);
};
