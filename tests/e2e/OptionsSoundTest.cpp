// The options screen end to end (options.sh drives two starts under X and records their
// sound through OpenAL Soft's wave-file back end), and what the recordings say: the song is
// found in each by its samples, its gain fitted over a stretch where nothing else sounds, and
// what is left after taking the song away is what the effects added.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/sound/PXSoundManager.h"
#include "engine/sound/PXWaveFile.h"

namespace {

constexpr double Rate = 22050.0;

struct Track {
    std::vector<double> samples;  // mono, full scale 1.0
    bool read = false;
};

// A 16-bit PCM file as mono (the sides averaged). The wave back end writes the extensible
// format, which is read as the plain PCM it holds.
Track ReadTrack(const std::string& path)
{
    Track track;
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() > 22 && (file[20] | file[21] << 8) == 0xFFFE) {
        file[20] = 1;
        file[21] = 0;
    }
    PXWaveData wave;
    if (PXParseWave(file.data(), file.size(), wave) != 1 || wave.format.bitsPerSample != 16 ||
        wave.format.samplesPerSec != static_cast<uint32_t>(Rate)) {
        return track;
    }
    const size_t channels = wave.format.channels;
    const size_t frames = wave.dataSize / (2 * channels);
    track.samples.resize(frames);
    for (size_t f = 0; f < frames; ++f) {
        double sum = 0.0;
        for (size_t c = 0; c < channels; ++c) {
            const uint8_t* p = file.data() + wave.dataOffset + 2 * (f * channels + c);
            sum += static_cast<int16_t>(p[0] | p[1] << 8);
        }
        track.samples[f] = sum / static_cast<double>(channels) / 32768.0;
    }
    track.read = true;
    return track;
}

size_t At(double seconds) { return static_cast<size_t>(std::max(0.0, seconds) * Rate); }

// Where the song's first sample lies in the recording: the offset (up to `maxOffset` s) whose
// stretch of the recording best matches the song's [from, to) s, by normalised correlation;
// first on every fourth sample, then exactly around the best.
size_t FindSong(const Track& rec, const Track& song, double maxOffset, double from, double to)
{
    const size_t a = At(from), b = std::min(At(to), song.samples.size());
    auto score = [&](size_t offset, size_t stride) {
        double cross = 0.0, energy = 0.0;
        for (size_t i = a; i < b && offset + i < rec.samples.size(); i += stride) {
            cross += rec.samples[offset + i] * song.samples[i];
            energy += rec.samples[offset + i] * rec.samples[offset + i];
        }
        return energy > 0.0 ? cross / std::sqrt(energy) : 0.0;
    };
    size_t best = 0;
    double bestScore = -1.0;
    for (size_t offset = 0; offset < At(maxOffset); offset += 4) {
        const double s = score(offset, 4);
        if (s > bestScore) {
            bestScore = s, best = offset;
        }
    }
    const size_t coarse = best;
    bestScore = -1.0;
    for (size_t offset = coarse >= 8 ? coarse - 8 : 0; offset <= coarse + 8; ++offset) {
        const double s = score(offset, 1);
        if (s > bestScore) {
            bestScore = s, best = offset;
        }
    }
    return best;
}

// The least-squares gain of the song in the recording over the recording's [from, to) s.
double SongGain(const Track& rec, const Track& song, size_t offset, double from, double to)
{
    double cross = 0.0, energy = 0.0;
    for (size_t i = At(from); i < At(to) && i < rec.samples.size(); ++i) {
        if (i < offset || i - offset >= song.samples.size()) {
            continue;
        }
        cross += rec.samples[i] * song.samples[i - offset];
        energy += song.samples[i - offset] * song.samples[i - offset];
    }
    return energy > 0.0 ? cross / energy : 0.0;
}

