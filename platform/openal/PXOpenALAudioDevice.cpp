// OpenAL Soft buffers and sources behind the audio-device interface. The voice semantics
// the manager relies on are kept: Stop pauses, Play resumes, volume and pan are in
// hundredths of a decibel, and the louder side of a panned sound plays at full volume.
#include "platform/openal/PXOpenALAudioDevice.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cmath>

namespace {

// OpenAL Soft pans a mono source to two speakers by its azimuth t (positive to the right),
// stretched by 1.5 in front, with the gains 0.5 -+ 0.5 sin t + FrontGain cos t for the
// left and right speaker (its first-order stereo decoder).
constexpr double AzimuthStretch = 1.5;
constexpr double FrontGain = 0.0552305643 * 1.7320508075688772;
constexpr double HalfPi = 1.5707963267948966;
// Enough head room for the louder side to reach full volume at any angle.
constexpr float MaxSourceGain = 4.0f;

double LeftGain(double t)
{
    return 0.5 - 0.5 * std::sin(t) + FrontGain * std::cos(t);
}

double RightGain(double t)
{
    return 0.5 + 0.5 * std::sin(t) + FrontGain * std::cos(t);
}

ALenum FormatOf(const PXWaveFormat& format)
{
    if (format.channels == 1)
        return format.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    if (format.channels == 2)
        return format.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
    return 0;
}

PXAudioResult ResultOf(ALenum error)
{
    switch (error) {
    case AL_NO_ERROR:
        return PXAudioResult::Ok;
    case AL_INVALID_VALUE:
    case AL_INVALID_ENUM:
        return PXAudioResult::InvalidParam;
    case AL_INVALID_OPERATION:
    case AL_INVALID_NAME:
        return PXAudioResult::InvalidCall;
    default:
        return PXAudioResult::Unknown;
    }
}

class OpenALVoice : public PXAudioVoice {
public:
    OpenALVoice(ALuint source, ALuint buffer, const PXWaveFormat& format, uint32_t size, bool directChannels)
        : m_source(source), m_rate(format.samplesPerSec), m_frequency(format.samplesPerSec), m_size(size),
          m_mono(format.channels == 1)
    {
        alSourcei(m_source, AL_BUFFER, static_cast<ALint>(buffer));
        alSourcei(m_source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSourcef(m_source, AL_ROLLOFF_FACTOR, 0.0f);
        alSourcef(m_source, AL_MAX_GAIN, MaxSourceGain);
        // Stereo sounds go to the speakers as they are, not through virtual positions.
        if (!m_mono && directChannels)
            alSourcei(m_source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
        SetPan(0);
    }
    ~OpenALVoice() override
    {
        alSourceStop(m_source);
        alDeleteSources(1, &m_source);
    }

    void Play(bool loop) override
    {
        alSourcei(m_source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
        // Playing a playing source would restart it; the voice only takes the new flag.
        if (State() != AL_PLAYING)
            alSourcePlay(m_source);
    }
    void Stop() override
    {
        if (State() == AL_PLAYING)
            alSourcePause(m_source);
    }
    bool IsPlaying() override { return State() == AL_PLAYING; }
    uint32_t GetPosition() override
    {
        ALint offset = 0;
        alGetSourcei(m_source, AL_BYTE_OFFSET, &offset);
        return offset > 0 ? static_cast<uint32_t>(offset) : 0;
    }
    void SetPosition(uint32_t bytes) override
    {
        if (bytes < m_size)
            alSourcei(m_source, AL_BYTE_OFFSET, static_cast<ALint>(bytes));
    }
    void SetVolume(int32_t hundredthsOfDb) override
    {
        m_volumeGain = std::pow(10.0, std::min(hundredthsOfDb, 0) / 2000.0);
        ApplyGain();
    }
    void SetPan(int32_t hundredthsOfDb) override
    {
        if (!m_mono)
            return;  // a stereo source has no position to pan by
        double loudGain = 1.0;
        double angle = PXOpenALAudioDevice::AngleForPan(hundredthsOfDb, loudGain);
        alSource3f(m_source, AL_POSITION, static_cast<float>(std::sin(angle)), 0.0f,
                   static_cast<float>(-std::cos(angle)));
        m_panGain = 1.0 / loudGain;
        ApplyGain();
    }
    uint32_t GetFrequency() override { return m_frequency; }
    void SetFrequency(uint32_t hz) override
    {
        if (hz == 0 || m_rate == 0)
            return;
        m_frequency = hz;
        alSourcef(m_source, AL_PITCH, static_cast<float>(static_cast<double>(hz) / m_rate));
    }

private:
    ALint State()
    {
        ALint state = AL_STOPPED;
        alGetSourcei(m_source, AL_SOURCE_STATE, &state);
        return state;
    }
    void ApplyGain() { alSourcef(m_source, AL_GAIN, static_cast<float>(m_volumeGain * m_panGain)); }

    ALuint m_source;
    uint32_t m_rate;
    uint32_t m_frequency;
    uint32_t m_size;
    bool m_mono;
    double m_volumeGain = 1.0;
    double m_panGain = 1.0;
};

class OpenALBuffer : public PXAudioBuffer {
public:
    OpenALBuffer(ALuint buffer, const PXWaveFormat& format, uint32_t size, bool directChannels)
        : m_buffer(buffer), m_format(format), m_size(size), m_directChannels(directChannels)
    {
    }
    ~OpenALBuffer() override { alDeleteBuffers(1, &m_buffer); }

    PXAudioResult Fill(const uint8_t* data, uint32_t size) override
    {
        ALenum format = FormatOf(m_format);
        if (format == 0 || m_format.blockAlign == 0)
            return PXAudioResult::InvalidParam;
        // OpenAL takes whole sample frames only; a trailing pad byte is dropped.
        uint32_t whole = std::min(size, m_size) / m_format.blockAlign * m_format.blockAlign;
        alGetError();
        alBufferData(m_buffer, format, data, static_cast<ALsizei>(whole),
                     static_cast<ALsizei>(m_format.samplesPerSec));
        return ResultOf(alGetError());
    }

    std::unique_ptr<PXAudioVoice> CreateVoice() override
    {
        alGetError();
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR)
            return nullptr;
        return std::make_unique<OpenALVoice>(source, m_buffer, m_format, m_size, m_directChannels);
    }

private:
    ALuint m_buffer;
    PXWaveFormat m_format;
    uint32_t m_size;
    bool m_directChannels;
};

}  // namespace

PXOpenALAudioDevice::PXOpenALAudioDevice(std::string deviceName) : m_deviceName(std::move(deviceName)) {}

PXOpenALAudioDevice::~PXOpenALAudioDevice()
{
    if (m_opening.joinable())
        m_opening.join();
    Close();
}

std::unique_ptr<PXOpenALAudioDevice> PXOpenALAudioDevice::CreateLoopback(int sampleRate)
{
    auto device = std::make_unique<PXOpenALAudioDevice>();
    device->m_loopback = true;
    device->m_loopbackRate = sampleRate;
    return device;
}

bool PXOpenALAudioDevice::OpenLoopback()
{
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
        return false;
    auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    if (!openLoopback)
        return false;
    m_device = openLoopback(nullptr);
    if (!m_device)
        return false;
    // The limiter would change the levels a test measures.
    ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                           ALC_SHORT_SOFT,           ALC_FREQUENCY,   m_loopbackRate,
                           ALC_OUTPUT_LIMITER_SOFT,  ALC_FALSE,       0};
    m_context = alcCreateContext(m_device, attributes);
    return m_context != nullptr;
}

void PXOpenALAudioDevice::OpenOutput()
{
    m_device = alcOpenDevice(m_deviceName.empty() ? nullptr : m_deviceName.c_str());
    if (m_device)
        m_context = alcCreateContext(m_device, nullptr);
}

void PXOpenALAudioDevice::BeginOpen()
{
    if (m_loopback || m_open || m_openedAhead || m_opening.joinable())
        return;
    m_openedAhead = true;
    // Finding the output may try several sound servers and drivers in turn.
    m_opening = std::thread([this] { OpenOutput(); });
}

bool PXOpenALAudioDevice::Open()
{
    if (m_opening.joinable())
        m_opening.join();
    if (m_open)
        return false;
    bool opened = false;
    if (m_loopback) {
        opened = OpenLoopback();
    } else {
        if (!m_openedAhead)
            OpenOutput();
        m_openedAhead = false;
        opened = m_context != nullptr;
    }
    if (!opened || !alcMakeContextCurrent(m_context)) {
        Close();
        return false;
    }
    m_open = true;
    m_directChannels = alIsExtensionPresent("AL_SOFT_direct_channels") == AL_TRUE;
    return true;
}

void PXOpenALAudioDevice::Close()
{
    m_open = false;
    if (m_context) {
        if (alcGetCurrentContext() == m_context)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(m_context);
        m_context = nullptr;
    }
    if (m_device) {
        alcCloseDevice(m_device);
        m_device = nullptr;
    }
}

std::unique_ptr<PXAudioBuffer> PXOpenALAudioDevice::CreateBuffer(const PXWaveFormat& format, uint32_t size,
                                                                 bool)
{
    if (!m_open || FormatOf(format) == 0)
        return nullptr;
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR)
        return nullptr;
    return std::make_unique<OpenALBuffer>(buffer, format, size, m_directChannels);
}

bool PXOpenALAudioDevice::Render(int16_t* out, int frames)
{
    if (!m_loopback || !m_context || !out || frames < 0)
        return false;
    auto render =
        reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(m_device, "alcRenderSamplesSOFT"));
    if (!render)
        return false;
    render(m_device, out, frames);
    return true;
}

double PXOpenALAudioDevice::AngleForPan(int32_t pan, double& loudGain)
{
    pan = std::clamp(pan, -10000, 10000);
    // Wanted: quieter side / louder side = 10^(-|pan| / 2000). Searched on the right
    // half, where that ratio falls from 1 to 0 as the azimuth grows.
    double ratio = std::pow(10.0, -std::abs(pan) / 2000.0);
    double low = 0.0;
    double high = HalfPi;
    for (int i = 0; i < 60; ++i) {
        double mid = 0.5 * (low + high);
        if (LeftGain(mid) / RightGain(mid) > ratio)
            low = mid;
        else
            high = mid;
    }
    double azimuth = 0.5 * (low + high);
    loudGain = RightGain(azimuth);
    // A negative pan quietens the right: the source moves left.
    double angle = azimuth / AzimuthStretch;
    return pan < 0 ? -angle : angle;
}
