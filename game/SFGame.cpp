// The game object's frame, scene changes, band transition, start-up and shut-down.
#include "game/SFGame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <system_error>
#include <thread>

#include "engine/core/PXGlobals.h"
#include "engine/core/PXLog.h"
#include "engine/core/PXRandom.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntity2DScene.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/files/PXArchiveManager.h"
#include "engine/files/PXFile.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXBitmap.h"
#include "engine/graphics/PXScreen2D.h"
#include "engine/gui/PXDialogClasses.h"
#include "engine/gui/PXEntity2DGUISprite.h"
#include "engine/gui/PXGuiClasses.h"
#include "engine/settings/PXSettingsManager.h"
#include "engine/sound/PXSoundManager.h"
#include "game/SFEntityHighScoreMenuScene.h"
#include "game/SFEntityInstrMenuScene.h"
#include "game/SFEntityMainGameSceneType.h"
#include "game/SFEntityMainMenuScene.h"
#include "game/SFEntityOptionsMenuScene.h"
#include "game/SFHighScore.h"

namespace {

constexpr const char* GameTitle = "Shardfall";
constexpr const char* ConfigFileName = "config.cfg";
constexpr const char* SongFileName = "shardfall/sounds/SFSong.wav";
constexpr const char* IconFileName = "Shardfall/Images/Icon.bmp";
// The scene the game opens on.
constexpr const char* FirstSceneClass = "SFMainMenuScene";
constexpr const char* FirstSceneType = "mainmenu";
constexpr uint32_t SongId = 1;
constexpr double Pi = 3.14159265358979323846;
constexpr int32_t KeyToggleFullScreen = KeyF7;

}  // namespace

SFGame::SFGame() = default;

SFGame::~SFGame()
{
    // Normally Shutdown has released all of this; a game torn down without it still
    // deletes its scene before the registry that owns the scene's type.
    m_scene.reset();
    if (m_registry != nullptr) {
        g_toolTipHostFinder = nullptr;
        if (g_entityRegistry == m_registry.get()) {
            g_entityRegistry = nullptr;
        }
        m_registry->ClearTypes();
        m_registry.reset();
    }
}

void SFGame::ChangeScene(const std::string& className, const std::string& entityName, int style)
{
    m_pendingClass = className;
    m_pendingName = entityName;
    m_sceneChangePending = true;
    m_transitionStyle = style == -1 ? RandomInt(4) : style;
}

void SFGame::RunFrame(PXEventQueue& queue)
{
    PXEvent event;
    while (queue.Pop(event)) {
        HandleEvent(event);
    }
    ExpireModeSwitch();
    // The song is the biggest file the menu needs and starts with a long fade-in: it is
    // loaded after the first picture, and starts then if the scene has asked for it.
    if (!m_songAdded && m_framesRun > 0) {
        m_songAdded = true;
        AddSong(SongFileName, SongId);
    }
    if (g_screen != nullptr && g_screen->IsFullScreen() && !m_inactive) {
        ClampMouse();
    }
    MusicStep();
    if (g_soundManager != nullptr) {
        g_soundManager->Update(m_frameTime);
    }
    if (m_sceneChangePending) {
        PerformSceneChange();
    }
    const bool transitionDrawn = m_transitionActive && TransitionFrame();
    if (m_scene != nullptr && !transitionDrawn) {
        m_scene->Update(m_frameTime);
        if (!m_inactive && !m_sceneChangePending) {
            m_scene->Draw();
        }
    }
    SaveSettings(false);
    if (!m_inactive && g_screen != nullptr) {
        g_screen->Present();
    }
    ++m_framesRun;
}

