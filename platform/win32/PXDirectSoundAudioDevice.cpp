// DirectSound secondary buffers and their duplicates behind the audio-device interface.
// Voice semantics the manager relies on: Stop pauses (the position stays), Play resumes or,
// while playing, only changes the loop flag.
#include "platform/win32/PXDirectSoundAudioDevice.h"

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <algorithm>
#include <cstring>

namespace {

PXAudioResult ResultOf(HRESULT result)
{
    switch (result) {
    case DS_OK:
        return PXAudioResult::Ok;
    case DSERR_BUFFERLOST:
        return PXAudioResult::BufferLost;
    case DSERR_PRIOLEVELNEEDED:
        return PXAudioResult::PriorityLevelNeeded;
    case DSERR_INVALIDPARAM:
        return PXAudioResult::InvalidParam;
    case DSERR_INVALIDCALL:
        return PXAudioResult::InvalidCall;
    default:
        return PXAudioResult::Unknown;
    }
}

class DirectSoundVoice : public PXAudioVoice {
public:
    DirectSoundVoice(IDirectSoundBuffer* buffer, uint32_t size) : m_buffer(buffer), m_size(size) {}
    ~DirectSoundVoice() override
    {
        m_buffer->Stop();
        m_buffer->Release();
    }

    void Play(bool loop) override { m_buffer->Play(0, 0, loop ? DSBPLAY_LOOPING : 0); }
    void Stop() override { m_buffer->Stop(); }
    bool IsPlaying() override
    {
        DWORD status = 0;
        if (FAILED(m_buffer->GetStatus(&status)))
            return false;
        return (status & (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING)) != 0;
    }
    uint32_t GetPosition() override
    {
        DWORD play = 0, write = 0;
        if (FAILED(m_buffer->GetCurrentPosition(&play, &write)))
            return 0;
        return play;
    }
    void SetPosition(uint32_t bytes) override
    {
        if (bytes < m_size)
            m_buffer->SetCurrentPosition(bytes);
    }
    void SetVolume(int32_t hundredthsOfDb) override
    {
        m_buffer->SetVolume(std::clamp<LONG>(hundredthsOfDb, DSBVOLUME_MIN, DSBVOLUME_MAX));
    }
    void SetPan(int32_t hundredthsOfDb) override
    {
        m_buffer->SetPan(std::clamp<LONG>(hundredthsOfDb, DSBPAN_LEFT, DSBPAN_RIGHT));
    }
    uint32_t GetFrequency() override
    {
        DWORD frequency = 0;
        return SUCCEEDED(m_buffer->GetFrequency(&frequency)) ? frequency : 0;
    }
    void SetFrequency(uint32_t hz) override
    {
        m_buffer->SetFrequency(std::clamp<DWORD>(hz, DSBFREQUENCY_MIN, DSBFREQUENCY_MAX));
    }

private:
    IDirectSoundBuffer* m_buffer;
    uint32_t m_size;
};

class DirectSoundBuffer : public PXAudioBuffer {
public:
    DirectSoundBuffer(IDirectSound* sound, IDirectSoundBuffer* buffer, uint32_t size)
        : m_sound(sound), m_buffer(buffer), m_size(size)
    {
        m_sound->AddRef();
    }
    ~DirectSoundBuffer() override
    {
        m_buffer->Release();
        m_sound->Release();
    }

    PXAudioResult Fill(const uint8_t* data, uint32_t size) override
    {
        void* first = nullptr;
        void* second = nullptr;
        DWORD firstBytes = 0, secondBytes = 0;
        size = std::min(size, m_size);
        HRESULT result = m_buffer->Lock(0, size, &first, &firstBytes, &second, &secondBytes, DSBLOCK_FROMWRITECURSOR);
        if (result == DSERR_BUFFERLOST && SUCCEEDED(m_buffer->Restore()))
            result = m_buffer->Lock(0, size, &first, &firstBytes, &second, &secondBytes, DSBLOCK_FROMWRITECURSOR);
        if (FAILED(result))
            return ResultOf(result);
        // A fresh buffer's write cursor is at 0, so the first region is the whole buffer;
        // a wrapped lock fills the second region with the rest.
        const DWORD head = std::min<DWORD>(firstBytes, size);
        std::memcpy(first, data, head);
        if (second != nullptr && head < size)
            std::memcpy(second, data + head, std::min<DWORD>(secondBytes, size - head));
        m_buffer->Unlock(first, firstBytes, second, secondBytes);
        return PXAudioResult::Ok;
    }

    std::unique_ptr<PXAudioVoice> CreateVoice() override
    {
        IDirectSoundBuffer* duplicate = nullptr;
        if (FAILED(m_sound->DuplicateSoundBuffer(m_buffer, &duplicate)) || duplicate == nullptr)
            return nullptr;
        return std::make_unique<DirectSoundVoice>(duplicate, m_size);
    }

private:
    IDirectSound* m_sound;
    IDirectSoundBuffer* m_buffer;
    uint32_t m_size;
};

}  // namespace

PXDirectSoundAudioDevice::PXDirectSoundAudioDevice() = default;

PXDirectSoundAudioDevice::~PXDirectSoundAudioDevice()
{
    if (m_sound != nullptr)
        m_sound->Release();
}

bool PXDirectSoundAudioDevice::Open()
{
    if (m_sound != nullptr)
        return false;
    if (FAILED(DirectSoundCreate(nullptr, &m_sound, nullptr)) || m_sound == nullptr) {
        m_sound = nullptr;
        return false;
    }
    HWND window = m_window;
    if (window == nullptr)
        window = GetForegroundWindow();
    if (window == nullptr)
        window = GetDesktopWindow();
    if (window != nullptr && FAILED(m_sound->SetCooperativeLevel(window, DSSCL_NORMAL))) {
        m_sound->Release();
        m_sound = nullptr;
        return false;
    }
    m_boundWindow = window;
    return true;
}

void PXDirectSoundAudioDevice::SetWindow(HWND__* window)
{
    m_window = window;
    // The game's window exists only after the device opened; sound focus follows it.
    if (m_sound != nullptr && window != nullptr && window != m_boundWindow &&
        SUCCEEDED(m_sound->SetCooperativeLevel(window, DSSCL_NORMAL)))
        m_boundWindow = window;
}

std::unique_ptr<PXAudioBuffer> PXDirectSoundAudioDevice::CreateBuffer(const PXWaveFormat& format, uint32_t size,
                                                                      bool preferStatic)
{
    if (m_sound == nullptr || size == 0)
        return nullptr;
    WAVEFORMATEX wave{};
    wave.wFormatTag = format.formatTag;
    wave.nChannels = format.channels;
    wave.nSamplesPerSec = format.samplesPerSec;
    wave.nAvgBytesPerSec = format.avgBytesPerSec;
    wave.nBlockAlign = format.blockAlign;
    wave.wBitsPerSample = format.bitsPerSample;
    wave.cbSize = 0;
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2 |
                          (preferStatic ? DSBCAPS_STATIC : 0);
    description.dwBufferBytes = size;
    description.lpwfxFormat = &wave;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(m_sound->CreateSoundBuffer(&description, &buffer, nullptr)) || buffer == nullptr)
        return nullptr;
    return std::make_unique<DirectSoundBuffer>(m_sound, buffer, size);
}
