// The "PFire" element: its keys and defaults, refusal of sizes it cannot run at, the burn
// image, opaque and transparent output, odd sizes, clipping, and determinism for a seed.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/PXRandom.h"
#include "engine/graphics/PXPixelMath.h"
#include "engine/gui/PXEntity2DGUIPFire.h"
#include "tests/gui/GuiFixture.h"
#include "tests/support/HeldFrame.h"

namespace {

class FireElementTest : public GuiFilesTest {
protected:
    void SetUp() override
    {
        GuiFilesTest::SetUp();
        GlobalRandom().Seed(99);
    }

    PXEntityRef DefineFire(const std::string& keys)
    {
        return Define("class = PFire\ntype = F" + std::to_string(++m_count) + "\n" + keys);
    }

    PXEntity2DGUIPFire* MakeFire(const std::string& keys)
    {
        return Create<PXEntity2DGUIPFire>(DefineFire(keys));
    }

    // A pattern that no fire colour is likely to leave by chance.
    static uint16_t Sentinel(int32_t x, int32_t y)
    {
        return static_cast<uint16_t>((x * 7 + y * 131) & 0x7FFF);
    }

    void FillSentinel()
    {
        for (int32_t y = 0; y < 480; ++y)
            for (int32_t x = 0; x < 640; ++x)
                screen.SetPixel(x, y, Sentinel(x, y));
    }

    // The pixels outside the rectangle still hold the sentinel.
    void ExpectUntouchedOutside(const PXRect& r)
    {
        for (int32_t y = 0; y < 480; ++y)
            for (int32_t x = 0; x < 640; ++x)
                if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) {
                    ASSERT_EQ(Sentinel(x, y), Pixel(x, y)) << x << "," << y;
                }
    }

    void Run(PXEntity2DGUIPFire* fire, int frames)
    {
        for (int i = 0; i < frames; ++i) {
            fire->Update(16.0f);
            fire->Draw();
        }
    }

    int m_count = 0;
};

TEST_F(FireElementTest, KeysAndTheirDefaults)
{
    PXEntity2DGUIPFire* plain = MakeFire("Width = 40\nHeight = 20\n");
    ASSERT_NE(nullptr, plain);
    const PXFireSettings& d = plain->Simulation().GetSettings();
    EXPECT_EQ(0, d.particleCount);
    EXPECT_FALSE(d.transparent);
    EXPECT_EQ(0, d.flameHalf);
    EXPECT_EQ(20000, d.gravTime);
    EXPECT_FLOAT_EQ(0.1f, d.gravity);
    EXPECT_EQ(4, d.effectChance);
    EXPECT_FLOAT_EQ(0.5f, d.kickStrength);
    EXPECT_FLOAT_EQ(0.95f, d.bounceEnergy);
    EXPECT_EQ(6, d.burnFade);
    EXPECT_FALSE(d.burnEdges);
    // No "ColorScheme": the orange-yellow scheme.
    EXPECT_EQ(MakeColor(200, 100, 0, 255), plain->Simulation().GetPalette()[100]);
    PXRect rect;
    plain->SetPosition(PXPoint{30, 50});
    plain->GetRect(&rect);
    EXPECT_EQ((PXRect{30, 70, 50, 70}), rect);

    PXEntity2DGUIPFire* set = MakeFire("Width = 24\nHeight = 12\nNumParticles = 9\nTransparent = 1\n"
                                       "ColorScheme = 3\nFlameHalf = 2\nGravTime = 500\nGravity = 0.25\n"
                                       "RandEffectChance = 7\nKickStrength = 1.5\nBounceEnergy = 0.5\n"
                                       "BurnFade = 9\nBurnEdges = 1\nBurnImage = burn.bmp\n");
    ASSERT_NE(nullptr, set);
    const PXFireSettings& s = set->Simulation().GetSettings();
    EXPECT_EQ(24, s.width);
    EXPECT_EQ(12, s.height);
    EXPECT_EQ(9u, set->Simulation().Particles().size());
    EXPECT_TRUE(s.transparent);
    EXPECT_EQ(2, s.flameHalf);
    EXPECT_EQ(500, s.gravTime);
    EXPECT_FLOAT_EQ(0.25f, s.gravity);
    EXPECT_EQ(7, s.effectChance);
    EXPECT_FLOAT_EQ(1.5f, s.kickStrength);
    EXPECT_FLOAT_EQ(0.5f, s.bounceEnergy);
    EXPECT_EQ(9, s.burnFade);
    EXPECT_TRUE(s.burnEdges);
    EXPECT_EQ(MakeColor(25, 100, 25, 255), set->Simulation().GetPalette()[100]);
    EXPECT_EQ("burn.bmp", static_cast<PXEntity2DGUIPFireType*>(set->GetType())->GetBurnImageName());
}

