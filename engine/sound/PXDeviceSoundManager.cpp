// Channel bookkeeping, the volume and pan rules, fades and WAV loading on an audio device.
#include "engine/sound/PXDeviceSoundManager.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/core/PXLog.h"
#include "engine/files/PXBuffer.h"
#include "engine/files/PXFile.h"
#include "engine/sound/PXWaveFile.h"

namespace {

// Larger streams are not taken for sounds (a few minutes of CD-quality audio is ~30 MB).
constexpr uint32_t MaxSoundFileBytes = 256u << 20;

float Clamp(float value, float low, float high)
{
    if (value > high)
        return high;
    // Written so that a NaN also lands on the floor.
    if (!(value >= low))
        return low;
    return value;
}

// 10000 * log10(g): hundredths of a decibel for an amplitude factor of 0.1..1. The ends
// are exact, so the floor is the device's silence and not one step above it.
int32_t HundredthsOfDb(float gain)
{
    if (gain <= 0.1f)
        return -10000;
    if (gain >= 1.0f)
        return 0;
    return static_cast<int32_t>(10000.0 * std::log10(static_cast<double>(gain)));
}

const char* LockErrorText(PXAudioResult result)
{
    switch (result) {
    case PXAudioResult::BufferLost:
        return "Buffer Lost\n";
    case PXAudioResult::PriorityLevelNeeded:
        return "Priority Level Needed\n";
    case PXAudioResult::InvalidParam:
        return "Invalid Param\n";
    case PXAudioResult::InvalidCall:
        return "Invalid Call\n";
    default:
        return "Unknown Error\n";
    }
}

}  // namespace

PXDeviceSoundManager::PXDeviceSoundManager(std::unique_ptr<PXAudioDevice> device)
    : m_device(std::move(device))
{
}

PXDeviceSoundManager::~PXDeviceSoundManager()
{
    // Voices before the buffers they play, buffers before the device.
    m_channels.clear();
    m_sounds.clear();
}

int PXDeviceSoundManager::Init(int32_t)
{
    if (m_initialised || !m_device || !m_device->Open())
        return 0;
    m_initialised = true;
    return 1;
}

int32_t PXDeviceSoundManager::VolumeFor(float masterVolume, bool muted, float level)
{
    float v = (muted ? 0.0f : masterVolume) * level;
    return HundredthsOfDb(Clamp(v, 0.1f, 1.0f));
}

int32_t PXDeviceSoundManager::VolumeFor(float masterVolume, bool muted, float level, float groupGain)
{
    constexpr int32_t Silent = -10000;
    const int32_t volume = VolumeFor(masterVolume, muted, level);
    // Written so that a NaN is silent too.
    if (!(groupGain > 0.0f))
        return Silent;
    if (groupGain >= 1.0f)
        return volume;
    const long drop = std::lround(2000.0 * std::log10(static_cast<double>(groupGain)));
    return static_cast<int32_t>(std::max<long>(Silent, volume + drop));
}

int32_t PXDeviceSoundManager::PanFor(float pan, bool swapped)
{
    if (std::isnan(pan))
        pan = 0.0f;
    if (swapped)
        pan = -pan;
    if (pan < 0.0f)
        return HundredthsOfDb(Clamp((pan + 1.0f + 0.1f) * 0.909f, 0.1f, 1.0f));
    return -HundredthsOfDb(Clamp((1.0f - pan + 0.1f) * 0.909f, 0.1f, 1.0f));
}

PXDeviceSoundManager::Channel* PXDeviceSoundManager::FindChannel(uint32_t channelId)
{
    auto it = m_channels.find(channelId);
    return it == m_channels.end() ? nullptr : &it->second;
}

float PXDeviceSoundManager::GetChannelLevel(uint32_t channelId) const
{
    auto it = m_channels.find(channelId);
    return it == m_channels.end() ? -1.0f : it->second.level;
}

void PXDeviceSoundManager::ApplyVolume(Channel& channel)
{
    channel.voice->SetVolume(
        VolumeFor(m_masterVolume, m_soundMuted != 0, channel.level, GetGroupVolume(channel.group)));
}

PXDeviceSoundManager::ChannelMap::iterator PXDeviceSoundManager::RemoveChannel(ChannelMap::iterator it)
{
    it->second.voice->Stop();
    return m_channels.erase(it);
}

