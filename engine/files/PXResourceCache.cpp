// The resource caches: keyed, counted entries over the screen's image table and the
// sound manager, with images reloaded when the screen has lost them.
#include "engine/files/PXResourceCache.h"

#include <algorithm>
#include <utility>

#include "engine/core/PXGlobals.h"
#include "engine/core/PXLog.h"
#include "engine/files/PXFile.h"
#include "engine/files/PXFileSystem.h"
#include "engine/graphics/PXBitmap.h"
#include "engine/graphics/PXGraphicsTypes.h"
#include "engine/graphics/PXScreen2D.h"
#include "engine/sound/PXSoundManager.h"

namespace {

constexpr uint32_t OpenForReading = FileModeRead | FileModeBinary;

// A stream from g_fileSystem, closed through it when the scope ends (also on unwinding).
class OpenedFile {
public:
    explicit OpenedFile(const std::string& name)
        : m_file(g_fileSystem != nullptr ? g_fileSystem->Open(name, OpenForReading) : nullptr)
    {
    }
    ~OpenedFile()
    {
        if (m_file != nullptr && g_fileSystem != nullptr) {
            g_fileSystem->Close(m_file);
        }
    }
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    PXFile* Get() const { return m_file; }

private:
    PXFile* m_file;
};

// Written piece by piece so that the line still reaches the log when memory ran out.
void LogName(const char* prefix, const std::string& name, const char* end)
{
    Log(prefix);
    Log(name.c_str());
    Log(end);
}

std::string LowerCase(const std::string& name)
{
    std::string key = name;
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return key;
}

// Entries are found by address, never by reading through the pointer, so a pointer whose
// entry is already gone is recognised and ignored.
template <typename Map, typename Entry> typename Map::iterator FindEntry(Map& map, const Entry* entry)
{
    return std::find_if(map.begin(), map.end(),
                        [entry](const auto& item) { return item.second.get() == entry; });
}

void FreeImages(const std::vector<uint32_t>& ids)
{
    if (g_screen == nullptr) {
        return;
    }
    for (uint32_t id : ids) {
        if (id != PXNoImage) {
            g_screen->FreeImage(id);
        }
    }
}

// The converted frames of one list file, in arrays of `slots` entries.
struct ConvertedFrames {
    uint32_t count = 0;
    std::vector<uint32_t> imageIds;
    std::vector<uint32_t> widths;
    std::vector<uint32_t> heights;
    std::vector<std::string> frameNames;
};

// Converts every frame into a screen image and releases its bitmap. Frame 0 must convert
// (false otherwise, with nothing left on the screen); a later frame that fails keeps
// PXNoImage, 0, 0 and an empty name. The arrays are allocated before any image is made,
// and the images made are freed again if anything throws.
bool ConvertFrames(PXBitmapDesc* frames, uint32_t count, uint32_t slots, uint32_t flags, ConvertedFrames& out)
{
    out.count = count;
    out.imageIds.assign(slots, PXNoImage);
    out.widths.assign(slots, 0);
    out.heights.assign(slots, 0);
    out.frameNames.assign(slots, std::string());
    try {
        for (uint32_t k = 0; k < count; ++k) {
            uint32_t id = 0;
            if (g_screen->CreateImage(frames[k], &id, flags) == 1) {
                out.imageIds[k] = id;
                out.widths[k] = frames[k].width;
                out.heights[k] = frames[k].height;
                out.frameNames[k] = frames[k].name;
            } else if (k == 0) {
                return false;
            }
            ReleaseBitmap(frames[k]);
        }
    } catch (...) {
        FreeImages(out.imageIds);
        throw;
    }
    return true;
}

// Moves the converted frames into the entry (nothing here allocates or throws).
void StoreFrames(PXImageListEntry& entry, ConvertedFrames& frames, uint32_t flags)
{
    entry.count = frames.count;
    entry.capacity = static_cast<uint32_t>(frames.imageIds.size());
    entry.firstId = frames.imageIds[0];
    entry.imageIds.swap(frames.imageIds);
    entry.widths.swap(frames.widths);
    entry.heights.swap(frames.heights);
    entry.frameNames.swap(frames.frameNames);
    entry.flags = flags;
}

}  // namespace

PXResourceCache::PXResourceCache() = default;

PXResourceCache::~PXResourceCache()
{
    // Entries still held at shutdown give their images and sounds back, so nothing
    // outlives the cache in the screen's table or the sound manager.
    for (const auto& item : m_images) {
        if (g_screen != nullptr) {
            g_screen->FreeImage(item.second->imageId);
        }
    }
    for (const auto& item : m_imageLists) {
        FreeListImages(*item.second);
    }
    for (const auto& item : m_sounds) {
        if (g_soundManager != nullptr) {
            g_soundManager->UnloadSound(item.second->soundId);
        }
    }
}

