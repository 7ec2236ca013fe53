#pragma once

#include <QByteArray>
#include <QString>

// What a document file holds, as the view pane shows it and the content index keeps it.
class DocumentText
{
public:
    enum class Kind {
        RichText,  // last three characters of the path "RTF" (any case)
        PlainText, // "TXT" or "DOC": read as plain text
        List,      // "NVS": a list document (ListDocument)
        Picture,   // a picture format Qt reads
        Other      // shown by the desktop's application, after a question
    };

    // Files are read up to this many bytes; the rest of a larger file is left out, so a huge
    // file cannot exhaust memory or stall the window.
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

    static Kind kindOf(const QString &path);
    // The first MaxFileBytes of a file; ok is false when it cannot be read.
    static QByteArray readFile(const QString &path, bool *ok = nullptr);

    // A plain-text file: UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped),
    // else code page 1252. Control characters other than tab, line feed and carriage return are
    // dropped, so a binary file shows as text without breaking the pane. ok is false when the
    // file cannot be read.
    static QString readPlainFile(const QString &path, bool *ok = nullptr);
    static QString plainOfBytes(const QByteArray &bytes);

    // The text of RTF source as a word processor shows it (RtfPlainText). damaged is set when
    // the reader reported damage; what could be read is still returned.
    static QString plainOfRtf(const QByteArray &rtf, bool *damaged = nullptr);
    // The same for a body copy of the catalogue (RTF source kept as text).
    static QString plainOfContent(const QString &content);

    // The text the content index keeps for a document: its file's text when the file is a
    // readable rich-text, plain-text or list document, else the text of the body copy content;
    // empty when neither holds any.
    static QString forIndex(const QString &path, const QString &content);
};
