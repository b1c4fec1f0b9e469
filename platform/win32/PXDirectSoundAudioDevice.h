// The audio device on DirectSound: a sound is a secondary buffer, filled with Lock and
// Unlock; a channel is a duplicate of it (DuplicateSoundBuffer), so one sound plays on
// several channels at once and DirectSound mixes them.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/sound/PXAudioDevice.h"

struct HWND__;
struct IDirectSound;

class PXDirectSoundAudioDevice : public PXAudioDevice {
public:
    PXDirectSoundAudioDevice();
    ~PXDirectSoundAudioDevice() override;
    PXDirectSoundAudioDevice(const PXDirectSoundAudioDevice&) = delete;
    PXDirectSoundAudioDevice& operator=(const PXDirectSoundAudioDevice&) = delete;

    // The window for the cooperative level; without one Open takes the foreground window,
    // or the desktop's when there is none. An open device is bound to the new window at once.
    void SetWindow(HWND__* window);
    // The window the cooperative level is set for; none while closed.
    HWND__* GetCooperativeWindow() const { return m_boundWindow; }

    // The default device at the normal cooperative level; false without one.
    bool Open() override;
    std::unique_ptr<PXAudioBuffer> CreateBuffer(const PXWaveFormat& format, uint32_t size,
                                                bool preferStatic) override;

private:
    HWND__* m_window = nullptr;
    HWND__* m_boundWindow = nullptr;
    IDirectSound* m_sound = nullptr;
};
