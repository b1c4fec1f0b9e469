// UTF-8 to Windows-1252: a strict decoder and the reverse of the code page's table.
#include "engine/core/PXCodePage1252.h"

namespace {

constexpr uint32_t Invalid = 0xFFFFFFFFu;

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Decodes the sequence at `text`; returns how many bytes it used (at least 1) and the code
// point, or Invalid. A sequence cut short by a byte that is not a continuation ends before
// that byte, so the byte starts the next character.
int DecodeUtf8(const unsigned char* text, uint32_t& codePoint)
{
    const unsigned char lead = text[0];
    int length = 0;
    uint32_t smallest = 0;  // below this the sequence is overlong
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        smallest = 0x10000;
    } else {
        codePoint = Invalid;
        return 1;
    }
    codePoint = lead & (0x7Fu >> length);
    for (int i = 1; i < length; ++i) {
        if (!IsContinuation(text[i])) {
            codePoint = Invalid;
            return i;
        }
        codePoint = (codePoint << 6) | (text[i] & 0x3Fu);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = Invalid;
    return length;
}

}  // namespace

int UnicodeToCodePage1252(uint32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (int byte = 0x80; byte <= 0x9F; ++byte) {
        const uint32_t mapped = CodePage1252ToUnicode(static_cast<unsigned char>(byte));
        if (mapped != 0 && mapped == codePoint)
            return byte;
    }
    return -1;
}

std::string Utf8ToCodePage1252(const char* utf8)
{
    std::string out;
    if (!utf8)
        return out;
    const auto* text = reinterpret_cast<const unsigned char*>(utf8);
    while (*text) {
        uint32_t codePoint = Invalid;
        text += DecodeUtf8(text, codePoint);
        const int byte = codePoint == Invalid ? -1 : UnicodeToCodePage1252(codePoint);
        if (byte >= 0)
            out.push_back(static_cast<char>(byte));
    }
    return out;
}
