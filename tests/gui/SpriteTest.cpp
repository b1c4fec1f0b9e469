// Sprites, scrolling sprites and animated sprites on the headless screen: the draw choices,
// image replacement and reload, rectangles and clicks, scrolling and frame stepping.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/gui/PXEntity2DGUIAnimSprite.h"
#include "engine/gui/PXEntity2DGUIScrollingSprite.h"
#include "engine/gui/PXEntity2DGUISprite.h"
#include "tests/gui/GuiFixture.h"

namespace {

constexpr uint16_t Red = Rgb(31, 0, 0);
constexpr uint16_t Green = Rgb(0, 31, 0);
constexpr uint16_t Blue = Rgb(0, 0, 31);
constexpr uint16_t White = 0x7FFF;

class SpriteTest : public GuiFilesTest {
protected:
    void SetUp() override
    {
        GuiFilesTest::SetUp();
        // Red, key colour / green, blue.
        WriteImage("quad.bmp", 2, 2, {Red, 0, Green, Blue});
        WriteSolidImage("wide.bmp", 4, 1, Blue);
    }

    PXEntity2DGUISprite* MakeSprite(const std::string& keys)
    {
        PXEntityRef ref = Define("class = sprite\ntype = S" + std::to_string(++m_count) + "\n" + keys);
        return Create<PXEntity2DGUISprite>(ref);
    }

    void FillWhite(int32_t w, int32_t h)
    {
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                screen.SetPixel(x, y, White);
    }

    std::vector<uint16_t> Block(int32_t x, int32_t y, int32_t w, int32_t h) const
    {
        std::vector<uint16_t> out;
        for (int32_t yy = y; yy < y + h; ++yy)
            for (int32_t xx = x; xx < x + w; ++xx)
                out.push_back(Pixel(xx, yy));
        return out;
    }

