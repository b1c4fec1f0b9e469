// The particle fire simulation: palette schemes, particle motion with gravity changes, random
// effects and steering, heat streaks, edge feed, propagation with row flags, sparks and output.
#include "engine/gui/PXFireSimulation.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "engine/core/PXRandom.h"
#include "engine/graphics/PXBitmap.h"
#include "engine/graphics/PXPixelMath.h"

namespace {

constexpr float Pi = 3.14159265358979f;
constexpr float TwoPi = 2.0f * Pi;
// How far a steering particle turns towards its bearing per step.
constexpr float SteerRate = 0.05f;
// A heat value above this in the burn image is stamped into the fire.
constexpr uint8_t BurnThreshold = 10;

uint8_t ToByte(int32_t value)
{
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// New values of cells [from, to) of a row: the average of three source cells and the
// target cell, less the fade, floored at 0 (and capped at 255, which only a negative fade
// can pass).
PX_VECTOR_CLONES
void AverageCells(const uint8_t* __restrict s, const uint8_t* __restrict d, uint8_t* __restrict next, int32_t from,
                  int32_t to, int32_t fade)
{
    if (fade >= 0 && fade <= UINT16_MAX) {
        // Four cells sum to at most 1020 and the result cannot pass 255: the loop stays in
        // 16-bit lanes, twice the cells per instruction of the general one below.
        const auto f = static_cast<uint16_t>(fade);
        for (int32_t k = from; k < to; ++k) {
            const auto sum = static_cast<uint16_t>(s[k - 1] + s[k] + s[k + 1] + d[k]);
            next[k] = static_cast<uint8_t>(sum > f ? static_cast<uint16_t>(sum - f) >> 2 : 0);
        }
        return;
    }
    for (int32_t k = from; k < to; ++k) {
        const int32_t sum = s[k - 1] + s[k] + s[k + 1] + d[k] - fade;
        const int32_t v = sum < 0 ? 0 : sum >> 2;
        next[k] = static_cast<uint8_t>(v > 255 ? 255 : v);
    }
}

// Which groups of four cells of a target row take new values, as a mask a group wide: a
// group whose source cells are hot, or whose source was hot in the previous row (the flag);
// the flag then records this row's source. Flags and answers are masks (all ones or 0), so
// the loop runs in vector lanes. Returns whether any group is taken.
PX_VECTOR_CLONES
bool TakeGroups(const uint8_t* __restrict source, uint32_t* __restrict flags, uint32_t* __restrict take,
                size_t groups)
{
    uint32_t any = 0;
    for (size_t g = 0; g < groups; ++g) {
        uint32_t four;
        std::memcpy(&four, source + 4 * g, sizeof four);
        const uint32_t hot = four != 0 ? 0xFFFFFFFFu : 0u;
        take[g] = hot | flags[g];
        any |= take[g];
        flags[g] = hot;
    }
    return any != 0;
}

// The new values of the taken groups over the target row; the others keep theirs.
PX_VECTOR_CLONES
void KeepTaken(uint8_t* __restrict target, const uint8_t* __restrict next, const uint32_t* __restrict take,
               size_t groups)
{
    for (size_t g = 0; g < groups; ++g) {
        uint32_t old, fresh;
        std::memcpy(&old, target + 4 * g, sizeof old);
        std::memcpy(&fresh, next + 4 * g, sizeof fresh);
        const uint32_t kept = (fresh & take[g]) | (old & ~take[g]);
        std::memcpy(target + 4 * g, &kept, sizeof kept);
    }
}

// Colours of a run of heat cells from the pixel table, widened to 32 bits so that the
// look-ups can be gathered in vector lanes.
PX_VECTOR_CLONES
void LookUpColours(const uint8_t* __restrict heat, const uint32_t* __restrict table, uint16_t* __restrict out,
                   size_t n)
{
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<uint16_t>(table[heat[i]]);
}

// Blends each colour over the output by its heat (0..255) where both are not zero
// (BlendNarrow equals Blend for weights 0..256).
PX_VECTOR_CLONES
void BlendByHeat(uint16_t* __restrict out, const uint16_t* __restrict colours, const uint8_t* __restrict heat,
                 size_t n)
{
    for (size_t x = 0; x < n; ++x) {
        const uint16_t c = colours[x];
        const int16_t h = heat[x];
        const uint16_t blended = PXPixel::BlendNarrow(out[x], c, h);
        out[x] = (c != 0 && h != 0) ? blended : out[x];
    }
}

}  // namespace

bool PXFireSimulation::IsValidSize(int32_t width, int32_t height)
{
    return width >= MinWidth && height >= MinHeight && width <= MaxSide && height <= MaxSide;
}

void PXFireSimulation::BuildPalette(int32_t scheme, PXColor out[256])
{
    for (int32_t i = 0; i < 256; ++i) {
        int32_t blue = 0, green = 0, red = 0;
        const bool low = i < 128;
        switch (scheme) {
        case 1:
            blue = low ? 2 * i : 255;
            green = i;
            red = 0;
            break;
        case 2:
            blue = i;
            green = low ? i >> 1 : i - 64;
            red = green;
            break;
        case 3:
            blue = low ? i >> 2 : i - 96;
            green = i;
            red = blue;
            break;
        case 4:
            blue = low ? i >> 1 : i - 64;
            green = blue;
            red = low ? 2 * i : 255;
            break;
        default:
            blue = 0;
            green = i;
            red = low ? 2 * i : 255;
            break;
        }
        out[i] = MakeColor(ToByte(red), ToByte(green), ToByte(blue), 255);
    }
    // The hottest 32 entries fade to white.
    for (int32_t j = 0; j < 32; ++j) {
        PXColor& c = out[224 + j];
        auto fade = [j](uint8_t v) { return static_cast<uint8_t>((v * (31 - j) + 255 * (j + 1)) >> 5); };
        c.blue = fade(c.blue);
        c.green = fade(c.green);
        c.red = fade(c.red);
    }
}

bool PXFireSimulation::Init(const PXFireSettings& settings)
{
    ReleaseBitmap(m_heat);
    m_particles.clear();
    m_rowFlags.reset();
    m_rowScratch.reset();
    m_groupTake.reset();
    m_renderScratch.reset();
    if (!IsValidSize(settings.width, settings.height))
        return false;
    m_settings = settings;
    m_settings.particleCount = std::clamp(settings.particleCount, 0, MaxParticles);
    // A shift by a negative or huge count is undefined; 8 already makes every feed value 0.
    m_settings.flameHalf = std::clamp(settings.flameHalf, 0, MaxFlameHalf);

    BuildPalette(m_settings.colorScheme, m_palette);
    std::fill(std::begin(m_pixels), std::end(m_pixels), uint16_t{0});
    std::fill(std::begin(m_widePixels), std::end(m_widePixels), uint32_t{0});

    const int32_t w = m_settings.width;
    const int32_t h = m_settings.height;
    m_particles.resize(static_cast<size_t>(m_settings.particleCount));
    for (PXFireParticle& p : m_particles) {
        p.x = static_cast<float>(RandomInt(w - 10) + 5);
        p.y = static_cast<float>(RandomInt(h - 6) + 3);
        p.prevX = p.x;
        p.prevY = p.y;
        p.heat = static_cast<uint8_t>(RandomInt(128) + 127);
    }
    m_followLeader = RandomInt(2) == 1;
    m_smallGroups = RandomInt(2) == 1;
    m_gravityApplies = RandomInt(2) == 1;
    RandomInt(2);  // drawn and unused; keeps the sequence of draws stable
    m_upsideDown = false;
    m_followMouse = false;
    m_gravityTimer = 0.0f;
    m_gx = 0.0f;
    m_gy = 0.0f;
    m_swirl = 3.0f;

    if (AllocateBitmap(m_heat, static_cast<uint32_t>(w), static_cast<uint32_t>(h), 8) != 1 || !m_heat.data) {
        ReleaseBitmap(m_heat);
        m_particles.clear();
        return false;
    }
    m_stride = static_cast<uint32_t>(w);
    m_rowFlags = std::make_unique<uint32_t[]>(static_cast<size_t>(w));
    m_rowScratch = std::make_unique<uint8_t[]>(static_cast<size_t>(w));
    m_groupTake = std::make_unique<uint32_t[]>(static_cast<size_t>(w / 4 + 1));
    m_renderScratch = std::make_unique<uint16_t[]>(static_cast<size_t>(w));
    return true;
}

float PXFireSimulation::RandomCentreX() const
{
    return static_cast<float>(RandomInt(m_settings.width - 10) + 5);
}

float PXFireSimulation::RandomCentreY() const
{
    return static_cast<float>(RandomInt(m_settings.height - 6) + 3);
}

void PXFireSimulation::Step(float elapsedMs, int32_t mouseX, int32_t mouseY)
{
    if (!(elapsedMs > 0.0f) || !IsReady())
        return;
    UpdateGravity(elapsedMs);
    RandomEffect();
    m_swirl += 0.01f;
    if (m_swirl > Pi)
        m_swirl -= TwoPi;
    for (size_t i = 0; i < m_particles.size(); ++i)
        MoveParticle(i, mouseX, mouseY);
}

void PXFireSimulation::UpdateGravity(float elapsedMs)
{
    const float g = m_settings.gravity;
    if (m_settings.gravTime < 1) {
        m_gx = 0.0f;
        m_gy = m_upsideDown ? -g : g;
        return;
    }
    m_gravityTimer -= elapsedMs;
    if (m_gravityTimer > 0.0f)
        return;
    switch (RandomInt(4)) {
    case 0:
        m_gx = 0.0f;
        m_gy = g;
        m_upsideDown = false;
        break;
    case 1:
        m_gx = -g;
        m_gy = 0.0f;
        m_upsideDown = false;
        break;
    case 2:
        m_gx = 0.0f;
        m_gy = -g;
        m_upsideDown = true;
        break;
    default:
        m_gx = g;
        m_gy = 0.0f;
        m_upsideDown = false;
        break;
    }
    m_gravityTimer += static_cast<float>(m_settings.gravTime);
}

void PXFireSimulation::RandomEffect()
{
    const int32_t chance = m_settings.effectChance;
    if (RandomInt(chance >= INT_MAX ? INT_MAX : chance + 1) != 0)
        return;
    switch (RandomInt(10)) {
    case 0:  // wind against the gravity
        for (PXFireParticle& p : m_particles) {
            p.vx -= m_gx * 40.0f;
            p.vy -= m_gy * 40.0f;
        }
        break;
    case 1:  // freeze
        for (PXFireParticle& p : m_particles) {
            p.vx = 0.0f;
            p.vy = 0.0f;
        }
        break;
    case 2: {  // explode in groups of eight; the leftover particles keep going
        const size_t groups = m_particles.size() / 8;
        for (size_t g = 0; g < groups; ++g) {
            const float s = std::fabs(RandomSpread(8.0f));
            const float cx = RandomCentreX();
            const float cy = RandomCentreY();
            const float a = RandomSpread(Pi);
            for (size_t k = 0; k < 8; ++k) {
                PXFireParticle& p = m_particles[g * 8 + k];
                p.x = cx + RandomSpread(2.0f);
                p.y = cy + RandomSpread(2.0f);
                p.vx = std::cos(a) * s;
                p.vy = std::sin(a) * s;
            }
        }
        break;
    }
    case 3:
        RandomInt(4);
        break;
    case 4:
    case 5: {  // burst from one point
        const float s = std::fabs(RandomSpread(9.0f)) + 3.0f;
        const bool choose = RandomInt(2) == 1;
        const float cx = RandomCentreX();
        const float cy = RandomCentreY();
        const size_t k = static_cast<size_t>(RandomInt(3) + 1);
        for (size_t i = 0; i < m_particles.size(); i += k) {
            PXFireParticle& p = m_particles[i];
            p.x = cx;
            p.y = cy;
            const float speed = choose ? s * 0.5f : std::fabs(RandomSpread(s));
            const float a = RandomSpread(Pi);
            p.vx = std::cos(a) * speed;
            p.vy = std::sin(a) * speed;
        }
        break;
    }
    case 6:
        m_smallGroups = !m_smallGroups;
        break;
    case 8:
        m_gravityApplies = !m_gravityApplies;
        break;
    case 9:
        m_followLeader = !m_followLeader;
        break;
    default:
        break;  // 7: nothing
    }
    m_followMouse = !m_followLeader && RandomInt(4) == 0;
}

void PXFireSimulation::MoveParticle(size_t index, int32_t mouseX, int32_t mouseY)
{
    PXFireParticle& p = m_particles[index];
    const size_t mask = m_smallGroups ? 0x3F : 0x7FFF;
    const uint32_t gravityBit = m_gravityApplies ? PXFireParticle::Gravity : 0u;
    if (m_followLeader && (index & mask) != 0) {
        // The leader has an earlier index, so it has already moved this step.
        const PXFireParticle& leader = m_particles[index & ~mask];
        p.targetX = leader.x;
        p.targetY = leader.y;
        p.mode = PXFireParticle::Steer | gravityBit;
    } else if (m_followMouse) {
        p.targetX = static_cast<float>(mouseX);
        p.targetY = static_cast<float>(mouseY);
        p.mode = PXFireParticle::Steer | gravityBit;
    } else {
        p.mode = gravityBit;
    }
    p.prevX = p.x;
    p.prevY = p.y;
    if (p.mode & PXFireParticle::Gravity) {
        p.vx += m_gx;
        p.vy += m_gy;
    }
    if (p.mode & PXFireParticle::Steer) {
        const bool still = p.vx == 0.0f && p.vy == 0.0f;
        const float speed = still ? 2.0f : std::sqrt(p.vx * p.vx + p.vy * p.vy);
        float heading = still ? m_swirl : std::atan2(p.vy, p.vx);
        const float dx = p.targetX - p.x;
        const float dy = p.targetY - p.y;
        const float bearing = (dx == 0.0f && dy == 0.0f) ? m_swirl : std::atan2(dy, dx);
        float d = bearing - heading;
        if (d > Pi)
            d -= TwoPi;
        else if (d < -Pi)
            d += TwoPi;
        heading += SteerRate * d;
        p.vx = std::cos(heading) * speed;
        p.vy = std::sin(heading) * speed;
    }
    p.x += p.vx;
    p.y += p.vy;

    const float w = static_cast<float>(m_settings.width);
    const float h = static_cast<float>(m_settings.height);
    const float keep = m_settings.bounceEnergy;
    const float kick = m_settings.kickStrength;
    if (p.x < 5.0f) {
        p.x = 5.0f;
        p.vx = std::fabs(p.vx) * keep;
        p.vy += RandomSpread(kick);
    }
    if (p.x >= w - 5.0f) {
        p.x = w - 6.0f;
        p.vx = -std::fabs(p.vx) * keep;
        p.vy += RandomSpread(kick);
    }
    if (p.y < 5.0f) {
        p.y = 5.0f;
        p.vy = std::fabs(p.vy) * keep;
        p.vx += RandomSpread(kick);
    }
    if (p.y >= h - 3.0f) {
        p.y = h - 4.0f;
        p.vy = -std::fabs(p.vy) * keep;
        p.vx += RandomSpread(kick);
    }
}

void PXFireSimulation::StampBurnImage(const PXBitmapDesc& burn)
{
    if (!IsReady() || burn.bitsPerPixel != 8 || !burn.data)
        return;
    const uint32_t w = std::min(static_cast<uint32_t>(m_settings.width), burn.width);
    const uint32_t h = std::min(static_cast<uint32_t>(m_settings.height), burn.height);
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* in = burn.data.get() + static_cast<size_t>(y) * burn.width;
        uint8_t* out = m_heat.data.get() + static_cast<size_t>(y) * m_stride;
        for (uint32_t x = 0; x < w; ++x) {
            if (in[x] > BurnThreshold)
                out[x] = in[x];
        }
    }
}

