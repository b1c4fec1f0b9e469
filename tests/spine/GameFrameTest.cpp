// The game object's frame: how input reaches the scene, activation, the full-screen mouse
// clamp, scene changes and their band transition, the music step, config.cfg and the
// settings read at start and written at shut-down.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "tests/spine/SpineFixture.h"

namespace {

constexpr uint16_t Blue = 0x001F;
constexpr uint16_t Red = 0x7C00;

class GameTest : public SpineTest {
protected:
    void SetUp() override
    {
        SpineTest::SetUp();
        Write("mainmenu.ent", "class = SFMainMenuScene\ntype = mainmenu\nFill 31\n");
        Write("other.ent", "class = TestScene\ntype = other\nFill 31744\n");
        Write("third.ent", "class = TestScene\ntype = third\n");
    }
    void TearDown() override
    {
        game.Shutdown();
        SpineTest::TearDown();
    }
    void Start()
    {
        g_game = &game;
        ASSERT_EQ(game.Initialise(), 1);
        EventLog().clear();
    }
    // One frame of `tenthsMs` tenths of a millisecond with these events after the tick.
    void Frame(std::initializer_list<PXEvent> events = {}, int32_t tenthsMs = 160)
    {
        queue.Push(EventTick, tenthsMs);
        for (const PXEvent& e : events) {
            queue.Push(e);
        }
        game.RunFrame(queue);
    }
    std::string SceneName() const
    {
        return game.GetScene() ? game.GetScene()->GetType()->GetRef().typeName : "(none)";
    }
    // The log lines that start with `prefix`.
    static std::vector<std::string> Logged(const std::string& prefix)
    {
        std::vector<std::string> out;
        for (const std::string& line : EventLog()) {
            if (line.rfind(prefix, 0) == 0) {
                out.push_back(line);
            }
        }
        return out;
    }
    static bool WasLogged(const std::string& line)
    {
        return std::find(EventLog().begin(), EventLog().end(), line) != EventLog().end();
    }

    TestGame game;
    PXEventQueue queue;
};

TEST_F(GameTest, InputReachesTheSceneAsTheWindowSentIt)
{
    Start();
    Frame({{EventMouseMove, PackMousePosition(30, 40)},
           {EventLeftDown, 0},
           {EventLeftUp, 0},
           {EventRightDown, 0},
           {EventRightUp, 0},
           {EventMiddleDown, 0},
           {EventMiddleUp, 0},
           {EventKeyDown, CharKeyCode(0xE9)},
           {EventKeyUp, KeyArrowLeft}});
    // The right press is not delivered, its release is (button 2); characters above 127
    // arrive negative.
    EXPECT_EQ(Logged("mainmenu:"),
              (std::vector<std::string>{"mainmenu:down@30,40:1", "mainmenu:up@30,40:1", "mainmenu:up@30,40:2",
                                        "mainmenu:key:-23", "mainmenu:keyup:259"}));
    EXPECT_EQ(g_leftButtonDown, 0);
    EXPECT_EQ(g_rightButtonDown, 0);
    EXPECT_FLOAT_EQ(game.GetFrameTime(), 16.0f);

    Frame({{EventRightDown, 0}});
    EXPECT_EQ(g_rightButtonDown, 1);
    EXPECT_EQ(Logged("mainmenu:").size(), 5u);
}

TEST_F(GameTest, F7TogglesFullScreenAndStillReachesTheScene)
{
    Start();
    ASSERT_TRUE(screen.IsFullScreen());  // no stored setting: full screen
    Frame({{EventKeyDown, KeyF7}});
    EXPECT_FALSE(screen.IsFullScreen());
    EXPECT_EQ(game.GetFullScreen(), 0);
    EXPECT_EQ(Logged("mainmenu:"), std::vector<std::string>{"mainmenu:key:274"});

    // The deactivation that the mode switch causes does not make the game inactive.
    EXPECT_EQ(g_modeSwitching, 1);
    const uint32_t presents = screen.GetPresentCount();
    Frame({{EventDeactivate, 0}});
    EXPECT_FALSE(game.IsInactive());
    EXPECT_EQ(screen.GetPresentCount(), presents + 1);
}

TEST_F(GameTest, AModeSwitchExcusesOnlyItsOwnFocusLoss)
{
    struct Step {
        int32_t tenthsMs;
        std::vector<PXEvent> events;
    };
    const PXEvent f7{EventKeyDown, KeyF7};
    const PXEvent away{EventDeactivate, 0};
    const PXEvent back{EventActivate, 0};
    struct Case {
        const char* what;
        std::vector<Step> steps;
        bool inactive;
    };
    const Case cases[] = {
        {"the switch's focus loss in its own frame", {{160, {f7, away}}}, false},
        {"the switch's focus loss a frame later", {{160, {f7}}, {160, {away}}}, false},
        {"a slow frame after the switch still brings its events", {{160, {f7}}, {5000, {away}}}, false},
        {"F7, F7, then the player leaves", {{160, {f7}}, {160, {f7}}, {5000, {}}, {160, {away}}}, true},
        {"the switch's focus came back, then the player leaves",
         {{160, {f7}}, {160, {away, back}}, {5000, {}}, {160, {away}}},
         true},
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const Step& step : c.steps) {
            queue.Push(EventTick, step.tenthsMs);
            for (const PXEvent& e : step.events) {
                queue.Push(e);
            }
            game.RunFrame(queue);
        }
        EXPECT_EQ(game.IsInactive(), c.inactive);
        // Back in front, with any excuse long over.
        Frame({back}, 10000);
        Frame({}, 10000);
        ASSERT_FALSE(game.IsInactive());
    }
}