TEST_F(FireElementTest, TooSmallOrMissingSizesMakeNoElement)
{
    struct Case {
        const char* keys;
        bool made;
    };
    const Case cases[] = {
        {"", false},
        {"Width = 10\nHeight = 7\n", false},
        {"Width = 11\nHeight = 6\n", false},
        {"Width = -40\nHeight = 20\n", false},
        {"Width = 100000\nHeight = 20\n", false},
        {"Width = 11\nHeight = 7\nNumParticles = 50\n", true},
    };
    for (const Case& c : cases) {
        const PXEntityRef ref = DefineFire(c.keys);
        std::unique_ptr<PXEntityBase> fire = registry.CreateEntity(ref, PXKind::GuiElement);
        EXPECT_EQ(c.made, fire != nullptr) << c.keys;
    }
}

TEST_F(FireElementTest, OnlyAnEightBitBurnImageIsKept)
{
    WriteMask("burn.bmp", 4, 3, std::vector<uint8_t>(12, 200));
    WriteSolidImage("colour.bmp", 4, 3, Rgb(31, 0, 0));
    struct Case {
        const char* name;
        bool kept;
    };
    for (const Case& c : {Case{"burn.bmp", true}, Case{"colour.bmp", false}, Case{"missing.bmp", false}}) {
        PXEntity2DGUIPFire* fire =
            MakeFire(std::string("Width = 16\nHeight = 8\nBurnImage = ") + c.name + "\n");
        auto* type = static_cast<PXEntity2DGUIPFireType*>(fire->GetType());
        ASSERT_TRUE(type->Load(false));
        EXPECT_EQ(c.kept, type->GetBurnImage() != nullptr) << c.name;
        type->Unload();
        EXPECT_EQ(nullptr, type->GetBurnImage());
    }
}

TEST_F(FireElementTest, DrawStampsTheBurnImage)
{
    // Rows 0 and 1 are never written by the propagation, so the stamp shows there as it is.
    WriteMask("burn.bmp", 16, 2, std::vector<uint8_t>(32, 180));
    PXEntity2DGUIPFire* fire = MakeFire("Width = 16\nHeight = 8\nBurnImage = burn.bmp\n");
    DirtyAll();
    ASSERT_TRUE(fire->Draw());
    for (int32_t x = 0; x < 16; ++x) {
        EXPECT_EQ(180, fire->Simulation().GetHeat(x, 0)) << x;
        EXPECT_EQ(180, fire->Simulation().GetHeat(x, 1)) << x;
    }
    EXPECT_EQ(fire->Simulation().GetPixelTable()[180], Pixel(5, 0));
}

TEST_F(FireElementTest, OutputIsOpaqueOrBlendedByHeat)
{
    // 100 wide: cold cells are skipped in blocks, and the last block of a row is short.
    for (const auto& [transparent, width] : {std::pair{false, 64}, {true, 64}, {true, 100}}) {
        SCOPED_TRACE(::testing::Message() << (transparent ? "transparent " : "opaque ") << width);
        PXEntity2DGUIPFire* fire = MakeFire("Width = " + std::to_string(width) +
                                            "\nHeight = 32\nNumParticles = 100\nBurnEdges = 1\nTransparent = " +
                                            (transparent ? "1" : "0") + "\n");
        fire->SetPosition(PXPoint{50, 40});
        Run(fire, 30);
        FillSentinel();
        // Draw works the heat first and then writes it out: the check reads the heat after.
        ASSERT_TRUE(fire->Draw());
        const PXFireSimulation& sim = fire->Simulation();
        int cold = 0, hot = 0;
        for (int32_t y = 0; y < 32; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t h = sim.GetHeat(x, y);
                const uint16_t c = sim.GetPixelTable()[h];
                const uint16_t before = Sentinel(50 + x, 40 + y);
                uint16_t want = c;
                if (transparent)
                    want = (h == 0 || c == 0) ? before : PXPixel::Blend(before, c, h);
                ASSERT_EQ(want, Pixel(50 + x, 40 + y)) << x << "," << y << " heat " << int(h);
                ++(h == 0 ? cold : hot);
            }
        }
        EXPECT_GT(cold, 0);
        EXPECT_GT(hot, 0);
        ExpectUntouchedOutside(PXRect{50, 50 + width, 40, 72});
    }
}

TEST_F(FireElementTest, AHeldFrameWorksTheHeatButWritesNothing)
{
    // A held frame is never shown, so the fire leaves the pixels alone.
    ScriptedClock clock;
    PXEntity2DGUIPFire* fire = MakeFire("Width = 64\nHeight = 32\nNumParticles = 100\nBurnEdges = 1\n");
    fire->SetPosition(PXPoint{50, 40});
    Run(fire, 30);
    FillSentinel();
    PresentUntilAFrameIsHeld(screen, clock);
    ASSERT_TRUE(screen.IsDrawingHeld());
    const PXFireSimulation& sim = fire->Simulation();
    const std::vector<uint8_t> before(sim.GetHeatBitmap().data.get(), sim.GetHeatBitmap().data.get() + 64 * 32);
    ASSERT_TRUE(fire->Draw());
    const std::vector<uint8_t> after(sim.GetHeatBitmap().data.get(), sim.GetHeatBitmap().data.get() + 64 * 32);
    EXPECT_NE(before, after);
    ExpectUntouchedOutside(PXRect{0, 0, 0, 0});
    screen.SetPresentPacing(nullptr, 0);
}

