// Hand-built archive images for the archive tests: every field can be set, even wrongly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ArchiveEntryBytes {
    std::string name;
    uint32_t offset;
    uint32_t size;
};

inline void AppendU32(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Header (magic, version, data start, count) and directory; `data` follows directly.
inline std::string ArchiveBytes(const std::vector<ArchiveEntryBytes>& entries, const std::string& data,
                                uint32_t magic = 0x50584130)
{
    std::string directory;
    for (const ArchiveEntryBytes& entry : entries) {
        AppendU32(directory, static_cast<uint32_t>(entry.name.size()));
        directory += entry.name;
        AppendU32(directory, entry.offset);
        AppendU32(directory, entry.size);
    }
    std::string out;
    AppendU32(out, magic);
    out += std::string("\x01\x00\x00", 3);
    AppendU32(out, static_cast<uint32_t>(15 + directory.size()));
    AppendU32(out, static_cast<uint32_t>(entries.size()));
    return out + directory + data;
}

// Where the data of an archive with these entries starts.
inline uint32_t ArchiveDataStart(const std::vector<ArchiveEntryBytes>& entries)
{
    uint32_t start = 15;
    for (const ArchiveEntryBytes& entry : entries)
        start += 12 + static_cast<uint32_t>(entry.name.size());
    return start;
}
