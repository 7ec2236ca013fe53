#pragma once

#include <QByteArray>
#include <QString>

// What a file holds, told from its first bytes rather than its name: an ".accdb" is Access, a
// ".db" may be Paradox or SQLite, a ".csv" is text, and a table renamed by hand is still
// recognised.
class SourceDetection
{
public:
    enum class Format { Unknown, Access, DBase, FoxPro, Paradox, Text, SQLite };

    // Reads the start of the file; Unknown when it cannot be read or matches no format. The name
    // only breaks a tie that the bytes leave (a Paradox header that also reads as dBase).
    static Format detect(const QString &path);
    // The same for bytes already read (the start of a file of fileSize bytes).
    static Format detect(const QByteArray &head, qint64 fileSize, const QString &fileName);

    static bool isSqlite(const QByteArray &head);
    static bool isAccess(const QByteArray &head);
    static bool isParadox(const QByteArray &head, qint64 fileSize);
    // DBase or FoxPro by the version byte, when the header parses; else Unknown.
    static Format dbfFormat(const QByteArray &head, qint64 fileSize);
    // Text of a table: no NUL byte, and a first line with a separator (comma, semicolon or tab)
    // that does not begin as a document (RTF, XML, HTML, PostScript) does.
    static bool isText(const QByteArray &head);

    // How many bytes detect() reads.
    static constexpr qint64 HeadSize = 64 * 1024;
};
