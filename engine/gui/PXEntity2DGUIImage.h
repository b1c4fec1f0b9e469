// What sprites and animated sprites share: the picture's definition keys and its load cycle
// (the type), and drawing at the offsets with one reload and retry, the dirty rectangle and
// the picture's size properties (the element). Fonts and scrolling sprites build on sprites.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/gui/PXPropertyIds.h"

class PXEntity2DGUIImageType : public PXEntity2DGUIElementType {
public:
    // Reads "image", "alphaimage", "transparent", "xoffset" and "yoffset".
    explicit PXEntity2DGUIImageType(const PXDefinitionBlock* block);

    // Acquires the picture and its masks, each when it is missing.
    bool Load(bool reload) override;
    // Releases the picture and the masks.
    bool Unload() override;
    // True while the type holds its picture.
    virtual bool HasImage() const = 0;

    // Swaps the picture for another file; falls back to the defined one when that fails.
    void ReplaceImage(const std::string& name);

    const std::string& GetImageName() const { return m_imageName; }
    bool IsTransparent() const { return m_transparent; }
    int32_t GetXOffset() const { return m_xOffset; }
    int32_t GetYOffset() const { return m_yOffset; }

protected:
    virtual void AcquireImage() = 0;
    virtual void ReleaseImage() = 0;

    std::string m_imageName;
    std::string m_definedImageName;
    std::string m_alphaImageName;
    bool m_transparent = false;
    int32_t m_xOffset = 0;
    int32_t m_yOffset = 0;
};

class PXEntity2DGUIImage : public PXEntity2DGUIElement {
public:
    explicit PXEntity2DGUIImage(PXEntityBaseType* type);

    // PXSpriteProp::Image replaces the type's picture.
    bool SetStringProperty(int32_t id, const std::string& value) override;
    // PXSpriteProp::Width and Height: the size drawn now; false without a picture.
    bool GetAltProperty(int32_t id, int32_t* out) override;
    bool Draw() override;
    void Invalidate() override;

protected:
    PXEntity2DGUIImageType* ImageType() const { return static_cast<PXEntity2DGUIImageType*>(m_type); }
    // Loads the type when it holds no picture.
    void LoadIfEmpty();
    // The size drawn now (the picture, or the current frame); false when there is nothing.
    virtual bool DrawnSize(int32_t* width, int32_t* height) const = 0;
    // Issues this frame's blit at (x, y); the screen's result.
    virtual uint32_t BlitOnce(int32_t x, int32_t y) = 0;
};
