// The definition text reader: key lines, comments, braces and every value form but inline
// definitions (those need a registry and are covered beside it).
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "engine/entity/PXDefinitionBlock.h"
#include "engine/files/PXBuffer.h"

namespace {

PXDefinitionBlock Block(const std::string& text)
{
    PXDefinitionBlock block;
    block.LoadFromText(text.data(), text.size());
    return block;
}

// The raw value under the cursor, as ReadString gives an unquoted value without escapes.
struct KeyCase {
    const char* name;
    std::string text;
    std::string key;
    bool found;
    std::string value;
};

class FindKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(FindKeyTest, FindsOnlyKeyLinesAtDepthZero)
{
    const KeyCase& c = GetParam();
    PXDefinitionBlock block = Block(c.text);
    ASSERT_EQ(block.FindKey(c.key), c.found);
    std::string value = "untouched";
    EXPECT_EQ(block.ReadString(&value), c.found);
    EXPECT_EQ(value, c.found ? c.value : "untouched");
}

const std::string LongKey(300, 'k');

INSTANTIATE_TEST_SUITE_P(
    Rules, FindKeyTest,
    ::testing::Values(KeyCase{"EqualsDirectlyAfterKey", "Priority=3", "Priority", false, ""},
                      KeyCase{"SpaceEquals", "Priority = 3", "Priority", true, "3"},
                      KeyCase{"LowerCaseLine", "priority 3", "Priority", true, "3"},
                      KeyCase{"LeadingBlanksUpperCase", "  \t PRIORITY 3", "Priority", true, "3"},
                      KeyCase{"LookupIsCaseInsensitive", "MainImageEnt 3", "MAINIMAGEENT", true, "3"},
                      KeyCase{"PunctuationBeforeKey", "-. Priority 3", "Priority", true, "3"},
                      KeyCase{"TabDirectlyAfterKey", "Priority\t= 3", "Priority", false, ""},
                      KeyCase{"SeparatorRunSkipped", "Priority \t= =\t 3", "Priority", true, "3"},
                      KeyCase{"LongerWordIsAnotherKey", "PriorityX 3", "Priority", false, ""},
                      KeyCase{"OnlyFirstWordIsKey", "Other Priority 3", "Priority", false, ""},
                      KeyCase{"CommentedLine", "# Priority 3", "Priority", false, ""},
                      KeyCase{"HashInValueKept", "Priority = 3 # note {", "Priority", true, "3 # note {"},
                      KeyCase{"TrailingSpacesKept", "Priority 3  \nx 1", "Priority", true, "3  "},
                      KeyCase{"EmptyValue", "Priority \r\nx 1", "Priority", true, ""},
                      KeyCase{"CrAndCrLfLineEnds", "a 1\rb 2\r\nPriority 5\rc 3", "Priority", true, "5"},
                      KeyCase{"NulEndsLine", std::string("a 1\0Priority 5", 14), "Priority", true, "5"},
                      KeyCase{"FirstOccurrenceWins", "Priority 1\nPriority 2", "Priority", true, "1"},
                      KeyCase{"InsideBraces", "{\nPriority 3\n}", "Priority", false, ""},
                      KeyCase{"DeepInsideBraces", "a {{\n{\nPriority 3\n}\n}}", "Priority", false, ""},
                      KeyCase{"AfterClosedBlock", "a @\n{\nPriority 1\n}\nPriority 2", "Priority", true, "2"},
                      KeyCase{"BraceInValueCounts", "Text = a { b\nPriority 3", "Priority", false, ""},
                      KeyCase{"BraceAfterHashIgnored", "Text = a # { b\nPriority 3", "Priority", true, "3"},
                      KeyCase{"CommentedBraceIgnored", "# {\nPriority 3", "Priority", true, "3"},
                      KeyCase{"DepthBelowZeroFails", "}\nPriority 3", "Priority", false, ""},
                      KeyCase{"KeyBeforeStrayCloseFound", "Priority 3\n}", "Priority", true, "3"},
                      KeyCase{"EmptyKeyNeverFound", "Priority 3", "", false, ""},
                      KeyCase{"LongKeysCutAlike", LongKey + " 7", LongKey + "extra", true, "7"}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(DefinitionBlockTest, EmptyBlockAndUnfoundKeyTouchNothing)
{
    PXDefinitionBlock empty;
    EXPECT_FALSE(empty.LoadFromText(nullptr, 4));
    EXPECT_FALSE(empty.LoadFromText("x", 0));
    EXPECT_FALSE(empty.FindKey("x"));

    PXDefinitionBlock block = Block("Value 5, 6");
    std::string text = "keep";
    int ints[2] = {9, 9};
    float floats[1] = {9.0f};
    PXColor color{1, 2, 3, 4};
    char ch = 'q';
    int code = 9;
    PXEntityRef ref{"a", "b"};
    ASSERT_FALSE(block.FindKey("Missing"));
    for (const PXDefinitionBlock* b : {&empty, &block}) {
        EXPECT_FALSE(b->ReadString(&text));
        EXPECT_FALSE(b->ReadInts(ints, 2));
        EXPECT_FALSE(b->ReadFloats(floats, 1));
        EXPECT_FALSE(b->ReadColor(&color));
        EXPECT_FALSE(b->ReadCharCode(&ch, &code));
        EXPECT_FALSE(b->ReadEntityRef(&ref));
    }
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(ints[0], 9);
    EXPECT_EQ(floats[0], 9.0f);
    EXPECT_EQ(color.red, 3);
    EXPECT_EQ(ch, 'q');
    EXPECT_EQ(code, 9);
    EXPECT_EQ(ref.className, "a");
}

TEST(DefinitionBlockTest, BlockOwnsACopyOfItsText)
{
    std::string source = "Name Alpha";
    PXDefinitionBlock block = Block(source);
    source.assign(source.size(), 'z');
    std::string value;
    ASSERT_TRUE(block.FindKey("name"));
    ASSERT_TRUE(block.ReadString(&value));
    EXPECT_EQ(value, "Alpha");
}

// A stream that delivers only part of what it claims to hold.
class ShortBuffer : public PXBuffer {
public:
    uint32_t ReadBytes(uint32_t count, void* destination) override
    {
        return PXBuffer::ReadBytes(count / 2, destination);
    }
};

// A buffer of exactly `text`, its position left at the end.
void Fill(PXBuffer& buffer, const std::string& text)
{
    buffer.Allocate(static_cast<uint32_t>(text.size()), 0);
    buffer.WriteBytes(static_cast<uint32_t>(text.size()), text.data());
}

TEST(DefinitionBlockTest, LoadFromFileReadsFromTheStartAndChecksSizes)
{
    PXBuffer file;
    const std::string text = "Name Alpha\nPos 1, 2";
    Fill(file, text);
    PXDefinitionBlock block;
    ASSERT_TRUE(block.LoadFromFile(file));
    EXPECT_EQ(std::string(block.GetText(), block.GetLength()), text);

    PXBuffer empty;
    EXPECT_FALSE(block.LoadFromFile(empty));
    EXPECT_EQ(block.GetLength(), text.size()) << "a failed load keeps the old text";

    PXBuffer huge;
    huge.Allocate(static_cast<uint32_t>(PXDefinitionBlock::MaxFileSize + 1), 'a');
    EXPECT_FALSE(block.LoadFromFile(huge));

    ShortBuffer shortFile;
    Fill(shortFile, text);
    ASSERT_TRUE(block.LoadFromFile(shortFile));
    EXPECT_EQ(std::string(block.GetText(), block.GetLength()), text.substr(0, text.size() / 2));
}

// The value of `key` in `block`, or "(none)".
std::string ValueOf(const PXDefinitionBlock& block, const std::string& key)
{
    std::string value;
    return block.FindKey(key) && block.ReadString(&value) ? value : "(none)";
}

// Keys are looked up in any order, again and again, and between failed lookups: each gives
// the value of its own first line, whatever the lookup before it found.
TEST(DefinitionBlockTest, LookupsDoNotDependOnEachOther)
{
    const PXDefinitionBlock block =
        Block("Alpha 1\nInner @ {\nBeta 9\n}\nBeta 2\nalpha 3\n# Gamma 8\nGamma 4\n}\nDelta 5");
    const std::vector<std::pair<std::string, std::string>> lookups = {
        {"Gamma", "4"}, {"Missing", "(none)"}, {"Beta", "2"}, {"ALPHA", "1"}, {"Delta", "(none)"},
        {"Gamma", "4"}, {"beta", "2"},        {"Alpha", "1"}, {"Inner", "@ {"},
    };
    for (const auto& [key, expected] : lookups) {
        EXPECT_EQ(ValueOf(block, key), expected) << key;
    }
}

// A block loaded again answers from its new text, by either loader, even after lookups in
// the old one.
TEST(DefinitionBlockTest, LoadingAgainForgetsTheOldKeys)
{
    const std::string before = "Name Alpha\nOld 1";
    const std::string after = "Fresh 2\nName Beta";
    using Load = bool (*)(PXDefinitionBlock&, const std::string&);
    const std::vector<std::pair<const char*, Load>> loaders = {
        {"text", [](PXDefinitionBlock& b, const std::string& t) { return b.LoadFromText(t.data(), t.size()); }},
        {"file",
         [](PXDefinitionBlock& b, const std::string& t) {
             PXBuffer file;
             Fill(file, t);
             return b.LoadFromFile(file);
         }},
    };
    for (const auto& [name, load] : loaders) {
        PXDefinitionBlock block;
        ASSERT_TRUE(load(block, before)) << name;
        ASSERT_EQ(ValueOf(block, "Name"), "Alpha") << name;
        ASSERT_TRUE(load(block, after)) << name;
        EXPECT_EQ(ValueOf(block, "Name"), "Beta") << name;
        EXPECT_EQ(ValueOf(block, "Fresh"), "2") << name;
        EXPECT_EQ(ValueOf(block, "Old"), "(none)") << name;
    }
}

struct TextCase {
    std::string value;
    std::string expected;
};

TEST(DefinitionBlockTest, TextQuotingAndEscapes)
{
    const std::vector<TextCase> cases = {
        {"\"X\\\\Y\\nZ\" and more", "X\\Y\r\nZ"},
        {"plain \"quoted\" words", "plain \"quoted\" words"},
        {"\"unterminated quote", "unterminated quote"},
        {"a\tb\t", "ab"},
        {"C:\\path\\to", "C:\\path\\to"},
        {"ends in \\", "ends in \\"},
        {"\"\"", ""},
    };
    for (const TextCase& c : cases) {
        PXDefinitionBlock block = Block("Text " + c.value + "\nNext 1");
        std::string out;
        ASSERT_TRUE(block.FindKey("Text")) << c.value;
        ASSERT_TRUE(block.ReadString(&out));
        EXPECT_EQ(out, c.expected) << c.value;
    }
}

struct IntCase {
    std::string value;
    std::vector<int> expected;  // three targets, each starting at 99
};

TEST(DefinitionBlockTest, IntegerFields)
{
    const std::vector<IntCase> cases = {
        {"5,,7", {5, 0, 99}},
        {"1, 2, 3, 4", {1, 2, 3}},
        {"4", {4, 99, 99}},
        {" -12abc, +7 ,x", {-12, 7, 0}},
        {",5", {0, 99, 99}},
        {"5,", {5, 99, 99}},
        {"", {99, 99, 99}},
        {"99999999999, -99999999999", {INT_MAX, INT_MIN, 99}},
        {std::string(98, '0') + "12", {1, 99, 99}},
    };
    for (const IntCase& c : cases) {
        PXDefinitionBlock block = Block("Pos " + c.value);
        int out[3] = {99, 99, 99};
        ASSERT_TRUE(block.FindKey("Pos"));
        ASSERT_TRUE(block.ReadInts(out, 3));
        EXPECT_EQ(std::vector<int>(out, out + 3), c.expected) << c.value;
    }
}

TEST(DefinitionBlockTest, IntegerReadStopsAtTargetCount)
{
    PXDefinitionBlock block = Block("Pos 1,2,3");
    int out[3] = {7, 7, 7};
    ASSERT_TRUE(block.FindKey("Pos"));
    ASSERT_TRUE(block.ReadInts(out, 2));
    EXPECT_EQ(out[2], 7);
}

struct FloatCase {
    std::string value;
    float first;
    float second;
};

TEST(DefinitionBlockTest, FloatFields)
{
    const std::vector<FloatCase> cases = {
        {"0.5", 0.5f, -1.0f},     {"1e3, -2.5e-1", 1000.0f, -0.25f},
        {" .5x, 3.", 0.5f, 3.0f}, {"1e, 2e+", 1.0f, 2.0f},
        {"abc, 7", 0.0f, 7.0f},   {"inf, nan", 0.0f, 0.0f},
        {"0x10, -", 0.0f, 0.0f},  {"1e999, -1e999", 3.402823466e38f, -3.402823466e38f},
    };
    for (const FloatCase& c : cases) {
        PXDefinitionBlock block = Block("Level = " + c.value);
        float out[2] = {-1.0f, -1.0f};
        ASSERT_TRUE(block.FindKey("level"));
        ASSERT_TRUE(block.ReadFloats(out, 2));
        EXPECT_FLOAT_EQ(out[0], c.first) << c.value;
        EXPECT_FLOAT_EQ(out[1], c.second) << c.value;
    }
}

TEST(DefinitionBlockTest, ColourIsRedGreenBlueAlphaClamped)
{
    PXDefinitionBlock block = Block("ToolTipBGCol 64, 96, 180, 255\nPartial 300, -5");
    PXColor color{9, 9, 9, 9};
    ASSERT_TRUE(block.FindKey("ToolTipBGCol"));
    ASSERT_TRUE(block.ReadColor(&color));
    EXPECT_EQ(color.red, 64);
    EXPECT_EQ(color.green, 96);
    EXPECT_EQ(color.blue, 180);
    EXPECT_EQ(color.alpha, 255);

    ASSERT_TRUE(block.FindKey("Partial"));
    ASSERT_TRUE(block.ReadColor(&color));
    EXPECT_EQ(color.red, 255);
    EXPECT_EQ(color.green, 0);
    EXPECT_EQ(color.blue, 0);
    EXPECT_EQ(color.alpha, 0);
}

TEST(DefinitionBlockTest, CharCodeTakesFirstPrintableAndFieldAfterComma)
{
    PXDefinitionBlock block = Block("A \x01Q, 81\nB Z\nC ,-4");
    char ch = 0;
    int code = 5;
    ASSERT_TRUE(block.FindKey("A"));
    ASSERT_TRUE(block.ReadCharCode(&ch, &code));
    EXPECT_EQ(ch, 'Q');
    EXPECT_EQ(code, 81);

    ASSERT_TRUE(block.FindKey("B"));
    ASSERT_TRUE(block.ReadCharCode(&ch, &code));
    EXPECT_EQ(ch, 'Z');
    EXPECT_EQ(code, 81) << "no comma leaves the code";

    ASSERT_TRUE(block.FindKey("C"));
    ASSERT_TRUE(block.ReadCharCode(&ch, &code));
    EXPECT_EQ(ch, ',');
    EXPECT_EQ(code, -4);
}

// Font widths of the Windows-1252 letters, and the guard that lets a value start with a
// character the key line would swallow.
TEST(DefinitionBlockTest, CharCodeReadsBytesAbove127AndTheGuard)
{
    struct Case {
        const char* value;
        unsigned char ch;
        int code;
    };
    const Case cases[] = {
        {"\xC9,9", 0xC9, 9},      // E acute
        {"\x80,11", 0x80, 11},    // euro sign
        {"\xA0 ,4", ' ', 4},      // guarded space
        {"\xA0=,7", '=', 7},
        {"\xA0#,8", '#', 8},
        {"\xA0,5", 0xA0, 5},      // the no-break space's own width
        {"\x01\xE9,6", 0xE9, 6},  // control bytes before it are skipped
    };
    for (const Case& c : cases) {
        PXDefinitionBlock block = Block(std::string("FontWidth1 = ") + c.value + "\n");
        char ch = 0;
        int code = 0;
        ASSERT_TRUE(block.FindKey("FontWidth1")) << c.value;
        ASSERT_TRUE(block.ReadCharCode(&ch, &code)) << c.value;
        EXPECT_EQ(c.ch, static_cast<unsigned char>(ch)) << c.value;
        EXPECT_EQ(c.code, code) << c.value;
    }
}

struct RefCase {
    std::string value;
    bool valid;
    std::string className;
    std::string typeName;
};

TEST(DefinitionBlockTest, ReferencesKeepLettersAndDigitsAndAllowOneComma)
{
    const std::vector<RefCase> cases = {
        {"sprite, Main Menu_BG", true, "sprite", "MainMenuBG"},
        {"sprite, title_bg", true, "sprite", "titlebg"},
        {"2D.Scene ,  Level-1 # x", true, "2DScene", "Level1x"},
        {", MainMenuBG", false, "", ""},
        {"_, MainMenuBG", false, "", ""},
        {"sprite,", false, "", ""},
        {"sprite, __", false, "", ""},
        {"sprite", false, "", ""},
        {"sprite, a, b", false, "", ""},
        {"sprite,,a", false, "", ""},
        {"sprite @ {", false, "", ""},
        {"sprite, a@", false, "", ""},
    };
    for (const RefCase& c : cases) {
        PXDefinitionBlock block = Block("MainImageEnt = " + c.value);
        PXEntityRef ref{"old", "ref"};
        ASSERT_TRUE(block.FindKey("MainImageEnt"));
        EXPECT_EQ(block.ReadEntityRef(&ref), c.valid) << c.value;
        EXPECT_EQ(ref.className, c.valid ? c.className : "old") << c.value;
        EXPECT_EQ(ref.typeName, c.valid ? c.typeName : "ref") << c.value;
    }
}

}  // namespace
