// Jewel triangles: seven colours in eight looks, each colour with its own inner motif.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/assetgen/Pictures.h"

namespace {

constexpr float TriW = 32.0f;
constexpr float TriH = 28.0f;
const float EdgeLen = std::sqrt(16.0f * 16.0f + TriH * TriH);
// Outward normals of the left and right edges.
const float NX = TriH / EdgeLen;   // 0.868
const float NY = 16.0f / EdgeLen;  // 0.496
const float InRadius = (TriW * TriH * 0.5f) / ((2 * EdgeLen + TriW) * 0.5f);
const float CentreY = TriH - InRadius;

struct Vec3 {
    float x, y, z;
};

Vec3 Normalise(Vec3 v)
{
    float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return Vec3{v.x / l, v.y / l, v.z / l};
}

float Dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Light from the left and the front, with no vertical part, so that the flipped
// (down-pointing) triangle is lit the same way.
const Vec3 Light = Normalise(Vec3{-0.6f, 0.0f, 0.8f});
const Vec3 Half = Normalise(Vec3{-0.6f, 0.0f, 1.8f});

// Geometry of a pixel centre within the triangle.
struct Where {
    float d[3];   // distance inside from the left, right and bottom edge
    float ox[3];  // outward normals of those edges
    float oy[3];
    int nearest;  // index of the closest edge
    float dmin;
    bool inside;
};

Where Locate(float px, float py)
{
    Where w{};
    float ax = px - 16.0f, ay = py;
    w.d[0] = -(ax * -NX + ay * -NY);
    w.d[1] = -(ax * NX + ay * -NY);
    w.d[2] = TriH - py;
    w.ox[0] = -NX, w.oy[0] = -NY;
    w.ox[1] = NX, w.oy[1] = -NY;
    w.ox[2] = 0, w.oy[2] = 1;
    w.nearest = 0;
    for (int i = 1; i < 3; ++i)
        if (w.d[i] < w.d[w.nearest])
            w.nearest = i;
    w.dmin = w.d[w.nearest];
    w.inside = w.dmin >= 0;
    return w;
}

// A normal tilted towards the nearest edge by `slope`.
Vec3 TiltedNormal(const Where& w, float slope)
{
    return Normalise(Vec3{w.ox[w.nearest] * slope, w.oy[w.nearest] * slope, 1.0f});
}

struct Lit {
    float diffuse, spec;
};

Lit Shade(Vec3 n, float shininess)
{
    float diff = std::max(0.0f, Dot(n, Light));
    float spec = std::pow(std::max(0.0f, Dot(n, Half)), shininess);
    return Lit{diff, spec};
}

Rgba Shaded(const Rgba& base, Vec3 n, float ambient, float shininess, float specAmount)
{
    Lit l = Shade(n, shininess);
    float k = ambient + (1.0f - ambient) * l.diffuse * 1.15f;
    Rgba c = Scale(base, k);
    return Add(c, Scale(MakeRgb(1, 1, 1), l.spec * specAmount));
}

// Motifs, centred on the incentre: vertically symmetric, so they survive the flip.
// Returns coverage in [0, 1].
float Motif(int colour, float dx, float dy)
{
    auto band = [](float d, float half) { return Clamp01(half + 0.5f - std::fabs(d)); };
    float r = std::sqrt(dx * dx + dy * dy);
    switch (colour) {
    case 0:  // blue: ring
        return band(r - 3.0f, 0.75f);
    case 1:  // green: plus
        return std::max(std::min(band(dx, 0.8f), band(dy, 3.6f)), std::min(band(dy, 0.8f), band(dx, 3.6f)));
    case 2:  // orange: filled diamond
        return Clamp01(3.6f + 0.5f - (std::fabs(dx) + std::fabs(dy)));
    case 3: {  // purple: cross
        float u = (dx + dy) * 0.7071f, v = (dx - dy) * 0.7071f;
        return std::max(std::min(band(u, 0.8f), band(v, 3.8f)), std::min(band(v, 0.8f), band(u, 3.8f)));
    }
    case 4:  // red: dot
        return Clamp01(2.4f + 0.5f - r);
    case 5:  // yellow: two horizontal bars
        return std::min(band(dx, 3.4f), std::max(band(dy - 1.8f, 0.65f), band(dy + 1.8f, 0.65f)));
    default:
        return 0;
    }
}

Rgba LookColour(int colour, int look, float px, float py, const Where& w)
{
    const Rgba base = PieceColour(colour);
    const bool gray = colour == 6;
    const uint32_t seed = static_cast<uint32_t>(look * 17 + colour * 3 + 1);
    switch (look) {
    case 0: {  // facets: table, crown facets and a bright rim
        Vec3 n;
        if (w.dmin < 1.6f)
            n = TiltedNormal(w, 1.4f);
        else if (w.dmin < 5.2f)
            n = TiltedNormal(w, 0.55f);
        else
            n = Vec3{0, 0, 1};
        Rgba c = Shaded(base, n, 0.42f, 40.0f, gray ? 0.25f : 0.55f);
        // Fine sparkle lines where facets meet.
        float seam = std::fabs(w.dmin - 5.2f);
        if (seam < 0.5f)
            c = Mix(c, Scale(base, 1.25f), 0.5f);
        return c;
    }
    case 1: {  // glass: dark clear body, glowing edges, a streak of reflected light
        float edge = std::exp(-w.dmin * 0.45f);
        Rgba c = Mix(Scale(base, 0.38f), Scale(base, 1.2f), edge);
        float streak = px * 0.55f + py * 0.28f;
        float s = Smooth(0.0f, 1.0f, 1.0f - std::fabs(streak - 11.0f) / 2.2f) * Smooth(2.0f, 4.0f, w.dmin);
        c = Add(c, Scale(MakeRgb(1, 1, 1), 0.45f * s));
        if (w.dmin < 1.0f)
            c = Mix(c, MakeRgb(1, 1, 1), w.nearest == 0 ? 0.55f : 0.2f);
        return c;
    }
    case 2: {  // brushed metal with a heavy bevel
        float streaks = TileFbm(px * 0.12f, py * 1.5f, 8, 3, seed);
        Rgba metal = Mix(base, MakeRgb(Luma(base), Luma(base), Luma(base)), 0.45f);
        Vec3 n = w.dmin < 3.0f ? TiltedNormal(w, 1.0f) : Vec3{0, 0, 1};
        Rgba c = Shaded(Scale(metal, 0.6f + 0.75f * streaks), n, 0.5f, 60.0f, 0.8f);
        // A broad sheen across the brushed face.
        float sheen = std::exp(-std::pow((py - 13.0f) / 4.0f, 2.0f)) * Smooth(3.0f, 4.5f, w.dmin);
        c = Add(c, Scale(MakeRgb(1, 1, 1), 0.22f * sheen));
        if (w.dmin >= 3.0f && w.dmin < 3.8f)
            c = Scale(c, 0.55f);  // the groove inside the bevel
        return c;
    }
    case 3: {  // marble: veins through a soft dome
        float f = TileFbm(px * 0.12f, py * 0.12f, 8, 4, seed);
        float vein = std::pow(1.0f - std::fabs(std::sin((px * 0.18f + py * 0.09f + f * 5.0f))), 6.0f);
        Rgba stone = Mix(Scale(base, 0.85f), Mix(base, MakeRgb(1, 1, 1), 0.55f), vein * 0.8f);
        stone = Scale(stone, 0.9f + 0.2f * f);
        Vec3 n = TiltedNormal(w, w.dmin < 2.5f ? 0.9f : 0.12f);
        return Shaded(stone, n, 0.55f, 25.0f, 0.3f);
    }
    case 4: {  // neon: a dark core with a glowing rim and an inner line
        float rim = std::exp(-std::pow((w.dmin - 1.6f) / 1.1f, 2.0f));
        float inner = std::exp(-std::pow((w.dmin - 5.5f) / 0.6f, 2.0f)) * 0.45f;
        Rgba glow = Mix(base, MakeRgb(1, 1, 1), 0.35f);
        float depth = Clamp01(w.dmin / InRadius);
        Rgba c = Scale(base, 0.62f - 0.22f * depth);
        c = Mix(c, glow, Clamp01(rim + inner));
        return c;
    }
    case 5: {  // cabochon: a round polished dome with a sharp highlight
        float dx = px - 16.0f, dy = py - CentreY;
        float r = std::sqrt(dx * dx + dy * dy) + 1e-3f;
        float s = Clamp01(1.0f - w.dmin / InRadius);
        float slope = 1.6f * s / std::sqrt(std::max(0.08f, 1.0f - s * s * 0.9f));
        Vec3 n = Normalise(Vec3{dx / r * slope, dy / r * slope, 1.0f});
        Rgba c = Shaded(Mix(base, MakeRgb(1, 1, 1), 0.08f), n, 0.3f, 90.0f, gray ? 0.4f : 1.1f);
        if (w.dmin < 1.0f)
            c = Scale(c, 0.55f);  // a dark setting around the stone
        return c;
    }
    case 6: {  // terraced crystal: stepped rings, each step catching the light
        float step = std::fmod(w.dmin, 2.6f);
        float level = std::floor(w.dmin / 2.6f);
        Vec3 n = step < 0.9f ? TiltedNormal(w, 1.1f) : Vec3{0, 0, 1};
        Rgba c = Shaded(Scale(base, 0.75f + 0.1f * level), n, 0.45f, 30.0f, 0.45f);
        return c;
    }
    default: {  // pearl: pastel satin with a rainbow rim
        float t = Clamp01(w.dmin / InRadius);
        Rgba pastel = Mix(base, MakeRgb(1, 1, 1), gray ? 0.1f : 0.18f);
        Rgba c = Mix(Scale(pastel, 0.72f), pastel, Smooth(0.0f, 0.8f, t));
        float band = std::exp(-std::pow((px - 12.0f + (py - 14.0f) * 0.25f) / 3.5f, 2.0f)) *
                     Smooth(1.0f, 3.0f, w.dmin);
        c = Add(c, Scale(MakeRgb(1, 1, 1), 0.2f * band));
        if (w.dmin < 1.6f) {
            float hue = (px + py) * 0.25f;
            Rgba irid = MakeRgb(0.6f + 0.4f * std::sin(hue), 0.6f + 0.4f * std::sin(hue + 2.1f),
                                0.6f + 0.4f * std::sin(hue + 4.2f));
            c = Mix(c, irid, 0.45f);
        }
        return c;
    }
    }
}

}  // namespace

