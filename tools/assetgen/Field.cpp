// Pictures of the play field: tileable backgrounds, numbered side banners, the explosion
// burst and the hint shimmer with its flipped twin.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/Pictures.h"

namespace {

constexpr float Pi = 3.14159265f;
constexpr int Tile = 96;

// Base hue of each level look: dark and calm, so the gems stand out.
Rgba LookBase(int look)
{
    static const Rgba bases[LevelLooks] = {
        MakeRgb(0.055f, 0.075f, 0.15f), MakeRgb(0.03f, 0.10f, 0.11f),  MakeRgb(0.08f, 0.085f, 0.10f),
        MakeRgb(0.11f, 0.05f, 0.08f),   MakeRgb(0.07f, 0.045f, 0.12f), MakeRgb(0.04f, 0.09f, 0.06f),
        MakeRgb(0.11f, 0.08f, 0.045f),  MakeRgb(0.05f, 0.05f, 0.13f),
    };
    return bases[look % LevelLooks];
}

// A value around 0 (about -1..1) describing the texture of a look at a tile position.
float LookPattern(int look, float x, float y)
{
    const uint32_t seed = static_cast<uint32_t>(look + 40);
    const float w = 2 * Pi / Tile;
    switch (look % LevelLooks) {
    case 0:  // soft clouds
        return (TileFbm(x / 24.0f, y / 24.0f, 4, 4, seed) - 0.5f) * 2.2f;
    case 1:  // diagonal weave
        return 0.5f * std::sin((x + y) * w * 6) * std::sin((x - y) * w * 6) +
               (TileFbm(x / 16.0f, y / 16.0f, 6, 3, seed) - 0.5f);
    case 2:  // brushed
        return (TileFbm(x / 48.0f, y / 3.0f, 2, 3, seed) - 0.5f) * 2.0f;
    case 3: {  // faint veins
        float f = TileFbm(x / 32.0f, y / 32.0f, 3, 4, seed);
        return std::pow(1.0f - std::fabs(std::sin((x + y) * w * 2 + f * 8.0f)), 8.0f) * 1.2f + (f - 0.5f);
    }
    case 4: {  // glowing dot grid
        float dx = std::fmod(x, 16.0f) - 8.0f, dy = std::fmod(y, 16.0f) - 8.0f;
        return std::exp(-(dx * dx + dy * dy) / 3.0f) * 1.3f +
               (TileFbm(x / 32.0f, y / 32.0f, 3, 3, seed) - 0.5f);
    }
    case 5:  // velvet
        return (TileFbm(x / 12.0f, y / 12.0f, 8, 2, seed) - 0.5f) * 1.2f +
               (TileFbm(x / 48.0f, y / 48.0f, 2, 2, seed + 7) - 0.5f) * 1.4f;
    case 6: {  // nested diamonds
        float d = std::fabs(x - 48.0f) + std::fabs(y - 48.0f);
        return 0.6f * std::cos(d * 2 * Pi / 12.0f) + (TileFbm(x / 24.0f, y / 24.0f, 4, 3, seed) - 0.5f);
    }
    default: {  // sparse stars over a faint nebula
        float star = 0;
        int ix = static_cast<int>(x), iy = static_cast<int>(y);
        if (HashUnit(static_cast<uint32_t>(ix), static_cast<uint32_t>(iy), seed) > 0.992f)
            star = 2.5f;
        return star + (TileFbm(x / 32.0f, y / 32.0f, 3, 4, seed) - 0.5f) * 2.0f;
    }
    }
}

// The pattern of every look over one tile, computed once: banners reuse it.
float CachedPattern(int look, int x, int y)
{
    static std::vector<float> table;
    if (table.empty()) {
        table.resize(static_cast<size_t>(LevelLooks) * Tile * Tile);
        for (int l = 0; l < LevelLooks; ++l)
            for (int j = 0; j < Tile; ++j)
                for (int i = 0; i < Tile; ++i)
                    table[(static_cast<size_t>(l) * Tile + j) * Tile + i] =
                        LookPattern(l, i + 0.5f, j + 0.5f);
    }
    return table[(static_cast<size_t>(look % LevelLooks) * Tile + (y % Tile)) * Tile + (x % Tile)];
}

Canvas Background(int look)
{
    Canvas c(Tile, Tile);
    Rgba base = LookBase(look);
    Rgba light = Mix(base, MakeRgb(0.5f, 0.55f, 0.7f), 0.12f);
    for (int y = 0; y < Tile; ++y) {
        for (int x = 0; x < Tile; ++x) {
            float p = CachedPattern(look, x, y);
            Rgba px = Add(base, Scale(Add(light, Scale(base, -1.0f)), 0.35f * p));
            px = Scale(px, 1.0f + 0.16f * p);
            px.a = 1;
            c.At(x, y) = px;
        }
    }
    return c;
}

// A small triangle outline used as decoration, pointing up or down.
void TriangleOutline(Canvas& c, float cx, float cy, float size, bool up, const Rgba& colour, float width)
{
    float h = size * 0.875f;
    float top = up ? cy - h * 0.5f : cy + h * 0.5f;
    float bottom = up ? cy + h * 0.5f : cy - h * 0.5f;
    c.Line(cx, top, cx - size * 0.5f, bottom, width, colour);
    c.Line(cx, top, cx + size * 0.5f, bottom, width, colour);
    c.Line(cx - size * 0.5f, bottom, cx + size * 0.5f, bottom, width, colour);
}

Canvas Banner(int level, const Faces& faces)
{
    const int look = (level - 1) % LevelLooks;
    const int w = 112, h = 480;
    Canvas c(w, h);
    Rgba base = Scale(LookBase(look), 1.35f);
    Rgba accent = Mix(PieceColour(look % 6), MakeRgb(1, 1, 1), 0.3f);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float p = CachedPattern(look, x, y);
            float v = 0.85f + 0.3f * std::sin(Pi * (y + 0.5f) / h);
            Rgba px = Scale(base, v * (1.0f + 0.14f * p));
            // Darker towards the outer edges frame the field.
            float edge = std::min(x + 0.5f, w - x - 0.5f);
            px = Scale(px, 0.75f + 0.25f * Smooth(0.0f, 10.0f, edge));
            px.a = 1;
            c.At(x, y) = px;
        }
    }
    // Bevelled inner frame.
    c.RoundRect(6, 6, w - 12, h - 12, 6, MakeRgb(1, 1, 1, 0.10f), 1.0f);
    c.RoundRect(7, 7, w - 14, h - 14, 5, MakeRgb(0, 0, 0, 0.35f), 1.0f);
    // A column of faint triangles above and below the number.
    Rgba deco = accent;
    deco.a = 0.16f;
    for (int i = 0; i < 5; ++i) {
        TriangleOutline(c, 56, 40.0f + i * 30.0f, 22, i % 2 == 0, deco, 1.4f);
        TriangleOutline(c, 56, 440.0f - i * 30.0f, 22, i % 2 == 0, deco, 1.4f);
    }
    // The plaque with the level's number.
    c.RoundRect(12, 192, 88, 96, 10, MakeRgb(0, 0, 0, 0.35f));
    Rgba ring = accent;
    ring.a = 0.55f;
    c.RoundRect(12, 192, 88, 96, 10, ring, 1.5f);
    TextStyle labelStyle;
    labelStyle.top = MakeRgb(0.85f, 0.88f, 0.95f);
    labelStyle.bottom = MakeRgb(0.65f, 0.7f, 0.8f);
    DrawCentred(c, faces.label, "LEVEL", labelStyle, 56, 214);
    TextStyle numberStyle;
    numberStyle.top = Mix(accent, MakeRgb(1, 1, 1), 0.6f);
    numberStyle.bottom = accent;
    numberStyle.outlineRadius = 2.0f;
    numberStyle.shadow = 2;
    DrawCentred(c, faces.big, std::to_string(level), numberStyle, 56, 272);
    return c;
}

