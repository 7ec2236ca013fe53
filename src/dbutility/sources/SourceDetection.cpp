#include "SourceDetection.h"

#include "DbfHeader.h"

#include <QFile>
#include <QFileInfo>

namespace
{

int le16(const QByteArray &bytes, int offset)
{
    return uchar(bytes.at(offset)) | (uchar(bytes.at(offset + 1)) << 8);
}

} // namespace

SourceDetection::Format SourceDetection::detect(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return Format::Unknown;
    return detect(file.read(HeadSize), file.size(), QFileInfo(path).fileName());
}

SourceDetection::Format SourceDetection::detect(const QByteArray &head, qint64 fileSize,
                                                const QString &fileName)
{
    if (isSqlite(head))
        return Format::SQLite;
    if (isAccess(head))
        return Format::Access;
    const bool paradox = isParadox(head, fileSize);
    const Format dbf = dbfFormat(head, fileSize);
    if (paradox && dbf != Format::Unknown)
        return QFileInfo(fileName).suffix().compare(QLatin1String("db"), Qt::CaseInsensitive) == 0
                   ? Format::Paradox
                   : dbf;
    if (paradox)
        return Format::Paradox;
    if (dbf != Format::Unknown)
        return dbf;
    return isText(head) ? Format::Text : Format::Unknown;
}

bool SourceDetection::isSqlite(const QByteArray &head)
{
    return head.startsWith(QByteArray("SQLite format 3\0", 16));
}

bool SourceDetection::isAccess(const QByteArray &head)
{
    return head.size() >= 19 && head.startsWith(QByteArray("\x00\x01\x00\x00", 4)) &&
           (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB");
}

bool SourceDetection::isParadox(const QByteArray &head, qint64 fileSize)
{
    // The fields of the table header that every Paradox version from 3 on writes.
    if (head.size() < 0x58)
        return false;
    const int recordSize = le16(head, 0);
    const int headerSize = le16(head, 2);
    const int fileType = uchar(head.at(4));
    const int blockSizeCode = uchar(head.at(5));
    const int fieldCount = le16(head, 0x21);
    const int version = uchar(head.at(0x39));
    return recordSize > 0 && headerSize >= 0x58 && headerSize <= fileSize &&
           (fileType == 0 || fileType == 2) && blockSizeCode >= 1 && blockSizeCode <= 32 &&
           fieldCount > 0 && version >= 3 && version <= 12;
}

SourceDetection::Format SourceDetection::dbfFormat(const QByteArray &head, qint64 fileSize)
{
    if (head.isEmpty())
        return Format::Unknown;
    DbfHeader header;
    QString why;
    // The header is read from the bytes at hand; a table longer than them is cut, not refused.
    if (!header.parse(reinterpret_cast<const uchar *>(head.constData()),
                      qMin<qint64>(head.size(), fileSize), 0, QString(), &why))
        return Format::Unknown;
    const unsigned char version = header.version;
    const bool foxPro = DbfHeader::isVisualFoxPro(version) || version == 0xF5 || version == 0xFB;
    return foxPro ? Format::FoxPro : Format::DBase;
}

bool SourceDetection::isText(const QByteArray &head)
{
    if (head.isEmpty() || head.contains('\0'))
        return false;
    qsizetype end = head.indexOf('\n');
    const qsizetype cr = head.indexOf('\r');
    if (end < 0 || (cr >= 0 && cr < end))
        end = cr;
    const QByteArray firstLine = end < 0 ? head : head.left(end);
    // Documents that are text too (RTF, XML, HTML, PostScript) are no tables.
    if (firstLine.startsWith('{') || firstLine.startsWith('<') || firstLine.startsWith('%') ||
        firstLine.contains('\\'))
        return false;
    return firstLine.contains(',') || firstLine.contains(';') || firstLine.contains('\t');
}