TEST_F(GameTest, SettingsAreWrittenWhenTheyChange)
{
    Start();
    auto stored = [this](const char* name) {
        int32_t value = -1;
        settings.OpenGameKey();
        settings.GetInt(name, value);
        settings.CloseKey();
        return value;
    };
    Frame({{EventKeyDown, KeyF7}});
    EXPECT_EQ(stored("Full Screen"), 0);
    game.SetSwapControls(1);
    Frame();
    EXPECT_EQ(stored("Swap Controls"), 1);
    g_lastHighScoreName = "Cy";
    Frame();
    std::string name;
    settings.OpenGameKey();
    settings.GetString("LastHighScoreName", name);
    settings.CloseKey();
    EXPECT_EQ(name, "Cy");
}

TEST_F(GameTest, DeactivationStopsPresentingUntilActivated)
{
    Start();
    Frame();
    const uint32_t presents = screen.GetPresentCount();
    EventLog().clear();
    Frame({{EventDeactivate, 0}});
    EXPECT_TRUE(game.IsInactive());
    EXPECT_FALSE(screen.IsCursorHidden());
    EXPECT_TRUE(screen.IsMinimized());
    EXPECT_EQ(screen.GetPresentCount(), presents);
    // The scene keeps being updated, but not drawn.
    EXPECT_TRUE(WasLogged("scene-update:mainmenu"));
    EXPECT_FALSE(WasLogged("scene-draw:mainmenu"));

    Frame({{EventActivate, 0}});
    EXPECT_FALSE(game.IsInactive());
    EXPECT_TRUE(screen.IsCursorHidden());
    EXPECT_FALSE(screen.IsMinimized());
    EXPECT_EQ(screen.GetPresentCount(), presents + 1);
    ASSERT_EQ(screen.GetLastPresented().count, 1);
    EXPECT_EQ(screen.GetLastPresented().rects[0], (PXRect{0, 640, 0, 480}));
}

TEST_F(GameTest, FullScreenKeepsTheMouseOnTheFrame)
{
    Start();
    Frame({{EventMouseMove, PackMousePosition(-5, 700)}});
    EXPECT_EQ(g_mouseX, 0);
    EXPECT_EQ(g_mouseY, 480);  // both bounds are inclusive
    PXPoint cursor;
    screen.GetCursorPosition(&cursor);
    EXPECT_EQ(cursor.x, 0);
    EXPECT_EQ(cursor.y, 480);

    Frame({{EventKeyDown, KeyF7}, {EventMouseMove, PackMousePosition(-5, 700)}});
    EXPECT_EQ(g_mouseX, -5);
    EXPECT_EQ(g_mouseY, 700);
}

