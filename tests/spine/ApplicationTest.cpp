// The application shell against a scripted platform: what it builds and publishes in which
// order, how its loop measures frames and waits, what window actions do, and the report of
// the first frame.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXApplication.h"
#include "engine/core/PXGlobals.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "tests/spine/SpineFixture.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/HostFileManager.h"
#include "tests/support/TempDir.h"

namespace {

// "name:published globals" lines: which of game, screen, files, resources, sound, settings
// were published (1) or cleared (0) when each object was made, started or destroyed.
std::vector<std::string>& Steps()
{
    static std::vector<std::string> steps;
    return steps;
}

std::string Published()
{
    std::string flags;
    for (const void* global : {static_cast<const void*>(g_game), static_cast<const void*>(g_screen),
                               static_cast<const void*>(g_fileSystem), static_cast<const void*>(g_resources),
                               static_cast<const void*>(g_soundManager), static_cast<const void*>(g_settings)}) {
        flags += global != nullptr ? '1' : '0';
    }
    return flags;
}

void Step(const std::string& name)
{
    Steps().push_back(name + ":" + Published());
}

// A clock that stands still until the platform's waits move it.
class ScriptClock : public PXClock {
public:
    uint32_t Milliseconds() override { return now; }
    uint64_t CounterFrequency() override { return 0; }
    uint64_t Counter() override { return 0; }
    uint32_t now = 1000;
};

// What the game saw, kept past the game's destruction at the end of the run.
struct GameRecord {
    std::vector<int32_t> ticks;  // every tick the frames popped
    int frames = 0;
    bool quitAtEnd = false;
};

// Records the ticks each frame pops and whether it was asked to quit.
class TickGame : public PXGame {
public:
    explicit TickGame(GameRecord& record) : m_record(record) {}
    ~TickGame() override
    {
        m_record.quitAtEnd = IsQuitRequested();
        Step("~game");
    }
    int Initialise() override { return 1; }
    void RunFrame(PXEventQueue& queue) override
    {
        PXEvent event;
        while (queue.Pop(event)) {
            if (event.type == EventTick) {
                m_record.ticks.push_back(event.value);
            }
        }
        ++m_record.frames;
    }
    void Shutdown() override
    {
        Step("shutdown");
        PXGame::Shutdown();
    }
    void ChangeScene(const std::string&, const std::string&, int) override {}

private:
    GameRecord& m_record;
};

class CountingScreen : public PXMemoryScreen2D {
public:
    explicit CountingScreen(PXGame* owner) : PXMemoryScreen2D(owner) {}
    ~CountingScreen() override { Step("~screen"); }
    uint32_t Clear() override
    {
        ++clears;
        return PXMemoryScreen2D::Clear();
    }
    uint32_t Destroy() override
    {
        ++destroys;
        return PXMemoryScreen2D::Destroy();
    }
    int clears = 0;
    int destroys = 0;
};

class StepSoundManager : public MusicRecordingSoundManager {
public:
    ~StepSoundManager() override { Step("~sound"); }
};

// Its data folders lie in a temporary folder the test removes.
class StepSettingsManager : public FakeSettingsManager {
public:
    explicit StepSettingsManager(const std::string& folder) : FakeSettingsManager(folder) {}
    ~StepSettingsManager() override { Step("~settings"); }
};

// One wait of the loop: how long it lasts on the clock, the window action it delivers, and
// whether the operating system then asks the process to end.
struct Wait {
    uint32_t lastsMs;
    PXWindowAction action;
    bool processEnds;
};

class ScriptPlatform : public PXApplicationPlatform {
public:
    std::unique_ptr<PXGame> CreateGame() override
    {
        Step("game");
        auto made = std::make_unique<TickGame>(record);
        game = made.get();
        return made;
    }
    std::unique_ptr<PXWindowScreen2D> CreateScreen(PXGame& owner) override
    {
        Step("screen");
        auto made = std::make_unique<CountingScreen>(&owner);
        screen = made.get();
        return made;
    }
    std::unique_ptr<PXFileManager> CreateFileManager() override
    {
        Step("files");
        return MakeHostFileManager();
    }
    std::unique_ptr<PXSoundManager> CreateSoundManager() override
    {
        Step("sound");
        return std::make_unique<StepSoundManager>();
    }
    std::unique_ptr<PXSettingsManager> CreateSettingsManager() override
    {
        Step("settings");
        return std::make_unique<StepSettingsManager>(folder.Folder());
    }
    int Start(PXEventQueue&) override
    {
        Step("start");
        return startCode;
    }
    void Stopped() override { Step("stopped"); }
    PXClock& Clock() override { return clock; }
    bool WaitForEvents(int timeoutMs, PXEventQueue&, PXApplication& application) override
    {
        timeouts.push_back(timeoutMs);
        if (next >= waits.size()) {
            // The script ran out: the window is closed.
            application.HandleWindowAction(PXWindowAction::Close);
            return true;
        }
        const Wait& wait = waits[next++];
        clock.now += wait.lastsMs;
        application.HandleWindowAction(wait.action);
        clearsAfterWait = screen->clears;
        destroysAfterWait = screen->destroys;
        quitAfterWait = game->IsQuitRequested();
        return !wait.processEnds;
    }
    double MillisecondsSinceProcessStart() override { return 123.4; }
    double ProcessorMilliseconds() override { return 67.8; }

