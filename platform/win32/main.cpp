// The process entry: builds the engine objects in their fixed order, publishes them, runs
// the frame loop (waiting for the next message or frame deadline) until the game quits,
// then shuts down and destroys them in reverse.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXOpenDocument.h"
#include "engine/core/PXStopwatch.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "game/SFGame.h"
#include "platform/win32/PXWin32Clock.h"
#include "platform/win32/PXWin32FileManager.h"
#include "platform/win32/PXWin32Screen2D.h"
#include "platform/win32/PXWin32Shell.h"
#include "platform/win32/PXWin32SettingsManager.h"
#include "platform/win32/PXWin32SoundManager.h"

namespace {

// Frames run at most this often; the measured length of each is handed to the game.
constexpr double FramePeriodMs = 10.0;

// The documents the game opens (its about page) lie beside the executable.
void InstallDocumentOpener()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        std::string folder(path, length);
        const size_t slash = folder.find_last_of("\\/");
        if (slash != std::string::npos)
            SetProgramFolder(folder.substr(0, slash + 1));
    }
    SetDocumentHandler(&PXWin32Shell::OpenDocument);
}

// Dispatches every waiting message; false once the quit message arrived.
bool PumpMessages(SFGame& game)
{
    MSG message;
    while (!game.IsQuitRequested() && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return false;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

int RunGame()
{
    PXWin32Clock clock;
    // Construction order: game, screen, file system, resource cache, sound, settings.
    auto game = std::make_unique<SFGame>();
    auto screen = std::make_unique<PXWin32Screen2D>(game.get());
    auto fileSystem = std::make_unique<PXFileSystem>();
    auto resources = std::make_unique<PXResourceCache>();
    auto sound = std::make_unique<PXWin32SoundManager>();
    auto settings = std::make_unique<PXWin32SettingsManager>("Quillmoor", "Shardfall");
    PXStopwatch stopwatch(clock);

    PXEventQueue queue;
    screen->SetEventQueue(&queue);

    g_game = game.get();
    g_resources = resources.get();
    g_screen = screen.get();
    // The working folder is the first place files are looked for.
    fileSystem->AddManager(std::make_unique<PXWin32FileManager>(), "");
    g_fileSystem = fileSystem.get();
    g_soundManager = sound.get();
    g_settings = settings.get();

    InstallDocumentOpener();
    game->Initialise();
    // The window exists only now; DirectSound's focus follows it, not the foreground window.
    sound->SetWindow(screen->GetWindow());

    stopwatch.Reset();
    queue.Push(EventTick, 0);

    while (!game->IsQuitRequested()) {
        double ms = stopwatch.ElapsedSeconds() * 1000.0;
        if (ms >= FramePeriodMs) {
            stopwatch.Reset();
            queue.Push(EventTick, static_cast<int32_t>(ms * 10.0));
            game->RunFrame(queue);
            ms = 0.0;
        }
        if (game->IsQuitRequested())
            break;
        // Sleep until a message arrives or the next frame is due, instead of spinning.
        const DWORD waitMs = static_cast<DWORD>(std::max(1, static_cast<int>(std::ceil(FramePeriodMs - ms))));
        MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs, QS_ALLINPUT);
        if (!PumpMessages(*game))
            game->RequestQuit();
    }

    game->Shutdown();
    screen->SetEventQueue(nullptr);
    queue.Clear();

    // Destroyed in reverse order of construction; the globals never point at a dead object.
    g_settings = nullptr;
    settings.reset();
    g_soundManager = nullptr;
    sound.reset();
    g_resources = nullptr;
    resources.reset();
    g_fileSystem = nullptr;
    fileSystem.reset();
    g_screen = nullptr;
    screen.reset();
    g_game = nullptr;
    game.reset();
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    // Waits and the millisecond timer to 1 ms, so the 10 ms frame deadline is kept.
    timeBeginPeriod(1);
    const int code = RunGame();
    timeEndPeriod(1);
    return code;
}
