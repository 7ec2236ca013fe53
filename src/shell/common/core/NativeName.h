#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// File names and paths between the file system's bytes and the text the program shows and
// stores, so that a stored name always reopens its file. Every file operation turns stored or
// shown text into a path with toNative(), and every name read from the file system into text
// with fromNative(); QFile::decodeName / encodeName are not used for this.
//
// Contract:
// - A name is any bytes (Linux forbids only NUL; "/" separates the names of a path). Bytes that
//   form valid UTF-8 become their characters.
// - Every other byte (always 0x80-0xFF: a lone continuation byte, a cut or overlong sequence, an
//   encoded surrogate, ...) becomes the private-use character U+EF00 + byte (U+EF80-U+EFFF), one
//   character per byte. Distinct names stay distinct: "caf\xE9" and "caf\xE8" no longer become
//   the same "caf\uFFFD".
// - A character of U+EF80-U+EFFF that a name holds as valid UTF-8 is escaped the same way, byte
//   by byte, so that it cannot be taken for an escaped byte.
// - toNative() undoes fromNative() exactly: toNative(fromNative(b)) == b for all bytes b, and
//   fromNative(toNative(t)) == t for every text fromNative() gives. Names that are valid UTF-8
//   (and hold no U+EF80-U+EFFF) are shown and stored exactly as they are; "%" means nothing.
// - Text that fromNative() never gives (a lone surrogate) is written as UTF-8 replacement bytes.
// Qt's file classes cannot open a file whose name is not valid UTF-8 (they would encode the
// private-use characters as UTF-8): operations that must reach every file use the native bytes.
// Thread-safe (no state).
class NativeName
{
public:
    static QString fromNative(QByteArrayView bytes);
    static QByteArray toNative(QStringView text);

    // The first and last character standing for a byte.
    static constexpr char16_t FirstEscape = 0xEF80;
    static constexpr char16_t LastEscape = 0xEFFF;
};
