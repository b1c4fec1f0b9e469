// SFHighScore: the binary record (length-prefixed name, score, level and mode packed in one
// word), the text line with its check code, and the pending new result.
#include "game/SFHighScore.h"

#include <algorithm>
#include <cstdio>

#include "engine/core/PXGlobals.h"
#include "engine/core/PXRandom.h"
#include "engine/files/PXFile.h"
#include "engine/settings/PXSettingsManager.h"

std::unique_ptr<SFHighScore> g_newHighScore;

namespace {

// Reads 4 little-endian bytes; false when the stream has fewer left.
bool ReadWord(PXFile& file, uint32_t& value)
{
    uint8_t bytes[4] = {};
    if (file.ReadBytes(4, bytes) != 4)
        return false;
    value = uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16) |
            (uint32_t(bytes[3]) << 24);
    return true;
}

// Decimal digits after optional blanks, stopping at the first other character.
uint32_t ParseDecimal(const std::string& field)
{
    size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    uint32_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = value * 10u + uint32_t(field[i] - '0');
    return value;
}

// Copies text into line at position, cut to width.
void Place(std::string& line, size_t position, const std::string& text, size_t width)
{
    line.replace(position, std::min(text.size(), width), text, 0, width);
}

}  // namespace

SFHighScore::SFHighScore(uint32_t score, uint32_t level, uint32_t mode, const std::string& name)
    : PXHighScore(score, name), level(level), mode(mode)
{
}

std::unique_ptr<PXHighScore> SFHighScore::Clone() const
{
    return std::make_unique<SFHighScore>(score, level, mode, name);
}

std::string SFHighScore::StoredName() const
{
    return name.empty() ? std::string(EmptyName) : name.substr(0, MaxNameLength);
}

bool SFHighScore::SameResult(const PXHighScore& other) const
{
    const auto* game = dynamic_cast<const SFHighScore*>(&other);
    return game != nullptr && score == game->score && (level & LevelMask) == (game->level & LevelMask) &&
           (mode & 3u) == (game->mode & 3u) && StoredName() == game->StoredName();
}

bool SFHighScore::WriteRecord(PXFile& file, uint32_t& sum) const
{
    // Only names that ReadRecord accepts are written: an empty name would end the file
    // early and an overlong one would be refused, and either would lose the whole table.
    const std::string stored = StoredName();
    const uint32_t length = static_cast<uint32_t>(stored.size());
    // The level keeps its 30 bits so it can never spill into the mode bits.
    const uint32_t packed = ((mode & 3u) << 30) | (level & LevelMask);
    uint32_t written = file.WriteUInt32(length);
    written += file.WriteBytes(length, stored.data());
    written += file.WriteUInt32(score);
    written += file.WriteUInt32(packed);
    sum += length + score + packed;
    return written == 12 + length;
}

bool SFHighScore::ReadRecord(PXFile& file, uint32_t& sum, uint32_t& length)
{
    length = 0;
    if (!ReadWord(file, length))
        return false;
    // An empty name ends the file (this word is then its checksum); an oversized one is
    // refused before anything is read or allocated.
    if (length == 0 || length > MaxNameLength)
        return false;
    char bytes[MaxNameLength] = {};
    if (file.ReadBytes(length, bytes) != length)
        return false;
    uint32_t stored = 0;
    while (stored < length && bytes[stored] != '\0')
        ++stored;
    uint32_t newScore = 0;
    uint32_t packed = 0;
    if (!ReadWord(file, newScore) || !ReadWord(file, packed))
        return false;
    name.assign(bytes, stored);
    score = newScore;
    level = packed & LevelMask;
    mode = packed >> 30;
    sum += length + newScore + packed;
    return true;
}

std::string HighScoreCheckCode(const std::string& text, uint32_t offset)
{
    std::string upper = text;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    uint32_t h = 5381;
    for (char c : upper)
        h = h * 33u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
    const uint32_t s = offset + h;
    PXRandom& random = GlobalRandom();
    random.Seed(s);
    std::string code(8, ' ');
    for (size_t i = 0; i < 8; ++i) {
        if (i < upper.size()) {
            const int32_t c = static_cast<signed char>(upper[i]);
            random.Seed(static_cast<uint32_t>(c) + static_cast<uint32_t>(i) + s);
        }
        int v = RandomInt(1333) % 35;
        while (v >= 9 && (v - 9 == 'I' - 'A' || v - 9 == 'O' - 'A'))
            v = RandomInt(1333) % 35;
        code[i] = v < 9 ? static_cast<char>('1' + v) : static_cast<char>('A' + (v - 9));
    }
    return code;
}

std::string SFHighScore::ToText(uint32_t checkOffset) const
{
    std::string line(68, ' ');
    line[0] = '0';
    Place(line, 16, name, 32);
    Place(line, 48, std::to_string(level), 3);
    const std::string scoreText = std::to_string(score).substr(0, 8);
    Place(line, 51, scoreText, 8);
    Place(line, 59, HighScoreCheckCode(scoreText, checkOffset), 8);
    line[67] = static_cast<char>('0' + mode % 10);
    return line;
}

bool SFHighScore::FromText(const std::string& line)
{
    if (line.size() < 44)
        return false;
    // The name field is padded with blanks (or ends at a zero byte); neither is part of it.
    std::string field = line.substr(0, 32);
    field = field.substr(0, field.find('\0'));
    const size_t last = field.find_last_not_of(' ');
    name = last == std::string::npos ? std::string() : field.substr(0, last + 1);
    level = ParseDecimal(line.substr(32, 3));
    score = ParseDecimal(line.substr(35, 8));
    mode = ParseDecimal(line.substr(43, 1));
    return true;
}

std::string HighScoreFilePath()
{
    return g_settings != nullptr ? g_settings->GetSharedDataFolder("") + "Scores.sfs" : std::string();
}

int StoreHighScores()
{
    const std::string path = HighScoreFilePath();
    if (path.empty())
        return 0;
    SFHighScore scratch;
    g_highScores.MergeFile(path, scratch);
    return g_highScores.SaveFile(path);
}
