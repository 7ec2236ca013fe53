#pragma once

#include "MappedFile.h"

#include <QByteArray>

// The memo file of a dBase/FoxPro table: .dbt (dBase III: 512-byte blocks ended by 0x1A;
// dBase IV and later: blocks with a length header) or .fpt (FoxPro: big-endian block header).
class DbfMemo
{
public:
    enum class Kind { DBase3, DBase4, FoxPro };

    explicit DbfMemo(Kind kind) : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    bool open(const QString &path, bool writable, QString *error);
    void openBytes(const QByteArray &bytes);
    void close() { m_file.close(); }
    bool isOpen() const { return m_file.isOpen(); }
    MappedFile &file() { return m_file; }

    // The memo stored at a block; empty for a block outside the file or a damaged entry.
    QByteArray read(quint32 block) const;
    // Appends a memo and gives its first block. binary marks FoxPro picture/object data.
    bool append(const QByteArray &data, bool binary, quint32 *block, QString *error);

    // An empty memo file of the kind (header block only), to create a companion file.
    static QByteArray emptyFile(Kind kind);

private:
    int blockSize() const;
    quint32 nextFreeBlock() const;

    Kind m_kind;
    MappedFile m_file;
};
