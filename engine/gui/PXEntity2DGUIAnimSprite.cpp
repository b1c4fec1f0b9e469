// The animated sprite: image-list and mask loading, frame stepping with a true modulo, the
// frame property and the draw choice with one reload and retry.
#include "engine/gui/PXEntity2DGUIAnimSprite.h"

#include <algorithm>
#include <cmath>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/files/PXFile.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXBitmap.h"
#include "engine/graphics/PXScreen2D.h"

PXEntity2DGUIAnimSpriteType::PXEntity2DGUIAnimSpriteType(const PXDefinitionBlock* block)
    : PXEntity2DGUIImageType(block)
{
    if (!block)
        return;
    ReadFloat(block, "FrameRate", &m_frameRate);
}

PXEntity2DGUIAnimSpriteType::~PXEntity2DGUIAnimSpriteType()
{
    Unload();
}

std::unique_ptr<PXEntityBase> PXEntity2DGUIAnimSpriteType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUIAnimSprite>(this);
}

static std::string LowerExtension(const std::string& name)
{
    const size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return ext;
}

void PXEntity2DGUIAnimSpriteType::LoadMasks()
{
    if (m_alphaImageName.empty() || !g_fileSystem)
        return;
    if (LowerExtension(m_alphaImageName) != "img") {
        if (auto mask = PXReadAlphaMask(m_alphaImageName))
            m_masks.push_back(std::move(mask));
        return;
    }
    PXFile* file = g_fileSystem->Open(m_alphaImageName, FileModeRead | FileModeBinary);
    if (!file)
        return;
    uint32_t count = 0;
    std::unique_ptr<PXBitmapDesc[]> images;
    if (ReadImageList(file, &count, &images, 0) == 1 && images) {
        for (uint32_t i = 0; i < count; ++i) {
            auto mask = std::make_unique<PXBitmapDesc>(std::move(images[i]));
            m_masks.push_back(std::move(mask));
        }
    }
    g_fileSystem->Close(file);
}

void PXEntity2DGUIAnimSpriteType::AcquireImage()
{
    if (!m_imageList && g_resources)
        m_imageList = g_resources->AcquireImageList(m_imageName, GetImageLoadFlags());
    if (m_masks.empty())
        LoadMasks();
}

void PXEntity2DGUIAnimSpriteType::ReleaseImage()
{
    if (m_imageList && g_resources)
        g_resources->ReleaseImageList(m_imageList);
    m_imageList = nullptr;
    m_masks.clear();
}

uint32_t PXEntity2DGUIAnimSpriteType::GetFrameCount() const
{
    if (!m_imageList)
        return 0;
    return std::min<uint32_t>(m_imageList->count, static_cast<uint32_t>(m_imageList->imageIds.size()));
}

const PXBitmapDesc* PXEntity2DGUIAnimSpriteType::GetUsableMask(uint32_t frame) const
{
    if (m_masks.empty() || frame >= GetFrameCount())
        return nullptr;
    const PXBitmapDesc* mask = m_masks[std::min<size_t>(frame, m_masks.size() - 1)].get();
    // The masked blits take only 8-bit masks of exactly the frame's size.
    if (!mask || mask->bitsPerPixel != 8 || !mask->data || mask->width != m_imageList->widths[frame] ||
        mask->height != m_imageList->heights[frame])
        return nullptr;
    return mask;
}

PXEntity2DGUIAnimSprite::PXEntity2DGUIAnimSprite(PXEntityBaseType* type) : PXEntity2DGUIImage(type) {}

PXImageListEntry* PXEntity2DGUIAnimSprite::EnsureList()
{
    if (!AnimType()->GetImageList())
        AnimType()->Load(false);
    return AnimType()->GetImageList();
}

uint32_t PXEntity2DGUIAnimSprite::DrawnFrame() const
{
    const uint32_t count = AnimType()->GetFrameCount();
    return count == 0 ? 0 : std::min(m_frame, count - 1);
}

bool PXEntity2DGUIAnimSprite::SetAltProperty(int32_t id, int32_t value)
{
    switch (id) {
    case PXSpriteProp::Frame: {
        const uint32_t count = EnsureList() ? AnimType()->GetFrameCount() : 0;
        if (count > 0) {
            // Compared unsigned, so a negative frame selects the last one.
            m_frame = std::min(static_cast<uint32_t>(value), count - 1);
            m_framePosition = static_cast<float>(m_frame);
        }
        Invalidate();
        return true;
    }
    case PXSpriteProp::Animating:
        EnsureList();
        m_animating = value != 0;
        return false;
    default:
        return PXEntity2DGUIImage::SetAltProperty(id, value);
    }
}

bool PXEntity2DGUIAnimSprite::GetAltProperty(int32_t id, int32_t* out)
{
    if (!out)
        return false;
    EnsureList();
    if (id == PXSpriteProp::Frame) {
        *out = static_cast<int32_t>(m_frame);
        return true;
    }
    return PXEntity2DGUIImage::GetAltProperty(id, out);
}

bool PXEntity2DGUIAnimSprite::DrawnSize(int32_t* width, int32_t* height) const
{
    const PXImageListEntry* list = AnimType()->GetImageList();
    if (!list || AnimType()->GetFrameCount() == 0)
        return false;
    *width = static_cast<int32_t>(list->widths[DrawnFrame()]);
    *height = static_cast<int32_t>(list->heights[DrawnFrame()]);
    return true;
}

bool PXEntity2DGUIAnimSprite::Update(float elapsedMs)
{
    if (m_animating && !m_disabled && m_visible) {
        m_framePosition += elapsedMs / 1000.0f * AnimType()->GetFrameRate();
        const uint32_t count = AnimType()->GetFrameCount();
        if (count > 0) {
            // A true modulo: a negative frame rate runs backwards through the frames.
            m_framePosition = std::fmod(m_framePosition, static_cast<float>(count));
            if (m_framePosition < 0.0f)
                m_framePosition += static_cast<float>(count);
            if (!std::isfinite(m_framePosition))
                m_framePosition = 0.0f;
            const uint32_t frame = std::min(static_cast<uint32_t>(m_framePosition), count - 1);
            if (frame != m_frame) {
                Invalidate();
                m_frame = frame;
                Invalidate();
            }
        }
    }
    return PXEntity2DGUIElement::Update(elapsedMs);
}

uint32_t PXEntity2DGUIAnimSprite::BlitOnce(int32_t x, int32_t y)
{
    PXImageListEntry* list = AnimType()->GetImageList();
    if (!list || AnimType()->GetFrameCount() == 0 || !g_screen)
        return 0;
    const uint32_t frame = DrawnFrame();
    const uint32_t id = list->imageIds[frame];
    if (id == PXNoImage)
        return 1;  // a frame that failed to convert draws nothing; reloading would not help
    // Never mirrored; a blended frame is always colour-keyed.
    return PXBlitSpriteImage(id, x, y, false, m_alpha, true, AnimType()->IsTransparent(),
                             AnimType()->GetUsableMask(frame));
}
