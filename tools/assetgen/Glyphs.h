// Text from the DejaVu faces through FreeType: anti-aliased coverage, outlined and
// shaded styled text, and the glyph sheets of the bitmap fonts.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/assetgen/Canvas.h"

struct TextStyle {
    Rgba top = MakeRgb(1, 1, 1);     // fill colour at the cap height
    Rgba bottom = MakeRgb(1, 1, 1);  // fill colour at the baseline
    Rgba outline = MakeRgb(0.03f, 0.03f, 0.06f);
    float outlineRadius = 1.0f;
    int shadow = 1;  // drop-shadow offset in pixels (0: none)
};

// One face at one pixel size.
class Face {
public:
    Face();
    ~Face();
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    // 1 opened, 0 missing file or FreeType failure.
    int Open(const std::string& path, int pixelSize);
    int Ascent() const { return m_ascent; }
    int Descent() const { return m_descent; }
    int PixelSize() const { return m_size; }
    // Pen advance of a character, in whole pixels.
    int Advance(unsigned char c) const;
    int Width(const std::string& text) const;
    // Coverage of one glyph: pixels relative to the pen at (0, baseline).
    struct Glyph {
        bool present = false;  // the face has the character
        int left = 0, top = 0, width = 0, rows = 0, advance = 0;
        std::vector<uint8_t> coverage;
    };
    const Glyph& Get(unsigned char c) const;

private:
    struct State;
    std::unique_ptr<State> m_state;
    std::vector<Glyph> m_glyphs;
    int m_ascent = 0, m_descent = 0, m_size = 0;
};

// The text with its outline and shadow, tightly boxed; the pen starts at `Pad(style)` from
// the left and the baseline lies at Pad(style) + face.Ascent().
Canvas StyledText(const Face& face, const std::string& text, const TextStyle& style);
int Pad(const TextStyle& style);
// Draws styled text centred on (cx, baselineY).
void DrawCentred(Canvas& target, const Face& face, const std::string& text, const TextStyle& style, float cx,
                 float baselineY);

struct FontSheet {
    Canvas sheet;  // colours and coverage (alpha) of every cell
    int cellWidth = 0;
    int cellHeight = 0;
    int raise = 0;              // rows above the ASCII glyphs' tallest (accents on capitals)
    std::string chars;          // characters in cell order
    std::vector<int> advances;  // one per character of chars
};

// Glyph sheet of the printable Windows-1252 characters that the face has and a definition
// value can carry.
FontSheet BuildFontSheet(const Face& face, const TextStyle& style, int columns);
// A complete "font" definition for the sheet, with its FontWidth keys. A non-zero `offsetX`
// is written as "offsetx", which moves the nominal character width (cell + offset) that list
// boxes and text fields measure with; a monospaced sheet passes its advance minus the cell.
std::string FontDefinition(const FontSheet& font, const std::string& typeName, const std::string& imagePath,
                           const std::string& maskPath, int offsetX = 0);
