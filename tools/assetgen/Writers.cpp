// Encoders for "IMST" image lists, bitmaps and WAV files, and the writer of the output tree.
#include "tools/assetgen/Writers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {

void Put16(Bytes& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// 4x4 Bayer thresholds in [0, 1).
float Bayer(int x, int y)
{
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[y & 3][x & 3] + 0.5f) / 16.0f;
}

int Quantise5(float v, float threshold)
{
    int q = static_cast<int>(std::floor(Clamp01(v) * 31.0f + threshold));
    return std::clamp(q, 0, 31);
}

// The five-bit channels of a pixel; {0, 0, 0} means the colour key.
void Channels(const Rgba& c, int x, int y, PixelMode mode, int out[3])
{
    float t = Bayer(x, y);
    if (mode == PixelMode::Keyed && c.a < 0.5f) {
        out[0] = out[1] = out[2] = 0;
        return;
    }
    float k = mode == PixelMode::Additive ? Clamp01(c.a) : 1.0f;
    out[0] = Quantise5(c.r * k, t);
    out[1] = Quantise5(c.g * k, t);
    out[2] = Quantise5(c.b * k, t);
    if (mode == PixelMode::Keyed && out[0] == 0 && out[1] == 0 && out[2] == 0)
        out[0] = out[1] = out[2] = 1;  // darkest visible grey, never the key
}

void PutBitmapHeader(Bytes& out, int width, int height, int depth, uint32_t paletteBytes, uint32_t pixelBytes)
{
    uint32_t offset = 54 + paletteBytes;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + pixelBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));  // positive: bottom row first
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(depth));
    Put32(out, 0);  // no compression
    Put32(out, pixelBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, depth == 8 ? 256 : 0);
    Put32(out, 0);
}

uint32_t Stride(int width, int bytesPerPixel)
{
    return (static_cast<uint32_t>(width * bytesPerPixel) + 3u) & ~3u;
}

}  // namespace

uint16_t To555(const Rgba& c, int x, int y, PixelMode mode)
{
    int ch[3];
    Channels(c, x, y, mode, ch);
    return static_cast<uint16_t>(ch[0] << 10 | ch[1] << 5 | ch[2]);
}

Bytes EncodeImageList(const std::vector<ListFrame>& frames)
{
    Bytes out = {'I', 'M', 'S', 'T'};
    Put32(out, 2);
    Put32(out, static_cast<uint32_t>(frames.size()));
    Put32(out, 0);  // no header colours: every frame is direct colour
    for (const ListFrame& f : frames) {
        Put32(out, static_cast<uint32_t>(f.name.size()));
        out.insert(out.end(), f.name.begin(), f.name.end());
        Put32(out, 15);
        Put32(out, static_cast<uint32_t>(f.picture.Width()));
        Put32(out, static_cast<uint32_t>(f.picture.Height()));
        Put32(out, 0);
        Put32(out, 0);
        const int h = f.picture.Height();
        for (int row = 0; row < h; ++row) {
            const int y = f.flipRows ? h - 1 - row : row;
            for (int x = 0; x < f.picture.Width(); ++x)
                Put16(out, To555(f.picture.At(x, y), x, y, f.mode));
        }
    }
    return out;
}

Bytes EncodeBitmap24(const Canvas& picture, PixelMode mode)
{
    const int w = picture.Width(), h = picture.Height();
    const uint32_t stride = Stride(w, 3);
    Bytes out;
    PutBitmapHeader(out, w, h, 24, 0, stride * static_cast<uint32_t>(h));
    for (int y = h - 1; y >= 0; --y) {
        size_t rowStart = out.size();
        for (int x = 0; x < w; ++x) {
            int ch[3];
            Channels(picture.At(x, y), x, y, mode, ch);
            // Bytes blue, green, red; the low bits repeat the high ones so 5-bit
            // steps span the full 0..255 range.
            for (int k = 2; k >= 0; --k)
                out.push_back(static_cast<uint8_t>(ch[k] << 3 | ch[k] >> 2));
        }
        out.resize(rowStart + stride, 0);
    }
    return out;
}

Bytes EncodeAlphaMask(const Canvas& picture)
{
    const int w = picture.Width(), h = picture.Height();
    const uint32_t stride = Stride(w, 1);
    Bytes out;
    PutBitmapHeader(out, w, h, 8, 1024, stride * static_cast<uint32_t>(h));
    for (int i = 0; i < 256; ++i) {
        out.push_back(static_cast<uint8_t>(i));
        out.push_back(static_cast<uint8_t>(i));
        out.push_back(static_cast<uint8_t>(i));
        out.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        size_t rowStart = out.size();
        for (int x = 0; x < w; ++x)
            out.push_back(static_cast<uint8_t>(std::lround(Clamp01(picture.At(x, y).a) * 255.0f)));
        out.resize(rowStart + stride, 0);
    }
    return out;
}

Bytes EncodeBitmap32(const Canvas& picture)
{
    const int w = picture.Width(), h = picture.Height();
    Bytes out;
    PutBitmapHeader(out, w, h, 32, 0, static_cast<uint32_t>(w * h * 4));
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgba& c = picture.At(x, y);
            out.push_back(static_cast<uint8_t>(std::lround(Clamp01(c.b) * 255.0f)));
            out.push_back(static_cast<uint8_t>(std::lround(Clamp01(c.g) * 255.0f)));
            out.push_back(static_cast<uint8_t>(std::lround(Clamp01(c.r) * 255.0f)));
            out.push_back(static_cast<uint8_t>(std::lround(Clamp01(c.a) * 255.0f)));
        }
    }
    return out;
}

Bytes EncodeWav(const std::vector<float>& samples, int channels, int rate)
{
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    Bytes out = {'R', 'I', 'F', 'F'};
    Put32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, static_cast<uint32_t>(channels));
    Put32(out, static_cast<uint32_t>(rate));
    Put32(out, static_cast<uint32_t>(rate * channels * 2));
    Put16(out, static_cast<uint32_t>(channels * 2));
    Put16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put32(out, dataBytes);
    for (float s : samples) {
        long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        Put16(out, static_cast<uint32_t>(static_cast<int16_t>(v)) & 0xFFFFu);
    }
    return out;
}

void OutputTree::Add(const std::string& path, Bytes bytes)
{
    m_files[path] = std::move(bytes);
}

void OutputTree::AddText(const std::string& path, const std::string& text)
{
    m_files[path] = Bytes(text.begin(), text.end());
}

int OutputTree::WriteAll(const std::string& root) const
{
    namespace fs = std::filesystem;
    for (const auto& [path, bytes] : m_files) {
        fs::path file = fs::path(root) / path;
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
        std::FILE* f = std::fopen(file.string().c_str(), "wb");
        if (!f) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", file.string().c_str());
            return 0;
        }
        bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        ok = std::fclose(f) == 0 && ok;
        if (!ok) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", file.string().c_str());
            return 0;
        }
    }
    return 1;
}
