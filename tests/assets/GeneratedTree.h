// The generator's output for the asset tests: one run into a private folder shared by
// every test, with helpers that read its files through the engine's readers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/files/PXBuffer.h"
#include "engine/graphics/PXBitmap.h"
#include "tests/support/TempDir.h"

namespace assets {

inline std::string GeneratorPath()
{
    return SF_BINARY_DIR "/tools/assetgen/assetgen";
}

// Runs the generator into `folder`; true when it reports success.
inline bool Generate(const std::string& folder)
{
    std::string command = "'" + GeneratorPath() + "' '" + folder + "' > /dev/null";
    return std::system(command.c_str()) == 0;
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every regular file under `root`, as paths relative to it.
inline std::vector<std::string> FilesUnder(const std::filesystem::path& root)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.push_back(std::filesystem::relative(entry.path(), root).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

inline std::unique_ptr<PXBuffer> AsStream(const std::vector<uint8_t>& bytes)
{
    auto buffer = std::make_unique<PXBuffer>();
    buffer->Allocate(static_cast<uint32_t>(bytes.size()), 0);
    if (!bytes.empty())
        std::memcpy(buffer->GetData(), bytes.data(), bytes.size());
    buffer->Seek(0, 0);
    return buffer;
}

// The tree the build generated (the assets target runs before these tests), read in place
// so that each test process does not generate it again.
class Tree {
public:
    static Tree& Get()
    {
        static Tree tree;
        return tree;
    }
    bool Ok() const { return m_ok; }
    std::filesystem::path Root() const { return m_root; }
    std::filesystem::path Path(const std::string& relative) const { return m_root / relative; }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(Path(relative)); }
    std::vector<uint8_t> Bytes(const std::string& relative) const { return ReadBytes(Path(relative)); }

    struct List {
        uint32_t status = 0;
        uint32_t count = 0;
        std::unique_ptr<PXBitmapDesc[]> frames;
    };
    List ReadList(const std::string& relative) const
    {
        List list;
        auto stream = AsStream(Bytes(relative));
        list.status = ReadImageList(stream.get(), &list.count, &list.frames, 0);
        return list;
    }
    // 1 and the bitmap when the engine's reader accepts the file.
    uint32_t ReadBitmap(const std::string& relative, PXBitmapDesc& bitmap) const
    {
        auto stream = AsStream(Bytes(relative));
        return ReadBitmapFile(bitmap, stream.get(), 0);
    }

private:
    Tree() : m_root(SF_BINARY_DIR "/assets-stage") { m_ok = std::filesystem::is_directory(m_root / "Shardfall"); }
    std::filesystem::path m_root;
    bool m_ok = false;
};

// A bitmap converted for the 5-5-5 screen, as the image cache would.
inline bool ToScreen(const PXBitmapDesc& bitmap, PXImage& image)
{
    return ConvertBitmap(image, bitmap, MakePixelFormat(16), 0) == 1;
}

}  // namespace assets
