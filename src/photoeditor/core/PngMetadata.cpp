#include "PngMetadata.h"

#include <QtEndian>

#include <cctype>

namespace
{

const QByteArray signature("\x89PNG\r\n\x1a\n", 8);

// zlib data of unknown length (qUncompress wants the length first; it grows from the hint).
QByteArray inflate(const QByteArray &zlib)
{
    QByteArray sized(4, '\0');
    qToBigEndian(quint32(zlib.size() * 4), sized.data());
    return qUncompress(sized + zlib);
}

// "\nexif\n    1234\n4578 6966 ..." : a name line, a length line, then hexadecimal digits.
QByteArray rawProfile(const QByteArray &text)
{
    const QList<QByteArray> head = text.trimmed().split('\n');
    if (head.size() < 3)
        return {};
    bool ok = false;
    const qsizetype length = head.at(1).trimmed().toLongLong(&ok);
    if (!ok || length <= 0)
        return {};
    const qsizetype start = text.indexOf(head.at(1)) + head.at(1).size();
    QByteArray hex;
    hex.reserve(length * 2);
    for (qsizetype i = start; i < text.size() && hex.size() < length * 2; ++i) {
        if (std::isxdigit(uchar(text.at(i))))
            hex.append(text.at(i));
    }
    return QByteArray::fromHex(hex).left(length);
}

void takeText(const QByteArray &keyword, const QByteArray &text, PictureProfiles &p)
{
    const QByteArray exifHeader("Exif\0\0", 6);
    if (keyword == "XML:com.adobe.xmp") {
        p.xmp = text;
        return;
    }
    if (!keyword.startsWith("Raw profile type "))
        return;
    const QByteArray name = keyword.mid(17).toLower();
    QByteArray data = rawProfile(text);
    if (name == "exif" || name == "app1") {
        if (data.startsWith(exifHeader))
            data.remove(0, exifHeader.size());
        p.exif = data;
    } else if (name == "icc" || name == "icm") {
        p.icc = data;
    } else if (name == "xmp") {
        p.xmp = data;
    } else if (name == "8bim" || name == "iptc") {
        p.iptc = data;
    }
}

// iTXt: keyword, 0, compressed flag, method, language, 0, translated keyword, 0, text.
void takeInternationalText(const QByteArray &data, PictureProfiles &p)
{
    const qsizetype k = data.indexOf('\0');
    if (k < 0 || k + 3 > data.size())
        return;
    const bool compressed = data.at(k + 1) != 0;
    const qsizetype language = data.indexOf('\0', k + 3);
    const qsizetype translated = language < 0 ? -1 : data.indexOf('\0', language + 1);
    if (translated < 0)
        return;
    const QByteArray text = data.mid(translated + 1);
    takeText(data.left(k), compressed ? inflate(text) : text, p);
}

} // namespace

PictureProfiles PngMetadata::read(const QByteArray &png)
{
    PictureProfiles p;
    if (!png.startsWith(signature))
        return p;
    qsizetype at = signature.size();
    while (at + 12 <= png.size()) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
        const QByteArray type = png.mid(at + 4, 4);
        if (length > quint32(png.size() - at - 12) || type == "IEND")
            break;
        const QByteArray data = png.mid(at + 8, length);
        if (type == "eXIf") {
            p.exif = data;
        } else if (type == "iCCP") {
            const qsizetype name = data.indexOf('\0');
            if (name >= 0 && name + 2 <= data.size())
                p.icc = inflate(data.mid(name + 2));
        } else if (type == "tEXt" || type == "zTXt") {
            const qsizetype k = data.indexOf('\0');
            if (k >= 0) {
                const QByteArray text = type == "tEXt" ? data.mid(k + 1) : inflate(data.mid(k + 2));
                takeText(data.left(k), text, p);
            }
        } else if (type == "iTXt") {
            takeInternationalText(data, p);
        }
        at += 12 + qsizetype(length);
    }
    return p;
}
