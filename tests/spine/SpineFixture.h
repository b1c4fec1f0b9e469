// Test doubles for the game object and scene tests: elements, dialogs and scenes that log
// what happens to them, a sound manager that records music calls, and a fixture that
// publishes a headless screen, a file system on a temporary folder and the other globals.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntity2DScene.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "engine/sound/PXSoundManager.h"
#include "game/SFGame.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/HostFileManager.h"
#include "tests/support/TempDir.h"

// Everything the doubles report, in order ("draw:name", "update:name", "down:x,y,1", ...).
inline std::vector<std::string>& EventLog()
{
    static std::vector<std::string> log;
    return log;
}

inline void LogEvent(const std::string& line)
{
    EventLog().push_back(line);
}

// Element "probe": reads "Size" (w, h); logs updates and draws under its type name; a click
// hits when the point is inside. As a text element it keeps property 0x502/0x503 and lays
// out 8 x 12 pixels per character (0x506/0x507).
class ProbeType : public PXEntity2DGUIElementType {
public:
    explicit ProbeType(const PXDefinitionBlock* block) : PXEntity2DGUIElementType(block)
    {
        if (block != nullptr && block->FindKey("Size")) {
            block->ReadInts(size, 2);
        }
        if (block != nullptr && block->FindKey("Text")) {
            int flag = 0;
            block->ReadInts(&flag, 1);
            text = flag != 0;
        }
    }
    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool IsA(uint32_t kind) const override
    {
        return (text && kind == PXKind::Text) || PXEntity2DGUIElementType::IsA(kind);
    }
    const std::string& Name() const { return GetRef().typeName; }

    int size[2] = {0, 0};
    bool text = false;
};

class Probe : public PXEntity2DGUIElement {
public:
    explicit Probe(ProbeType* type) : PXEntity2DGUIElement(type)
    {
        m_width = type->size[0];
        m_height = type->size[1];
    }
    bool Update(float elapsedMs) override
    {
        LogEvent("update:" + Name());
        return PXEntity2DGUIElement::Update(elapsedMs);
    }
    bool Draw() override
    {
        LogEvent("draw:" + Name() + (m_alpha != 255 ? "@" + std::to_string(m_alpha) : ""));
        return true;
    }
    bool Click(const PXPoint& p) override
    {
        return p.x >= m_x && p.x < m_x + m_width && p.y >= m_y && p.y < m_y + m_height;
    }
    bool SetStringProperty(int32_t id, const std::string& value) override
    {
        if (id == 0x502) {
            text = value;
            return true;
        }
        return PXEntity2DGUIElement::SetStringProperty(id, value);
    }
    bool GetStringProperty(int32_t id, std::string* out) override
    {
        if (id == 0x503) {
            *out = text;
            return true;
        }
        return PXEntity2DGUIElement::GetStringProperty(id, out);
    }
    bool GetProperty(int32_t id, int32_t* out) override
    {
        if (id == 0x506 || id == 0x507) {
            *out = id == 0x506 ? 8 * static_cast<int32_t>(text.size()) : 12;
            return true;
        }
        return PXEntity2DGUIElement::GetProperty(id, out);
    }
    bool SetAltProperty(int32_t id, int32_t value) override
    {
        if (id == 0x306) {
            frame = value;
            return true;
        }
        return false;
    }
    std::string Name() const { return static_cast<ProbeType*>(m_type)->Name(); }

    std::string text;
    int32_t frame = -1;
};

inline std::unique_ptr<PXEntityBase> ProbeType::CreateEntity()
{
    return std::make_unique<Probe>(this);
}

class ProbePrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override
    {
        return std::make_unique<ProbeType>(block);
    }
};

