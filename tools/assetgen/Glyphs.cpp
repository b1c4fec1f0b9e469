// FreeType glyph rendering, outlined text and bitmap-font sheets with their advance tables.
#include "tools/assetgen/Glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/core/PXCodePage1252.h"

struct Face::State {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

Face::Face() = default;

Face::~Face()
{
    if (m_state) {
        if (m_state->face)
            FT_Done_Face(m_state->face);
        if (m_state->library)
            FT_Done_FreeType(m_state->library);
    }
}

int Face::Open(const std::string& path, int pixelSize)
{
    m_state = std::make_unique<State>();
    if (FT_Init_FreeType(&m_state->library) != 0)
        return 0;
    if (FT_New_Face(m_state->library, path.c_str(), 0, &m_state->face) != 0) {
        std::fprintf(stderr, "assetgen: cannot open font %s\n", path.c_str());
        return 0;
    }
    FT_Face face = m_state->face;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0)
        return 0;
    m_size = pixelSize;
    m_ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    m_descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
    m_glyphs.assign(256, Glyph{});
    // Glyphs are indexed by the game's Windows-1252 bytes.
    for (int c = 32; c < 256; ++c) {
        const FT_ULong codePoint = CodePage1252ToUnicode(static_cast<unsigned char>(c));
        if (c == 127 || codePoint == 0 || FT_Get_Char_Index(face, codePoint) == 0)
            continue;
        if (FT_Load_Char(face, codePoint, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
            continue;
        FT_GlyphSlot slot = face->glyph;
        Glyph& g = m_glyphs[static_cast<size_t>(c)];
        g.present = true;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = static_cast<int>(slot->bitmap.width);
        g.rows = static_cast<int>(slot->bitmap.rows);
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        g.coverage.resize(static_cast<size_t>(g.width) * g.rows);
        for (int y = 0; y < g.rows; ++y)
            for (int x = 0; x < g.width; ++x)
                g.coverage[static_cast<size_t>(y) * g.width + x] =
                    slot->bitmap.buffer[y * slot->bitmap.pitch + x];
    }
    return 1;
}

const Face::Glyph& Face::Get(unsigned char c) const
{
    static const Glyph empty;
    return c < m_glyphs.size() ? m_glyphs[c] : empty;
}

int Face::Advance(unsigned char c) const
{
    return Get(c).advance;
}

int Face::Width(const std::string& text) const
{
    int w = 0;
    for (char c : text)
        w += Advance(static_cast<unsigned char>(c));
    return w;
}

int Pad(const TextStyle& style)
{
    return static_cast<int>(std::ceil(style.outlineRadius)) + 1;
}

namespace {

// Coverage of a run of text with the pen starting at (penX, baseline).
void StampCoverage(std::vector<float>& cov, int w, int h, const Face& face, const std::string& text, int penX,
                   int baseline)
{
    for (char ch : text) {
        const Face::Glyph& g = face.Get(static_cast<unsigned char>(ch));
        for (int y = 0; y < g.rows; ++y) {
            for (int x = 0; x < g.width; ++x) {
                int px = penX + g.left + x, py = baseline - g.top + y;
                if (px < 0 || py < 0 || px >= w || py >= h)
                    continue;
                float v = g.coverage[static_cast<size_t>(y) * g.width + x] / 255.0f;
                float& d = cov[static_cast<size_t>(py) * w + px];
                d = std::min(1.0f, d + v);
            }
        }
        penX += g.advance;
    }
}

// Colours a coverage map: fill gradient between capTop and baseline, outline by dilation,
// a soft shadow below right.
Canvas Colourise(const std::vector<float>& fill, int w, int h, const TextStyle& style, int capTop,
                 int baseline)
{
    Canvas out(w, h);
    const float r = style.outlineRadius;
    const int ri = static_cast<int>(std::ceil(r));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float f = fill[static_cast<size_t>(y) * w + x];
            float o = 0;
            for (int dy = -ri; dy <= ri; ++dy) {
                for (int dx = -ri; dx <= ri; ++dx) {
                    int sx = x + dx, sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= w || sy >= h)
                        continue;
                    float weight = Clamp01(r + 0.5f - std::sqrt(static_cast<float>(dx * dx + dy * dy)));
                    o = std::max(o, fill[static_cast<size_t>(sy) * w + sx] * weight);
                }
            }
            if (style.shadow > 0) {
                int sx = x - style.shadow, sy = y - style.shadow;
                if (sx >= 0 && sy >= 0)
                    o = std::max(o, 0.8f * fill[static_cast<size_t>(sy) * w + sx]);
            }
            float a = std::max(f, o);
            if (a <= 0)
                continue;
            float t = Clamp01((y + 0.5f - capTop) / std::max(1, baseline - capTop));
            Rgba fc = Mix(style.top, style.bottom, t);
            float k = f / a;
            Rgba c = Mix(style.outline, fc, k);
            c.a = a;
            out.At(x, y) = c;
        }
    }
    return out;
}

}  // namespace

