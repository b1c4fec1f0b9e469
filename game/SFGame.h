// The game object: owns the current scene, drains the frame's input events into it, runs
// the scene changes with their band transition, the music step, start-up and shut-down.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXGame.h"
#include "engine/core/PXInputMap.h"
#include "engine/graphics/PXGraphicsTypes.h"
#include "game/SFOptions.h"

class PXDefinitionBlock;
class PXEntity2DScene;
class PXEntityRegistry;

class SFGame : public PXGame {
public:
    // Transition constants: band rows or columns, length in ms, frames held first.
    static constexpr int32_t TransitionBand = 50;
    static constexpr float TransitionLengthMs = 1000.0f;
    static constexpr int32_t TransitionHoldFrames = 2;
    // How long after a full-screen switch a focus loss still counts as the switch's own.
    static constexpr float ModeSwitchGraceMs = 250.0f;

    SFGame();
    ~SFGame() override;

    // 0 when there is no window or an archive is damaged (GetStartError says why).
    int Initialise() override;
    // What the process entry calls: Initialise, then 0 also when the data holds no
    // definitions or no main menu. GetStartError then says why in words for the player;
    // the caller then neither runs frames nor calls Shutdown, so nothing is saved.
    int Start();
    void RunFrame(PXEventQueue& queue) override;
    void Shutdown() override;
    // Records the request; the next frame performs it. A style of -1 picks one at random.
    void ChangeScene(const std::string& className, const std::string& entityName, int style) override;
    PXEntity2DScene* GetScene() const override { return m_scene.get(); }

    bool IsTransitionActive() const { return m_transitionActive; }
    bool IsSceneChangePending() const { return m_sceneChangePending; }
    int32_t GetTransitionStyle() const { return m_transitionStyle; }
    float GetFrameTime() const { return m_frameTime; }
    int32_t GetFullScreen() const { return m_fullScreen; }
    int32_t GetSwapControls() const { return m_swapControls; }
    void SetSwapControls(int32_t value) { m_swapControls = value; }
    // The mode for this start (0 windowed, 1 full screen) whatever was saved; -1 keeps it.
    void SetFullScreenOverride(int32_t mode) { m_fullScreenOverride = mode; }
    const std::string& GetStartError() const { return m_startError; }
    // Switches the screen between window and full screen (F7 and the play scene's button);
    // the focus changes the switch itself causes do not make the game inactive.
    void ToggleFullScreen();
    // The player's options as read at start (the options screen edits them here).
    SFOptions& GetOptions() { return m_options; }
    // Applies the options now; the next frame's settings save writes them (and any change
    // of g_inputMap's play bindings).
    void ApplyOptions();
    uint32_t GetPlaylistCount() const { return static_cast<uint32_t>(m_playlist.size()); }

    // One picture of the band transition into `dest` (the same size as both frames):
    // `style` 0 rows downward, 1 rows upward, 2 columns leftward, anything else columns
    // rightward; `progress` in [0, 1). Rows or columns the picture leaves are untouched.
    static void ComposeTransition(const PXSurfaceDesc& oldFrame, const PXSurfaceDesc& newFrame,
                                  const PXSurfaceDesc& dest, int32_t style, float progress, int32_t band);
    // Source offset of band line i: 2 x band at the leading edge down to band at the trailing one.
    static int32_t BandOffset(int32_t i, int32_t band);

protected:
    // Registers every class prototype the game knows, in its fixed order.
    virtual void RegisterPrototypes(PXEntityRegistry& registry);

private:
    // A private copy of the frame buffer.
    struct Snapshot {
        PXSurfaceDesc desc;
        std::vector<uint8_t> pixels;
    };

