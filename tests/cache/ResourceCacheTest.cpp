// The resource caches over a host folder, the headless screen and the recording audio
// device: keys, sharing, counts, reloads after the screen lost its images, log lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/files/PXFile.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXBitmap.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXRecordingAudioDevice.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/HostFileManager.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

namespace {

using imagefiles::Bmp;
using imagefiles::List;
using imagefiles::ListEntry;

std::string AsString(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// A 24-bit bitmap `width` pixels wide and one row high whose pixels all differ, so a
// mirrored copy is told apart.
std::string BmpFile(int32_t width)
{
    Bmp bmp;
    bmp.width = width;
    bmp.height = 1;
    bmp.depth = 24;
    std::vector<uint8_t> row;
    for (int32_t x = 0; x < width; ++x) {
        row.insert(row.end(), {static_cast<uint8_t>(8 * x), 0, static_cast<uint8_t>(255 - 8 * x)});
    }
    bmp.rows.push_back(row);
    return AsString(imagefiles::BuildBmp(bmp));
}

// A 16-bit frame of w x h pixels.
ListEntry Frame(const std::string& name, uint32_t w, uint32_t h)
{
    ListEntry e;
    e.name = name;
    e.depth = 16;
    e.width = w;
    e.height = h;
    e.pixels.assign(2 * w * h, 0x21);
    return e;
}

// A frame of a depth the reader keeps without pixels; converting it fails.
ListEntry BrokenFrame(const std::string& name)
{
    ListEntry e;
    e.name = name;
    e.depth = 24;
    return e;
}

std::string ListFile(const std::vector<ListEntry>& entries)
{
    List list;
    list.entries = entries;
    return AsString(imagefiles::BuildList(list));
}

// Frames named "f0", "f1", ... sized (k + 1) x 2.
std::string ListOf(uint32_t frames)
{
    std::vector<ListEntry> entries;
    for (uint32_t k = 0; k < frames; ++k) {
        entries.push_back(Frame("f" + std::to_string(k), k + 1, 2));
    }
    return ListFile(entries);
}

std::string WaveFile()
{
    return AsString(WaveBuilder().Format(1, 8000, 8).Data(std::vector<uint8_t>(800, 128)).Bytes());
}

// Counts the streams handed out and given back: every Open must be matched by a Close.
class CountingFileSystem : public PXFileSystem {
public:
    PXFile* Open(const std::string& name, uint32_t mode) override
    {
        PXFile* stream = PXFileSystem::Open(name, mode);
        if (stream != nullptr) {
            ++opened;
            lastMode = mode;
        }
        return stream;
    }
    int Close(PXFile* stream) override
    {
        int result = PXFileSystem::Close(stream);
        closed += result == 1 ? 1 : 0;
        return result;
    }

    int opened = 0;
    int closed = 0;
    uint32_t lastMode = 0;
};

// A screen whose CreateImage throws on its n-th call from now (1 = the next one).
class ThrowingScreen : public PXMemoryScreen2D {
public:
    uint32_t CreateImage(const PXBitmapDesc& bitmap, uint32_t* outId, uint32_t flags) override
    {
        if (throwAt > 0 && --throwAt == 0) {
            throw std::bad_alloc();
        }
        return PXMemoryScreen2D::CreateImage(bitmap, outId, flags);
    }

    int throwAt = 0;
};

// A sound manager whose LoadSound throws while `throws` is set.
class ThrowingSoundManager : public PXDeviceSoundManager {
public:
    using PXDeviceSoundManager::PXDeviceSoundManager;
    int LoadSound(PXFile* stream, uint32_t& soundId) override
    {
        if (throws) {
            throw std::bad_alloc();
        }
        return PXDeviceSoundManager::LoadSound(stream, soundId);
    }

    bool throws = false;
};

class ResourceCacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_settings = &settings;
        ASSERT_EQ(1, files.AddManager(MakeHostFileManager(), dir.Folder() + "data/"));
        g_fileSystem = &files;
        ASSERT_EQ(1u, CreateScreen());
        g_screen = &screen;
        auto owned = std::make_unique<PXRecordingAudioDevice>();
        device = owned.get();
        sound = std::make_unique<ThrowingSoundManager>(std::move(owned));
        ASSERT_EQ(1, sound->Init(0));
        g_soundManager = sound.get();
        cache = std::make_unique<PXResourceCache>();
        g_resources = cache.get();
    }
    void TearDown() override
    {
        EXPECT_EQ(files.opened, files.closed);
        cache.reset();
        g_resources = nullptr;
        g_soundManager = nullptr;
        g_screen = nullptr;
        g_fileSystem = nullptr;
        g_settings = nullptr;
    }

