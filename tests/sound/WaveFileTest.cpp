// The WAV chunk walk: what it accepts, where the samples are, and the files it refuses.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/sound/PXWaveFile.h"
#include "tests/support/WaveBuilder.h"

namespace {

const std::vector<uint8_t> Samples{10, 20, 30, 40, 50, 60};

int Parse(const std::vector<uint8_t>& bytes, PXWaveData& out)
{
    return PXParseWave(bytes.data(), bytes.size(), out);
}

TEST(WaveFile, FindsFormatAndSamplesPastOtherChunks)
{
    // An odd-sized chunk with its pad byte and an 18-byte format chunk precede the data.
    std::vector<uint8_t> bytes = WaveBuilder()
                                     .Chunk("LIST", {'a', 'b', 'c'})
                                     .Format(2, 22050, 16, 1, {0, 0})
                                     .Data({})  // an empty data chunk is passed over
                                     .Data(Samples)
                                     .Bytes();
    PXWaveData wave;
    ASSERT_EQ(Parse(bytes, wave), 1);
    EXPECT_EQ(wave.format.formatTag, 1);
    EXPECT_EQ(wave.format.channels, 2);
    EXPECT_EQ(wave.format.samplesPerSec, 22050u);
    EXPECT_EQ(wave.format.avgBytesPerSec, 88200u);
    EXPECT_EQ(wave.format.blockAlign, 4);
    EXPECT_EQ(wave.format.bitsPerSample, 16);
    EXPECT_EQ(wave.dataSize, Samples.size());
    EXPECT_EQ(wave.bufferSize, Samples.size());
    ASSERT_LE(wave.dataOffset + wave.dataSize, bytes.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + wave.dataOffset, bytes.begin() + wave.dataOffset + 6),
              Samples);
}

TEST(WaveFile, OddDataGetsAPadByteEvenWhenTheFileEndsWithoutIt)
{
    std::vector<uint8_t> withPad = WaveBuilder().Format(1, 8000, 8).Data({1, 2, 3}).Bytes();
    std::vector<uint8_t> withoutPad(withPad.begin(), withPad.end() - 1);
    for (const auto& bytes : {withPad, withoutPad}) {
        PXWaveData wave;
        ASSERT_EQ(Parse(bytes, wave), 1);
        EXPECT_EQ(wave.dataSize, 3u);
        EXPECT_EQ(wave.bufferSize, 4u);
    }
}

// The extensible format (tag 0xFFFE): extra size, valid bits, channel mask, sub-format.
std::vector<uint8_t> Extensible(uint16_t channels, uint16_t bits, uint16_t subFormat, uint16_t extraSize = 22)
{
    std::vector<uint8_t> extra;
    WaveBuilder::Put16(extra, extraSize);
    WaveBuilder::Put16(extra, bits);
    WaveBuilder::Put32(extra, channels == 1 ? 0x4u : 0x3u);
    WaveBuilder::Put16(extra, subFormat);
    extra.insert(extra.end(), {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71});
    return WaveBuilder().Format(channels, 22050, bits, 0xFFFE, extra).Data(Samples).Bytes();
}

// Current tools write even plain PCM in the extensible format; its sub-format decides.
TEST(WaveFile, ExtensibleFormatWithAPcmSubFormatIsPlainPcm)
{
    struct Case {
        uint16_t channels;
        uint16_t bits;
    };
    for (const Case& c : {Case{1, 8}, Case{2, 8}, Case{1, 16}, Case{2, 16}}) {
        SCOPED_TRACE(std::to_string(c.channels) + " channels, " + std::to_string(c.bits) + " bits");
        std::vector<uint8_t> bytes = Extensible(c.channels, c.bits, 1);
        PXWaveData wave;
        const char* why = "unset";
        ASSERT_EQ(PXParseWave(bytes.data(), bytes.size(), wave, &why), 1);
        EXPECT_EQ(why, nullptr);
        EXPECT_EQ(wave.format.formatTag, 1);  // what the audio device is handed
        EXPECT_EQ(wave.format.channels, c.channels);
        EXPECT_EQ(wave.format.bitsPerSample, c.bits);
        EXPECT_EQ(wave.dataSize, Samples.size());
    }
}

TEST(WaveFile, RefusalsSayWhy)
{
    struct Case {
        std::vector<uint8_t> bytes;
        std::string why;
    };
    const Case cases[] = {
        {Extensible(2, 16, 3), "extensible format whose sub-format is not PCM"},     // float samples
        {Extensible(2, 16, 1, 0), "extensible format whose sub-format is not PCM"},  // no room for one
        {Extensible(1, 24, 1), "neither 8 nor 16 bits a sample"},
        {WaveBuilder().Format(1, 8000, 8, 2).Data(Samples).Bytes(), "not PCM"},
        {WaveBuilder().Format(6, 8000, 16).Data(Samples).Bytes(), "neither mono nor stereo"},
        {WaveBuilder().Format(1, 8000, 8).RawChunk("data", 64, Samples, false).Bytes(), "truncated, or no sound data"},
        {{'R', 'I', 'F', 'F'}, "not a RIFF/WAVE file"},
    };
    for (const Case& c : cases) {
        PXWaveData wave;
        const char* why = nullptr;
        EXPECT_EQ(PXParseWave(c.bytes.data(), c.bytes.size(), wave, &why), 0) << c.why;
        EXPECT_EQ(std::string(why != nullptr ? why : "(none)"), c.why);
    }
}