TEST_F(GameTest, LastOfSeveralChangeRequestsWins)
{
    Start();
    game.ChangeScene("TestScene", "other", 1);
    game.ChangeScene("TestScene", "third", 2);
    EXPECT_EQ(SceneName(), "mainmenu");  // nothing happens before the next frame
    Frame();
    EXPECT_EQ(SceneName(), "third");
    EXPECT_EQ(game.GetTransitionStyle(), 2);
    EXPECT_TRUE(game.IsTransitionActive());
    EXPECT_TRUE(Logged("scene-update:other").empty());
}

TEST_F(GameTest, RandomStyleIsOneOfTheFour)
{
    Start();
    for (int i = 0; i < 20; ++i) {
        game.ChangeScene("TestScene", "other", -1);
        EXPECT_GE(game.GetTransitionStyle(), 0);
        EXPECT_LE(game.GetTransitionStyle(), 3);
    }
}

TEST_F(GameTest, MouseButtonsDuringATransitionAreSwallowedKeysAreNot)
{
    Start();
    game.ChangeScene("TestScene", "other", 0);
    Frame();
    ASSERT_TRUE(game.IsTransitionActive());
    EventLog().clear();
    Frame({{EventLeftDown, 0}, {EventLeftUp, 0}, {EventRightUp, 0}, {EventKeyDown, 'a'}});
    EXPECT_EQ(Logged("other:"), std::vector<std::string>{"other:key:97"});
    EXPECT_EQ(g_leftButtonDown, 0);
    // Neither updated nor drawn while the transition runs.
    EXPECT_TRUE(Logged("scene-").empty());
}

TEST_F(GameTest, ChangeRequestedDuringUpdateSuppressesThatFramesDraw)
{
    Write("mainmenu.ent", "class = SFMainMenuScene\ntype = mainmenu\nChangeTo TestScene, other\n");
    Start();
    Frame();
    EXPECT_EQ(Logged("scene-"), std::vector<std::string>{"scene-update:mainmenu"});
    EXPECT_TRUE(game.IsSceneChangePending());
    Frame();
    EXPECT_EQ(SceneName(), "other");
}

TEST_F(GameTest, SceneThatCannotBeMadeLeavesTheOldOne)
{
    Start();
    game.ChangeScene("TestScene", "missing", 3);
    Frame();
    EXPECT_EQ(SceneName(), "mainmenu");
    EXPECT_FALSE(game.IsSceneChangePending());
    EXPECT_TRUE(game.IsTransitionActive());  // between two pictures of the old scene
}

TEST_F(GameTest, TransitionHoldsTwoFramesRollsForOneSecondThenDrawsTheScene)
{
    Start();
    Frame();
    ASSERT_EQ(screen.GetPixel(0, 300), Blue);
    game.ChangeScene("TestScene", "other", 0);
    Frame();  // the change, then the first held frame
    Frame();  // the second held frame: still at the start
    EXPECT_TRUE(game.IsTransitionActive());
    EXPECT_EQ(screen.GetPixel(0, 300), Blue);
    EXPECT_EQ(screen.GetPixel(0, 0), Red);  // the band at the top edge shows the new picture
    EXPECT_GT(sound.stops, 0);              // no music during a transition

    Frame({}, 5000);  // 500 ms: the edge is at row 240
    EXPECT_EQ(screen.GetPixel(10, 100), Red);
    EXPECT_EQ(screen.GetPixel(10, 238), Red);
    EXPECT_EQ(screen.GetPixel(10, 239), 0);  // the dark seam ahead of the band
    EXPECT_EQ(screen.GetPixel(10, 240), Red);
    EXPECT_EQ(screen.GetPixel(10, 300), Blue);

    EventLog().clear();
    Frame({}, 4999);  // 999.9 ms: still rolling
    EXPECT_TRUE(game.IsTransitionActive());
    EXPECT_TRUE(Logged("scene-").empty());
    Frame({}, 1);  // 1000 ms: over, and this frame is a normal one
    EXPECT_FALSE(game.IsTransitionActive());
    EXPECT_EQ(Logged("scene-"), (std::vector<std::string>{"scene-update:other", "scene-draw:other"}));
    EXPECT_EQ(screen.GetPixel(10, 479), Red);
}

