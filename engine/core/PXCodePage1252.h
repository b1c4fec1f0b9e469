// The game's text is 8-bit Windows-1252 (what the Windows build's ANSI window delivers):
// the code page's table, and the conversion from the UTF-8 that other hosts hand over.
#pragma once

#include <cstdint>
#include <string>

// The Unicode code point of a Windows-1252 byte; 0 for the five bytes the code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D). Header-only, so the asset generator can pick
// its glyphs by the same table.
constexpr uint32_t CodePage1252ToUnicode(unsigned char byte)
{
    // 0x80..0x9F are the code page's own; every other byte is its Latin-1 code point.
    constexpr uint16_t High[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
        0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
    };
    return byte >= 0x80 && byte <= 0x9F ? High[byte - 0x80] : byte;
}

// The Windows-1252 byte of a code point, or -1 when the code page has none (the C1 controls
// U+0080..U+009F included: those bytes stand for other characters).
int UnicodeToCodePage1252(uint32_t codePoint);

// Decodes UTF-8 and keeps the characters the code page has, one byte each; characters
// outside it and malformed sequences (stray continuation bytes, truncated or overlong
// sequences, surrogates, values past U+10FFFF) are dropped.
std::string Utf8ToCodePage1252(const char* utf8);
