// The picture elements' shared part: definition keys, load and unload, replacement with its
// fall-back, and the draw with one reload and retry when the screen lost the picture.
#include "engine/gui/PXEntity2DGUIImage.h"

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/graphics/PXScreen2D.h"

PXEntity2DGUIImageType::PXEntity2DGUIImageType(const PXDefinitionBlock* block)
    : PXEntity2DGUIElementType(block)
{
    if (!block)
        return;
    ReadText(block, "image", &m_imageName);
    m_definedImageName = m_imageName;
    ReadText(block, "alphaimage", &m_alphaImageName);
    ReadFlag(block, "transparent", &m_transparent, false);
    ReadInt(block, "xoffset", &m_xOffset);
    ReadInt(block, "yoffset", &m_yOffset);
}

bool PXEntity2DGUIImageType::Load(bool reload)
{
    return LoadWith(reload, [this] { AcquireImage(); });
}

bool PXEntity2DGUIImageType::Unload()
{
    return UnloadWith([this] { ReleaseImage(); });
}

void PXEntity2DGUIImageType::ReplaceImage(const std::string& name)
{
    if (name == m_imageName)
        return;
    Unload();
    m_imageName = name;
    Load(false);
    if (!HasImage()) {
        m_imageName = m_definedImageName;
        Load(true);
    }
}

PXEntity2DGUIImage::PXEntity2DGUIImage(PXEntityBaseType* type) : PXEntity2DGUIElement(type) {}

void PXEntity2DGUIImage::LoadIfEmpty()
{
    if (!ImageType()->HasImage())
        ImageType()->Load(false);
}

bool PXEntity2DGUIImage::SetStringProperty(int32_t id, const std::string& value)
{
    if (id != PXSpriteProp::Image)
        return PXEntity2DGUIElement::SetStringProperty(id, value);
    ImageType()->ReplaceImage(value);
    Invalidate();
    return true;
}

bool PXEntity2DGUIImage::GetAltProperty(int32_t id, int32_t* out)
{
    if (!out)
        return false;
    if (id != PXSpriteProp::Width && id != PXSpriteProp::Height)
        return PXEntity2DGUIElement::GetAltProperty(id, out);
    int32_t width = 0;
    int32_t height = 0;
    if (!DrawnSize(&width, &height))
        return false;
    *out = id == PXSpriteProp::Width ? width : height;
    return true;
}

bool PXEntity2DGUIImage::Draw()
{
    LoadIfEmpty();
    if (!DrawnSize(&m_width, &m_height))
        return false;
    if (!m_visible)
        return true;
    const int32_t x = m_x + ImageType()->GetXOffset();
    const int32_t y = m_y + ImageType()->GetYOffset();
    if (BlitOnce(x, y) != 1) {
        // The screen lost the picture (a mode change): reload it and try once more.
        ImageType()->Load(true);
        Invalidate();
        BlitOnce(x, y);
    }
    return true;
}

void PXEntity2DGUIImage::Invalidate()
{
    int32_t width = 0;
    int32_t height = 0;
    if (!DrawnSize(&width, &height) || !g_screen)
        return;
    PXRect r;
    r.left = m_x + ImageType()->GetXOffset();
    r.right = r.left + width;
    r.top = m_y + ImageType()->GetYOffset();
    r.bottom = r.top + height;
    // A keyed picture leaves pixels of what lies below; clearing lets them be redrawn.
    g_screen->InvalidateRect(r, ImageType()->IsTransparent());
}
