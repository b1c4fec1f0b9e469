// The sound manager on an audio device: one device buffer per sound, one voice on it
// per channel; the device mixes the channels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

#include "engine/sound/PXAudioDevice.h"
#include "engine/sound/PXSoundManager.h"

class PXDeviceSoundManager : public PXSoundManager {
public:
    // The manager owns the device; Init opens it.
    explicit PXDeviceSoundManager(std::unique_ptr<PXAudioDevice> device);
    ~PXDeviceSoundManager() override;

    int Init(int32_t unused) override;
    int Update(float elapsed) override;

    // Reads the rest of the stream and loads it as a WAV file.
    int LoadSound(PXFile* stream, uint32_t& soundId) override;
    // Loads WAV file bytes; LoadSound ends here.
    int LoadSoundFromMemory(const uint8_t* bytes, size_t size, uint32_t& soundId);
    int UnloadSound(uint32_t soundId) override;
    int CreateChannel(uint32_t soundId, uint32_t& channelId, bool loop) override;
    int SetChannelVolume(uint32_t channelId, float level) override;
    int SetChannelGroup(uint32_t channelId, PXSoundGroup group) override;
    void SetGroupVolume(PXSoundGroup group, float gain) override;
    int SetChannelPan(uint32_t channelId, float pan) override;
    int SetChannelFrequency(uint32_t channelId, float factor) override;
    int StopChannel(uint32_t channelId) override;
    int StopAllChannels() override;
    int PlayChannel(uint32_t channelId) override;
    int PauseChannel(uint32_t channelId) override;
    int FadeInChannel(uint32_t channelId, float duration) override;
    int FadeOutChannel(uint32_t channelId, float duration) override;
    int FadeOutAllChannels(float duration) override;
    bool IsChannelPlaying(uint32_t channelId) override;

    int LoadMusic(const std::string& name, uint32_t& musicId) override;
    int UnloadMusic(uint32_t musicId) override;
    int PlayMusic(uint32_t musicId) override;
    int StopMusic() override;
    bool IsMusicPlaying() override;

    bool IsInitialised() const { return m_initialised; }
    bool HasSound(uint32_t soundId) const { return m_sounds.count(soundId) != 0; }
    bool HasChannel(uint32_t channelId) const { return m_channels.count(channelId) != 0; }
    // The channel's fade level, or a negative value for an unknown channel.
    float GetChannelLevel(uint32_t channelId) const;

    // The device volume, in hundredths of a decibel, for a channel at `level`.
    static int32_t VolumeFor(float masterVolume, bool muted, float level);
    // The same for a channel of a group at `groupGain` (0..1, an amplitude factor): the
    // group's gain lowers it by its true decibels (0.25 by 12.04 dB), down to silence.
    static int32_t VolumeFor(float masterVolume, bool muted, float level, float groupGain);
    // The device pan, in hundredths of a decibel, for a pan of -1 (left) .. 1 (right).
    static int32_t PanFor(float pan, bool swapped);

private:
    struct Sound {
        PXWaveFormat format;
        uint32_t bytes = 0;
        std::unique_ptr<PXAudioBuffer> buffer;
    };
    struct Channel {
        uint32_t savedPosition = 0;
        uint32_t soundId = 0;
        std::unique_ptr<PXAudioVoice> voice;
        uint32_t baseFrequency = 0;
        uint8_t stopped = 1;
        uint8_t loop = 0;
        PXSoundGroup group = PXSoundGroup::Effects;
        float level = 1.0f;
        // Level change per millisecond while fading.
        float step = 0.0f;
    };
    using ChannelMap = std::map<uint32_t, Channel>;

    Channel* FindChannel(uint32_t channelId);
    std::unique_ptr<PXAudioBuffer> CreateDeviceBuffer(const PXWaveFormat& format, uint32_t size);
    void StartFade(Channel& channel, float target, float duration);
    void ApplyVolume(Channel& channel);
    // Stops the channel's voice and forgets it; returns the next channel in id order.
    ChannelMap::iterator RemoveChannel(ChannelMap::iterator it);

    // Declared first so that it is destroyed after every buffer and voice.
    std::unique_ptr<PXAudioDevice> m_device;
    bool m_initialised = false;
    uint32_t m_nextSoundId = 0;
    std::map<uint32_t, Sound> m_sounds;
    uint32_t m_nextChannelId = 0;
    ChannelMap m_channels;
};
