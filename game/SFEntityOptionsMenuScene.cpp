// The options screen: its element records, the controls' values and the binding of keys
// and pad buttons.
#include "game/SFEntityOptionsMenuScene.h"

#include <algorithm>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGame.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXKeyNames.h"
#include "engine/graphics/PXScreen2D.h"
#include "engine/gui/PXEntity2DGUISlider.h"
#include "engine/gui/PXPropertyIds.h"
#include "game/SFGame.h"
#include "game/SFOptions.h"

SFEntityOptionsMenuScenePrototype g_optionsMenuScenePrototype;

using Options = SFEntityOptionsMenuSceneType;

namespace {

// Definition key prefixes, one per slot and in slot order.
constexpr const char* SlotPrefixes[Options::SlotCount] = {
    "MusicVolume", "MusicVolumeText", "EffectsVolume", "EffectsVolumeText", "KeyRepeat", "KeyRepeatText",
    "FullScreen",  "FullScreenText",  "SwapMouse",     "SwapMouseText",     "LeftKey",   "LeftKeyText",
    "LeftPad",     "LeftPadText",     "RightKey",      "RightKeyText",      "RightPad",  "RightPadText",
    "TurnKey",     "TurnKeyText",     "TurnPad",       "TurnPadText",       "DropKey",   "DropKeyText",
    "DropPad",     "DropPadText",     "PauseKey",      "PauseKeyText",      "PausePad",  "PausePadText",
    "Message",     "Defaults",        "Done"};

// What a plate shows while it waits for its key or button.
constexpr const char* Waiting = "...";

template <typename Slots, typename Name>
std::string JoinNames(const Slots& slots, Name name)
{
    std::string text;
    for (int32_t code : slots) {
        if (code != 0) {
            text += (text.empty() ? "" : ", ") + name(code);
        }
    }
    return text.empty() ? "-" : text;
}

}  // namespace

const std::array<SFEntityOptionsMenuScene::BindingRow, 5> SFEntityOptionsMenuScene::BindingRows = {{
    {PXInputAction::MoveLeft, Options::LeftKey, Options::LeftPad},
    {PXInputAction::MoveRight, Options::RightKey, Options::RightPad},
    {PXInputAction::Turn, Options::TurnKey, Options::TurnPad},
    {PXInputAction::Drop, Options::DropKey, Options::DropPad},
    {PXInputAction::Pause, Options::PauseKey, Options::PausePad},
}};

SFEntityOptionsMenuSceneType::SFEntityOptionsMenuSceneType(const PXDefinitionBlock* block)
    : PXEntity2DSceneType(block)
{
    m_slots.fill(-1);
    if (block == nullptr) {
        return;
    }
    AddSlots(SlotPrefixes, SlotCount, *block, m_slots.data());
}

std::unique_ptr<PXEntityBase> SFEntityOptionsMenuSceneType::CreateEntity()
{
    return std::make_unique<SFEntityOptionsMenuScene>(this);
}

PXEntity2DGUIElement* SFEntityOptionsMenuSceneType::GetSlotEntity(Slot slot)
{
    return slot < SlotCount ? SlotEntity(m_slots[slot]) : nullptr;
}

int SFEntityOptionsMenuSceneType::SlotOfElement(const PXEntity2DGUIElement* element) const
{
    return IndexOfSlot(element, m_slots.data(), SlotCount);
}

std::unique_ptr<PXEntityBaseType> SFEntityOptionsMenuScenePrototype::CreateType(const PXDefinitionBlock* block) const
{
    return std::make_unique<SFEntityOptionsMenuSceneType>(block);
}

SFEntityOptionsMenuScene::SFEntityOptionsMenuScene(SFEntityOptionsMenuSceneType* type) : PXEntity2DScene(type)
{
    Refresh();
}

SFGame* SFEntityOptionsMenuScene::Game() { return dynamic_cast<SFGame*>(g_game); }

const char* SFEntityOptionsMenuScene::ActionWords(PXInputAction action)
{
    switch (action) {
    case PXInputAction::MoveLeft:
        return "Left";
    case PXInputAction::MoveRight:
        return "Right";
    case PXInputAction::Turn:
        return "Turn";
    case PXInputAction::Drop:
        return "Drop";
    case PXInputAction::Pause:
        return "Pause";
    case PXInputAction::Quit:
        return "Quit";
    case PXInputAction::ToggleSound:
        return "Sound on/off";
    case PXInputAction::SwapControls:
        return "Swap mouse buttons";
    default:
        return "another action";
    }
}

std::string SFEntityOptionsMenuScene::KeysText(const PXInputBinding& binding)
{
    return JoinNames(binding.keys, PXKeyName);
}

std::string SFEntityOptionsMenuScene::PadsText(const PXInputBinding& binding)
{
    return JoinNames(binding.pads, PXPadButtonName);
}

