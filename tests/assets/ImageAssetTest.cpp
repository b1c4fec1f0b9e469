// Generated pictures read back through the engine's readers: sizes, frame counts,
// colour keys, masks, the triangle tessellation and the colour-blind brightness steps.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/assets/GeneratedTree.h"

namespace {

using assets::ToScreen;
using assets::Tree;

const char* const Colours[7] = {"Blue", "Green", "Orange", "Purple", "Red", "Yellow", "Gray"};

// 5-5-5 channel values scaled to 0..1.
float Red(uint16_t p)
{
    return ((p >> 10) & 31) / 31.0f;
}
float Green(uint16_t p)
{
    return ((p >> 5) & 31) / 31.0f;
}
float Blue(uint16_t p)
{
    return (p & 31) / 31.0f;
}
float Luma(uint16_t p)
{
    return 0.299f * Red(p) + 0.587f * Green(p) + 0.114f * Blue(p);
}

std::vector<PXImage> ScreenFrames(const std::string& path)
{
    Tree::List list = Tree::Get().ReadList(path);
    std::vector<PXImage> images(list.count);
    for (uint32_t k = 0; k < list.count; ++k)
        EXPECT_TRUE(ToScreen(list.frames[k], images[k])) << path << " frame " << k;
    return images;
}

TEST(GeneratedImages, GeneratorRan)
{
    ASSERT_TRUE(Tree::Get().Ok()) << "assetgen failed; expected at " << assets::GeneratorPath();
}

TEST(GeneratedImages, ImageListsReadWithTheirSizesAndFrameCounts)
{
    struct Case {
        std::string path;
        uint32_t minFrames, maxFrames, width, height;
    };
    std::vector<Case> cases = {
        {"Shardfall/Images/backgrounds.img", 8, 64, 96, 96},
        {"Shardfall/Images/banners.img", 99, 999, 112, 480},
        {"Shardfall/Images/explo.img", 10, 16, 64, 64},
        {"Shardfall/Images/shimmer.img", 4, 32, 32, 28},
        {"Shardfall/Images/shimmerflipped.img", 4, 32, 32, 28},
        {"Shardfall/Images/Hourglass.img", 2, 32, 18, 26},
    };
    for (const char* colour : Colours)
        cases.push_back({std::string("Shardfall/Images/Tri_") + colour + ".img", 8, 64, 32, 28});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        Tree::List list = Tree::Get().ReadList(c.path);
        ASSERT_EQ(1u, list.status);
        EXPECT_GE(list.count, c.minFrames);
        EXPECT_LE(list.count, c.maxFrames);
        for (uint32_t k = 0; k < list.count; ++k) {
            const PXBitmapDesc& f = list.frames[k];
            EXPECT_EQ(15u, f.bitsPerPixel);
            EXPECT_EQ(c.width, f.width);
            EXPECT_EQ(c.height, f.height);
            EXPECT_FALSE(f.name.empty());
            PXImage image;
            EXPECT_TRUE(ToScreen(f, image)) << "frame " << k;
        }
    }
}

TEST(GeneratedImages, EachBannerCarriesItsOwnLevel)
{
    // Frame k is the banner of level k + 1; with too few frames level 31 showed "LEVEL 1".
    Tree::List list = Tree::Get().ReadList("Shardfall/Images/banners.img");
    ASSERT_EQ(1u, list.status);
    ASSERT_GE(list.count, 99u);
    for (uint32_t k = 0; k < list.count; ++k)
        EXPECT_EQ("Level" + std::to_string(k + 1), list.frames[k].name);
}

TEST(GeneratedImages, EveryLevelLookHasTheSameFrameCountAcrossColours)
{
    // The play scene indexes the seven lists and the backgrounds with one frame number.
    uint32_t backgrounds = Tree::Get().ReadList("Shardfall/Images/backgrounds.img").count;
    for (const char* colour : Colours)
        EXPECT_EQ(backgrounds,
                  Tree::Get().ReadList(std::string("Shardfall/Images/Tri_") + colour + ".img").count)
            << colour;
}

