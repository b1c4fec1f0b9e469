// Per-channel arithmetic on 16-bit 5-5-5 pixels. Each channel is worked on in place,
// without shifting it down; the masks below are the frame buffer's channels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Hot pixel loops get an AVX-512 (x86-64-v4) and an AVX2 clone, chosen at load time by
// what the processor has: the wider lanes nearly halve the pixel conversions, blends and
// the fire's loops. The clones need the loader's indirect functions (glibc), and the
// sanitizers dislike them.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
#define PX_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define PX_VECTOR_CLONES
#endif

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

// Blend worked on 5-bit channel values in 16-bit lanes, which vectorises well. For
// 0 <= a <= 256 it equals Blend: per channel both give D + floor((S - D) * a / 256).
inline uint16_t BlendNarrow(uint16_t d, uint16_t s, int16_t a)
{
    auto channel = [&](int shift) {
        const int16_t dc = static_cast<int16_t>((d >> shift) & 31);
        const int16_t sc = static_cast<int16_t>((s >> shift) & 31);
        const int16_t moved = static_cast<int16_t>(static_cast<int16_t>(sc - dc) * a);
        return static_cast<uint16_t>(static_cast<uint16_t>(dc + (moved >> 8)) << shift);
    };
    return static_cast<uint16_t>(channel(10) | channel(5) | channel(0));
}

// Scales each channel of s by its factor k/256, rounding half up.
inline uint16_t Modulate(uint32_t s, uint32_t kRed, uint32_t kGreen, uint32_t kBlue)
{
    auto channel = [&](uint32_t m, uint32_t k) { return (((s & m) * k + (m >> 1)) >> 8) & m; };
    return static_cast<uint16_t>(channel(RedMask, kRed) | channel(GreenMask, kGreen) | channel(BlueMask, kBlue));
}

// Modulate on 5-bit channel values in 16-bit lanes; for factors 0..256 it equals
// Modulate: per channel both give floor((S * k + 15) / 256).
inline uint16_t ModulateNarrow(uint16_t s, uint16_t kRed, uint16_t kGreen, uint16_t kBlue)
{
    auto channel = [&](int shift, uint16_t k) {
        const uint16_t sc = static_cast<uint16_t>((s >> shift) & 31);
        return static_cast<uint16_t>(static_cast<uint16_t>(static_cast<uint16_t>(sc * k + 15) >> 8) << shift);
    };
    return static_cast<uint16_t>(channel(10, kRed) | channel(5, kGreen) | channel(0, kBlue));
}

// SaturatingAdd on 5-bit channel values in 16-bit lanes.
inline uint16_t SaturatingAddNarrow(uint16_t d, uint16_t t)
{
    auto channel = [&](int shift) {
        const uint16_t sum = static_cast<uint16_t>(((d >> shift) & 31) + ((t >> shift) & 31));
        return static_cast<uint16_t>((sum < 31 ? sum : 31) << shift);
    };
    return static_cast<uint16_t>(channel(10) | channel(5) | channel(0));
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

// Stretches of weights worth working on. A weight of 0 leaves a pixel as it was, so whole
// blocks of 32 zero weights are skipped, and the stretches between them are whole blocks
// (the last may be shorter): a loop over a stretch then runs in full vector lanes from end
// to end, where uneven stretches would leave a slow scalar remainder on each.
constexpr size_t WeightBlock = 32;

inline bool ZeroWeights(const uint8_t* weights)
{
    uint64_t words[WeightBlock / 8];
    std::memcpy(words, weights, WeightBlock);
    return (words[0] | words[1] | words[2] | words[3]) == 0;
}

// The next stretch of weights[0, n) at or after *at that holds a non-zero block: true with
// it in [*from, *at), or false when none is left.
inline bool NextWeightedRun(const uint8_t* weights, size_t n, size_t* at, size_t* from)
{
    size_t i = *at;
    while (i + WeightBlock <= n && ZeroWeights(weights + i))
        i += WeightBlock;
    if (i >= n) {
        *at = n;
        return false;
    }
    *from = i;
    i = i + WeightBlock < n ? i + WeightBlock : n;
    while (i + WeightBlock <= n && !ZeroWeights(weights + i))
        i += WeightBlock;
    *at = i;
    return true;
}

} // namespace PXPixel
