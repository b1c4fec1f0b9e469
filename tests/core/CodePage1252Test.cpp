// UTF-8 text becomes Windows-1252 bytes: one byte per character the code page has, nothing
// for the others or for broken sequences.
#include <gtest/gtest.h>

#include "engine/core/PXCodePage1252.h"

namespace {

TEST(CodePage1252, Utf8Conversion)
{
    struct Case {
        const char* name;
        const char* utf8;
        std::string expected;
    };
    const Case cases[] = {
        {"ASCII", "Marie 42!", "Marie 42!"},
        {"e acute", "\xC3\xA9", "\xE9"},
        {"capital E acute inside a name", "Marie-\xC3\x89lodie", "Marie-\xC9lodie"},
        {"y diaeresis, the last Latin-1 letter", "\xC3\xBF", "\xFF"},
        {"no-break space", "\xC2\xA0", "\xA0"},
        {"euro sign", "\xE2\x82\xAC", "\x80"},
        {"S caron and OE ligature", "\xC5\xA0\xC5\x92", "\x8A\x8C"},
        {"trade mark sign", "\xE2\x84\xA2", "\x99"},
        {"outside the code page: Cyrillic", "a\xD0\x96z", "az"},
        {"outside the code page: emoji", "x\xF0\x9F\x98\x80y", "xy"},
        {"C1 control is not the byte 0x85", "\xC2\x85", ""},
        {"truncated at the end", "ab\xC3", "ab"},
        {"cut short by an ASCII byte", "\xE2\x82z", "z"},
        {"stray continuation byte", "a\x80" "b", "ab"},
        {"invalid lead byte", "\xFF" "a", "a"},
        {"overlong slash", "\xC0\xAF", ""},
        {"overlong e acute", "\xE0\x83\xA9", ""},
        {"surrogate", "\xED\xA0\x80", ""},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", ""},
        {"empty", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Utf8ToCodePage1252(c.utf8)) << c.name;
    EXPECT_EQ("", Utf8ToCodePage1252(nullptr));
}

// Every assigned byte maps to a code point that maps back to it, so the generated fonts and
// the typed characters agree on every letter.
TEST(CodePage1252, TableRoundTrips)
{
    int unassigned = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const uint32_t codePoint = CodePage1252ToUnicode(static_cast<unsigned char>(byte));
        if (codePoint == 0 && byte != 0) {
            ++unassigned;
            continue;
        }
        EXPECT_EQ(byte, UnicodeToCodePage1252(codePoint)) << byte;
    }
    EXPECT_EQ(5, unassigned);
    EXPECT_EQ(-1, UnicodeToCodePage1252(0x9D));
    EXPECT_EQ(-1, UnicodeToCodePage1252(0x0416));
}

}  // namespace
