#include "ParadoxHeader.h"

#include "ParadoxFieldCodec.h"

#include <QFile>
#include <QIODevice>
#include <QtEndian>

#include <vector>

namespace
{

// The main header, and the data header that Paradox 4 and later tables add after it.
constexpr int mainHeaderSize = 0x58;
constexpr int dataHeaderEnd = 0x78;
// A data block starts with the numbers of the next and previous block and the offset of its
// last record.
constexpr int blockHeaderSize = 6;
// The first encryption word says "look at the second one" with this value.
constexpr quint32 encryptionInDataHeader = 0xFF00FF00u;
// Version codes from Paradox 4.0 on have the data header.
constexpr int firstDataHeaderVersion = 5;
constexpr int maxFields = 255;

quint16 word(const uchar *bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes + offset);
}

quint32 longWord(const uchar *bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes + offset);
}

} // namespace

bool ParadoxHeader::read(QIODevice &file, QString *why, bool *encrypted)
{
    *encrypted = false;
    uchar head[dataHeaderEnd] = {};
    const qint64 headSize = file.read(reinterpret_cast<char *>(head), dataHeaderEnd);
    if (headSize < mainHeaderSize) {
        *why = QStringLiteral("the file is too short");
        return false;
    }
    recordSize = word(head, 0x00);
    headerSize = word(head, 0x02);
    fileType = head[0x04];
    const int blockSizeCode = head[0x05];
    recordCount = longWord(head, 0x06);
    fileBlocks = word(head, 0x0C);
    firstBlock = word(head, 0x0E);
    lastBlock = word(head, 0x10);
    version = head[0x39];
    blockSize = blockSizeCode * 1024;
    if (headerSize < mainHeaderSize || headerSize > file.size() ||
        (fileType != 0 && fileType != 2) || blockSizeCode < 1 || blockSizeCode > 32 ||
        recordSize < 1 || recordSize > blockSize - blockHeaderSize) {
        *why = QStringLiteral("the header does not describe a table");
        return false;
    }
    // Version codes 3 (Paradox 3.0) to 12 (Paradox 7); from 5 on a data header follows the main
    // one. pxlib takes the second encryption word from that data header whether it read one or
    // not, so a table without one must not point there.
    const bool hasDataHeader = version >= firstDataHeaderVersion;
    quint32 encryption = longWord(head, 0x25);
    if (version < 3 || version > 12) {
        *why = QStringLiteral("its header has the unknown version code %1").arg(version);
        return false;
    }
    if ((hasDataHeader && headerSize < dataHeaderEnd) ||
        (!hasDataHeader && encryption == encryptionInDataHeader)) {
        *why = QStringLiteral("its header does not fit its version code %1").arg(version);
        return false;
    }
    if (encryption == encryptionInDataHeader)
        encryption = longWord(head, 0x5C);
    if (encryption != 0) {
        *encrypted = true;
        return false;
    }
    codePage = hasDataHeader ? word(head, 0x6A) : 0;
    if (!readFieldSizes(file, word(head, 0x21), hasDataHeader ? dataHeaderEnd : mainHeaderSize,
                        why))
        return false;
    // pxlib reads a cut block's missing bytes as whatever its buffer held before.
    if ((file.size() - headerSize) % blockSize != 0) {
        *why = QStringLiteral("the file ends inside a data block");
        return false;
    }
    const qint64 blocksInFile = (file.size() - headerSize) / blockSize;
    if (recordCount > blocksInFile * ((blockSize - blockHeaderSize) / recordSize)) {
        *why = QStringLiteral("its header counts %1 records, more than its blocks hold")
                   .arg(recordCount);
        return false;
    }
    if (fileBlocks > blocksInFile) {
        *why =
            QStringLiteral("its header counts %1 blocks, more than the file holds").arg(fileBlocks);
        return false;
    }
    std::vector<Block> blocks;
    if (!walkChain(file, &blocks, why))
        return false;
    // pxlib walks until it meets the last block: a chain that ends elsewhere never ends.
    if ((blocks.empty() ? 0 : blocks.back().number) != lastBlock) {
        *why = QStringLiteral("its chain of data blocks does not end at block %1").arg(lastBlock);
        return false;
    }
    return true;
}