void SFGame::HandleEvent(const PXEvent& event)
{
    PXPoint mouse{g_mouseX, g_mouseY};
    switch (event.type) {
    case EventTick:
        m_frameTime = static_cast<float>(event.value) * 0.1f;
        break;
    case EventMouseMove:
        g_mouseX = MouseX(event.value);
        g_mouseY = MouseY(event.value);
        break;
    case EventLeftDown:
        g_leftButtonDown = 1;
        if (!m_transitionActive && m_scene != nullptr) {
            m_scene->OnMouseDown(&mouse, 1);
        }
        break;
    case EventLeftUp:
        g_leftButtonDown = 0;
        if (!m_transitionActive && m_scene != nullptr) {
            m_scene->OnMouseUp(&mouse, 1);
        }
        break;
    case EventRightDown:
        // The scene hears only the release of the right button.
        g_rightButtonDown = 1;
        break;
    case EventRightUp:
        g_rightButtonDown = 0;
        if (!m_transitionActive && m_scene != nullptr) {
            m_scene->OnMouseUp(&mouse, 2);
        }
        break;
    case EventKeyDown:
        if (event.value == KeyToggleFullScreen) {
            ToggleFullScreen();
        }
        if (m_scene != nullptr) {
            m_scene->OnKeyDown(event.value);
        }
        break;
    case EventKeyUp:
        if (m_scene != nullptr) {
            m_scene->OnKeyUp(event.value);
        }
        break;
    case EventPadDown:
        if (m_scene != nullptr) {
            m_scene->OnPadDown(event.value);
        }
        break;
    case EventPadUp:
        if (m_scene != nullptr) {
            m_scene->OnPadUp(event.value);
        }
        break;
    case EventPadRemoved:
        if (m_scene != nullptr) {
            m_scene->OnPadRemoved(event.value != 0);
        }
        break;
    case EventDeactivate:
        // Releases made while another window has the focus never arrive, so nothing may
        // stay held; this holds also for the focus loss a mode switch causes.
        g_leftButtonDown = 0;
        g_rightButtonDown = 0;
        if (m_scene != nullptr) {
            m_scene->OnDeactivate();
        }
        if (!m_inactive && !g_modeSwitching) {
            m_inactive = true;
            if (g_screen != nullptr) {
                g_screen->SetCursorVisible(true);
                g_screen->Minimize(true);
            }
        }
        break;
    case EventActivate:
        if (m_inactive) {
            m_inactive = false;
            g_modeSwitching = 0;
            m_modeSwitchFrames = 0;
            m_modeSwitchMs = 0.0f;
            if (g_screen != nullptr) {
                g_screen->SetCursorVisible(false);
                g_screen->Minimize(false);
                g_screen->ClearDirtyList();
                g_screen->InvalidateRect({0, 640, 0, 480}, true);
            }
        }
        break;
    default:
        // Middle button and unknown events are not used.
        break;
    }
}

void SFGame::ToggleFullScreen()
{
    if (g_screen == nullptr) {
        return;
    }
    g_screen->ToggleFullScreen();
    m_fullScreen = ScreenFullScreen();
    // The mode change may deactivate the window for a moment; that is not the player leaving.
    g_modeSwitching = 1;
    m_modeSwitchFrames = 0;
    m_modeSwitchMs = 0.0f;
}

void SFGame::ExpireModeSwitch()
{
    if (g_modeSwitching == 0) {
        m_modeSwitchFrames = 0;
        m_modeSwitchMs = 0.0f;
        return;
    }
    // The switch's own focus events arrive with the frames that follow it, some of them
    // only once the window manager has answered; the frame that switched does not count.
    if (m_modeSwitchFrames++ > 0) {
        m_modeSwitchMs += m_frameTime;
    }
    if (m_modeSwitchFrames > 1 && m_modeSwitchMs >= ModeSwitchGraceMs) {
        g_modeSwitching = 0;
        m_modeSwitchFrames = 0;
        m_modeSwitchMs = 0.0f;
    }
}

int32_t SFGame::ScreenFullScreen() const
{
    if (g_screen == nullptr) {
        return m_fullScreen;
    }
    return g_screen->IsFullScreen() ? 1 : 0;
}

