// PXWin32SoundManager: the device sound manager on a DirectSound device it keeps a handle to.
#include "platform/win32/PXWin32SoundManager.h"

#include "platform/win32/PXDirectSoundAudioDevice.h"

PXWin32SoundManager::PXWin32SoundManager() : PXWin32SoundManager(std::make_unique<PXDirectSoundAudioDevice>()) {}

PXWin32SoundManager::PXWin32SoundManager(std::unique_ptr<PXDirectSoundAudioDevice>&& device)
    : PXWin32SoundManager(std::move(device), device.get())
{
}

PXWin32SoundManager::PXWin32SoundManager(std::unique_ptr<PXDirectSoundAudioDevice>&& device,
                                         PXDirectSoundAudioDevice* directSound)
    : PXDeviceSoundManager(std::move(device)), m_directSound(directSound)
{
}

int PXWin32SoundManager::SetWindow(HWND__* window)
{
    m_directSound->SetWindow(window);
    return 1;
}

HWND__* PXWin32SoundManager::GetCooperativeWindow() const
{
    return m_directSound->GetCooperativeWindow();
}