// Frames whose pixels name their source: old pixels are the line number, new ones the line
// number + 0x4000, so every destination line shows which line of which frame it came from.
class Frames {
public:
    Frames(bool byRow)
    {
        for (uint32_t y = 0; y < H; ++y) {
            for (uint32_t x = 0; x < W; ++x) {
                const uint16_t line = static_cast<uint16_t>(byRow ? y : x);
                oldPixels[y * W + x] = line;
                newPixels[y * W + x] = static_cast<uint16_t>(0x4000 | line);
                destPixels[y * W + x] = Untouched;
            }
        }
    }
    static PXSurfaceDesc Desc(std::vector<uint16_t>& pixels)
    {
        PXSurfaceDesc d;
        d.bytesPerPixel = 2;
        d.width = W;
        d.height = H;
        d.pitch = W * 2;
        d.pixels = reinterpret_cast<uint8_t*>(pixels.data());
        return d;
    }
    void Compose(int32_t style, float progress)
    {
        SFGame::ComposeTransition(Desc(oldPixels), Desc(newPixels), Desc(destPixels), style, progress, 50);
    }
    uint16_t At(uint32_t x, uint32_t y) const { return destPixels[y * W + x]; }

    static constexpr uint32_t W = 640;
    static constexpr uint32_t H = 480;
    static constexpr uint16_t Untouched = 0x7FFF;
    std::vector<uint16_t> oldPixels = std::vector<uint16_t>(W * H);
    std::vector<uint16_t> newPixels = std::vector<uint16_t>(W * H);
    std::vector<uint16_t> destPixels = std::vector<uint16_t>(W * H);
};

constexpr uint16_t Old(int line)
{
    return static_cast<uint16_t>(line);
}
constexpr uint16_t New(int line)
{
    return static_cast<uint16_t>(0x4000 | line);
}

TEST(Transition, BandOffsetRunsFromTwiceTheBandToTheBand)
{
    EXPECT_EQ(SFGame::BandOffset(0, 50), 100);
    EXPECT_EQ(SFGame::BandOffset(25, 50), 75);
    EXPECT_EQ(SFGame::BandOffset(49, 50), 55);
}

TEST(Transition, EachStyleTakesItsLinesFromTheRightFrame)
{
    struct Case {
        int32_t style;
        float progress;
        int line;           // destination row (styles 0, 1) or column (2, 3)
        uint16_t expected;  // which source line of which frame, or untouched
    };
    const Case cases[] = {
        // Rows downward at 0.5: edge at 240, new frame above, old below the band.
        {0, 0.5f, 0, New(0)},
        {0, 0.5f, 238, New(238)},
        {0, 0.5f, 239, Frames::Untouched},
        {0, 0.5f, 240, New(340)},
        {0, 0.5f, 265, New(315)},
        {0, 0.5f, 289, New(295)},
        {0, 0.5f, 290, Old(290)},
        {0, 0.5f, 479, Old(479)},
        // Near the bottom the band's source is held on the last row.
        {0, 0.9f, 432, New(479)},
        {0, 0.9f, 479, New(479)},
        // Rows upward at 0.25: edge at 360, old frame above, new below the band.
        {1, 0.25f, 0, Old(0)},
        {1, 0.25f, 358, Old(358)},
        {1, 0.25f, 359, Frames::Untouched},
        {1, 0.25f, 360, New(460)},
        {1, 0.25f, 409, New(415)},
        {1, 0.25f, 410, New(410)},
        // Columns leftward at 0.5: edge at 320, old frame left, new right of the band.
        {2, 0.5f, 0, Old(0)},
        {2, 0.5f, 319, Old(319)},
        {2, 0.5f, 320, New(420)},
        {2, 0.5f, 369, New(375)},
        {2, 0.5f, 370, New(370)},
        {2, 0.5f, 639, New(639)},
        // Columns rightward at 0.25: edge at 160, new frame left, the band and the rest old.
        {3, 0.25f, 0, New(0)},
        {3, 0.25f, 159, New(159)},
        {3, 0.25f, 160, Old(260)},
        {3, 0.25f, 185, Old(235)},
        {3, 0.25f, 210, Old(210)},
        {3, 0.95f, 608, Old(639)},
        // Any other style rolls columns rightward.
        {7, 0.25f, 160, Old(260)},
        {-1, 0.25f, 159, New(159)},
    };
    for (const Case& c : cases) {
        const bool rows = c.style == 0 || c.style == 1;
        Frames frames(rows);
        frames.Compose(c.style, c.progress);
        // The whole line must agree, not just one pixel of it.
        for (uint32_t k = 0; k < (rows ? Frames::W : Frames::H); k += 37) {
            const uint16_t got = rows ? frames.At(k, c.line) : frames.At(c.line, k);
            ASSERT_EQ(got, c.expected)
                << "style " << c.style << " progress " << c.progress << " line " << c.line << " at " << k;
        }
    }
}

