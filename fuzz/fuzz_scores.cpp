// Loads arbitrary bytes as a score file, then checks that whatever loaded survives a save
// and a second load unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/files/PXBuffer.h"
#include "game/SFHighScore.h"

namespace {

void LoadBytes(PXHighScoreTable& table, const uint8_t* data, uint32_t size)
{
    PXBuffer stream;
    stream.Allocate(size, 0);
    if (size > 0 && stream.GetData())
        std::memcpy(stream.GetData(), data, size);
    SFHighScore scratch;
    table.LoadStream(stream, scratch);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1u << 20)
        return 0;
    PXHighScoreTable table;
    LoadBytes(table, data, static_cast<uint32_t>(size));
    if (table.Count() > PXHighScoreTable::MaxEntries)
        std::abort();

    PXBuffer saved;
    if (!table.SaveStream(saved))
        std::abort();
    PXHighScoreTable again;
    LoadBytes(again, saved.GetData(), saved.Tell());
    if (again.Count() != table.Count())
        std::abort();
    for (int i = 0; i < table.Count(); ++i) {
        auto* a = static_cast<SFHighScore*>(table.EntryAt(i));
        auto* b = static_cast<SFHighScore*>(again.EntryAt(i));
        if (a->score != b->score || a->level != b->level || a->mode != b->mode)
            std::abort();
        // A name whose first byte was zero reads as empty and is stored as "QMS".
        if (!a->name.empty() && a->name != b->name)
            std::abort();
    }
    return 0;
}