void SFEntityOptionsMenuScene::SetText(Options::Slot slot, const std::string& text)
{
    if (PXEntity2DGUIElement* element = OptionsType()->GetSlotEntity(slot)) {
        element->SetStringProperty(PXTextProp::Text, text);
    }
}

void SFEntityOptionsMenuScene::SetSlider(Options::Slot slot, int32_t value)
{
    if (auto* slider = dynamic_cast<PXEntity2DGUISlider*>(OptionsType()->GetSlotEntity(slot))) {
        slider->SetValue(value, false);
    }
}

void SFEntityOptionsMenuScene::Refresh()
{
    SFGame* game = Game();
    const SFOptions options = game != nullptr ? game->GetOptions() : SFOptions();
    SetSlider(Options::MusicVolume, options.musicVolume);
    SetText(Options::MusicVolumeText, std::to_string(options.musicVolume) + "%");
    SetSlider(Options::EffectsVolume, options.effectsVolume);
    SetText(Options::EffectsVolumeText, std::to_string(options.effectsVolume) + "%");
    const size_t step = SFOptions::NearestKeyRepeatStep(g_keyRepeatDelay);
    SetSlider(Options::KeyRepeat, static_cast<int32_t>(step));
    SetText(Options::KeyRepeatText, SFOptions::KeyRepeatName(step));
    const bool fullScreen = g_screen != nullptr ? g_screen->IsFullScreen() : game != nullptr && game->GetFullScreen() != 0;
    SetText(Options::FullScreenText, fullScreen ? "On" : "Off");
    SetText(Options::SwapMouseText, game != nullptr && game->GetSwapControls() != 0 ? "On" : "Off");
    for (const BindingRow& row : BindingRows) {
        const PXInputBinding* binding = g_inputMap.Find(PXInputContext::Play, row.action);
        if (binding == nullptr) {
            continue;
        }
        const bool waiting = row.action == m_captureAction;
        SetText(static_cast<Options::Slot>(row.key + 1),
                waiting && m_capture == Capture::Key ? Waiting : KeysText(*binding));
        SetText(static_cast<Options::Slot>(row.pad + 1),
                waiting && m_capture == Capture::Pad ? Waiting : PadsText(*binding));
    }
    SetText(Options::Message, m_message);
}

void SFEntityOptionsMenuScene::ShowMessage(const std::string& text)
{
    m_message = text;
    SetText(Options::Message, m_message);
}

void SFEntityOptionsMenuScene::OptionsChanged()
{
    if (SFGame* game = Game()) {
        game->ApplyOptions();
    }
    Refresh();
}

bool SFEntityOptionsMenuScene::OnElementChanged(PXEntity2DGUIElement* element)
{
    auto* slider = dynamic_cast<PXEntity2DGUISlider*>(element);
    SFGame* game = Game();
    if (slider == nullptr || game == nullptr) {
        return false;
    }
    SFOptions& options = game->GetOptions();
    const int32_t value = slider->GetValue();
    switch (OptionsType()->SlotOfElement(element)) {
    case Options::MusicVolume:
        options.musicVolume = std::clamp(value, 0, 100);
        break;
    case Options::EffectsVolume:
        options.effectsVolume = std::clamp(value, 0, 100);
        break;
    case Options::KeyRepeat: {
        const int32_t last = static_cast<int32_t>(SFOptions::KeyRepeatDelays.size()) - 1;
        options.keyRepeatDelay = SFOptions::KeyRepeatDelays[static_cast<size_t>(std::clamp(value, 0, last))];
        break;
    }
    default:
        return false;
    }
    OptionsChanged();
    return true;
}

bool SFEntityOptionsMenuScene::OnElementPressed(PXEntity2DGUIElement* element)
{
    int slot = OptionsType()->SlotOfElement(element);
    if (slot < 0) {
        return false;
    }
    // A text over a plate presses the plate.
    switch (slot) {
    case Options::FullScreenText:
    case Options::SwapMouseText:
    case Options::LeftKeyText:
    case Options::LeftPadText:
    case Options::RightKeyText:
    case Options::RightPadText:
    case Options::TurnKeyText:
    case Options::TurnPadText:
    case Options::DropKeyText:
    case Options::DropPadText:
    case Options::PauseKeyText:
    case Options::PausePadText:
        --slot;
        break;
    default:
        break;
    }
    SFGame* game = Game();
    switch (slot) {
    case Options::FullScreen:
        if (game != nullptr) {
            game->ToggleFullScreen();
        }
        Refresh();
        return true;
    case Options::SwapMouse:
        if (game != nullptr) {
            game->SetSwapControls(game->GetSwapControls() != 0 ? 0 : 1);
        }
        Refresh();
        return true;
    case Options::Defaults:
        RestoreDefaults();
        return true;
    case Options::Done:
        return OnBack();
    default:
        break;
    }
    for (const BindingRow& row : BindingRows) {
        if (slot == static_cast<int>(row.key) || slot == static_cast<int>(row.pad)) {
            StartCapture(slot == static_cast<int>(row.key) ? Capture::Key : Capture::Pad, row.action);
            return true;
        }
    }
    return false;
}

