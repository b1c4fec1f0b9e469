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
    template <typename T> T* Create(const PXEntityRef& ref, uint32_t kind = PXKind::GuiElement)
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

#include <map>

#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXRecordingAudioDevice.h"
#include "tests/support/HostFileManager.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/RecordedPlays.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

// 5-5-5 pixel from 5-bit channels.
constexpr uint16_t Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return static_cast<uint16_t>((r << 10) | (g << 5) | b);
}

// Adds data files in a temporary folder reached through g_fileSystem, the resource cache as
// g_resources and a sound manager on the recording device as g_soundManager.
class GuiFilesTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        ASSERT_EQ(1, files.AddManager(MakeHostFileManager(), dir.Folder()));
        g_fileSystem = &files;
        g_settings = &settings;
        auto owned = std::make_unique<PXRecordingAudioDevice>();
        device = owned.get();
        sounds = std::make_unique<PXDeviceSoundManager>(std::move(owned));
        ASSERT_EQ(1, sounds->Init(0));
        g_soundManager = sounds.get();
        cache = std::make_unique<PXResourceCache>();
        g_resources = cache.get();
    }

    void TearDown() override
    {
        // Types give their images and sounds back before the cache goes.
        GuiTest::TearDown();
        cache.reset();
        g_resources = nullptr;
        g_soundManager = nullptr;
        sounds.reset();
        g_settings = nullptr;
        g_fileSystem = nullptr;
    }

    void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        dir.Write(name, std::string(bytes.begin(), bytes.end()));
    }

    // A 24-bit bitmap whose pixels convert exactly to the given 5-5-5 values.
    void WriteImage(const std::string& name, int32_t w, int32_t h, const std::vector<uint16_t>& pixels)
    {
        imagefiles::Bmp bmp;
        bmp.width = w;
        bmp.height = h;
        bmp.depth = 24;
        for (int32_t y = 0; y < h; ++y) {
            std::vector<uint8_t> row;
            for (int32_t x = 0; x < w; ++x) {
                const uint16_t p = pixels[static_cast<size_t>(y * w + x)];
                row.push_back(static_cast<uint8_t>((p & 0x1F) << 3));
                row.push_back(static_cast<uint8_t>(((p >> 5) & 0x1F) << 3));
                row.push_back(static_cast<uint8_t>(((p >> 10) & 0x1F) << 3));
            }
            bmp.rows.push_back(row);
        }
        WriteFile(name, imagefiles::BuildBmp(bmp));
    }

    void WriteSolidImage(const std::string& name, int32_t w, int32_t h, uint16_t pixel)
    {
        WriteImage(name, w, h, std::vector<uint16_t>(static_cast<size_t>(w * h), pixel));
    }

    // An 8-bit bitmap whose indices are the mask values (grey palette).
    void WriteMask(const std::string& name, int32_t w, int32_t h, const std::vector<uint8_t>& values)
    {
        imagefiles::Bmp bmp;
        bmp.width = w;
        bmp.height = h;
        bmp.depth = 8;
        bmp.coloursUsed = 256;
        for (int i = 0; i < 256; ++i)
            bmp.palette.insert(bmp.palette.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
        for (int32_t y = 0; y < h; ++y)
            bmp.rows.emplace_back(values.begin() + y * w, values.begin() + (y + 1) * w);
        WriteFile(name, imagefiles::BuildBmp(bmp));
    }

    // An image list of solid frames, each w x h in one 5-5-5 colour.
    struct Frame {
        uint32_t w;
        uint32_t h;
        uint16_t pixel;
    };
    void WriteList(const std::string& name, const std::vector<Frame>& frames)
    {
        imagefiles::List list;
        for (size_t i = 0; i < frames.size(); ++i) {
            imagefiles::ListEntry e;
            e.name = "f" + std::to_string(i);
            e.depth = 8;
            e.width = frames[i].w;
            e.height = frames[i].h;
            const uint16_t p = frames[i].pixel;
            e.palette = {uint8_t(((p >> 10) & 0x1F) << 3), uint8_t(((p >> 5) & 0x1F) << 3),
                         uint8_t((p & 0x1F) << 3), 255};
            e.paletteCount = 1;
            e.pixels.assign(static_cast<size_t>(e.width * e.height), 0);
            list.entries.push_back(e);
        }
        WriteFile(name, imagefiles::BuildList(list));
    }

    // A sound whose sample count identifies it in the device's buffers.
    void WriteSound(const std::string& name, size_t samples)
    {
        WriteFile(name, WaveBuilder().Format(1, 8000, 8).Data(std::vector<uint8_t>(samples, 128)).Bytes());
    }

    // How many voices were started on the buffer of the sound with this many samples.
    int PlaysOf(size_t samples) const { return RecordedPlays(*device, samples); }

    uint16_t Pixel(int32_t x, int32_t y) const { return screen.GetPixel(x, y); }

    void ClearScreen()
    {
        for (int32_t y = 0; y < 480; ++y)
            for (int32_t x = 0; x < 640; ++x)
                screen.SetPixel(x, y, 0);
    }

    // Makes the whole frame drawable again (drawing is clipped to the dirty list).
    void DirtyAll()
    {
        screen.ClearDirtyList();
        screen.InvalidateRect(PXRect{0, 640, 0, 480}, false);
    }

    TempDir dir;
    PXFileSystem files;
    FakeSettingsManager settings{dir.Folder()};
    PXRecordingAudioDevice* device = nullptr;
    std::unique_ptr<PXDeviceSoundManager> sounds;
    std::unique_ptr<PXResourceCache> cache;
};
