// The process entry: builds the engine objects in their fixed order, publishes them, runs
// the frame loop until the game quits, then shuts down and destroys them in reverse.
#include <SDL.h>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXLog.h"
#include "engine/core/PXStopwatch.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/core/PXOpenDocument.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "game/SFCommandLine.h"
#include "game/SFDataFolder.h"
#include "game/SFGame.h"
#include "game/SFStartupReport.h"
#include "platform/openal/PXOpenALAudioDevice.h"
#include "platform/posix/PXPosixDocumentOpener.h"
#include "platform/posix/PXPosixFileManager.h"
#include "platform/posix/PXPosixSettingsManager.h"
#include "platform/sdl/PXSDLClock.h"
#include "platform/sdl/PXSDLEventTranslator.h"
#include "platform/sdl/PXSDLScreen2D.h"

#ifndef SF_INSTALL_DATA_DIR
#define SF_INSTALL_DATA_DIR ""
#endif
#ifndef SF_INSTALL_DATA_RELATIVE
#define SF_INSTALL_DATA_RELATIVE ""
#endif

namespace {

// Frames run at most this often; the measured length of each is handed to the game.
constexpr double FramePeriodMs = 10.0;
// The shortest time between two pictures shown.
constexpr uint32_t PresentIntervalMs = 16;

// Milliseconds since the kernel started this process (its start time in /proc is counted
// in clock ticks on the boot-time clock), or a negative number when that is unknown.
double MillisecondsSinceProcessStart()
{
    FILE* file = std::fopen("/proc/self/stat", "r");
    if (file == nullptr) {
        return -1.0;
    }
    char line[1024] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    // The command name in parentheses may hold spaces; the fields after it are plain.
    const char* rest = read ? std::strrchr(line, ')') : nullptr;
    if (rest == nullptr) {
        return -1.0;
    }
    unsigned long long startTicks = 0;
    // After ')': state and 18 more fields, then the start time (field 22 of the line).
    if (std::sscanf(rest + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu",
                    &startTicks) != 1) {
        return -1.0;
    }
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    timespec now{};
    if (ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0) {
        return -1.0;
    }
    const double nowMs = static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
    return nowMs - static_cast<double>(startTicks) * 1000.0 / static_cast<double>(ticksPerSecond);
}

// With SF_EXIT_AFTER_FIRST_FRAME=1 the game reports how long it took to present its first
// frame and quits, so start-up time can be measured from outside.
bool ExitAfterFirstFrame()
{
    const char* value = std::getenv("SF_EXIT_AFTER_FIRST_FRAME");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

void HandleWindowEvent(const SDL_Event& event, const PXSDLEventTranslator& translator, PXEventQueue& queue,
                       SFGame& game, PXSDLScreen2D& screen)
{
    switch (translator.Translate(event, queue)) {
    case PXSDLWindowAction::Repaint:
        screen.Clear();
        break;
    case PXSDLWindowAction::Close:
        game.RequestQuit();
        screen.Destroy();
        break;
    case PXSDLWindowAction::None:
        // A resized window shows the whole picture again at its new scale.
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            screen.Clear();
        }
        break;
    }
}

bool ShowMessageBox(const std::string& title, const std::string& text)
{
    // Allowed before SDL_Init and without a window; fails quietly where no display is.
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr) == 0;
}

// Reports a failure from before the settings store exists; it is made for the log line.
void ReportEarlyFailure(const std::string& text)
{
    PXPosixSettingsManager settings("Quillmoor", "Shardfall");
    g_settings = &settings;
    SFReportStartupError(text, stderr, ShowMessageBox);
    g_settings = nullptr;
}

// SDL falls back to a driver that draws nowhere ("offscreen") when no display answers; the
// game would then run unseen. Such a driver counts only when asked for by name.
bool HasVisibleDisplay()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) {
        return false;
    }
    if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) {
        return true;
    }
    const char* wanted = std::getenv("SDL_VIDEODRIVER");
    return wanted != nullptr && std::strstr(wanted, driver) != nullptr;
}

