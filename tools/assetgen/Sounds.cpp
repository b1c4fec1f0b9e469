// Sound synthesis: thud, tick, blip, flourish, metallic dings with vibrato, button sounds
// and a calm looping song whose tails wrap around so the loop has no seam.
#include "tools/assetgen/Sounds.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

namespace {

constexpr double TwoPi = 6.283185307179586;

std::vector<float> Silence(double seconds)
{
    return std::vector<float>(static_cast<size_t>(seconds * SoundRate), 0.0f);
}

double Noise(uint32_t i, uint32_t seed)
{
    uint32_t h = i * 0x9E3779B1u ^ seed * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return (h >> 8) / 8388608.0 - 1.0;
}

// Scales to an even loudness, keeps the peak under the limit and fades both ends.
void Finish(std::vector<float>& s, double targetRms, double fadeMs)
{
    double sum = 0;
    size_t active = 0;
    for (float v : s) {
        if (std::fabs(v) > 1e-3f) {
            sum += v * v;
            ++active;
        }
    }
    double rms = active ? std::sqrt(sum / active) : 0;
    double gain = rms > 0 ? targetRms / rms : 1;
    float peak = 0;
    for (float v : s)
        peak = std::max(peak, std::fabs(v));
    if (peak * gain > PeakLimit)
        gain = PeakLimit / peak;
    const size_t fade = std::min(s.size() / 2, static_cast<size_t>(fadeMs * 0.001 * SoundRate));
    for (size_t i = 0; i < s.size(); ++i) {
        double g = gain;
        if (i < fade)
            g *= 0.5 - 0.5 * std::cos(3.14159265 * i / fade);
        size_t fromEnd = s.size() - 1 - i;
        if (fromEnd < fade)
            g *= 0.5 - 0.5 * std::cos(3.14159265 * fromEnd / fade);
        s[i] = static_cast<float>(s[i] * g);
    }
}

std::vector<float> Impact()
{
    std::vector<float> s = Silence(0.28);
    double phase = 0, lp = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SoundRate;
        double f = 55 + 75 * std::exp(-t * 30);
        phase += TwoPi * f / SoundRate;
        double body = std::sin(phase) * std::exp(-t * 16);
        // A muffled knock: low-passed noise that dies within a few ms.
        lp += 0.08 * (Noise(static_cast<uint32_t>(i), 3) - lp);
        double knock = lp * std::exp(-t * 90) * 2.5;
        s[i] = static_cast<float>(body * std::min(1.0, t * 600) + knock);
    }
    Finish(s, 0.22, 4);
    return s;
}

std::vector<float> Move()
{
    std::vector<float> s = Silence(0.045);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SoundRate;
        double e = std::exp(-t * 140);
        s[i] = static_cast<float>(e * (std::sin(TwoPi * 1500 * t) + 0.3 * std::sin(TwoPi * 2900 * t)));
    }
    Finish(s, 0.16, 2);
    return s;
}

std::vector<float> Switch()
{
    std::vector<float> s = Silence(0.09);
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SoundRate;
        double f = 620 + 380 * std::min(1.0, t / 0.05);
        phase += TwoPi * f / SoundRate;
        double e = std::min(1.0, t / 0.004) * std::exp(-t * 28);
        s[i] = static_cast<float>(e * (std::sin(phase) + 0.18 * std::sin(3 * phase)));
    }
    Finish(s, 0.2, 3);
    return s;
}

// A bell-like note: a few partials with their own decays.
void Bell(std::vector<float>& s, double start, double freq, double amp, double decay)
{
    static const double ratios[4] = {1.0, 2.0, 3.01, 4.2};
    static const double gains[4] = {1.0, 0.35, 0.15, 0.08};
    size_t first = static_cast<size_t>(start * SoundRate);
    for (size_t i = first; i < s.size(); ++i) {
        double t = static_cast<double>(i - first) / SoundRate;
        double attack = std::min(1.0, t / 0.003);
        double v = 0;
        for (int p = 0; p < 4; ++p)
            v += gains[p] * std::sin(TwoPi * freq * ratios[p] * t) * std::exp(-t * decay * (1 + p * 0.8));
        s[i] += static_cast<float>(amp * attack * v);
    }
}

