// Class "animsprite": plays the frames of a cached image list at a frame rate, optionally
// blended through per-frame alpha masks. The list and masks belong to the type.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/gui/PXEntity2DGUISprite.h"

struct PXBitmapDesc;
struct PXImageListEntry;

class PXEntity2DGUIAnimSpriteType : public PXEntity2DGUIElementType {
public:
    explicit PXEntity2DGUIAnimSpriteType(const PXDefinitionBlock* block);
    ~PXEntity2DGUIAnimSpriteType() override;

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool Load(bool reload) override;
    bool Unload() override;

    // Swaps the list for another file; falls back to the defined list when that fails.
    void ReplaceImage(const std::string& name);

    PXImageListEntry* GetImageList() const { return m_imageList; }
    // Frames the list holds now (0 without a list).
    uint32_t GetFrameCount() const;
    // The mask for a frame (the last mask serves every later frame), or none when there is
    // none or it does not fit the frame.
    const PXBitmapDesc* GetUsableMask(uint32_t frame) const;
    uint32_t GetMaskCount() const { return static_cast<uint32_t>(m_masks.size()); }
    const std::string& GetImageName() const { return m_imageName; }
    bool IsTransparent() const { return m_transparent; }
    int32_t GetXOffset() const { return m_xOffset; }
    int32_t GetYOffset() const { return m_yOffset; }
    int32_t GetCycleTime() const { return m_cycleTime; }
    float GetFrameRate() const { return m_frameRate; }

private:
    void LoadMasks();

    std::string m_imageName;
    std::string m_definedImageName;
    PXImageListEntry* m_imageList = nullptr;  // held in g_resources
    bool m_transparent = false;
    int32_t m_xOffset = 0;
    int32_t m_yOffset = 0;
    int32_t m_cycleTime = 0;
    std::string m_alphaImageName;
    std::vector<std::unique_ptr<PXBitmapDesc>> m_masks;
    float m_frameRate = 0.0f;  // frames per second
};

class PXEntity2DGUIAnimSprite : public PXEntity2DGUIElement {
public:
    explicit PXEntity2DGUIAnimSprite(PXEntityBaseType* type);

    bool SetAltProperty(int32_t id, int32_t value) override;
    bool SetStringProperty(int32_t id, const std::string& value) override;
    bool GetAltProperty(int32_t id, int32_t* out) override;
    bool Update(float elapsedMs) override;
    bool Draw() override;
    void Invalidate() override;

    uint32_t GetFrame() const { return m_frame; }
    float GetFramePosition() const { return m_framePosition; }
    bool IsAnimating() const { return m_animating; }

private:
    PXEntity2DGUIAnimSpriteType* AnimType() const
    {
        return static_cast<PXEntity2DGUIAnimSpriteType*>(m_type);
    }
    PXImageListEntry* EnsureList();
    // The frame to draw: the current one, or the last when the list shrank under it.
    uint32_t DrawnFrame() const;
    uint32_t BlitOnce(int32_t x, int32_t y);

    uint32_t m_frame = 0;
    float m_framePosition = 0.0f;
    bool m_animating = true;
};

class PXEntity2DGUIAnimSpritePrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override;
};
