// Fuzz target: definition files for every class the game registers (GUI elements, fonts
// with their width rows, scenes and whatever the game adds), built into entities, loaded,
// given text and input, updated and drawn on a small headless screen.
//
// Input: definition blocks split at form feeds. With two parts or more, the last part is
// not a definition but the content of every file an element opens (text lists, sounds,
// image lists); every ".bmp" reads as one small generated picture.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXInputMap.h"
#include "engine/core/PXRandom.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntity2DScene.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/gui/PXEntity2DGUIFont.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXRecordingAudioDevice.h"
#include "fuzz/FuzzMemoryFiles.h"
#include "game/SFGame.h"
#include "engine/gui/PXPropertyIds.h"
#include "tests/support/EngineGlobals.h"
#include "tests/support/FakeSettingsManager.h"

namespace {

// Enough for every definition file of the game at once.
constexpr size_t MaxBlocks = 256;

// The game object, with its class registration reachable from outside.
class FuzzGame : public SFGame {
public:
    using SFGame::RegisterPrototypes;
};

// Text, pointer and key input for an element, taken from the definition text itself.
void Exercise(PXEntityBase& entity, const std::string& text)
{
    entity.GetType()->Load(false);
    entity.SetStringProperty(PXTextProp::Text, text);
    int32_t value = 0;
    for (int32_t id : {PXFontProp::CharWidth, PXFontProp::LineHeight, PXTextProp::Width, PXTextProp::Height})
        entity.GetProperty(id, &value);
    std::string out;
    entity.GetStringProperty(PXTextProp::GetText, &out);

    if (auto* element = dynamic_cast<PXEntity2DGUIElement*>(&entity)) {
        element->SetPosition({static_cast<int32_t>(text.size() % 300) - 20, 7});
        element->IsOver({10, 10});
        element->Click({10, 10});
        // The focus actions an element may take, and a press dragged past both sides.
        for (PXInputAction action : {PXInputAction::FocusLeft, PXInputAction::FocusRight, PXInputAction::PageUp,
                                     PXInputAction::PageDown, PXInputAction::Home, PXInputAction::End})
            element->OnInputAction(action);
        if (element->OnPointerDown({10, 10})) {
            element->OnPointerDrag({-5000, 10});
            element->OnPointerDrag({5000, 10});
            element->OnPointerUp({30, 10});
        }
    }
    if (auto* font = dynamic_cast<PXEntity2DGUIFont*>(&entity)) {
        font->DrawText(text, {40, 20}, 1 + static_cast<int32_t>(text.size() % 3), 200, nullptr);
        font->TextWidth(text, true);
        std::string fitted;
        font->FitText(&fitted, text, 90);
        std::vector<std::string> lines;
        const std::string indent = "  ";
        PXEntity2DGUIFont::WrapText(&lines, text, static_cast<int32_t>(text.size() % 40), &indent);
    }
    if (auto* scene = dynamic_cast<PXEntity2DScene*>(&entity)) {
        const PXPoint point{static_cast<int32_t>(text.size() * 7 % 640), 100};
        g_mouseX = point.x;
        g_mouseY = point.y;
        // A press held over a frame while the pointer moves, then released.
        g_leftButtonDown = 1;
        scene->OnMouseDown(&point, 1);
        g_mouseX = (point.x + 45) % 640;
        scene->Update(16.0f);
        g_leftButtonDown = 0;
        scene->OnMouseUp(&point, 1);
        const int keys[] = {'x', ' ', KeyArrowDown, KeyArrowLeft, KeyArrowRight, 8, 13, 27};
        for (int key : keys)
            scene->OnKeyDown(key), scene->OnKeyUp(key);
        if (!text.empty())
            scene->OnKeyAux(static_cast<unsigned char>(text[0]));
    }
    for (int frame = 0; frame < 3; ++frame) {
        entity.Update(16.0f);
        entity.Draw();
        g_screen->Present();
    }
    if (auto* scene = dynamic_cast<PXEntity2DScene*>(&entity))
        scene->DrawTop();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 16))
        return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\f', start);
        if (end == std::string::npos)
            end = input.size();
        parts.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    std::string files;
    const bool hasFiles = parts.size() > 1;
    if (hasFiles) {
        files = parts.back();
        parts.pop_back();
    }

    GlobalRandom().Seed(1);
    g_mouseX = 0;
    g_mouseY = 0;
    g_leftButtonDown = 0;
    g_rightButtonDown = 0;
    PXMemoryScreen2D screen;
    PXScreenDesc desc;
    desc.width = 640;
    desc.height = 480;
    desc.pixelFormat.bitsPerPixel = 16;
    screen.Create(&desc, "fuzz");
    PXFileSystem fileSystem;
    fileSystem.AddManager(std::make_unique<FuzzMemoryFiles>(reinterpret_cast<const uint8_t*>(files.data()),
                                                            files.size(), hasFiles),
                          "");
    PXResourceCache resources;
    PXDeviceSoundManager sound(std::make_unique<PXRecordingAudioDevice>());
    sound.Init(8);
    // Data folders that do not exist: nothing the game saves reaches the disk.
    FakeSettingsManager settings("/nonexistent-shardfall-fuzz/");
    {
        FuzzGame game;
        PXEntityRegistry registry;
        PublishEngineObjects({&game, &screen, &fileSystem, &resources, &sound, &settings, &registry});
        game.RegisterPrototypes(registry);

        // Each defined type with the text of its own block.
        std::vector<std::pair<PXEntityRef, const std::string*>> defined;
        for (size_t i = 0; i < parts.size() && i < MaxBlocks; ++i) {
            PXDefinitionBlock block;
            if (!block.LoadFromText(parts[i].data(), parts[i].size()))
                continue;
            if (const PXEntityRef* ref = registry.DefineType(block, false))
                defined.emplace_back(*ref, &parts[i]);
        }
        for (const auto& [ref, text] : defined) {
            std::unique_ptr<PXEntityBase> entity = registry.CreateEntity(ref, PXKind::Unknown);
            if (entity)
                Exercise(*entity, *text);
        }
        registry.ClearTypes();
        // The registry goes before the game does: its global must not outlive it.
        g_entityRegistry = nullptr;
    }
    ClearEngineGlobals();
    return 0;
}
