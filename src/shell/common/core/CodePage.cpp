#include "CodePage.h"

#include <iconv.h>

#include <cerrno>

namespace
{

bool isMultiByte(int number)
{
    switch (number) {
    case 932:
    case 936:
    case 949:
    case 950:
    case 1361:
    case 20932:
    case 51932:
    case 51936:
    case 51949:
    case 54936:
    case 65001:
        return true;
    default:
        return false;
    }
}

} // namespace

struct CodePage::Converter {
    iconv_t toUtf16 = reinterpret_cast<iconv_t>(-1);
    iconv_t fromUtf16 = reinterpret_cast<iconv_t>(-1);
    ~Converter()
    {
        if (toUtf16 != reinterpret_cast<iconv_t>(-1))
            iconv_close(toUtf16);
        if (fromUtf16 != reinterpret_cast<iconv_t>(-1))
            iconv_close(fromUtf16);
    }

    // Runs one conversion; invalid input bytes are replaced by `replacement` and skipped, and
    // *firstBad (when given and still npos) takes the input offset of the first of them.
    static QByteArray run(iconv_t cd, const char *data, size_t size, const QByteArray &replacement,
                          size_t unit, size_t *firstBad = nullptr)
    {
        QByteArray out;
        out.resize(qsizetype(size * 4 + 8));
        char *in = const_cast<char *>(data);
        size_t inLeft = size;
        char *outPtr = out.data();
        size_t outLeft = size_t(out.size());
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != size_t(-1))
                break;
            if (errno == E2BIG) {
                const qsizetype used = outPtr - out.data();
                out.resize(out.size() * 2);
                outPtr = out.data() + used;
                outLeft = size_t(out.size() - used);
                continue;
            }
            // EILSEQ or EINVAL: skip one unit of input and write the replacement.
            if (firstBad && *firstBad == std::string::npos)
                *firstBad = size - inLeft;
            if (outLeft < size_t(replacement.size())) {
                const qsizetype used = outPtr - out.data();
                out.resize(out.size() * 2 + replacement.size());
                outPtr = out.data() + used;
                outLeft = size_t(out.size() - used);
            }
            memcpy(outPtr, replacement.constData(), size_t(replacement.size()));
            outPtr += replacement.size();
            outLeft -= size_t(replacement.size());
            const size_t skip = qMin(unit, inLeft);
            in += skip;
            inLeft -= skip;
        }
        out.resize(outPtr - out.data());
        return out;
    }
};

CodePage::CodePage(int number) : m_number(number)
{
    auto converter = std::make_shared<Converter>();
    const QByteArray name = iconvName(number);
    converter->toUtf16 = iconv_open("UTF-16LE", name.constData());
    // No transliteration: a character the page lacks is refused, never silently replaced.
    converter->fromUtf16 = iconv_open(name.constData(), "UTF-16LE");
    m_valid = converter->toUtf16 != reinterpret_cast<iconv_t>(-1) &&
              converter->fromUtf16 != reinterpret_cast<iconv_t>(-1);
    m_singleByte = !m_valid || !isMultiByte(number);
    for (int byte = 0; byte < 256; ++byte)
        m_table[size_t(byte)] = char16_t(byte);
    if (m_valid && m_singleByte) {
        // Bytes the page leaves undefined keep their Latin-1 meaning, as Windows does.
        for (int byte = 0x80; byte < 256; ++byte) {
            char in = char(byte);
            char16_t out = 0;
            char *inPtr = &in;
            size_t inLeft = 1;
            char *outPtr = reinterpret_cast<char *>(&out);
            size_t outLeft = sizeof(out);
            iconv(converter->toUtf16, nullptr, nullptr, nullptr, nullptr);
            // Pages with combining marks (1255, 1258) hold a letter back until flushed.
            if (iconv(converter->toUtf16, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1) &&
                iconv(converter->toUtf16, nullptr, nullptr, &outPtr, &outLeft) != size_t(-1) &&
                outLeft == 0)
                m_table[size_t(byte)] = out;
        }
    }
    if (m_valid)
        m_converter = converter;
    if (m_singleByte) {
        // Later bytes win nothing: the first byte that shows a character is the one written.
        for (int byte = 255; byte >= 0x80; --byte)
            m_bytesAbove127.insert(m_table[size_t(byte)], char(byte));
    }
    for (int byte = 0; byte < 256; ++byte) {
        const QByteArray utf8 = QString(QChar(m_table[size_t(byte)])).toUtf8();
        std::array<char, 4> &entry = m_utf8[size_t(byte)];
        memcpy(entry.data(), utf8.constData(), size_t(qMin<qsizetype>(utf8.size(), 3)));
        entry[3] = char(qMin<qsizetype>(utf8.size(), 3));
    }
}

void CodePage::appendUtf8(const char *data, qsizetype size, std::string *out) const
{
    if (!m_singleByte) {
        const QByteArray utf8 = decode(data, size).toUtf8();
        out->append(utf8.constData(), size_t(utf8.size()));
        return;
    }
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (byte < 0x80) {
            out->push_back(char(byte));
        } else {
            const std::array<char, 4> &entry = m_utf8[byte];
            out->append(entry.data(), size_t(entry[3]));
        }
    }
}

QString CodePage::decode(const char *data, qsizetype size) const
{
    if (size <= 0)
        return {};
    if (m_singleByte) {
        QString text(size, Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        for (qsizetype i = 0; i < size; ++i)
            out[i] = m_table[static_cast<unsigned char>(data[i])];
        return text;
    }
    static const QByteArray replacement("\xFD\xFF", 2);
    const QByteArray utf16 =
        Converter::run(m_converter->toUtf16, data, size_t(size), replacement, 1);
    return QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2);
}

QByteArray CodePage::encode(const QString &text, QString *unmappable) const
{
    if (unmappable)
        unmappable->clear();
    if (text.isEmpty())
        return {};
    size_t firstBad = std::string::npos;
    QByteArray bytes;
    if (m_singleByte) {
        bytes.resize(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            const auto found = c < 0x80 ? m_bytesAbove127.cend() : m_bytesAbove127.constFind(c);
            bytes[i] = c < 0x80 ? char(c) : (found != m_bytesAbove127.cend() ? *found : '?');
            if (c >= 0x80 && found == m_bytesAbove127.cend() && firstBad == std::string::npos)
                firstBad = size_t(i) * 2;
        }
    } else {
        bytes = Converter::run(m_converter->fromUtf16, reinterpret_cast<const char *>(text.utf16()),
                               size_t(text.size()) * 2, QByteArray("?"), 2, &firstBad);
    }
    if (unmappable && firstBad != std::string::npos) {
        const qsizetype at = qsizetype(firstBad / 2);
        const bool pair = text.at(at).isHighSurrogate() && at + 1 < text.size();
        *unmappable = text.mid(at, pair ? 2 : 1);
    }
    return bytes;
}

QByteArray CodePage::iconvName(int number)
{
    switch (number) {
    case 10000:
        return "MACINTOSH";
    case 936:
        return "GBK";
    case 950:
        return "BIG5";
    case 932:
        return "CP932";
    case 949:
        return "CP949";
    case 1361:
        return "JOHAB";
    case 10007:
        return "MAC-CYRILLIC";
    case 10029:
        return "MAC-CENTRALEUROPE";
    case 10006:
        return "MACGREEK";
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
    if (number >= 28591 && number <= 28606)
        return "ISO-8859-" + QByteArray::number(number - 28590);
    return "CP" + QByteArray::number(number);
}
