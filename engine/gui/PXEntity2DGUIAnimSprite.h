// Class "animsprite": plays the frames of a cached image list at a frame rate, optionally
// blended through per-frame alpha masks. The list and masks belong to the type.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/gui/PXEntity2DGUIImage.h"
#include "engine/gui/PXEntity2DGUISprite.h"

struct PXBitmapDesc;
struct PXImageListEntry;

class PXEntity2DGUIAnimSpriteType : public PXEntity2DGUIImageType {
public:
    explicit PXEntity2DGUIAnimSpriteType(const PXDefinitionBlock* block);
    ~PXEntity2DGUIAnimSpriteType() override;

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool HasImage() const override { return m_imageList != nullptr; }

    PXImageListEntry* GetImageList() const { return m_imageList; }
    // Frames the list holds now (0 without a list).
    uint32_t GetFrameCount() const;
    // The mask for a frame (the last mask serves every later frame), or none when there is
    // none or it does not fit the frame.
    const PXBitmapDesc* GetUsableMask(uint32_t frame) const;
    uint32_t GetMaskCount() const { return static_cast<uint32_t>(m_masks.size()); }
    float GetFrameRate() const { return m_frameRate; }

private:
    void AcquireImage() override;
    void ReleaseImage() override;
    void LoadMasks();

    PXImageListEntry* m_imageList = nullptr;  // held in g_resources
    std::vector<std::unique_ptr<PXBitmapDesc>> m_masks;
    float m_frameRate = 0.0f;  // frames per second
};

class PXEntity2DGUIAnimSprite : public PXEntity2DGUIImage {
public:
    explicit PXEntity2DGUIAnimSprite(PXEntityBaseType* type);

    bool SetAltProperty(int32_t id, int32_t value) override;
    bool GetAltProperty(int32_t id, int32_t* out) override;
    bool Update(float elapsedMs) override;

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
    bool DrawnSize(int32_t* width, int32_t* height) const override;
    uint32_t BlitOnce(int32_t x, int32_t y) override;

    uint32_t m_frame = 0;
    float m_framePosition = 0.0f;
    bool m_animating = true;
};

using PXEntity2DGUIAnimSpritePrototype = PXEntityTypePrototypeFor<PXEntity2DGUIAnimSpriteType>;
