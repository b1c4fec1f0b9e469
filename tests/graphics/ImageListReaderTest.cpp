// "IMST" image-list reader: versions, depths, palettes and header colours, refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/PXBitmap.h"
#include "tests/support/ImageFiles.h"

namespace {

using imagefiles::AsBuffer;
using imagefiles::BuildList;
using imagefiles::List;
using imagefiles::ListEntry;

struct Result {
    uint32_t status = 0;
    uint32_t count = 0;
    std::unique_ptr<PXBitmapDesc[]> images;
};

Result ReadBytes(const std::vector<uint8_t>& bytes, uint32_t flags = 0)
{
    Result r;
    r.status = ReadImageList(AsBuffer(bytes).get(), &r.count, &r.images, flags);
    return r;
}

Result Read(const List& list, uint32_t flags = 0)
{
    return ReadBytes(BuildList(list), flags);
}

ListEntry Paletted(const std::string& name, uint32_t w, uint32_t h, std::vector<uint8_t> palette,
                   std::vector<uint8_t> indices)
{
    ListEntry e;
    e.name = name;
    e.depth = 8;
    e.width = w;
    e.height = h;
    e.paletteCount = static_cast<uint32_t>(palette.size() / 4);
    e.palette = std::move(palette);
    e.pixels = std::move(indices);
    return e;
}

ListEntry Direct(const std::string& name, int32_t depth, uint32_t w, uint32_t h, std::vector<uint8_t> bytes)
{
    ListEntry e;
    e.name = name;
    e.depth = depth;
    e.width = w;
    e.height = h;
    e.pixels = std::move(bytes);
    return e;
}

TEST(ImageListReader, ReadsEntriesOfEveryDepthInOrder)
{
    List list;
    list.entries = {
        Paletted("first", 2, 2, {10, 20, 30, 40}, {0, 0, 0, 1}),
        Direct("deep", 24, 5, 5, {}), // no pixel bytes in the file
        Direct("wide", 16, 2, 1, {0x34, 0x12, 0xCD, 0xAB}),
        Direct("narrow", 15, 1, 1, {0xFF, 0x7F}),
    };
    const Result r = Read(list);
    ASSERT_EQ(1u, r.status);
    ASSERT_EQ(4u, r.count);
    const PXBitmapDesc& first = r.images[0];
    EXPECT_EQ("first", first.name);
    EXPECT_EQ(8u, first.bitsPerPixel);
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 1}), std::vector<uint8_t>(first.data.get(), first.data.get() + 4));
    EXPECT_EQ(MakeColor(10, 20, 30, 40), first.palette[0]);

    EXPECT_EQ("deep", r.images[1].name);
    EXPECT_EQ(0u, r.images[1].bitsPerPixel);
    EXPECT_EQ(nullptr, r.images[1].data);

    const PXBitmapDesc& wide = r.images[2];
    EXPECT_EQ("wide", wide.name);
    EXPECT_EQ(16u, wide.bitsPerPixel);
    EXPECT_EQ(nullptr, wide.palette);
    EXPECT_EQ((std::vector<uint8_t>{0x34, 0x12, 0xCD, 0xAB}), std::vector<uint8_t>(wide.rows[0], wide.rows[0] + 4));
    EXPECT_EQ(15u, r.images[3].bitsPerPixel);
}

TEST(ImageListReader, VersionOneEntriesAreAllPaletted)
{
    List list;
    list.version = 1;
    list.entries = {Paletted("a", 1, 1, {1, 2, 3, 4}, {0}), Paletted("b", 2, 1, {}, {5, 6})};
    const Result r = Read(list);
    ASSERT_EQ(1u, r.status);
    ASSERT_EQ(2u, r.count);
    EXPECT_EQ(8u, r.images[1].bitsPerPixel);
    EXPECT_EQ(6, r.images[1].rows[0][1]);
}

TEST(ImageListReader, ShortPalettesAreFilledWithTheImagesHeaderColour)
{
    List list;
    list.headerCount = 3;
    list.headerColours = {1, 1, 1, 1, 2, 2, 2, 2, 9, 8, 7, 6};
    list.entries = {Paletted("a", 1, 1, {}, {0}), Paletted("b", 1, 1, {50, 60, 70, 80}, {0}),
                    Paletted("c", 1, 1, {}, {200}), Paletted("d", 1, 1, {}, {0})};
    const Result r = Read(list);
    ASSERT_EQ(1u, r.status);
    EXPECT_EQ(MakeColor(1, 1, 1, 1), r.images[0].palette[255]);
    EXPECT_EQ(MakeColor(50, 60, 70, 80), r.images[1].palette[0]);
    EXPECT_EQ(MakeColor(2, 2, 2, 2), r.images[1].palette[1]);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(MakeColor(9, 8, 7, 6), r.images[2].palette[i]); // third image: all header colour 2
    }
    EXPECT_EQ(PXColor{}, r.images[3].palette[0]); // beyond the header table
}

TEST(ImageListReader, ImagesPast256HaveNoHeaderColour)
{
    List list;
    list.headerCount = 256;
    list.headerColours.assign(4 * 256, 77);
    for (int i = 0; i < 257; ++i) {
        list.entries.push_back(Paletted("", 1, 1, {}, {0}));
    }
    const Result r = Read(list);
    ASSERT_EQ(1u, r.status);
    EXPECT_EQ(MakeColor(77, 77, 77, 77), r.images[255].palette[0]);
    EXPECT_EQ(PXColor{}, r.images[256].palette[0]);
}