// Dialog "testbox" (a message box): "Size" as the probe; "Takes" (1/0) is what its input
// operations answer; "Scene" marks it as a dialog scene holding an inner scene of that type.
class TestBoxType : public ProbeType {
public:
    explicit TestBoxType(const PXDefinitionBlock* block) : ProbeType(block)
    {
        if (block != nullptr && block->FindKey("Takes")) {
            int flag = 0;
            block->ReadInts(&flag, 1);
            takes = flag != 0;
        }
        if (block != nullptr && block->FindKey("SceneEnt")) {
            block->ReadEntityRef(&sceneRef);
        }
    }
    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool IsA(uint32_t kind) const override
    {
        return kind == PXKind::DialogBox || kind == PXKind::MessageBox ||
               (!sceneRef.IsEmpty() && kind == PXKind::DialogScene) || ProbeType::IsA(kind);
    }
    bool takes = false;
    PXEntityRef sceneRef;
};

inline int& TestBoxesAlive()
{
    static int alive = 0;
    return alive;
}

class TestBox : public PXSceneDialogScene {
public:
    explicit TestBox(TestBoxType* type) : PXSceneDialogScene(type)
    {
        ++TestBoxesAlive();
        m_width = type->size[0];
        m_height = type->size[1];
        if (!type->sceneRef.IsEmpty()) {
            std::unique_ptr<PXEntityBase> made =
                g_entityRegistry->CreateEntity(type->sceneRef, PXKind::Scene);
            inner.reset(dynamic_cast<PXEntity2DScene*>(made.release()));
        }
    }
    ~TestBox() override { --TestBoxesAlive(); }
    bool Update(float) override
    {
        LogEvent("update:" + Name());
        return true;
    }
    bool Draw() override
    {
        LogEvent("draw:" + Name());
        return true;
    }
    bool DialogMouseUp(const PXPoint* p, int b) override { return Note("up", p, b); }
    bool DialogMouseAux(const PXPoint* p, int v) override { return Note("aux", p, v); }
    bool DialogMouseDown(const PXPoint* p, int b) override { return Note("down", p, b); }
    bool DialogKeyAux(int v) override { return Note("keyaux", nullptr, v); }
    bool DialogKeyDown(int k) override { return Note("key", nullptr, k); }
    bool DialogKeyUp(int k) override { return Note("keyup", nullptr, k); }
    void SetMessage(const std::string& text) { message = text; }
    PXEntity2DScene* GetInnerScene() override { return inner.get(); }
    std::string Name() const { return static_cast<TestBoxType*>(m_type)->Name(); }

    std::string message;
    std::unique_ptr<PXEntity2DScene> inner;

private:
    bool Note(const std::string& what, const PXPoint* p, int v)
    {
        LogEvent(Name() + ":" + what + (p ? "@" + std::to_string(p->x) + "," + std::to_string(p->y) : "") +
                 ":" + std::to_string(v));
        return static_cast<TestBoxType*>(m_type)->takes;
    }
};

// The message-box face of the test dialog.
class TestMessageBox : public PXSceneMessageBox {
public:
    explicit TestMessageBox(TestBoxType* type) : PXSceneMessageBox(type)
    {
        ++TestBoxesAlive();
        m_width = type->size[0];
        m_height = type->size[1];
    }
    ~TestMessageBox() override { --TestBoxesAlive(); }
    bool Update(float) override { return true; }
    bool Draw() override
    {
        LogEvent("draw:msg:" + message);
        return true;
    }
    bool DialogMouseUp(const PXPoint*, int) override { return true; }
    bool DialogMouseAux(const PXPoint*, int) override { return true; }
    bool DialogMouseDown(const PXPoint*, int) override { return true; }
    bool DialogKeyAux(int) override { return true; }
    bool DialogKeyDown(int) override { return true; }
    bool DialogKeyUp(int) override { return true; }
    void SetMessage(const std::string& text) override { message = text; }
    void SetButtons(int32_t style) override { buttons = style; }
    void SetTimeout(float ms) override { timeout = ms; }

    std::string message;
    int32_t buttons = 0;
    float timeout = 0.0f;
};

inline std::unique_ptr<PXEntityBase> TestBoxType::CreateEntity()
{
    if (sceneRef.IsEmpty() && GetRef().typeName.rfind("msg", 0) == 0) {
        return std::make_unique<TestMessageBox>(this);
    }
    return std::make_unique<TestBox>(this);
}

class TestBoxPrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override
    {
        return std::make_unique<TestBoxType>(block);
    }
};