void SFGame::ClampMouse()
{
    const int32_t x = std::clamp(g_mouseX, 0, g_screen->GetWidth());
    const int32_t y = std::clamp(g_mouseY, 0, g_screen->GetHeight());
    if (x != g_mouseX || y != g_mouseY) {
        g_mouseX = x;
        g_mouseY = y;
        g_screen->SetCursorPosition({x, y});
    }
}

void SFGame::MusicStep()
{
    if (g_soundManager == nullptr) {
        return;
    }
    if (m_transitionActive || m_inactive) {
        g_soundManager->StopMusic();
        return;
    }
    if (!g_soundManager->IsMusicPlaying() && !m_playlist.empty() && m_scene != nullptr &&
        m_scene->GetType() != nullptr && m_scene->GetType()->IsA(PXKind::GameScene)) {
        // Advanced before the first start too, as the playlist has always done.
        m_playlistIndex = (m_playlistIndex + 1) % static_cast<uint32_t>(m_playlist.size());
        g_soundManager->PlayMusic(m_playlist[m_playlistIndex]);
    }
}

bool SFGame::TakeSnapshot(Snapshot& out)
{
    PXSurfaceDesc desc;
    if (g_screen == nullptr || !g_screen->LockScreen(&desc)) {
        return false;
    }
    const size_t size = static_cast<size_t>(desc.height) * desc.pitch;
    out.pixels.assign(desc.pixels, desc.pixels + size);
    out.desc = desc;
    out.desc.pixels = out.pixels.data();
    g_screen->UnlockScreen();
    return true;
}

void SFGame::EndTransition()
{
    m_oldFrame = Snapshot();
    m_newFrame = Snapshot();
    m_transitionActive = false;
}

void SFGame::PerformSceneChange()
{
    if (m_transitionActive) {
        EndTransition();
    }
    if (!TakeSnapshot(m_oldFrame)) {
        // Without the old picture there is nothing to roll from: the request is dropped.
        m_sceneChangePending = false;
        return;
    }
    g_screen->Clear();

    std::unique_ptr<PXEntityBase> created;
    if (g_entityRegistry != nullptr) {
        created = g_entityRegistry->CreateEntity(m_pendingClass, m_pendingName, PXKind::Scene);
    }
    auto* newScene = dynamic_cast<PXEntity2DScene*>(created.get());
    if (newScene != nullptr) {
        created.release();
        std::unique_ptr<PXEntity2DScene> next(newScene);
        next->GetType()->Load(false);
        if (m_scene != nullptr) {
            m_scene->GetType()->Unload();
        }
        m_scene = std::move(next);
    }
    if (m_scene != nullptr) {
        m_scene->Update(0.0f);
        m_scene->Draw();
    }
    if (TakeSnapshot(m_newFrame)) {
        m_transitionActive = true;
        m_bandSize = TransitionBand;
        m_transitionLength = TransitionLengthMs;
        m_transitionElapsed = 0.0f;
        m_holdFrames = TransitionHoldFrames;
    } else {
        m_oldFrame = Snapshot();
    }
    m_sceneChangePending = false;
}

bool SFGame::TransitionFrame()
{
    g_screen->Clear();
    if (m_holdFrames > 0) {
        --m_holdFrames;
    } else {
        m_transitionElapsed += m_frameTime;
    }
    if (m_transitionElapsed >= m_transitionLength) {
        EndTransition();
        return false;
    }
    PXSurfaceDesc dest;
    if (!g_screen->LockScreen(&dest)) {
        return false;
    }
    ComposeTransition(m_oldFrame.desc, m_newFrame.desc, dest, m_transitionStyle,
                      m_transitionElapsed / m_transitionLength, m_bandSize);
    g_screen->UnlockScreen();
    return true;
}

int32_t SFGame::BandOffset(int32_t i, int32_t band)
{
    if (band <= 0) {
        return 0;
    }
    const double a = std::acos(1.0 - 2.0 * static_cast<double>(i) / static_cast<double>(band));
    return 2 * band - static_cast<int32_t>(a / Pi * static_cast<double>(band));
}