TEST(GeneratedImages, BitmapsReadWithTheirSizes)
{
    struct Case {
        std::string path;
        uint32_t width, height, depth;
    };
    const Case cases[] = {
        {"Shardfall/Images/InfoStrip.bmp", 128, 480, 24},
        {"Shardfall/Images/MainMenuBG.bmp", 640, 480, 24},
        {"Shardfall/Images/InstrBG.bmp", 640, 480, 24},
        {"Shardfall/Images/HighScoreBG.bmp", 640, 480, 24},
        {"Shardfall/Images/Icon.bmp", 32, 32, 32},
        {"Shardfall/Images/Hourglass.bmp", 18, 26, 24},
        {"Shardfall/Images/Buttons/Pause.bmp", 36, 36, 24},
        {"Shardfall/Images/Buttons/Easy_Hover.bmp", 200, 40, 24},
        {"Shardfall/Images/Buttons/OK_Down.bmp", 100, 30, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        PXBitmapDesc bitmap;
        ASSERT_EQ(1u, Tree::Get().ReadBitmap(c.path, bitmap));
        EXPECT_EQ(c.width, bitmap.width);
        EXPECT_EQ(c.height, bitmap.height);
        EXPECT_EQ(c.depth, bitmap.bitsPerPixel);
        PXImage image;
        EXPECT_TRUE(ToScreen(bitmap, image));
    }
}

TEST(GeneratedImages, InfoStripFitsItsSlotAndCursorTipIsTheHotSpot)
{
    PXBitmapDesc strip;
    ASSERT_EQ(1u, Tree::Get().ReadBitmap("Shardfall/Images/InfoStrip.bmp", strip));
    EXPECT_EQ(528u - 400u, strip.width);

    // The cursor sprite is placed by its top-left corner, so the tip must be there.
    PXBitmapDesc cursor, mask;
    ASSERT_EQ(1u, Tree::Get().ReadBitmap("Shardfall/Images/Cursor.bmp", cursor));
    ASSERT_EQ(1u, Tree::Get().ReadBitmap("Shardfall/Images/Cursor_Mask.bmp", mask));
    uint32_t firstX = cursor.width, firstY = cursor.height;
    for (uint32_t y = 0; y < mask.height && firstY == cursor.height; ++y)
        for (uint32_t x = 0; x < mask.width; ++x)
            if (mask.rows[y][x] > 128) {
                firstX = x, firstY = y;
                break;
            }
    EXPECT_LE(firstX, 1u);
    EXPECT_LE(firstY, 1u);
}

// Every mask belongs to pictures of its size, and every pixel the mask shows is not the
// colour key (the masked blits skip key pixels, which would punch holes in soft edges).
TEST(GeneratedImages, MasksMatchTheirPictures)
{
    int masks = 0;
    for (const std::string& file : assets::FilesUnder(Tree::Get().Root())) {
        const std::string suffix = "_Mask.bmp";
        if (file.size() < suffix.size() ||
            file.compare(file.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        ++masks;
        SCOPED_TRACE(file);
        PXBitmapDesc mask;
        ASSERT_EQ(1u, Tree::Get().ReadBitmap(file, mask));
        EXPECT_EQ(8u, mask.bitsPerPixel);
        const std::string stem = file.substr(0, file.size() - suffix.size());
        std::vector<std::string> pictures;
        for (const char* state : {"", "_Hover", "_Down", "_Disabled"})
            if (Tree::Get().Exists(stem + state + ".bmp"))
                pictures.push_back(stem + state + ".bmp");
        ASSERT_FALSE(pictures.empty());
        for (const std::string& picture : pictures) {
            PXBitmapDesc bitmap;
            ASSERT_EQ(1u, Tree::Get().ReadBitmap(picture, bitmap)) << picture;
            ASSERT_EQ(mask.width, bitmap.width) << picture;
            ASSERT_EQ(mask.height, bitmap.height) << picture;
            PXImage image;
            ASSERT_TRUE(ToScreen(bitmap, image));
            int holes = 0, covered = 0;
            for (uint32_t y = 0; y < mask.height; ++y)
                for (uint32_t x = 0; x < mask.width; ++x)
                    if (mask.rows[y][x] > 0) {
                        ++covered;
                        holes += image.pixels[y * image.width + x] == 0 ? 1 : 0;
                    }
            EXPECT_EQ(0, holes) << picture;
            EXPECT_GT(covered, 0) << picture;
        }
    }
    EXPECT_GT(masks, 0);
}

TEST(GeneratedImages, ButtonsHaveAllFourStates)
{
    for (const char* name : {"Easy", "Medium", "Hard", "HighScores", "WebPage", "Quit", "Done", "OK", "Yes",
                             "No", "Cancel", "Pause", "Sound", "SoundOff", "Fullscreen"}) {
        for (const char* state : {"", "_Hover", "_Down", "_Disabled"}) {
            std::string path = std::string("Shardfall/Images/Buttons/") + name + state + ".bmp";
            EXPECT_TRUE(Tree::Get().Exists(path)) << path;
        }
        // The states must differ, or hovering and pressing show nothing.
        auto normal = Tree::Get().Bytes(std::string("Shardfall/Images/Buttons/") + name + ".bmp");
        for (const char* state : {"_Hover", "_Down", "_Disabled"})
            EXPECT_NE(normal,
                      Tree::Get().Bytes(std::string("Shardfall/Images/Buttons/") + name + state + ".bmp"))
                << name << state;
    }
}

// An up-pointing triangle and its flipped twin one column (16 pixels) to the right must
// fill the shared rows exactly once: no gap and no overlap where neighbours meet.
TEST(GeneratedImages, TrianglesTessellateWithTheirFlippedNeighbours)
{
    for (const char* colour : Colours) {
        std::vector<PXImage> frames = ScreenFrames(std::string("Shardfall/Images/Tri_") + colour + ".img");
        for (size_t k = 0; k < frames.size(); ++k) {
            SCOPED_TRACE(std::string(colour) + " frame " + std::to_string(k));
            const PXImage& tri = frames[k];
            ASSERT_EQ(32u, tri.width);
            ASSERT_EQ(28u, tri.height);
            auto solid = [&](int x, int y) { return tri.pixels[static_cast<size_t>(y) * 32 + x] != 0; };
            int gaps = 0, overlaps = 0, asymmetric = 0;
            for (int y = 0; y < 28; ++y) {
                for (int x = 16; x < 48; ++x) {
                    bool up = x < 32 && solid(x, y);
                    bool down = solid(x - 16, 27 - y);  // drawn flipped, 16 pixels right
                    gaps += !up && !down && x < 32 ? 1 : 0;
                    overlaps += up && down ? 1 : 0;
                }
                for (int x = 0; x < 16; ++x)
                    asymmetric += solid(x, y) != solid(31 - x, y) ? 1 : 0;
            }
            EXPECT_EQ(0, gaps);
            EXPECT_EQ(0, overlaps);
            EXPECT_EQ(0, asymmetric);
            // Apex at the top centre (the first row's pixels belong to the neighbours),
            // base along the bottom, corners keyed.
            EXPECT_TRUE(solid(15, 1) && solid(16, 1));
            EXPECT_FALSE(solid(0, 0) || solid(31, 0) || solid(14, 1) || solid(17, 1));
            EXPECT_TRUE(solid(0, 27) && solid(31, 27));
        }
    }
}

// Colour-blind players tell the six piece colours apart by brightness: in every level look
// their average lightness keeps a clear step between neighbours.
TEST(GeneratedImages, PieceColoursDifferInBrightnessInEveryLook)
{
    std::vector<std::vector<PXImage>> lists;
    for (int c = 0; c < 6; ++c)
        lists.push_back(ScreenFrames(std::string("Shardfall/Images/Tri_") + Colours[c] + ".img"));
    for (size_t look = 0; look < lists[0].size(); ++look) {
        SCOPED_TRACE("look " + std::to_string(look));
        std::vector<std::pair<float, int>> lightness;
        for (int c = 0; c < 6; ++c) {
            const PXImage& tri = lists[static_cast<size_t>(c)][look];
            double sum = 0;
            int n = 0;
            for (uint16_t p : tri.pixels)
                if (p != 0)
                    sum += Luma(p), ++n;
            lightness.push_back({static_cast<float>(sum / n), c});
        }
        std::sort(lightness.begin(), lightness.end());
        for (size_t i = 1; i < lightness.size(); ++i)
            EXPECT_GE(lightness[i].first - lightness[i - 1].first, 0.04f)
                << Colours[lightness[i - 1].second] << " and " << Colours[lightness[i].second];
    }
}

TEST(GeneratedImages, LevelLooksAreClearlyDifferent)
{
    std::vector<PXImage> frames = ScreenFrames("Shardfall/Images/Tri_Blue.img");
    for (size_t a = 0; a < frames.size(); ++a) {
        for (size_t b = a + 1; b < frames.size(); ++b) {
            double diff = 0;
            int n = 0;
            for (size_t i = 0; i < frames[a].pixels.size(); ++i) {
                uint16_t p = frames[a].pixels[i], q = frames[b].pixels[i];
                if (p == 0)
                    continue;
                diff += std::fabs(Red(p) - Red(q)) + std::fabs(Green(p) - Green(q)) +
                        std::fabs(Blue(p) - Blue(q));
                ++n;
            }
            EXPECT_GT(diff / n, 0.08) << "looks " << a << " and " << b;
        }
    }
}

double TotalLight(const PXImage& image)
{
    double sum = 0;
    for (uint16_t p : image.pixels)
        sum += Red(p) + Green(p) + Blue(p);
    return sum;
}

TEST(GeneratedImages, ExplosionFadesOutAndShimmerSweepsAcross)
{
    std::vector<PXImage> burst = ScreenFrames("Shardfall/Images/explo.img");
    ASSERT_FALSE(burst.empty());
    double brightest = 0;
    for (const PXImage& f : burst)
        brightest = std::max(brightest, TotalLight(f));
    // The burst is removed after its last frame: it must have nearly died away by then.
    EXPECT_LT(TotalLight(burst.back()), 0.15 * brightest);

    std::vector<PXImage> up = ScreenFrames("Shardfall/Images/shimmer.img");
    std::vector<PXImage> down = ScreenFrames("Shardfall/Images/shimmerflipped.img");
    ASSERT_EQ(up.size(), down.size());
    double lastCentre = -1;
    for (size_t k = 0; k < up.size(); ++k) {
        // The flipped twin is the same light on a down-pointing triangle.
        for (uint32_t y = 0; y < 28; ++y)
            for (uint32_t x = 0; x < 32; ++x)
                ASSERT_EQ(up[k].pixels[y * 32 + x], down[k].pixels[(27 - y) * 32 + x]) << k;
        // The light band (pixels near the frame's brightest) moves left to right.
        double brightest = 0;
        for (uint16_t p : up[k].pixels)
            brightest = std::max(brightest, static_cast<double>(Luma(p)));
        if (brightest < 0.3)
            continue;  // only the faint glow: the band is outside the triangle
        double weight = 0, centre = 0;
        for (uint32_t y = 0; y < 28; ++y)
            for (uint32_t x = 0; x < 32; ++x)
                if (Luma(up[k].pixels[y * 32 + x]) >= 0.6 * brightest) {
                    weight += 1;
                    centre += x;
                }
        EXPECT_GT(centre / weight, lastCentre) << "frame " << k;
        lastCentre = centre / weight;
    }
}

}  // namespace
