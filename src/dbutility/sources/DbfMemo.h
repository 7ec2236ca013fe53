#pragma once

#include "MappedFile.h"

#include <QByteArray>

#include <functional>
#include <optional>
#include <vector>

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

    // The memo stored at a block; empty for a block outside the file or a damaged entry. A
    // memo without its end mark ends where the next memo the table uses starts, or at the
    // file's next free block.
    QByteArray read(quint32 block) const;
    // Appends a memo and gives its first block. binary marks FoxPro picture/object data.
    bool append(const QByteArray &data, bool binary, quint32 *block, QString *error);

    // Tells where the table's memos start (any order, repeats allowed): asked once, when the
    // first memo without an end mark is read.
    void setMemoStarts(std::function<std::vector<quint32>()> lister);

    // The state of the file before appends, so that a row whose values are refused leaves
    // nothing behind.
    struct Mark {
        qint64 size = -1;
        QByteArray header;
    };
    Mark mark() const;
    bool restore(const Mark &mark, QString *error);

    // An empty memo file of the kind (header block only), to create a companion file.
    static QByteArray emptyFile(Kind kind);

private:
    int blockSize() const;
    quint32 nextFreeBlock() const;
    qint64 unmarkedEnd(quint32 block, qint64 offset) const;

    Kind m_kind;
    MappedFile m_file;
    std::function<std::vector<quint32>()> m_lister;
    mutable std::optional<std::vector<quint32>> m_starts; // sorted, unique
};