void SFGame::ComposeTransition(const PXSurfaceDesc& oldFrame, const PXSurfaceDesc& newFrame,
                               const PXSurfaceDesc& dest, int32_t style, float progress, int32_t band)
{
    // All three must be 16-bit pictures of one size; anything else is left alone.
    if (dest.pixels == nullptr || oldFrame.pixels == nullptr || newFrame.pixels == nullptr ||
        dest.bytesPerPixel != 2 || oldFrame.width != dest.width || newFrame.width != dest.width ||
        oldFrame.height != dest.height || newFrame.height != dest.height) {
        return;
    }
    const int32_t W = static_cast<int32_t>(dest.width);
    const int32_t H = static_cast<int32_t>(dest.height);
    const float p = std::clamp(progress, 0.0f, 1.0f);
    auto rowOf = [](const PXSurfaceDesc& s, int32_t y) {
        return s.pixels + static_cast<size_t>(y) * s.pitch;
    };
    auto copyRow = [&](int32_t to, const PXSurfaceDesc& from, int32_t src) {
        std::memcpy(rowOf(dest, to), rowOf(from, src), static_cast<size_t>(W) * 2);
    };
    auto copyColumn = [&](int32_t to, const PXSurfaceDesc& from, int32_t src) {
        for (int32_t y = 0; y < H; ++y) {
            std::memcpy(rowOf(dest, y) + static_cast<size_t>(to) * 2,
                        rowOf(from, y) + static_cast<size_t>(src) * 2, 2);
        }
    };
    auto copyColumns = [&](int32_t from, int32_t to, const PXSurfaceDesc& src) {
        if (to <= from) {
            return;
        }
        for (int32_t y = 0; y < H; ++y) {
            std::memcpy(rowOf(dest, y) + static_cast<size_t>(from) * 2,
                        rowOf(src, y) + static_cast<size_t>(from) * 2, static_cast<size_t>(to - from) * 2);
        }
    };

    if (style == 0 || style == 1) {
        const int32_t e = style == 0 ? static_cast<int32_t>(p * static_cast<float>(H))
                                     : H - static_cast<int32_t>(p * static_cast<float>(H));
        const PXSurfaceDesc& before = style == 0 ? newFrame : oldFrame;
        const PXSurfaceDesc& after = style == 0 ? oldFrame : newFrame;
        // Row e - 1 is left as it is: a dark seam ahead of the band.
        for (int32_t y = 0; y <= e - 2 && y < H; ++y) {
            copyRow(y, before, y);
        }
        const int32_t bandEnd = std::min(e + band, H);
        for (int32_t y = std::max(e, 0); y < bandEnd; ++y) {
            copyRow(y, newFrame, std::min(H - 1, e + BandOffset(y - e, band)));
        }
        for (int32_t y = std::max(bandEnd, 0); y < H; ++y) {
            copyRow(y, after, y);
        }
        return;
    }
    const int32_t e = style == 2 ? W - static_cast<int32_t>(p * static_cast<float>(W))
                                 : static_cast<int32_t>(p * static_cast<float>(W));
    const PXSurfaceDesc& before = style == 2 ? oldFrame : newFrame;
    const PXSurfaceDesc& bandSource = style == 2 ? newFrame : oldFrame;
    const PXSurfaceDesc& after = style == 2 ? newFrame : oldFrame;
    copyColumns(0, std::min(e, W), before);
    const int32_t bandEnd = std::min(e + band, W);
    for (int32_t x = std::max(e, 0); x < bandEnd; ++x) {
        copyColumn(x, bandSource, std::min(W - 1, e + BandOffset(x - e, band)));
    }
    copyColumns(std::max(bandEnd, 0), W, after);
}

