// The icon: a gem-cut diamond of a blue and a gold triangle, the game's two pieces of one
// piece, drawn as vectors at every size (no scaled bitmap), so small sizes stay crisp.
#include "tools/assetgen/Icons.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "tools/assetgen/Canvas.h"

namespace {

// The sizes the icon theme and the Windows icon carry.
constexpr int IconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Diamond half-widths (of the unit square) and its centre.
constexpr float HalfW = 0.40f, HalfH = 0.47f, Centre = 0.5f;

// Colour of the icon at (u, v) in the unit square; alpha 0 outside the gem.
Rgba Shade(float u, float v)
{
    const float du = (u - Centre) / HalfW, dv = (v - Centre) / HalfH;
    const float outer = std::fabs(du) + std::fabs(dv);
    if (outer > 1.0f) {
        return Rgba{};
    }
    const bool upper = v < Centre;
    const bool left = u < Centre;
    Rgba base = upper ? MakeRgb(0.22f, 0.50f, 1.0f) : MakeRgb(1.0f, 0.74f, 0.16f);
    // Light from the upper left: facets facing it are brighter.
    const float facet = (left ? 1.12f : 0.80f) * (upper ? 1.0f : 0.88f);
    base = Scale(base, facet * (1.05f - 0.25f * std::fabs(dv)));
    // The table: a smaller, lighter diamond in the middle.
    const float inner = std::fabs(du) / 0.45f + std::fabs(dv) / 0.40f;
    if (inner < 1.0f) {
        base = Mix(base, MakeRgb(1, 1, 1), upper ? 0.30f : 0.22f);
    }
    // A dark rim so the shape reads on light and dark panels alike.
    if (outer > 0.90f) {
        base = Scale(base, 0.45f);
    }
    // A small gleam on the upper-left facet.
    const float gu = u - 0.38f, gv = v - 0.30f;
    const float gleam = std::max(0.0f, 1.0f - std::sqrt(gu * gu + gv * gv) / 0.07f);
    base = Mix(base, MakeRgb(1, 1, 1), 0.8f * gleam);
    base.r = Clamp01(base.r);
    base.g = Clamp01(base.g);
    base.b = Clamp01(base.b);
    base.a = 1.0f;
    return base;
}

// Straight-alpha RGBA bytes, rows top down; 4 x 4 samples a pixel smooth the edges.
std::vector<uint8_t> DrawIcon(int size)
{
    constexpr int Samples = 4;
    std::vector<uint8_t> pixels(static_cast<size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < Samples; ++sy) {
                for (int sx = 0; sx < Samples; ++sx) {
                    const Rgba c = Shade((x + (sx + 0.5f) / Samples) / size, (y + (sy + 0.5f) / Samples) / size);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            uint8_t* p = &pixels[(static_cast<size_t>(y) * size + x) * 4];
            const float coverage = a / (Samples * Samples);
            auto channel = [a](float sum) {
                return static_cast<uint8_t>(std::lround(255.0f * (a > 0 ? sum / a : 0.0f)));
            };
            p[0] = channel(r);
            p[1] = channel(g);
            p[2] = channel(b);
            p[3] = static_cast<uint8_t>(std::lround(255.0f * coverage));
        }
    }
    return pixels;
}

bool EncodePng(const std::vector<uint8_t>& rgba, int size, std::vector<uint8_t>& out)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(size);
    image.height = static_cast<png_uint_32>(size);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t bytes = 0;
    if (!png_image_write_to_memory(&image, nullptr, &bytes, 0, rgba.data(), 0, nullptr)) {
        std::fprintf(stderr, "assetgen: PNG of %d px: %s\n", size, image.message);
        return false;
    }
    out.resize(bytes);
    if (!png_image_write_to_memory(&image, out.data(), &bytes, 0, rgba.data(), 0, nullptr)) {
        std::fprintf(stderr, "assetgen: PNG of %d px: %s\n", size, image.message);
        return false;
    }
    out.resize(bytes);
    return true;
}

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// An icon image as a Windows bitmap: header with doubled height, BGRA rows bottom up, then
// the 1-bit transparency mask (rows padded to 32 bits). Every Windows version reads these.
std::vector<uint8_t> EncodeIconBitmap(const std::vector<uint8_t>& rgba, int size)
{
    std::vector<uint8_t> out;
    const uint32_t maskStride = ((static_cast<uint32_t>(size) + 31) / 32) * 4;
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(size));
    Put32(out, static_cast<uint32_t>(size) * 2);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(size * size * 4) + maskStride * size);
    for (int i = 0; i < 4; ++i) {
        Put32(out, 0);
    }
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const uint8_t* p = &rgba[(static_cast<size_t>(y) * size + x) * 4];
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < size; ++x) {
            if (rgba[(static_cast<size_t>(y) * size + x) * 4 + 3] == 0) {
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// ".ico": a directory of images; the 256-pixel one stays PNG (Windows Vista and later).
std::vector<uint8_t> EncodeIco(const std::vector<std::vector<uint8_t>>& images)
{
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = IconSizes[i];
        out.push_back(static_cast<uint8_t>(size >= 256 ? 0 : size));
        out.push_back(static_cast<uint8_t>(size >= 256 ? 0 : size));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& image : images) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int WriteIcons(const std::string& folder)
{
    std::vector<std::vector<uint8_t>> icoImages;
    for (const int size : IconSizes) {
        const std::vector<uint8_t> rgba = DrawIcon(size);
        std::vector<uint8_t> png;
        if (!EncodePng(rgba, size, png) ||
            !WriteFile(folder + "/shardfall-" + std::to_string(size) + ".png", png)) {
            return 0;
        }
        icoImages.push_back(size >= 256 ? png : EncodeIconBitmap(rgba, size));
    }
    return WriteFile(folder + "/shardfall.ico", EncodeIco(icoImages)) ? 1 : 0;
}
