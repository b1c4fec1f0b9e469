// PXFileLE and PXFileBE over host files: widths, strings, ReadLine terminators, no handle.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/files/PXFileLE.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/TempDir.h"

namespace {

class FileStreamTest : public ::testing::Test {
protected:
    void SetUp() override { g_settings = &settings; }
    void TearDown() override
    {
        g_settings = nullptr;
        if (handle)
            std::fclose(handle);
    }

    // Writes `bytes` to a file and opens it with `mode`.
    std::FILE* OpenWith(const std::string& bytes, const char* mode = "rb")
    {
        dir.Write("data.bin", bytes);
        handle = std::fopen((dir.Folder() + "data.bin").c_str(), mode);
        return handle;
    }

    TempDir dir;
    FakeSettingsManager settings{dir.Folder()};
    std::FILE* handle = nullptr;
};

TEST_F(FileStreamTest, WithoutHandleEveryOperationAnswersZeroAndStatusTwo)
{
    PXFileLE stream(nullptr);
    EXPECT_EQ(stream.GetStatus(), 2);
    EXPECT_FALSE(stream.Seek(0, 0));
    EXPECT_EQ(stream.GetSize(), 0u);
    EXPECT_EQ(stream.ReadInt32(), 0);
    EXPECT_EQ(stream.ReadDouble(), 0.0);
    EXPECT_EQ(stream.ReadString(), "");
    EXPECT_EQ(stream.ReadLine(), "");
    EXPECT_EQ(stream.WriteUInt32(5), 0u);
    EXPECT_EQ(stream.WriteString("abc"), 0u);
    EXPECT_EQ(stream.ReadBlock16().bytes[0], 0);
    EXPECT_EQ(stream.GetStatus(), 2);
}

TEST_F(FileStreamTest, EveryWidthRoundTripsWithItsByteCount)
{
    PXFileLE stream(OpenWith("", "w+b"));
    EXPECT_EQ(stream.GetStatus(), 1);
    PXBlock16 block;
    for (int i = 0; i < 16; ++i)
        block.bytes[i] = static_cast<uint8_t>(i);
    std::vector<uint32_t> written = {
        stream.WriteInt8(-2),       stream.WriteInt16(-300),       stream.WriteInt32(-70000),
        stream.WriteUInt8(200),     stream.WriteUInt16(0xBEEF),    stream.WriteUInt32(0xDEADBEEF),
        stream.WriteFloat(1.5f),    stream.WriteDouble(-0.25),     stream.WriteString("abc"),
        stream.WriteBlock16(block), stream.WriteBytes(2, "xy"),
    };
    EXPECT_EQ(written, (std::vector<uint32_t>{1, 2, 4, 1, 2, 4, 4, 8, 7, 16, 2}));
    EXPECT_EQ(stream.GetSize(), 51u);
    EXPECT_EQ(stream.Tell(), 51u);
    ASSERT_TRUE(stream.Seek(0, 0));
    EXPECT_EQ(stream.ReadInt8(), -2);
    EXPECT_EQ(stream.ReadInt16(), -300);
    EXPECT_EQ(stream.ReadInt32(), -70000);
    EXPECT_EQ(stream.ReadUInt8(), 200u);
    EXPECT_EQ(stream.ReadUInt16(), 0xBEEFu);
    EXPECT_EQ(stream.ReadUInt32(), 0xDEADBEEFu);
    EXPECT_EQ(stream.ReadFloat(), 1.5f);
    EXPECT_EQ(stream.ReadDouble(), -0.25);
    EXPECT_EQ(stream.ReadString(), "abc");
    EXPECT_EQ(stream.ReadBlock16().bytes[15], 15);
    char tail[2];
    EXPECT_EQ(stream.ReadBytes(2, tail), 2u);
    EXPECT_FALSE(stream.IsEOF());
    EXPECT_EQ(stream.ReadUInt8(), 0u);
    EXPECT_TRUE(stream.IsEOF());
}

TEST_F(FileStreamTest, StringBytesOnDiskAreLengthThenText)
{
    {
        PXFileLE stream(OpenWith("", "wb"));
        EXPECT_EQ(stream.WriteString("abc"), 7u);
        std::fclose(handle);
        handle = nullptr;
    }
    EXPECT_EQ(dir.Read("data.bin"), std::string("\x03\x00\x00\x00"
                                                 "abc",
                                                 7));
}

TEST_F(FileStreamTest, ShortReadLeavesMissingBytesZero)
{
    PXFileLE stream(OpenWith("\x7F\x01"));
    EXPECT_EQ(stream.ReadUInt32(), 0x017Fu);
    EXPECT_TRUE(stream.IsEOF());
    EXPECT_EQ(stream.GetStatus(), 1);
}

TEST_F(FileStreamTest, StringLongerThanTheFileIsLoggedAndEmpty)
{
    PXFileLE stream(OpenWith(std::string("\x00\x00\x00\x7F"
                                         "abc",
                                         7)));
    EXPECT_EQ(stream.ReadString(), "");
    EXPECT_EQ(stream.Tell(), 4u);
    EXPECT_EQ(dir.Read("log.txt"), "Error Loading String. Unable to Allocated Memory. (Len: 2130706432)\r\n");
}

TEST_F(FileStreamTest, EmbeddedZeroShortensTheString)
{
    PXFileLE stream(OpenWith(std::string("\x04\x00\x00\x00"
                                         "ab\0dZ",
                                         9)));
    EXPECT_EQ(stream.ReadString(), "ab");
    EXPECT_EQ(stream.ReadUInt8(), 'Z');
}

TEST_F(FileStreamTest, ReadLineEndsAtEveryTerminator)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"CR LF, twice", "a\r\n\r\nb", {"a", "", "b"}},
        {"LF only", "one\ntwo\n", {"one", "two"}},
        {"CR only", "one\rtwo", {"one", "two"}},
        {"LF CR is one terminator", "x\n\ry", {"x", "y"}},
        {"two CRs leave an empty line", "x\r\ry", {"x", "", "y"}},
        {"no terminator on the last line", "last", {"last"}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PXFileLE stream(OpenWith(c.text));
        std::vector<std::string> lines;
        while (!stream.IsEOF() && lines.size() < 10) {
            std::string line = stream.ReadLine();
            if (stream.IsEOF() && line.empty())
                break;
            lines.push_back(line);
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_TRUE(stream.IsEOF());
        std::fclose(handle);
        handle = nullptr;
    }
}

