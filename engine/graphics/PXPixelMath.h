// Per-channel arithmetic on 16-bit 5-5-5 pixels. Each channel is worked on in place,
// without shifting it down; the masks below are the frame buffer's channels.
#pragma once

#include <cstdint>

namespace PXPixel {

constexpr int32_t RedMask = 0x7C00;
constexpr int32_t GreenMask = 0x03E0;
constexpr int32_t BlueMask = 0x001F;

// Moves d toward s by a/256 per channel; the shift rounds toward minus infinity.
inline uint16_t Blend(uint32_t d, uint32_t s, int32_t a)
{
    const int32_t di = static_cast<int32_t>(d);
    const int32_t si = static_cast<int32_t>(s);
    auto channel = [&](int32_t m) {
        return ((di & m) + ((((si & m) - (di & m)) * a) >> 8)) & m;
    };
    return static_cast<uint16_t>(channel(RedMask) | channel(GreenMask) | channel(BlueMask));
}

// Scales each channel of s by its factor k/256, rounding half up.
inline uint16_t Modulate(uint32_t s, uint32_t kRed, uint32_t kGreen, uint32_t kBlue)
{
    auto channel = [&](uint32_t m, uint32_t k) { return (((s & m) * k + (m >> 1)) >> 8) & m; };
    return static_cast<uint16_t>(channel(RedMask, kRed) | channel(GreenMask, kGreen) | channel(BlueMask, kBlue));
}

// Adds per channel and clamps each at its maximum.
inline uint16_t SaturatingAdd(uint32_t d, uint32_t t)
{
    auto channel = [&](uint32_t m) {
        const uint32_t sum = (d & m) + (t & m);
        return sum < m ? sum : m;
    };
    return static_cast<uint16_t>(channel(RedMask) | channel(GreenMask) | channel(BlueMask));
}

// Adds per channel; a carry out of a channel is lost, so bright values wrap to dark ones.
inline uint16_t WrappingAdd(uint32_t s, uint32_t t)
{
    auto channel = [&](uint32_t m) { return ((s & m) + (t & m)) & m; };
    return static_cast<uint16_t>(channel(RedMask) | channel(GreenMask) | channel(BlueMask));
}

} // namespace PXPixel
