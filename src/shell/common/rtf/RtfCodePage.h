#pragma once

#include "CodePage.h"

#include <QString>

#include <memory>
#include <unordered_map>

// Decodes the 8-bit text of an RTF file (raw bytes and \'hh escapes) from a Windows code page to
// Unicode. Code pages are made on first use and kept; one instance belongs to one thread.
class RtfCodePage
{
public:
    RtfCodePage() = default;
    RtfCodePage(const RtfCodePage &) = delete;
    RtfCodePage &operator=(const RtfCodePage &) = delete;

    // Appends the decoded text of data to out. Bytes that are invalid in the code page become
    // U+FFFD. Returns false when the code page is unknown; the bytes are then read as 1252.
    bool decode(int codePage, const char *data, qsizetype size, QString &out);

    // The code page of a font's \fcharset; ansiCodePage for the charsets that mean "the
    // document's own" (1 = default) and for unknown ones. 2 (symbol) gives SymbolCodePage.
    static int forCharset(int charset, int ansiCodePage);

    // Pseudo code page of symbol fonts: bytes keep their position, a few bullets are mapped.
    static constexpr int SymbolCodePage = 2;

private:
    const CodePage &page(int codePage);

    std::unordered_map<int, std::unique_ptr<CodePage>> m_pages;
};
