// Class "sprite": one cached image drawn at the element's position, optionally flipped,
// translucent or blended through an 8-bit alpha mask. The image belongs to the type.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/gui/PXEntity2DGUIImage.h"
#include "engine/gui/PXPropertyIds.h"

struct PXBitmapDesc;
struct PXImageEntry;

// Reads an 8-bit mask bitmap through g_fileSystem; none when the file is missing, unreadable
// or not 8 bits per pixel (the masked blits accept nothing else).
std::unique_ptr<PXBitmapDesc> PXReadAlphaMask(const std::string& name);

// How a sprite or an animated sprite draws screen image `id` at (x, y): mirrored when
// `flipped`, blended when `alpha` is below 255 (colour-keyed per `alphaKeyed`), through
// `mask` when there is one, else plainly (colour-keyed per `keyed`). The screen's result.
uint32_t PXBlitSpriteImage(uint32_t id, int32_t x, int32_t y, bool flipped, int32_t alpha, bool alphaKeyed,
                           bool keyed, const PXBitmapDesc* mask);

class PXEntity2DGUISpriteType : public PXEntity2DGUIImageType {
public:
    explicit PXEntity2DGUISpriteType(const PXDefinitionBlock* block);
    ~PXEntity2DGUISpriteType() override;

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool HasImage() const override { return m_image != nullptr; }

    PXImageEntry* GetImage() const { return m_image; }
    // The mask, or none when absent or not of the image's size.
    const PXBitmapDesc* GetUsableMask() const;

protected:
    void AcquireImage() override;
    void ReleaseImage() override;

    PXImageEntry* m_image = nullptr;  // held in g_resources
    std::unique_ptr<PXBitmapDesc> m_alphaMask;
};

class PXEntity2DGUISprite : public PXEntity2DGUIImage {
public:
    explicit PXEntity2DGUISprite(PXEntityBaseType* type);

    bool SetAltProperty(int32_t id, int32_t value) override;
    bool GetAltProperty(int32_t id, int32_t* out) override;
    bool Click(const PXPoint& point) override;

    bool IsFlipped() const { return m_flipped; }

protected:
    PXEntity2DGUISpriteType* SpriteType() const { return static_cast<PXEntity2DGUISpriteType*>(m_type); }
    // The image, loading the type first when it has none; none when it cannot be loaded.
    PXImageEntry* EnsureImage();
    bool DrawnSize(int32_t* width, int32_t* height) const override;
    // Issues the blit chosen for this frame with the image's current id.
    uint32_t BlitOnce(int32_t x, int32_t y) override;

    bool m_flipped = false;
};

using PXEntity2DGUISpritePrototype = PXEntityTypePrototypeFor<PXEntity2DGUISpriteType>;