    TempDir folder;
    ScriptClock clock;
    std::vector<Wait> waits;
    size_t next = 0;
    std::vector<int> timeouts;
    int startCode = 0;
    int clearsAfterWait = -1;
    int destroysAfterWait = -1;
    bool quitAfterWait = false;
    GameRecord record;
    // Valid only while the shell runs.
    TickGame* game = nullptr;
    CountingScreen* screen = nullptr;
};

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override { Steps().clear(); }

    int Run(bool exitAfterFirstFrame = false, FILE* report = stdout)
    {
        PXApplication application(platform);
        application.SetExitAfterFirstFrame(exitAfterFirstFrame, report);
        return application.Run(".");
    }

    ScriptPlatform platform;
};

TEST_F(ApplicationTest, BuildsAndPublishesInOrderThenDestroysInReverse)
{
    ASSERT_EQ(Run(), 0);
    const std::vector<std::string> expected = {
        "game:000000",      "screen:000000",    "sound:000000",   "settings:000000",
        "files:110100",     "start:111111",     "shutdown:111111", "stopped:111111",
        "~settings:111110", "~sound:111100",    "~screen:100000", "~game:000000",
    };
    EXPECT_EQ(Steps(), expected);
}

TEST_F(ApplicationTest, FailedStartSkipsTheLoopAndTheShutdown)
{
    platform.startCode = 3;
    EXPECT_EQ(Run(), 3);
    EXPECT_TRUE(platform.timeouts.empty());
    const std::vector<std::string> expected = {
        "game:000000",      "screen:000000", "sound:000000",  "settings:000000", "files:110100", "start:111111",
        "stopped:111111",   "~settings:111110", "~sound:111100", "~screen:100000", "~game:000000",
    };
    EXPECT_EQ(Steps(), expected);
}

TEST_F(ApplicationTest, FramesCarryTheirMeasuredLengthAndWaitsEndAtTheDeadline)
{
    // The first frame at once; 4 ms, then 7 more: the second is due after 11 ms; then 10 ms
    // at once, then 3 + 12.
    platform.waits = {{4, PXWindowAction::None, false},
                      {7, PXWindowAction::None, false},
                      {10, PXWindowAction::None, false},
                      {3, PXWindowAction::None, false},
                      {12, PXWindowAction::None, true}};
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(platform.timeouts, (std::vector<int>{10, 6, 10, 10, 7}));
    // The start's zero tick comes with the first frame; the last wait ended the process.
    EXPECT_EQ(platform.record.ticks, (std::vector<int32_t>{0, 110, 100}));
    EXPECT_EQ(platform.record.frames, 3);
}

TEST_F(ApplicationTest, WindowActionsAreCarriedOutAlike)
{
    struct Case {
        PXWindowAction action;
        int clears;
        int destroys;
        bool quits;
    };
    const Case cases[] = {
        {PXWindowAction::None, 0, 0, false},
        {PXWindowAction::Repaint, 1, 0, false},
        {PXWindowAction::Resized, 1, 0, false},
        {PXWindowAction::Close, 0, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.action));
        ScriptPlatform script;
        // The action, then the operating system ends the process so nothing else happens.
        script.waits = {{1, c.action, true}};
        PXApplication application(script);
        ASSERT_EQ(application.Run("."), 0);
        EXPECT_EQ(script.clearsAfterWait, c.clears);
        EXPECT_EQ(script.destroysAfterWait, c.destroys);
        EXPECT_EQ(script.quitAfterWait, c.quits);
        // Only the first frame, which runs before any wait.
        EXPECT_EQ(script.record.frames, 1);
    }
}

TEST_F(ApplicationTest, CloseEndsTheLoopAfterTheFrameInProgress)
{
    platform.waits = {{10, PXWindowAction::None, false}, {2, PXWindowAction::Close, false}};
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(platform.timeouts.size(), 2u);
    EXPECT_EQ(platform.record.frames, 2);
}

TEST_F(ApplicationTest, FirstFrameIsReportedOnceThenTheGameQuits)
{
    platform.waits = {{10, PXWindowAction::None, false}, {10, PXWindowAction::None, false}};
    FILE* report = std::tmpfile();
    ASSERT_NE(report, nullptr);
    ASSERT_EQ(Run(true, report), 0);
    std::rewind(report);
    char text[128] = {};
    const size_t length = std::fread(text, 1, sizeof text - 1, report);
    std::fclose(report);
    EXPECT_EQ(std::string(text, length), "startup_ms 123.4 cpu_ms 67.8\n");
    // No wait before the reported frame, none after it: the game quit at once.
    EXPECT_EQ(platform.record.frames, 1);
    EXPECT_EQ(platform.timeouts.size(), 0u);
    EXPECT_TRUE(platform.record.quitAtEnd);
}

TEST_F(ApplicationTest, WithoutTheReportTheGameRunsOn)
{
    platform.waits = {{10, PXWindowAction::None, false}, {10, PXWindowAction::None, false}};
    FILE* report = std::tmpfile();
    ASSERT_NE(report, nullptr);
    ASSERT_EQ(Run(false, report), 0);
    EXPECT_EQ(std::ftell(report), 0L);
    std::fclose(report);
    EXPECT_EQ(platform.record.frames, 3);
}

}  // namespace
