// Feeds arbitrary bytes to the sound manager's WAV loader on the recording device, and
// plays whatever loads.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "engine/files/PXBuffer.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXRecordingAudioDevice.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto owned = std::make_unique<PXRecordingAudioDevice>();
    PXRecordingAudioDevice* device = owned.get();
    PXDeviceSoundManager manager(std::move(owned));
    if (!manager.Init(0))
        return 0;
    PXBuffer stream;
    stream.Allocate(static_cast<uint32_t>(size), 0);
    if (size > 0 && stream.GetData())
        std::memcpy(stream.GetData(), data, size);
    uint32_t sound = 0;
    if (!manager.LoadSound(&stream, sound))
        return 0;
    uint32_t once = 0;
    uint32_t looping = 0;
    if (manager.CreateChannel(sound, once, false) && manager.CreateChannel(sound, looping, true)) {
        manager.PlayChannel(once);
        manager.SetChannelFrequency(looping, 1.5f);
        manager.FadeInChannel(looping, 100.0f);
        device->Advance(50.0);
        manager.PauseChannel(once);
        manager.PlayChannel(once);
        device->Advance(5000.0);
        manager.Update(50.0f);
    }
    manager.UnloadSound(sound);
    return 0;
}
