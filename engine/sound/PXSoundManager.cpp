// The switches every sound manager shares, and the volume slider's curve.
#include "engine/sound/PXSoundManager.h"

#include <algorithm>

float PXVolumeGain(int32_t percent)
{
    const float share = static_cast<float>(std::clamp(percent, 0, 100)) / 100.0f;
    return share * share;
}

uint8_t PXSoundManager::SetSoundEnabled(bool on)
{
    m_soundMuted = on ? 0 : 1;
    return m_soundMuted;
}

uint8_t PXSoundManager::SetSwappedStereo(bool swapped)
{
    m_swappedStereo = swapped ? 1 : 0;
    return m_swappedStereo;
}

void PXSoundManager::SetVolume(float volume)
{
    if (volume > 1.0f)
        volume = 1.0f;
    // Written so that a NaN also lands on the floor.
    if (!(volume > 0.01f))
        volume = 0.01f;
    m_masterVolume = volume;
}

uint8_t PXSoundManager::SetMusicEnabled(bool on)
{
    m_musicMuted = on ? 0 : 1;
    return m_musicMuted;
}

void PXSoundManager::SetGroupVolume(PXSoundGroup group, float gain)
{
    if (gain > 1.0f)
        gain = 1.0f;
    // Written so that a NaN also lands on silence.
    if (!(gain > 0.0f))
        gain = 0.0f;
    m_groupGains[static_cast<size_t>(group)] = gain;
}

int PXSoundManager::SetChannelGroup(uint32_t, PXSoundGroup)
{
    return 0;
}