    void HandleEvent(const PXEvent& event);
    void ClampMouse();
    void MusicStep();
    void PerformSceneChange();
    // True when it drew a transition picture (the scene is then neither updated nor drawn).
    bool TransitionFrame();
    bool TakeSnapshot(Snapshot& out);
    void EndTransition();
    // One stored setting: its key, its type, and where its value and the value last read
    // or written live (text or number; the scale mode lives in the screen). Its default is
    // the value's initial value (a member initialiser, the screen's mode).
    struct StoredSetting {
        enum class Type { Text, Number, ScaleMode };
        const char* name;
        Type type;
        std::string* text;
        int32_t* number;
        std::string* savedText;
        int32_t* savedNumber;
    };
    std::array<StoredSetting, 4> StoredSettings();
    // True when SaveSettings(all) is to write the setting.
    bool SettingPending(const StoredSetting& setting, bool all) const;
    void ReadSettings();
    // Writes every setting (shut-down), or only those that differ from what was last
    // written (each frame), so a crash forgets nothing the player changed.
    void SaveSettings(bool all);
    // Ends the excuse of a full-screen switch once its own focus changes have passed.
    void ExpireModeSwitch();
    // 1 when the screen shows full screen; the saved value before the screen exists.
    int32_t ScreenFullScreen() const;
    // config.cfg of the data folder, read before the archives join the file system; false
    // when there is none or it is empty.
    bool ReadConfig(PXDefinitionBlock& block) const;
    void ApplyConfig(const PXDefinitionBlock& block);
    // The player's options from the store, over config.cfg's machine defaults, applied.
    void ReadOptions();
    // True when SaveSettings(all) is to write the options and bindings.
    bool OptionsPending(bool all) const;
    // "Scaling" of config.cfg, when given, chooses how the screen scales the frame.
    void ApplyScalingConfig(const PXDefinitionBlock& block);
    // What the loading thread does while the window opens: mounts the archives, reads the
    // window icon, defines every type, reads the first scene's pictures and the high scores
    // (see Initialise). False (with the start error set)
    // when an archive is damaged; nothing is defined then.
    bool LoadGameData(PXBitmapDesc& icon);
    // Decodes the pictures of the first scene's own sprites and its cursor, so that making
    // the scene only converts them.
    void ReadFirstPicturesAhead() const;
    // False (with the start error set) when an archive is not one or is damaged.
    bool MountArchives();
    // The icon picture from the file system (logged when there is none).
    bool ReadWindowIcon(PXBitmapDesc& icon) const;
    int FailStart(const std::string& why);
    void BuildPlaylist();

    std::unique_ptr<PXEntity2DScene> m_scene;
    bool m_transitionActive = false;
    Snapshot m_oldFrame;
    Snapshot m_newFrame;
    float m_transitionLength = 0.0f;
    float m_transitionElapsed = 0.0f;
    int32_t m_bandSize = 0;
    int32_t m_transitionStyle = 0;
    int32_t m_holdFrames = 0;
    float m_frameTime = 0.0f;
    std::string m_pendingClass;
    std::string m_pendingName;
    bool m_sceneChangePending = false;
    int32_t m_fullScreen = 1;
    int32_t m_swapControls = 0;
    int32_t m_fullScreenOverride = -1;
    std::string m_startError;
    // The values the settings store holds, as last read or written.
    int32_t m_savedFullScreen = 1;
    int32_t m_savedSwapControls = 0;
    std::string m_savedName;
    SFOptions m_options;
    SFOptions m_savedOptions;
    std::vector<PXInputBinding> m_savedBindings;
    bool m_optionsApplied = false;
    // Frames and milliseconds since the last full-screen switch, while g_modeSwitching is set.
    int32_t m_modeSwitchFrames = 0;
    float m_modeSwitchMs = 0.0f;
    // Frames run so far, and whether the song has been loaded (after the first frame).
    uint64_t m_framesRun = 0;
    bool m_songAdded = false;
    std::vector<uint32_t> m_playlist;
    uint32_t m_playlistIndex = 0;
    std::unique_ptr<PXEntityRegistry> m_registry;
};
