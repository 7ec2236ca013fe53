#pragma once

#include <QString>

// The kinds of foreign database; each has its connect text in the Database utility.
enum class SourceType { Auto, Access, DBase, FoxPro, Paradox, Text };

// How a foreign database is opened.
struct SourceOptions {
    // Auto: from the file's extension (.mdb/.accdb, .dbf, .db, .txt/.csv/.tsv/.tab).
    SourceType type = SourceType::Auto;
    // Code page of 8-bit text. 0: the file's own (dBase byte 29, Paradox header), else 1252.
    // For Access it applies to Jet 3 files only (Jet 4 and later store Unicode); for text
    // files only when they are not UTF-8.
    int codePage = 0;
    // The copy kept beside a file before its first write is the file's path plus this suffix;
    // empty keeps no copy.
    QString backupSuffix = QStringLiteral(".bak");

    // The type of a connect text ("Access", "dBASE 5.0;", "Paradox 5.x;", ...); Auto if unknown.
    static SourceType typeFromConnectText(const QString &text);
    // The type a file's extension implies; Auto if none.
    static SourceType typeFromPath(const QString &path);
};
