// Frame cost of the game's scenes on the headless 640 x 480 screen: Update + Draw + Present
// of a real scene built by the game's registry from the generated data (build/game-loose,
// or the folder named by SF_GAME_DATA), reported as a ratio to a memcpy of one frame. Every
// frame is timed on its own, at the game's frame rate with its present pacing and sound on a
// device that keeps no samples: the mean, the 99th percentile and the worst frame are what a
// player's frames cost; the quietest stretch of a few frames is the cost without the machine.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/BenchTiming.h"
#include "engine/core/PXEvent.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXHighScore.h"
#include "engine/core/PXStopwatch.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntity2DScene.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXNullAudioDevice.h"
#include "game/SFAutoPlayer.h"
#include "game/SFGame.h"
#include "game/SFHighScore.h"
#include "game/SFPlayField.h"
#include "platform/posix/PXPosixFileManager.h"
#include "tests/support/EngineGlobals.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/TempDir.h"

// The play scene, where this tree has it: its rules can then be driven by the built-in player.
#if __has_include("game/SFEntityMainGameScene.h")
#include "game/SFEntityMainGameScene.h"
#define SF_BENCH_PLAY_SCENE 1
#endif

#ifndef SF_GAME_DATA_DIR
#define SF_GAME_DATA_DIR "game-loose"
#endif

namespace {

constexpr size_t FrameBytes = 640 * 480 * 2;
// The game's frame period: the main loop runs a frame every 10 ms, and shows at most one
// picture every 16 ms.
constexpr float FrameMs = 10.0f;
constexpr uint32_t PresentIntervalMs = 16;

// Game time for the benchmark's pacing: it moves one frame period a frame.
class FrameClock : public PXClock {
public:
    uint32_t Milliseconds() override { return m_ms; }
    uint64_t CounterFrequency() override { return 0; }
    uint64_t Counter() override { return 0; }
    void Step() { m_ms += static_cast<uint32_t>(FrameMs); }

private:
    uint32_t m_ms = 0;
};

// The game object, with its class registration reachable from outside.
class BenchGame : public SFGame {
public:
    using SFGame::RegisterPrototypes;
};

std::string DataFolder()
{
    const char* chosen = std::getenv("SF_GAME_DATA");
    std::string folder = chosen && *chosen ? chosen : SF_GAME_DATA_DIR;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

// The engine objects a scene needs, published as the globals, and the game's registry with
// every definition file of the data folder loaded. The settings store is in memory with its
// data folders in a temporary folder, so nothing touches the real home.
class SceneHarness {
public:
    SceneHarness() : m_sound(MakeAudio(m_audio)), m_settings(m_temp.Folder())
    {
        PXScreenDesc desc;
        desc.width = 640;
        desc.height = 480;
        desc.pixelFormat.bitsPerPixel = 16;
        m_screen.Create(&desc, "bench");
        m_fileSystem.AddManager(std::make_unique<PXPosixFileManager>(), DataFolder());
        m_sound.Init(8);
        m_sound.SetSoundEnabled(true);
        PublishEngineObjects({&m_game, &m_screen, &m_fileSystem, &m_resources, &m_sound, &m_settings, &m_registry});
        g_mouseX = 320;
        g_mouseY = 240;
        m_game.RegisterPrototypes(m_registry);
        m_registry.LoadDefinitionFiles();
        FillHighScores();
    }

    ~SceneHarness()
    {
        // Every entity goes before the types that made it.
        m_scene.reset();
        m_registry.ClearTypes();
        g_highScores.RemoveAll();
        ClearEngineGlobals();
    }

    SceneHarness(const SceneHarness&) = delete;
    SceneHarness& operator=(const SceneHarness&) = delete;

    // Defines more types from definition text, one block per form-feed-separated part;
    // false when a block did not read or the registry refused it.
    bool Define(const std::string& text)
    {
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\f', start);
            if (end == std::string::npos)
                end = text.size();
            PXDefinitionBlock block;
            if (!block.LoadFromText(text.data() + start, end - start) ||
                m_registry.DefineType(block, false) == nullptr)
                return false;
            start = end + 1;
        }
        return true;
    }

    // Replaces the current scene by a new one of the named type, loaded and shown once.
    PXEntity2DScene* Open(const std::string& className, const std::string& entityName)
    {
        m_scene.reset();
        std::unique_ptr<PXEntityBase> made = m_registry.CreateEntity(className, entityName, PXKind::Scene);
        auto* scene = dynamic_cast<PXEntity2DScene*>(made.get());
        if (scene == nullptr)
            return nullptr;
        made.release();
        m_scene.reset(scene);
        scene->GetType()->Load(false);
        Frame();
        return scene;
    }

    PXEntity2DScene* Scene() const { return m_scene.get(); }

    // Presents at most one picture per the game's interval of game time, as the game does.
    void PaceLikeTheGame() { m_screen.SetPresentPacing(&m_clock, PresentIntervalMs); }

    // Pixels of the frame that are not black.
    uint32_t LitPixels()
    {
        PXSurfaceDesc frame;
        if (!m_screen.LockScreen(&frame))
            return 0;
        uint32_t lit = 0;
        for (uint32_t y = 0; y < frame.height; ++y) {
            const auto* row = reinterpret_cast<const uint16_t*>(frame.pixels + static_cast<size_t>(y) * frame.pitch);
            for (uint32_t x = 0; x < frame.width; ++x)
                lit += row[x] != 0;
        }
        m_screen.UnlockScreen();
        return lit;
    }

    // One frame as the game runs it while no transition is on. `fullRedraw` invalidates the
    // whole frame first, as the play scene does every frame.
    void Frame(bool fullRedraw = false)
    {
        if (fullRedraw)
            m_screen.InvalidateRect({0, 640, 0, 480}, true);
        m_clock.Step();
        m_audio->Advance(FrameMs);
        m_sound.Update(FrameMs);
        m_scene->Update(FrameMs);
        m_scene->Draw();
        m_screen.Present();
    }

private:
    static std::unique_ptr<PXAudioDevice> MakeAudio(PXNullAudioDevice*& audio)
    {
        auto device = std::make_unique<PXNullAudioDevice>();
        audio = device.get();
        return device;
    }

    // A full table, so the high-score screen draws every row.
    static void FillHighScores()
    {
        g_highScores.RemoveAll();
        for (uint32_t i = 0; i < PXHighScoreTable::MaxEntries; ++i) {
            SFHighScore entry(100000 - i * 7919, 12 - i, 1 + i % 3, "Player " + std::to_string(i + 1));
            g_highScores.InsertEntry(entry, i == 3);
        }
    }

    TempDir m_temp;
    BenchGame m_game;
    PXMemoryScreen2D m_screen;
    FrameClock m_clock;
    PXFileSystem m_fileSystem;
    PXResourceCache m_resources;
    PXNullAudioDevice* m_audio = nullptr;  // owned by m_sound
    PXDeviceSoundManager m_sound;
    FakeSettingsManager m_settings;
    PXEntityRegistry m_registry;
    std::unique_ptr<PXEntity2DScene> m_scene;
};

// The rules behind a play scene, when they can be reached.
SFPlayField* FieldOf(PXEntity2DScene& scene)
{
#ifdef SF_BENCH_PLAY_SCENE
    if (auto* play = dynamic_cast<SFEntityMainGameScene*>(&scene))
        return &play->Field();
#endif
    return dynamic_cast<SFPlayField*>(&scene);
}

// Drives the play scene like a player: a key press starts the game, then the built-in
// player steers when the scene exposes its rules, else keys move and turn the pieces.
class PlayDriver {
public:
    explicit PlayDriver(PXEntity2DScene& scene) : m_scene(scene), m_field(FieldOf(scene))
    {
        Press('x');
    }