TEST_F(FireElementTest, UpdateInvalidatesTheFireRectangle)
{
    PXEntity2DGUIPFire* fire = MakeFire("Width = 64\nHeight = 32\nNumParticles = 10\n");
    fire->SetPosition(PXPoint{50, 40});
    screen.ClearDirtyList();
    ASSERT_TRUE(fire->Update(16.0f));
    ASSERT_EQ(1, screen.GetDirtyList()->count);
    EXPECT_EQ((PXRect{50, 114, 40, 72}), screen.GetDirtyList()->rects[0]);
}

TEST_F(FireElementTest, ParticlesSteerTowardsTheMouseInTheFiresOwnCoordinates)
{
    PXEntity2DGUIPFire* fire =
        MakeFire("Width = 64\nHeight = 32\nNumParticles = 1\nRandEffectChance = 1000000\n");
    fire->SetPosition(PXPoint{100, 200});
    PXFireSimulation& sim = fire->Simulation();
    sim.SetFollowLeader(false);
    sim.SetFollowMouse(true);
    MoveMouse(140, 215);
    fire->Update(16.0f);
    EXPECT_EQ(40.0f, sim.Particles()[0].targetX);
    EXPECT_EQ(15.0f, sim.Particles()[0].targetY);
}

TEST_F(FireElementTest, OddSizesStayInsideTheirBuffers)
{
    // Every random effect and gravity turn (upside down included) comes up within the run;
    // ASan reports any access past a heat row, and the frame around the fire is checked.
    for (int32_t width = 11; width <= 19; ++width) {
        for (int32_t height = 7; height <= 9; ++height) {
            SCOPED_TRACE(::testing::Message() << width << "x" << height);
            PXEntity2DGUIPFire* fire = MakeFire(
                "Width = " + std::to_string(width) + "\nHeight = " + std::to_string(height) +
                "\nNumParticles = 40\nBurnEdges = 1\nRandEffectChance = 0\nGravTime = 16\nTransparent = " +
                std::to_string(width % 2) + "\n");
            ASSERT_NE(nullptr, fire);
            fire->SetPosition(PXPoint{640 - width, 480 - height});
            FillSentinel();
            Run(fire, 150);
            ExpectUntouchedOutside(PXRect{640 - width, 640, 480 - height, 480});
        }
    }
}

TEST_F(FireElementTest, AFirePartlyOffTheFrameIsClippedToIt)
{
    PXEntity2DGUIPFire* fire = MakeFire("Width = 64\nHeight = 32\nNumParticles = 50\nBurnEdges = 1\n");
    for (const PXPoint at : {PXPoint{600, 460}, PXPoint{-30, -10}}) {
        fire->SetPosition(at);
        FillSentinel();
        Run(fire, 20);
        ExpectUntouchedOutside(PXRect{at.x, at.x + 64, at.y, at.y + 32});
        // The visible part is drawn (opaque: the pixel of the heat there).
        const int32_t x = std::max(at.x, 0) + 1, y = std::max(at.y, 0) + 1;
        EXPECT_EQ(fire->Simulation().GetPixelTable()[fire->Simulation().GetHeat(x - at.x, y - at.y)],
                  Pixel(x, y));
    }
}

TEST_F(FireElementTest, TheSameSeedGivesTheSameFire)
{
    const std::string keys =
        "Width = 48\nHeight = 24\nNumParticles = 64\nBurnEdges = 1\nRandEffectChance = 2\n"
        "GravTime = 200\n";
    auto runFrom = [&](uint32_t seed) {
        GlobalRandom().Seed(seed);
        PXEntity2DGUIPFire* fire = MakeFire(keys);
        DirtyAll();
        Run(fire, 120);
        std::vector<uint8_t> heat;
        for (int32_t y = 0; y < 24; ++y)
            for (int32_t x = 0; x < 48; ++x)
                heat.push_back(fire->Simulation().GetHeat(x, y));
        std::vector<float> motion;
        for (const PXFireParticle& p : fire->Simulation().Particles())
            motion.insert(motion.end(), {p.x, p.y, p.vx, p.vy});
        return std::make_pair(heat, motion);
    };
    const auto first = runFrom(7);
    const auto again = runFrom(7);
    const auto other = runFrom(8);
    EXPECT_EQ(first.first, again.first);
    EXPECT_EQ(first.second, again.second);
    EXPECT_NE(first.first, other.first);
}

}  // namespace