void PXFireSimulation::DrawStreaks()
{
    if (!IsReady())
        return;
    const float w = static_cast<float>(m_settings.width);
    const float h = static_cast<float>(m_settings.height);
    for (const PXFireParticle& p : m_particles) {
        // 4 < trunc(x0) < width - 5 and 2 < trunc(y0) < height - 3, tested before truncating.
        if (!(p.prevX >= 5.0f && p.prevX < w - 5.0f && p.prevY >= 3.0f && p.prevY < h - 3.0f))
            continue;
        // The bounce keeps the far end inside; this only stops a particle whose position is
        // no longer finite from writing outside the buffer.
        if (!(p.x >= 1.0f && p.x < w - 1.0f && p.y >= 1.0f && p.y < h - 1.0f))
            continue;
        Streak(static_cast<int32_t>(p.prevX), static_cast<int32_t>(p.prevY), static_cast<int32_t>(p.x),
               static_cast<int32_t>(p.y), p.heat);
    }
}

void PXFireSimulation::Streak(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t h)
{
    const uint8_t half = static_cast<uint8_t>(h >> 1);
    auto raise = [this](int32_t x, int32_t y, uint8_t v) {
        uint8_t& cell = m_heat.data[static_cast<size_t>(y) * m_stride + x];
        if (cell < v)
            cell = v;
    };
    const int32_t adx = std::abs(x1 - x0);
    const int32_t ady = std::abs(y1 - y0);
    if (adx > ady) {
        // Wider than tall: walk x, widen above and below.
        if (x0 > x1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const int32_t step = y1 > y0 ? 1 : -1;
        int32_t err = -adx;
        int32_t y = y0;
        for (int32_t x = x0; x <= x1; ++x) {
            raise(x, y, h);
            raise(x, y - 1, half);
            raise(x, y + 1, half);
            err += ady;
            if (err >= 0) {
                y += step;
                err -= adx;
            }
        }
    } else {
        // Taller than wide (or a point): walk y, widen left and right.
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const int32_t step = x1 > x0 ? 1 : -1;
        int32_t err = -ady;
        int32_t x = x0;
        for (int32_t y = y0; y <= y1; ++y) {
            raise(x, y, h);
            raise(x - 1, y, half);
            raise(x + 1, y, half);
            err += adx;
            if (err >= 0) {
                x += step;
                err -= ady;
            }
        }
    }
}

void PXFireSimulation::FeedEdge()
{
    if (!IsReady() || !m_settings.burnEdges)
        return;
    const int32_t w = m_settings.width;
    const int32_t h = m_settings.height;
    const int32_t feedRow = m_upsideDown ? 2 : h - 2;
    const int32_t clearedRow = m_upsideDown ? h - 2 : 2;
    std::memset(m_heat.data.get() + static_cast<size_t>(clearedRow) * m_stride, 0, m_stride);
    const int32_t limit = 254 >> m_settings.flameHalf;
    int32_t v = RandomInt(255 >> m_settings.flameHalf);
    uint8_t* row = m_heat.data.get() + static_cast<size_t>(feedRow) * m_stride;
    for (int32_t x = 4; x <= w - 5; ++x) {
        const int32_t b = row[x] != 0 ? row[x] : v;
        // The wrap below zero is part of the flicker: a dark spot may flare up to the limit.
        v = (RandomInt(64) + b - 32) & 0xFF;
        if (v > limit)
            v = limit;
        row[x] = static_cast<uint8_t>(v);
    }
}

void PXFireSimulation::PropagateRow(int32_t source, int32_t target)
{
    const uint8_t* s = m_heat.data.get() + static_cast<size_t>(source) * m_stride;
    uint8_t* d = m_heat.data.get() + static_cast<size_t>(target) * m_stride;
    const int32_t fade = m_settings.burnFade;
    // Whole groups of four from column 4, leaving out the last group and any columns past
    // the last multiple of four, so x - 1 and x + 1 always lie inside the row.
    const int32_t lastGroup = m_settings.width / 4 - 2;
    if (lastGroup < 1)
        return;
    // Which groups take new values: a group that is cold now and was cold in the previous
    // row is skipped (its target keeps its cells). The whole span is averaged into a scratch
    // row and the taken groups copied over, all in loops the compiler vectorises; a row that
    // takes nothing is left at once.
    const auto groups = static_cast<size_t>(lastGroup);
    uint32_t* take = m_groupTake.get();
    if (!TakeGroups(s + 4, m_rowFlags.get() + 1, take, groups))
        return;
    uint8_t* next = m_rowScratch.get();
    AverageCells(s, d, next, 4, (lastGroup + 1) * 4, fade);
    KeepTaken(d + 4, next + 4, take, groups);
}

void PXFireSimulation::Spark(int32_t y)
{
    if ((y & 1) == 0 || y <= 2 || y >= m_settings.height - 3)
        return;
    const int32_t c = 5 + RandomInt(m_settings.width - 10);
    const int32_t v = GetHeat(c, y);
    if (v > 32 && v < 128) {
        const uint8_t hot = static_cast<uint8_t>(std::min(2 * v, 255));
        SetHeat(c - 1, y, hot);
        SetHeat(c + 1, y, hot);
        SetHeat(c, y - 1, hot);
        SetHeat(c, y + 1, hot);
    }
}

void PXFireSimulation::Propagate()
{
    if (!IsReady())
        return;
    const int32_t h = m_settings.height;
    if (!m_upsideDown) {
        // Heat rises: each row is averaged into the row above it.
        for (int32_t y = 3; y <= h - 2; ++y) {
            PropagateRow(y, y - 1);
            Spark(y);
        }
    } else {
        for (int32_t y = h - 4; y >= 2; --y) {
            PropagateRow(y, y + 1);
            Spark(y);
        }
    }
}

void PXFireSimulation::BuildPixelTable(const PXPixelFormat& format)
{
    for (int32_t i = 0; i < 256; ++i) {
        const PXColor& c = m_palette[i];
        m_pixels[i] = static_cast<uint16_t>(PackPixel(format, c.red, c.green, c.blue));
        m_widePixels[i] = m_pixels[i];
    }
}

void PXFireSimulation::Render(const PXSurfaceDesc& surface, int32_t left, int32_t top)
{
    if (!IsReady() || !surface.pixels || surface.bytesPerPixel != 2)
        return;
    // Only the part that lies on the surface is written.
    const int64_t x0 = std::max<int64_t>(0, -static_cast<int64_t>(left));
    const int64_t y0 = std::max<int64_t>(0, -static_cast<int64_t>(top));
    const int64_t x1 = std::min<int64_t>(m_settings.width, static_cast<int64_t>(surface.width) - left);
    const int64_t y1 = std::min<int64_t>(m_settings.height, static_cast<int64_t>(surface.height) - top);
    if (x0 >= x1 || y0 >= y1)
        return;
    for (int64_t y = y0; y < y1; ++y) {
        const uint8_t* heat = m_heat.data.get() + static_cast<size_t>(y) * m_stride;
        uint16_t* out =
            reinterpret_cast<uint16_t*>(surface.pixels + static_cast<size_t>(top + y) * surface.pitch +
                                        static_cast<size_t>(left + x0) * 2);
        const int64_t n = x1 - x0;
        heat += x0;
        if (!m_settings.transparent) {
            for (int64_t x = 0; x < n; ++x)
                out[x] = m_pixels[heat[x]];
        } else {
            // Cold cells leave the picture as it is: only stretches of blocks with some heat
            // are looked up and blended.
            uint16_t* colours = m_renderScratch.get();
            size_t at = 0, from = 0;
            while (PXPixel::NextWeightedRun(heat, static_cast<size_t>(n), &at, &from)) {
                LookUpColours(heat + from, m_widePixels, colours + from, at - from);
                BlendByHeat(out + from, colours + from, heat + from, at - from);
            }
        }
    }
}