TEST(Transition, MismatchedFramesAreLeftAlone)
{
    Frames frames(true);
    PXSurfaceDesc small = Frames::Desc(frames.oldPixels);
    small.height = 100;
    SFGame::ComposeTransition(small, Frames::Desc(frames.newPixels), Frames::Desc(frames.destPixels), 0, 0.5f,
                              50);
    EXPECT_EQ(frames.At(0, 0), Frames::Untouched);
}

TEST_F(GameTest, MusicStartsOnlyInTheGameSceneAndAdvancesBeforeTheFirstStart)
{
    struct Case {
        const char* name;
        std::vector<std::string> files;
        bool gameScene;
        std::vector<uint32_t> played;  // over two frames
    };
    const Case cases[] = {
        {"one module is asked for again whenever none plays", {"song.mod"}, true, {101, 101}},
        {"the first start plays position 1", {"a.mod", "b.s3m"}, true, {102, 101}},
        {"no modules", {}, true, {}},
        {"not the game scene", {"song.mod"}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir data;
        for (const std::string& f : c.files) {
            data.Write(f, "x");
        }
        data.Write("mainmenu.ent", std::string("class = SFMainMenuScene\ntype = mainmenu\nGame ") +
                                       (c.gameScene ? "1" : "0") + "\n");
        PXFileSystem files;
        files.AddManager(MakeHostFileManager(), data.Folder());
        g_fileSystem = &files;
        MusicRecordingSoundManager music;
        g_soundManager = &music;
        {
            TestGame local;
            g_game = &local;
            local.Initialise();
            EXPECT_EQ(local.GetPlaylistCount(), c.files.size());
            for (int i = 0; i < 2; ++i) {
                queue.Push(EventTick, 160);
                local.RunFrame(queue);
            }
            EXPECT_EQ(music.played, c.played);
            EXPECT_EQ(music.updates.size(), 2u);
            local.Shutdown();
        }
        g_fileSystem = &fileSystem;
        g_soundManager = &sound;
        g_game = &game;
    }
}

// A game folder with the main menu and, unless null, this "config.cfg", published as the
// file system for as long as it lives.
struct GameFolder {
    explicit GameFolder(const char* config)
    {
        data.Write("mainmenu.ent", "class = SFMainMenuScene\ntype = mainmenu\n");
        if (config != nullptr) {
            data.Write("config.cfg", config);
        }
        files.AddManager(MakeHostFileManager(), data.Folder());
        g_fileSystem = &files;
    }

    TempDir data;
    PXFileSystem files;
};

TEST_F(GameTest, ConfigFileTunesTheGame)
{
    struct Case {
        const char* text;  // null: no file
        int32_t showFps;
        int32_t keyRepeat;
        float volume;
        bool swapped;
        bool highPriority;
    };
    const Case cases[] = {
        {nullptr, 0, 120, 1.0f, false, false},
        {"soundlevel = 0.5\n", 0, 120, 0.5f, false, false},
        {"SoundLevel 3\n", 0, 120, 1.0f, false, false},
        {"SoundLevel 0\n", 0, 120, 0.01f, false, false},
        {"#ShowFPS 1\n", 0, 120, 1.0f, false, false},
        {"ShowFPS 1\nKeyRepeatDelay 80\nSwappedStereo 1\nHighPriorityClass 1\n", 1, 80, 1.0f, true, true},
        // A repeat delay below 1 ms would never end the play scene's repeat loop.
        {"KeyRepeatDelay 0\n", 0, 120, 1.0f, false, false},
        {"KeyRepeatDelay -40\n", 0, 120, 1.0f, false, false},
        {"KeyRepeatDelay 1\n", 0, 1, 1.0f, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(no file)");
        const GameFolder folder(c.text);
        MusicRecordingSoundManager soundManager;
        g_soundManager = &soundManager;
        PXMemoryScreen2D localScreen;
        g_screen = &localScreen;
        g_showFps = 0;
        g_keyRepeatDelay = 120;
        {
            TestGame local;
            g_game = &local;
            local.Initialise();
            EXPECT_EQ(g_showFps, c.showFps);
            EXPECT_EQ(g_keyRepeatDelay, c.keyRepeat);
            EXPECT_FLOAT_EQ(soundManager.GetVolume(), c.volume);
            EXPECT_EQ(soundManager.IsStereoSwapped() != 0, c.swapped);
            EXPECT_EQ(localScreen.IsHighPriority(), c.highPriority);
            local.Shutdown();
        }
        g_fileSystem = &fileSystem;
        g_soundManager = &sound;
        g_screen = &screen;
        g_game = &game;
    }
}

size_t Occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(GameTest, ScalingComesFromTheTuningFileOverTheStoredChoiceAndIsKept)
{
    struct Case {
        const char* stored;
        const char* config;  // null: no file
        PXScaleMode mode;
        bool logged;
    };
    const Case cases[] = {
        {"", nullptr, PXScaleMode::Sharp, false},
        {"smooth", nullptr, PXScaleMode::Smooth, false},
        {"smooth", "Scaling = pixel\n", PXScaleMode::Pixel, false},
        {"", "scaling SMOOTH\n", PXScaleMode::Smooth, false},
        {"pixel", "# Scaling = smooth\n", PXScaleMode::Pixel, false},
        // An unknown word keeps what was there, and says so in the log.
        {"pixel", "Scaling = blurry\n", PXScaleMode::Pixel, true},
        {"blurry", nullptr, PXScaleMode::Sharp, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " / " + (c.config ? c.config : "(no file)"));
        const GameFolder folder(c.config);
        PXMemoryScreen2D localScreen;
        g_screen = &localScreen;
        settings.OpenGameKey();
        settings.SetString("Scaling", c.stored);
        settings.CloseKey();
        const size_t logged = Occurrences(dir.Read("log.txt"), "config.cfg: Scaling");
        {
            TestGame local;
            g_game = &local;
            local.Initialise();
            EXPECT_EQ(localScreen.GetScaleMode(), c.mode);
            local.Shutdown();
        }
        std::string kept;
        settings.OpenGameKey();
        settings.GetString("Scaling", kept);
        settings.CloseKey();
        EXPECT_EQ(kept, PXScaleModeName(c.mode));
        EXPECT_EQ(Occurrences(dir.Read("log.txt"), "config.cfg: Scaling") - logged, c.logged ? 1u : 0u);
        g_fileSystem = &fileSystem;
        g_screen = &screen;
        g_game = &game;
    }
}

TEST_F(GameTest, SettingsAreReadAtStartAndWrittenAtShutdown)
{
    settings.OpenGameKey();
    settings.SetInt("Full Screen", 0);
    settings.SetInt("Swap Controls", 1);
    settings.SetString("LastHighScoreName", "Ann");
    settings.CloseKey();
    Start();
    EXPECT_TRUE(screen.IsCreated());
    EXPECT_FALSE(screen.IsFullScreen());
    EXPECT_EQ(screen.GetWidth(), 640);
    EXPECT_EQ(screen.GetHeight(), 480);
    EXPECT_EQ(screen.GetPixelFormat().bitsPerPixel, 16u);
    EXPECT_EQ(screen.GetTitle(), "Shardfall");
    EXPECT_TRUE(screen.IsCursorHidden());
    EXPECT_EQ(game.GetSwapControls(), 1);
    EXPECT_EQ(g_lastHighScoreName, "Ann");
    EXPECT_EQ(SceneName(), "mainmenu");
    EXPECT_NE(g_entityRegistry, nullptr);

    Frame({{EventKeyDown, KeyF7}});
    g_lastHighScoreName = "Bea";
    game.Shutdown();
    int32_t fullScreen = -1;
    std::string name;
    settings.OpenGameKey();
    settings.GetInt("Full Screen", fullScreen);
    settings.GetString("LastHighScoreName", name);
    settings.CloseKey();
    EXPECT_EQ(fullScreen, 1);
    EXPECT_EQ(name, "Bea");
    EXPECT_FALSE(screen.IsCursorHidden());
    EXPECT_EQ(game.GetScene(), nullptr);
    EXPECT_EQ(g_entityRegistry, nullptr);
}

}  // namespace
