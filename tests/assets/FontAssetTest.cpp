// Generated bitmap fonts: the definition text reads back as the font reader will read it,
// the advance table covers every cell, and the sheets and masks fit the cells.
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/PXCodePage1252.h"
#include "tests/assets/GeneratedTree.h"

namespace {

using assets::Tree;

struct FontFile {
    std::map<std::string, std::string> keys;   // first occurrence of each key
    std::vector<std::pair<char, int>> widths;  // FontWidth1, FontWidth2, ...
};

// A key line as the definition reader sees it: key, one space, then spaces, "=" and tabs
// are skipped and the rest of the line is the value.
FontFile Parse(const std::string& text)
{
    FontFile font;
    std::istringstream in(text);
    std::string line;
    std::map<int, std::pair<char, int>> numbered;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        size_t space = line.find(' ');
        if (space == std::string::npos)
            continue;
        std::string key = line.substr(0, space);
        size_t v = space + 1;
        while (v < line.size() && (line[v] == ' ' || line[v] == '=' || line[v] == '\t'))
            ++v;
        std::string value = line.substr(v);
        if (key.rfind("FontWidth", 0) == 0) {
            // Char code: the first byte of 32 or more, after a 0xA0 guard unless the comma
            // follows it; the number after the first comma.
            size_t at = value.size() > 1 && value[0] == '\xA0' && value[1] != ',' ? 1 : 0;
            while (at < value.size() && static_cast<unsigned char>(value[at]) < 32)
                ++at;
            const char ch = at < value.size() ? value[at] : 0;
            size_t comma = value.find(',');
            int number = comma == std::string::npos ? -1 : std::atoi(value.c_str() + comma + 1);
            numbered[std::atoi(key.c_str() + 9)] = {ch, number};
        } else if (!font.keys.count(key)) {
            if (value.size() >= 2 && value.front() == '"')
                value = value.substr(1, value.find('"', 1) - 1);
            font.keys[key] = value;
        }
    }
    for (const auto& [index, entry] : numbered)
        font.widths.push_back(entry);
    return font;
}

class GeneratedFonts : public ::testing::TestWithParam<const char*> {};

TEST_P(GeneratedFonts, DefinitionMatchesSheetAndMask)
{
    const std::string name = GetParam();
    const std::string ent = "Shardfall/Fonts/" + name + ".ent";
    ASSERT_TRUE(Tree::Get().Exists(ent));
    std::vector<uint8_t> bytes = Tree::Get().Bytes(ent);
    FontFile font = Parse(std::string(bytes.begin(), bytes.end()));

    EXPECT_EQ("font", font.keys["class"]);
    EXPECT_EQ(name, font.keys["type"]);
    const std::string chars = font.keys["chars"];
    const int cellWidth = std::atoi(font.keys["charwidth"].c_str());
    const int cellHeight = std::atoi(font.keys["charheight"].c_str());
    ASSERT_GT(cellWidth, 0);
    ASSERT_GT(cellHeight, 0);
    // Letters, digits and the punctuation a score or a name needs.
    for (char c : std::string("AZaz09 .,:!?-'\"%#=@"))
        EXPECT_NE(std::string::npos, chars.find(c)) << "missing " << c;
    // Every Windows-1252 character above 127: names are typed in that code page.
    for (int c = 0x80; c <= 0xFF; ++c) {
        if (CodePage1252ToUnicode(static_cast<unsigned char>(c)) != 0) {
            EXPECT_NE(std::string::npos, chars.find(static_cast<char>(c))) << "missing byte " << c;
        }
    }
    // Braces would change the reader's nesting depth.
    EXPECT_EQ(std::string::npos, chars.find_first_of("{}"));

    // One width per cell, each for the character of its cell, each within the cell.
    EXPECT_EQ(std::to_string(chars.size()), font.keys["numfontelements"]);
    ASSERT_EQ(chars.size(), font.widths.size());
    for (size_t i = 0; i < chars.size(); ++i) {
        EXPECT_EQ(chars[i], font.widths[i].first) << "FontWidth" << i + 1;
        EXPECT_GT(font.widths[i].second, 0) << "FontWidth" << i + 1;
        EXPECT_LE(font.widths[i].second, cellWidth) << "FontWidth" << i + 1;
    }
    // Proportional: a narrow letter advances less than a wide one.
    std::map<char, int> advance(font.widths.begin(), font.widths.end());
    EXPECT_LT(advance['i'], advance['W']);
    EXPECT_EQ(advance['E'], advance['\xC9']) << "E acute advances like E";

    PXBitmapDesc sheet, mask;
    ASSERT_EQ(1u, Tree::Get().ReadBitmap(font.keys["image"], sheet)) << font.keys["image"];
    ASSERT_EQ(1u, Tree::Get().ReadBitmap(font.keys["alphaimage"], mask)) << font.keys["alphaimage"];
    EXPECT_EQ(8u, mask.bitsPerPixel);
    ASSERT_EQ(sheet.width, mask.width);
    ASSERT_EQ(sheet.height, mask.height);
    const uint32_t columns = sheet.width / static_cast<uint32_t>(cellWidth);
    ASSERT_GT(columns, 0u);
    ASSERT_GE(sheet.height, (chars.size() + columns - 1) / columns * static_cast<uint32_t>(cellHeight));
    // Every visible character has coverage in its own cell; the space has none.
    for (size_t i = 0; i < chars.size(); ++i) {
        uint32_t ox = static_cast<uint32_t>(i % columns * cellWidth),
                 oy = static_cast<uint32_t>(i / columns * cellHeight);
        int covered = 0;
        for (int y = 0; y < cellHeight; ++y)
            for (int x = 0; x < cellWidth; ++x)
                covered += mask.rows[oy + y][ox + x] > 0 ? 1 : 0;
        if (chars[i] == ' ' || chars[i] == '\xA0')
            EXPECT_EQ(0, covered);
        else
            EXPECT_GT(covered, 0) << "glyph " << static_cast<int>(static_cast<unsigned char>(chars[i]));
    }
}

INSTANTIATE_TEST_SUITE_P(AllFonts, GeneratedFonts,
                         ::testing::Values("TitleFont", "MenuFont", "BodyFont", "SmallFont", "ScoreFont"));

TEST(GeneratedFontSizes, SmallFontFitsTheHighScoreRows)
{
    std::vector<uint8_t> bytes = Tree::Get().Bytes("Shardfall/Fonts/SmallFont.ent");
    FontFile font = Parse(std::string(bytes.begin(), bytes.end()));
    // Rows of the high-score table are 15 pixels apart. Only the accents of capitals rise
    // above a text's position ("raise"); the rest of the cell fits the row.
    EXPECT_LE(std::atoi(font.keys["charheight"].c_str()) - std::atoi(font.keys["raise"].c_str()), 15);
}

}  // namespace
