// High-score entries and the ten-place table kept in one binary file with a checksum.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class PXFile;

// One result. The base carries only a name and a score; a game derives it to add its own
// fields and to define the binary record and the text line.
class PXHighScore {
public:
    PXHighScore() = default;
    PXHighScore(uint32_t score, const std::string& name) : name(name), score(score) {}
    virtual ~PXHighScore() = default;
    PXHighScore(const PXHighScore&) = delete;
    PXHighScore& operator=(const PXHighScore&) = delete;

    // The entry as one text line; checkOffset salts its check code. Base: empty.
    virtual std::string ToText(uint32_t checkOffset) const;
    // Fills the entry from a text line. Base: false.
    virtual bool FromText(const std::string& line);
    // Reads one binary record, adding its values to sum. length gets the last 32-bit
    // value read, so a failed read at the end of a file leaves the stored checksum there.
    // Base: false.
    virtual bool ReadRecord(PXFile& file, uint32_t& sum, uint32_t& length);
    // Writes one binary record, adding its values to sum. Base: writes nothing, true.
    // False when the stream took fewer bytes than the record.
    virtual bool WriteRecord(PXFile& file, uint32_t& sum) const;
    // Same class, same values; neither the new mark nor the link is copied.
    virtual std::unique_ptr<PXHighScore> Clone() const;
    // True when other records the same result (what a file would store for it).
    virtual bool SameResult(const PXHighScore& other) const;

    std::string name;
    uint32_t score = 0;
    uint8_t isNew = 0;
    // The next lower entry; owned by the table that holds this one.
    std::unique_ptr<PXHighScore> nextEntry;
};

// The ten best results, highest first; equal scores keep their order of arrival.
class PXHighScoreTable {
public:
    static constexpr int MaxEntries = 10;

    PXHighScoreTable() = default;
    PXHighScoreTable(const PXHighScoreTable&) = delete;
    PXHighScoreTable& operator=(const PXHighScoreTable&) = delete;

    // Stores a copy of entry and returns it, or nullptr when the score did not make the
    // table. The copy carries mark as its new flag; every other entry loses its flag.
    PXHighScore* InsertEntry(const PXHighScore& entry, bool mark);
    void RemoveAll();
    // 0-based place of the first marked entry, or -1.
    int IndexOfNew() const;
    int Count() const;
    // nullptr past the end.
    PXHighScore* EntryAt(int index) const;
    PXHighScore* First() const { return m_first.get(); }

    // Replaces the table with the file's entries, read through scratch. A file that is
    // missing, unreadable, truncated or fails its checksum leaves the table empty.
    void LoadFile(const std::string& path, PXHighScore& scratch);
    // The same over an open stream that holds exactly one score file.
    void LoadStream(PXFile& file, PXHighScore& scratch);
    // Writes the table to a temporary file beside path and renames it over path, so the
    // old file survives any failure. 1 saved, 0 not saved.
    int SaveFile(const std::string& path) const;
    // The records and the checksum; 0 when the stream did not take every byte.
    int SaveStream(PXFile& file) const;
    // Adds the entries the file holds now that this table lacks (another running copy of
    // the game may have written them), so saving afterwards loses neither side's results.
    // The new marks stay where they are. Returns how many entries were added.
    int MergeFile(const std::string& path, PXHighScore& scratch);

private:
    // Links an entry into its place; marks on other entries are left alone.
    PXHighScore* Insert(std::unique_ptr<PXHighScore> copy);

    std::unique_ptr<PXHighScore> m_first;
};

// The table the game keeps across runs.
extern PXHighScoreTable g_highScores;
