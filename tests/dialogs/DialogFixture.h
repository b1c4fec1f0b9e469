// Shared set-up for the dialog and high-score scene tests: a 640 x 480 headless screen, a
// registry with the GUI and dialog classes, a "probe" element (a box of a given size that
// takes clicks inside it and, as a text, lays out 8 x 12 pixels per character), a game
// object that records scene changes, and definitions written as text.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXGame.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXHighScore.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntity2DScene.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "engine/gui/PXDialogClasses.h"
#include "engine/gui/PXGuiClasses.h"

namespace dialogtest {

// "Size" (w, h); "Text" 1 makes the type answer "TEXT".
class ProbeType : public PXEntity2DGUIElementType {
public:
    explicit ProbeType(const PXDefinitionBlock* block) : PXEntity2DGUIElementType(block)
    {
        if (block != nullptr && block->FindKey("Size")) {
            block->ReadInts(size, 2);
        }
        int flag = 0;
        if (block != nullptr && block->FindKey("Text") && block->ReadInts(&flag, 1)) {
            text = flag != 0;
        }
    }
    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool IsA(uint32_t kind) const override
    {
        return (text && kind == PXKind::Text) || PXEntity2DGUIElementType::IsA(kind);
    }
    int size[2] = {0, 0};
    bool text = false;
};

inline std::vector<std::string>& DrawLog()
{
    static std::vector<std::string> log;
    return log;
}

class Probe : public PXEntity2DGUIElement {
public:
    explicit Probe(ProbeType* type) : PXEntity2DGUIElement(type)
    {
        m_width = type->size[0];
        m_height = type->size[1];
    }
    bool Draw() override
    {
        DrawLog().push_back(m_type->GetRef().typeName + "@" + std::to_string(m_x) + "," + std::to_string(m_y));
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
            *out = id == 0x506 ? 8 * static_cast<int32_t>(text.size()) : (text.empty() ? 0 : 12);
            return true;
        }
        return PXEntity2DGUIElement::GetProperty(id, out);
    }
    std::string text;
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

inline ProbePrototype s_probePrototype;

// Records what the scenes ask of the game.
class RecordingGame : public PXGame {
public:
    int Initialise() override { return 1; }
    void RunFrame(PXEventQueue&) override {}
    void ChangeScene(const std::string& className, const std::string& entityName, int style) override
    {
        changes.push_back(className + "/" + entityName + "/" + std::to_string(style));
    }
    std::vector<std::string> changes;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PXScreenDesc desc;
        desc.width = 640;
        desc.height = 480;
        desc.pixelFormat.bitsPerPixel = 16;
        ASSERT_EQ(1u, screen.Create(&desc, "dialogs"));
        g_screen = &screen;
        g_entityRegistry = &registry;
        g_game = &game;
        ASSERT_TRUE(PXRegisterGuiClasses(registry));
        ASSERT_TRUE(PXRegisterDialogClasses(registry));
        ASSERT_TRUE(registry.RegisterPrototype(&g_2DScenePrototype, "2DScene"));
        ASSERT_TRUE(registry.RegisterPrototype(&s_probePrototype, "probe"));
        MoveMouse(-100, -100);
        g_leftButtonDown = 0;
        DrawLog().clear();
    }

    void TearDown() override
    {
        entities.clear();
        registry.ClearTypes();
        g_entityRegistry = nullptr;
        g_screen = nullptr;
        g_game = nullptr;
    }

    // Defines a type from definition text; fails the test when nothing was defined.
    PXEntityRef Define(const std::string& text)
    {
        PXDefinitionBlock block;
        EXPECT_TRUE(block.LoadFromText(text.data(), text.size()));
        const PXEntityRef* ref = registry.DefineType(block, false);
        EXPECT_NE(nullptr, ref) << text;
        return ref != nullptr ? *ref : PXEntityRef{};
    }

    // A new entity of the type, kept alive by the fixture.
    template <typename T> T* Create(const PXEntityRef& ref, uint32_t kind)
    {
        std::unique_ptr<PXEntityBase> entity = registry.CreateEntity(ref, kind);
        T* typed = dynamic_cast<T*>(entity.get());
        EXPECT_NE(nullptr, typed) << ref.className << "/" << ref.typeName;
        if (typed != nullptr) {
            entities.push_back(std::move(entity));
        }
        return typed;
    }

    // A new entity that the caller hands on (to AddDialog).
    template <typename T> std::unique_ptr<T> Make(const PXEntityRef& ref, uint32_t kind)
    {
        std::unique_ptr<PXEntityBase> entity = registry.CreateEntity(ref, kind);
        T* typed = dynamic_cast<T*>(entity.get());
        EXPECT_NE(nullptr, typed) << ref.className << "/" << ref.typeName;
        if (typed == nullptr) {
            return nullptr;
        }
        entity.release();
        return std::unique_ptr<T>(typed);
    }

    static void MoveMouse(int32_t x, int32_t y)
    {
        g_mouseX = x;
        g_mouseY = y;
    }

    // Makes the whole frame drawable (drawing is clipped to the dirty list).
    void DirtyAll()
    {
        screen.ClearDirtyList();
        screen.InvalidateRect(PXRect{0, 640, 0, 480}, false);
    }

    PXMemoryScreen2D screen;
    PXEntityRegistry registry;
    RecordingGame game;
    std::vector<std::unique_ptr<PXEntityBase>> entities;
};

}  // namespace dialogtest