Canvas StyledText(const Face& face, const std::string& text, const TextStyle& style)
{
    const int pad = Pad(style) + style.shadow;
    const int w = face.Width(text) + 2 * pad;
    const int h = face.Ascent() + face.Descent() + 2 * pad;
    std::vector<float> cov(static_cast<size_t>(w) * h, 0.0f);
    const int baseline = Pad(style) + face.Ascent();
    StampCoverage(cov, w, h, face, text, Pad(style), baseline);
    int capTop = baseline - face.Get('H').top;
    return Colourise(cov, w, h, style, capTop, baseline);
}

void DrawCentred(Canvas& target, const Face& face, const std::string& text, const TextStyle& style, float cx,
                 float baselineY)
{
    Canvas t = StyledText(face, text, style);
    int x = static_cast<int>(std::lround(cx - face.Width(text) * 0.5f)) - Pad(style);
    int y = static_cast<int>(std::lround(baselineY)) - Pad(style) - face.Ascent();
    target.Draw(t, x, y);
}

FontSheet BuildFontSheet(const Face& face, const TextStyle& style, int columns)
{
    FontSheet font;
    // Cell 0 is '?', which the font also shows for characters it lacks. Braces would
    // upset the definition reader's nesting and a backslash its escapes, so they are left out.
    // Then every Windows-1252 character above 127 that the face has.
    font.chars = "?";
    for (int c = 32; c < 256; ++c)
        if (c != '?' && c != '{' && c != '}' && c != '\\' && face.Get(static_cast<unsigned char>(c)).present)
            font.chars += static_cast<char>(c);
    // Cells hold the tallest and deepest glyph, the outline and the shadow, and no more,
    // so a small face still fits a 15-pixel table row.
    const int pad = static_cast<int>(std::ceil(style.outlineRadius));
    int widest = 0, maxTop = 0, maxBottom = 0, asciiTop = 0;
    for (char c : font.chars) {
        const Face::Glyph& g = face.Get(static_cast<unsigned char>(c));
        widest = std::max(widest, std::max(g.advance, g.left + g.width));
        if (g.rows > 0) {
            maxTop = std::max(maxTop, g.top);
            maxBottom = std::max(maxBottom, g.rows - g.top);
            if (static_cast<unsigned char>(c) < 128)
                asciiTop = std::max(asciiTop, g.top);
        }
    }
    font.cellWidth = widest + 2 * pad + style.shadow;
    font.cellHeight = maxTop + maxBottom + 2 * pad + style.shadow;
    // Accented capitals rise above every ASCII glyph: the cells are drawn that much higher
    // and the line height leaves it out, so ASCII text sits and spaces as it would without them.
    font.raise = maxTop - asciiTop;
    const int count = static_cast<int>(font.chars.size());
    const int rows = (count + columns - 1) / columns;
    const int w = columns * font.cellWidth, h = rows * font.cellHeight;
    std::vector<float> cov(static_cast<size_t>(w) * h, 0.0f);
    std::vector<float> cell(static_cast<size_t>(font.cellWidth) * font.cellHeight);
    const int baseline = pad + maxTop;
    for (int i = 0; i < count; ++i) {
        std::fill(cell.begin(), cell.end(), 0.0f);
        std::string one(1, font.chars[static_cast<size_t>(i)]);
        StampCoverage(cell, font.cellWidth, font.cellHeight, face, one, pad, baseline);
        int ox = (i % columns) * font.cellWidth, oy = (i / columns) * font.cellHeight;
        for (int y = 0; y < font.cellHeight; ++y)
            for (int x = 0; x < font.cellWidth; ++x)
                cov[static_cast<size_t>(oy + y) * w + ox + x] =
                    cell[static_cast<size_t>(y) * font.cellWidth + x];
        // One pixel of spacing keeps neighbouring outlines from merging.
        font.advances.push_back(face.Advance(static_cast<unsigned char>(font.chars[static_cast<size_t>(i)])) +
                                (style.outlineRadius >= 1.5f ? 1 : 0));
    }
    // Colourise cell by cell so dilation never bleeds into a neighbouring cell.
    font.sheet = Canvas(w, h);
    int capTop = baseline - face.Get('H').top;
    for (int i = 0; i < count; ++i) {
        int ox = (i % columns) * font.cellWidth, oy = (i / columns) * font.cellHeight;
        for (int y = 0; y < font.cellHeight; ++y)
            for (int x = 0; x < font.cellWidth; ++x)
                cell[static_cast<size_t>(y) * font.cellWidth + x] =
                    cov[static_cast<size_t>(oy + y) * w + ox + x];
        Canvas c = Colourise(cell, font.cellWidth, font.cellHeight, style, capTop, baseline);
        for (int y = 0; y < font.cellHeight; ++y)
            for (int x = 0; x < font.cellWidth; ++x)
                font.sheet.At(ox + x, oy + y) = c.At(x, y);
    }
    return font;
}

