// The process entry on Windows: parses the command line, finds the data, and hands the
// window, DirectSound and Win32 file and settings objects to the application shell, which
// runs the game.
#include <windows.h>
#include <mmsystem.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXApplication.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXOpenDocument.h"
#include "game/SFCommandLine.h"
#include "game/SFDataFolder.h"
#include "game/SFGame.h"
#include "game/SFStartupReport.h"
#include "platform/win32/PXWin32Clock.h"
#include "platform/win32/PXWin32FileManager.h"
#include "platform/win32/PXWin32Gamepads.h"
#include "platform/win32/PXWin32Screen2D.h"
#include "platform/win32/PXWin32Shell.h"
#include "platform/win32/PXWin32SettingsManager.h"
#include "platform/win32/PXWin32SoundManager.h"

namespace {

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

// A FILETIME (100 ns units) in milliseconds.
double FileTimeMs(const FILETIME& time)
{
    const ULONGLONG units = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<double>(units) / 10000.0;
}

// The window, DirectSound and Win32 files and settings, for the shell. The window procedure
// of the screen turns messages into engine events on the shell's queue and hands the
// window's actions to the shell.
class Win32Platform : public PXApplicationPlatform {
public:
    Win32Platform(const SFCommandLine& line, const std::string& dataFolder) : m_line(line), m_dataFolder(dataFolder) {}

    // The shell that runs this platform; it carries out the window's actions.
    void SetApplication(PXApplication& application) { m_application = &application; }

    std::unique_ptr<PXGame> CreateGame() override
    {
        auto game = std::make_unique<SFGame>();
        m_game = game.get();
        return game;
    }
    std::unique_ptr<PXWindowScreen2D> CreateScreen(PXGame& game) override
    {
        auto screen = std::make_unique<PXWin32Screen2D>(&game);
        m_screen = screen.get();
        // Messages reach the window procedure whenever they are sent, not only while
        // WaitForEvents dispatches them: the handler is in place for the window's whole life.
        PXApplication* application = m_application;
        screen->SetWindowActionHandler([application](PXWindowAction action) {
            if (application != nullptr)
                application->HandleWindowAction(action);
        });
        return screen;
    }
    std::unique_ptr<PXFileManager> CreateFileManager() override { return std::make_unique<PXWin32FileManager>(); }
    std::unique_ptr<PXSoundManager> CreateSoundManager() override
    {
        auto sound = std::make_unique<PXWin32SoundManager>();
        m_sound = sound.get();
        return sound;
    }
    std::unique_ptr<PXSettingsManager> CreateSettingsManager() override
    {
        return std::make_unique<PXWin32SettingsManager>("Quillmoor", "Shardfall");
    }

    int Start(PXEventQueue& queue) override
    {
        m_screen->SetEventQueue(&queue);
        // The documents the game opens (its about page) lie in the data folder.
        SetProgramFolder(m_dataFolder);
        SetDocumentHandler(&PXWin32Shell::OpenDocument);
        const int code = SFStartGame(*m_game, *m_screen, m_line, m_dataFolder, ShowMessageBox);
        if (code == 0) {
            // The window exists only now; DirectSound's focus follows it, not the foreground window.
            m_sound->SetWindow(m_screen->GetWindow());
        }
        return code;
    }
    void Stopped() override { m_screen->SetEventQueue(nullptr); }

    PXClock& Clock() override { return m_clock; }

    // The screen's window procedure queues the engine events and hands the window's actions
    // to the shell while the messages are dispatched; the pads are read once a frame.
    bool WaitForEvents(int timeoutMs, PXEventQueue& queue, PXApplication& /*application*/) override
    {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeoutMs), QS_ALLINPUT);
        m_gamepads.Poll(m_clock.Milliseconds(), queue);
        return PumpMessages(*m_game);
    }

    double MillisecondsSinceProcessStart() override
    {
        FILETIME created, exited, kernel, user, now;
        if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
            return -1.0;
        GetSystemTimeAsFileTime(&now);
        return FileTimeMs(now) - FileTimeMs(created);
    }
    double ProcessorMilliseconds() override
    {
        FILETIME created, exited, kernel, user;
        if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
            return 0.0;
        return FileTimeMs(kernel) + FileTimeMs(user);
    }

private:
    const SFCommandLine& m_line;
    const std::string m_dataFolder;
    PXWin32Clock m_clock;
    PXWin32Gamepads m_gamepads;
    SFGame* m_game = nullptr;
    PXWin32Screen2D* m_screen = nullptr;
    PXWin32SoundManager* m_sound = nullptr;
    PXApplication* m_application = nullptr;
};

int RunGame(const SFCommandLine& line, const std::string& dataFolder)
{
    Win32Platform platform(line, dataFolder);
    PXApplication application(platform);
    platform.SetApplication(application);
    application.SetExitAfterFirstFrame(PXApplication::ExitAfterFirstFrameRequested());
    return application.Run(dataFolder);
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
