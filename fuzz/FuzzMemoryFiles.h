// A file manager over bytes in memory, for fuzz targets that reach code which opens files
// by name: every ".bmp" reads as one small generated 8-bit picture, any other name as the
// bytes it was given (when it was given any).
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/files/PXBuffer.h"
#include "engine/files/PXFileManager.h"

class FuzzMemoryFiles : public PXFileManager {
public:
    FuzzMemoryFiles(const uint8_t* data, size_t size, bool hasData)
        : m_data(data), m_size(size), m_hasData(hasData)
    {
    }

    PXFile* Open(const std::string& name, uint32_t) override
    {
        const std::vector<uint8_t>* bytes = nullptr;
        std::vector<uint8_t> given;
        if (EndsWithBmp(name)) {
            bytes = &Picture();
        } else if (m_hasData) {
            given.assign(m_data, m_data + m_size);
            bytes = &given;
        } else {
            return nullptr;
        }
        auto stream = std::make_unique<PXBuffer>();
        stream->Allocate(static_cast<uint32_t>(bytes->size()), 0);
        if (!bytes->empty())
            std::memcpy(stream->GetData(), bytes->data(), bytes->size());
        m_open.push_back(std::move(stream));
        return m_open.back().get();
    }

    int Close(PXFile* stream) override
    {
        for (auto it = m_open.begin(); it != m_open.end(); ++it) {
            if (it->get() == stream) {
                m_open.erase(it);
                return 1;
            }
        }
        return 2;
    }

    void ListFiles(const std::string&, const std::string&, bool, std::vector<std::string>&) override {}

private:
    static bool EndsWithBmp(const std::string& name)
    {
        if (name.size() < 4)
            return false;
        std::string tail = name.substr(name.size() - 4);
        for (char& c : tail)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return tail == ".bmp";
    }

    // A 64 x 48 8-bit bottom-up bitmap with a grey palette and a pattern that leaves some
    // pixels black (the colour key), the size of a small glyph sheet.
    static const std::vector<uint8_t>& Picture()
    {
        static const std::vector<uint8_t> bytes = [] {
            constexpr uint32_t W = 64, H = 48, Palette = 256 * 4, Offset = 14 + 40 + Palette;
            constexpr uint32_t FileSize = Offset + W * H;
            std::vector<uint8_t> b;
            auto u16 = [&](uint32_t v) { b.push_back(v & 0xFF), b.push_back((v >> 8) & 0xFF); };
            auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
            b.push_back('B'), b.push_back('M');
            u32(FileSize), u32(0), u32(Offset);
            u32(40), u32(W), u32(H), u16(1), u16(8), u32(0), u32(W * H), u32(2835), u32(2835), u32(256), u32(0);
            for (uint32_t i = 0; i < 256; ++i)
                b.push_back(static_cast<uint8_t>(i)), b.push_back(static_cast<uint8_t>(255 - i)),
                    b.push_back(static_cast<uint8_t>(i * 3)), b.push_back(0);
            for (uint32_t y = 0; y < H; ++y)
                for (uint32_t x = 0; x < W; ++x)
                    b.push_back(static_cast<uint8_t>(((x ^ y) & 4) ? 0 : (x * 4 + y) & 0xFF));
            return b;
        }();
        return bytes;
    }

    const uint8_t* m_data;
    size_t m_size;
    bool m_hasData;
    std::vector<std::unique_ptr<PXBuffer>> m_open;
};
