#include "DbfMemo.h"

#include <QtEndian>

#include <algorithm>

namespace
{

constexpr int dBase3BlockSize = 512;
constexpr int foxProDefaultBlockSize = 64;
// Memos longer than this are taken as damage, not data.
constexpr quint32 maxMemoSize = 64u * 1024 * 1024;

} // namespace

bool DbfMemo::open(const QString &path, bool writable, QString *error)
{
    if (!m_file.open(path, writable, error))
        return false;
    if (m_file.size() < 8) {
        if (error)
            *error = QStringLiteral("%1 is not a memo file: it is too short").arg(path);
        m_file.close();
        return false;
    }
    return true;
}

void DbfMemo::openBytes(const QByteArray &bytes)
{
    m_file.openBytes(bytes);
}

int DbfMemo::blockSize() const
{
    const uchar *data = m_file.data();
    if (m_file.size() < 22)
        return m_kind == Kind::FoxPro ? foxProDefaultBlockSize : dBase3BlockSize;
    switch (m_kind) {
    case Kind::DBase3:
        return dBase3BlockSize;
    case Kind::DBase4: {
        const int size = qFromLittleEndian<quint16>(data + 20);
        return size >= 64 ? size : dBase3BlockSize;
    }
    case Kind::FoxPro: {
        const int size = qFromBigEndian<quint16>(data + 6);
        return size > 0 ? size : foxProDefaultBlockSize;
    }
    }
    return dBase3BlockSize;
}

quint32 DbfMemo::nextFreeBlock() const
{
    const int size = blockSize();
    const quint32 byEnd = quint32((m_file.size() + size - 1) / size);
    if (m_file.size() < 4)
        return qMax<quint32>(byEnd, 1);
    const quint32 stored = m_kind == Kind::FoxPro ? qFromBigEndian<quint32>(m_file.data())
                                                  : qFromLittleEndian<quint32>(m_file.data());
    // Never trust a stored value that would overwrite data at the end of the file.
    return qMax(qMax<quint32>(stored, byEnd), 1u);
}

QByteArray DbfMemo::read(quint32 block) const
{
    if (!m_file.isOpen() || block == 0)
        return {};
    const qint64 offset = qint64(block) * blockSize();
    const qint64 size = m_file.size();
    if (offset >= size)
        return {};
    const char *data = reinterpret_cast<const char *>(m_file.data()) + offset;
    const qint64 left = size - offset;
    if (m_kind == Kind::FoxPro) {
        if (left < 8)
            return {};
        const quint32 length = qFromBigEndian<quint32>(data + 4);
        if (length > maxMemoSize)
            return {};
        return QByteArray(data + 8, qsizetype(qMin<qint64>(length, left - 8)));
    }
    if (left >= 8 && static_cast<uchar>(data[0]) == 0xFF && static_cast<uchar>(data[1]) == 0xFF &&
        data[2] == 0x08 && data[3] == 0x00) {
        const quint32 length = qFromLittleEndian<quint32>(data + 4);
        if (length < 8 || length > maxMemoSize)
            return {};
        return QByteArray(data + 8, qsizetype(qMin<qint64>(length - 8, left - 8)));
    }
    const qint64 limit = qMin<qint64>(unmarkedEnd(block, offset) - offset, maxMemoSize);
    const void *end = memchr(data, 0x1A, size_t(limit));
    return QByteArray(data,
                      end ? qsizetype(static_cast<const char *>(end) - data) : qsizetype(limit));
}

// Where a memo starting at block (offset bytes into the file) ends at the latest: at the next
// memo's start, else at the next free block, else at the end of the file.
qint64 DbfMemo::unmarkedEnd(quint32 block, qint64 offset) const
{
    if (!m_starts && m_lister) {
        std::vector<quint32> starts = m_lister();
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        m_starts = std::move(starts);
    }
    const qint64 size = m_file.size();
    const int blockBytes = blockSize();
    if (m_starts) {
        const auto next = std::upper_bound(m_starts->cbegin(), m_starts->cend(), block);
        if (next != m_starts->cend())
            return qBound(offset, qint64(*next) * blockBytes, size);
    }
    if (size < 4)
        return size;
    const quint32 stored = m_kind == Kind::FoxPro ? qFromBigEndian<quint32>(m_file.data())
                                                  : qFromLittleEndian<quint32>(m_file.data());
    return stored > block ? qBound(offset, qint64(stored) * blockBytes, size) : size;
}

void DbfMemo::setMemoStarts(std::function<std::vector<quint32>()> lister)
{
    m_lister = std::move(lister);
    m_starts.reset();
}

DbfMemo::Mark DbfMemo::mark() const
{
    if (!m_file.isOpen())
        return {};
    return Mark{m_file.size(), QByteArray(reinterpret_cast<const char *>(m_file.data()),
                                          qMin<qint64>(4, m_file.size()))};
}

bool DbfMemo::restore(const Mark &mark, QString *error)
{
    if (mark.size < 0 || m_file.size() == mark.size)
        return true;
    m_starts.reset();
    return m_file.truncate(mark.size, error) && m_file.write(0, mark.header, error);
}

bool DbfMemo::append(const QByteArray &data, bool binary, quint32 *block, QString *error)
{
    const int size = blockSize();
    const quint32 first = nextFreeBlock();
    QByteArray entry;
    switch (m_kind) {
    case Kind::DBase3:
        entry = data + QByteArray("\x1A\x1A", 2);
        break;
    case Kind::DBase4: {
        entry = QByteArray("\xFF\xFF\x08\x00", 4);
        char length[4];
        qToLittleEndian<quint32>(quint32(data.size() + 8), length);
        entry += QByteArray(length, 4) + data;
        break;
    }
    case Kind::FoxPro: {
        char head[8];
        qToBigEndian<quint32>(binary ? 0u : 1u, head);
        qToBigEndian<quint32>(quint32(data.size()), head + 4);
        entry = QByteArray(head, 8) + data;
        break;
    }
    }
    const qsizetype padded = (entry.size() + size - 1) / size * size;
    entry.append(QByteArray(padded - entry.size(), m_kind == Kind::FoxPro ? '\0' : '\x1A'));
    if (!m_file.write(qint64(first) * size, entry, error))
        return false;
    const quint32 next = first + quint32(padded / size);
    char header[4];
    if (m_kind == Kind::FoxPro)
        qToBigEndian<quint32>(next, header);
    else
        qToLittleEndian<quint32>(next, header);
    if (!m_file.write(0, QByteArray(header, 4), error))
        return false;
    *block = first;
    // A new memo lies past every other one.
    if (m_starts)
        m_starts->push_back(first);
    return true;
}

QByteArray DbfMemo::emptyFile(Kind kind)
{
    QByteArray header(kind == Kind::FoxPro ? 512 : dBase3BlockSize, '\0');
    if (kind == Kind::FoxPro) {
        qToBigEndian<quint32>(512 / foxProDefaultBlockSize, header.data());
        qToBigEndian<quint16>(foxProDefaultBlockSize, header.data() + 6);
    } else {
        qToLittleEndian<quint32>(1, header.data());
        if (kind == Kind::DBase4)
            qToLittleEndian<quint16>(dBase3BlockSize, header.data() + 20);
    }
    return header;
}
