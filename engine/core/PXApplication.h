// The application shell both platforms run: it builds the engine objects in their fixed
// order, publishes them in the globals, runs the frame loop (a tick with the measured frame
// length, the game's frame, then a wait for the next event or frame deadline), carries out
// the window's actions, reports the first frame when asked, and shuts down in reverse.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/core/PXEvent.h"

class PXClock;
class PXFileManager;
class PXGame;
class PXSettingsManager;
class PXSoundManager;
class PXWindowScreen2D;

// What the window needs besides the engine events an OS event was translated into.
enum class PXWindowAction {
    None,
    Repaint,  // the window was exposed: clear the frame so the next frame redraws it all
    Resized,  // the window changed size: the whole picture is shown again at its new scale
    Close,    // the window was closed or the process was asked to quit
};

class PXApplication;

// What a platform supplies to the shell. The objects it creates are owned by the shell.
class PXApplicationPlatform {
public:
    virtual ~PXApplicationPlatform() = default;

    // Construction, called in this order: game, screen, file manager (for the data folder),
    // sound, settings.
    virtual std::unique_ptr<PXGame> CreateGame() = 0;
    virtual std::unique_ptr<PXWindowScreen2D> CreateScreen(PXGame& game) = 0;
    virtual std::unique_ptr<PXFileManager> CreateFileManager() = 0;
    virtual std::unique_ptr<PXSoundManager> CreateSoundManager() = 0;
    virtual std::unique_ptr<PXSettingsManager> CreateSettingsManager() = 0;

    // Starts the game once every global is published; the OS events go to `queue` from now
    // until Stopped. Returns the process exit code: anything but 0 skips the loop.
    virtual int Start(PXEventQueue& queue) = 0;
    // After the game's Shutdown, before the objects are destroyed.
    virtual void Stopped() {}

    // The clock frames and presents are measured on; it outlives the shell's run.
    virtual PXClock& Clock() = 0;
    // Waits at most `timeoutMs` for OS events and translates every one that is waiting into
    // engine events on `queue`, handing window actions to `application`. False when the
    // operating system asked the process to end.
    virtual bool WaitForEvents(int timeoutMs, PXEventQueue& queue, PXApplication& application) = 0;

    // For the first-frame report: milliseconds since the process started (negative when
    // unknown) and the processor time it has used.
    virtual double MillisecondsSinceProcessStart() = 0;
    virtual double ProcessorMilliseconds() = 0;
};

class PXApplication {
public:
    // Frames run at most this often; the measured length of each is handed to the game.
    static constexpr double FramePeriodMs = 10.0;
    // The shortest time between two pictures shown.
    static constexpr uint32_t PresentIntervalMs = 16;

    // `platform` is not owned and must outlive Run.
    explicit PXApplication(PXApplicationPlatform& platform);
    ~PXApplication();

    PXApplication(const PXApplication&) = delete;
    PXApplication& operator=(const PXApplication&) = delete;

    // After the first frame is presented, prints "startup_ms X cpu_ms Y" to `report`, logs
    // it, and quits.
    void SetExitAfterFirstFrame(bool exit, FILE* report = stdout);
    // True when the environment asks for the first-frame report (SF_EXIT_AFTER_FIRST_FRAME=1).
    static bool ExitAfterFirstFrameRequested();
    // Writes one "input_delay_ms X" line per key press to `report` (see PXInputDelay);
    // nullptr turns the counter off. It is on, to stdout, when SF_INPUT_DELAY_LOG=1.
    void SetInputDelayReport(FILE* report) { m_inputDelayReport = report; }

    // Builds, publishes, starts and runs the game until it quits, then shuts it down and
    // destroys everything in reverse. `dataFolder` is where files are looked for first.
    int Run(const std::string& dataFolder);

    // Carries out a window action the same way on every platform.
    void HandleWindowAction(PXWindowAction action);

private:
    void ReportFirstFrame();

    PXApplicationPlatform& m_platform;
    bool m_exitAfterFirstFrame = false;
    FILE* m_report = stdout;
    FILE* m_inputDelayReport = nullptr;
    PXGame* m_game = nullptr;
    PXWindowScreen2D* m_screen = nullptr;
};