int PXDeviceSoundManager::Update(float elapsed)
{
    if (!m_initialised)
        return 0;
    for (auto it = m_channels.begin(); it != m_channels.end();) {
        Channel& channel = it->second;
        if (!channel.stopped && !channel.voice->IsPlaying()) {
            it = RemoveChannel(it);  // a one-shot channel that played to its end
            continue;
        }
        float change = channel.step * elapsed;
        if (!std::isnan(change))
            channel.level += change;
        if (channel.level > 1.0f) {
            channel.level = 1.0f;
            channel.step = 0.0f;
        } else if (channel.level <= 0.0f) {
            channel.level = 0.0f;
            channel.step = 0.0f;
            it = RemoveChannel(it);  // a fade-out ends the channel
            continue;
        }
        ApplyVolume(channel);
        ++it;
    }
    return 1;
}

int PXDeviceSoundManager::LoadSound(PXFile* stream, uint32_t& soundId)
{
    m_loadRefusal = nullptr;
    if (!m_initialised || !stream)
        return 0;
    uint32_t size = stream->GetSize();
    uint32_t position = stream->Tell();
    if (position >= size || size - position > MaxSoundFileBytes)
        return 0;
    // An archive member is already in memory: it is parsed where it lies.
    if (auto* buffer = dynamic_cast<PXBuffer*>(stream)) {
        if (buffer->GetData() == nullptr)
            return 0;
        return LoadSoundFromMemory(buffer->GetData() + position, size - position, soundId);
    }
    std::vector<uint8_t> bytes(size - position);
    if (stream->ReadBytes(static_cast<uint32_t>(bytes.size()), bytes.data()) != bytes.size())
        return 0;
    return LoadSoundFromMemory(bytes.data(), bytes.size(), soundId);
}

std::unique_ptr<PXAudioBuffer> PXDeviceSoundManager::CreateDeviceBuffer(const PXWaveFormat& format,
                                                                        uint32_t size)
{
    std::unique_ptr<PXAudioBuffer> buffer = m_device->CreateBuffer(format, size, true);
    if (buffer)
        return buffer;
    Log("Failed to create static Sound Buffer\n");
    buffer = m_device->CreateBuffer(format, size, false);
    if (!buffer)
        Log("Failed to create Sound Buffer\n");
    return buffer;
}

int PXDeviceSoundManager::LoadSoundFromMemory(const uint8_t* bytes, size_t size, uint32_t& soundId)
{
    if (!m_initialised)
        return 0;
    PXWaveData wave;
    m_loadRefusal = nullptr;
    if (!PXParseWave(bytes, size, wave, &m_loadRefusal))
        return 0;
    Sound sound;
    sound.format = wave.format;
    sound.bytes = wave.bufferSize;
    sound.buffer = CreateDeviceBuffer(wave.format, wave.bufferSize);
    if (!sound.buffer)
        return 0;
    // The pad byte of odd-sized data is silence, whether or not the file stores it; even
    // data goes to the device straight from the file's bytes.
    const uint8_t* samples = bytes + wave.dataOffset;
    std::vector<uint8_t> padded;
    if (wave.dataSize != wave.bufferSize) {
        padded.assign(wave.bufferSize, 0);
        std::memcpy(padded.data(), samples, wave.dataSize);
        samples = padded.data();
    }
    PXAudioResult filled = sound.buffer->Fill(samples, wave.bufferSize);
    if (filled != PXAudioResult::Ok) {
        Log("Failed to lock sound buffer\n");
        Log(LockErrorText(filled));
        return 0;
    }
    m_sounds.emplace(m_nextSoundId, std::move(sound));
    soundId = m_nextSoundId++;
    return 1;
}

int PXDeviceSoundManager::UnloadSound(uint32_t soundId)
{
    if (!m_initialised)
        return 0;
    auto sound = m_sounds.find(soundId);
    if (sound == m_sounds.end())
        return 0;
    for (auto it = m_channels.begin(); it != m_channels.end();) {
        if (it->second.soundId == soundId)
            it = RemoveChannel(it);
        else
            ++it;
    }
    m_sounds.erase(sound);
    return 1;
}

int PXDeviceSoundManager::CreateChannel(uint32_t soundId, uint32_t& channelId, bool loop)
{
    if (!m_initialised || m_soundMuted)
        return 0;
    auto sound = m_sounds.find(soundId);
    if (sound == m_sounds.end())
        return 0;
    Channel channel;
    channel.voice = sound->second.buffer->CreateVoice();
    if (!channel.voice)
        return 0;
    channel.soundId = soundId;
    channel.loop = loop ? 1 : 0;
    channel.baseFrequency = channel.voice->GetFrequency();
    // The group's gain holds from the first sample, not from the next Update.
    ApplyVolume(channel);
    m_channels.emplace(m_nextChannelId, std::move(channel));
    channelId = m_nextChannelId++;
    return 1;
}