// Paradox allows 255 fields, each a type byte and a size byte after the headers; pxlib reads as
// many as the header says, one byte at a time. Each size must suit its type, and all of them
// fit the record.
bool ParadoxHeader::readFieldSizes(QIODevice &file, int fields, int at, QString *why) const
{
    QByteArray info;
    if (fields >= 1 && fields <= maxFields && at + 2 * fields <= headerSize && file.seek(at))
        info = file.read(2 * fields);
    int total = 0;
    for (qsizetype i = 0; i + 1 < info.size(); i += 2) {
        const int type = uchar(info.at(i));
        const int size = uchar(info.at(i + 1));
        if (!ParadoxFieldCodec::sizeFits(type, size)) {
            *why = QStringLiteral("its field %1 has type %2 and %3 bytes, which do not go together")
                       .arg(i / 2 + 1)
                       .arg(type)
                       .arg(size);
            return false;
        }
        total += ParadoxFieldCodec::storedSize(type, size);
    }
    if (info.size() != 2 * fields || total > recordSize) {
        *why = QStringLiteral("its %1 fields do not fit its header and records").arg(fields);
        return false;
    }
    return true;
}

// Follows the next-block numbers from the first block: each must lie in the file and be met
// once, so the walk ends after at most the file's block count.
bool ParadoxHeader::walkChain(QIODevice &file, std::vector<Block> *blocks, QString *why) const
{
    const qint64 blocksInFile = (file.size() - headerSize) / blockSize;
    std::vector<bool> seen(size_t(blocksInFile) + 1, false);
    for (qint64 block = firstBlock; block != 0;) {
        if (block > blocksInFile) {
            *why = QStringLiteral("its data block %1 lies beyond the end of the file").arg(block);
            return false;
        }
        if (seen[size_t(block)]) {
            *why = QStringLiteral("its chain of data blocks leads back to block %1").arg(block);
            return false;
        }
        seen[size_t(block)] = true;
        char header[blockHeaderSize];
        if (!file.seek(headerSize + (block - 1) * qint64(blockSize)) ||
            file.read(header, blockHeaderSize) != blockHeaderSize) {
            *why = QStringLiteral("its data block %1 is cut short").arg(block);
            return false;
        }
        blocks->push_back(Block{int(block), qFromLittleEndian<qint16>(header + 4)});
        block = qFromLittleEndian<quint16>(header);
    }
    return true;
}

bool ParadoxHeader::dropEmptyBlocks(QFile &file, QString *why)
{
    std::vector<Block> chain;
    if (!walkChain(file, &chain, why))
        return false;
    QList<QByteArray> kept;
    for (const Block &block : chain) {
        if (block.lastRecordOffset < 0)
            continue;
        QByteArray bytes(blockSize, '\0');
        if (!file.seek(headerSize + (block.number - 1) * qint64(blockSize)) ||
            file.read(bytes.data(), blockSize) < blockHeaderSize) {
            *why = QStringLiteral("its data block %1 cannot be read").arg(block.number);
            return false;
        }
        kept.append(bytes);
    }
    if (kept.size() == qsizetype(chain.size()))
        return true;
    const int count = int(kept.size());
    for (int i = 0; i < count; ++i) {
        qToLittleEndian<quint16>(quint16(i + 1 < count ? i + 2 : 0), kept[i].data());
        qToLittleEndian<quint16>(quint16(i), kept[i].data() + 2);
        if (!file.seek(headerSize + i * qint64(blockSize)) || file.write(kept.at(i)) != blockSize) {
            *why = file.errorString();
            return false;
        }
    }
    // Blocks in use, blocks in the file, first and last block.
    QByteArray numbers(8, '\0');
    for (int i = 0; i < 4; ++i)
        qToLittleEndian<quint16>(quint16(i == 2 ? qMin(count, 1) : count), numbers.data() + 2 * i);
    firstBlock = qMin(count, 1);
    if (!file.seek(0x0A) || file.write(numbers) != numbers.size() ||
        !file.resize(headerSize + count * qint64(blockSize))) {
        *why = file.errorString();
        return false;
    }
    return true;
}
