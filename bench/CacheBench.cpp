// Resource cache speed: handing out an entry that is already loaded (one map lookup and
// one screen query), the same paired with its release (which finds the entry by address
// among all entries), and a load-release cycle of a small bitmap from a host folder.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "platform/posix/PXPosixFileManager.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"

namespace {

// A folder of `count` small bitmaps, a file system over it and a 640 x 480 screen,
// published as the globals the cache reaches them through.
class CacheWorld {
public:
    explicit CacheWorld(int count)
    {
        imagefiles::Bmp bmp;
        bmp.width = 32;
        bmp.height = 32;
        bmp.depth = 24;
        bmp.rows.assign(32, std::vector<uint8_t>(96, 0x40));
        const std::vector<uint8_t> bytes = imagefiles::BuildBmp(bmp);
        for (int i = 0; i < count; ++i) {
            names.push_back("Shardfall/Images/Tile" + std::to_string(i) + ".bmp");
            dir.Write(names.back(), std::string(bytes.begin(), bytes.end()));
        }
        files.AddManager(std::make_unique<PXPosixFileManager>(), dir.Folder());
        PXScreenDesc desc;
        desc.width = 640;
        desc.height = 480;
        desc.pixelFormat.bitsPerPixel = 16;
        screen.Create(&desc, "bench");
        g_fileSystem = &files;
        g_screen = &screen;
    }
    ~CacheWorld()
    {
        g_screen = nullptr;
        g_fileSystem = nullptr;
    }

    TempDir dir;
    PXFileSystem files;
    PXMemoryScreen2D screen;
    std::vector<std::string> names;
};

// The holds taken here are left to the cache's destructor to free.
void BM_AcquireCachedImage(benchmark::State& state)
{
    CacheWorld world(static_cast<int>(state.range(0)));
    PXResourceCache cache;
    for (const std::string& name : world.names) {
        cache.AcquireImage(name, 0);
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cache.AcquireImage(world.names[i], 0));
        i = (i + 1) % world.names.size();
    }
}
BENCHMARK(BM_AcquireCachedImage)->Arg(16)->Arg(256);

void BM_AcquireReleaseCachedImage(benchmark::State& state)
{
    CacheWorld world(static_cast<int>(state.range(0)));
    PXResourceCache cache;
    for (const std::string& name : world.names) {
        cache.AcquireImage(name, 0);
    }
    size_t i = 0;
    for (auto _ : state) {
        PXImageEntry* entry = cache.AcquireImage(world.names[i], 0);
        benchmark::DoNotOptimize(entry);
        cache.ReleaseImage(entry);
        i = (i + 1) % world.names.size();
    }
}
BENCHMARK(BM_AcquireReleaseCachedImage)->Arg(16)->Arg(256);

void BM_LoadAndReleaseImage(benchmark::State& state)
{
    CacheWorld world(1);
    PXResourceCache cache;
    for (auto _ : state) {
        PXImageEntry* entry = cache.AcquireImage(world.names[0], 0);
        benchmark::DoNotOptimize(entry);
        cache.ReleaseImage(entry);
    }
}
BENCHMARK(BM_LoadAndReleaseImage);

}  // namespace
