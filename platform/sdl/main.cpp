// The process entry on Linux: parses the command line, finds the data, and hands the SDL,
// OpenAL and POSIX objects to the application shell, which runs the game.
#include <SDL.h>

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXApplication.h"
#include "engine/core/PXGlobals.h"
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
#include "platform/sdl/PXSDLGamepads.h"
#include "platform/sdl/PXSDLScreen2D.h"

#ifndef SF_INSTALL_DATA_DIR
#define SF_INSTALL_DATA_DIR ""
#endif
#ifndef SF_INSTALL_DATA_RELATIVE
#define SF_INSTALL_DATA_RELATIVE ""
#endif

namespace {

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

// The SDL window and input, OpenAL sound and POSIX files and settings, for the shell.
class SDLPlatform : public PXApplicationPlatform {
public:
    SDLPlatform(const SFCommandLine& line, const std::string& dataFolder) : m_line(line), m_dataFolder(dataFolder) {}

    std::unique_ptr<PXGame> CreateGame() override
    {
        auto game = std::make_unique<SFGame>();
        m_game = game.get();
        return game;
    }
    std::unique_ptr<PXWindowScreen2D> CreateScreen(PXGame& game) override
    {
        auto screen = std::make_unique<PXSDLScreen2D>(&game);
        m_screen = screen.get();
        return screen;
    }
    std::unique_ptr<PXFileManager> CreateFileManager() override { return std::make_unique<PXPosixFileManager>(); }
    std::unique_ptr<PXSoundManager> CreateSoundManager() override
    {
        // The output opens while the window is made; the sound manager's Init waits for it.
        auto device = std::make_unique<PXOpenALAudioDevice>();
        device->BeginOpen();
        return std::make_unique<PXDeviceSoundManager>(std::move(device));
    }
    std::unique_ptr<PXSettingsManager> CreateSettingsManager() override
    {
        return std::make_unique<PXPosixSettingsManager>("Quillmoor", "Shardfall");
    }

    int Start(PXEventQueue& queue) override
    {
        m_gamepads.OpenPresent(queue);
        PXPosixInstallDocumentOpener();
        // The about page lies in the data folder.
        SetProgramFolder(m_dataFolder);
        const int code = SFStartGame(*m_game, *m_screen, m_line, m_dataFolder, ShowMessageBox);
        SDL_StartTextInput();
        return code;
    }

    PXClock& Clock() override { return m_clock; }

    bool WaitForEvents(int timeoutMs, PXEventQueue& queue, PXApplication& application) override
    {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, timeoutMs)) {
            application.HandleWindowAction(m_translator.Translate(event, queue));
            while (!m_game->IsQuitRequested() && SDL_PollEvent(&event)) {
                application.HandleWindowAction(m_translator.Translate(event, queue));
            }
        }
        return true;
    }

    double MillisecondsSinceProcessStart() override { return ::MillisecondsSinceProcessStart(); }
    double ProcessorMilliseconds() override
    {
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        return static_cast<double>(cpu.tv_sec) * 1000.0 + static_cast<double>(cpu.tv_nsec) / 1e6;
    }

private:
    const SFCommandLine& m_line;
    const std::string m_dataFolder;
    PXSDLClock m_clock;
    PXSDLGamepads m_gamepads;
    const PXSDLEventTranslator m_translator{&m_gamepads};
    SFGame* m_game = nullptr;
    PXSDLScreen2D* m_screen = nullptr;
};

int RunGame(const SFCommandLine& line, const std::string& dataFolder)
{
    SDLPlatform platform(line, dataFolder);
    PXApplication application(platform);
    application.SetExitAfterFirstFrame(PXApplication::ExitAfterFirstFrameRequested());
    return application.Run(dataFolder);
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
    // Without controller support the game still runs, with no pads.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    const int code = RunGame(line, dataFolder);
    SDL_Quit();
    return code;
}
