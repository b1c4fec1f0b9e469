// Shared set-up of the menu tests: element doubles (a probe that records its integer
// properties, the focus probe), a game that records scene requests, an opener that records
// what it was asked to open, the main menu's keys with six 100 x 20 buttons, and a fixture
// that makes menu scenes from definition text.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/core/PXOpenDocument.h"
#include "engine/gui/PXGuiClasses.h"
#include "game/SFEntityInstrMenuScene.h"
#include "game/SFEntityMainMenuScene.h"
#include "game/SFPlayField.h"
#include "tests/gui/FocusProbe.h"
#include "tests/spine/SpineFixture.h"

namespace menutest {

// A probe that also remembers the integer properties set on it (for the justify).
class Recorder : public Probe {
public:
    using Probe::Probe;
    bool SetProperty(int32_t id, int32_t value) override
    {
        properties.emplace_back(id, value);
        return true;
    }
    std::vector<std::pair<int32_t, int32_t>> properties;
};

class RecorderType : public ProbeType {
public:
    using ProbeType::ProbeType;
    std::unique_ptr<PXEntityBase> CreateEntity() override { return std::make_unique<Recorder>(this); }
};

class RecorderPrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override
    {
        return std::make_unique<RecorderType>(block);
    }
};

inline RecorderPrototype s_recorderPrototype;

inline void RegisterElementClasses(PXEntityRegistry& registry)
{
    registry.RegisterPrototype(&s_probePrototype, "probe");
    registry.RegisterPrototype(&s_testBoxPrototype, "testbox");
    registry.RegisterPrototype(&s_recorderPrototype, "recorder");
    registry.RegisterPrototype(&s_focusProbePrototype, "focusprobe");
}

// Targets the opener was asked for; the handler never starts anything.
inline std::vector<std::string>& Opened()
{
    static std::vector<std::string> opened;
    return opened;
}

inline int RecordOpen(const std::string& target)
{
    Opened().push_back(target);
    return 1;
}

struct Change {
    std::string className;
    std::string entityName;
    int style;
    bool operator==(const Change& o) const
    {
        return className == o.className && entityName == o.entityName && style == o.style;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Change& c)
{
    return out << c.className << "/" << c.entityName << "/" << c.style;
}

// Records scene requests instead of performing them.
class FakeGame : public PXGame {
public:
    int Initialise() override { return 1; }
    void RunFrame(PXEventQueue&) override {}
    void ChangeScene(const std::string& className, const std::string& entityName, int style) override
    {
        changes.push_back(Change{className, entityName, style});
    }
    std::vector<Change> changes;
};

// Buttons 100 x 20 down the left edge; the priorities differ from the key order so that the
// element list is reordered when the type loads.
inline const char* const MenuKeys =
    "TransType 2\n"
    "NumGUIElements 2\n"
    "GUIElement1Ent probe, backdrop\nGUIElement1Priority 3\n"
    "GUIElement2Ent probe, title\nGUIElement2Priority 600\n"
    "QuitEnt probe, button\nQuitEntPos 10, 10\nQuitEntPriority 9\n"
    "WebPageEnt probe, button\nWebPageEntPos 10, 40\nWebPageEntPriority 4\n"
    "HighScoreEnt probe, button\nHighScoreEntPos 10, 70\n"
    "StartEasyGameEnt probe, button\nStartEasyGameEntPos 10, 100\nStartEasyGameEntPriority 7\n"
    "StartMediumGameEnt probe, button\nStartMediumGameEntPos 10, 130\nStartMediumGameEntPriority 1200\n"
    "StartHardGameEnt probe, button\nStartHardGameEntPos 10, 160\nStartHardGameEntPriority -2\n";

class MenuTest : public SpineTest {
protected:
    void SetUp() override
    {
        SpineTest::SetUp();
        ASSERT_TRUE(OpenGameScreen("menus"));
        g_entityRegistry = &registry;
        g_game = &game;
        g_difficulty = 1;
        PXRegisterGuiClasses(registry);
        RegisterElementClasses(registry);
        registry.RegisterPrototype(&g_mainMenuScenePrototype, "SFMainMenuScene");
        registry.RegisterPrototype(&g_instrMenuScenePrototype, "SFInstrMenuScene");
        Define("class = probe\ntype = button\nSize 100, 20\n");
        Define("class = probe\ntype = backdrop\nSize 640, 480\n");
        Define("class = probe\ntype = title\nSize 200, 40\n");
        Define("class = recorder\ntype = ver\nText 1\n");
        Define("class = testbox\ntype = taker\nSize 100, 50\nTakes 1\n");
        Opened().clear();
        m_previousHandler = SetDocumentHandler(RecordOpen);
        m_previousFolder = GetProgramFolder();
    }
    void TearDown() override
    {
        SetDocumentHandler(m_previousHandler);
        SetProgramFolder(m_previousFolder);
        scene.reset();
        registry.ClearTypes();
        g_difficulty = 1;
        SpineTest::TearDown();
    }
    void Define(const std::string& text) { DefineIn(registry, text); }
    // A new scene of class `className` from the given keys.
    template <typename Scene> Scene& Make(const std::string& className, const std::string& keys)
    {
        const std::string name = "m" + std::to_string(++m_scenes);
        Define("class = " + className + "\ntype = " + name + "\n" + keys);
        scene.reset(dynamic_cast<PXEntity2DScene*>(registry.CreateEntity(className, name, PXKind::Scene).release()));
        EXPECT_NE(dynamic_cast<Scene*>(scene.get()), nullptr);
        return *static_cast<Scene*>(scene.get());
    }
    SFEntityMainMenuScene& Menu(const std::string& keys = MenuKeys)
    {
        return Make<SFEntityMainMenuScene>("SFMainMenuScene", keys);
    }
    bool Click(int x, int y, int button = 1)
    {
        const PXPoint at{x, y};
        return scene->OnMouseUp(&at, button);
    }

    FakeGame game;
    PXEntityRegistry registry;
    std::unique_ptr<PXEntity2DScene> scene;

private:
    int m_scenes = 0;
    PXDocumentHandler m_previousHandler = nullptr;
    std::string m_previousFolder;
};

}  // namespace menutest
