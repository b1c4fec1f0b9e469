// Shared fixture for the GUI tests: a 640 x 480 headless screen published as g_screen, a
// registry with the GUI classes, definitions written as text, synthetic mouse state and a
// tooltip host that records what it was asked to show.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/gui/PXGuiClasses.h"

struct ToolTipRequest {
    PXEntity2DGUIElement* owner;
    int32_t x;
    int32_t y;
    std::string text;
};

class RecordingToolTipHost : public PXToolTipHost {
public:
    void ShowToolTip(PXEntity2DGUIElement* owner, int32_t x, int32_t y, const std::string& text) override
    {
        requests.push_back(ToolTipRequest{owner, x, y, text});
    }
    std::vector<ToolTipRequest> requests;
};

class GuiTest : public ::testing::Test {
protected:
    static RecordingToolTipHost*& Host()
    {
        static RecordingToolTipHost* host = nullptr;
        return host;
    }
    static PXToolTipHost* FindHost() { return Host(); }

    void SetUp() override
    {
        PXScreenDesc desc;
        desc.width = 640;
        desc.height = 480;
        desc.pixelFormat.bitsPerPixel = 16;
        ASSERT_EQ(1u, screen.Create(&desc, "gui"));
        g_screen = &screen;
        g_entityRegistry = &registry;
        ASSERT_TRUE(PXRegisterGuiClasses(registry));
        g_mouseX = -100;
        g_mouseY = -100;
        g_leftButtonDown = 0;
        Host() = &host;
        g_toolTipHostFinder = &GuiTest::FindHost;
    }

    void TearDown() override
    {
        entities.clear();
        registry.ClearTypes();
        g_toolTipHostFinder = nullptr;
        Host() = nullptr;
        g_entityRegistry = nullptr;
        g_screen = nullptr;
    }

    // Defines a type from definition text; fails the test when nothing was defined.
    PXEntityRef Define(const std::string& text)
    {
        PXDefinitionBlock block;
        EXPECT_TRUE(block.LoadFromText(text.data(), text.size()));
        const PXEntityRef* ref = registry.DefineType(block, false);
        EXPECT_NE(nullptr, ref) << text;
        return ref ? *ref : PXEntityRef{};
    }

    // A new entity of the type, kept alive by the fixture, cast to the class the test expects.
    template <typename T>
    T* Create(const PXEntityRef& ref, uint32_t kind = PXKind::GuiElement)
    {
        std::unique_ptr<PXEntityBase> entity = registry.CreateEntity(ref, kind);
        EXPECT_NE(nullptr, entity);
        T* typed = dynamic_cast<T*>(entity.get());
        EXPECT_NE(nullptr, typed);
        entities.push_back(std::move(entity));
        return typed;
    }

    void MoveMouse(int32_t x, int32_t y)
    {
        g_mouseX = x;
        g_mouseY = y;
    }

    PXMemoryScreen2D screen;
    PXEntityRegistry registry;
    RecordingToolTipHost host;
    std::vector<std::unique_ptr<PXEntityBase>> entities;
};
