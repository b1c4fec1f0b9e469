// The fire simulation on its own: palettes, the bounce rule, gravity, steering, streaks, the
// edge feed limit, propagation with its row flags and sparks, and the burn image.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "engine/core/PXRandom.h"
#include "engine/graphics/PXBitmap.h"
#include "engine/gui/PXFireSimulation.h"

namespace {

// A fire whose only motion is what a test gives it: no gravity, no gravity changes and
// (practically) no random effects.
PXFireSettings Quiet(int32_t width, int32_t height, int32_t particles)
{
    PXFireSettings s;
    s.width = width;
    s.height = height;
    s.particleCount = particles;
    s.gravTime = 0;
    s.gravity = 0.0f;
    s.effectChance = INT_MAX;
    return s;
}

class FireSimulationTest : public ::testing::Test {
protected:
    void SetUp() override { GlobalRandom().Seed(1234); }

    void Start(const PXFireSettings& settings)
    {
        ASSERT_TRUE(sim.Init(settings));
        sim.SetFollowLeader(false);
        sim.SetFollowMouse(false);
        sim.SetGravityApplied(false);
    }

    void ClearHeat()
    {
        for (int32_t y = 0; y < sim.GetHeight(); ++y)
            for (int32_t x = 0; x < sim.GetWidth(); ++x)
                sim.SetHeat(x, y, 0);
    }

    // Every non-zero heat cell as (x, y) -> value.
    std::map<std::pair<int32_t, int32_t>, int> HotCells() const
    {
        std::map<std::pair<int32_t, int32_t>, int> cells;
        for (int32_t y = 0; y < sim.GetHeight(); ++y)
            for (int32_t x = 0; x < sim.GetWidth(); ++x)
                if (sim.GetHeat(x, y) != 0)
                    cells[{x, y}] = sim.GetHeat(x, y);
        return cells;
    }