// The game's stored settings, read in this order at start and written in it. A key that is
// missing or unreadable leaves its value as it was: its initial value is its default.
std::array<SFGame::StoredSetting, 4> SFGame::StoredSettings()
{
    using Type = StoredSetting::Type;
    return {{
        {"LastHighScoreName", Type::Text, &g_lastHighScoreName, nullptr, &m_savedName, nullptr},
        {"Full Screen", Type::Number, nullptr, &m_fullScreen, nullptr, &m_savedFullScreen},
        {"Swap Controls", Type::Number, nullptr, &m_swapControls, nullptr, &m_savedSwapControls},
        // Lives in the screen; read only when it names a mode, written only at shut-down.
        {"Scaling", Type::ScaleMode, nullptr, nullptr, nullptr, nullptr},
    }};
}

void SFGame::ReadSettings()
{
    if (g_settings == nullptr) {
        return;
    }
    const auto table = StoredSettings();
    g_settings->OpenGameKey();
    for (const StoredSetting& setting : table) {
        if (setting.type == StoredSetting::Type::Text) {
            g_settings->GetString(setting.name, *setting.text);
        } else if (setting.type == StoredSetting::Type::Number) {
            g_settings->GetInt(setting.name, *setting.number);
        } else {
            std::string scaling;
            PXScaleMode mode = PXScaleMode::Sharp;
            if (g_settings->GetString(setting.name, scaling) && PXParseScaleMode(scaling, &mode) &&
                g_screen != nullptr) {
                g_screen->SetScaleMode(mode);
            }
        }
    }
    g_settings->CloseKey();
    for (const StoredSetting& setting : table) {
        if (setting.savedText != nullptr) {
            *setting.savedText = *setting.text;
        }
        if (setting.savedNumber != nullptr) {
            *setting.savedNumber = *setting.number;
        }
    }
}

bool SFGame::SettingPending(const StoredSetting& setting, bool all) const
{
    switch (setting.type) {
    case StoredSetting::Type::Text:
        return all || *setting.text != *setting.savedText;
    case StoredSetting::Type::Number:
        return all || *setting.number != *setting.savedNumber;
    case StoredSetting::Type::ScaleMode:
        return all && g_screen != nullptr;
    }
    return false;
}

void SFGame::SaveSettings(bool all)
{
    // Whichever control switched the screen, its mode now is what the next start opens in.
    m_fullScreen = ScreenFullScreen();
    if (g_settings == nullptr) {
        return;
    }
    const auto table = StoredSettings();
    std::array<bool, std::tuple_size<decltype(table)>::value> pending{};
    bool any = false;
    for (size_t i = 0; i < table.size(); ++i) {
        pending[i] = SettingPending(table[i], all);
        any = any || pending[i];
    }
    const bool options = OptionsPending(all);
    if (options) {
        // Taken as written even when the store fails, like the settings below.
        m_options.Write(*g_settings);
        m_savedOptions = m_options;
        m_savedBindings = g_inputMap.Bindings();
        m_optionsApplied = false;
    }
    if (!any) {
        return;
    }
    // Taken as written even when the store fails, so a store that cannot write is not
    // retried every frame; shut-down writes everything once more.
    g_settings->OpenGameKey();
    for (size_t i = 0; i < table.size(); ++i) {
        const StoredSetting& setting = table[i];
        if (!pending[i]) {
            continue;
        }
        if (setting.type == StoredSetting::Type::Text) {
            g_settings->SetString(setting.name, *setting.text);
            *setting.savedText = *setting.text;
        } else if (setting.type == StoredSetting::Type::Number) {
            g_settings->SetInt(setting.name, *setting.number);
            *setting.savedNumber = *setting.number;
        } else {
            g_settings->SetString(setting.name, PXScaleModeName(g_screen->GetScaleMode()));
        }
    }
    g_settings->CloseKey();
}

bool SFGame::OptionsPending(bool all) const
{
    return all || m_optionsApplied || m_options != m_savedOptions ||
           !SFOptions::SameBindings(g_inputMap.Bindings(), m_savedBindings);
}

