// The scaling modes' layout arithmetic and the whole-factor enlargement to 32-bit pixels.
#include "engine/graphics/PXScaleLayout.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "engine/graphics/PXPixelMath.h"

namespace {

// Division rounding toward minus infinity, so positions left of the view stay outside it.
int32_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return static_cast<int32_t>(q);
}

// 5-5-5 to 0x00RRGGBB, each channel widened from 5 bits to 8 so that full intensity stays
// full (31 -> 255).
inline uint32_t ToXRGB(uint32_t p)
{
    const uint32_t r = (p >> 10) & 31, g = (p >> 5) & 31, b = p & 31;
    return (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
}

// A row of pixels converted in a loop the compiler vectorises. Each channel c is widened
// as (c * 33) >> 2, which equals (c << 3) | (c >> 2) for c < 32, taken as the high half of
// one 16-bit product with the channel left where it lies in the pixel: the whole row then
// stays in 16-bit lanes (vector high-half multiplies), twice the pixels per instruction
// of shifts on 32-bit lanes.
PX_VECTOR_CLONES
void RowToXRGB(const uint16_t* __restrict src, uint32_t* __restrict dst, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        const uint32_t p = src[i];
        // r << 10 times 528 / 65536 is r * 33 / 4; g << 5 times 16896 / 65536 and b << 11
        // (the shift in 16 bits drops red and green) times 264 / 65536 are the same.
        const uint32_t r = ((p & 0x7C00u) * 528u) >> 16;
        const uint32_t g = ((p & 0x03E0u) * 16896u) >> 16;
        const uint32_t b = ((static_cast<uint16_t>(p << 11)) * 264u) >> 16;
        dst[i] = (r << 16) | static_cast<uint16_t>((g << 8) | b);
    }
}

const char* const ModeNames[] = {"sharp", "pixel", "smooth"};

}  // namespace

bool PXParseScaleMode(const std::string& text, PXScaleMode* out)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    const size_t last = text.find_last_not_of(" \t\r\n");
    std::string lower = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (PXScaleMode mode : {PXScaleMode::Sharp, PXScaleMode::Pixel, PXScaleMode::Smooth}) {
        if (lower == PXScaleModeName(mode)) {
            if (out != nullptr)
                *out = mode;
            return true;
        }
    }
    return false;
}

const char* PXScaleModeName(PXScaleMode mode)
{
    return ModeNames[static_cast<int>(mode)];
}

PXRect PXLetterbox(int32_t areaWidth, int32_t areaHeight, int32_t frameWidth, int32_t frameHeight)
{
    if (areaWidth < 1 || areaHeight < 1 || frameWidth < 1 || frameHeight < 1)
        return PXRect{0, std::max(areaWidth, 0), 0, std::max(areaHeight, 0)};
    int64_t width = areaWidth;
    int64_t height = static_cast<int64_t>(areaWidth) * frameHeight / frameWidth;
    if (height > areaHeight) {
        height = areaHeight;
        width = static_cast<int64_t>(areaHeight) * frameWidth / frameHeight;
    }
    const int32_t left = static_cast<int32_t>((areaWidth - width) / 2);
    const int32_t top = static_cast<int32_t>((areaHeight - height) / 2);
    return PXRect{left, left + static_cast<int32_t>(width), top, top + static_cast<int32_t>(height)};
}

PXPoint PXViewToFrame(const PXRect& view, int32_t frameWidth, int32_t frameHeight, int32_t x, int32_t y)
{
    const int64_t viewW = std::max(view.right - view.left, 1);
    const int64_t viewH = std::max(view.bottom - view.top, 1);
    return PXPoint{FloorDiv((static_cast<int64_t>(x) - view.left) * frameWidth, viewW),
                   FloorDiv((static_cast<int64_t>(y) - view.top) * frameHeight, viewH)};
}

PXPoint PXFrameToView(const PXRect& view, int32_t frameWidth, int32_t frameHeight, int32_t x, int32_t y)
{
    const int64_t viewW = view.right - view.left;
    const int64_t viewH = view.bottom - view.top;
    const int64_t fw = std::max(frameWidth, 1);
    const int64_t fh = std::max(frameHeight, 1);
    return PXPoint{view.left + FloorDiv((2 * static_cast<int64_t>(x) + 1) * viewW, 2 * fw),
                   view.top + FloorDiv((2 * static_cast<int64_t>(y) + 1) * viewH, 2 * fh)};
}

PXScaleLayout PXScaleLayout::Compute(PXScaleMode mode, int32_t outputWidth, int32_t outputHeight,
                                     int32_t frameWidth, int32_t frameHeight, int32_t maxFactor)
{
    PXScaleLayout layout;
    layout.frameWidth = frameWidth;
    layout.frameHeight = frameHeight;
    layout.view = PXLetterbox(outputWidth, outputHeight, frameWidth, frameHeight);
    if (frameWidth < 1 || frameHeight < 1 || outputWidth < 1 || outputHeight < 1 || mode == PXScaleMode::Smooth)
        return layout;
    const int32_t whole = std::min({outputWidth / frameWidth, outputHeight / frameHeight, maxFactor, LargestFactor});
    layout.factor = std::max(whole, 1);
    if (mode == PXScaleMode::Pixel && whole >= 1) {
        const int32_t left = (outputWidth - frameWidth * whole) / 2;
        const int32_t top = (outputHeight - frameHeight * whole) / 2;
        layout.view = PXRect{left, left + frameWidth * whole, top, top + frameHeight * whole};
    }
    return layout;
}

uint32_t PXToXRGB(uint16_t pixel)
{
    return ToXRGB(pixel);
}

void PXEnlargeToXRGB(const uint8_t* pixels, size_t pitch, const PXRect& rect, int32_t factor, uint8_t* out,
                     size_t outPitch)
{
    if (rect.IsEmpty() || factor < 1)
        return;
    const size_t width = static_cast<size_t>(rect.right - rect.left);
    const size_t rowBytes = width * static_cast<size_t>(factor) * 4;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const auto* src =
            reinterpret_cast<const uint16_t*>(pixels + static_cast<size_t>(y) * pitch) + rect.left;
        uint8_t* first = out + static_cast<size_t>(y - rect.top) * static_cast<size_t>(factor) * outPitch;
        uint32_t* dst = reinterpret_cast<uint32_t*>(first);
        if (factor == 1) {
            RowToXRGB(src, dst, width);
            continue;
        }
        for (size_t x = 0; x < width; ++x) {
            const uint32_t shown = ToXRGB(src[x]);
            for (int32_t i = 0; i < factor; ++i)
                *dst++ = shown;
        }
        // The other rows of the squares are copies of the first.
        for (int32_t i = 1; i < factor; ++i)
            std::memcpy(first + static_cast<size_t>(i) * outPitch, first, rowBytes);
    }
}
