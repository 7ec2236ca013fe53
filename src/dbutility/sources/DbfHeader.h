#pragma once

#include "CodePage.h"
#include "DbfMemo.h"
#include "SourceField.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The header of a dBase / FoxPro table (.dbf): version, sizes, code page and the field
// descriptors, read from a file's bytes or written for a new table.
//
// Reads dBase II and versions 0x02 (FoxBASE), 0x03, 0x83, 0x8B, 0x8C, 0xF5, 0xFB, 0x30-0x32 and
// dBase 7 (0x04, 0x8C). Offsets and lengths are in bytes; a record starts with its delete flag,
// so the first field lies at offset 1.
struct DbfHeader {
    // Where one field's bytes lie in a record and how to read them.
    struct Column {
        char type = 'C';
        int offset = 0;
        int length = 0;
        int decimals = 0;
        bool binary = false;
        int nullBit = -1;   // bit of _NullFlags set when the value is null
        int lengthBit = -1; // bit of _NullFlags set when a varying field is shorter than its size
    };

    // A field for build().
    struct FieldSpec {
        QString name;
        char type = 'C';
        int length = 10;
        int decimals = 0;
    };

    // Reads the header at the start of a table file of `size` bytes. codePage 0 takes the
    // file's own page (else 1252). On failure false, and *error says why, naming the table.
    bool parse(const uchar *data, qint64 size, int codePage, const QString &tableName,
               QString *error);

    bool isVisualFoxPro() const { return isVisualFoxPro(version); }
    bool isDBase7() const { return isDBase7(version); }
    // Whether a field keeps its value in the memo file.
    bool hasMemoField() const;
    static bool isMemo(const Column &column);

    static bool isVisualFoxPro(unsigned char version) { return version >= 0x30 && version <= 0x32; }
    static bool isDBase7(unsigned char version) { return (version & 0x07) == 0x04; }
    // The memo layout of a version; a .fpt file is FoxPro's whatever the version says.
    static DbfMemo::Kind memoKind(unsigned char version, const QString &memoPath);
    // The header of an empty table, ended by its 0x0D mark (the end-of-file mark not included);
    // empty when there are no fields or too many for the format's 16-bit sizes.
    static QByteArray build(const QList<FieldSpec> &specs, unsigned char tableVersion,
                            int pageNumber);

    unsigned char version = 0;
    bool dBase2 = false;
    int headerSize = 0;
    int recordLength = 0;
    // The records present: the header's count, cut to what the file holds.
    qint64 slotCount = 0;
    // Header byte 28 says that a production index (.mdx, .cdx) belongs to the table.
    bool hasProductionIndex = false;
    // The _NullFlags field of Visual FoxPro tables, or -1.
    int nullFlagsOffset = -1;
    int nullFlagsLength = 0;
    CodePage codePage;
    // One column per field, in order; _NullFlags has no column of its own.
    QList<Column> columns;
    QList<SourceField> fields;

    // Bytes of a record: the delete flag, then the fields.
    static constexpr char deletedFlag = '*';
    static constexpr char liveFlag = ' ';
    static constexpr char endOfFile = 0x1A;

private:
    struct Descriptor;
    struct Layout;
    bool readSizes(const uchar *data, qint64 size, const Layout **layout, quint32 *recordCount,
                   QString *why);
    QList<Descriptor> readDescriptors(const uchar *data, const Layout &layout) const;
    bool makeColumns(const QList<Descriptor> &descriptors, QString *why);
};
