// Shared, reference-counted images, image lists and sounds, loaded once per key.
//
// Ownership and lifetime:
// - The cache owns every entry. An entry is created by the first successful acquire of
//   its key and deleted by the release that brings its count back to 0; each acquire
//   that returns an entry counts one holder, and each holder gives the same pointer back
//   to the matching release exactly once.
// - Holders keep the entry pointer (not owned) and read its fields afresh each time they
//   draw or play: a reload after the screen lost its images changes imageId/imageIds
//   (and may reallocate a list's arrays) while the entry stays at the same address.
// - Screen images belong to the screen's image table; the cache only keeps their ids and
//   frees them through g_screen. Sounds belong to the sound manager (g_soundManager);
//   the cache keeps their ids and unloads them.
// - Destroying the cache frees every entry still held, giving its screen images and
//   sounds back to the screen and the sound manager published at that time.
// - A picture read ahead is a decoded bitmap the cache owns until the first AcquireImage of
//   its key converts it, or until DropImagesReadAhead.
// Main thread only, but for ReadImageAhead (see there).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/PXGraphicsTypes.h"

// Marks a list frame that failed to convert.
constexpr uint32_t PXNoImage = 0xFFFFFFFFu;

struct PXImageEntry {
    std::string name;  // the key
    uint32_t refCount = 0;
    uint32_t imageId = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t flags = 0;
};

struct PXImageListEntry {
    std::string name;  // the key
    uint32_t refCount = 0;
    // Frames of the file as last loaded; the arrays hold `capacity` slots, and slots from
    // `count` on are unused (PXNoImage, 0, 0, "").
    uint32_t count = 0;
    uint32_t capacity = 0;
    uint32_t firstId = 0;
    std::vector<uint32_t> imageIds;  // PXNoImage for a frame that failed to convert
    std::vector<uint32_t> widths;
    std::vector<uint32_t> heights;
    std::vector<std::string> frameNames;
    uint32_t flags = 0;
};

struct PXSoundEntry {
    std::string name;  // the key
    uint32_t refCount = 0;
    uint32_t soundId = 0;
};

class PXResourceCache {
public:
    PXResourceCache();
    ~PXResourceCache();
    PXResourceCache(const PXResourceCache&) = delete;
    PXResourceCache& operator=(const PXResourceCache&) = delete;

    // Flags: 2 mirror, 4 flip, 8 half brightness, and for lists 16 dither. The file is
    // opened under `name` as given; the entry is shared by the lower-case name plus the
    // variant suffixes. nullptr when nothing could be loaded.
    PXImageEntry* AcquireImage(const std::string& name, uint32_t flags);
    PXImageListEntry* AcquireImageList(const std::string& name, uint32_t flags);
    PXSoundEntry* AcquireSound(const std::string& name);

    // Reads and decodes a picture for the first AcquireImage of the same name and flags,
    // which then only converts it for the screen. It uses nothing but the file system and
    // the pictures read ahead, so another thread may call it while no other thread uses
    // either (as while the window opens). False when the file cannot be read.
    bool ReadImageAhead(const std::string& name, uint32_t flags);
    // Frees the pictures read ahead that no AcquireImage took.
    void DropImagesReadAhead() { m_readAhead.clear(); }
    size_t ImagesReadAhead() const { return m_readAhead.size(); }

    // Each ignores nullptr and pointers that are not (or no longer) entries of the cache.
    void ReleaseImage(PXImageEntry* entry);
    void ReleaseImageList(PXImageListEntry* entry);
    void ReleaseSound(PXSoundEntry* entry);

    // The keys the entries are shared under.
    static std::string ImageKey(const std::string& name, uint32_t flags);
    static std::string ImageListKey(const std::string& name, uint32_t flags);
    static std::string SoundKey(const std::string& name);

    size_t ImageCount() const { return m_images.size(); }
    size_t ImageListCount() const { return m_imageLists.size(); }
    size_t SoundCount() const { return m_sounds.size(); }

private:
    PXImageEntry* LoadImage(const std::string& name, const std::string& key, uint32_t flags);
    void ReloadImage(PXImageEntry& entry, const std::string& name);
    PXImageListEntry* LoadImageList(const std::string& name, const std::string& key, uint32_t flags);
    void ReloadImageList(PXImageListEntry& entry, const std::string& name);
    PXSoundEntry* LoadSound(const std::string& name, const std::string& key);

    static void FreeListImages(const PXImageListEntry& entry);

    std::map<std::string, std::unique_ptr<PXImageEntry>> m_images;
    std::map<std::string, std::unique_ptr<PXImageListEntry>> m_imageLists;
    std::map<std::string, std::unique_ptr<PXSoundEntry>> m_sounds;
    // Decoded pictures by image key.
    std::map<std::string, PXBitmapDesc> m_readAhead;
};
