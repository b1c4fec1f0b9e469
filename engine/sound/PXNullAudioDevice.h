// An audio device that plays nothing and keeps nothing it is given: a buffer remembers only
// its format and size, a voice its settings and a play position that moves as the owner
// advances the device's clock. Long headless runs (benchmarks, tools) use it, so that what
// they measure is the game and not copies of samples or a log of calls.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/sound/PXAudioDevice.h"

class PXNullAudioVoice;

class PXNullAudioDevice : public PXAudioDevice {
public:
    PXNullAudioDevice();
    ~PXNullAudioDevice() override;

    PXNullAudioDevice(const PXNullAudioDevice&) = delete;
    PXNullAudioDevice& operator=(const PXNullAudioDevice&) = delete;

    bool Open() override { return true; }
    std::unique_ptr<PXAudioBuffer> CreateBuffer(const PXWaveFormat& format, uint32_t size,
                                                bool preferStatic) override;

    // Moves every playing voice on by `milliseconds` of its frequency; a one-shot voice
    // that reaches the end of its buffer stops at position 0, a looping one wraps.
    void Advance(double milliseconds);
    // Voices not yet destroyed, playing or not.
    size_t LiveVoices() const { return m_voices.size(); }

    // Used by the device's voices: they join on creation and leave on destruction.
    void Join(PXNullAudioVoice* voice) { m_voices.push_back(voice); }
    void Leave(PXNullAudioVoice* voice);

private:
    std::vector<PXNullAudioVoice*> m_voices;  // not owned
};

// One voice of the null device: state only.
class PXNullAudioVoice : public PXAudioVoice {
public:
    PXNullAudioVoice(PXNullAudioDevice& device, const PXWaveFormat& format, uint32_t bufferSize);
    ~PXNullAudioVoice() override;

    PXNullAudioVoice(const PXNullAudioVoice&) = delete;
    PXNullAudioVoice& operator=(const PXNullAudioVoice&) = delete;

    void Play(bool loop) override
    {
        m_playing = true;
        m_looping = loop;
    }
    void Stop() override { m_playing = false; }
    bool IsPlaying() override { return m_playing; }
    uint32_t GetPosition() override { return static_cast<uint32_t>(m_position); }
    void SetPosition(uint32_t bytes) override { m_position = bytes; }
    void SetVolume(int32_t) override {}
    void SetPan(int32_t) override {}
    uint32_t GetFrequency() override { return m_frequency; }
    void SetFrequency(uint32_t hz) override { m_frequency = hz; }

    void Advance(double milliseconds);

private:
    PXNullAudioDevice& m_device;
    uint16_t m_blockAlign;
    uint32_t m_bufferSize;
    uint32_t m_frequency;
    double m_position = 0.0;
    bool m_playing = false;
    bool m_looping = false;
};
