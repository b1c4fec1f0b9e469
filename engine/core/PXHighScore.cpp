// PXHighScore, PXHighScoreTable and the global table: ranking, and the score file with its
// trailing additive checksum.
#include "engine/core/PXHighScore.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

#include "engine/files/PXFileLE.h"

PXHighScoreTable g_highScores;

std::string PXHighScore::ToText(uint32_t) const
{
    return std::string();
}

bool PXHighScore::FromText(const std::string&)
{
    return false;
}

bool PXHighScore::ReadRecord(PXFile&, uint32_t&, uint32_t&)
{
    return false;
}

bool PXHighScore::WriteRecord(PXFile&, uint32_t&) const
{
    return true;
}

std::unique_ptr<PXHighScore> PXHighScore::Clone() const
{
    return std::make_unique<PXHighScore>(score, name);
}

bool PXHighScore::SameResult(const PXHighScore& other) const
{
    return score == other.score && name == other.name;
}

PXHighScore* PXHighScoreTable::InsertEntry(const PXHighScore& entry, bool mark)
{
    for (PXHighScore* e = m_first.get(); e; e = e->nextEntry.get())
        e->isNew = 0;

    std::unique_ptr<PXHighScore> copy = entry.Clone();
    copy->isNew = mark ? 1 : 0;
    return Insert(std::move(copy));
}

PXHighScore* PXHighScoreTable::Insert(std::unique_ptr<PXHighScore> copy)
{
    PXHighScore* stored = copy.get();

    // link is the slot the copy would occupy: the head, or some entry's nextEntry.
    std::unique_ptr<PXHighScore>* link = &m_first;
    int place = 1;
    while (*link) {
        PXHighScore* current = link->get();
        if (place == MaxEntries) {
            // A full table: the tenth place goes to a score at least as high as its holder.
            if (copy->score < current->score)
                return nullptr;
            *link = std::move(copy);
            return stored;
        }
        if (current->score < copy->score) {
            copy->nextEntry = std::move(*link);
            *link = std::move(copy);
            // The entry pushed past the tenth place leaves the table.
            PXHighScore* tenth = EntryAt(MaxEntries - 1);
            if (tenth)
                tenth->nextEntry.reset();
            return stored;
        }
        link = &current->nextEntry;
        ++place;
    }
    *link = std::move(copy);
    return stored;
}

void PXHighScoreTable::RemoveAll()
{
    // Unlink one at a time so a long chain never recurses in the destructors.
    while (m_first)
        m_first = std::move(m_first->nextEntry);
}

int PXHighScoreTable::IndexOfNew() const
{
    int index = 0;
    for (const PXHighScore* e = m_first.get(); e; e = e->nextEntry.get(), ++index) {
        if (e->isNew)
            return index;
    }
    return -1;
}

int PXHighScoreTable::Count() const
{
    int count = 0;
    for (const PXHighScore* e = m_first.get(); e; e = e->nextEntry.get())
        ++count;
    return count;
}

PXHighScore* PXHighScoreTable::EntryAt(int index) const
{
    if (index < 0)
        return nullptr;
    PXHighScore* e = m_first.get();
    for (; e && index > 0; --index)
        e = e->nextEntry.get();
    return e;
}

void PXHighScoreTable::LoadStream(PXFile& file, PXHighScore& scratch)
{
    RemoveAll();
    uint32_t sum = 0;
    uint32_t length = 0;
    uint32_t recordStart = file.Tell();
    while (scratch.ReadRecord(file, sum, length)) {
        InsertEntry(scratch, false);
        recordStart = file.Tell();
    }
    // A well-formed file ends with the checksum and nothing after it, so the read that
    // failed started 4 bytes before the end. Anything else (truncation, a changed byte,
    // trailing bytes, a refused record) drops the whole file.
    if (length != sum || uint64_t(recordStart) + 4 != file.GetSize())
        RemoveAll();
}

void PXHighScoreTable::LoadFile(const std::string& path, PXHighScore& scratch)
{
    RemoveAll();
    if (path.empty())
        return;
    std::FILE* handle = std::fopen(path.c_str(), "rb");
    if (!handle)
        return;
    {
        PXFileLE file(handle);
        LoadStream(file, scratch);
    }
    // A directory opens on some hosts but fails every read: the table stays empty.
    if (std::ferror(handle))
        RemoveAll();
    std::fclose(handle);
}

int PXHighScoreTable::SaveStream(PXFile& file) const
{
    uint32_t sum = 0;
    for (const PXHighScore* e = m_first.get(); e; e = e->nextEntry.get()) {
        if (!e->WriteRecord(file, sum))
            return 0;
    }
    return file.WriteUInt32(sum) == 4 ? 1 : 0;
}

int PXHighScoreTable::MergeFile(const std::string& path, PXHighScore& scratch)
{
    PXHighScoreTable disk;
    disk.LoadFile(path, scratch);
    // Each entry here answers for at most one equal entry of the file, so a result that
    // both copies hold once stays once and a result the file holds twice stays twice.
    std::vector<const PXHighScore*> unmatched;
    for (const PXHighScore* e = m_first.get(); e; e = e->nextEntry.get())
        unmatched.push_back(e);
    std::vector<std::unique_ptr<PXHighScore>> missing;
    for (const PXHighScore* d = disk.First(); d; d = d->nextEntry.get()) {
        auto match = std::find_if(unmatched.begin(), unmatched.end(),
                                  [d](const PXHighScore* e) { return e->SameResult(*d); });
        if (match != unmatched.end())
            unmatched.erase(match);
        else
            missing.push_back(d->Clone());
    }
    int added = 0;
    for (std::unique_ptr<PXHighScore>& entry : missing) {
        if (Insert(std::move(entry)))
            ++added;
    }
    return added;
}

// Moves `from` over `to`. Some hosts (Windows) refuse to rename onto an existing file;
// there the old file steps aside first and comes back if the move still fails.
static bool ReplaceFile(const std::string& from, const std::string& to)
{
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    // Only a file is replaced; anything else in its place stays.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(to, ec))
        return false;
    const std::string aside = to + ".old";
    std::remove(aside.c_str());
    if (std::rename(to.c_str(), aside.c_str()) != 0)
        return false;
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        std::rename(aside.c_str(), to.c_str());
        return false;
    }
    std::remove(aside.c_str());
    return true;
}

int PXHighScoreTable::SaveFile(const std::string& path) const
{
    if (path.empty())
        return 0;
    const std::string temporary = path + ".tmp";
    std::FILE* handle = std::fopen(temporary.c_str(), "wb");
    if (!handle)
        return 0;
    int written;
    {
        PXFileLE file(handle);
        written = SaveStream(file);
    }
    // A full disk may only show when the buffer is flushed or the file closed.
    if (std::fflush(handle) != 0 || std::ferror(handle))
        written = 0;
    if (std::fclose(handle) != 0)
        written = 0;
    if (!written || !ReplaceFile(temporary, path)) {
        std::remove(temporary.c_str());
        return 0;
    }
    return 1;
}
