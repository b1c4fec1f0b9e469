// The particle fire on its own: particles with changing gravity and random effects, an 8-bit
// heat buffer fed at one edge and propagated with per-group row flags, sparks, a burn image,
// and output through a 256-colour palette into a 16-bit frame buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/graphics/PXGraphicsTypes.h"

struct PXFireParticle {
    float x = 0.0f;
    float y = 0.0f;
    float vx = 0.0f;
    float vy = 0.0f;
    float prevX = 0.0f;
    float prevY = 0.0f;
    float targetX = 0.0f;
    float targetY = 0.0f;
    uint32_t mode = 0;  // PXFireParticle::Gravity | PXFireParticle::Steer
    uint8_t heat = 0;

    static constexpr uint32_t Gravity = 1;
    static constexpr uint32_t Steer = 2;
};

// The tunable values of one fire, as a definition gives them.
struct PXFireSettings {
    int32_t width = 0;
    int32_t height = 0;
    int32_t particleCount = 0;
    bool transparent = false;
    int32_t colorScheme = 0;  // 1 blue, 2 white-blue, 3 green, 4 red, else orange-yellow
    int32_t flameHalf = 0;
    int32_t gravTime = 20000;
    float gravity = 0.1f;
    int32_t effectChance = 4;
    float kickStrength = 0.5f;
    float bounceEnergy = 0.95f;
    int32_t burnFade = 6;
    bool burnEdges = false;
};

class PXFireSimulation {
public:
    // The random start positions need width - 10 and height - 6 to be at least 1.
    static constexpr int32_t MinWidth = 11;
    static constexpr int32_t MinHeight = 7;
    // Larger than any frame buffer the game opens; keeps a hostile definition from asking
    // for gigabytes.
    static constexpr int32_t MaxSide = 4096;
    static constexpr int32_t MaxParticles = 65536;
    // Shifts of 8 or more already give a feed limit of 0.
    static constexpr int32_t MaxFlameHalf = 8;

    static bool IsValidSize(int32_t width, int32_t height);
    // The 256 fire colours of a scheme (alpha 255), the top 32 fading to white.
    static void BuildPalette(int32_t scheme, PXColor out[256]);

    // Builds the palette, the particles (drawing from the shared random generator) and a cold
    // heat buffer. False, and nothing allocated, for a size outside MinWidth x MinHeight ..
    // MaxSide.
    bool Init(const PXFireSettings& settings);
    bool IsReady() const { return m_heat.data != nullptr; }

    // One simulation step: gravity timer, random effect, steering and moving every particle.
    // The mouse is given in the fire's own coordinates. Nothing happens for elapsed <= 0.
    void Step(float elapsedMs, int32_t mouseX, int32_t mouseY);

    // The per-frame heat work, in drawing order.
    void StampBurnImage(const PXBitmapDesc& burn);
    void DrawStreaks();
    void FeedEdge();
    void Propagate();
    // Converts the palette into 16-bit pixels of the format.
    void BuildPixelTable(const PXPixelFormat& format);
    // Writes the heat through the pixel table into a locked surface with the fire's top-left
    // corner at (left, top); whatever falls outside the surface is left out.
    void Render(const PXSurfaceDesc& surface, int32_t left, int32_t top);

    int32_t GetWidth() const { return m_settings.width; }
    int32_t GetHeight() const { return m_settings.height; }
    const PXFireSettings& GetSettings() const { return m_settings; }
    uint8_t GetHeat(int32_t x, int32_t y) const { return m_heat.data[static_cast<size_t>(y) * m_stride + x]; }
    void SetHeat(int32_t x, int32_t y, uint8_t value)
    {
        m_heat.data[static_cast<size_t>(y) * m_stride + x] = value;
    }
    const PXBitmapDesc& GetHeatBitmap() const { return m_heat; }
    const PXColor* GetPalette() const { return m_palette; }
    const uint16_t* GetPixelTable() const { return m_pixels; }
    std::vector<PXFireParticle>& Particles() { return m_particles; }
    const std::vector<PXFireParticle>& Particles() const { return m_particles; }

    float GetGravityX() const { return m_gx; }
    float GetGravityY() const { return m_gy; }
    float GetGravityTimer() const { return m_gravityTimer; }
    float GetSwirl() const { return m_swirl; }
    bool IsFollowLeader() const { return m_followLeader; }
    bool IsSmallGroups() const { return m_smallGroups; }
    bool IsGravityApplied() const { return m_gravityApplies; }
    bool IsUpsideDown() const { return m_upsideDown; }
    bool IsFollowMouse() const { return m_followMouse; }
    void SetFollowLeader(bool on) { m_followLeader = on; }
    void SetSmallGroups(bool on) { m_smallGroups = on; }
    void SetGravityApplied(bool on) { m_gravityApplies = on; }
    void SetUpsideDown(bool on) { m_upsideDown = on; }
    void SetFollowMouse(bool on) { m_followMouse = on; }

private:
    void UpdateGravity(float elapsedMs);
    void RandomEffect();
    void MoveParticle(size_t index, int32_t mouseX, int32_t mouseY);
    void Streak(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t h);
    void PropagateRow(int32_t source, int32_t target);
    void Spark(int32_t y);
    float RandomCentreX() const;
    float RandomCentreY() const;

    PXFireSettings m_settings;
    std::vector<PXFireParticle> m_particles;
    PXBitmapDesc m_heat;
    uint32_t m_stride = 0;
    PXColor m_palette[256];
    uint16_t m_pixels[256] = {};
    uint32_t m_widePixels[256] = {};  // m_pixels, one to a 32-bit word
    std::unique_ptr<uint32_t[]> m_rowFlags;  // per group of four: all ones when its source was hot
    std::unique_ptr<uint8_t[]> m_rowScratch;      // one row of new values during propagation
    std::unique_ptr<uint32_t[]> m_groupTake;      // per group of four: all ones when it takes them
    std::unique_ptr<uint16_t[]> m_renderScratch;  // one row of colours while blending
    bool m_followLeader = false;
    bool m_smallGroups = false;
    bool m_gravityApplies = false;
    bool m_upsideDown = false;
    bool m_followMouse = false;
    float m_gravityTimer = 0.0f;
    float m_gx = 0.0f;
    float m_gy = 0.0f;
    float m_swirl = 3.0f;
};