std::vector<float> Special()
{
    std::vector<float> s = Silence(1.1);
    const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0, 2637.0};
    for (int k = 0; k < 5; ++k)
        Bell(s, 0.065 * k, notes[k], k == 4 ? 0.9 : 0.7, 4.0);
    // A soft chord underneath holds the flourish together.
    Bell(s, 0.0, 523.25, 0.35, 2.5);
    Bell(s, 0.0, 784.0, 0.25, 2.5);
    Finish(s, 0.2, 4);
    return s;
}

// Metallic ding: inharmonic bar partials, vibrato, and a pitch glide by `glide` (a ratio).
std::vector<float> Ding(double glide)
{
    std::vector<float> s = Silence(1.3);
    static const double ratios[4] = {1.0, 2.76, 5.40, 8.93};
    static const double gains[4] = {1.0, 0.45, 0.2, 0.08};
    double phases[4] = {0, 0, 0, 0};
    const double base = 880.0;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SoundRate;
        double bend = std::pow(glide, std::min(1.0, t / 0.6));
        double vibrato = 1.0 + 0.007 * std::sin(TwoPi * 5.5 * t) * std::min(1.0, t / 0.15);
        double v = 0;
        for (int p = 0; p < 4; ++p) {
            phases[p] += TwoPi * base * ratios[p] * bend * vibrato / SoundRate;
            v += gains[p] * std::sin(phases[p]) * std::exp(-t * (3.0 + 4.0 * p));
        }
        s[i] = static_cast<float>(v * std::min(1.0, t / 0.002));
    }
    Finish(s, 0.2, 5);
    return s;
}

std::vector<float> ButtonHover()
{
    std::vector<float> s = Silence(0.06);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SoundRate;
        double e = std::sin(3.14159265 * std::min(1.0, t / 0.06));
        s[i] = static_cast<float>(e * e * std::sin(TwoPi * (1300 + 500 * t / 0.06) * t));
    }
    Finish(s, 0.12, 3);
    return s;
}

std::vector<float> ButtonClick()
{
    std::vector<float> s = Silence(0.07);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / SoundRate;
        double e = std::min(1.0, t / 0.002) * std::exp(-t * 70);
        s[i] = static_cast<float>(e * (std::sin(TwoPi * 760 * t) + 0.5 * std::sin(TwoPi * 1520 * t)));
    }
    Finish(s, 0.15, 2);
    return s;
}

double NoteFrequency(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

struct Partial {
    double freq;   // Hz
    double amp;    // starting amplitude
    double decay;  // per second, on top of the note's envelope
};

// Adds a note into the loop buffer; anything past the end wraps to the start. Each
// partial is a rotating phasor, which is much cheaper than a sine per sample.
template <typename Envelope>
void LoopNote(std::vector<float>& loop, double start, double length, std::initializer_list<Partial> partials,
              Envelope envelope)
{
    struct Osc {
        double c, s, rc, rs, a, fall;
    };
    std::vector<Osc> osc;
    for (const Partial& p : partials) {
        double w = TwoPi * p.freq / SoundRate;
        osc.push_back(Osc{1.0, 0.0, std::cos(w), std::sin(w), p.amp, std::exp(-p.decay / SoundRate)});
    }
    const size_t n = loop.size();
    const size_t first = static_cast<size_t>(start * SoundRate);
    const size_t count = static_cast<size_t>(length * SoundRate);
    for (size_t k = 0; k < count; ++k) {
        double v = 0;
        for (Osc& o : osc) {
            v += o.a * o.s;
            double c = o.c * o.rc - o.s * o.rs;
            o.s = o.s * o.rc + o.c * o.rs;
            o.c = c;
            o.a *= o.fall;
        }
        loop[(first + k) % n] += static_cast<float>(v * envelope(static_cast<double>(k) / SoundRate));
    }
}

}  // namespace