    PXFireSimulation sim;
};

struct PaletteCase {
    int32_t scheme;
    int index;
    int blue, green, red;
};

TEST(FirePalette, SchemesGiveTheirColours)
{
    const PaletteCase cases[] = {
        {0, 100, 0, 100, 200}, {0, 200, 0, 200, 255},   {7, 100, 0, 100, 200},  // any other: orange
        {1, 50, 100, 50, 0},   {1, 200, 255, 200, 0},   {2, 100, 100, 50, 50}, {2, 200, 200, 136, 136},
        {3, 100, 25, 100, 25}, {3, 200, 104, 200, 104}, {4, 100, 50, 50, 200}, {4, 200, 136, 136, 255},
        {0, 0, 0, 0, 0},       {0, 230, 55, 235, 255},  // the fade to white: (c * 25 + 255 * 7) >> 5
        {2, 127, 127, 63, 63}, {2, 128, 128, 64, 64},   // the seam between the halves
    };
    for (const PaletteCase& c : cases) {
        PXColor palette[256];
        PXFireSimulation::BuildPalette(c.scheme, palette);
        const PXColor& got = palette[c.index];
        EXPECT_EQ(MakeColor(uint8_t(c.red), uint8_t(c.green), uint8_t(c.blue), 255), got)
            << "scheme " << c.scheme << " entry " << c.index << ": " << int(got.blue) << "," << int(got.green)
            << "," << int(got.red);
    }
}

TEST(FirePalette, TopEntryIsWhiteAndEveryEntryOpaque)
{
    for (int32_t scheme = 0; scheme <= 5; ++scheme) {
        PXColor palette[256];
        PXFireSimulation::BuildPalette(scheme, palette);
        EXPECT_EQ(MakeColor(255, 255, 255, 255), palette[255]) << scheme;
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(255, palette[i].alpha) << scheme << " " << i;
    }
}

TEST_F(FireSimulationTest, PixelTableConvertsThePaletteToTheFormat)
{
    Start(Quiet(16, 8, 0));
    sim.BuildPixelTable(MakePixelFormat(16));
    EXPECT_EQ(0, sim.GetPixelTable()[0]);
    EXPECT_EQ(0x7FFF, sim.GetPixelTable()[255]);
    // Orange entry 100: red 200, green 100, blue 0.
    EXPECT_EQ((200 >> 3) << 10 | (100 >> 3) << 5, sim.GetPixelTable()[100]);
}

TEST_F(FireSimulationTest, StartPositionsAndHeatLieInTheirRanges)
{
    Start(Quiet(11, 7, 500));
    for (const PXFireParticle& p : sim.Particles()) {
        EXPECT_EQ(5.0f, p.x);  // RandomInt(1) + 5
        EXPECT_EQ(3.0f, p.y);
        EXPECT_EQ(p.x, p.prevX);
        EXPECT_GE(p.heat, 127);
    }
    EXPECT_EQ(3.0f, sim.GetSwirl());
    EXPECT_FALSE(sim.IsUpsideDown());
}

struct BounceCase {
    const char* name;
    float x, y, vx, vy;
    float energy, kick;
    float wantX, wantY;
    bool horizontal;  // the wall is left or right: vx reflects, vy gets the kick
    float wantV;      // the reflected component
};

TEST_F(FireSimulationTest, ParticlesBounceOffTheWallsWithAKick)
{
    // A 40 x 30 fire: walls at x < 5, x >= 35, y < 5, y >= 27.
    const BounceCase cases[] = {
        {"left", 5.5f, 15.0f, -1.0f, 0.0f, 0.95f, 0.5f, 5.0f, 15.0f, true, 0.95f},
        {"right", 34.5f, 15.0f, 1.0f, 0.0f, 0.95f, 0.5f, 34.0f, 15.0f, true, -0.95f},
        {"top", 20.0f, 5.5f, 0.0f, -1.0f, 0.95f, 0.5f, 20.0f, 5.0f, false, 0.95f},
        {"bottom", 20.0f, 26.5f, 0.0f, 1.0f, 0.95f, 0.5f, 20.0f, 26.0f, false, -0.95f},
        {"energy and no kick", 5.5f, 15.0f, -2.0f, 0.0f, 0.5f, 0.0f, 5.0f, 15.0f, true, 1.0f},
        {"inside: no bounce", 20.0f, 15.0f, -1.0f, 0.0f, 0.5f, 0.5f, 19.0f, 15.0f, true, -1.0f},
    };
    for (const BounceCase& c : cases) {
        SCOPED_TRACE(c.name);
        PXFireSettings settings = Quiet(40, 30, 1);
        settings.bounceEnergy = c.energy;
        settings.kickStrength = c.kick;
        Start(settings);
        PXFireParticle& p = sim.Particles()[0];
        p.x = c.x;
        p.y = c.y;
        p.vx = c.vx;
        p.vy = c.vy;
        sim.Step(16.0f, 0, 0);
        EXPECT_FLOAT_EQ(c.wantX, p.x);
        EXPECT_FLOAT_EQ(c.wantY, p.y);
        const float reflected = c.horizontal ? p.vx : p.vy;
        const float kicked = c.horizontal ? p.vy : p.vx;
        EXPECT_FLOAT_EQ(c.wantV, reflected);
        EXPECT_LE(std::fabs(kicked), c.kick);
    }
}

TEST_F(FireSimulationTest, BounceKicksAreSpreadWithinTheirStrength)
{
    Start(Quiet(40, 30, 1));
    float lowest = 1.0f, highest = -1.0f;
    for (int i = 0; i < 200; ++i) {
        PXFireParticle& p = sim.Particles()[0];
        p.x = 5.5f;
        p.y = 15.0f;
        p.vx = -1.0f;
        p.vy = 0.0f;
        sim.Step(16.0f, 0, 0);
        lowest = std::min(lowest, p.vy);
        highest = std::max(highest, p.vy);
    }
    EXPECT_GE(lowest, -0.5f);
    EXPECT_LT(highest, 0.5f);
    EXPECT_LT(lowest, -0.3f);
    EXPECT_GT(highest, 0.3f);
}

TEST_F(FireSimulationTest, WithoutGravityTimeTheGravityNeverTurns)
{
    for (const bool upsideDown : {false, true}) {
        PXFireSettings settings = Quiet(40, 30, 4);
        settings.gravity = 0.25f;
        Start(settings);
        sim.SetUpsideDown(upsideDown);
        for (int i = 0; i < 100; ++i) {
            sim.Step(5000.0f, 0, 0);
            ASSERT_EQ(0.0f, sim.GetGravityX());
            ASSERT_EQ(upsideDown ? -0.25f : 0.25f, sim.GetGravityY());
        }
    }
}

TEST_F(FireSimulationTest, GravityTurnsWhenItsTimerRunsOut)
{
    PXFireSettings settings = Quiet(40, 30, 4);
    settings.gravTime = 100;
    settings.gravity = 0.5f;
    Start(settings);
    std::map<std::pair<float, float>, int> seen;
    for (int i = 0; i < 400; ++i) {
        const float before = sim.GetGravityTimer();
        sim.Step(60.0f, 0, 0);
        const float gx = sim.GetGravityX(), gy = sim.GetGravityY();
        // One of the four directions, and upwards exactly when the fire runs upside down.
        ASSERT_EQ(0.5f, std::fabs(gx) + std::fabs(gy));
        ASSERT_EQ(gy < 0.0f, sim.IsUpsideDown());
        ASSERT_FLOAT_EQ(before - 60.0f + (before - 60.0f <= 0.0f ? 100.0f : 0.0f), sim.GetGravityTimer());
        ++seen[{gx, gy}];
    }
    EXPECT_EQ(4u, seen.size());
}

TEST_F(FireSimulationTest, NoElapsedTimeMeansNoStep)
{
    Start(Quiet(40, 30, 2));
    sim.Particles()[0].vx = 1.0f;
    for (const float elapsed : {0.0f, -16.0f, NAN}) {
        const float x = sim.Particles()[0].x;
        sim.Step(elapsed, 0, 0);
        EXPECT_EQ(x, sim.Particles()[0].x) << elapsed;
        EXPECT_EQ(3.0f, sim.GetSwirl());
    }
}

TEST_F(FireSimulationTest, SteeringTurnsFivePercentTowardsTheTarget)
{
    Start(Quiet(64, 32, 1));
    sim.SetFollowMouse(true);
    PXFireParticle& p = sim.Particles()[0];
    p.x = 20.0f;
    p.y = 15.0f;
    p.vx = 0.0f;
    p.vy = -2.0f;             // heading straight up, -pi/2
    sim.Step(16.0f, 40, 15);  // bearing 0
    const float heading = -1.5707963f + 0.05f * 1.5707963f;
    EXPECT_NEAR(2.0f * std::cos(heading), p.vx, 1e-5);
    EXPECT_NEAR(2.0f * std::sin(heading), p.vy, 1e-5);
    EXPECT_EQ(PXFireParticle::Steer, p.mode);
    EXPECT_EQ(40.0f, p.targetX);
    EXPECT_EQ(15.0f, p.targetY);
}

TEST_F(FireSimulationTest, FollowersSteerTowardsTheirGroupLeader)
{
    struct Case {
        bool smallGroups;
        size_t follower;
        size_t leader;  // == follower: leads its own group and does not steer
    };
    const Case cases[] = {{true, 1, 0}, {true, 63, 0}, {true, 64, 64}, {true, 65, 64}, {false, 65, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.follower);
        Start(Quiet(64, 32, 70));
        sim.SetFollowLeader(true);
        sim.SetSmallGroups(c.smallGroups);
        sim.SetGravityApplied(true);
        sim.Step(16.0f, 0, 0);
        const PXFireParticle& f = sim.Particles()[c.follower];
        if (c.leader == c.follower) {
            EXPECT_EQ(PXFireParticle::Gravity, f.mode);
        } else {
            EXPECT_EQ(PXFireParticle::Steer | PXFireParticle::Gravity, f.mode);
            EXPECT_EQ(sim.Particles()[c.leader].x, f.targetX);
            EXPECT_EQ(sim.Particles()[c.leader].y, f.targetY);
        }
    }
}

struct StreakCase {
    const char* name;
    float x0, y0, x1, y1;
    std::vector<std::pair<int32_t, int32_t>> centres;
    bool acrossVertical;  // neighbours above and below (a line wider than tall)
};

TEST_F(FireSimulationTest, StreaksAreThreePixelWideBresenhamLines)
{
    const StreakCase cases[] = {
        {"wide", 10.5f, 10.2f, 14.9f, 12.0f, {{10, 10}, {11, 10}, {12, 11}, {13, 11}, {14, 12}}, true},
        {"wide, walked from its left end",
         14.0f,
         12.0f,
         10.0f,
         10.0f,
         {{10, 10}, {11, 10}, {12, 11}, {13, 11}, {14, 12}},
         true},
        {"tall", 10.0f, 10.0f, 11.0f, 14.0f, {{10, 10}, {10, 11}, {10, 12}, {10, 13}, {11, 14}}, false},
        {"diagonal", 10.0f, 10.0f, 7.0f, 13.0f, {{10, 10}, {9, 11}, {8, 12}, {7, 13}}, false},
        {"still", 12.0f, 12.0f, 12.0f, 12.0f, {{12, 12}}, false},
        {"start left of the band", 4.9f, 10.0f, 8.0f, 10.0f, {}, true},
        {"start above the band", 10.0f, 2.9f, 10.0f, 6.0f, {}, false},
        {"start right of the band", 27.0f, 10.0f, 24.0f, 10.0f, {}, true},
    };
    for (const StreakCase& c : cases) {
        SCOPED_TRACE(c.name);
        Start(Quiet(32, 20, 1));
        PXFireParticle& p = sim.Particles()[0];
        p.prevX = c.x0;
        p.prevY = c.y0;
        p.x = c.x1;
        p.y = c.y1;
        p.heat = 200;
        sim.DrawStreaks();
        std::map<std::pair<int32_t, int32_t>, int> want;
        for (const auto& at : c.centres) {
            const int32_t dx = c.acrossVertical ? 0 : 1;
            const int32_t dy = c.acrossVertical ? 1 : 0;
            for (const auto& nb : {std::make_pair(at.first - dx, at.second - dy),
                                   std::make_pair(at.first + dx, at.second + dy)}) {
                int& cell = want[nb];
                cell = std::max(cell, 100);
            }
        }
        for (const auto& at : c.centres)
            want[at] = 200;
        EXPECT_EQ(want, HotCells());
    }
}

TEST_F(FireSimulationTest, FeedNeverExceedsTheFlameHalfLimit)
{
    for (const int32_t flameHalf : {0, 1, 2, 3}) {
        for (const bool upsideDown : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << "flame half " << flameHalf << (upsideDown ? " upside down" : ""));
            PXFireSettings settings = Quiet(24, 12, 0);
            settings.burnEdges = true;
            settings.flameHalf = flameHalf;
            Start(settings);
            sim.SetUpsideDown(upsideDown);
            const int32_t feedRow = upsideDown ? 2 : 10;
            const int32_t clearedRow = upsideDown ? 10 : 2;
            const int limit = 254 >> flameHalf;
            int highest = 0;
            for (int frame = 0; frame < 200; ++frame) {
                sim.SetHeat(7, clearedRow, 99);
                sim.FeedEdge();
                for (int32_t x = 0; x < 24; ++x) {
                    const int v = sim.GetHeat(x, feedRow);
                    if (x < 4 || x > 19) {
                        ASSERT_EQ(0, v) << x;  // columns outside 4 .. width - 5 are not fed
                    }
                    ASSERT_LE(v, limit) << x;
                    highest = std::max(highest, v);
                    ASSERT_EQ(0, sim.GetHeat(x, clearedRow));
                }
                sim.Propagate();
            }
            EXPECT_EQ(limit, highest);
        }
    }
}

