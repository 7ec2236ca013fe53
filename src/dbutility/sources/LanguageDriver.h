#pragma once

// The language driver byte of dBase and FoxPro headers (byte 29), which names a code page.
class LanguageDriver
{
public:
    // The code page of a language driver id; 0 when unknown.
    static int codePage(unsigned char ldid);
    // The id the writing programs use for a code page; 0 when there is none.
    static unsigned char id(int codePage);
};