    // Creating the screen again frees every image it holds, as a full-screen toggle does.
    uint32_t CreateScreen()
    {
        PXScreenDesc desc;
        desc.width = 16;
        desc.height = 12;
        desc.pixelFormat.bitsPerPixel = 16;
        return screen.Create(&desc, "test");
    }

    void Put(const std::string& name, const std::string& bytes) { dir.Write("data/" + name, bytes); }
    void Remove(const std::string& name) { std::filesystem::remove(dir.Path() / "data" / name); }
    std::string LogText() const { return dir.Read("log.txt"); }

    std::vector<uint16_t> Pixels(uint32_t id)
    {
        PXImage* image = nullptr;
        EXPECT_EQ(1u, screen.GetImage(id, &image));
        return image != nullptr ? image->pixels : std::vector<uint16_t>();
    }

    TempDir dir;
    FakeSettingsManager settings{dir.Folder()};
    CountingFileSystem files;
    ThrowingScreen screen;
    PXRecordingAudioDevice* device = nullptr;
    std::unique_ptr<ThrowingSoundManager> sound;
    std::unique_ptr<PXResourceCache> cache;
};

// ---- Keys -------------------------------------------------------------------------

TEST(ResourceCacheKeys, LowerCaseNameThenVariantSuffixesInFixedOrder)
{
    struct Case {
        const char* name;
        uint32_t flags;
        const char* image;
        const char* list;
    };
    const Case cases[] = {
        {"Shardfall/Images/InfoStrip.bmp", 0, "shardfall/images/infostrip.bmp",
         "shardfall/images/infostrip.bmp"},
        {"A.IMG", 2, "a.img_H", "a.img_H"},
        {"A.IMG", 4, "a.img_V", "a.img_V"},
        {"A.IMG", 8, "a.img_HB", "a.img_HB"},
        {"A.IMG", 16, "a.img", "a.img_D"},
        {"A.IMG", 2 | 4 | 8 | 16, "a.img_H_V_HB", "a.img_H_V_HB_D"},
        {"A.IMG", 1 | 32, "a.img", "a.img"},         // bits that are no variant
        {"\xC4Z.bmp", 0, "\xC4z.bmp", "\xC4z.bmp"},  // bytes above 127 stay as they are
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.image, PXResourceCache::ImageKey(c.name, c.flags)) << c.name << " " << c.flags;
        EXPECT_EQ(c.list, PXResourceCache::ImageListKey(c.name, c.flags)) << c.name << " " << c.flags;
    }
    EXPECT_EQ("sounds/click.wav", PXResourceCache::SoundKey("Sounds/Click.WAV"));
}

// ---- Sharing and variants ---------------------------------------------------------

TEST_F(ResourceCacheTest, NamesDifferingInCaseShareOneEntryAndOneLoad)
{
    Put("Shardfall/Images/InfoStrip.bmp", BmpFile(3));
    PXImageEntry* first = cache->AcquireImage("Shardfall/Images/InfoStrip.bmp", 0);
    ASSERT_NE(nullptr, first);
    // Gone from the folder: the second holder can only be served from the cache.
    Remove("Shardfall/Images/InfoStrip.bmp");
    PXImageEntry* second = cache->AcquireImage("SHARDFALL/images/infostrip.BMP", 0);
    EXPECT_EQ(first, second);
    EXPECT_EQ(2u, first->refCount);
    EXPECT_EQ("shardfall/images/infostrip.bmp", first->name);
    EXPECT_EQ(3u, first->width);
    EXPECT_EQ(1u, first->height);
    EXPECT_TRUE(screen.HasImage(first->imageId));
    EXPECT_EQ(1u, cache->ImageCount());
    EXPECT_EQ("", LogText());
    EXPECT_EQ(1, files.opened);
    EXPECT_EQ(uint32_t{FileModeRead | FileModeBinary}, files.lastMode);

    Put("Anim.img", ListOf(2));
    PXImageListEntry* list = cache->AcquireImageList("Anim.img", 0);
    ASSERT_NE(nullptr, list);
    Remove("Anim.img");
    EXPECT_EQ(list, cache->AcquireImageList("ANIM.IMG", 0));
    EXPECT_EQ(2u, list->refCount);
}