Rgba PieceColour(int colour)
{
    // Lightness falls from yellow to purple in clear steps, so the colours also
    // differ in a grey picture.
    static const Rgba colours[7] = {
        MakeRgb(0.20f, 0.42f, 1.00f),  // blue    (luma 0.42)
        MakeRgb(0.22f, 0.78f, 0.30f),  // green   (0.56)
        MakeRgb(1.00f, 0.60f, 0.08f),  // orange  (0.66)
        MakeRgb(0.32f, 0.07f, 0.55f),  // purple  (0.20)
        MakeRgb(0.85f, 0.08f, 0.08f),  // red     (0.31)
        MakeRgb(1.00f, 0.93f, 0.35f),  // yellow  (0.89)
        MakeRgb(0.58f, 0.60f, 0.64f),  // gray
    };
    return colours[std::clamp(colour, 0, 6)];
}

Canvas TrianglePicture(int colour, int look)
{
    Canvas c(32, 28);
    const Rgba base = PieceColour(colour);
    const bool lightMotif = Luma(base) < 0.5f;
    for (int y = 0; y < 28; ++y) {
        for (int x = 0; x < 32; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            Where w = Locate(px, py);
            if (!w.inside)
                continue;
            Rgba p = LookColour(colour, look, px, py, w);
            float m = Motif(colour, px - 16.0f, py - CentreY);
            if (m > 0) {
                Rgba mark = lightMotif ? Mix(base, MakeRgb(1, 1, 1), 0.75f) : Scale(base, 0.25f);
                if (look == 4)
                    mark = Mix(base, MakeRgb(1, 1, 1), 0.5f);
                p = Mix(p, mark, 0.85f * m);
            }
            p.a = 1.0f;
            c.At(x, y) = p;
        }
    }
    return c;
}

void AddTriangles(OutputTree& out)
{
    static const char* names[7] = {"Blue", "Green", "Orange", "Purple", "Red", "Yellow", "Gray"};
    for (int colour = 0; colour < 7; ++colour) {
        std::vector<ListFrame> frames;
        for (int look = 0; look < LevelLooks; ++look)
            frames.push_back(ListFrame{std::string(names[colour]) + std::to_string(look + 1),
                                       TrianglePicture(colour, look), PixelMode::Keyed});
        out.Add(std::string("Shardfall/Images/Tri_") + names[colour] + ".img", EncodeImageList(frames));
    }
}