TEST_F(FireSimulationTest, FeedIsOffWithoutBurnEdges)
{
    Start(Quiet(24, 12, 0));
    sim.SetHeat(7, 2, 99);
    sim.FeedEdge();
    EXPECT_EQ((std::map<std::pair<int32_t, int32_t>, int>{{{7, 2}, 99}}), HotCells());
}

TEST_F(FireSimulationTest, HeatRisesOneRowPerFrameWhileItCools)
{
    // One hot cell at (6, 5) in a 16 x 10 fire, burn fade 6.
    struct Case {
        bool upsideDown;
        std::map<std::pair<int32_t, int32_t>, int> want;
    };
    const Case cases[] = {
        // The row above takes (left + centre + right + its own - 6) >> 2; the cell itself is
        // then rewritten from the cold row below it.
        {false, {{{5, 4}, 48}, {{6, 4}, 48}, {{7, 4}, 48}, {{6, 5}, 48}}},
        {true, {{{5, 6}, 48}, {{6, 6}, 48}, {{7, 6}, 48}, {{6, 5}, 48}}},
    };
    for (const Case& c : cases) {
        Start(Quiet(16, 10, 0));
        sim.SetUpsideDown(c.upsideDown);
        sim.SetHeat(6, 5, 200);
        sim.Propagate();
        EXPECT_EQ(c.want, HotCells()) << c.upsideDown;
    }
}

