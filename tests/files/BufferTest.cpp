// PXBuffer: the sentinel 3 for reads past the end, growth in 1024-byte steps, Seek, Find.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/files/PXBuffer.h"

namespace {

// A buffer holding exactly `bytes`, positioned at `position`.
void Fill(PXBuffer& buffer, const std::string& bytes, uint32_t position = 0)
{
    buffer.Allocate(static_cast<uint32_t>(bytes.size()), 0);
    if (!bytes.empty())
        std::memcpy(buffer.GetData(), bytes.data(), bytes.size());
    if (position > 0) {
        ASSERT_TRUE(buffer.Seek(0, static_cast<int32_t>(position)));
    }
}

TEST(BufferTest, NewBufferHasNoBlockAndStatusTwo)
{
    PXBuffer buffer;
    EXPECT_EQ(buffer.GetStatus(), 2);
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_EQ(buffer.GetSize(), 0u);
    EXPECT_TRUE(buffer.IsEOF());
    EXPECT_EQ(buffer.ReadUInt8(), 3u);
    EXPECT_EQ(buffer.Find("x"), -1);
}

TEST(BufferTest, ReadsShortOfTheEndGiveThreeAndKeepThePosition)
{
    PXBuffer buffer;
    Fill(buffer, std::string("\x01\x02\x03\x04", 4), 2);
    EXPECT_EQ(buffer.ReadInt32(), 3);
    EXPECT_EQ(buffer.ReadUInt32(), 3u);
    EXPECT_EQ(buffer.ReadFloat(), 3.0f);
    EXPECT_EQ(buffer.ReadDouble(), 3.0);
    uint8_t out[4] = {9, 9, 9, 9};
    EXPECT_EQ(buffer.ReadBytes(3, out), 3u);
    EXPECT_EQ(out[0], 9);
    EXPECT_EQ(buffer.Tell(), 2u);
    EXPECT_FALSE(buffer.IsEOF());
    EXPECT_EQ(buffer.ReadUInt16(), 0x0403);
    EXPECT_EQ(buffer.Tell(), 4u);
    EXPECT_TRUE(buffer.IsEOF());
    EXPECT_EQ(buffer.ReadInt8(), 3);
}

TEST(BufferTest, EveryWidthRoundTripsLittleEndian)
{
    PXBuffer buffer;
    EXPECT_EQ(buffer.WriteInt8(-2), 1u);
    EXPECT_EQ(buffer.WriteInt16(-300), 2u);
    EXPECT_EQ(buffer.WriteInt32(-70000), 4u);
    EXPECT_EQ(buffer.WriteUInt8(200), 1u);
    EXPECT_EQ(buffer.WriteUInt16(0xBEEF), 2u);
    EXPECT_EQ(buffer.WriteUInt32(0xDEADBEEF), 4u);
    EXPECT_EQ(buffer.WriteFloat(1.5f), 4u);
    EXPECT_EQ(buffer.WriteDouble(-0.25), 8u);
    EXPECT_EQ(buffer.GetStatus(), 1);
    EXPECT_EQ(buffer.GetData()[3], 0x90);  // -70000 is 0xFFFEEE90, low byte first
    ASSERT_TRUE(buffer.Seek(0, 0));
    EXPECT_EQ(buffer.ReadInt8(), -2);
    EXPECT_EQ(buffer.ReadInt16(), -300);
    EXPECT_EQ(buffer.ReadInt32(), -70000);
    EXPECT_EQ(buffer.ReadUInt8(), 200u);
    EXPECT_EQ(buffer.ReadUInt16(), 0xBEEFu);
    EXPECT_EQ(buffer.ReadUInt32(), 0xDEADBEEFu);
    EXPECT_EQ(buffer.ReadFloat(), 1.5f);
    EXPECT_EQ(buffer.ReadDouble(), -0.25);
    EXPECT_EQ(buffer.Tell(), 26u);
}

TEST(BufferTest, OneByteWritesGrowInStepsOf1024)
{
    PXBuffer buffer;
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(buffer.WriteUInt8(static_cast<uint8_t>(i)), 1u);
    EXPECT_EQ(buffer.Tell(), 10u);
    EXPECT_EQ(buffer.GetSize(), 1024u);
    EXPECT_EQ(buffer.GetData()[9], 9);
}

TEST(BufferTest, WriteBytesGrowsUntilTheBlockFitsAndKeepsOldBytes)
{
    PXBuffer buffer;
    buffer.WriteUInt32(0x11223344);
    std::string big(3000, 'z');
    EXPECT_EQ(buffer.WriteBytes(static_cast<uint32_t>(big.size()), big.data()), 3000u);
    EXPECT_EQ(buffer.GetSize(), 3072u);
    EXPECT_EQ(buffer.Tell(), 3004u);
    ASSERT_TRUE(buffer.Seek(0, 0));
    EXPECT_EQ(buffer.ReadUInt32(), 0x11223344u);
    EXPECT_EQ(buffer.WriteBytes(0, big.data()), 0u);
    EXPECT_EQ(buffer.WriteBytes(4, nullptr), 3u);
}

TEST(BufferTest, GrowKeepsContentAndReturnsTheNewSize)
{
    PXBuffer buffer;
    buffer.Allocate(3, 0xAB);
    EXPECT_EQ(buffer.Grow(5), 8u);
    EXPECT_EQ(buffer.GetSize(), 8u);
    EXPECT_EQ(buffer.GetData()[2], 0xAB);
    buffer.ZeroFill();
    EXPECT_EQ(buffer.GetData()[7], 0);
    EXPECT_EQ(buffer.Tell(), 0u);
}

TEST(BufferTest, StringsAreLengthPrefixed)
{
    PXBuffer buffer;
    EXPECT_EQ(buffer.WriteString("abc"), 7u);
    EXPECT_EQ(std::memcmp(buffer.GetData(), "\x03\x00\x00\x00"
                                            "abc",
                          7),
              0);
    ASSERT_TRUE(buffer.Seek(0, 0));
    EXPECT_EQ(buffer.ReadString(), "abc");
    EXPECT_EQ(buffer.Tell(), 7u);
}

TEST(BufferTest, StringLengthBeyondTheBlockGivesEmptyAndConsumesNothing)
{
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"length past the end", std::string("\x05\x00\x00\x00"
                                            "ab",
                                            6)},
        {"huge length", std::string("\xFF\xFF\xFF\xFF"
                                    "ab",
                                    6)},
        {"three bytes left, read as sentinel 3", std::string("abc", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PXBuffer buffer;
        Fill(buffer, c.bytes);
        EXPECT_EQ(buffer.ReadString(), "");
        EXPECT_EQ(buffer.Tell(), 0u);
    }
}

TEST(BufferTest, EmbeddedZeroShortensTheStringButConsumesAll)
{
    PXBuffer buffer;
    Fill(buffer, std::string("\x04\x00\x00\x00"
                             "ab\0dX",
                             9));
    EXPECT_EQ(buffer.ReadString(), "ab");
    EXPECT_EQ(buffer.Tell(), 8u);
}

TEST(BufferTest, SeekRules)
{
    struct Case {
        const char* what;
        uint32_t start;
        int origin;
        int32_t offset;
        bool ok;
        uint32_t position;
    };
    const Case cases[] = {
        {"current, past the end", 0, 1, 5, false, 0},
        {"current, forward", 1, 1, 3, true, 4},
        {"current, back", 3, 1, -2, true, 1},
        {"current, before the start", 0, 1, -1, false, 0},
        {"end, counted back", 0, 2, 2, true, 3},
        {"end, zero is the end", 0, 2, 0, true, 5},
        {"end, before the start", 2, 2, 6, false, 2},
        {"end, negative would pass the end", 2, 2, -1, false, 2},
        {"start, inside", 0, 0, 4, true, 4},
        {"start, at size", 1, 0, 5, false, 1},
        {"start, negative", 1, 0, -1, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PXBuffer buffer;
        Fill(buffer, "01234", c.start);
        EXPECT_EQ(buffer.Seek(c.origin, c.offset), c.ok);
        EXPECT_EQ(buffer.Tell(), c.position);
    }
}

TEST(BufferTest, FindOnlyCountsMatchesStartingBeforeThePosition)
{
    struct Case {
        const char* what;
        uint32_t position;
        std::string text;
        int32_t result;
    };
    const Case cases[] = {
        {"position 0 finds nothing", 0, "ab", -1},
        {"match at the start", 1, "ab", 0},
        {"second occurrence only counts when reached", 1, "cd", -1},
        {"match before the position", 5, "cd", 2},
        {"match ending at the last byte", 6, "ef", 4},
        {"longer than the block", 3, "abcdefg", -1},
        {"absent", 6, "zz", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PXBuffer buffer;
        Fill(buffer, "abcdef", 0);
        if (c.position == 6) {
            ASSERT_TRUE(buffer.Seek(2, 0));
        } else if (c.position > 0) {
            ASSERT_TRUE(buffer.Seek(0, static_cast<int32_t>(c.position)));
        }
        EXPECT_EQ(buffer.Find(c.text), c.result);
    }
}

TEST(BufferTest, Block16IsNotStoredInABuffer)
{
    PXBuffer buffer;
    Fill(buffer, std::string(32, 'x'));
    PXBlock16 block;
    block.bytes[0] = 1;
    EXPECT_EQ(buffer.WriteBlock16(block), 0u);
    PXBlock16 read = buffer.ReadBlock16();
    EXPECT_EQ(read.bytes[0], 0);
    EXPECT_EQ(buffer.Tell(), 0u);
}

}  // namespace