// A picture read ahead serves the first acquire of its own key (name in any case, same
// flags) without the file, once, with the pixels a read at that moment would give; another
// key still reads the file. Pictures nobody took are dropped.
TEST_F(ResourceCacheTest, PicturesReadAheadServeTheirOwnKeyOnce)
{
    Put("Back.bmp", BmpFile(4));
    Put("Spare.bmp", BmpFile(2));
    const std::vector<uint16_t> mirroredPixels = [&] {
        PXImageEntry* fresh = cache->AcquireImage("Back.bmp", PXBitmapMirror);
        EXPECT_NE(nullptr, fresh);
        const std::vector<uint16_t> pixels = fresh != nullptr ? Pixels(fresh->imageId) : std::vector<uint16_t>();
        cache->ReleaseImage(fresh);
        return pixels;
    }();
    ASSERT_EQ(4u, mirroredPixels.size());

    ASSERT_TRUE(cache->ReadImageAhead("Back.bmp", PXBitmapMirror));
    ASSERT_TRUE(cache->ReadImageAhead("Spare.bmp", 0));
    EXPECT_FALSE(cache->ReadImageAhead("Missing.bmp", 0));
    EXPECT_EQ(2u, cache->ImagesReadAhead());
    EXPECT_EQ(0u, cache->ImageCount()) << "reading ahead makes no screen image";
    Remove("Back.bmp");
    Remove("Spare.bmp");

    PXImageEntry* back = cache->AcquireImage("BACK.BMP", PXBitmapMirror);
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(4u, back->width);
    EXPECT_EQ(mirroredPixels, Pixels(back->imageId));
    EXPECT_EQ(1u, cache->ImagesReadAhead());
    EXPECT_EQ(nullptr, cache->AcquireImage("Back.bmp", 0)) << "another variant reads the file";

    // Released and acquired again: the picture read ahead was taken, the file is gone.
    cache->ReleaseImage(back);
    EXPECT_EQ(nullptr, cache->AcquireImage("Back.bmp", PXBitmapMirror));

    cache->DropImagesReadAhead();
    EXPECT_EQ(0u, cache->ImagesReadAhead());
    EXPECT_EQ(nullptr, cache->AcquireImage("Spare.bmp", 0));
}

TEST_F(ResourceCacheTest, VariantsAreSeparateEntriesWithTheirOwnImages)
{
    Put("Piece.bmp", BmpFile(4));
    PXImageEntry* plain = cache->AcquireImage("Piece.bmp", 0);
    PXImageEntry* mirrored = cache->AcquireImage("Piece.bmp", PXBitmapMirror);
    ASSERT_NE(nullptr, plain);
    ASSERT_NE(nullptr, mirrored);
    EXPECT_NE(plain, mirrored);
    EXPECT_NE(plain->imageId, mirrored->imageId);
    EXPECT_EQ("piece.bmp_H", mirrored->name);
    EXPECT_EQ(uint32_t{PXBitmapMirror}, mirrored->flags);
    EXPECT_EQ(1u, plain->refCount);
    EXPECT_EQ(1u, mirrored->refCount);

    std::vector<uint16_t> expected = Pixels(plain->imageId);
    ASSERT_EQ(4u, expected.size());
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(expected, Pixels(mirrored->imageId));

    // Releasing one variant leaves the other alone.
    const uint32_t mirroredId = mirrored->imageId;
    cache->ReleaseImage(plain);
    EXPECT_EQ(1u, cache->ImageCount());
    EXPECT_TRUE(screen.HasImage(mirroredId));

    Put("Anim.img", ListOf(1));
    PXImageListEntry* list = cache->AcquireImageList("Anim.img", 0);
    PXImageListEntry* dithered = cache->AcquireImageList("Anim.img", PXBitmapDither);
    ASSERT_NE(nullptr, list);
    ASSERT_NE(nullptr, dithered);
    EXPECT_NE(list, dithered);
    EXPECT_NE(list->firstId, dithered->firstId);
    EXPECT_EQ(2u, cache->ImageListCount());
}

