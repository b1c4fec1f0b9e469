// Generated sounds: 16-bit PCM that the sound manager accepts, peaks at or below -1 dBFS,
// no clicks at starts and ends, even loudness, and a song whose loop joins smoothly.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/assets/GeneratedTree.h"

namespace {

using assets::Tree;

struct Wave {
    bool ok = false;
    uint16_t format = 0, channels = 0, bits = 0;
    uint32_t rate = 0;
    std::vector<float> samples;  // first channel, -1..1
};

uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint16_t Le16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

Wave ParseWave(const std::vector<uint8_t>& b)
{
    Wave w;
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
        return w;
    bool haveFormat = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        std::string tag(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
        uint32_t size = Le32(b, at + 4);
        at += 8;
        if (size > b.size() - at)
            return w;
        if (tag == "fmt " && size >= 16) {
            w.format = Le16(b, at);
            w.channels = Le16(b, at + 2);
            w.rate = Le32(b, at + 4);
            w.bits = Le16(b, at + 14);
            haveFormat = true;
        } else if (tag == "data" && haveFormat && w.bits == 16 && w.channels > 0) {
            size_t frame = 2u * w.channels;
            for (size_t i = 0; i + frame <= size; i += frame)
                w.samples.push_back(static_cast<int16_t>(Le16(b, at + i)) / 32768.0f);
            w.ok = true;
            return w;
        }
        at += size + (size & 1);
    }
    return w;
}

Wave Load(const std::string& name)
{
    return ParseWave(Tree::Get().Bytes("Shardfall/Sounds/" + name));
}

const float MinusOneDb = std::pow(10.0f, -1.0f / 20.0f);

float Peak(const std::vector<float>& s)
{
    float p = 0;
    for (float v : s)
        p = std::max(p, std::fabs(v));
    return p;
}

// RMS over the part that is actually sounding, so short and long effects compare.
float ActiveRms(const std::vector<float>& s)
{
    double sum = 0;
    size_t n = 0;
    for (float v : s)
        if (std::fabs(v) > 0.01f)
            sum += v * v, ++n;
    return n ? static_cast<float>(std::sqrt(sum / n)) : 0.0f;
}

const char* const Effects[] = {"Impact.wav",
                               "Move.wav",
                               "Switch.wav",
                               "specialcomplete.wav",
                               "MetalDing_Vibrato.wav",
                               "MetalDing_Vibrato_Up.wav",
                               "MetalDing_Vibrato_Down.wav",
                               "ButtonHover.wav",
                               "ButtonClick.wav"};

TEST(GeneratedSounds, EveryEffectIsQuietAtBothEndsAndBelowMinusOneDb)
{
    for (const char* name : Effects) {
        SCOPED_TRACE(name);
        Wave w = Load(name);
        ASSERT_TRUE(w.ok);
        EXPECT_EQ(1u, w.format);
        EXPECT_EQ(16u, w.bits);
        ASSERT_GT(w.samples.size(), w.rate / 100);
        EXPECT_LE(Peak(w.samples), MinusOneDb);
        // A few milliseconds of fade: the ends start and finish at silence and the first
        // millisecond stays well below the sound's own peak.
        EXPECT_LT(std::fabs(w.samples.front()), 0.002f);
        EXPECT_LT(std::fabs(w.samples.back()), 0.002f);
        std::vector<float> head(w.samples.begin(), w.samples.begin() + w.rate / 1000);
        std::vector<float> tail(w.samples.end() - w.rate / 1000, w.samples.end());
        EXPECT_LT(Peak(head), 0.5f * Peak(w.samples));
        EXPECT_LT(Peak(tail), 0.5f * Peak(w.samples));
    }
}

TEST(GeneratedSounds, EffectsHaveEvenLoudness)
{
    float quietest = 1, loudest = 0;
    for (const char* name : Effects) {
        float rms = ActiveRms(Load(name).samples);
        quietest = std::min(quietest, rms);
        loudest = std::max(loudest, rms);
    }
    // Within 6 dB of each other.
    EXPECT_GT(quietest, 0.0f);
    EXPECT_LE(loudest / quietest, 2.0f);
}

TEST(GeneratedSounds, DingsGlideUpAndDown)
{
    // Count zero crossings in the first and second half-second: the pitch glides show as
    // more (up) or fewer (down) crossings later on.
    auto crossings = [](const std::vector<float>& s, size_t from, size_t to) {
        int n = 0;
        for (size_t i = from + 1; i < to && i < s.size(); ++i)
            n += (s[i - 1] < 0) != (s[i] < 0) ? 1 : 0;
        return n;
    };
    Wave level = Load("MetalDing_Vibrato.wav"), up = Load("MetalDing_Vibrato_Up.wav"),
         down = Load("MetalDing_Vibrato_Down.wav");
    ASSERT_TRUE(level.ok && up.ok && down.ok);
    const size_t a = up.rate / 20, b = up.rate / 4, c = up.rate * 6 / 10, d = up.rate * 8 / 10;
    EXPECT_GT(crossings(up.samples, c, d) * (b - a), crossings(up.samples, a, b) * (d - c) * 1.2);
    EXPECT_LT(crossings(down.samples, c, d) * (b - a) * 1.2, crossings(down.samples, a, b) * (d - c));
    double steady = static_cast<double>(crossings(level.samples, c, d)) / crossings(level.samples, a, b);
    EXPECT_NEAR(steady * (b - a) / (d - c), 1.0, 0.1);
}

TEST(GeneratedSounds, SongLoopsWithoutAClick)
{
    Wave w = Load("SFSong.wav");
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(16u, w.bits);
    const double seconds = static_cast<double>(w.samples.size()) / w.rate;
    EXPECT_GE(seconds, 45.0);
    EXPECT_LE(seconds, 90.0);
    EXPECT_LE(Peak(w.samples), MinusOneDb);
    // The step across the join (last sample to first) is no larger than the steps the
    // music takes just before and just after it: a click would stand out above them all.
    const size_t window = w.rate / 50;
    float neighbours = 0;
    for (size_t i = 1; i < window; ++i) {
        neighbours = std::max(neighbours, std::fabs(w.samples[i] - w.samples[i - 1]));
        size_t j = w.samples.size() - i;
        neighbours = std::max(neighbours, std::fabs(w.samples[j] - w.samples[j - 1]));
    }
    EXPECT_LE(std::fabs(w.samples.front() - w.samples.back()), neighbours);
    // And the music plays right through the join rather than fading to silence there.
    std::vector<float> around(w.samples.end() - w.rate / 10, w.samples.end());
    around.insert(around.end(), w.samples.begin(), w.samples.begin() + w.rate / 10);
    EXPECT_GT(Peak(around), 0.05f);
}

}  // namespace