void SFGame::ReadOptions()
{
    // Whatever config.cfg gave (or the built-in delay) is what "machine default" means.
    SFOptions::SetMachineKeyRepeatDelay(g_keyRepeatDelay);
    if (g_settings != nullptr) {
        m_options.Read(*g_settings);
    }
    m_savedOptions = m_options;
    m_savedBindings = g_inputMap.Bindings();
    m_options.Apply();
}

void SFGame::ApplyOptions()
{
    m_options.Apply();
    m_optionsApplied = true;
}

bool SFGame::ReadConfig(PXDefinitionBlock& block) const
{
    PXFile* file = g_fileSystem != nullptr ? g_fileSystem->Open(ConfigFileName, FileModeRead) : nullptr;
    if (file == nullptr) {
        return false;
    }
    const bool loaded = block.LoadFromFile(*file);
    g_fileSystem->Close(file);
    return loaded;
}

void SFGame::ApplyConfig(const PXDefinitionBlock& block)
{
    int value = 0;
    if (block.FindKey("ShowFPS") && block.ReadInts(&value, 1)) {
        g_showFps = value;
    }
    // The play scene steps a held key once per delay in a loop: a delay below 1 ms would
    // never end that loop, so such a value keeps the default.
    if (block.FindKey("KeyRepeatDelay") && block.ReadInts(&value, 1) && value >= 1) {
        g_keyRepeatDelay = value;
    }
    float level = 1.0f;
    if (block.FindKey("SoundLevel") && block.ReadFloats(&level, 1) && g_soundManager != nullptr) {
        g_soundManager->SetVolume(std::min(level, 1.0f));
    }
    if (block.FindKey("SwappedStereo") && block.ReadInts(&value, 1) && g_soundManager != nullptr) {
        g_soundManager->SetSwappedStereo(value != 0);
    }
    if (block.FindKey("HighPriorityClass") && block.ReadInts(&value, 1) && g_screen != nullptr) {
        g_screen->SetHighPriority(value != 0);
    }
    ApplyScalingConfig(block);
}

void SFGame::ApplyScalingConfig(const PXDefinitionBlock& block)
{
    std::string text;
    if (g_screen == nullptr || !block.FindKey("Scaling") || !block.ReadString(&text)) {
        return;
    }
    PXScaleMode mode = PXScaleMode::Sharp;
    if (PXParseScaleMode(text, &mode)) {
        g_screen->SetScaleMode(mode);
    } else {
        LogF("config.cfg: Scaling \"%s\" is not sharp, pixel or smooth; keeping %s", text.c_str(),
             PXScaleModeName(g_screen->GetScaleMode()));
    }
}

bool SFGame::MountArchives()
{
    if (g_fileSystem == nullptr) {
        return true;
    }
    std::vector<std::string> names;
    g_fileSystem->ListFiles("*.pxa", "", false, names);
    std::string damaged;
    for (const std::string& name : names) {
        auto archive = std::make_unique<PXArchiveManager>(g_fileSystem, name);
        if (!archive->IsIntact()) {
            LogF("Archive %s is damaged, cut short or not an archive", name.c_str());
            damaged += (damaged.empty() ? "" : ", ") + name;
        }
        g_fileSystem->AddManager(std::move(archive), "");
    }
    if (!damaged.empty()) {
        FailStart("The game data is damaged: " + damaged +
                  " could not be read whole (cut short or not a game archive). Reinstall the game.");
        return false;
    }
    return true;
}

bool SFGame::ReadWindowIcon(PXBitmapDesc& icon) const
{
    // Read through the file system, so the packed game has its icon too.
    PXFile* file = g_fileSystem != nullptr ? g_fileSystem->Open(IconFileName, FileModeRead | FileModeBinary)
                                           : nullptr;
    const bool read = file != nullptr && ReadBitmapFile(icon, file, 0) == 1;
    if (file != nullptr) {
        g_fileSystem->Close(file);
    }
    if (!read || icon.bitsPerPixel != 32) {
        LogF("Unable to open image: %s", IconFileName);
        return false;
    }
    return true;
}