TEST(ImageListReader, EmptyEntriesWithHugeSidesAllocateNoRows)
{
    List list;
    list.entries = {Paletted("tall", 0, 0x61000100, {}, {}), Direct("wide", 16, 0xFFFFFFFF, 0, {}),
                    Paletted("after", 1, 1, {}, {7})};
    const Result r = Read(list);
    ASSERT_EQ(1u, r.status);
    EXPECT_EQ(0x61000100u, r.images[0].height);
    EXPECT_EQ(nullptr, r.images[0].rows);
    EXPECT_EQ(nullptr, r.images[1].rows);
    EXPECT_EQ(7, r.images[2].data[0]);
    PXImage image;
    EXPECT_EQ(1u, ConvertBitmap(image, r.images[0], MakePixelFormat(16), PXBitmapDither));
    EXPECT_TRUE(image.pixels.empty());
}

TEST(ImageListReader, LongestNameKeepsTheStreamAligned)
{
    List list;
    list.entries = {Paletted(std::string(1023, 'n'), 1, 1, {}, {3}), Paletted("next", 1, 1, {}, {4})};
    const Result r = Read(list);
    ASSERT_EQ(1u, r.status);
    EXPECT_EQ(1023u, r.images[0].name.size());
    EXPECT_EQ("next", r.images[1].name);
    EXPECT_EQ(4, r.images[1].data[0]);
}

TEST(ImageListReader, PostProcessingAppliesToPalettedEntriesOnly)
{
    List list;
    list.entries = {Paletted("p", 2, 2, {100, 100, 100, 255}, {1, 2, 3, 4}),
                    Direct("d", 16, 2, 1, {1, 2, 3, 4})};
    const Result r = Read(list, PXBitmapFlip | PXBitmapMirror | PXBitmapHalfBright);
    ASSERT_EQ(1u, r.status);
    EXPECT_EQ((std::vector<uint8_t>{4, 3, 2, 1}), std::vector<uint8_t>(r.images[0].data.get(), r.images[0].data.get() + 4));
    EXPECT_EQ(MakeColor(50, 50, 50, 127), r.images[0].palette[0]);
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 4}), std::vector<uint8_t>(r.images[1].data.get(), r.images[1].data.get() + 4));
}

TEST(ImageListReader, NotAnImageList)
{
    std::vector<uint8_t> badMagic = BuildList(List{2, {}, 0, {Paletted("a", 1, 1, {}, {0})}, 0});
    badMagic[0] = 'X';
    List v3;
    v3.version = 3;
    v3.entries = {Paletted("a", 1, 1, {}, {0})};
    List none;
    for (const std::vector<uint8_t>& bytes : {badMagic, BuildList(v3), BuildList(none), std::vector<uint8_t>{}}) {
        const Result r = ReadBytes(bytes);
        EXPECT_EQ(2u, r.status);
        EXPECT_EQ(nullptr, r.images);
    }
}

TEST(ImageListReader, RefusesMalformedLists)
{
    auto one = [](ListEntry e) {
        List l;
        l.entries = {e};
        return l;
    };
    List longName = one(Paletted(std::string(1024, 'n'), 1, 1, {}, {0}));
    ListEntry bigPalette = Paletted("p", 1, 1, std::vector<uint8_t>(4 * 257, 1), {0});
    List headerOver = one(Paletted("h", 1, 1, {}, {0}));
    headerOver.headerCount = 257;
    headerOver.headerColours.assign(4 * 257, 0);
    List countOver = one(Paletted("c", 1, 1, {}, {0}));
    countOver.count = 0x10000000;
    List pixelsMissing = one(Paletted("m", 100, 100, {}, {1, 2, 3}));
    List deepMissing = one(Direct("m", 16, 4, 4, {1, 2}));
    List hugeEntry = one(Paletted("g", 0x10000, 0x10000, {}, {}));
    std::vector<uint8_t> truncatedHeader = BuildList(one(Paletted("a", 1, 1, {}, {0})));
    truncatedHeader.resize(14);

    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"name over 1023", BuildList(longName)},
        {"palette over 256", BuildList(one(bigPalette))},
        {"header colours over 256", BuildList(headerOver)},
        {"count beyond the file", BuildList(countOver)},
        {"paletted pixels missing", BuildList(pixelsMissing)},
        {"16-bit pixels missing", BuildList(deepMissing)},
        {"huge entry", BuildList(hugeEntry)},
        {"truncated header", truncatedHeader},
    };
    for (const auto& c : cases) {
        const Result r = ReadBytes(c.second);
        EXPECT_EQ(0u, r.status) << c.first;
        EXPECT_EQ(nullptr, r.images) << c.first;
    }
    uint32_t count = 0;
    std::unique_ptr<PXBitmapDesc[]> images;
    EXPECT_EQ(0u, ReadImageList(nullptr, &count, &images, 0));
    EXPECT_EQ(0u, ReadImageList(AsBuffer(BuildList(one(Paletted("a", 1, 1, {}, {0})))).get(), nullptr, &images, 0));
}

} // namespace