void SFEntityOptionsMenuScene::StartCapture(Capture capture, PXInputAction action)
{
    m_capture = capture;
    m_captureAction = action;
    m_message = capture == Capture::Key
                    ? std::string("Press a key for ") + ActionWords(action) + " (Escape cancels)"
                    : std::string("Press a pad button for ") + ActionWords(action) + " (Back cancels)";
    Refresh();
}

void SFEntityOptionsMenuScene::EndCapture(const std::string& message)
{
    m_capture = Capture::None;
    m_captureAction = PXInputAction::None;
    m_message = message;
    Refresh();
}

void SFEntityOptionsMenuScene::BindCaptured(int32_t code)
{
    const bool key = m_capture == Capture::Key;
    const PXInputAction action = m_captureAction;
    if (code == (key ? static_cast<int32_t>(KeyEscape) : static_cast<int32_t>(PadBack))) {
        EndCapture("");
        return;
    }
    const std::string retry =
        key ? ". Press another key, or Escape to cancel." : ". Press another button, or Back to cancel.";
    if (key && code == KeyF7) {
        ShowMessage("F7 switches full screen" + retry);
        return;
    }
    auto bind = [&](size_t slot, int32_t value, PXInputAction* holder) {
        return key ? g_inputMap.BindKey(PXInputContext::Play, action, slot, value, holder)
                   : g_inputMap.BindPad(PXInputContext::Play, action, slot, value, holder);
    };
    const std::string name = key ? PXKeyName(PXInputMap::NormalizeKey(code)) : PXPadButtonName(code);
    PXInputAction holder = PXInputAction::None;
    if (!bind(0, code, &holder)) {
        ShowMessage(name + " is already used for " + ActionWords(holder) + retry);
        return;
    }
    // The new key (or button) is the action's only one.
    const size_t slots = key ? PXInputBinding::KeySlots : PXInputBinding::PadSlots;
    for (size_t slot = 1; slot < slots; ++slot) {
        bind(slot, 0, nullptr);
    }
    m_capture = Capture::None;
    m_captureAction = PXInputAction::None;
    m_message = std::string(ActionWords(action)) + (key ? " is now " : " is now pad ") + name;
    OptionsChanged();
}

void SFEntityOptionsMenuScene::RestoreDefaults()
{
    m_capture = Capture::None;
    m_captureAction = PXInputAction::None;
    SFGame* game = Game();
    if (game == nullptr) {
        g_inputMap.RestoreDefaults();
        ShowMessage("Every choice is back to its default");
        Refresh();
        return;
    }
    game->GetOptions().RestoreDefaults();
    game->SetSwapControls(0);
    // The game starts in full screen unless told otherwise.
    const bool fullScreen = g_screen != nullptr ? g_screen->IsFullScreen() : game->GetFullScreen() != 0;
    if (!fullScreen) {
        game->ToggleFullScreen();
    }
    m_message = "Every choice is back to its default";
    OptionsChanged();
}

bool SFEntityOptionsMenuScene::OnKeyDown(int key)
{
    if (m_capture == Capture::Key) {
        BindCaptured(key);
        return true;
    }
    if (m_capture == Capture::Pad) {
        // The keyboard can still call a pad wait off.
        if (key == KeyEscape) {
            EndCapture("");
        }
        return true;
    }
    if (key == KeyF7) {
        // The game switched the screen before the scene heard the key.
        Refresh();
        return true;
    }
    if (g_inputMap.ForKey(PXInputContext::Menu, key) == PXInputAction::Back) {
        return OnBack();
    }
    return PXEntity2DScene::OnKeyDown(key);
}

bool SFEntityOptionsMenuScene::OnPadDown(int button)
{
    if (m_capture == Capture::Pad) {
        BindCaptured(button);
        return true;
    }
    if (m_capture == Capture::Key) {
        if (button == PadBack) {
            EndCapture("");
        }
        return true;
    }
    return PXEntity2DScene::OnPadDown(button);
}

bool SFEntityOptionsMenuScene::OnMouseUp(const PXPoint* point, int button)
{
    if (m_capture != Capture::None) {
        EndCapture("");
    }
    return PXEntity2DScene::OnMouseUp(point, button);
}

bool SFEntityOptionsMenuScene::OnBack()
{
    if (m_capture != Capture::None) {
        EndCapture("");
        return true;
    }
    if (g_game != nullptr) {
        g_game->ChangeScene("SFMainMenuScene", "mainmenu", SceneType()->GetTransitionStyle());
    }
    return true;
}
