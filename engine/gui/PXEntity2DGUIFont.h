// Class "font": a sprite whose image is a sheet of equal glyph cells, with the glyph and
// advance tables, string drawing, measuring, fitting and character-count wrapping.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/gui/PXEntity2DGUISprite.h"
#include "engine/gui/PXPropertyIds.h"

// Justification of a drawn string relative to its position.
namespace PXJustify {
constexpr int32_t Left = 1;
constexpr int32_t Right = 2;
constexpr int32_t Centre = 3;
}  // namespace PXJustify

class PXEntity2DGUIFontType : public PXEntity2DGUISpriteType {
public:
    // Limits of "charwidth"/"charheight" (and of "offsetx"/"offsety" either way) and of
    // "numfontelements".
    static constexpr int32_t MaxCellSize = 1024;
    static constexpr int32_t MaxWidthRows = 4096;

    explicit PXEntity2DGUIFontType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool Load(bool reload) override;
    bool IsA(uint32_t kind) const override;
    // Loads the sheet on first use and again only when the screen has lost its images since
    // the last attempt: a missing sheet stays missing, and every attempt reopens the file and
    // writes a log line (each text, each frame). True when it loaded.
    bool LoadSheet();

    int32_t GetCellWidth() const { return m_cellWidth; }
    int32_t GetCellHeight() const { return m_cellHeight; }
    // Pixels the cells are drawn above the text's position: room for the accents of
    // capitals, which rise above every other character, without moving the baseline.
    int32_t GetRaise() const { return m_raise; }
    bool IsNoLowercase() const { return m_noLowercase == 1; }
    uint8_t GetGlyph(unsigned char c) const { return m_glyphIndex[c]; }
    uint8_t GetAdvance(unsigned char c) const { return m_advance[c]; }
    // The character as the font draws it (capitals only with noLowercase).
    unsigned char MapChar(char c) const;

private:
    void BuildTables(const PXDefinitionBlock* block);

    std::string m_chars;
    int32_t m_cellWidth = 0;
    int32_t m_cellHeight = 0;
    int32_t m_raise = 0;
    std::array<uint8_t, 256> m_glyphIndex{};
    std::array<uint8_t, 256> m_advance{};
    int32_t m_noLowercase = 0;
    uint32_t m_loadedAtImagesLost = 0;  // the screen's count at the last Load
};

class PXEntity2DGUIFont : public PXEntity2DGUISprite {
public:
    explicit PXEntity2DGUIFont(PXEntityBaseType* type);

    bool GetProperty(int32_t id, int32_t* out) override;

    // Draws the string with its left end, right end or centre at the point (by justify);
    // tint may be null. False when the sheet cannot be loaded or has no usable cells.
    bool DrawText(const std::string& text, const PXPoint& point, int32_t justify, int32_t alpha,
                  const PXColor* tint);
    // Sum of the advances; without trailing spaces unless asked for.
    int32_t TextWidth(const std::string& text, bool includeTrailingSpaces) const;
    // The longest prefix whose width stays below maxWidth.
    void FitText(std::string* out, const std::string& text, int32_t maxWidth) const;
    // The text when its width stays below maxWidth; otherwise the longest prefix (without
    // trailing spaces) that leaves room for Ellipsis, followed by it.
    void FitTextWithEllipsis(std::string* out, const std::string& text, int32_t maxWidth) const;
    static constexpr const char* Ellipsis = "...";
    // Wraps at wrapWidth characters (indent counted), breaking after the last space when
    // there is one. CR ends a line, LF is skipped. starts, when given, receives the index
    // in text of each line's first character (for lines that start with the indent, the
    // character after it).
    static void WrapText(std::vector<std::string>* out, const std::string& text, int32_t wrapWidth,
                         const std::string* indent, std::vector<size_t>* starts = nullptr);

    int32_t GetCharWidth() const;
    int32_t GetLineHeight() const;
    // Pixels drawn above the position (accents on capitals).
    int32_t GetRaise() const { return FontType()->GetRaise(); }

private:
    PXEntity2DGUIFontType* FontType() const { return static_cast<PXEntity2DGUIFontType*>(m_type); }
    uint32_t BlitGlyph(uint32_t srcX, uint32_t srcY, int32_t x, int32_t y, int32_t alpha, const PXColor* tint);
};

using PXEntity2DGUIFontPrototype = PXEntityTypePrototypeFor<PXEntity2DGUIFontType>;
