// The game's high-score entry: name, score, level reached and mode, with its binary record
// in "Scores.sfs" and its text line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/core/PXHighScore.h"

class SFHighScore : public PXHighScore {
public:
    // Names of 256 bytes or more are refused when a record is read.
    static constexpr uint32_t MaxNameLength = 255;
    static constexpr uint32_t LevelMask = 0x3FFFFFFFu;
    // What an empty name is stored as, as the name entry does.
    static constexpr const char* EmptyName = "QMS";

    SFHighScore() = default;
    SFHighScore(uint32_t score, uint32_t level, uint32_t mode, const std::string& name);

    // 68 characters: "0", the name at 16, level at 48, score at 51, the check code of the
    // score text at 59, the mode at 67.
    std::string ToText(uint32_t checkOffset) const override;
    // At least 44 characters: name 0-31, level 32-34, score 35-42, mode 43.
    bool FromText(const std::string& line) override;
    bool ReadRecord(PXFile& file, uint32_t& sum, uint32_t& length) override;
    bool WriteRecord(PXFile& file, uint32_t& sum) const override;
    std::unique_ptr<PXHighScore> Clone() const override;
    // Compares what the records would store (the name as written, 30 bits of level, 2 of mode).
    bool SameResult(const PXHighScore& other) const override;

    // 0 for the original mode, else the difficulty + 1.
    uint32_t level = 0;
    uint32_t mode = 0;

private:
    // The name as a record stores it: "QMS" for none, at most MaxNameLength bytes.
    std::string StoredName() const;
};

// Eight characters from 1-9 and A-Z without I and O, derived from text and offset.
// Re-seeds the shared random generator.
std::string HighScoreCheckCode(const std::string& text, uint32_t offset);

// "Scores.sfs" in the shared data folder; empty without a settings store.
std::string HighScoreFilePath();
// Writes g_highScores to "Scores.sfs" (atomically) after taking in the entries another
// running copy of the game wrote there meanwhile. 1 saved, 0 not.
int StoreHighScores();

// The result of the game just lost, waiting for the high-score screen to enter it.
extern std::unique_ptr<SFHighScore> g_newHighScore;