Canvas Explosion(int frame, int frames)
{
    const int size = 64;
    Canvas c(size, size);
    const float t = (frame + 0.5f) / frames;
    const float cx = 32, cy = 32;
    auto heat = [](float k) {
        // White through yellow and orange to a dull red as k falls.
        if (k > 0.66f)
            return Mix(MakeRgb(1.0f, 0.85f, 0.4f), MakeRgb(1, 1, 0.95f), (k - 0.66f) / 0.34f);
        if (k > 0.33f)
            return Mix(MakeRgb(1.0f, 0.45f, 0.1f), MakeRgb(1.0f, 0.85f, 0.4f), (k - 0.33f) / 0.33f);
        return Mix(MakeRgb(0.5f, 0.1f, 0.05f), MakeRgb(1.0f, 0.45f, 0.1f), k / 0.33f);
    };
    const float ringR = 5.0f + 24.0f * std::sqrt(t);
    const float fade = 1.0f - t;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            float r = std::sqrt(dx * dx + dy * dy);
            float core = std::exp(-r * r / (2.0f * std::pow(3.0f + 9.0f * t, 2.0f))) * fade * fade * 1.2f;
            float ring = std::exp(-std::pow((r - ringR) / (1.5f + 2.0f * t), 2.0f)) * std::pow(fade, 0.7f);
            float e = core + ring;
            if (e <= 0.004f)
                continue;
            Rgba col = heat(Clamp01(core * 1.2f + 0.55f * fade));
            col.a = Clamp01(e);
            c.At(x, y) = col;
        }
    }
    // Sparks flying out on fixed paths.
    for (int i = 0; i < 24; ++i) {
        float angle = 2 * Pi * (i + HashUnit(static_cast<uint32_t>(i), 7)) / 24.0f;
        float speed = 0.6f + 0.4f * HashUnit(static_cast<uint32_t>(i), 11);
        float r1 = 4.0f + 27.0f * speed * std::sqrt(t);
        float r0 = std::max(2.0f, r1 - 6.0f * fade - 1.0f);
        Rgba spark = heat(fade);
        spark.a = 0.9f * fade;
        float ca = std::cos(angle), sa = std::sin(angle);
        for (float s = r0; s <= r1; s += 0.5f) {
            int px = static_cast<int>(cx + ca * s), py = static_cast<int>(cy + sa * s);
            if (!c.Inside(px, py))
                continue;
            Rgba& d = c.At(px, py);
            float k = (s - r0) / std::max(0.5f, r1 - r0);
            float a = spark.a * (0.4f + 0.6f * k);
            if (a > d.a) {
                d = spark;
                d.a = a;
            }
        }
    }
    return c;
}