// The loudest 50 ms of what is left in the recording's [from, to) s once the song at `gain`
// is taken away, in dB of full scale.
double LoudestRest(const Track& rec, const Track& song, size_t offset, double gain, double from, double to)
{
    const size_t block = At(0.05);
    double loudest = 0.0;
    for (size_t start = At(from); start + block <= At(to) && start + block <= rec.samples.size(); start += block / 2) {
        double sum = 0.0;
        for (size_t i = start; i < start + block; ++i) {
            const double music = i >= offset && i - offset < song.samples.size() ? song.samples[i - offset] : 0.0;
            const double rest = rec.samples[i] - gain * music;
            sum += rest * rest;
        }
        loudest = std::max(loudest, std::sqrt(sum / static_cast<double>(block)));
    }
    return 20.0 * std::log10(std::max(loudest, 1e-9));
}

std::map<std::string, double> ReadTimes(const std::string& path)
{
    std::map<std::string, double> times;
    std::ifstream in(path);
    std::string name;
    double value = 0.0;
    while (in >> name >> value) {
        times[name] = value;
    }
    return times;
}

}  // namespace

TEST(EndToEnd, OptionsAreKeptAcrossAStartAndHeardInTheSound)
{
    const std::string out = SF_BINARY_DIR "/e2e-options/";
    const std::string command = "bash '" SF_SOURCE_DIR "/tests/e2e/options.sh' '" SF_BINARY_DIR "/game' '" + out +
                                "' 2>&1";
    const int status = std::system(command.c_str());
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code == 77) {
        GTEST_SKIP() << "Xvfb, openbox, xdotool, x11-utils, ImageMagick or cmake not installed";
    }
    ASSERT_EQ(code, 0) << "options.sh";

    const Track song = ReadTrack(SF_BINARY_DIR "/game-loose/Shardfall/Sounds/SFSong.wav");
    const Track first = ReadTrack(out + "first.wav");
    const Track second = ReadTrack(out + "second.wav");
    ASSERT_TRUE(song.read && first.read && second.read) << "the song or a recording could not be read";
    std::map<std::string, double> times = ReadTimes(out + "times.txt");
    for (const char* name : {"first_probe_from", "first_probe_to", "second_probe_from", "second_quiet_to"}) {
        ASSERT_EQ(times.count(name), 1u) << name;
    }

    // The recording starts when the sound opens, a little after the launch the times count
    // from: an event at launch time T lies at most at T in the recording, and the song's
    // steady stretch ends well before the probe.
    const double lead = 1.5;
    struct Run {
        const Track& rec;
        double probeFrom;
        size_t offset = 0;
        double gain = 0.0;
    };
    Run runs[2] = {{first, times["first_probe_from"]}, {second, times["second_probe_from"]}};
    for (Run& run : runs) {
        run.offset = FindSong(run.rec, song, run.probeFrom - lead - 4.2, 2.2, 4.2);
        const double steadyFrom = static_cast<double>(run.offset) / Rate + 2.5;
        ASSERT_LT(steadyFrom + 1.0, run.probeFrom - lead) << "the song started too late to be measured";
        run.gain = SongGain(run.rec, song, run.offset, steadyFrom, run.probeFrom - lead);
        ASSERT_GT(run.gain, 0.0);
    }
    // Music at 50 % on the volume curve, against 100 % on the first start.
    const double expected = 20.0 * std::log10(PXVolumeGain(50));
    const double measured = 20.0 * std::log10(runs[1].gain / runs[0].gain);
    EXPECT_NEAR(measured, expected, 0.3) << "music gains " << runs[0].gain << " and " << runs[1].gain;

    // The hover sounds of the first start are heard over the song; the second start, with the
    // effects at 0 %, adds nothing to the song from its probe to the end of its menus.
    const double firstRest = LoudestRest(first, song, runs[0].offset, runs[0].gain, runs[0].probeFrom - lead,
                                         times["first_probe_to"]);
    const double secondRest = LoudestRest(second, song, runs[1].offset, runs[1].gain, runs[1].probeFrom - lead,
                                          times["second_quiet_to"] - lead);
    EXPECT_GT(firstRest, -40.0) << "the first start's probe made no sound";
    EXPECT_LT(secondRest, -60.0) << "the second start played effects at 0 %";
    std::printf("music %.2f dB (curve %.2f dB), rest over the song: first %.1f dBFS, second %.1f dBFS\n", measured,
                expected, firstRest, secondRest);
}
