// The switches every sound manager shares.
#include "engine/sound/PXSoundManager.h"

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