std::string FontDefinition(const FontSheet& font, const std::string& typeName, const std::string& imagePath,
                           const std::string& maskPath, int offsetX)
{
    std::string out;
    out += "# Generated by assetgen: glyph sheet " + imagePath + " and its coverage mask.\n";
    out += "# A value that starts with a space, \"=\" or \"#\" would lose that character, so\n";
    out += "# those widths carry a leading byte 0xA0, which the char-code reader skips (the\n";
    out += "# row of 0xA0 itself, the no-break space, has the comma right after it).\n";
    out += "# Characters above 127 are Windows-1252.\n";
    out += "class = font\n";
    out += "type = " + typeName + "\n";
    out += "image = \"" + imagePath + "\"\n";
    out += "alphaimage = \"" + maskPath + "\"\n";
    out += "transparent = 1\n";
    // Unquoted, so the double quote among the characters is kept as it stands.
    out += "chars = " + font.chars + "\n";
    out += "charwidth = " + std::to_string(font.cellWidth) + "\n";
    out += "charheight = " + std::to_string(font.cellHeight) + "\n";
    if (offsetX != 0)
        out += "offsetx = " + std::to_string(offsetX) + "\n";
    if (font.raise != 0) {
        out += "offsety = " + std::to_string(-font.raise) + "\n";
        out += "raise = " + std::to_string(font.raise) + "\n";
    }
    out += "numfontelements = " + std::to_string(font.chars.size()) + "\n";
    for (size_t i = 0; i < font.chars.size(); ++i) {
        char c = font.chars[i];
        std::string value;
        if (c == ' ' || c == '=' || c == '#')
            value = "\xA0";
        value += c;
        if (c != ',')
            value += ",";
        value += std::to_string(font.advances[i]);
        out += "FontWidth" + std::to_string(i + 1) + " = " + value + "\n";
    }
    return out;
}