bool SFGame::LoadGameData(PXBitmapDesc& icon)
{
    if (!MountArchives()) {
        return false;
    }
    if (g_screen != nullptr) {
        ReadWindowIcon(icon);
    }
    m_registry = std::make_unique<PXEntityRegistry>();
    g_entityRegistry = m_registry.get();
    RegisterPrototypes(*m_registry);
    m_registry->LoadDefinitionFiles();
    ReadFirstPicturesAhead();
    if (g_settings != nullptr) {
        SFHighScore scratch(0, 0, 0, g_lastHighScoreName);
        g_highScores.LoadFile(HighScoreFilePath(), scratch);
    }
    return true;
}

void SFGame::ReadFirstPicturesAhead() const
{
    auto* scene = dynamic_cast<PXEntity2DSceneType*>(m_registry->FindType(FirstSceneClass, FirstSceneType));
    if (scene == nullptr || g_resources == nullptr || g_screen == nullptr) {
        return;
    }
    std::vector<const PXEntityRef*> refs;
    for (const PXSceneElement& element : scene->GetElements()) {
        refs.push_back(&element.ref);
    }
    if (const PXSceneElement* cursor = scene->GetCursor()) {
        refs.push_back(&cursor->ref);
    }
    for (const PXEntityRef* ref : refs) {
        auto* sprite = dynamic_cast<PXEntity2DGUISpriteType*>(m_registry->FindType(ref->className, ref->typeName));
        if (sprite != nullptr && !sprite->GetImageName().empty()) {
            g_resources->ReadImageAhead(sprite->GetImageName(), sprite->GetImageLoadFlags());
        }
    }
}

int SFGame::Start()
{
    if (!Initialise()) {
        return 0;
    }
    std::string missing;
    if (m_registry == nullptr || m_registry->GetTypeCount() == 0) {
        missing = "The game data holds no definitions (no *.ent files were read).";
    } else if (m_scene == nullptr) {
        missing = "The game data has no main menu (scene \"mainmenu\" could not be created).";
    }
    if (missing.empty()) {
        return 1;
    }
    // Nothing is saved from a start that failed; only the song handles are given back.
    PXGame::Shutdown();
    return FailStart(missing + " Reinstall the game.");
}

int SFGame::FailStart(const std::string& why)
{
    m_startError = why;
    return 0;
}

void SFGame::RegisterPrototypes(PXEntityRegistry& registry)
{
    PXRegisterGuiClasses(registry);
    registry.RegisterPrototype(&g_2DScenePrototype, "2DScene");
    registry.RegisterPrototype(&g_gameScenePrototype, "SFGameScene");
    registry.RegisterPrototype(&g_mainMenuScenePrototype, "SFMainMenuScene");
    registry.RegisterPrototype(&g_instrMenuScenePrototype, "SFInstrMenuScene");
    registry.RegisterPrototype(&g_highScoreMenuScenePrototype, "SFHighScoreMenuScene");
    registry.RegisterPrototype(&g_optionsMenuScenePrototype, "SFOptionsMenuScene");
    PXRegisterDialogClasses(registry);
}

