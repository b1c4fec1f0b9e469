#include "engine/core/PXApplication.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/core/PXGame.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXInputDelay.h"
#include "engine/core/PXLog.h"
#include "engine/core/PXStopwatch.h"
#include "engine/files/PXFileManager.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXWindowScreen2D.h"
#include "engine/settings/PXSettingsManager.h"
#include "engine/sound/PXSoundManager.h"

PXApplication::PXApplication(PXApplicationPlatform& platform)
    : m_platform(platform), m_inputDelayReport(PXInputDelay::Requested() ? stdout : nullptr)
{
}

PXApplication::~PXApplication() = default;

void PXApplication::SetExitAfterFirstFrame(bool exit, FILE* report)
{
    m_exitAfterFirstFrame = exit;
    m_report = report;
}

bool PXApplication::ExitAfterFirstFrameRequested()
{
    const char* value = std::getenv("SF_EXIT_AFTER_FIRST_FRAME");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

void PXApplication::HandleWindowAction(PXWindowAction action)
{
    if (m_game == nullptr || m_screen == nullptr) {
        return;
    }
    switch (action) {
    case PXWindowAction::Repaint:
    case PXWindowAction::Resized:
        m_screen->Clear();
        break;
    case PXWindowAction::Close:
        m_game->RequestQuit();
        m_screen->Destroy();
        break;
    case PXWindowAction::None:
        break;
    }
}

void PXApplication::ReportFirstFrame()
{
    const double startUpMs = m_platform.MillisecondsSinceProcessStart();
    // The processor time spent so far, which a busy machine does not inflate.
    const double cpuMs = m_platform.ProcessorMilliseconds();
    LogF("First frame presented %.1f ms after process start (%.1f ms of processor time)", startUpMs, cpuMs);
    std::fprintf(m_report, "startup_ms %.1f cpu_ms %.1f\n", startUpMs, cpuMs);
    std::fflush(m_report);
}

int PXApplication::Run(const std::string& dataFolder)
{
    PXClock& clock = m_platform.Clock();
    // Construction order: game, screen, file system, resource cache, sound, settings.
    std::unique_ptr<PXGame> game = m_platform.CreateGame();
    std::unique_ptr<PXWindowScreen2D> screen = m_platform.CreateScreen(*game);
    auto fileSystem = std::make_unique<PXFileSystem>();
    auto resources = std::make_unique<PXResourceCache>();
    std::unique_ptr<PXSoundManager> sound = m_platform.CreateSoundManager();
    std::unique_ptr<PXSettingsManager> settings = m_platform.CreateSettingsManager();
    PXStopwatch stopwatch(clock);
    PXEventQueue queue;

    g_game = game.get();
    g_resources = resources.get();
    g_screen = screen.get();
    // The data folder is the first place files are looked for, wherever the program was
    // started from.
    fileSystem->AddManager(m_platform.CreateFileManager(), dataFolder);
    g_fileSystem = fileSystem.get();
    g_soundManager = sound.get();
    g_settings = settings.get();
    m_game = game.get();
    m_screen = screen.get();
    // Frames run every 10 ms; a display shows about 60 pictures a second, and without vsync
    // each picture costs a whole scaled copy of the frame.
    screen->SetPresentPacing(&clock, PresentIntervalMs);

    const int code = m_platform.Start(queue);

    stopwatch.Reset();
    queue.Push(EventTick, 0);
    bool exitAfterFirstFrame = m_exitAfterFirstFrame;
    std::unique_ptr<PXInputDelay> inputDelay;
    if (m_inputDelayReport != nullptr) {
        inputDelay = std::make_unique<PXInputDelay>(m_inputDelayReport);
    }

    // The first frame runs at once, with the start's zero tick: the window shows nothing
    // until it is presented.
    bool firstFrame = true;
    while (code == 0 && !game->IsQuitRequested()) {
        double ms = stopwatch.ElapsedSeconds() * 1000.0;
        if (firstFrame || ms >= FramePeriodMs) {
            stopwatch.Reset();
            if (!firstFrame) {
                queue.Push(EventTick, static_cast<int32_t>(ms * 10.0));
            }
            firstFrame = false;
            const uint32_t picturesBefore = screen->GetPicturesShown();
            if (inputDelay) {
                inputDelay->FrameStarted();
            }
            game->RunFrame(queue);
            if (inputDelay) {
                inputDelay->FrameEnded(PXInputDelay::NowMs(clock), screen->GetPicturesShown() != picturesBefore);
            }
            ms = 0.0;
            if (exitAfterFirstFrame) {
                // The frame has been presented.
                exitAfterFirstFrame = false;
                ReportFirstFrame();
                game->RequestQuit();
            }
            if (game->IsQuitRequested()) {
                break;
            }
        }
        // Sleep until an event arrives or the next frame is due, instead of spinning.
        const int waitMs = std::max(1, static_cast<int>(std::ceil(FramePeriodMs - ms)));
        const size_t queued = queue.Size();
        if (!m_platform.WaitForEvents(waitMs, queue, *this)) {
            game->RequestQuit();
        }
        if (inputDelay) {
            const double now = PXInputDelay::NowMs(clock);
            for (size_t i = queued; i < queue.Size(); ++i) {
                if (queue.At(i).type == EventKeyDown) {
                    inputDelay->KeyPressed(now);
                }
            }
        }
    }

    if (code == 0) {
        game->Shutdown();
    }
    m_platform.Stopped();
    queue.Clear();
    m_game = nullptr;
    m_screen = nullptr;

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