    void BeforeFrame()
    {
        ++m_frame;
        if (m_field != nullptr) {
            m_player.Act(*m_field, FrameMs);
            return;
        }
        // Without access to the rules: a side step every 150 ms, a turn every 400 ms.
        if (m_frame % 15 == 0)
            Press((m_frame / 15) % 3 == 0 ? KeyArrowRight : KeyArrowLeft);
        if (m_frame % 40 == 0)
            Press(' ');
    }

private:
    void Press(int key)
    {
        m_scene.OnKeyDown(key);
        m_scene.OnKeyUp(key);
    }

    PXEntity2DScene& m_scene;
    SFPlayField* m_field;
    SFAutoPlayer m_player;
    int64_t m_frame = 0;
};

// Frames run before timing: enough for the play scene to be well into a game.
constexpr int WarmUpFrames = 3000;
// The quietest stretch: as many frames as the game shows in a little over one picture.
constexpr size_t FramesPerChunk = 8;
// Game time of a timed run of the game's own scenes: three minutes of frames.
constexpr int64_t PlayedFrames = 3 * 60 * 1000 / static_cast<int64_t>(FrameMs);
// Frames of the plain scenes, which only need a steady figure.
constexpr int64_t PlainFrames = 2000;

void MeasureScene(benchmark::State& state, const std::string& className, const std::string& entityName,
                  const std::string& extraDefinition, bool fullRedraw = false)
{
    SceneHarness harness;
    if (!extraDefinition.empty() && !harness.Define(extraDefinition)) {
        state.SkipWithError("the inline definition was refused");
        return;
    }
    harness.PaceLikeTheGame();
    const bool play = className == "SFGameScene";
    auto open = [&](int warmUp) -> std::unique_ptr<PlayDriver> {
        PXEntity2DScene* scene = harness.Open(className, entityName);
        if (scene == nullptr || !play)
            return nullptr;
        auto driver = std::make_unique<PlayDriver>(*scene);
        for (int i = 0; i < warmUp; ++i) {
            driver->BeforeFrame();
            harness.Frame();
        }
        return driver;
    };
    std::unique_ptr<PlayDriver> driver = open(WarmUpFrames);
    if (harness.Scene() == nullptr) {
        state.SkipWithError(("no scene " + className + " \"" + entityName + "\" in " + DataFolder()).c_str());
        return;
    }
    FrameTimes frames(static_cast<size_t>(state.max_iterations));
    int64_t games = 1;
    for (auto _ : state) {
        // A lost game opens its message box: start a new one, outside the timed frames.
        if (play && harness.Scene()->GetDialogCount() > 0) {
            state.PauseTiming();
            driver = open(0);
            ++games;
            state.ResumeTiming();
            if (harness.Scene() == nullptr) {
                state.SkipWithError("the play scene could not be made again");
                break;
            }
        }
        frames.Time([&] {
            if (driver)
                driver->BeforeFrame();
            harness.Frame(fullRedraw);
        });
    }
    // A scene that shows nothing measured nothing: the data or the harness is broken. (Checked
    // at the end, as a scene may fade in.)
    if (harness.Scene() != nullptr && harness.LitPixels() == 0) {
        state.SkipWithError(("scene " + className + " \"" + entityName + "\" drew nothing").c_str());
        return;
    }
    const double memcpyNs = MemcpyReferenceNanos(FrameBytes);
    state.counters["x_memcpy"] = frames.BestRun(FramesPerChunk) / memcpyNs;
    state.counters["x_memcpy_mean"] = frames.Mean() / memcpyNs;
    state.counters["x_memcpy_p99"] = frames.Percentile(0.99) / memcpyNs;
    state.counters["x_memcpy_worst"] = frames.Worst() / memcpyNs;
    state.counters["us_mean"] = frames.Mean() / 1000.0;
    state.counters["memcpy_us"] = memcpyNs / 1000.0;
    state.counters["clock_us"] = frames.ClockNanos() / 1000.0;
    if (play)
        state.counters["games"] = static_cast<double>(games);
}

// A plain scene of the engine's own classes over the real data: a full-screen background,
// a keyed sprite and a line of text, redrawn whole every frame. It measures the harness
// itself and stays a baseline for the game's scenes.
const char* const InlineScene = R"(class = sprite
type = BenchBackground
image = "Shardfall/Images/MainMenuBG.bmp"
)"
                                "\f"
                                R"(class = sprite
