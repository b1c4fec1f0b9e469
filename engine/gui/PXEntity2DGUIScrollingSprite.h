// Class "scrollingsprite": a sprite's image tiled into a fixed box and scrolled continuously.
#pragma once

#include "engine/gui/PXEntity2DGUISprite.h"

class PXEntity2DGUIScrollingSpriteType : public PXEntity2DGUISpriteType {
public:
    explicit PXEntity2DGUIScrollingSpriteType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;

    int32_t GetBoxWidth() const { return m_boxWidth; }
    int32_t GetBoxHeight() const { return m_boxHeight; }
    float GetHorizSpeed() const { return m_horizSpeed; }
    float GetVertSpeed() const { return m_vertSpeed; }

private:
    int32_t m_boxWidth = 0;
    int32_t m_boxHeight = 0;
    float m_horizSpeed = 0.0f;  // pixels per second
    float m_vertSpeed = 0.0f;
};

class PXEntity2DGUIScrollingSprite : public PXEntity2DGUISprite {
public:
    explicit PXEntity2DGUIScrollingSprite(PXEntityBaseType* type);

    bool Update(float elapsedMs) override;
    bool Draw() override;
    void Invalidate() override;

    float GetScrollX() const { return m_scrollX; }
    float GetScrollY() const { return m_scrollY; }

private:
    PXEntity2DGUIScrollingSpriteType* ScrollType() const
    {
        return static_cast<PXEntity2DGUIScrollingSpriteType*>(m_type);
    }
    uint32_t TileOnce();

    float m_scrollX = 0.0f;
    float m_scrollY = 0.0f;
};

using PXEntity2DGUIScrollingSpritePrototype = PXEntityTypePrototypeFor<PXEntity2DGUIScrollingSpriteType>;