int PXDeviceSoundManager::SetChannelVolume(uint32_t channelId, float level)
{
    if (!m_initialised)
        return 0;
    if (Channel* channel = FindChannel(channelId)) {
        channel->level = Clamp(level, 0.1f, 1.0f);
        ApplyVolume(*channel);
    }
    return 1;
}

int PXDeviceSoundManager::SetChannelGroup(uint32_t channelId, PXSoundGroup group)
{
    if (!m_initialised)
        return 0;
    if (Channel* channel = FindChannel(channelId)) {
        channel->group = group;
        ApplyVolume(*channel);
    }
    return 1;
}

void PXDeviceSoundManager::SetGroupVolume(PXSoundGroup group, float gain)
{
    PXSoundManager::SetGroupVolume(group, gain);
    for (auto& entry : m_channels) {
        if (entry.second.group == group)
            ApplyVolume(entry.second);
    }
}

int PXDeviceSoundManager::SetChannelPan(uint32_t channelId, float pan)
{
    if (!m_initialised || m_soundMuted)
        return 0;
    if (Channel* channel = FindChannel(channelId))
        channel->voice->SetPan(PanFor(pan, m_swappedStereo != 0));
    return 1;
}

int PXDeviceSoundManager::SetChannelFrequency(uint32_t channelId, float factor)
{
    if (!m_initialised || m_soundMuted)
        return 0;
    if (Channel* channel = FindChannel(channelId)) {
        double hz = static_cast<double>(channel->baseFrequency) * factor;
        // Rates the device cannot play leave the frequency as it was.
        if (hz >= PXWaveMinRate && hz < PXWaveMaxRate + 1.0)
            channel->voice->SetFrequency(static_cast<uint32_t>(hz));
    }
    return 1;
}

int PXDeviceSoundManager::StopChannel(uint32_t channelId)
{
    if (!m_initialised)
        return 0;
    auto it = m_channels.find(channelId);
    if (it != m_channels.end())
        RemoveChannel(it);
    return 1;
}

int PXDeviceSoundManager::StopAllChannels()
{
    if (!m_initialised)
        return 0;
    for (auto it = m_channels.begin(); it != m_channels.end();)
        it = RemoveChannel(it);
    return 1;
}

int PXDeviceSoundManager::PlayChannel(uint32_t channelId)
{
    if (!m_initialised || m_soundMuted)
        return 0;
    if (Channel* channel = FindChannel(channelId)) {
        channel->voice->SetPosition(channel->savedPosition);
        channel->voice->Play(channel->loop != 0);
        channel->stopped = 0;
    }
    return 1;
}

int PXDeviceSoundManager::PauseChannel(uint32_t channelId)
{
    if (!m_initialised)
        return 0;
    if (Channel* channel = FindChannel(channelId)) {
        channel->savedPosition = channel->voice->GetPosition();
        channel->voice->Stop();
        channel->stopped = 1;
    }
    return 1;
}

void PXDeviceSoundManager::StartFade(Channel& channel, float target, float duration)
{
    if (duration > 0.0f) {
        channel.step = (target - channel.level) / duration;
    } else {
        // No duration: the next Update reaches the target whatever its elapsed time.
        channel.step = target > channel.level ? FLT_MAX : (target < channel.level ? -FLT_MAX : 0.0f);
    }
    channel.voice->Play(channel.loop != 0);
    channel.stopped = 0;
}

int PXDeviceSoundManager::FadeInChannel(uint32_t channelId, float duration)
{
    if (!m_initialised || m_soundMuted)
        return 0;
    if (Channel* channel = FindChannel(channelId))
        StartFade(*channel, 1.0f, duration);
    return 1;
}

int PXDeviceSoundManager::FadeOutChannel(uint32_t channelId, float duration)
{
    if (!m_initialised)
        return 0;
    if (Channel* channel = FindChannel(channelId))
        StartFade(*channel, 0.0f, duration);
    return 1;
}

int PXDeviceSoundManager::FadeOutAllChannels(float duration)
{
    if (!m_initialised)
        return 0;
    for (auto& entry : m_channels)
        StartFade(entry.second, 0.0f, duration);
    return 1;
}

bool PXDeviceSoundManager::IsChannelPlaying(uint32_t channelId)
{
    if (!m_initialised)
        return false;
    Channel* channel = FindChannel(channelId);
    return channel && channel->voice->IsPlaying();
}

int PXDeviceSoundManager::LoadMusic(const std::string&, uint32_t&)
{
    return 0;
}

int PXDeviceSoundManager::UnloadMusic(uint32_t)
{
    return 0;
}

int PXDeviceSoundManager::PlayMusic(uint32_t)
{
    return 0;
}

int PXDeviceSoundManager::StopMusic()
{
    return 0;
}

bool PXDeviceSoundManager::IsMusicPlaying()
{
    return false;
}
