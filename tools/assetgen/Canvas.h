// Floating-point RGBA pictures and the small painting toolkit the generator draws with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

inline Rgba MakeRgb(float r, float g, float b, float a = 1.0f)
{
    return Rgba{r, g, b, a};
}

float Clamp01(float v);
float Smooth(float e0, float e1, float x);
float Mix(float a, float b, float t);
Rgba Mix(const Rgba& a, const Rgba& b, float t);
Rgba Scale(const Rgba& c, float k);
Rgba Add(const Rgba& a, const Rgba& b);
float Luma(const Rgba& c);

// Deterministic hash noise: the same inputs give the same bytes on every run.
uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0);
float HashUnit(uint32_t a, uint32_t b = 0, uint32_t c = 0);  // [0, 1)
// Smooth value noise over a lattice that wraps every `period` cells, so textures tile.
float TileNoise(float x, float y, int period, uint32_t seed);
// Sum of octaves of TileNoise; each octave doubles the period, so the sum tiles too.
float TileFbm(float x, float y, int period, int octaves, uint32_t seed);

class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height, Rgba fill = Rgba{});

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    Rgba& At(int x, int y) { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    const Rgba& At(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }

    // Source-over compositing of one colour with coverage in [0, 1].
    void Blend(int x, int y, const Rgba& c, float coverage = 1.0f);
    // Adds light (for glows), keeping alpha.
    void AddLight(int x, int y, const Rgba& c, float amount);
    void Fill(const Rgba& c);
    void FillRect(int x, int y, int w, int h, const Rgba& c);
    // Anti-aliased rounded rectangle; `inset` > 0 paints only a border of that width.
    void RoundRect(float x, float y, float w, float h, float radius, const Rgba& c, float border = 0);
    void Disc(float cx, float cy, float radius, const Rgba& c);
    void Line(float x0, float y0, float x1, float y1, float width, const Rgba& c);
    // Composites another canvas over this one at (x, y).
    void Draw(const Canvas& src, int x, int y, float opacity = 1.0f);
    Canvas Flipped() const;
    Canvas Crop(int x, int y, int w, int h) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<Rgba> m_pixels;
};

// Signed distance from (px, py) to a rounded box; negative inside.
float RoundBoxDistance(float px, float py, float x, float y, float w, float h, float radius);
