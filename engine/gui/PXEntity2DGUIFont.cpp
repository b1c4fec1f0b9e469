// The bitmap font: glyph and advance tables from the definition, per-glyph blits, measuring,
// fitting and wrapping.
#include "engine/gui/PXEntity2DGUIFont.h"

#include <algorithm>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXScreen2D.h"

PXEntity2DGUIFontType::PXEntity2DGUIFontType(const PXDefinitionBlock* block) : PXEntity2DGUISpriteType(block)
{
    // Fonts place glyphs with "offsetx"/"offsety" (the spacing), not the sprite offsets.
    m_xOffset = 0;
    m_yOffset = 0;
    if (block) {
        ReadText(block, "chars", &m_chars);
        ReadInt(block, "charwidth", &m_cellWidth);
        ReadInt(block, "charheight", &m_cellHeight);
        ReadInt(block, "offsetx", &m_xOffset);
        ReadInt(block, "offsety", &m_yOffset);
        ReadInt(block, "nolowercase", &m_noLowercase);
        ReadInt(block, "raise", &m_raise);
    }
    // Cells and spacing far beyond any screen only overflow the glyph arithmetic.
    m_cellWidth = std::clamp(m_cellWidth, 0, MaxCellSize);
    m_cellHeight = std::clamp(m_cellHeight, 0, MaxCellSize);
    m_xOffset = std::clamp(m_xOffset, -MaxCellSize, MaxCellSize);
    m_yOffset = std::clamp(m_yOffset, -MaxCellSize, MaxCellSize);
    m_raise = std::clamp(m_raise, 0, MaxCellSize);
    BuildTables(block);
}

void PXEntity2DGUIFontType::BuildTables(const PXDefinitionBlock* block)
{
    const size_t cells = std::min<size_t>(m_chars.size(), 256);
    for (size_t i = 0; i < cells; ++i)
        m_glyphIndex[static_cast<unsigned char>(m_chars[i])] = static_cast<uint8_t>(i);
    m_advance.fill(static_cast<uint8_t>(m_xOffset + m_cellWidth));
    if (!block)
        return;
    int count = 0;
    ReadInt(block, "numfontelements", &count);
    // Each row is looked up by name: a huge count would stall start-up.
    count = std::min(count, MaxWidthRows);
    for (int i = 1; i <= count; ++i) {
        if (!block->FindKey("FontWidth" + std::to_string(i)))
            continue;
        char ch = 0;
        int width = 0;
        if (block->ReadCharCode(&ch, &width))
            m_advance[std::min(static_cast<unsigned char>(ch), static_cast<unsigned char>(255))] =
                static_cast<uint8_t>(width);
    }
}

std::unique_ptr<PXEntityBase> PXEntity2DGUIFontType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUIFont>(this);
}

bool PXEntity2DGUIFontType::Load(bool reload)
{
    m_loadedAtImagesLost = g_screen != nullptr ? g_screen->GetImagesLostCount() : 0;
    return PXEntity2DGUISpriteType::Load(reload);
}

bool PXEntity2DGUIFontType::LoadSheet()
{
    const uint32_t lost = g_screen != nullptr ? g_screen->GetImagesLostCount() : 0;
    if (m_loaded && lost == m_loadedAtImagesLost)
        return false;
    return Load(m_loaded);
}

bool PXEntity2DGUIFontType::IsA(uint32_t kind) const
{
    return kind == PXKind::Font || PXEntity2DGUISpriteType::IsA(kind);
}

