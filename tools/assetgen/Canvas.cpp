// Painting toolkit: colour arithmetic, tileable noise and anti-aliased shapes on RGBA canvases.
#include "tools/assetgen/Canvas.h"

#include <algorithm>
#include <cmath>

float Clamp01(float v)
{
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

float Smooth(float e0, float e1, float x)
{
    float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

float Mix(float a, float b, float t)
{
    return a + (b - a) * t;
}

Rgba Mix(const Rgba& a, const Rgba& b, float t)
{
    return Rgba{Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t), Mix(a.a, b.a, t)};
}

Rgba Scale(const Rgba& c, float k)
{
    return Rgba{c.r * k, c.g * k, c.b * k, c.a};
}

Rgba Add(const Rgba& a, const Rgba& b)
{
    return Rgba{a.r + b.r, a.g + b.g, a.b + b.b, a.a};
}

float Luma(const Rgba& c)
{
    return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
}

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c)
{
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float HashUnit(uint32_t a, uint32_t b, uint32_t c)
{
    return static_cast<float>(Hash(a, b, c) >> 8) / 16777216.0f;
}

float TileNoise(float x, float y, int period, uint32_t seed)
{
    float fx = std::floor(x);
    float fy = std::floor(y);
    float tx = x - fx;
    float ty = y - fy;
    auto wrap = [period](float v) {
        int i = static_cast<int>(v) % period;
        return static_cast<uint32_t>(i < 0 ? i + period : i);
    };
    uint32_t x0 = wrap(fx), x1 = wrap(fx + 1), y0 = wrap(fy), y1 = wrap(fy + 1);
    float sx = tx * tx * (3 - 2 * tx);
    float sy = ty * ty * (3 - 2 * ty);
    float a = Mix(HashUnit(x0, y0, seed), HashUnit(x1, y0, seed), sx);
    float b = Mix(HashUnit(x0, y1, seed), HashUnit(x1, y1, seed), sx);
    return Mix(a, b, sy);
}

float TileFbm(float x, float y, int period, int octaves, uint32_t seed)
{
    float sum = 0, weight = 0, amp = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * TileNoise(x, y, period, seed + static_cast<uint32_t>(o) * 101u);
        weight += amp;
        amp *= 0.5f;
        x *= 2;
        y *= 2;
        period *= 2;
    }
    return sum / weight;
}

Canvas::Canvas(int width, int height, Rgba fill)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, fill)
{
}

void Canvas::Blend(int x, int y, const Rgba& c, float coverage)
{
    if (!Inside(x, y))
        return;
    float a = Clamp01(c.a * coverage);
    if (a <= 0)
        return;
    Rgba& d = At(x, y);
    float outA = a + d.a * (1 - a);
    if (outA <= 0)
        return;
    d.r = (c.r * a + d.r * d.a * (1 - a)) / outA;
    d.g = (c.g * a + d.g * d.a * (1 - a)) / outA;
    d.b = (c.b * a + d.b * d.a * (1 - a)) / outA;
    d.a = outA;
}

void Canvas::AddLight(int x, int y, const Rgba& c, float amount)
{
    if (!Inside(x, y) || amount <= 0)
        return;
    Rgba& d = At(x, y);
    d.r += c.r * amount;
    d.g += c.g * amount;
    d.b += c.b * amount;
}

void Canvas::Fill(const Rgba& c)
{
    std::fill(m_pixels.begin(), m_pixels.end(), c);
}

void Canvas::FillRect(int x, int y, int w, int h, const Rgba& c)
{
    for (int j = std::max(0, y); j < std::min(m_height, y + h); ++j)
        for (int i = std::max(0, x); i < std::min(m_width, x + w); ++i)
            Blend(i, j, c);
}

float RoundBoxDistance(float px, float py, float x, float y, float w, float h, float radius)
{
    float cx = x + w * 0.5f, cy = y + h * 0.5f;
    float qx = std::fabs(px - cx) - (w * 0.5f - radius);
    float qy = std::fabs(py - cy) - (h * 0.5f - radius);
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

void Canvas::RoundRect(float x, float y, float w, float h, float radius, const Rgba& c, float border)
{
    int x0 = std::max(0, static_cast<int>(std::floor(x - 1)));
    int y0 = std::max(0, static_cast<int>(std::floor(y - 1)));
    int x1 = std::min(m_width, static_cast<int>(std::ceil(x + w + 1)));
    int y1 = std::min(m_height, static_cast<int>(std::ceil(y + h + 1)));
    for (int j = y0; j < y1; ++j) {
        for (int i = x0; i < x1; ++i) {
            float d = RoundBoxDistance(i + 0.5f, j + 0.5f, x, y, w, h, radius);
            float cov = Clamp01(0.5f - d);
            if (border > 0)
                cov = std::min(cov, Clamp01(d + border + 0.5f));
            Blend(i, j, c, cov);
        }
    }
}

void Canvas::Disc(float cx, float cy, float radius, const Rgba& c)
{
    for (int j = static_cast<int>(cy - radius - 1); j <= static_cast<int>(cy + radius + 1); ++j) {
        for (int i = static_cast<int>(cx - radius - 1); i <= static_cast<int>(cx + radius + 1); ++i) {
            float dx = i + 0.5f - cx, dy = j + 0.5f - cy;
            Blend(i, j, c, Clamp01(radius + 0.5f - std::sqrt(dx * dx + dy * dy)));
        }
    }
}

void Canvas::Line(float x0, float y0, float x1, float y1, float width, const Rgba& c)
{
    float minX = std::min(x0, x1) - width, maxX = std::max(x0, x1) + width;
    float minY = std::min(y0, y1) - width, maxY = std::max(y0, y1) + width;
    float dx = x1 - x0, dy = y1 - y0;
    float len2 = std::max(dx * dx + dy * dy, 1e-6f);
    const float len = std::sqrt(len2);
    for (int j = static_cast<int>(std::floor(minY)); j <= static_cast<int>(maxY); ++j) {
        // Only the span of the row near the line, so long diagonals stay cheap.
        float from = minX, to = maxX;
        if (std::fabs(dy) > 1e-3f) {
            float xc = x0 + (j + 0.5f - y0) * dx / dy;
            float half = (width * 0.5f + 1.5f) * len / std::fabs(dy);
            from = std::max(minX, xc - half);
            to = std::min(maxX, xc + half);
        }
        for (int i = static_cast<int>(std::floor(from)); i <= static_cast<int>(to); ++i) {
            float px = i + 0.5f - x0, py = j + 0.5f - y0;
            float t = Clamp01((px * dx + py * dy) / len2);
            float ex = px - t * dx, ey = py - t * dy;
            float d = std::sqrt(ex * ex + ey * ey);
            Blend(i, j, c, Clamp01(width * 0.5f + 0.5f - d));
        }
    }
}

void Canvas::Draw(const Canvas& src, int x, int y, float opacity)
{
    for (int j = 0; j < src.Height(); ++j)
        for (int i = 0; i < src.Width(); ++i)
            Blend(x + i, y + j, src.At(i, j), opacity);
}

Canvas Canvas::Flipped() const
{
    Canvas out(m_width, m_height);
    for (int j = 0; j < m_height; ++j)
        for (int i = 0; i < m_width; ++i)
            out.At(i, j) = At(i, m_height - 1 - j);
    return out;
}

Canvas Canvas::Crop(int x, int y, int w, int h) const
{
    Canvas out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (Inside(x + i, y + j))
                out.At(i, j) = At(x + i, y + j);
    return out;
}