Canvas Shimmer(int frame, int frames)
{
    Canvas c(32, 28);
    // The band (x + 0.45 y = u) enters at the bottom-left corner and leaves at the right.
    const float u = 9.0f + 37.0f * frame / (frames - 1);
    const float fade = std::sin(Pi * (frame + 0.5f) / frames);
    for (int y = 0; y < 28; ++y) {
        for (int x = 0; x < 32; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            if (std::fabs(px - 16.0f) > py * 16.0f / 28.0f)
                continue;
            float d = px + 0.45f * py - u;
            float band = std::exp(-d * d / 14.0f);
            float glow = 0.10f * fade;
            float e = Clamp01(0.8f * band + glow);
            if (e < 0.01f)
                continue;
            Rgba col = MakeRgb(1.0f, 0.97f, 0.88f, e);
            c.At(x, y) = col;
        }
    }
    return c;
}

}  // namespace

void AddFieldPictures(OutputTree& out, const Faces& faces)
{
    std::vector<ListFrame> backgrounds;
    for (int look = 0; look < LevelLooks; ++look)
        backgrounds.push_back(
            ListFrame{"Field" + std::to_string(look + 1), Background(look), PixelMode::Opaque});
    out.Add("Shardfall/Images/backgrounds.img", EncodeImageList(backgrounds));

    std::vector<ListFrame> banners;
    for (int level = 1; level <= BannerCount; ++level)
        banners.push_back(
            ListFrame{"Level" + std::to_string(level), Banner(level, faces), PixelMode::Opaque});
    out.Add("Shardfall/Images/banners.img", EncodeImageList(banners));

    const int exploFrames = 12;
    std::vector<ListFrame> explo;
    for (int f = 0; f < exploFrames; ++f)
        explo.push_back(
            ListFrame{"Burst" + std::to_string(f + 1), Explosion(f, exploFrames), PixelMode::Additive});
    out.Add("Shardfall/Images/explo.img", EncodeImageList(explo));

    const int shimmerFrames = 10;
    std::vector<ListFrame> shimmer, flipped;
    for (int f = 0; f < shimmerFrames; ++f) {
        Canvas s = Shimmer(f, shimmerFrames);
        flipped.push_back(ListFrame{"ShimmerDown" + std::to_string(f + 1), s, PixelMode::Additive, true});
        shimmer.push_back(ListFrame{"Shimmer" + std::to_string(f + 1), std::move(s), PixelMode::Additive});
    }
    out.Add("Shardfall/Images/shimmer.img", EncodeImageList(shimmer));
    out.Add("Shardfall/Images/shimmerflipped.img", EncodeImageList(flipped));
}