    int m_count = 0;
};

TEST_F(SpriteTest, DrawChoosesTheBlitByFlipAlphaKeyAndMask)
{
    // Mask: full at the top left, none at the bottom left, half on the right.
    WriteMask("quad_mask.bmp", 2, 2, {255, 128, 0, 128});
    struct Case {
        const char* name;
        std::string keys;
        bool flipped;
        int32_t alpha;
        std::vector<uint16_t> expected;  // the 2 x 2 block over a white background
    };
    const Case cases[] = {
        {"plain copy", "image = quad.bmp\n", false, 255, {Red, 0, Green, Blue}},
        {"colour key", "image = quad.bmp\ntransparent = 1\n", false, 255, {Red, White, Green, Blue}},
        {"flipped", "image = quad.bmp\n", true, 255, {Green, Blue, Red, 0}},
        // Blend halfway towards the source; the key colour still blends without the key.
        {"alpha",
         "image = quad.bmp\n",
         false,
         128,
         {Rgb(31, 15, 15), Rgb(15, 15, 15), Rgb(15, 31, 15), Rgb(15, 15, 31)}},
        {"alpha keyed",
         "image = quad.bmp\ntransparent = 1\n",
         false,
         128,
         {Rgb(31, 15, 15), White, Rgb(15, 31, 15), Rgb(15, 15, 31)}},
        // The mask: 255 draws the source, 0 keeps the background; key-colour pixels are skipped.
        {"mask",
         "image = quad.bmp\nalphaimage = quad_mask.bmp\n",
         false,
         255,
         {Red, White, White, Rgb(15, 15, 31)}},
        // Flipping wins over the mask.
        {"flip over mask",
         "image = quad.bmp\nalphaimage = quad_mask.bmp\n",
         true,
         255,
         {Green, Blue, Red, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* sprite = MakeSprite(c.keys);
        sprite->SetAltProperty(PXSpriteProp::Flipped, c.flipped ? 1 : 0);
        sprite->SetAlpha(c.alpha);
        FillWhite(4, 4);
        DirtyAll();
        sprite->SetPosition(PXPoint{1, 1});
        EXPECT_TRUE(sprite->Draw());
        EXPECT_EQ(c.expected, Block(1, 1, 2, 2));
        EXPECT_EQ(White, Pixel(0, 0));
        EXPECT_EQ(White, Pixel(3, 3));
    }
}

TEST_F(SpriteTest, SizeFollowsTheImageAndOffsetsMoveTheDrawing)
{
    auto* sprite = MakeSprite("image = wide.bmp\nxoffset = 3\nyoffset = 2\n");
    int32_t w = 0;
    int32_t h = 0;
    EXPECT_TRUE(sprite->GetAltProperty(PXSpriteProp::Width, &w));
    EXPECT_TRUE(sprite->GetAltProperty(PXSpriteProp::Height, &h));
    EXPECT_EQ(4, w);
    EXPECT_EQ(1, h);
    ClearScreen();
    DirtyAll();
    sprite->SetPosition(PXPoint{10, 10});
    ASSERT_TRUE(sprite->Draw());
    EXPECT_EQ(4, sprite->GetWidth());
    EXPECT_EQ(1, sprite->GetHeight());
    EXPECT_EQ(Blue, Pixel(13, 12));
    EXPECT_EQ(Blue, Pixel(16, 12));
    EXPECT_EQ(0, Pixel(17, 12));
    EXPECT_EQ(0, Pixel(10, 10));
}

TEST_F(SpriteTest, MissingImageDrawsNothingAndAnswersNoSize)
{
    auto* sprite = MakeSprite("image = nowhere.bmp\n");
    EXPECT_FALSE(sprite->Draw());
    int32_t w = 0;
    EXPECT_FALSE(sprite->GetAltProperty(PXSpriteProp::Width, &w));
    EXPECT_FALSE(sprite->SetAltProperty(PXSpriteProp::Redraw, 0));
}

TEST_F(SpriteTest, AnImageLostByTheScreenIsReloadedAndDrawn)
{
    auto* sprite = MakeSprite("image = wide.bmp\n");
    ASSERT_TRUE(sprite->Draw());
    auto* type = static_cast<PXEntity2DGUISpriteType*>(sprite->GetType());
    ASSERT_NE(nullptr, type->GetImage());
    screen.FreeAllImages();  // what a mode change does
    ClearScreen();
    DirtyAll();
    EXPECT_TRUE(sprite->Draw());
    EXPECT_EQ(Blue, Pixel(0, 0));
    EXPECT_EQ(Blue, Pixel(3, 0));
    EXPECT_TRUE(screen.HasImage(type->GetImage()->imageId));
}

TEST_F(SpriteTest, ReplacingTheImageChangesEverySpriteOfTheTypeAndFallsBack)
{
    PXEntityRef ref = Define("class = sprite\ntype = Shared\nimage = quad.bmp\n");
    auto* a = Create<PXEntity2DGUISprite>(ref);
    auto* b = Create<PXEntity2DGUISprite>(ref);
    int32_t w = 0;
    EXPECT_TRUE(a->SetStringProperty(PXSpriteProp::Image, "wide.bmp"));
    EXPECT_TRUE(b->GetAltProperty(PXSpriteProp::Width, &w));
    EXPECT_EQ(4, w);

    EXPECT_TRUE(a->SetStringProperty(PXSpriteProp::Image, "missing.bmp"));
    EXPECT_TRUE(b->GetAltProperty(PXSpriteProp::Width, &w));
    EXPECT_EQ(2, w);
    auto* type = static_cast<PXEntity2DGUISpriteType*>(a->GetType());
    EXPECT_EQ("quad.bmp", type->GetImageName());
    // The replaced image went back to the cache; only the defined one is held.
    EXPECT_EQ(1u, cache->ImageCount());
}

TEST_F(SpriteTest, InvalidateCoversTheImageAndClearsOnlyWhenTransparent)
{
    struct Case {
        const char* keys;
        uint16_t after;  // the pixel under the sprite after invalidating
    };
    const Case cases[] = {{"image = wide.bmp\nxoffset = 1\n", White},
                          {"image = wide.bmp\nxoffset = 1\ntransparent 1\n", 0}};
    for (const Case& c : cases) {
        auto* sprite = MakeSprite(c.keys);
        sprite->SetPosition(PXPoint{5, 6});
        sprite->Draw();
        screen.SetPixel(7, 6, White);
        screen.ClearDirtyList();
        sprite->Invalidate();
        ASSERT_EQ(1, screen.GetDirtyList()->count) << c.keys;
        EXPECT_EQ((PXRect{6, 10, 6, 7}), screen.GetDirtyList()->rects[0]);
        EXPECT_EQ(c.after, Pixel(7, 6)) << c.keys;
    }
}

TEST_F(SpriteTest, ClickIsInclusiveOnEveryEdge)
{
    auto* sprite = MakeSprite("image = wide.bmp\nxoffset = 2\nyoffset = 1\n");
    sprite->SetPosition(PXPoint{10, 20});
    sprite->Draw();  // the click area follows the drawn size: 12..16 by 21..22
    struct Case {
        int32_t x, y;
        bool hit;
    };
    const Case cases[] = {{12, 21, true},  {16, 22, true},  {14, 21, true}, {11, 21, false},
                          {17, 21, false}, {12, 20, false}, {12, 23, false}};
    for (const Case& c : cases)
        EXPECT_EQ(c.hit, sprite->Click(PXPoint{c.x, c.y})) << c.x << "," << c.y;
    EXPECT_FALSE(sprite->IsOver(PXPoint{14, 21}));
}

TEST_F(SpriteTest, ScrollingSpriteKeepsItsOffsetInsideTheImage)
{
    std::vector<uint16_t> columns;
    for (int32_t x = 0; x < 64; ++x)
        columns.push_back(Rgb(static_cast<uint32_t>(x % 32), x >= 32 ? 31 : 0, 1));
    WriteImage("band.bmp", 64, 1, columns);
    PXEntityRef ref = Define("class = scrollingsprite\ntype = Band\nimage = band.bmp\nBoxWidth = 100\n"
                             "BoxHeight = 2\nHorizScrollSpeed = -30\n");
    auto* band = Create<PXEntity2DGUIScrollingSprite>(ref);
    ASSERT_TRUE(band->Draw());
    for (int i = 0; i < 500; ++i) {
        band->Update(16.0f);
        ASSERT_GE(band->GetScrollX(), 0.0f);
        ASSERT_LT(band->GetScrollX(), 64.0f);
    }
    // 8 s at -30 px/s is -240 px: 256 - 240 = 16 into the image.
    EXPECT_NEAR(16.0f, band->GetScrollX(), 0.01f);

    ClearScreen();
    DirtyAll();
    ASSERT_TRUE(band->Draw());
    const auto column = [&](int32_t x) { return Pixel(x, 1); };
    const int32_t start = static_cast<int32_t>(band->GetScrollX());
    EXPECT_EQ(columns[static_cast<size_t>(start)], column(0));
    EXPECT_EQ(columns[63], column(63 - start));
    EXPECT_EQ(columns[0], column(64 - start));  // the next tile starts at the image's left edge
    EXPECT_EQ(0, Pixel(100, 0));                // the box ends at its width
}

class AnimSpriteTest : public SpriteTest {
protected:
    PXEntity2DGUIAnimSprite* MakeAnim(const std::string& keys)
    {
        PXEntityRef ref = Define("class = animsprite\ntype = A" + std::to_string(++m_count) + "\n" + keys);
        return Create<PXEntity2DGUIAnimSprite>(ref);
    }
};

TEST_F(AnimSpriteTest, TenFramesASecondAdvanceEverySixOrSevenUpdatesAndWrap)
{
    WriteList("five.img", {{2, 2, Red}, {2, 2, Green}, {2, 2, Blue}, {2, 2, White}, {3, 1, Rgb(1, 2, 3)}});
    auto* anim = MakeAnim("image = five.img\nFrameRate = 10\n");
    anim->Update(0.0f);
    std::vector<int> runs;
    uint32_t last = anim->GetFrame();
    int run = 0;
    bool wrapped = false;
    for (int i = 0; i < 40; ++i) {
        anim->Update(16.0f);
        ++run;
        if (anim->GetFrame() != last) {
            if (anim->GetFrame() == 0 && last == 4)
                wrapped = true;
            else
                EXPECT_EQ(last + 1, anim->GetFrame());
            runs.push_back(run);
            run = 0;
            last = anim->GetFrame();
        }
    }
    EXPECT_TRUE(wrapped);
    ASSERT_GE(runs.size(), 5u);
    for (size_t i = 1; i < runs.size(); ++i) {
        EXPECT_GE(runs[i], 6);
        EXPECT_LE(runs[i], 7);
    }

    // The frame's size is the element's size.
    anim->SetAltProperty(PXSpriteProp::Frame, 4);
    int32_t w = 0;
    EXPECT_TRUE(anim->GetAltProperty(PXSpriteProp::Width, &w));
    EXPECT_EQ(3, w);
}

TEST_F(AnimSpriteTest, FramePropertyClampsUnsigned)
{
    WriteList("five.img", {{1, 1, Red}, {1, 1, Green}, {1, 1, Blue}, {1, 1, White}, {1, 1, Red}});
    auto* anim = MakeAnim("image = five.img\n");
    const std::pair<int32_t, uint32_t> cases[] = {{2, 2}, {999, 4}, {-1, 4}, {0, 0}};
    for (const auto& c : cases) {
        EXPECT_TRUE(anim->SetAltProperty(PXSpriteProp::Frame, c.first));
        int32_t frame = -1;
        EXPECT_TRUE(anim->GetAltProperty(PXSpriteProp::Frame, &frame));
        EXPECT_EQ(static_cast<int32_t>(c.second), frame) << c.first;
        EXPECT_EQ(static_cast<float>(c.second), anim->GetFramePosition());
    }
}

TEST_F(AnimSpriteTest, HiddenDisabledOrStoppedAnimationKeepsItsFrame)
{
    WriteList("two.img", {{1, 1, Red}, {1, 1, Green}});
    auto* anim = MakeAnim("image = two.img\nFrameRate = 100\n");
    anim->SetDisabled(true);
    anim->Update(15.0f);
    EXPECT_EQ(0u, anim->GetFrame());
    anim->SetDisabled(false);
    anim->SetVisible(false);
    anim->Update(15.0f);
    EXPECT_EQ(0u, anim->GetFrame());
    anim->SetVisible(true);
    EXPECT_FALSE(anim->SetAltProperty(PXSpriteProp::Animating, 0));
    anim->Update(15.0f);
    EXPECT_EQ(0u, anim->GetFrame());
    anim->SetAltProperty(PXSpriteProp::Animating, 1);
    anim->Update(15.0f);
    EXPECT_EQ(1u, anim->GetFrame());
}

TEST_F(AnimSpriteTest, NegativeFrameRateRunsBackwardsWithoutANegativeFrame)
{
    WriteList("three.img", {{1, 1, Red}, {1, 1, Green}, {1, 1, Blue}});
    auto* anim = MakeAnim("image = three.img\nFrameRate = -10\n");
    anim->Update(0.0f);
    anim->Update(150.0f);  // -1.5 frames: wraps to 1.5
    EXPECT_EQ(1u, anim->GetFrame());
    EXPECT_GE(anim->GetFramePosition(), 0.0f);
}

TEST_F(AnimSpriteTest, DrawsTheCurrentFrame)
{
    WriteList("two.img", {{2, 1, Red}, {2, 1, Green}});
    auto* anim = MakeAnim("image = two.img\n");
    anim->SetPosition(PXPoint{4, 4});
    ClearScreen();
    DirtyAll();
    ASSERT_TRUE(anim->Draw());
    EXPECT_EQ(Red, Pixel(4, 4));
    anim->SetAltProperty(PXSpriteProp::Frame, 1);
    DirtyAll();
    anim->Draw();
    EXPECT_EQ(Green, Pixel(5, 4));
    EXPECT_EQ(0, Pixel(6, 4));
}

TEST_F(AnimSpriteTest, TheLastMaskServesEveryLaterFrame)
{
    std::vector<Frame> frames;
    for (int i = 0; i < 8; ++i)
        frames.push_back({2, 1, Red});
    WriteList("eight.img", frames);
    WriteList("masks.img", {{2, 1, Red}, {2, 1, Red}, {2, 1, Red}});
    auto* anim = MakeAnim("image = eight.img\nalphaimage = masks.img\n");
    anim->Update(0.0f);
    auto* type = static_cast<PXEntity2DGUIAnimSpriteType*>(anim->GetType());
    ASSERT_EQ(3u, type->GetMaskCount());
    EXPECT_NE(type->GetUsableMask(0), type->GetUsableMask(1));
    EXPECT_NE(type->GetUsableMask(1), type->GetUsableMask(2));
    for (uint32_t f = 2; f < 8; ++f)
        EXPECT_EQ(type->GetUsableMask(2), type->GetUsableMask(f)) << f;
    ASSERT_NE(nullptr, type->GetUsableMask(0));

    // All-zero masks blend nothing in: the background stays.
    FillWhite(4, 4);
    DirtyAll();
    anim->SetAltProperty(PXSpriteProp::Frame, 5);
    ASSERT_TRUE(anim->Draw());
    EXPECT_EQ(White, Pixel(0, 0));
}

// Sprites and animated sprites share the picture's load cycle: each kind takes a replacement,
// falls back to its defined picture when the replacement does not load, keeps only that one
// in the cache, and reloads a picture the screen lost.
TEST_F(AnimSpriteTest, BothPictureKindsReplaceFallBackAndReload)
{
    WriteList("one.img", {{2, 2, Red}});
    WriteList("long.img", {{4, 1, Blue}});
    struct Case {
        const char* className;
        const char* defined;
        const char* replacement;
        size_t (PXResourceCache::*held)() const;
    };
    const Case cases[] = {
        {"sprite", "quad.bmp", "wide.bmp", &PXResourceCache::ImageCount},
        {"animsprite", "one.img", "long.img", &PXResourceCache::ImageListCount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        PXEntityRef ref = Define(std::string("class = ") + c.className + "\ntype = Swap" +
                                 std::to_string(++m_count) + "\nimage = " + c.defined + "\n");
        auto* a = Create<PXEntity2DGUIElement>(ref);
        auto* b = Create<PXEntity2DGUIElement>(ref);
        int32_t w = 0;
        EXPECT_TRUE(a->SetStringProperty(PXSpriteProp::Image, c.replacement));
        EXPECT_TRUE(b->GetAltProperty(PXSpriteProp::Width, &w));
        EXPECT_EQ(4, w);

        EXPECT_TRUE(a->SetStringProperty(PXSpriteProp::Image, "missing.bmp"));
        EXPECT_TRUE(b->GetAltProperty(PXSpriteProp::Width, &w));
        EXPECT_EQ(2, w);
        EXPECT_EQ(c.defined, static_cast<PXEntity2DGUIImageType*>(a->GetType())->GetImageName());
        // The replaced picture went back to the cache; only the defined one is held.
        EXPECT_EQ(1u, ((*cache).*c.held)());

        screen.FreeAllImages();  // what a mode change does
        ClearScreen();
        DirtyAll();
        EXPECT_TRUE(a->Draw());
        EXPECT_EQ(Red, Pixel(0, 0));
        EXPECT_EQ(2, a->GetWidth());
    }
}

}  // namespace
