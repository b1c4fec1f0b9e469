// The scrolling sprite: wraps its source offset into the image and tiles the box from it.
#include "engine/gui/PXEntity2DGUIScrollingSprite.h"

#include <cmath>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXScreen2D.h"

PXEntity2DGUIScrollingSpriteType::PXEntity2DGUIScrollingSpriteType(const PXDefinitionBlock* block)
    : PXEntity2DGUISpriteType(block)
{
    if (!block)
        return;
    ReadInt(block, "BoxWidth", &m_boxWidth);
    ReadInt(block, "BoxHeight", &m_boxHeight);
    ReadFloat(block, "HorizScrollSpeed", &m_horizSpeed);
    ReadFloat(block, "VertScrollSpeed", &m_vertSpeed);
}

std::unique_ptr<PXEntityBase> PXEntity2DGUIScrollingSpriteType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUIScrollingSprite>(this);
}

PXEntity2DGUIScrollingSprite::PXEntity2DGUIScrollingSprite(PXEntityBaseType* type) : PXEntity2DGUISprite(type)
{
}

// Remainder with the sign of the divisor's range: always in [0, size).
static float WrapOffset(float value, uint32_t size)
{
    if (size == 0 || !std::isfinite(value))
        return 0.0f;
    float r = std::fmod(value, static_cast<float>(size));
    if (r < 0.0f)
        r += static_cast<float>(size);
    // Adding the size to a tiny negative remainder can round up to the size itself.
    return r >= static_cast<float>(size) ? 0.0f : r;
}

bool PXEntity2DGUIScrollingSprite::Update(float elapsedMs)
{
    if (!PXEntity2DGUIElement::Update(elapsedMs))
        return false;
    PXImageEntry* image = ScrollType()->GetImage();
    if (!image)
        return true;
    const int32_t oldX = static_cast<int32_t>(m_scrollX);
    const int32_t oldY = static_cast<int32_t>(m_scrollY);
    m_scrollX = WrapOffset(m_scrollX + ScrollType()->GetHorizSpeed() * elapsedMs * 0.001f, image->width);
    m_scrollY = WrapOffset(m_scrollY + ScrollType()->GetVertSpeed() * elapsedMs * 0.001f, image->height);
    if (static_cast<int32_t>(m_scrollX) != oldX || static_cast<int32_t>(m_scrollY) != oldY)
        Invalidate();
    return true;
}

uint32_t PXEntity2DGUIScrollingSprite::TileOnce()
{
    PXImageEntry* image = ScrollType()->GetImage();
    if (!image || !g_screen)
        return 0;
    return g_screen->TileImageOffset(image->imageId, static_cast<uint32_t>(m_scrollX),
                                     static_cast<uint32_t>(m_scrollY), m_x + ScrollType()->GetXOffset(),
                                     m_y + ScrollType()->GetYOffset(), ScrollType()->GetBoxWidth(),
                                     ScrollType()->GetBoxHeight(), ScrollType()->IsTransparent());
}

bool PXEntity2DGUIScrollingSprite::Draw()
{
    if (!EnsureImage())
        return false;
    if (TileOnce() != 1) {
        ScrollType()->Load(true);
        Invalidate();
        TileOnce();
    }
    return true;
}

void PXEntity2DGUIScrollingSprite::Invalidate()
{
    if (!g_screen)
        return;
    PXRect r;
    r.left = m_x + ScrollType()->GetXOffset();
    r.right = r.left + ScrollType()->GetBoxWidth();
    r.top = m_y + ScrollType()->GetYOffset();
    r.bottom = r.top + ScrollType()->GetBoxHeight();
    g_screen->InvalidateRect(r, ScrollType()->IsTransparent());
}
