// The play scene's type (class "SFGameScene"): the seven element records the play scene
// drives (score, level, two status lines, pause, sound and full-screen buttons), the font of
// the floating turn score, and the fixed images and sounds of the play field.
//
// The records live in the base type's element list, so the base scene creates, updates and
// draws their entities; the type only remembers where each one sits in that list. The list is
// sorted by priority on Load, so the positions are re-derived then.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/entity/PXEntity2DScene.h"
#include "game/SFPlayField.h"

class PXEntity2DGUIFont;
struct PXImageEntry;
struct PXImageListEntry;
struct PXSoundEntry;

// The element records of the play scene, in definition-reading order.
enum class SFGameRecord { Score, Level, Status1, Status2, Pause, Sound, Fullscreen, Count };

// The image lists of the play scene: the seven triangle colours in board colour order (blue is
// board colour 1, gray 7), then the level looks and effects.
enum class SFGameImages {
    TriBlue,
    TriGreen,
    TriOrange,
    TriPurple,
    TriRed,
    TriYellow,
    TriGray,
    Backgrounds,
    Banners,
    Explosion,
    Shimmer,
    ShimmerFlipped,
    Count
};

class SFEntityMainGameSceneType : public PXEntity2DSceneType {
public:
    // Reads the base scene keys, the seven "<prefix>Ent" records and "TempScoreFontEnt".
    explicit SFEntityMainGameSceneType(const PXDefinitionBlock* block);
    ~SFEntityMainGameSceneType() override;

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    // Acquires the assets and the score font, then the base scene's elements.
    bool Load(bool reload) override;
    bool Unload() override;
    // "GAME" (the music step looks for it), "SCNE" and "UNKN".
    bool IsA(uint32_t kind) const override;

    // The entity of one record, or none (no such key, or not loaded).
    PXEntity2DGUIElement* GetRecordEntity(SFGameRecord record);
    const PXSceneElement* GetRecord(SFGameRecord record) const;
    PXEntity2DGUIFont* GetScoreFont() const { return m_scoreFont.get(); }

    // Every file the type acquires, in the order it acquires them.
    static std::vector<std::string> AssetPaths();

    // Cache entries; none when the file could not be loaded.
    const PXImageListEntry* GetImageList(SFGameImages which) const
    {
        return m_imageLists[static_cast<size_t>(which)];
    }
    // The triangles of a board colour 1 to 7.
    const PXImageListEntry* GetTriangles(int colour) const;
    const PXImageEntry* GetInfoStrip() const { return m_infoStrip; }
    PXSoundEntry* GetSound(SFSound sound) const;

private:
    static constexpr size_t RecordCount = static_cast<size_t>(SFGameRecord::Count);
    static constexpr size_t ImageListCount = static_cast<size_t>(SFGameImages::Count);
    static constexpr size_t SoundCount = 7;

    void AcquireAssets();
    void ReleaseAssets();
    void CreateScoreFont();
    // The base type's slot of each record, -1 for none.
    std::array<int, RecordCount> m_recordIndex;
    PXEntityRef m_scoreFontRef;
    std::unique_ptr<PXEntity2DGUIFont> m_scoreFont;
    std::array<PXImageListEntry*, ImageListCount> m_imageLists{};
    PXImageEntry* m_infoStrip = nullptr;
    // Impact, move, switch, special, ding, ding up, ding down.
    std::array<PXSoundEntry*, SoundCount> m_sounds{};
};

class SFEntityMainGameScenePrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override;
};

// The prototype registered as class "SFGameScene".
extern SFEntityMainGameScenePrototype g_gameScenePrototype;
