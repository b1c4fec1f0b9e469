// The engine's sound interface: sounds loaded from WAV data, played on channels with
// volume, pan, frequency and fades, mixed against a master volume and advanced once per
// frame. Every channel belongs to a group (effects unless told otherwise) whose gain the
// player sets apart from the others. Sound and channel ids are never reused. Every
// operation from Update on, except the Set...Enabled/SetSwappedStereo/SetVolume/
// SetGroupVolume switches, answers 0 and does nothing while the manager is not
// initialised; an unknown channel id is ignored with result 1.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class PXFile;

// What a channel plays, for the player's separate volume of each.
enum class PXSoundGroup : uint8_t { Effects, Music };
constexpr size_t PXSoundGroupCount = 2;

// The gain of a volume slider at `percent` (cut to 0..100): (percent / 100) squared, so 0 is
// silent and 50 % is 0.25 (-12 dB). Heard loudness follows the decibels, not the amplitude: a
// straight line would keep the upper half of the slider nearly as loud as the top and crowd
// every audible change into its last few steps; the square spreads them about evenly.
float PXVolumeGain(int32_t percent);

class PXSoundManager {
public:
    PXSoundManager() = default;
    virtual ~PXSoundManager() = default;
    PXSoundManager(const PXSoundManager&) = delete;
    PXSoundManager& operator=(const PXSoundManager&) = delete;

    // The argument is not used. 1 when the output opened.
    virtual int Init(int32_t unused) = 0;
    // Advances fades by `elapsed` milliseconds and drops finished channels.
    virtual int Update(float elapsed) = 0;

    // Returns the new muted flag.
    virtual uint8_t SetSoundEnabled(bool on);
    virtual uint8_t SetSwappedStereo(bool swapped);
    // Kept within 0.01..1.0.
    virtual void SetVolume(float volume);
    // Returns the new music-muted flag.
    virtual uint8_t SetMusicEnabled(bool on);
    // The group's gain, kept within 0..1 (0 is silent); every channel of the group hears
    // a change at once, on top of the master volume and the channel's own level.
    virtual void SetGroupVolume(PXSoundGroup group, float gain);
    float GetGroupVolume(PXSoundGroup group) const { return m_groupGains[static_cast<size_t>(group)]; }

    virtual int LoadSound(PXFile* stream, uint32_t& soundId) = 0;
    virtual int UnloadSound(uint32_t soundId) = 0;
    // The channel is created stopped; PlayChannel or FadeInChannel starts it.
    virtual int CreateChannel(uint32_t soundId, uint32_t& channelId, bool loop) = 0;
    virtual int SetChannelVolume(uint32_t channelId, float level) = 0;
    // Puts the channel into `group`; a new channel plays in Effects. A manager without
    // channels answers 0.
    virtual int SetChannelGroup(uint32_t channelId, PXSoundGroup group);
    // -1 left .. 1 right.
    virtual int SetChannelPan(uint32_t channelId, float pan) = 0;
    // A factor of the sound's own sample rate.
    virtual int SetChannelFrequency(uint32_t channelId, float factor) = 0;
    virtual int StopChannel(uint32_t channelId) = 0;
    virtual int StopAllChannels() = 0;
    virtual int PlayChannel(uint32_t channelId) = 0;
    virtual int PauseChannel(uint32_t channelId) = 0;
    // Durations in milliseconds, like Update's elapsed time.
    virtual int FadeInChannel(uint32_t channelId, float duration) = 0;
    virtual int FadeOutChannel(uint32_t channelId, float duration) = 0;
    virtual int FadeOutAllChannels(float duration) = 0;
    virtual bool IsChannelPlaying(uint32_t channelId) = 0;

    // Module music is not played by this engine; these answer 0 and write nothing.
    virtual int LoadMusic(const std::string& name, uint32_t& musicId) = 0;
    virtual int UnloadMusic(uint32_t musicId) = 0;
    virtual int PlayMusic(uint32_t musicId) = 0;
    virtual int StopMusic() = 0;
    virtual bool IsMusicPlaying() = 0;

    uint8_t IsSoundMuted() const { return m_soundMuted; }
    uint8_t IsStereoSwapped() const { return m_swappedStereo; }
    uint8_t IsMusicMuted() const { return m_musicMuted; }
    float GetVolume() const { return m_masterVolume; }
    // Why the last LoadSound refused its data as a sound, or null (a device that failed has
    // its own log line). The caller knows the file's name and logs both.
    const char* GetLoadRefusal() const { return m_loadRefusal; }

protected:
    uint8_t m_soundMuted = 0;
    uint8_t m_swappedStereo = 0;
    uint8_t m_musicMuted = 0;
    float m_masterVolume = 1.0f;
    std::array<float, PXSoundGroupCount> m_groupGains{{1.0f, 1.0f}};
    const char* m_loadRefusal = nullptr;
};
