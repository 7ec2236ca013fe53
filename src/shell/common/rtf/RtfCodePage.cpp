#include "RtfCodePage.h"

namespace
{

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

const CodePage &RtfCodePage::page(int codePage)
{
    std::unique_ptr<CodePage> &page = m_pages[codePage];
    if (!page)
        page = std::make_unique<CodePage>(codePage);
    return *page;
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
    const CodePage *decoder = codePage > 0 ? &page(codePage) : nullptr;
    const bool known = decoder && decoder->isValid();
    if (!known)
        decoder = &page(1252);
    out.append(decoder->decode(data, size));
    return known;
}