TEST_F(FileStreamTest, BigEndianTwinSwapsTheFirstEightBytesOfABlock)
{
    std::string bytes;
    for (int i = 0; i < 16; ++i)
        bytes.push_back(static_cast<char>(i));
    PXFileBE stream(OpenWith(bytes, "r+b"));
    PXBlock16 block = stream.ReadBlock16();
    const uint8_t expected[16] = {7, 6, 5, 4, 3, 2, 1, 0, 8, 9, 10, 11, 12, 13, 14, 15};
    EXPECT_EQ(std::memcmp(block.bytes, expected, 16), 0);
    // Writing it back restores the file's order.
    ASSERT_TRUE(stream.Seek(0, 0));
    EXPECT_EQ(stream.WriteBlock16(block), 16u);
    std::fflush(handle);
    EXPECT_EQ(dir.Read("data.bin"), bytes);
    ASSERT_TRUE(stream.Seek(0, 0));
    EXPECT_EQ(stream.ReadUInt16(), 0x0100u);
}

TEST_F(FileStreamTest, GetSizeKeepsThePosition)
{
    PXFileLE stream(OpenWith("0123456789"));
    ASSERT_TRUE(stream.Seek(0, 3));
    EXPECT_EQ(stream.GetSize(), 10u);
    EXPECT_EQ(stream.Tell(), 3u);
    ASSERT_TRUE(stream.Seek(2, -1));
    EXPECT_EQ(stream.ReadUInt8(), '9');
    EXPECT_FALSE(stream.Seek(7, 0));
}

}  // namespace
