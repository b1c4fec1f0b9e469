// The sound manager on DirectSound: the device-independent manager over the DirectSound
// audio device, with the window its cooperative level is set for.
#pragma once

#include <memory>

#include "engine/sound/PXDeviceSoundManager.h"

struct HWND__;
class PXDirectSoundAudioDevice;

class PXWin32SoundManager : public PXDeviceSoundManager {
public:
    PXWin32SoundManager();

    // The window the cooperative level is set for, at Init or at once when already
    // initialised; 1.
    int SetWindow(HWND__* window);
    // The window DirectSound's focus follows; none without a device.
    HWND__* GetCooperativeWindow() const;

private:
    explicit PXWin32SoundManager(std::unique_ptr<PXDirectSoundAudioDevice>&& device);
    PXWin32SoundManager(std::unique_ptr<PXDirectSoundAudioDevice>&& device, PXDirectSoundAudioDevice* directSound);

    PXDirectSoundAudioDevice* m_directSound;  // owned by the base class
};