int RunGame(const SFCommandLine& line, const std::string& dataFolder)
{
    PXSDLClock clock;
    // Construction order: game, screen, file system, resource cache, sound, settings.
    auto game = std::make_unique<SFGame>();
    auto screen = std::make_unique<PXSDLScreen2D>(game.get());
    auto fileSystem = std::make_unique<PXFileSystem>();
    auto resources = std::make_unique<PXResourceCache>();
    auto sound = std::make_unique<PXDeviceSoundManager>(std::make_unique<PXOpenALAudioDevice>());
    auto settings = std::make_unique<PXPosixSettingsManager>("Quillmoor", "Shardfall");
    PXStopwatch stopwatch(clock);

    g_game = game.get();
    g_resources = resources.get();
    g_screen = screen.get();
    // The data folder is the first place files are looked for, wherever the program was
    // started from.
    fileSystem->AddManager(std::make_unique<PXPosixFileManager>(), dataFolder);
    g_fileSystem = fileSystem.get();
    g_soundManager = sound.get();
    g_settings = settings.get();
    PXPosixInstallDocumentOpener();
    // The about page lies in the data folder.
    SetProgramFolder(dataFolder);
    // Frames run every 10 ms; a display shows about 60 pictures a second, and without vsync
    // each picture costs a whole scaled copy of the frame.
    screen->SetPresentPacing(&clock, PresentIntervalMs);

    const int code = SFStartGame(*game, *screen, line, dataFolder, ShowMessageBox);

    PXEventQueue queue;
    const PXSDLEventTranslator translator;
    SDL_StartTextInput();
    stopwatch.Reset();
    queue.Push(EventTick, 0);
    bool exitAfterFirstFrame = ExitAfterFirstFrame();

    while (code == 0 && !game->IsQuitRequested()) {
        double ms = stopwatch.ElapsedSeconds() * 1000.0;
        if (ms >= FramePeriodMs) {
            stopwatch.Reset();
            queue.Push(EventTick, static_cast<int32_t>(ms * 10.0));
            game->RunFrame(queue);
            ms = 0.0;
            if (exitAfterFirstFrame) {
                // The frame has been presented.
                exitAfterFirstFrame = false;
                const double startUpMs = MillisecondsSinceProcessStart();
                // The processor time spent so far, which a busy machine does not inflate.
                timespec cpu{};
                clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
                const double cpuMs = static_cast<double>(cpu.tv_sec) * 1000.0 + static_cast<double>(cpu.tv_nsec) / 1e6;
                LogF("First frame presented %.1f ms after process start (%.1f ms of processor time)", startUpMs, cpuMs);
                std::printf("startup_ms %.1f cpu_ms %.1f\n", startUpMs, cpuMs);
                std::fflush(stdout);
                game->RequestQuit();
                continue;
            }
        }
        // Sleep until an event arrives or the next frame is due, instead of spinning.
        const int waitMs = std::max(1, static_cast<int>(std::ceil(FramePeriodMs - ms)));
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, waitMs)) {
            HandleWindowEvent(event, translator, queue, *game, *screen);
            while (!game->IsQuitRequested() && SDL_PollEvent(&event)) {
                HandleWindowEvent(event, translator, queue, *game, *screen);
            }
        }
    }

    if (code == 0) {
        game->Shutdown();
    }
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

int main(int argc, char** argv)
{
    const SFCommandLine line = SFParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    const int answered = SFAnswerCommandLine(line, stdout, stderr);
    if (answered >= 0) {
        return answered;
    }
    std::string problem;
    const std::string dataFolder = SFLocateGameData(line.dataFolder, PXPosixProgramFolder(), SF_INSTALL_DATA_RELATIVE,
                                                    SF_INSTALL_DATA_DIR, problem);
    if (dataFolder.empty()) {
        ReportEarlyFailure(problem);
        return SFExitStartFailed;
    }
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        ReportEarlyFailure(std::string("The game window could not be created: ") + SDL_GetError());
        return SFExitStartFailed;
    }
    if (!HasVisibleDisplay()) {
        SDL_Quit();
        ReportEarlyFailure("The game window could not be created: no display was found (is DISPLAY or "
                           "WAYLAND_DISPLAY set?).");
        return SFExitStartFailed;
    }
    const int code = RunGame(line, dataFolder);
    SDL_Quit();
    return code;
}