struct Refusal {
    const char* name;
    std::function<std::vector<uint8_t>()> make;
};

std::vector<uint8_t> Good()
{
    return WaveBuilder().Format(1, 8000, 8).Data(Samples).Bytes();
}

std::vector<uint8_t> Patched(size_t offset, const std::string& text)
{
    std::vector<uint8_t> bytes = Good();
    for (size_t i = 0; i < text.size(); ++i)
        bytes[offset + i] = static_cast<uint8_t>(text[i]);
    return bytes;
}

const Refusal Refusals[] = {
    {"Empty", [] { return std::vector<uint8_t>(); }},
    {"HeaderOnly",
     [] {
         std::vector<uint8_t> b = Good();
         b.resize(12);
         return b;
     }},
    {"NotRiff", [] { return Patched(0, "RIFX"); }},
    {"NotWave", [] { return Patched(8, "AVI "); }},
    {"RiffSizeZero", [] { return WaveBuilder().Format(1, 8000, 8).Data(Samples).RiffSize(0).Bytes(); }},
    {"RiffEndsAfterFormat",
     [] { return WaveBuilder().Format(1, 8000, 8).Data(Samples).RiffSize(24).Bytes(); }},
    {"TruncatedChunkHeader",
     [] {
         std::vector<uint8_t> b = WaveBuilder().Format(1, 8000, 8).Bytes();
         b.insert(b.end(), {'d', 'a', 't'});
         return b;
     }},
    {"DataBeforeFormat", [] { return WaveBuilder().Data(Samples).Format(1, 8000, 8).Bytes(); }},
    {"NoFormat", [] { return WaveBuilder().Data(Samples).Bytes(); }},
    {"OnlyEmptyData", [] { return WaveBuilder().Format(1, 8000, 8).Data({}).Bytes(); }},
    {"FloatSamples", [] { return WaveBuilder().Format(1, 8000, 32, 3).Data(Samples).Bytes(); }},
    {"Compressed", [] { return WaveBuilder().Format(1, 8000, 4, 2).Data(Samples).Bytes(); }},
    {"ZeroChannels", [] { return WaveBuilder().Format(0, 8000, 8).Data(Samples).Bytes(); }},
    {"SixChannels", [] { return WaveBuilder().Format(6, 8000, 16).Data(Samples).Bytes(); }},
    {"TwentyFourBits", [] { return WaveBuilder().Format(1, 8000, 24).Data(Samples).Bytes(); }},
    {"ZeroRate", [] { return WaveBuilder().Format(1, 0, 8).Data(Samples).Bytes(); }},
    {"AbsurdRate", [] { return WaveBuilder().Format(1, 4000000000u, 8).Data(Samples).Bytes(); }},
    {"BlockAlignDisagrees",
     [] {
         std::vector<uint8_t> b = Good();
         b[12 + 8 + 12] = 7;  // the fmt body's block align
         return b;
     }},
    {"FormatChunkTooShort",
     [] {
         return WaveBuilder()
             .RawChunk("fmt ", 8, {1, 0, 1, 0, 0x40, 0x1f, 0, 0}, false)
             .Data(Samples)
             .Bytes();
     }},
    {"FormatChunkCutOff",
     [] {
         std::vector<uint8_t> b = WaveBuilder().Format(1, 8000, 8).Bytes();
         b.resize(b.size() - 4);
         return b;
     }},
    {"DataLongerThanFile",
     [] { return WaveBuilder().Format(1, 8000, 8).RawChunk("data", 64, Samples, false).Bytes(); }},
    {"DataSizeMaximal",
     [] { return WaveBuilder().Format(1, 8000, 8).RawChunk("data", 0xFFFFFFFFu, Samples, false).Bytes(); }},
    {"ChunkSkipsPastEnd",
     [] {
         return WaveBuilder()
             .Format(1, 8000, 8)
             .RawChunk("LIST", 0x7FFFFFF0u, {1, 2}, false)
             .Data(Samples)
             .Bytes();
     }},
};

class WaveRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(WaveRefusal, IsRefused)
{
    std::vector<uint8_t> bytes = GetParam().make();
    PXWaveData wave;
    EXPECT_EQ(PXParseWave(bytes.data(), bytes.size(), wave), 0);
}

INSTANTIATE_TEST_SUITE_P(BadFiles, WaveRefusal, ::testing::ValuesIn(Refusals),
                         [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

TEST(WaveFile, TheUnmodifiedFixtureIsAccepted)
{
    // Every refusal above is one change away from this file.
    PXWaveData wave;
    std::vector<uint8_t> bytes = Good();
    EXPECT_EQ(Parse(bytes, wave), 1);
    EXPECT_EQ(PXParseWave(nullptr, 0, wave), 0);
}

}  // namespace
