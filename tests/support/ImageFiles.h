// Builders for hand-made bitmap and image-list files, for the reader and cache tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/files/PXBuffer.h"

namespace imagefiles {

inline void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

struct Bmp {
    int32_t width = 0;
    int32_t height = 0; // negative: rows stored top-down
    uint16_t depth = 8;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    // 40, or 108 / 124 for the larger headers (their extra fields are filled with non-zero
    // bytes, as the colour masks and colour-space tag of such files are).
    uint32_t headerSize = 40;
    std::vector<uint8_t> palette; // 4 bytes per entry: blue, green, red, reserved
    // Picture rows, top row first, each exactly width x depth/8 bytes (no padding).
    std::vector<std::vector<uint8_t>> rows;
};

// Writes the rows in file order (bottom-up unless the height is negative), padded to 4.
inline std::vector<uint8_t> BuildBmp(const Bmp& b)
{
    std::vector<uint8_t> out;
    const uint32_t headerBytes = std::max<uint32_t>(b.headerSize, 40);
    const uint32_t pixelOffset = 14 + headerBytes + static_cast<uint32_t>(b.palette.size());
    out.push_back('B');
    out.push_back('M');
    Put32(out, 0); // file size, unused
    Put32(out, 0);
    Put32(out, pixelOffset);
    Put32(out, b.headerSize);
    Put32(out, static_cast<uint32_t>(b.width));
    Put32(out, static_cast<uint32_t>(b.height));
    Put16(out, 1);
    Put16(out, b.depth);
    Put32(out, b.compression);
    Put32(out, 0);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, b.coloursUsed);
    Put32(out, 0);
    for (uint32_t i = 40; i < headerBytes; ++i) {
        out.push_back(static_cast<uint8_t>(0x40 + i));
    }
    out.insert(out.end(), b.palette.begin(), b.palette.end());
    const size_t n = b.rows.size();
    for (size_t i = 0; i < n; ++i) {
        const std::vector<uint8_t>& row = b.height < 0 ? b.rows[i] : b.rows[n - 1 - i];
        out.insert(out.end(), row.begin(), row.end());
        while ((out.size() - pixelOffset) % 4 != 0) {
            out.push_back(0xEE); // padding the reader must skip
        }
    }
    return out;
}

struct ListEntry {
    std::string name;
    int32_t depth = 8;
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> palette; // 4 bytes per entry: red, green, blue, alpha
    uint32_t paletteCount = 0;    // written as stored; normally palette.size() / 4
    std::vector<uint8_t> pixels;  // indices, or 16-bit little-endian pixels, top row first
};

struct List {
    uint32_t version = 2;
    std::vector<uint8_t> headerColours; // 4 bytes per colour: red, green, blue, alpha
    uint32_t headerCount = 0;
    std::vector<ListEntry> entries;
    uint32_t count = 0; // 0: entries.size()
};

inline std::vector<uint8_t> BuildList(const List& l)
{
    std::vector<uint8_t> out = {'I', 'M', 'S', 'T'};
    Put32(out, l.version);
    Put32(out, l.count != 0 ? l.count : static_cast<uint32_t>(l.entries.size()));
    Put32(out, l.headerCount);
    out.insert(out.end(), l.headerColours.begin(), l.headerColours.end());
    for (const ListEntry& e : l.entries) {
        Put32(out, static_cast<uint32_t>(e.name.size()));
        out.insert(out.end(), e.name.begin(), e.name.end());
        if (l.version >= 2) {
            Put32(out, static_cast<uint32_t>(e.depth));
        }
        Put32(out, e.width);
        Put32(out, e.height);
        Put32(out, 0xDEADBEEF); // reserved
        Put32(out, 0xDEADBEEF);
        if (e.depth == 8) {
            Put32(out, e.paletteCount);
            out.insert(out.end(), e.palette.begin(), e.palette.end());
        }
        out.insert(out.end(), e.pixels.begin(), e.pixels.end());
    }
    return out;
}

// The bytes as an in-memory stream positioned at the start.
inline std::unique_ptr<PXBuffer> AsBuffer(const std::vector<uint8_t>& bytes)
{
    auto buffer = std::make_unique<PXBuffer>();
    buffer->Allocate(static_cast<uint32_t>(bytes.size()), 0);
    if (!bytes.empty()) {
        std::memcpy(buffer->GetData(), bytes.data(), bytes.size());
    }
    buffer->Seek(0, 0);
    return buffer;
}

} // namespace imagefiles