namespace {

PXToolTipHost* CurrentSceneAsToolTipHost()
{
    return g_game != nullptr ? g_game->GetScene() : nullptr;
}

// Runs a job on a second thread, or at once where no thread can be started; the job has
// finished when the object is gone.
class ConcurrentJob {
public:
    explicit ConcurrentJob(const std::function<void()>& job)
    {
        try {
            m_thread = std::thread(job);
        } catch (const std::system_error&) {
            job();
        }
    }
    ~ConcurrentJob()
    {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    ConcurrentJob(const ConcurrentJob&) = delete;
    ConcurrentJob& operator=(const ConcurrentJob&) = delete;

private:
    std::thread m_thread;
};

}  // namespace

void SFGame::BuildPlaylist()
{
    m_playlist.clear();
    m_playlistIndex = 0;
    if (g_fileSystem == nullptr || g_soundManager == nullptr) {
        return;
    }
    std::vector<std::string> names;
    for (const char* pattern : {"*.mod", "*.s3m", "*.xm"}) {
        g_fileSystem->ListFiles(pattern, "", true, names);
    }
    for (const std::string& name : names) {
        uint32_t id = 0;
        g_soundManager->LoadMusic(name, id);
        m_playlist.push_back(id);
    }
}

int SFGame::Initialise()
{
    m_startError.clear();
    ReadSettings();
    if (m_fullScreenOverride >= 0) {
        m_fullScreen = m_fullScreenOverride;
    }

    PXDefinitionBlock config;
    const bool configured = ReadConfig(config);

    // Opening the window is mostly waiting for the display server and the window manager,
    // so the data is read meanwhile on a second thread. Until it is joined, this thread
    // touches only the screen and the sound, the loader only the file system, the registry,
    // the icon picture, the pictures read ahead and the high scores (the screen's fields
    // are read by none).
    PXBitmapDesc icon;
    bool dataIntact = true;
    bool windowOpen = true;
    {
        ConcurrentJob loading([this, &icon, &dataIntact] { dataIntact = LoadGameData(icon); });
        if (g_screen != nullptr) {
            PXScreenDesc desc;
            desc.width = 640;
            desc.height = 480;
            desc.pixelFormat.bitsPerPixel = 16;
            desc.fullScreen = m_fullScreen != 0;
            windowOpen = g_screen->Create(&desc, GameTitle) != 0;
        }
        if (windowOpen && g_soundManager != nullptr) {
            g_soundManager->Init(8);
            g_soundManager->SetSoundEnabled(true);
            g_soundManager->SetVolume(1.0f);
            g_soundManager->SetSwappedStereo(false);
        }
    }
    if (!windowOpen) {
        // Without a window the player would see nothing and the process would run on.
        return FailStart("The game window could not be created (see log.txt for the reason).");
    }
    if (configured) {
        ApplyConfig(config);
    }
    ReadOptions();
    if (!dataIntact) {
        return 0;
    }
    if (g_screen != nullptr && icon.bitsPerPixel == 32) {
        g_screen->SetIcon(icon);
    }
    g_toolTipHostFinder = CurrentSceneAsToolTipHost;

    std::unique_ptr<PXEntityBase> first = m_registry->CreateEntity(FirstSceneClass, FirstSceneType, PXKind::Scene);
    if (auto* scene = dynamic_cast<PXEntity2DScene*>(first.get())) {
        first.release();
        m_scene.reset(scene);
    }
    if (g_resources != nullptr) {
        g_resources->DropImagesReadAhead();
    }
    if (g_screen != nullptr) {
        g_screen->SetCursorVisible(false);
    }
    BuildPlaylist();
    return 1;
}

void SFGame::Shutdown()
{
    StoreHighScores();
    SaveSettings(true);
    if (g_screen != nullptr) {
        g_screen->SetCursorVisible(true);
    }
    if (m_transitionActive) {
        EndTransition();
    }
    if (m_scene != nullptr) {
        m_scene->GetType()->Unload();
        m_scene.reset();
    }
    PXGame::Shutdown();
    g_toolTipHostFinder = nullptr;
    if (m_registry != nullptr) {
        m_registry->ClearTypes();
        if (g_entityRegistry == m_registry.get()) {
            g_entityRegistry = nullptr;
        }
        m_registry.reset();
    }
    if (g_soundManager != nullptr) {
        for (uint32_t id : m_playlist) {
            g_soundManager->UnloadMusic(id);
        }
    }
    m_playlist.clear();
}