// ---- Release ----------------------------------------------------------------------

TEST_F(ResourceCacheTest, LastReleaseFreesTheImageAndTheNextAcquireLoadsAgain)
{
    Put("Back.bmp", BmpFile(2));
    PXImageEntry* entry = cache->AcquireImage("Back.bmp", 0);
    ASSERT_NE(nullptr, entry);
    ASSERT_EQ(entry, cache->AcquireImage("Back.bmp", 0));
    const uint32_t oldId = entry->imageId;

    cache->ReleaseImage(entry);
    EXPECT_EQ(1u, entry->refCount);  // still held once: nothing freed
    EXPECT_TRUE(screen.HasImage(oldId));
    cache->ReleaseImage(entry);
    EXPECT_EQ(0u, cache->ImageCount());
    EXPECT_FALSE(screen.HasImage(oldId));

    PXImageEntry* again = cache->AcquireImage("Back.bmp", 0);
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(1u, again->refCount);
    EXPECT_GT(again->imageId, oldId);
    EXPECT_TRUE(screen.HasImage(again->imageId));

    Put("Anim.img", ListOf(3));
    PXImageListEntry* list = cache->AcquireImageList("Anim.img", 0);
    ASSERT_NE(nullptr, list);
    const std::vector<uint32_t> listIds = list->imageIds;
    cache->ReleaseImageList(list);
    EXPECT_EQ(0u, cache->ImageListCount());
    for (uint32_t id : listIds) {
        EXPECT_FALSE(screen.HasImage(id)) << id;
    }
    PXImageListEntry* listAgain = cache->AcquireImageList("Anim.img", 0);
    ASSERT_NE(nullptr, listAgain);
    EXPECT_GT(listAgain->firstId, listIds.back());
}

TEST_F(ResourceCacheTest, ReleasesOfGoneOrForeignEntriesAreIgnored)
{
    Put("A.bmp", BmpFile(2));
    Put("Click.wav", WaveFile());
    PXImageEntry* image = cache->AcquireImage("A.bmp", 0);
    PXSoundEntry* sound = cache->AcquireSound("Click.wav");
    ASSERT_NE(nullptr, image);
    ASSERT_NE(nullptr, sound);
    cache->ReleaseImage(image);
    cache->ReleaseSound(sound);
    // Released more often than acquired: the entries are gone and nothing happens.
    cache->ReleaseImage(image);
    cache->ReleaseImage(image);
    cache->ReleaseSound(sound);
    cache->ReleaseImage(nullptr);
    cache->ReleaseImageList(nullptr);
    cache->ReleaseSound(nullptr);
    EXPECT_EQ(0u, cache->ImageCount());
    EXPECT_EQ(0u, cache->SoundCount());

    // An entry of another cache with the same key is not this cache's to release.
    PXImageEntry* mine = cache->AcquireImage("A.bmp", 0);
    PXResourceCache other;
    PXImageEntry* theirs = other.AcquireImage("A.bmp", 0);
    ASSERT_NE(nullptr, mine);
    ASSERT_NE(nullptr, theirs);
    cache->ReleaseImage(theirs);
    EXPECT_EQ(1u, theirs->refCount);
    EXPECT_EQ(1u, mine->refCount);
    EXPECT_EQ(1u, cache->ImageCount());
    other.ReleaseImage(theirs);
    EXPECT_TRUE(screen.HasImage(mine->imageId));
}

