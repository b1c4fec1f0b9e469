// The sprite: loading its image and mask, image replacement, the draw choice with one reload
// and retry when the screen lost the image, and its rectangle.
#include "engine/gui/PXEntity2DGUISprite.h"

#include "engine/core/PXGlobals.h"
#include "engine/files/PXFile.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXBitmap.h"
#include "engine/graphics/PXScreen2D.h"

std::unique_ptr<PXBitmapDesc> PXReadAlphaMask(const std::string& name)
{
    if (name.empty() || !g_fileSystem)
        return nullptr;
    PXFile* file = g_fileSystem->Open(name, FileModeRead | FileModeBinary);
    if (!file)
        return nullptr;
    auto mask = std::make_unique<PXBitmapDesc>();
    const uint32_t read = ReadBitmapFile(*mask, file, 0);
    g_fileSystem->Close(file);
    if (read != 1 || mask->bitsPerPixel != 8 || !mask->data)
        return nullptr;
    return mask;
}

PXEntity2DGUISpriteType::PXEntity2DGUISpriteType(const PXDefinitionBlock* block)
    : PXEntity2DGUIImageType(block)
{
}

PXEntity2DGUISpriteType::~PXEntity2DGUISpriteType()
{
    Unload();
}

std::unique_ptr<PXEntityBase> PXEntity2DGUISpriteType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUISprite>(this);
}

void PXEntity2DGUISpriteType::AcquireImage()
{
    if (!m_image && g_resources)
        m_image = g_resources->AcquireImage(m_imageName, GetImageLoadFlags());
    if (!m_alphaMask)
        m_alphaMask = PXReadAlphaMask(m_alphaImageName);
}

void PXEntity2DGUISpriteType::ReleaseImage()
{
    if (m_image && g_resources)
        g_resources->ReleaseImage(m_image);
    m_image = nullptr;
    m_alphaMask.reset();
}

const PXBitmapDesc* PXEntity2DGUISpriteType::GetUsableMask() const
{
    if (!m_alphaMask || !m_image)
        return nullptr;
    if (m_alphaMask->width != m_image->width || m_alphaMask->height != m_image->height)
        return nullptr;
    return m_alphaMask.get();
}

PXEntity2DGUISprite::PXEntity2DGUISprite(PXEntityBaseType* type) : PXEntity2DGUIImage(type) {}

PXImageEntry* PXEntity2DGUISprite::EnsureImage()
{
    PXEntity2DGUISpriteType* type = SpriteType();
    if (!type->GetImage())
        type->Load(false);
    return type->GetImage();
}

bool PXEntity2DGUISprite::SetAltProperty(int32_t id, int32_t value)
{
    switch (id) {
    case PXSpriteProp::Redraw:
        if (!SpriteType()->GetImage())
            return false;
        Invalidate();
        Invalidate();
        return true;
    case PXSpriteProp::Flipped:
        m_flipped = value != 0;
        return false;
    default:
        return PXEntity2DGUIImage::SetAltProperty(id, value);
    }
}

bool PXEntity2DGUISprite::GetAltProperty(int32_t id, int32_t* out)
{
    if (!out)
        return false;
    LoadIfEmpty();
    if (id == PXSpriteProp::Flipped) {
        *out = m_flipped ? 1 : 0;
        return true;
    }
    return PXEntity2DGUIImage::GetAltProperty(id, out);
}

bool PXEntity2DGUISprite::DrawnSize(int32_t* width, int32_t* height) const
{
    const PXImageEntry* image = SpriteType()->GetImage();
    if (!image)
        return false;
    *width = static_cast<int32_t>(image->width);
    *height = static_cast<int32_t>(image->height);
    return true;
}

uint32_t PXBlitSpriteImage(uint32_t id, int32_t x, int32_t y, bool flipped, int32_t alpha, bool alphaKeyed,
                           bool keyed, const PXBitmapDesc* mask)
{
    if (flipped)
        return g_screen->BlitFlipped(id, x, y, 0, 0, PXToEdge, PXToEdge, keyed);
    if (alpha < 255)
        return g_screen->BlitAlpha(id, x, y, 0, 0, PXToEdge, PXToEdge, static_cast<uint32_t>(alpha), alphaKeyed);
    if (!mask)
        return g_screen->Blit(id, x, y, 0, 0, PXToEdge, PXToEdge, keyed);
    return g_screen->BlitMasked(id, x, y, 0, 0, PXToEdge, PXToEdge, *mask);
}

uint32_t PXEntity2DGUISprite::BlitOnce(int32_t x, int32_t y)
{
    PXEntity2DGUISpriteType* type = SpriteType();
    PXImageEntry* image = type->GetImage();
    if (!image || !g_screen)
        return 0;
    const bool keyed = type->IsTransparent();
    return PXBlitSpriteImage(image->imageId, x, y, m_flipped, m_alpha, keyed, keyed, type->GetUsableMask());
}

bool PXEntity2DGUISprite::Click(const PXPoint& point)
{
    const int32_t left = m_x + SpriteType()->GetXOffset();
    const int32_t top = m_y + SpriteType()->GetYOffset();
    return left <= point.x && point.x <= left + m_width && top <= point.y && point.y <= top + m_height;
}