std::string PXResourceCache::ImageKey(const std::string& name, uint32_t flags)
{
    std::string key = LowerCase(name);
    if (flags & PXBitmapMirror) {
        key += "_H";
    }
    if (flags & PXBitmapFlip) {
        key += "_V";
    }
    if (flags & PXBitmapHalfBright) {
        key += "_HB";
    }
    return key;
}

std::string PXResourceCache::ImageListKey(const std::string& name, uint32_t flags)
{
    std::string key = ImageKey(name, flags);
    if (flags & PXBitmapDither) {
        key += "_D";
    }
    return key;
}

std::string PXResourceCache::SoundKey(const std::string& name)
{
    return LowerCase(name);
}

void PXResourceCache::FreeListImages(const PXImageListEntry& entry)
{
    FreeImages(entry.imageIds);
}

// ---- Images -----------------------------------------------------------------------

PXImageEntry* PXResourceCache::AcquireImage(const std::string& name, uint32_t flags)
{
    if (g_screen == nullptr || name.empty()) {
        return nullptr;
    }
    try {
        const std::string key = ImageKey(name, flags);
        auto it = m_images.find(key);
        if (it == m_images.end()) {
            return LoadImage(name, key, flags);
        }
        PXImageEntry& entry = *it->second;
        if (!g_screen->HasImage(entry.imageId)) {
            ReloadImage(entry, name);
        }
        // Whoever receives the entry releases it once, so it is counted even when the
        // reload failed and the entry is handed out stale.
        ++entry.refCount;
        return &entry;
    } catch (...) {
        LogName("An exception occured attempting to load image: ", name, "\n");
        return nullptr;
    }
}

bool PXResourceCache::ReadImageAhead(const std::string& name, uint32_t flags)
{
    if (name.empty()) {
        return false;
    }
    const std::string key = ImageKey(name, flags);
    if (m_readAhead.count(key) != 0) {
        return true;
    }
    OpenedFile file(name);
    PXBitmapDesc bitmap;
    if (file.Get() == nullptr || !ReadBitmapFile(bitmap, file.Get(), flags)) {
        return false;
    }
    m_readAhead.emplace(key, std::move(bitmap));
    return true;
}

PXImageEntry* PXResourceCache::LoadImage(const std::string& name, const std::string& key, uint32_t flags)
{
    PXBitmapDesc bitmap;
    const auto ahead = m_readAhead.find(key);
    if (ahead != m_readAhead.end()) {
        bitmap = std::move(ahead->second);
        m_readAhead.erase(ahead);
    } else {
        OpenedFile file(name);
        if (file.Get() == nullptr) {
            LogName("Unable to open image: ", name, "\n");
            return nullptr;
        }
        if (!ReadBitmapFile(bitmap, file.Get(), flags)) {
            return nullptr;
        }
    }
    auto entry = std::make_unique<PXImageEntry>();
    entry->name = key;
    entry->refCount = 1;
    entry->flags = flags;
    uint32_t id = 0;
    if (g_screen->CreateImage(bitmap, &id, flags) != 1) {
        return nullptr;
    }
    entry->imageId = id;
    entry->width = bitmap.width;
    entry->height = bitmap.height;
    PXImageEntry* result = entry.get();
    try {
        m_images.emplace(key, std::move(entry));
    } catch (...) {
        g_screen->FreeImage(id);
        throw;
    }
    return result;
}

void PXResourceCache::ReloadImage(PXImageEntry& entry, const std::string& name)
{
    OpenedFile file(name);
    if (file.Get() == nullptr) {
        LogName("Unable to Find Image ", name, "");
        return;
    }
    PXBitmapDesc bitmap;
    uint32_t id = 0;
    if (ReadBitmapFile(bitmap, file.Get(), entry.flags) &&
        g_screen->CreateImage(bitmap, &id, entry.flags) == 1) {
        entry.imageId = id;
        entry.width = bitmap.width;
        entry.height = bitmap.height;
    }
}

void PXResourceCache::ReleaseImage(PXImageEntry* entry)
{
    if (entry == nullptr) {
        return;
    }
    auto it = FindEntry(m_images, entry);
    if (it == m_images.end() || --entry->refCount > 0) {
        return;
    }
    if (g_screen != nullptr) {
        g_screen->FreeImage(entry->imageId);
    }
    m_images.erase(it);
}

// ---- Image lists ------------------------------------------------------------------