std::vector<float> Song()
{
    // 80 beats per minute, 20 bars of 4/4: exactly 60 seconds.
    const double beat = 0.75;
    const int bars = 20;
    std::vector<float> loop(static_cast<size_t>(bars * 4 * beat * SoundRate), 0.0f);
    // Am - F - C - G, as MIDI roots with their triads.
    const int roots[4] = {57, 53, 60, 55};
    const int thirds[4] = {3, 4, 4, 4};
    for (int bar = 0; bar < bars; ++bar) {
        const int chord = bar % 4;
        const double t0 = bar * 4 * beat;
        const int root = roots[chord];
        const int tones[3] = {root, root + thirds[chord], root + 7};
        // Pad: three slowly swelling voices, each a pair of detuned sines.
        for (int v = 0; v < 3; ++v) {
            const double f = NoteFrequency(tones[v]);
            LoopNote(loop, t0, 4 * beat + 1.6, {{f, 0.055, 0}, {f * 1.003, 0.055, 0}, {f * 2.0, 0.014, 0}},
                     [](double t) {
                         return std::min(1.0, t / 0.6) * (t < 3.0 ? 1.0 : std::exp(-(t - 3.0) * 2.2));
                     });
        }
        // Bass on beats one and three.
        for (int b : {0, 2}) {
            const double f = NoteFrequency(root - 12);
            LoopNote(loop, t0 + b * beat, 2 * beat + 0.3, {{f, 0.22, 1.4}, {2 * f, 0.044, 1.4}},
                     [](double t) { return std::min(1.0, t / 0.02); });
        }
        // Melody: soft plucks on eighth notes from A minor pentatonic, shaped by a
        // phrase that repeats with variations (sections A A' B A).
        static const int scale[10] = {69, 72, 74, 76, 79, 81, 84, 86, 88, 91};
        const int section = (bar / 4) % 5;
        const uint32_t phraseSeed = section == 2 ? 7u : (section == 4 ? 11u : 3u);
        for (int e = 0; e < 8; ++e) {
            uint32_t key = static_cast<uint32_t>((bar % 4) * 8 + e);
            double roll = (Noise(key, phraseSeed) + 1) * 0.5;
            bool play = e == 0 || (e % 2 == 0 ? roll < 0.7 : roll < 0.3);
            if (section == 1 && e == 7)
                play = true;
            if (!play)
                continue;
            int idx = static_cast<int>((Noise(key, phraseSeed + 100) + 1) * 0.5 * 6) + (section == 2 ? 2 : 0);
            int note = scale[std::clamp(idx, 0, 9)];
            if (e == 0) {
                // Land on a chord tone at the start of each bar.
                int best = scale[0];
                for (int cand : scale)
                    for (int tone : tones)
                        if ((cand - tone) % 12 == 0 && std::abs(cand - note) < std::abs(best - note))
                            best = cand;
                note = best;
            }
            const double f = NoteFrequency(note);
            const double amp = e == 0 ? 0.16 : 0.12;
            LoopNote(loop, t0 + e * beat * 0.5, 1.6, {{f, amp, 3.2}, {2 * f, 0.3 * amp, 7.2}},
                     [](double t) { return std::min(1.0, t / 0.005); });
        }
    }
    // A circular echo (a dotted eighth) for space; iterated until the
    // wrapped tail has settled, so the join stays seamless.
    const size_t delay = static_cast<size_t>(beat * 0.75 * SoundRate);
    const std::vector<float> dry = loop;
    std::vector<float> wet = dry;
    for (int pass = 0; pass < 8; ++pass)
        for (size_t i = 0; i < wet.size(); ++i)
            wet[i] = dry[i] + 0.3f * wet[(i + wet.size() - delay) % wet.size()];
    float peak = 0;
    for (float v : wet)
        peak = std::max(peak, std::fabs(v));
    const float gain = 0.7f / peak;  // about -3 dBFS
    for (float& v : wet)
        v *= gain;
    return wet;
}

void AddSounds(OutputTree& out)
{
    const std::string dir = "Shardfall/Sounds/";
    out.Add(dir + "Impact.wav", EncodeWav(Impact(), 1, SoundRate));
    out.Add(dir + "Move.wav", EncodeWav(Move(), 1, SoundRate));
    out.Add(dir + "Switch.wav", EncodeWav(Switch(), 1, SoundRate));
    out.Add(dir + "specialcomplete.wav", EncodeWav(Special(), 1, SoundRate));
    out.Add(dir + "MetalDing_Vibrato.wav", EncodeWav(Ding(1.0), 1, SoundRate));
    out.Add(dir + "MetalDing_Vibrato_Up.wav", EncodeWav(Ding(1.5), 1, SoundRate));
    out.Add(dir + "MetalDing_Vibrato_Down.wav", EncodeWav(Ding(1.0 / 1.5), 1, SoundRate));
    out.Add(dir + "ButtonHover.wav", EncodeWav(ButtonHover(), 1, SoundRate));
    out.Add(dir + "ButtonClick.wav", EncodeWav(ButtonClick(), 1, SoundRate));
    out.Add(dir + "SFSong.wav", EncodeWav(Song(), 1, SoundRate));
}