// Scene "TestScene": "Fill" (a 5-5-5 pixel) paints the whole frame on Draw; "Game" 1 makes
// the type answer "GAME"; "ChangeTo" asks the game for that scene during every Update.
// Input reaching the scene is logged after the base routing.
class TestSceneType : public PXEntity2DSceneType {
public:
    explicit TestSceneType(const PXDefinitionBlock* block) : PXEntity2DSceneType(block)
    {
        int value = 0;
        if (block != nullptr && block->FindKey("Fill") && block->ReadInts(&value, 1)) {
            fill = static_cast<uint16_t>(value);
        }
        if (block != nullptr && block->FindKey("Game") && block->ReadInts(&value, 1)) {
            game = value != 0;
        }
        if (block != nullptr && block->FindKey("ChangeTo")) {
            block->ReadEntityRef(&changeTo);
        }
    }
    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool IsA(uint32_t kind) const override
    {
        return (game && kind == PXKind::GameScene) || PXEntity2DSceneType::IsA(kind);
    }
    uint16_t fill = 0;
    bool game = false;
    PXEntityRef changeTo;
};

class TestScene : public PXEntity2DScene {
public:
    explicit TestScene(TestSceneType* type) : PXEntity2DScene(type) {}
    bool Update(float elapsedMs) override
    {
        LogEvent("scene-update:" + Name());
        const PXEntityRef& to = static_cast<TestSceneType*>(m_type)->changeTo;
        if (!to.IsEmpty() && g_game != nullptr) {
            g_game->ChangeScene(to.className, to.typeName, 0);
        }
        return PXEntity2DScene::Update(elapsedMs);
    }
    bool Draw() override
    {
        LogEvent("scene-draw:" + Name());
        PXSurfaceDesc s;
        if (g_screen->LockScreen(&s)) {
            const uint16_t fill = static_cast<TestSceneType*>(m_type)->fill;
            for (uint32_t y = 0; y < s.height; ++y) {
                auto* row = reinterpret_cast<uint16_t*>(s.pixels + static_cast<size_t>(y) * s.pitch);
                std::fill(row, row + s.width, fill);
            }
            g_screen->UnlockScreen();
            g_screen->InvalidateRect({0, static_cast<int32_t>(s.width), 0, static_cast<int32_t>(s.height)},
                                     false);
        }
        return PXEntity2DScene::Draw();
    }
    bool OnMouseDown(const PXPoint* p, int b) override { return Note("down", p, b); }
    bool OnMouseUp(const PXPoint* p, int b) override { return Note("up", p, b); }
    bool OnKeyDown(int k) override { return Note("key", nullptr, k); }
    bool OnKeyUp(int k) override { return Note("keyup", nullptr, k); }
    std::string Name() const { return m_type->GetRef().typeName; }

private:
    bool Note(const std::string& what, const PXPoint* p, int v)
    {
        LogEvent(Name() + ":" + what + (p ? "@" + std::to_string(p->x) + "," + std::to_string(p->y) : "") +
                 ":" + std::to_string(v));
        return true;
    }
};

inline std::unique_ptr<PXEntityBase> TestSceneType::CreateEntity()
{
    return std::make_unique<TestScene>(this);
}

class TestScenePrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override
    {
        return std::make_unique<TestSceneType>(block);
    }
};

inline ProbePrototype s_probePrototype;
inline TestBoxPrototype s_testBoxPrototype;
inline TestScenePrototype s_testScenePrototype;

inline void RegisterTestClasses(PXEntityRegistry& registry)
{
    registry.RegisterPrototype(&s_probePrototype, "probe");
    registry.RegisterPrototype(&s_testBoxPrototype, "testbox");
    registry.RegisterPrototype(&s_testScenePrototype, "TestScene");
    // The first scene the game asks for.
    registry.RegisterPrototype(&s_testScenePrototype, "SFMainMenuScene");
}

