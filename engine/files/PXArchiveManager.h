// Serves the members of one ".pxa" archive: a directory of named members followed by
// their plain bytes. Every member opens as a private in-memory copy (a PXBuffer).
//
// Layout, all numbers little-endian:
//   "0AXP" magic (0x50584130 read as one 32-bit value), version bytes 1 0 0,
//   u32 data start, u32 entry count, then per entry: u32 name length, the name,
//   u32 offset from the start of the archive, u32 size.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/files/PXFileManager.h"

class PXBuffer;
class PXFileSystem;

// Archive name order: letters compare without case, '/' and '\\' are the same character.
struct PXArchiveNameLess {
    bool operator()(const std::string& a, const std::string& b) const;
};
int PXArchiveCompareNames(const std::string& a, const std::string& b);

class PXArchiveManager : public PXFileManager {
public:
    static constexpr uint32_t Magic = 0x50584130;
    // Magic, three version bytes, data start, entry count.
    static constexpr uint32_t HeaderSize = 15;

    struct Entry {
        std::string name;
        uint32_t offset = 0;
        uint32_t size = 0;
    };

    // Opens `archiveName` (mode 5) through the given opener and reads its directory.
    PXArchiveManager(PXFileManager* opener, const std::string& archiveName);
    PXArchiveManager(PXFileSystem* opener, const std::string& archiveName);
    ~PXArchiveManager() override;
    PXArchiveManager(const PXArchiveManager&) = delete;
    PXArchiveManager& operator=(const PXArchiveManager&) = delete;

    PXFile* Open(const std::string& name, uint32_t mode) override;
    // 1 for a buffer this archive handed out (or no stream), 2 for any other stream,
    // 0 while not loaded.
    int Close(PXFile* stream) override;
    // Every member whose name ends in the part of `pattern` after its last '*', in
    // whatever folder; prefix and recursion do not apply to an archive.
    void ListFiles(const std::string& pattern, const std::string& prefix, bool recursive,
                   std::vector<std::string>& out) override;

    // Reads the directory from the archive stream: 1 loaded, 0 not.
    int LoadDirectory();
    bool IsLoaded() const { return m_loaded; }
    // Loaded, with every entry the header counts, each member lying inside the archive: an
    // archive cut short or overwritten fails this while still serving what it can.
    bool IsIntact() const;
    // The entries in the order the archive stores them, duplicates included.
    const std::vector<Entry>& GetEntries() const { return m_entries; }

private:
    bool ReadEntry(uint32_t archiveSize, Entry& entry);

    PXFileManager* m_fileManager = nullptr;
    PXFileSystem* m_fileSystem = nullptr;
    PXFile* m_archive = nullptr;
    // Name -> index into m_entries; the first entry of a name is kept.
    std::map<std::string, size_t, PXArchiveNameLess> m_directory;
    std::vector<Entry> m_entries;
    bool m_loaded = false;
    uint32_t m_declaredCount = 0;
    uint32_t m_archiveSize = 0;
    // The buffers handed out and not yet closed.
    std::vector<std::unique_ptr<PXBuffer>> m_open;
};
