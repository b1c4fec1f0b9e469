// Encoders for the game's file formats: "IMST" image lists, Windows bitmaps, PCM WAV,
// plus the output tree that collects every file the generator writes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/assetgen/Canvas.h"

using Bytes = std::vector<uint8_t>;

// How a picture's alpha becomes pixels. The engine keys on pixel value 0.
enum class PixelMode {
    Opaque,    // alpha ignored; black may turn into the key (only for unkeyed blits)
    Keyed,     // alpha < 0.5 becomes 0; every other pixel is kept non-zero
    Additive,  // colour times alpha; black adds nothing, so 0 is harmless
};

// One pixel in 5-5-5 with ordered dithering, so gradients do not band on the 15-bit screen.
uint16_t To555(const Rgba& c, int x, int y, PixelMode mode);

struct ListFrame {
    std::string name;
    Canvas picture;
    PixelMode mode = PixelMode::Keyed;
    // Written upside down after quantising, so a flipped twin has exactly the pixels of
    // the upright frame (dithering follows the picture, not the file position).
    bool flipRows = false;
};

// Version 2 list with 15-bit frames (5-5-5, top row first) and no header colours.
Bytes EncodeImageList(const std::vector<ListFrame>& frames);
// 24-bit bitmap whose channels are already quantised to 5 bits, so the engine's
// conversion keeps the dithered values.
Bytes EncodeBitmap24(const Canvas& picture, PixelMode mode);
// 8-bit bitmap with a grey palette: index = coverage, as the masked blits read it.
Bytes EncodeAlphaMask(const Canvas& picture);
// 32-bit bitmap with straight alpha in the fourth byte (the window icon).
Bytes EncodeBitmap32(const Canvas& picture);
// 16-bit PCM WAV from samples in [-1, 1].
Bytes EncodeWav(const std::vector<float>& samples, int channels, int rate);

// The generated tree: relative path -> bytes, written out in one go.
class OutputTree {
public:
    void Add(const std::string& path, Bytes bytes);
    void AddText(const std::string& path, const std::string& text);
    const std::map<std::string, Bytes>& Files() const { return m_files; }
    // Writes every file under root; 1 on success, 0 on the first failure.
    int WriteAll(const std::string& root) const;

private:
    std::map<std::string, Bytes> m_files;
};