// Module music as calls: which module was started, how often music was stopped.
class MusicRecordingSoundManager : public PXSoundManager {
public:
    int Init(int32_t) override { return 1; }
    int Update(float elapsed) override
    {
        updates.push_back(elapsed);
        return 1;
    }
    int LoadSound(PXFile*, uint32_t&) override { return 0; }
    int UnloadSound(uint32_t) override { return 0; }
    int CreateChannel(uint32_t, uint32_t&, bool) override { return 0; }
    int SetChannelVolume(uint32_t, float) override { return 0; }
    int SetChannelPan(uint32_t, float) override { return 0; }
    int SetChannelFrequency(uint32_t, float) override { return 0; }
    int StopChannel(uint32_t) override { return 0; }
    int StopAllChannels() override { return 0; }
    int PlayChannel(uint32_t) override { return 0; }
    int PauseChannel(uint32_t) override { return 0; }
    int FadeInChannel(uint32_t, float) override { return 0; }
    int FadeOutChannel(uint32_t, float) override { return 0; }
    int FadeOutAllChannels(float) override { return 0; }
    bool IsChannelPlaying(uint32_t) override { return false; }
    int LoadMusic(const std::string& name, uint32_t& id) override
    {
        loaded.push_back(name);
        id = 100 + static_cast<uint32_t>(loaded.size());
        return 1;
    }
    int UnloadMusic(uint32_t) override { return 1; }
    int PlayMusic(uint32_t id) override
    {
        played.push_back(id);
        return 1;
    }
    int StopMusic() override
    {
        ++stops;
        return 1;
    }
    bool IsMusicPlaying() override { return false; }

    std::vector<std::string> loaded;
    std::vector<uint32_t> played;
    std::vector<float> updates;
    int stops = 0;
};

// The game with the test classes registered beside its own.
class TestGame : public SFGame {
protected:
    void RegisterPrototypes(PXEntityRegistry& registry) override
    {
        // First, so the doubles take the class names the game registers too.
        RegisterTestClasses(registry);
        SFGame::RegisterPrototypes(registry);
    }
};

// Publishes a 640 x 480 headless screen, a file system on a temporary folder, the resource
// cache, the recording sound manager and an in-memory settings store.
class SpineTest : public ::testing::Test {
protected:
    // Creates the published screen as the game's frame: 640 x 480 at 16 bits.
    ::testing::AssertionResult OpenGameScreen(const char* title)
    {
        PXScreenDesc desc;
        desc.width = 640;
        desc.height = 480;
        desc.pixelFormat.bitsPerPixel = 16;
        if (screen.Create(&desc, title) != 1u) {
            return ::testing::AssertionFailure() << "the 640 x 480 test screen was not created";
        }
        return ::testing::AssertionSuccess();
    }
    // Defines a type in `registry` from definition text.
    static void DefineIn(PXEntityRegistry& registry, const std::string& text)
    {
        PXDefinitionBlock block;
        ASSERT_TRUE(block.LoadFromText(text.data(), text.size()));
        ASSERT_NE(registry.DefineType(block, false), nullptr) << text;
    }
    void SetUp() override
    {
        EventLog().clear();
        TestBoxesAlive() = 0;
        fileSystem.AddManager(MakeHostFileManager(), dir.Folder());
        g_screen = &screen;
        g_fileSystem = &fileSystem;
        g_resources = &resources;
        g_soundManager = &sound;
        g_settings = &settings;
        g_mouseX = 0;
        g_mouseY = 0;
        g_leftButtonDown = 0;
        g_rightButtonDown = 0;
        g_modeSwitching = 0;
        g_showFps = 0;
        g_keyRepeatDelay = 120;
    }
    void TearDown() override
    {
        g_game = nullptr;
        g_entityRegistry = nullptr;
        g_screen = nullptr;
        g_fileSystem = nullptr;
        g_resources = nullptr;
        g_soundManager = nullptr;
        g_settings = nullptr;
        g_toolTipHostFinder = nullptr;
    }
    void Write(const std::string& name, const std::string& text) { dir.Write(name, text); }

    TempDir dir;
    PXMemoryScreen2D screen;
    PXFileSystem fileSystem;
    PXResourceCache resources;
    MusicRecordingSoundManager sound;
    FakeSettingsManager settings{dir.Folder()};
};
