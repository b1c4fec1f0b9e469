// An audio device that plays nothing: it records what it is asked to do and moves each
// voice's play position along as the owner advances its clock, so tests and tools can
// run the sound manager without sound hardware.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/sound/PXAudioDevice.h"

// What the device knows of one buffer; kept after the buffer is released.
struct PXRecordedBuffer {
    uint32_t id = 0;
    PXWaveFormat format;
    uint32_t size = 0;
    bool isStatic = false;
    std::vector<uint8_t> data;
    bool released = false;
    // Number of the release among all calls.
    size_t releasedAtCall = 0;
};

// What the device knows of one voice; kept after the voice is released.
struct PXRecordedVoice {
    uint32_t id = 0;
    uint32_t bufferId = 0;
    bool playing = false;
    bool looping = false;
    // Bytes from the buffer start, fractional while the clock moves.
    double position = 0.0;
    int32_t volume = 0;
    int32_t pan = 0;
    uint32_t frequency = 0;
    int playCalls = 0;
    int stopCalls = 0;
    bool released = false;
    // Number of the release among all calls.
    size_t releasedAtCall = 0;
};

class PXRecordingAudioDevice : public PXAudioDevice {
public:
    PXRecordingAudioDevice();
    ~PXRecordingAudioDevice() override;

    bool Open() override;
    std::unique_ptr<PXAudioBuffer> CreateBuffer(const PXWaveFormat& format, uint32_t size,
                                                bool preferStatic) override;

    // Moves every playing voice on by `milliseconds` of its frequency; a one-shot voice
    // that reaches the end of its buffer stops at position 0, a looping one wraps.
    void Advance(double milliseconds);

    // Faults to act out: Open fails; the next `count` CreateBuffer calls fail; Fill
    // answers `result`; CreateVoice fails.
    void SetOpenFails(bool fails) { m_openFails = fails; }
    void FailNextBuffers(int count) { m_buffersToFail = count; }
    void SetFillResult(PXAudioResult result) { m_fillResult = result; }
    void SetVoicesFail(bool fails) { m_voicesFail = fails; }

    // Every buffer and voice ever made, in order of creation (ids are their indices).
    const std::vector<std::shared_ptr<PXRecordedBuffer>>& Buffers() const { return m_buffers; }
    const std::vector<std::shared_ptr<PXRecordedVoice>>& Voices() const { return m_voices; }
    // One line per call, such as "open", "buffer 0 size 8 static", "play 2 loop".
    const std::vector<std::string>& Calls() const { return m_calls; }
    // Long runs (tools, benchmarks) turn the call log off; calls are still counted.
    void SetCallLog(bool keep) { m_keepCalls = keep; }
    size_t CallCount() const { return m_callCount; }
    int LiveBuffers() const;
    int LiveVoices() const;

    // Used by the device's buffers and voices.
    // Appends a line to the call log and returns its index.
    size_t Record(const std::string& call)
    {
        if (m_keepCalls)
            m_calls.push_back(call);
        return m_callCount++;
    }
    PXAudioResult FillResult() const { return m_fillResult; }
    std::shared_ptr<PXRecordedVoice> NewVoice(const PXRecordedBuffer& buffer);

private:
    bool m_openFails = false;
    int m_buffersToFail = 0;
    PXAudioResult m_fillResult = PXAudioResult::Ok;
    bool m_voicesFail = false;
    std::vector<std::shared_ptr<PXRecordedBuffer>> m_buffers;
    std::vector<std::shared_ptr<PXRecordedVoice>> m_voices;
    std::vector<std::string> m_calls;
    bool m_keepCalls = true;
    size_t m_callCount = 0;
};