type = BenchTitle
image = "Shardfall/Images/Title.bmp"
alphaimage = "Shardfall/Images/Title_Mask.bmp"
)"
                                "\f"
                                R"(class = text
type = BenchText
FontEnt = font, MenuFont
DefaultText = "Frame cost of a plain scene"
)"
                                "\f"
                                R"(class = 2DScene
type = benchscene
NumGUIElements = 3
GUIElement1Ent = sprite, BenchBackground
GUIElement1Pos = 0, 0
GUIElement2Ent = sprite, BenchTitle
GUIElement2Pos = 40, 30
GUIElement2Priority = 1
GUIElement3Ent = text, BenchText
GUIElement3Pos = 320, 400
GUIElement3Priority = 2
)";

void BM_SceneFrame_Plain(benchmark::State& state)
{
    MeasureScene(state, "2DScene", "benchscene", InlineScene, true);
}

void BM_SceneFrame_MainMenu(benchmark::State& state)
{
    MeasureScene(state, "SFMainMenuScene", "mainmenu", "");
}

void BM_SceneFrame_PlayMidGame(benchmark::State& state)
{
    MeasureScene(state, "SFGameScene", "maingame", "");
}

void BM_SceneFrame_HighScores(benchmark::State& state)
{
    MeasureScene(state, "SFHighScoreMenuScene", "highscores", "");
}

BENCHMARK(BM_SceneFrame_Plain)->Iterations(PlainFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SceneFrame_MainMenu)->Iterations(PlayedFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SceneFrame_PlayMidGame)->Iterations(PlayedFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SceneFrame_HighScores)->Iterations(PlainFrames)->Unit(benchmark::kMicrosecond);

}  // namespace