TEST_F(ResourceCacheTest, DestroyingTheCacheFreesEntriesStillHeld)
{
    Put("A.bmp", BmpFile(2));
    Put("Anim.img", ListOf(3));
    Put("Click.wav", WaveFile());
    PXImageEntry* image = cache->AcquireImage("A.bmp", 0);
    PXImageListEntry* list = cache->AcquireImageList("Anim.img", 0);
    ASSERT_NE(nullptr, cache->AcquireSound("Click.wav"));
    ASSERT_NE(nullptr, image);
    ASSERT_NE(nullptr, list);
    std::vector<uint32_t> ids = list->imageIds;
    ids.push_back(image->imageId);
    ASSERT_EQ(1, device->LiveBuffers());

    cache.reset();
    for (uint32_t id : ids) {
        EXPECT_FALSE(screen.HasImage(id)) << id;
    }
    EXPECT_EQ(0, device->LiveBuffers());
}

// ---- Reloading after the screen lost its images -----------------------------------

TEST_F(ResourceCacheTest, ImageIsReloadedIntoTheSameEntryAfterTheScreenWasCreatedAgain)
{
    Put("Back.bmp", BmpFile(2));
    PXImageEntry* entry = cache->AcquireImage("Back.bmp", 0);
    ASSERT_NE(nullptr, entry);
    const uint32_t oldId = entry->imageId;

    ASSERT_EQ(1u, CreateScreen());
    ASSERT_FALSE(screen.HasImage(oldId));
    Put("Back.bmp", BmpFile(5));  // the file is read again, not remembered
    EXPECT_EQ(entry, cache->AcquireImage("BACK.bmp", 0));
    EXPECT_EQ(2u, entry->refCount);
    EXPECT_NE(oldId, entry->imageId);
    EXPECT_TRUE(screen.HasImage(entry->imageId));
    EXPECT_EQ(5u, entry->width);
    EXPECT_EQ(5u, Pixels(entry->imageId).size());
}

TEST_F(ResourceCacheTest, ReloadOfAMissingFileLogsAndCountsTheStaleEntry)
{
    Put("Back.bmp", BmpFile(2));
    PXImageEntry* entry = cache->AcquireImage("Back.bmp", 0);
    ASSERT_NE(nullptr, entry);
    const uint32_t oldId = entry->imageId;
    ASSERT_EQ(1u, CreateScreen());
    Remove("Back.bmp");

    PXImageEntry* stale = cache->AcquireImage("Back.bmp", 0);
    EXPECT_EQ(entry, stale);
    EXPECT_EQ(oldId, entry->imageId);
    EXPECT_EQ("Unable to Find Image Back.bmp", LogText());
    // The second holder is counted: its release must not take the entry from the first.
    EXPECT_EQ(2u, entry->refCount);
    cache->ReleaseImage(stale);
    EXPECT_EQ(1u, cache->ImageCount());
    EXPECT_EQ(1u, entry->refCount);
    cache->ReleaseImage(entry);
    EXPECT_EQ(0u, cache->ImageCount());
}

TEST_F(ResourceCacheTest, ListReloadFollowsTheFrameCountNowInTheFile)
{
    struct Case {
        uint32_t before;
        uint32_t after;
        uint32_t capacity;  // arrays never shrink: holders may still index old frames
    };
    for (const Case c : {Case{2, 5, 5}, Case{3, 1, 3}, Case{2, 2, 2}}) {
        SCOPED_TRACE(std::to_string(c.before) + " -> " + std::to_string(c.after));
        Put("Anim.img", ListOf(c.before));
        PXImageListEntry* list = cache->AcquireImageList("Anim.img", 0);
        ASSERT_NE(nullptr, list);
        ASSERT_EQ(1u, CreateScreen());
        Put("Anim.img", ListOf(c.after));

        ASSERT_EQ(list, cache->AcquireImageList("Anim.img", 0));
        EXPECT_EQ(2u, list->refCount);
        EXPECT_EQ(c.after, list->count);
        EXPECT_EQ(c.capacity, list->capacity);
        ASSERT_EQ(c.capacity, list->imageIds.size());
        ASSERT_EQ(c.capacity, list->widths.size());
        ASSERT_EQ(c.capacity, list->heights.size());
        ASSERT_EQ(c.capacity, list->frameNames.size());
        EXPECT_EQ(list->imageIds[0], list->firstId);
        for (uint32_t k = 0; k < c.capacity; ++k) {
            if (k < c.after) {
                EXPECT_TRUE(screen.HasImage(list->imageIds[k])) << k;
                EXPECT_EQ(k + 1, list->widths[k]) << k;
                EXPECT_EQ(2u, list->heights[k]) << k;
                EXPECT_EQ("f" + std::to_string(k), list->frameNames[k]);
            } else {
                EXPECT_EQ(PXNoImage, list->imageIds[k]) << k;
                EXPECT_EQ(0u, list->widths[k]) << k;
                EXPECT_EQ("", list->frameNames[k]) << k;
            }
        }
        cache->ReleaseImageList(list);
        cache->ReleaseImageList(list);
        EXPECT_EQ(0u, cache->ImageListCount());
    }
}

