// Fuzz target: the game's start-up, a few frames and its shut-down with any bytes as
// "config.cfg" (and as every other file the start-up opens, such as its song), on the
// headless screen and the recording audio device.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXRandom.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXRecordingAudioDevice.h"
#include "fuzz/FuzzMemoryFiles.h"
#include "game/SFGame.h"
#include "tests/support/EngineGlobals.h"
#include "tests/support/FakeSettingsManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 16))
        return 0;
    GlobalRandom().Seed(1);
    g_showFps = 0;
    g_keyRepeatDelay = 120;
    PXMemoryScreen2D screen;
    PXFileSystem fileSystem;
    fileSystem.AddManager(std::make_unique<FuzzMemoryFiles>(data, size, true), "");
    PXResourceCache resources;
    auto owned = std::make_unique<PXRecordingAudioDevice>();
    PXRecordingAudioDevice* device = owned.get();
    PXDeviceSoundManager sound(std::move(owned));
    // Data folders that do not exist: nothing the game saves reaches the disk.
    FakeSettingsManager settings("/nonexistent-shardfall-fuzz/");
    {
        SFGame game;
        PublishEngineObjects({&game, &screen, &fileSystem, &resources, &sound, &settings});
        game.Initialise();
        // The repeat delay paces loops in the play scene: it must stay a positive step.
        if (g_keyRepeatDelay < 1)
            __builtin_trap();
        PXEventQueue queue;
        for (int frame = 0; frame < 3; ++frame) {
            queue.Push(EventTick, 160);
            game.RunFrame(queue);
            device->Advance(16.0);
        }
        game.Shutdown();
    }
    ClearEngineGlobals();
    return 0;
}
