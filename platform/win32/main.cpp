// The process entry: builds the engine objects in their fixed order, publishes them, runs
// the frame loop (waiting for the next message or frame deadline) until the game quits,
// then shuts down and destroys them in reverse.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXOpenDocument.h"
#include "engine/core/PXStopwatch.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "game/SFCommandLine.h"
#include "game/SFDataFolder.h"
#include "game/SFGame.h"
#include "game/SFStartupReport.h"
#include "platform/win32/PXWin32Clock.h"
#include "platform/win32/PXWin32FileManager.h"
#include "platform/win32/PXWin32Screen2D.h"
#include "platform/win32/PXWin32Shell.h"
#include "platform/win32/PXWin32SettingsManager.h"
#include "platform/win32/PXWin32SoundManager.h"

namespace {

// Frames run at most this often; the measured length of each is handed to the game.
constexpr double FramePeriodMs = 10.0;

// The folder of the executable with a trailing separator, or "" when it cannot be read.
std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return "";
    const std::string file(path, length);
    const size_t slash = file.find_last_of("\\/");
    return slash == std::string::npos ? "" : file.substr(0, slash + 1);
}

bool ShowMessageBox(const std::string& title, const std::string& text)
{
    return MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND) != 0;
}

// A program without a console writes its answers nowhere unless its output was redirected
// (or Wine hands it the terminal's); then the answer comes in a box instead.
bool HasStandardOutput()
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    return out != nullptr && out != INVALID_HANDLE_VALUE;
}

int AnswerCommandLine(const SFCommandLine& line)
{
    if (line.action == SFCommandLine::Action::Play)
        return -1;
    if (HasStandardOutput())
        return SFAnswerCommandLine(line, stdout, stderr);
    std::string text = line.action == SFCommandLine::Action::Version ? SFVersionText() : SFUsageText();
    if (line.action == SFCommandLine::Action::Usage)
        text = line.problem + "\n\n" + text;
    MessageBoxA(nullptr, text.c_str(), "Shardfall", MB_OK | (line.action == SFCommandLine::Action::Usage ? MB_ICONERROR : MB_ICONINFORMATION));
    return line.action == SFCommandLine::Action::Usage ? SFExitUsage : 0;
}

// Reports a failure from before the settings store exists; it is made for the log line.
void ReportEarlyFailure(const std::string& text)
{
    PXWin32SettingsManager settings("Quillmoor", "Shardfall");
    g_settings = &settings;
    SFReportStartupError(text, stderr, ShowMessageBox);
    g_settings = nullptr;
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

int RunGame(const SFCommandLine& line, const std::string& dataFolder)
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
    // The data folder is the first place files are looked for, wherever the program was
    // started from.
    fileSystem->AddManager(std::make_unique<PXWin32FileManager>(), dataFolder);
    g_fileSystem = fileSystem.get();
    g_soundManager = sound.get();
    g_settings = settings.get();

    // The documents the game opens (its about page) lie in the data folder.
    SetProgramFolder(dataFolder);
    SetDocumentHandler(&PXWin32Shell::OpenDocument);
    const int code = SFStartGame(*game, *screen, line, dataFolder, ShowMessageBox);
    if (code == 0) {
        // The window exists only now; DirectSound's focus follows it, not the foreground window.
        sound->SetWindow(screen->GetWindow());
    }

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

    if (code == 0)
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
    return code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    // The C runtime has already split the command line with the Windows quoting rules.
    const SFCommandLine line = SFParseCommandLine(std::vector<std::string>(__argv + 1, __argv + __argc));
    const int answered = AnswerCommandLine(line);
    if (answered >= 0)
        return answered;
    std::string problem;
    const std::string dataFolder = SFLocateGameData(line.dataFolder, ProgramFolder(), "", "", problem);
    if (dataFolder.empty()) {
        ReportEarlyFailure(problem);
        return SFExitStartFailed;
    }
    // Waits and the millisecond timer to 1 ms, so the 10 ms frame deadline is kept.
    timeBeginPeriod(1);
    const int code = RunGame(line, dataFolder);
    timeEndPeriod(1);
    return code;
}