TEST_F(FireSimulationTest, TheAverageRoundsDownAndStaysWithinAByte)
{
    // Three source cells of one heat under a target cell of its own heat: the target takes
    // (left + centre + right + own - fade) >> 2, floored at 0 and capped at 255.
    struct Case {
        int32_t fade;
        uint8_t source;
        uint8_t own;
        int want;
    };
    const Case cases[] = {
        {6, 200, 0, 148},   {7, 201, 3, 149},  {6, 1, 0, 0},      {0, 255, 255, 255},
        {2000, 255, 255, 0}, {-8, 100, 20, 82}, {-40, 255, 255, 255},
    };
    for (const Case& c : cases) {
        PXFireSettings settings = Quiet(16, 10, 0);
        settings.burnFade = c.fade;
        Start(settings);
        for (int32_t x = 5; x <= 7; ++x)
            sim.SetHeat(x, 5, c.source);
        sim.SetHeat(6, 4, c.own);
        sim.Propagate();
        EXPECT_EQ(c.want, sim.GetHeat(6, 4)) << "fade " << c.fade << ", source " << int(c.source);
    }
}

TEST_F(FireSimulationTest, ColumnsPastTheLastWholeGroupAreLeftOut)
{
    // Groups of four start at column 4 and the last group is left out: width 14 propagates
    // only columns 4..7, width 16 also 8..11.
    struct Case {
        int32_t width;
        bool propagated;
    };
    for (const Case& c : {Case{14, false}, Case{15, false}, Case{16, true}, Case{17, true}}) {
        Start(Quiet(c.width, 10, 0));
        sim.SetHeat(9, 5, 200);
        sim.Propagate();
        EXPECT_EQ(c.propagated ? 48 : 0, sim.GetHeat(9, 4)) << c.width;
        EXPECT_EQ(c.propagated ? 48 : 200, sim.GetHeat(9, 5)) << c.width;
    }
}

