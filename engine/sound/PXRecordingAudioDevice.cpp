// The recording device's buffers and voices: plain state and a call log.
#include "engine/sound/PXRecordingAudioDevice.h"

#include <cstring>

namespace {

class RecordingVoice : public PXAudioVoice {
public:
    RecordingVoice(PXRecordingAudioDevice& device, std::shared_ptr<PXRecordedVoice> state)
        : m_device(device), m_state(std::move(state))
    {
    }
    ~RecordingVoice() override
    {
        m_state->playing = false;
        m_state->released = true;
        m_state->releasedAtCall = Record("release");
    }

    void Play(bool loop) override
    {
        m_state->playing = true;
        m_state->looping = loop;
        ++m_state->playCalls;
        Record("play", loop ? " loop" : "");
    }
    void Stop() override
    {
        m_state->playing = false;
        ++m_state->stopCalls;
        Record("stop");
    }
    bool IsPlaying() override { return m_state->playing; }
    uint32_t GetPosition() override { return static_cast<uint32_t>(m_state->position); }
    void SetPosition(uint32_t bytes) override
    {
        m_state->position = bytes;
        Record("position", " " + std::to_string(bytes));
    }
    void SetVolume(int32_t volume) override
    {
        m_state->volume = volume;
        Record("volume", " " + std::to_string(volume));
    }
    void SetPan(int32_t pan) override
    {
        m_state->pan = pan;
        Record("pan", " " + std::to_string(pan));
    }
    uint32_t GetFrequency() override { return m_state->frequency; }
    void SetFrequency(uint32_t hz) override
    {
        m_state->frequency = hz;
        Record("frequency", " " + std::to_string(hz));
    }

private:
    size_t Record(const std::string& what, const std::string& detail = "")
    {
        return m_device.Record(what + " " + std::to_string(m_state->id) + detail);
    }

    PXRecordingAudioDevice& m_device;
    std::shared_ptr<PXRecordedVoice> m_state;
};

class RecordingBuffer : public PXAudioBuffer {
public:
    RecordingBuffer(PXRecordingAudioDevice& device, std::shared_ptr<PXRecordedBuffer> state)
        : m_device(device), m_state(std::move(state))
    {
    }
    ~RecordingBuffer() override
    {
        m_state->released = true;
        m_state->releasedAtCall = m_device.Record("release buffer " + std::to_string(m_state->id));
    }

    PXAudioResult Fill(const uint8_t* data, uint32_t size) override
    {
        m_device.Record("fill " + std::to_string(m_state->id) + " " + std::to_string(size));
        PXAudioResult result = m_device.FillResult();
        if (result == PXAudioResult::Ok && size <= m_state->size)
            std::memcpy(m_state->data.data(), data, size);
        return result;
    }

    std::unique_ptr<PXAudioVoice> CreateVoice() override
    {
        std::shared_ptr<PXRecordedVoice> voice = m_device.NewVoice(*m_state);
        if (!voice)
            return nullptr;
        return std::make_unique<RecordingVoice>(m_device, std::move(voice));
    }

private:
    PXRecordingAudioDevice& m_device;
    std::shared_ptr<PXRecordedBuffer> m_state;
};

}  // namespace

PXRecordingAudioDevice::PXRecordingAudioDevice() = default;
PXRecordingAudioDevice::~PXRecordingAudioDevice() = default;

bool PXRecordingAudioDevice::Open()
{
    Record(m_openFails ? "open failed" : "open");
    return !m_openFails;
}

std::unique_ptr<PXAudioBuffer> PXRecordingAudioDevice::CreateBuffer(const PXWaveFormat& format, uint32_t size,
                                                                    bool preferStatic)
{
    std::string call = "buffer size " + std::to_string(size) + (preferStatic ? " static" : "");
    if (m_buffersToFail > 0) {
        --m_buffersToFail;
        Record(call + " failed");
        return nullptr;
    }
    auto state = std::make_shared<PXRecordedBuffer>();
    state->id = static_cast<uint32_t>(m_buffers.size());
    state->format = format;
    state->size = size;
    state->isStatic = preferStatic;
    state->data.assign(size, 0);
    m_buffers.push_back(state);
    Record(call + " -> " + std::to_string(state->id));
    return std::make_unique<RecordingBuffer>(*this, std::move(state));
}

std::shared_ptr<PXRecordedVoice> PXRecordingAudioDevice::NewVoice(const PXRecordedBuffer& buffer)
{
    if (m_voicesFail) {
        Record("voice on " + std::to_string(buffer.id) + " failed");
        return nullptr;
    }
    auto state = std::make_shared<PXRecordedVoice>();
    state->id = static_cast<uint32_t>(m_voices.size());
    state->bufferId = buffer.id;
    state->frequency = buffer.format.samplesPerSec;
    m_voices.push_back(state);
    Record("voice " + std::to_string(state->id) + " on " + std::to_string(buffer.id));
    return state;
}

void PXRecordingAudioDevice::Advance(double milliseconds)
{
    for (const auto& voice : m_voices) {
        if (!voice->playing || voice->released)
            continue;
        const PXRecordedBuffer& buffer = *m_buffers[voice->bufferId];
        voice->playing = PXAdvancePlayPosition(voice->position, milliseconds, voice->frequency,
                                               buffer.format.blockAlign, buffer.size, voice->looping);
    }
}

int PXRecordingAudioDevice::LiveBuffers() const
{
    int live = 0;
    for (const auto& buffer : m_buffers)
        live += buffer->released ? 0 : 1;
    return live;
}

int PXRecordingAudioDevice::LiveVoices() const
{
    int live = 0;
    for (const auto& voice : m_voices)
        live += voice->released ? 0 : 1;
    return live;
}
