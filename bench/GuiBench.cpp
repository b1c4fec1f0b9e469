// Text costs: wrapping an instructions-page text, and drawing one 40-character line with a
// bitmap font (one keyed blit per glyph) on the headless screen.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "engine/gui/PXEntity2DGUIFont.h"
#include "engine/gui/PXGuiClasses.h"
#include "platform/posix/PXPosixFileManager.h"

namespace {

void BM_WrapInstructions(benchmark::State& state)
{
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "Turn the diamond with the arrow keys and drop it into the field. ";
    for (auto _ : state) {
        std::vector<std::string> lines;
        PXEntity2DGUIFont::WrapText(&lines, text, 48, nullptr);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_WrapInstructions);

void Put(std::vector<char>& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(v >> (8 * i)));
}

// A 24-bit sheet of 16 x 6 cells of 8 x 12 pixels, every pixel lit.
void WriteSheet(const std::filesystem::path& file)
{
    const uint32_t w = 128;
    const uint32_t h = 72;
    std::vector<char> out = {'B', 'M'};
    Put(out, 0, 4);
    Put(out, 0, 4);
    Put(out, 54, 4);
    Put(out, 40, 4);
    Put(out, w, 4);
    Put(out, h, 4);
    Put(out, 1, 2);
    Put(out, 24, 2);
    for (int i = 0; i < 6; ++i)
        Put(out, 0, 4);
    for (uint32_t i = 0; i < w * h; ++i)
        Put(out, 0xC08040, 3);
    std::ofstream(file, std::ios::binary).write(out.data(), static_cast<std::streamsize>(out.size()));
}

void BM_DrawTextLine(benchmark::State& state)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "sfbench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::filesystem::path dir(pattern);
    WriteSheet(dir / "font.bmp");
    {
        PXMemoryScreen2D screen;
        PXScreenDesc desc;
        desc.width = 640;
        desc.height = 480;
        desc.pixelFormat.bitsPerPixel = 16;
        screen.Create(&desc, "bench");
        PXFileSystem files;
        files.AddManager(std::make_unique<PXPosixFileManager>(), dir.string() + "/");
        g_screen = &screen;
        g_fileSystem = &files;
        PXResourceCache cache;
        g_resources = &cache;
        PXEntityRegistry registry;
        g_entityRegistry = &registry;
        PXRegisterGuiClasses(registry);
        std::string chars;
        for (int c = 32; c < 128; ++c)
            chars.push_back(static_cast<char>(c));
        const std::string def = "class = font\ntype = Bench\nimage = font.bmp\nchars = " + chars +
                                "\ncharwidth = 8\ncharheight = 12\noffsetx = 1\n";
        PXDefinitionBlock block;
        block.LoadFromText(def.data(), def.size());
        const PXEntityRef* ref = registry.DefineType(block, false);
        std::unique_ptr<PXEntityBase> entity = ref ? registry.CreateEntity(*ref, PXKind::Font) : nullptr;
        auto* font = dynamic_cast<PXEntity2DGUIFont*>(entity.get());
        const std::string line = "Level 12   Score 0004711   Lines 0082 !!";
        if (!font || !font->DrawText(line, PXPoint{20, 200}, 1, 255, nullptr) ||
            screen.GetPixel(21, 201) == 0)
            state.SkipWithError("the font did not draw");
        for (auto _ : state) {
            screen.InvalidateRect(PXRect{0, 640, 0, 480}, false);
            benchmark::DoNotOptimize(font && font->DrawText(line, PXPoint{20, 200}, 1, 255, nullptr));
        }
        state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(line.size()));
        entity.reset();
        registry.ClearTypes();
        g_entityRegistry = nullptr;
        g_resources = nullptr;
        g_fileSystem = nullptr;
        g_screen = nullptr;
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_DrawTextLine);

}  // namespace