TEST_F(FireSimulationTest, SparksDoubleOnlyWarmHeat)
{
    // Row 5 is even heat; its spark (row 5 is odd and inside 2 < y < height - 3) picks one
    // column. Row 4 is written from row 5 before the spark and never again in the pass.
    struct Case {
        int heat;
        int sparks;
    };
    for (const Case& c : {Case{64, 1}, Case{33, 1}, Case{32, 0}, Case{128, 0}, Case{200, 0}}) {
        SCOPED_TRACE(c.heat);
        Start(Quiet(32, 12, 0));
        for (int32_t x = 0; x < 32; ++x)
            sim.SetHeat(x, 5, uint8_t(c.heat));
        sim.Propagate();
        const int plain = (3 * c.heat - 6) >> 2;
        const int spark = std::min(2 * c.heat, 255);
        int sparks = 0;
        for (int32_t x = 4; x < 28; ++x) {
            const int v = sim.GetHeat(x, 4);
            if (v == spark && spark != plain) {
                ++sparks;
                EXPECT_GE(x, 5);
                EXPECT_LE(x, 26);
            } else {
                EXPECT_EQ(plain, v) << x;
            }
        }
        EXPECT_EQ(c.sparks, sparks);
    }
}

TEST_F(FireSimulationTest, BurnImageStampsItsBrightPixels)
{
    struct Case {
        uint32_t width, height;
    };
    // Smaller than the fire, and larger in both directions (cut to the fire).
    for (const Case& c : {Case{3, 2}, Case{40, 30}}) {
        Start(Quiet(16, 10, 0));
        PXBitmapDesc burn;
        ASSERT_EQ(1u, AllocateBitmap(burn, c.width, c.height, 8));
        for (uint32_t y = 0; y < c.height; ++y)
            for (uint32_t x = 0; x < c.width; ++x)
                burn.data[y * c.width + x] = uint8_t((x + y) % 2 ? 11 : 10);
        sim.SetHeat(0, 0, 50);  // a dim burn pixel leaves the heat alone
        sim.StampBurnImage(burn);
        for (int32_t y = 0; y < 10; ++y) {
            for (int32_t x = 0; x < 16; ++x) {
                const bool inside = uint32_t(x) < c.width && uint32_t(y) < c.height;
                const int want = (x == 0 && y == 0) ? 50 : (inside && (x + y) % 2) ? 11 : 0;
                ASSERT_EQ(want, sim.GetHeat(x, y)) << x << "," << y;
            }
        }
    }
}

TEST_F(FireSimulationTest, SizesOutsideTheUsableRangeAreRefused)
{
    const std::pair<int32_t, int32_t> refused[] = {{10, 7},   {11, 6},    {0, 0},
                                                   {-20, 30}, {4097, 10}, {20, 4097}};
    for (const auto& size : refused) {
        PXFireSettings settings = Quiet(size.first, size.second, 10);
        EXPECT_FALSE(sim.Init(settings)) << size.first << "x" << size.second;
        EXPECT_FALSE(sim.IsReady());
        EXPECT_TRUE(sim.Particles().empty());
    }
    EXPECT_TRUE(sim.Init(Quiet(11, 7, 10)));
}

}  // namespace
