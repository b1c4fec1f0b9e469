// The text line of an entry and its check code.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/PXRandom.h"
#include "game/SFHighScore.h"

namespace {

struct CodeCase {
    std::string text;
    uint32_t offset;
    const char* expected;
};

// Expected codes were worked out separately from the generator's definition (MT19937 with
// the 69069 seeding), not by this code.
TEST(HighScoreCheckCode, MatchesKnownCodes)
{
    const CodeCase cases[] = {
        {"123456", 0, "V471K3RC"},
        {"123456", 77, "AFHTL8L4"},
        {"0", 0, "AUNH5ZKH"},
        {"99999999", 0xFFFFFFFFu, "S3CLFPSN"},
        // Lower case is folded; bytes above 127 count as negative.
        {"ab\xe9", 5, "RFMGEEB3"},
        {"AB\xe9", 5, "RFMGEEB3"},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(c.text + " / " + std::to_string(c.offset));
        EXPECT_EQ(HighScoreCheckCode(c.text, c.offset), c.expected);
    }
}

TEST(HighScoreCheckCode, UsesOnlyUnambiguousSymbolsAndReseedsTheGenerator)
{
    const std::string alphabet = "123456789ABCDEFGHJKLMNPQRSTUVWXYZ";
    for (uint32_t score = 0; score < 3000; score += 7) {
        const std::string code = HighScoreCheckCode(std::to_string(score), score * 13);
        ASSERT_EQ(code.size(), 8u);
        EXPECT_EQ(code.find_first_not_of(alphabet), std::string::npos) << code;
    }
    // The generator's state afterwards depends only on the code's input.
    HighScoreCheckCode("4242", 9);
    const int first = RandomInt(1000000);
    RandomInt(5);
    HighScoreCheckCode("4242", 9);
    EXPECT_EQ(RandomInt(1000000), first);
}

TEST(HighScoreText, ToTextLaysOutEveryField)
{
    const SFHighScore entry(123456, 12, 2, "Player One");
    const std::string line = entry.ToText(77);
    ASSERT_EQ(line.size(), 68u);
    EXPECT_EQ(line.substr(0, 16), "0" + std::string(15, ' '));
    EXPECT_EQ(line.substr(16, 32), "Player One" + std::string(22, ' '));
    EXPECT_EQ(line.substr(48, 3), "12 ");
    EXPECT_EQ(line.substr(51, 8), "123456  ");
    EXPECT_EQ(line.substr(59, 8), "AFHTL8L4");
    EXPECT_EQ(line[67], '2');
}

TEST(HighScoreText, ToTextCutsFieldsToTheirWidth)
{
    const SFHighScore entry(1234567890, 4567, 3, std::string(40, 'N'));
    const std::string line = entry.ToText(0);
    ASSERT_EQ(line.size(), 68u);
    EXPECT_EQ(line.substr(16, 32), std::string(32, 'N'));
    EXPECT_EQ(line.substr(48, 3), "456");
    EXPECT_EQ(line.substr(51, 8), "12345678");
    EXPECT_EQ(line.substr(59, 8), HighScoreCheckCode("12345678", 0));
    EXPECT_EQ(line[67], '3');
}

struct FromTextCase {
    const char* label;
    std::string line;
    bool ok;
    std::string name;
    uint32_t level;
    uint32_t score;
    uint32_t mode;
};

std::string Pad(const std::string& text, size_t width)
{
    return text + std::string(width - text.size(), ' ');
}

class FromTextTest : public ::testing::TestWithParam<FromTextCase> {};

TEST_P(FromTextTest, ParsesTheFields)
{
    const FromTextCase& c = GetParam();
    SFHighScore entry(9, 9, 9, "before");
    ASSERT_EQ(entry.FromText(c.line), c.ok);
    EXPECT_EQ(entry.name, c.name);
    EXPECT_EQ(entry.level, c.level);
    EXPECT_EQ(entry.score, c.score);
    EXPECT_EQ(entry.mode, c.mode);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FromTextTest,
    ::testing::Values(FromTextCase{"Plain", Pad("Kim", 32) + "12 00123456" + "3", true, "Kim", 12, 123456, 3},
                      FromTextCase{"FullWidthName", std::string(32, 'Q') + "999" + "99999999" + "1" + "tail",
                                   true, std::string(32, 'Q'), 999, 99999999, 1},
                      FromTextCase{"DigitsStopAtOtherCharacters", Pad("A B", 32) + "7x9" + "42 abcde" + "z",
                                   true, "A B", 7, 42, 0},
                      FromTextCase{"BlankFields", std::string(44, ' '), true, "", 0, 0, 0},
                      FromTextCase{"OneCharacterShort", std::string(43, '1'), false, "before", 9, 9, 9},
                      FromTextCase{"Empty", "", false, "before", 9, 9, 9}),
    [](const ::testing::TestParamInfo<FromTextCase>& info) { return std::string(info.param.label); });

}  // namespace