TEST_F(ResourceCacheTest, ListReloadFreesFramesTheScreenStillHeld)
{
    Put("Anim.img", ListOf(3));
    PXImageListEntry* list = cache->AcquireImageList("Anim.img", 0);
    ASSERT_NE(nullptr, list);
    const std::vector<uint32_t> old = list->imageIds;
    // Only frame 0 lost: the reload replaces every frame, so the others must not linger.
    ASSERT_EQ(1u, screen.FreeImage(list->firstId));
    ASSERT_EQ(list, cache->AcquireImageList("Anim.img", 0));
    for (uint32_t id : old) {
        EXPECT_FALSE(screen.HasImage(id)) << id;
    }
    for (uint32_t k = 0; k < 3; ++k) {
        EXPECT_TRUE(screen.HasImage(list->imageIds[k])) << k;
    }
}

TEST_F(ResourceCacheTest, ListReloadOfAMissingFileKeepsTheEntry)
{
    Put("Anim.img", ListOf(2));
    PXImageListEntry* list = cache->AcquireImageList("Anim.img", 0);
    ASSERT_NE(nullptr, list);
    const std::vector<uint32_t> old = list->imageIds;
    ASSERT_EQ(1u, CreateScreen());
    Remove("Anim.img");
    EXPECT_EQ(list, cache->AcquireImageList("Anim.img", 0));
    EXPECT_EQ("Unable to Find Image Anim.img", LogText());
    EXPECT_EQ(old, list->imageIds);
    EXPECT_EQ(2u, list->refCount);
}

// ---- Image lists with failing frames ----------------------------------------------

TEST_F(ResourceCacheTest, ListFrameThatFailsToConvertIsMarkedAndTheOthersUsable)
{
    Put("Anim.img", ListFile({Frame("a", 1, 1), Frame("b", 2, 1), BrokenFrame("c"), Frame("d", 4, 1)}));
    PXImageListEntry* list = cache->AcquireImageList("Anim.img", 0);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(4u, list->count);
    EXPECT_EQ(4u, list->capacity);
    EXPECT_EQ("anim.img", list->name);
    EXPECT_EQ(PXNoImage, list->imageIds[2]);
    EXPECT_EQ(0u, list->widths[2]);
    EXPECT_EQ(0u, list->heights[2]);
    EXPECT_EQ("", list->frameNames[2]);
    for (uint32_t k : {0u, 1u, 3u}) {
        EXPECT_TRUE(screen.HasImage(list->imageIds[k])) << k;
        EXPECT_EQ(k + 1, list->widths[k]) << k;
        EXPECT_EQ(1u, list->heights[k]) << k;
        EXPECT_EQ(1u, screen.Blit(list->imageIds[k], 0, 0, 0, 0, 0xFFFFFFFFu, 0xFFFFFFFFu, false)) << k;
    }
    EXPECT_EQ(std::vector<std::string>({"a", "b", "", "d"}), list->frameNames);
    EXPECT_EQ(list->imageIds[0], list->firstId);
}

TEST_F(ResourceCacheTest, ListWhoseFirstFrameFailsIsNotCached)
{
    Put("Anim.img", ListFile({BrokenFrame("a"), Frame("b", 2, 1)}));
    EXPECT_EQ(nullptr, cache->AcquireImageList("Anim.img", 0));
    EXPECT_EQ(0u, cache->ImageListCount());
    // Nothing was left on the screen: the next image made takes the first id after none.
    Put("A.bmp", BmpFile(1));
    PXImageEntry* image = cache->AcquireImage("A.bmp", 0);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(0u, image->imageId);
    EXPECT_EQ("", LogText());
}