PXImageListEntry* PXResourceCache::AcquireImageList(const std::string& name, uint32_t flags)
{
    if (g_screen == nullptr || name.empty()) {
        return nullptr;
    }
    try {
        const std::string key = ImageListKey(name, flags);
        auto it = m_imageLists.find(key);
        if (it == m_imageLists.end()) {
            return LoadImageList(name, key, flags);
        }
        PXImageListEntry& entry = *it->second;
        if (entry.count != 0 && !g_screen->HasImage(entry.firstId)) {
            ReloadImageList(entry, name);
        }
        ++entry.refCount;
        return &entry;
    } catch (...) {
        LogName("An exception occured attempting to load image list: ", name, "\n");
        return nullptr;
    }
}

PXImageListEntry* PXResourceCache::LoadImageList(const std::string& name, const std::string& key,
                                                 uint32_t flags)
{
    OpenedFile file(name);
    if (file.Get() == nullptr) {
        LogName("Unable to open image list: ", name, "\n");
        return nullptr;
    }
    uint32_t count = 0;
    std::unique_ptr<PXBitmapDesc[]> frames;
    if (ReadImageList(file.Get(), &count, &frames, flags) != 1 || count == 0 || !frames) {
        return nullptr;
    }
    auto entry = std::make_unique<PXImageListEntry>();
    entry->name = key;
    entry->refCount = 1;
    ConvertedFrames converted;
    if (!ConvertFrames(frames.get(), count, count, flags, converted)) {
        return nullptr;
    }
    StoreFrames(*entry, converted, flags);
    PXImageListEntry* result = entry.get();
    try {
        m_imageLists.emplace(key, std::move(entry));
    } catch (...) {
        FreeListImages(*result);
        throw;
    }
    return result;
}

// Refills the entry from the file as it is now. The arrays never shrink (a holder may
// still index frames it saw before) and grow when the file gained frames.
void PXResourceCache::ReloadImageList(PXImageListEntry& entry, const std::string& name)
{
    OpenedFile file(name);
    if (file.Get() == nullptr) {
        LogName("Unable to Find Image ", name, "");
        return;
    }
    uint32_t count = 0;
    std::unique_ptr<PXBitmapDesc[]> frames;
    if (ReadImageList(file.Get(), &count, &frames, entry.flags) != 1 || count == 0 || !frames) {
        return;
    }
    ConvertedFrames converted;
    if (!ConvertFrames(frames.get(), count, std::max(entry.capacity, count), entry.flags, converted)) {
        return;
    }
    // Frames the screen still holds from before (only frame 0 may have been freed).
    FreeListImages(entry);
    StoreFrames(entry, converted, entry.flags);
}

void PXResourceCache::ReleaseImageList(PXImageListEntry* entry)
{
    if (entry == nullptr || g_screen == nullptr) {
        return;
    }
    auto it = FindEntry(m_imageLists, entry);
    if (it == m_imageLists.end() || --entry->refCount > 0) {
        return;
    }
    FreeListImages(*entry);
    m_imageLists.erase(it);
}

// ---- Sounds -----------------------------------------------------------------------

PXSoundEntry* PXResourceCache::AcquireSound(const std::string& name)
{
    if (g_soundManager == nullptr) {
        return nullptr;
    }
    try {
        const std::string key = SoundKey(name);
        auto it = m_sounds.find(key);
        if (it != m_sounds.end()) {
            ++it->second->refCount;
            return it->second.get();
        }
        return LoadSound(name, key);
    } catch (...) {
        LogName("Exception occured while opening sound: ", name, "\n");
        return nullptr;
    }
}

PXSoundEntry* PXResourceCache::LoadSound(const std::string& name, const std::string& key)
{
    OpenedFile file(name);
    if (file.Get() == nullptr) {
        if (!name.empty()) {
            LogName("Unable to open sound: ", name, "\n");
        }
        return nullptr;
    }
    auto entry = std::make_unique<PXSoundEntry>();
    entry->name = key;
    entry->refCount = 1;
    uint32_t id = 0;
    if (g_soundManager->LoadSound(file.Get(), id) != 1) {
        if (const char* why = g_soundManager->GetLoadRefusal()) {
            LogName("Unable to load sound: ", name, " - ");
            Log(why);
            Log("\n");
        }
        return nullptr;
    }
    entry->soundId = id;
    PXSoundEntry* result = entry.get();
    try {
        m_sounds.emplace(key, std::move(entry));
    } catch (...) {
        g_soundManager->UnloadSound(id);
        throw;
    }
    return result;
}

void PXResourceCache::ReleaseSound(PXSoundEntry* entry)
{
    if (entry == nullptr) {
        return;
    }
    auto it = FindEntry(m_sounds, entry);
    if (it == m_sounds.end() || --entry->refCount > 0) {
        return;
    }
    if (g_soundManager != nullptr) {
        g_soundManager->UnloadSound(entry->soundId);
    }
    m_sounds.erase(it);
}
