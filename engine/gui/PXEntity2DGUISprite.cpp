// The sprite: loading its image and mask, image replacement, the draw choice with one reload
// and retry when the screen lost the image, and its rectangle.
#include "engine/gui/PXEntity2DGUISprite.h"

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
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
    : PXEntity2DGUIElementType(block)
{
    if (!block)
        return;
    if (block->FindKey("image"))
        block->ReadString(&m_imageName);
    m_definedImageName = m_imageName;
    if (block->FindKey("alphaimage"))
        block->ReadString(&m_alphaImageName);
    ReadFlag(block, "transparent", &m_transparent, m_transparent);
    if (block->FindKey("xoffset"))
        block->ReadInts(&m_xOffset, 1);
    if (block->FindKey("yoffset"))
        block->ReadInts(&m_yOffset, 1);
}

PXEntity2DGUISpriteType::~PXEntity2DGUISpriteType()
{
    PXEntity2DGUISpriteType::Unload();
}

std::unique_ptr<PXEntityBase> PXEntity2DGUISpriteType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUISprite>(this);
}

bool PXEntity2DGUISpriteType::Load(bool reload)
{
    if (reload)
        Unload();
    if (m_loaded)
        return true;
    if (!m_image && g_resources)
        m_image = g_resources->AcquireImage(m_imageName, GetImageLoadFlags());
    if (!m_alphaMask)
        m_alphaMask = PXReadAlphaMask(m_alphaImageName);
    m_loaded = true;
    return true;
}

bool PXEntity2DGUISpriteType::Unload()
{
    if (!m_loaded)
        return true;
    if (m_image && g_resources)
        g_resources->ReleaseImage(m_image);
    m_image = nullptr;
    m_alphaMask.reset();
    m_loaded = false;
    return true;
}

void PXEntity2DGUISpriteType::ReplaceImage(const std::string& name)
{
    if (name == m_imageName)
        return;
    Unload();
    m_imageName = name;
    Load(false);
    if (!m_image) {
        m_imageName = m_definedImageName;
        Load(true);
    }
}

const PXBitmapDesc* PXEntity2DGUISpriteType::GetUsableMask() const
{
    if (!m_alphaMask || !m_image)
        return nullptr;
    if (m_alphaMask->width != m_image->width || m_alphaMask->height != m_image->height)
        return nullptr;
    return m_alphaMask.get();
}

PXEntity2DGUISprite::PXEntity2DGUISprite(PXEntityBaseType* type) : PXEntity2DGUIElement(type) {}

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
        return PXEntity2DGUIElement::SetAltProperty(id, value);
    }
}

bool PXEntity2DGUISprite::SetStringProperty(int32_t id, const std::string& value)
{
    if (id != PXSpriteProp::Image)
        return PXEntity2DGUIElement::SetStringProperty(id, value);
    SpriteType()->ReplaceImage(value);
    Invalidate();
    return true;
}

bool PXEntity2DGUISprite::GetAltProperty(int32_t id, int32_t* out)
{
    if (!out)
        return false;
    PXImageEntry* image = EnsureImage();
    switch (id) {
    case PXSpriteProp::Width:
        if (!image)
            return false;
        *out = static_cast<int32_t>(image->width);
        return true;
    case PXSpriteProp::Height:
        if (!image)
            return false;
        *out = static_cast<int32_t>(image->height);
        return true;
    case PXSpriteProp::Flipped:
        *out = m_flipped ? 1 : 0;
        return true;
    default:
        return PXEntity2DGUIElement::GetAltProperty(id, out);
    }
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

bool PXEntity2DGUISprite::Draw()
{
    PXImageEntry* image = EnsureImage();
    if (!image)
        return false;
    m_width = static_cast<int32_t>(image->width);
    m_height = static_cast<int32_t>(image->height);
    if (!m_visible)
        return true;
    const int32_t x = m_x + SpriteType()->GetXOffset();
    const int32_t y = m_y + SpriteType()->GetYOffset();
    if (BlitOnce(x, y) != 1) {
        // The screen lost the image (a mode change): reload it and try once more.
        SpriteType()->Load(true);
        Invalidate();
        BlitOnce(x, y);
    }
    return true;
}

bool PXEntity2DGUISprite::Click(const PXPoint& point)
{
    const int32_t left = m_x + SpriteType()->GetXOffset();
    const int32_t top = m_y + SpriteType()->GetYOffset();
    return left <= point.x && point.x <= left + m_width && top <= point.y && point.y <= top + m_height;
}

void PXEntity2DGUISprite::Invalidate()
{
    PXEntity2DGUISpriteType* type = SpriteType();
    PXImageEntry* image = type->GetImage();
    if (!image || !g_screen)
        return;
    PXRect r;
    r.left = m_x + type->GetXOffset();
    r.right = r.left + static_cast<int32_t>(image->width);
    r.top = m_y + type->GetYOffset();
    r.bottom = r.top + static_cast<int32_t>(image->height);
    // A keyed image leaves pixels of what lies below; clearing lets them be redrawn.
    g_screen->InvalidateRect(r, type->IsTransparent());
}

std::unique_ptr<PXEntityBaseType>
PXEntity2DGUISpritePrototype::CreateType(const PXDefinitionBlock* block) const
{
    return std::make_unique<PXEntity2DGUISpriteType>(block);
}