unsigned char PXEntity2DGUIFontType::MapChar(char c) const
{
    if (m_noLowercase == 1 && c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    return static_cast<unsigned char>(c);
}

PXEntity2DGUIFont::PXEntity2DGUIFont(PXEntityBaseType* type) : PXEntity2DGUISprite(type) {}

int32_t PXEntity2DGUIFont::GetCharWidth() const
{
    return FontType()->GetCellWidth() + FontType()->GetXOffset();
}

int32_t PXEntity2DGUIFont::GetLineHeight() const
{
    return FontType()->GetCellHeight() + FontType()->GetYOffset();
}

bool PXEntity2DGUIFont::GetProperty(int32_t id, int32_t* out)
{
    if (!out)
        return false;
    if (id == PXFontProp::CharWidth) {
        *out = GetCharWidth();
        return true;
    }
    if (id == PXFontProp::LineHeight) {
        *out = GetLineHeight();
        return true;
    }
    return PXEntity2DGUISprite::GetProperty(id, out);
}

uint32_t PXEntity2DGUIFont::BlitGlyph(uint32_t srcX, uint32_t srcY, int32_t x, int32_t y, int32_t alpha,
                                      const PXColor* tint)
{
    PXImageEntry* image = FontType()->GetImage();
    if (!image || !g_screen)
        return 0;
    const uint32_t id = image->imageId;
    const uint32_t w = static_cast<uint32_t>(FontType()->GetCellWidth());
    const uint32_t h = static_cast<uint32_t>(FontType()->GetCellHeight());
    const PXBitmapDesc* mask = FontType()->GetUsableMask();
    if (!mask) {
        if (alpha < 255)
            return g_screen->BlitAlpha(id, x, y, srcX, srcY, w, h, static_cast<uint32_t>(std::max(alpha, 0)),
                                       true);
        if (!tint)
            return g_screen->Blit(id, x, y, srcX, srcY, w, h, true);
        return g_screen->BlitModulated(id, x, y, srcX, srcY, w, h, true, *tint);
    }
    if (alpha < 255)
        return g_screen->BlitMaskedAlpha(id, x, y, srcX, srcY, w, h, *mask,
                                         static_cast<uint32_t>(std::max(alpha, 0)));
    if (tint)
        return g_screen->BlitMaskedModulated(id, x, y, srcX, srcY, w, h, *mask, *tint);
    return g_screen->BlitMasked(id, x, y, srcX, srcY, w, h, *mask);
}

bool PXEntity2DGUIFont::DrawText(const std::string& text, const PXPoint& point, int32_t justify,
                                 int32_t alpha, const PXColor* tint)
{
    PXEntity2DGUIFontType* type = FontType();
    type->LoadSheet();
    PXImageEntry* image = type->GetImage();
    if (!image)
        return false;
    const int32_t cellW = type->GetCellWidth();
    const int32_t cellH = type->GetCellHeight();
    // Cells of no size, or a sheet narrower than one cell, leave nothing to draw (and would
    // divide by zero).
    if (cellW <= 0 || cellH <= 0 || image->width < static_cast<uint32_t>(cellW))
        return false;
    const uint32_t columns = image->width / static_cast<uint32_t>(cellW);

    int32_t x = point.x;
    const int32_t y = point.y - type->GetRaise();
    if (justify == PXJustify::Centre)
        x -= TextWidth(text, false) / 2;
    else if (justify == PXJustify::Right)
        x -= TextWidth(text, false);

    for (char raw : text) {
        const unsigned char c = type->MapChar(raw);
        const uint32_t g = type->GetGlyph(c);
        const uint32_t srcX = static_cast<uint32_t>(cellW) * (g % columns);
        const uint32_t srcY = static_cast<uint32_t>(cellH) * (g / columns);
        // A cell beyond the sheet (more chars than cells) would read outside the image.
        image = type->GetImage();
        if (image && srcY + static_cast<uint32_t>(cellH) <= image->height) {
            if (BlitGlyph(srcX, srcY, x, y, alpha, tint) != 1 && type->LoadSheet())
                BlitGlyph(srcX, srcY, x, y, alpha, tint);
        }
        x += type->GetAdvance(c);
    }
    return true;
}

int32_t PXEntity2DGUIFont::TextWidth(const std::string& text, bool includeTrailingSpaces) const
{
    PXEntity2DGUIFontType* type = FontType();
    int32_t width = 0;
    for (char c : text)
        width += type->GetAdvance(type->MapChar(c));
    if (!includeTrailingSpaces) {
        for (auto it = text.rbegin(); it != text.rend() && *it == ' '; ++it)
            width -= type->GetAdvance(' ');
    }
    return width;
}

void PXEntity2DGUIFont::FitText(std::string* out, const std::string& text, int32_t maxWidth) const
{
    if (!out)
        return;
    out->clear();
    int32_t width = 0;
    for (char c : text) {
        width += FontType()->GetAdvance(FontType()->MapChar(c));
        if (width >= maxWidth)
            break;
        out->push_back(c);
    }
}

void PXEntity2DGUIFont::FitTextWithEllipsis(std::string* out, const std::string& text, int32_t maxWidth) const
{
    if (!out)
        return;
    FitText(out, text, maxWidth);
    if (out->size() == text.size())
        return;
    const std::string ellipsis = Ellipsis;
    const int32_t room = maxWidth - TextWidth(ellipsis, true);
    if (room <= 0) {
        FitText(out, ellipsis, maxWidth);
        return;
    }
    FitText(out, text, room);
    out->erase(out->find_last_not_of(' ') + 1);
    *out += ellipsis;
}

void PXEntity2DGUIFont::WrapText(std::vector<std::string>* out, const std::string& text, int32_t wrapWidth,
                                 const std::string* indent, std::vector<size_t>* starts)
{
    if (!out)
        return;
    const bool useIndent = indent && !indent->empty() && static_cast<int64_t>(indent->size()) < wrapWidth;
    std::string line;
    size_t lineStart = 0;                // index in text of the line's first character
    size_t breakAt = std::string::npos;  // position in line of its last space
    auto emit = [&](const std::string& piece, size_t start) {
        out->push_back(piece);
        if (starts)
            starts->push_back(start);
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            emit(line, lineStart);
            line.clear();
            lineStart = i + 1;
            breakAt = std::string::npos;
            continue;
        }
        if (c == '\n') {
            if (line.empty())
                lineStart = i + 1;
            continue;
        }
        if (wrapWidth > 0 && static_cast<int64_t>(line.size()) >= wrapWidth) {
            if (breakAt != std::string::npos) {
                emit(line.substr(0, breakAt + 1), lineStart);
                const std::string rest = line.substr(breakAt + 1);
                lineStart = i - rest.size();
                line = (useIndent ? *indent : std::string()) + rest;
            } else {
                emit(line, lineStart);
                lineStart = i;
                line = useIndent ? *indent : std::string();
            }
            breakAt = std::string::npos;
        }
        if (c == ' ')
            breakAt = line.size();
        line.push_back(c);
    }
    if (!line.empty())
        emit(line, lineStart);
}