TEST_F(ResourceCacheTest, ListCutShortAfterConvertedFramesLeavesNothingOnTheScreen)
{
    // Whole frames before the cut do not make a list of their own.
    std::string bytes = ListFile({Frame("a", 2, 1), Frame("b", 2, 1), Frame("c", 3, 2)});
    bytes.resize(bytes.size() - 3);
    Put("Anim.img", bytes);
    EXPECT_EQ(nullptr, cache->AcquireImageList("Anim.img", 0));
    EXPECT_EQ(0u, cache->ImageListCount());
    for (uint32_t id : {0u, 1u}) {
        EXPECT_FALSE(screen.HasImage(id)) << id;
    }
    // The whole file loads once it is whole again.
    Put("Anim.img", ListFile({Frame("a", 2, 1), Frame("b", 2, 1), Frame("c", 3, 2)}));
    PXImageListEntry* list = cache->AcquireImageList("Anim.img", 0);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(3u, list->count);
    EXPECT_EQ(3u, list->widths[2]);
}

// ---- Failures and their log lines -------------------------------------------------

TEST_F(ResourceCacheTest, MissingOrUnreadableFilesGiveNothingWithTheirLogLine)
{
    Put("Junk.bmp", "not a picture at all");
    Put("Junk.img", "IMST but nothing more");
    Put("Junk.wav", "RIFF but no wave");
    using Acquire = std::function<bool(PXResourceCache&)>;
    struct Case {
        const char* what;
        Acquire acquire;
        const char* log;
    };
    const Case cases[] = {
        {"missing image", [](PXResourceCache& c) { return c.AcquireImage("Gone.bmp", 0) != nullptr; },
         "Unable to open image: Gone.bmp\n"},
        {"missing list", [](PXResourceCache& c) { return c.AcquireImageList("Gone.img", 0) != nullptr; },
         "Unable to open image list: Gone.img\n"},
        {"missing sound", [](PXResourceCache& c) { return c.AcquireSound("Gone.wav") != nullptr; },
         "Unable to open sound: Gone.wav\n"},
        {"empty image name", [](PXResourceCache& c) { return c.AcquireImage("", 0) != nullptr; }, ""},
        {"empty list name", [](PXResourceCache& c) { return c.AcquireImageList("", 0) != nullptr; }, ""},
        {"empty sound name", [](PXResourceCache& c) { return c.AcquireSound("") != nullptr; }, ""},
        {"unreadable image", [](PXResourceCache& c) { return c.AcquireImage("Junk.bmp", 0) != nullptr; }, ""},
        {"unreadable list", [](PXResourceCache& c) { return c.AcquireImageList("Junk.img", 0) != nullptr; },
         ""},
        {"refused sound", [](PXResourceCache& c) { return c.AcquireSound("Junk.wav") != nullptr; },
         "Unable to load sound: Junk.wav - not a RIFF/WAVE file\n"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(dir.Path() / "log.txt");
        EXPECT_FALSE(c.acquire(*cache)) << c.what;
        EXPECT_EQ(c.log, LogText()) << c.what;
    }
    EXPECT_EQ(nullptr, cache->AcquireSound("Junk.wav"));
    EXPECT_EQ(0u, cache->ImageCount());
    EXPECT_EQ(0u, cache->ImageListCount());
    EXPECT_EQ(0u, cache->SoundCount());
}

TEST_F(ResourceCacheTest, WithoutScreenOrSoundManagerNothingIsLoaded)
{
    Put("A.bmp", BmpFile(1));
    Put("Anim.img", ListOf(1));
    Put("Click.wav", WaveFile());
    PXImageListEntry* list = cache->AcquireImageList("Anim.img", 0);
    ASSERT_NE(nullptr, list);

    g_screen = nullptr;
    g_soundManager = nullptr;
    EXPECT_EQ(nullptr, cache->AcquireImage("A.bmp", 0));
    EXPECT_EQ(nullptr, cache->AcquireImageList("Anim.img", 0));
    EXPECT_EQ(nullptr, cache->AcquireSound("Click.wav"));
    // A list is not released while there is no screen to give its frames back to.
    cache->ReleaseImageList(list);
    EXPECT_EQ(1u, list->refCount);
    EXPECT_EQ("", LogText());

    g_screen = &screen;
    cache->ReleaseImageList(list);
    EXPECT_EQ(0u, cache->ImageListCount());
}

TEST_F(ResourceCacheTest, ExceptionsWhileLoadingAreLoggedAndLeaveNothingBehind)
{
    Put("A.bmp", BmpFile(2));
    Put("Anim.img", ListOf(4));
    Put("Click.wav", WaveFile());
    struct Case {
        const char* what;
        int throwAt;  // CreateImage call that throws; 0 for the sound manager
        std::function<bool(PXResourceCache&)> acquire;
        const char* log;
    };
    const Case cases[] = {
        {"image", 1, [](PXResourceCache& c) { return c.AcquireImage("A.bmp", 0) != nullptr; },
         "An exception occured attempting to load image: A.bmp\n"},
        {"list, first frame", 1,
         [](PXResourceCache& c) { return c.AcquireImageList("Anim.img", 0) != nullptr; },
         "An exception occured attempting to load image list: Anim.img\n"},
        {"list, third frame", 3,
         [](PXResourceCache& c) { return c.AcquireImageList("Anim.img", 0) != nullptr; },
         "An exception occured attempting to load image list: Anim.img\n"},
        {"sound", 0, [](PXResourceCache& c) { return c.AcquireSound("Click.wav") != nullptr; },
         "Exception occured while opening sound: Click.wav\n"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(dir.Path() / "log.txt");
        screen.throwAt = c.throwAt;
        sound->throws = c.throwAt == 0;
        EXPECT_FALSE(c.acquire(*cache)) << c.what;
        EXPECT_EQ(c.log, LogText()) << c.what;
        EXPECT_EQ(files.opened, files.closed) << c.what;
    }
    screen.throwAt = 0;
    sound->throws = false;
    EXPECT_EQ(0u, cache->ImageCount() + cache->ImageListCount() + cache->SoundCount());
    EXPECT_EQ(0, device->LiveBuffers());
    // The frames made before the throw were freed: the images made so far were ids 0 and 1
    // of the third case, and neither is left.
    EXPECT_FALSE(screen.HasImage(0));
    EXPECT_FALSE(screen.HasImage(1));

    // A reload that throws hands out nothing and leaves the holder's count alone.
    PXImageEntry* image = cache->AcquireImage("A.bmp", 0);
    ASSERT_NE(nullptr, image);
    ASSERT_EQ(1u, CreateScreen());
    screen.throwAt = 1;
    EXPECT_EQ(nullptr, cache->AcquireImage("A.bmp", 0));
    EXPECT_EQ(1u, image->refCount);
}

// ---- Sounds -----------------------------------------------------------------------

TEST_F(ResourceCacheTest, SoundsAreSharedByCaseAndUnloadedByTheLastRelease)
{
    Put("Sounds/Click.wav", WaveFile());
    PXSoundEntry* first = cache->AcquireSound("Sounds/Click.wav");
    ASSERT_NE(nullptr, first);
    PXSoundEntry* second = cache->AcquireSound("SOUNDS/click.WAV");
    EXPECT_EQ(first, second);
    EXPECT_EQ(2u, first->refCount);
    EXPECT_EQ("sounds/click.wav", first->name);
    ASSERT_EQ(1u, device->Buffers().size());
    EXPECT_EQ(800u, device->Buffers()[0]->size);

    // The sound id is the manager's: it plays.
    uint32_t channel = 0;
    EXPECT_EQ(1, sound->CreateChannel(first->soundId, channel, false));
    EXPECT_EQ(1, sound->StopChannel(channel));

    const uint32_t soundId = first->soundId;
    cache->ReleaseSound(second);
    EXPECT_EQ(1, device->LiveBuffers());
    cache->ReleaseSound(first);
    EXPECT_EQ(0u, cache->SoundCount());
    EXPECT_TRUE(device->Buffers()[0]->released);
    EXPECT_EQ(0, sound->CreateChannel(soundId, channel, false));

    PXSoundEntry* again = cache->AcquireSound("Sounds/Click.wav");
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(1u, again->refCount);
    EXPECT_EQ(2u, device->Buffers().size());
}

}  // namespace
