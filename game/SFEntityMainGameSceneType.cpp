// The play scene's type: its definition keys, asset table and the score font.
#include "game/SFEntityMainGameSceneType.h"

#include <algorithm>
#include <numeric>
#include <iterator>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/files/PXResourceCache.h"
#include "engine/gui/PXEntity2DGUIFont.h"
#include "game/SFEntityMainGameScene.h"

SFEntityMainGameScenePrototype g_gameScenePrototype;

namespace {

// Key prefixes of the records, in SFGameRecord order.
constexpr const char* RecordPrefixes[] = {"Score", "Level", "Status1",   "Status2",
                                          "Pause", "Sound", "Fullscreen"};

struct ImageListAsset {
    const char* path;
    uint32_t flags;
};

// In SFGameImages order; the info strip is acquired between gray and the backgrounds.
constexpr ImageListAsset ImageListAssets[] = {
    {"Shardfall/Images/Tri_Blue.img", 0},   {"Shardfall/Images/Tri_Green.img", 0},
    {"Shardfall/Images/Tri_Orange.img", 0}, {"Shardfall/Images/Tri_Purple.img", 0},
    {"Shardfall/Images/Tri_Red.img", 0},    {"Shardfall/Images/Tri_Yellow.img", 0},
    {"Shardfall/Images/Tri_Gray.img", 0},   {"Shardfall/Images/backgrounds.img", 0},
    {"Shardfall/Images/banners.img", 0},    {"Shardfall/Images/explo.img", 1},
    {"Shardfall/Images/shimmer.img", 1},    {"Shardfall/Images/shimmerflipped.img", 1},
};
constexpr size_t InfoStripAfter = static_cast<size_t>(SFGameImages::TriGray);
constexpr const char* InfoStripPath = "Shardfall/Images/InfoStrip.bmp";

// In the order they are acquired.
constexpr const char* SoundPaths[] = {
    "Shardfall/Sounds/Impact.wav",
    "Shardfall/Sounds/Move.wav",
    "Shardfall/Sounds/Switch.wav",
    "Shardfall/Sounds/specialcomplete.wav",
    "Shardfall/Sounds/MetalDing_Vibrato.wav",
    "Shardfall/Sounds/MetalDing_Vibrato_Up.wav",
    "Shardfall/Sounds/MetalDing_Vibrato_Down.wav",
};

}  // namespace

SFEntityMainGameSceneType::SFEntityMainGameSceneType(const PXDefinitionBlock* block)
    : PXEntity2DSceneType(block)
{
    m_recordIndex.fill(-1);
    if (block == nullptr) {
        return;
    }
    for (size_t i = 0; i < RecordCount; ++i) {
        m_recordIndex[i] = AddSlot(RecordPrefixes[i], *block);
    }
    if (block->FindKey("TempScoreFontEnt")) {
        block->ReadEntityRef(&m_scoreFontRef);
    }
}

SFEntityMainGameSceneType::~SFEntityMainGameSceneType()
{
    Unload();
}

std::vector<std::string> SFEntityMainGameSceneType::AssetPaths()
{
    std::vector<std::string> paths;
    for (size_t i = 0; i < ImageListCount; ++i) {
        paths.push_back(ImageListAssets[i].path);
        if (i == InfoStripAfter) {
            paths.push_back(InfoStripPath);
        }
    }
    paths.insert(paths.end(), std::begin(SoundPaths), std::end(SoundPaths));
    return paths;
}

std::unique_ptr<PXEntityBase> SFEntityMainGameSceneType::CreateEntity()
{
    return std::make_unique<SFEntityMainGameScene>(this);
}

bool SFEntityMainGameSceneType::Load(bool reload)
{
    if (reload) {
        Unload();
    }
    if (!m_loaded) {
        AcquireAssets();
        if (m_scoreFont == nullptr) {
            CreateScoreFont();
        }
    }
    return PXEntity2DSceneType::Load(false);
}

bool SFEntityMainGameSceneType::Unload()
{
    ReleaseAssets();
    // The font goes with the other owned entities, while its own type is still loaded.
    m_scoreFont.reset();
    return PXEntity2DSceneType::Unload();
}

bool SFEntityMainGameSceneType::IsA(uint32_t kind) const
{
    return kind == PXKind::GameScene || PXEntity2DSceneType::IsA(kind);
}

void SFEntityMainGameSceneType::AcquireAssets()
{
    if (g_resources == nullptr) {
        return;
    }
    for (size_t i = 0; i < ImageListCount; ++i) {
        if (m_imageLists[i] == nullptr) {
            m_imageLists[i] =
                g_resources->AcquireImageList(ImageListAssets[i].path, ImageListAssets[i].flags);
        }
        if (i == InfoStripAfter && m_infoStrip == nullptr) {
            m_infoStrip = g_resources->AcquireImage(InfoStripPath, 0);
        }
    }
    for (size_t i = 0; i < SoundCount; ++i) {
        if (m_sounds[i] == nullptr) {
            m_sounds[i] = g_resources->AcquireSound(SoundPaths[i]);
        }
    }
}

void SFEntityMainGameSceneType::ReleaseAssets()
{
    if (g_resources != nullptr) {
        for (PXImageListEntry* list : m_imageLists) {
            g_resources->ReleaseImageList(list);
        }
        g_resources->ReleaseImage(m_infoStrip);
        for (PXSoundEntry* sound : m_sounds) {
            g_resources->ReleaseSound(sound);
        }
    }
    m_imageLists.fill(nullptr);
    m_infoStrip = nullptr;
    m_sounds.fill(nullptr);
}

void SFEntityMainGameSceneType::CreateScoreFont()
{
    std::unique_ptr<PXEntity2DGUIFont> font =
        CreateEntityAs<PXEntity2DGUIFont>(g_entityRegistry, m_scoreFontRef, PXKind::Font);
    if (font == nullptr) {
        return;
    }
    m_scoreFont = std::move(font);
    m_scoreFont->GetType()->Load(false);
}

const PXSceneElement* SFEntityMainGameSceneType::GetRecord(SFGameRecord record) const
{
    const size_t r = static_cast<size_t>(record);
    return r < RecordCount ? SlotRecord(m_recordIndex[r]) : nullptr;
}

PXEntity2DGUIElement* SFEntityMainGameSceneType::GetRecordEntity(SFGameRecord record)
{
    const PXSceneElement* found = GetRecord(record);
    return found != nullptr ? found->entity.get() : nullptr;
}

const PXImageListEntry* SFEntityMainGameSceneType::GetTriangles(int colour) const
{
    if (colour < 1 || colour > 7) {
        return nullptr;
    }
    return m_imageLists[static_cast<size_t>(colour - 1)];
}

PXSoundEntry* SFEntityMainGameSceneType::GetSound(SFSound sound) const
{
    switch (sound) {
    case SFSound::Impact:
        return m_sounds[0];
    case SFSound::Move:
        return m_sounds[1];
    case SFSound::Switch:
        return m_sounds[2];
    case SFSound::Special:
        return m_sounds[3];
    case SFSound::Ding:
        return m_sounds[4];
    case SFSound::DingRising:
        return m_sounds[5];
    case SFSound::DingFalling:
        return m_sounds[6];
    }
    return nullptr;
}

std::unique_ptr<PXEntityBaseType>
SFEntityMainGameScenePrototype::CreateType(const PXDefinitionBlock* block) const
{
    return std::make_unique<SFEntityMainGameSceneType>(block);
}
