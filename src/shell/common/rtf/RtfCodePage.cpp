#include "RtfCodePage.h"

#include <QSysInfo>

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace
{

const iconv_t NoHandle = reinterpret_cast<iconv_t>(-1);

// iconv's name for a Windows code page number; most are "CP<n>" on glibc.
QByteArray iconvName(int codePage)
{
    switch (codePage) {
    case 10000:
        return "MACINTOSH";
    case 10007:
        return "MAC-CYRILLIC";
    case 20127:
        return "ASCII";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 20932:
    case 51932:
        return "EUC-JP";
    case 51936:
        return "EUC-CN";
    case 51949:
        return "EUC-KR";
    case 54936:
        return "GB18030";
    case 65001:
        return "UTF-8";
    default:
        break;
    }
    if (codePage >= 28591 && codePage <= 28606)
        return "ISO-8859-" + QByteArray::number(codePage - 28590);
    return "CP" + QByteArray::number(codePage);
}

// The glyphs of symbol fonts that word processors use for bullets.
char16_t symbolChar(unsigned char byte)
{
    switch (byte) {
    case 0xB7:
        return u'\u2022';
    case 0xA7:
        return u'\u25AA';
    case 0xD8:
        return u'\u27A2';
    case 0xFC:
        return u'\u2713';
    default:
        return byte;
    }
}

} // namespace

RtfCodePage::~RtfCodePage()
{
    for (auto &[codePage, cd] : m_handles) {
        if (cd != NoHandle)
            iconv_close(static_cast<iconv_t>(cd));
    }
}

int RtfCodePage::forCharset(int charset, int ansiCodePage)
{
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return SymbolCodePage;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return ansiCodePage;
    }
}

void *RtfCodePage::handle(int codePage)
{
    auto found = m_handles.find(codePage);
    if (found != m_handles.end())
        return found->second;
    const char *unicode = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
    iconv_t cd = NoHandle;
    if (codePage > 0)
        cd = iconv_open(unicode, iconvName(codePage).constData());
    m_handles.emplace(codePage, cd);
    return cd;
}

bool RtfCodePage::decode(int codePage, const char *data, qsizetype size, QString &out)
{
    if (size <= 0)
        return true;
    if (codePage == SymbolCodePage) {
        for (qsizetype i = 0; i < size; ++i)
            out.append(QChar(symbolChar(static_cast<unsigned char>(data[i]))));
        return true;
    }
    bool known = true;
    iconv_t cd = static_cast<iconv_t>(handle(codePage));
    if (cd == NoHandle) {
        known = false;
        cd = static_cast<iconv_t>(handle(1252));
    }
    if (cd == NoHandle) {
        out.append(QString::fromLatin1(data, size));
        return known;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const qsizetype start = out.size();
    // Every supported code page gives at most one UTF-16 unit per byte, plus the reset sequence.
    out.resize(start + size + 4);
    char *in = const_cast<char *>(data);
    size_t inLeft = size_t(size);
    char *outPtr = reinterpret_cast<char *>(out.data() + start);
    size_t outLeft = size_t(size + 4) * 2;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG) {
            const qsizetype used = (outPtr - reinterpret_cast<char *>(out.data())) / 2;
            out.resize(out.size() + qsizetype(inLeft) + 8);
            outPtr = reinterpret_cast<char *>(out.data() + used);
            outLeft = size_t(out.size() - used) * 2;
            continue;
        }
        // An invalid or cut-short sequence: one replacement character, then go on after it.
        if (outLeft < 2) {
            const qsizetype used = (outPtr - reinterpret_cast<char *>(out.data())) / 2;
            out.resize(out.size() + qsizetype(inLeft) + 8);
            outPtr = reinterpret_cast<char *>(out.data() + used);
            outLeft = size_t(out.size() - used) * 2;
        }
        const char16_t replacement = QChar::ReplacementCharacter;
        memcpy(outPtr, &replacement, 2);
        outPtr += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    // Code pages with combining marks (1255, 1258) hold back the last letter until flushed.
    if (outLeft < 8) {
        const qsizetype used = (outPtr - reinterpret_cast<char *>(out.data())) / 2;
        out.resize(out.size() + 8);
        outPtr = reinterpret_cast<char *>(out.data() + used);
        outLeft = size_t(out.size() - used) * 2;
    }
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.resize((outPtr - reinterpret_cast<char *>(out.data())) / 2);
    return known;
}
