// The null device's buffers and voices: formats, sizes and play positions, no samples.
#include "engine/sound/PXNullAudioDevice.h"

#include <algorithm>

namespace {

class NullBuffer : public PXAudioBuffer {
public:
    NullBuffer(PXNullAudioDevice& device, const PXWaveFormat& format, uint32_t size)
        : m_device(device), m_format(format), m_size(size)
    {
    }

    PXAudioResult Fill(const uint8_t* data, uint32_t size) override
    {
        return data != nullptr && size <= m_size ? PXAudioResult::Ok : PXAudioResult::InvalidParam;
    }

    std::unique_ptr<PXAudioVoice> CreateVoice() override
    {
        return std::make_unique<PXNullAudioVoice>(m_device, m_format, m_size);
    }

private:
    PXNullAudioDevice& m_device;
    PXWaveFormat m_format;
    uint32_t m_size;
};

}  // namespace

PXNullAudioDevice::PXNullAudioDevice() = default;
PXNullAudioDevice::~PXNullAudioDevice() = default;

std::unique_ptr<PXAudioBuffer> PXNullAudioDevice::CreateBuffer(const PXWaveFormat& format, uint32_t size, bool)
{
    return std::make_unique<NullBuffer>(*this, format, size);
}

void PXNullAudioDevice::Leave(PXNullAudioVoice* voice)
{
    m_voices.erase(std::remove(m_voices.begin(), m_voices.end(), voice), m_voices.end());
}

void PXNullAudioDevice::Advance(double milliseconds)
{
    for (PXNullAudioVoice* voice : m_voices)
        voice->Advance(milliseconds);
}

PXNullAudioVoice::PXNullAudioVoice(PXNullAudioDevice& device, const PXWaveFormat& format, uint32_t bufferSize)
    : m_device(device), m_blockAlign(format.blockAlign), m_bufferSize(bufferSize), m_frequency(format.samplesPerSec)
{
    m_device.Join(this);
}

PXNullAudioVoice::~PXNullAudioVoice()
{
    m_device.Leave(this);
}

void PXNullAudioVoice::Advance(double milliseconds)
{
    if (m_playing)
        m_playing = PXAdvancePlayPosition(m_position, milliseconds, m_frequency, m_blockAlign, m_bufferSize, m_looping);
}
