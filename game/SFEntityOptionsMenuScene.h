// Class "SFOptionsMenuScene": the options screen. Music and effects volume and the key
// repeat on sliders, full screen and the swapped mouse buttons on plates that switch them,
// the keys and pad buttons of the five moves (press the plate, then the key or button to
// bind; Escape or the pad's Back cancels; a key another action holds is refused and the
// message line says which), "Restore Defaults", and Done or Back to the main menu. Every
// change takes effect at once and the game stores it; the look is all in the definition.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/core/PXInputMap.h"
#include "engine/entity/PXEntity2DScene.h"

class SFGame;

class SFEntityOptionsMenuSceneType : public PXEntity2DSceneType {
public:
    // The screen's own element records, in the order their keys are read (the focus order).
    // Each control is followed by the text written over it or beside it.
    enum Slot : size_t {
        MusicVolume,
        MusicVolumeText,
        EffectsVolume,
        EffectsVolumeText,
        KeyRepeat,
        KeyRepeatText,
        FullScreen,
        FullScreenText,
        SwapMouse,
        SwapMouseText,
        LeftKey,
        LeftKeyText,
        LeftPad,
        LeftPadText,
        RightKey,
        RightKeyText,
        RightPad,
        RightPadText,
        TurnKey,
        TurnKeyText,
        TurnPad,
        TurnPadText,
        DropKey,
        DropKeyText,
        DropPad,
        DropPadText,
        PauseKey,
        PauseKeyText,
        PausePad,
        PausePadText,
        Message,
        Defaults,
        Done,
        SlotCount
    };

    explicit SFEntityOptionsMenuSceneType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;

    // The slot's entity, or none when it is missing or could not be created.
    PXEntity2DGUIElement* GetSlotEntity(Slot slot);
    // The slot whose entity is `element`, or -1.
    int SlotOfElement(const PXEntity2DGUIElement* element) const;

private:
    std::array<int, SlotCount> m_slots;  // the base type's slot of each record
};

class SFEntityOptionsMenuScene : public PXEntity2DScene {
public:
    // One row of bindings: the play action and the slots of its key and pad plates (each
    // plate's text is the slot after it).
    struct BindingRow {
        PXInputAction action;
        SFEntityOptionsMenuSceneType::Slot key;
        SFEntityOptionsMenuSceneType::Slot pad;
    };
    static const std::array<BindingRow, 5> BindingRows;

    // What the screen is waiting for after a binding plate was pressed.
    enum class Capture { None, Key, Pad };

    explicit SFEntityOptionsMenuScene(SFEntityOptionsMenuSceneType* type);

    bool OnElementPressed(PXEntity2DGUIElement* element) override;
    bool OnElementChanged(PXEntity2DGUIElement* element) override;
    // While a binding waits, the next key binds (Escape cancels); otherwise Back leaves and
    // other keys move the focus.
    bool OnKeyDown(int key) override;
    // The same for pad buttons (Back cancels a wait).
    bool OnPadDown(int button) override;
    // A click anywhere ends a wait first.
    bool OnMouseUp(const PXPoint* point, int button) override;
    bool OnBack() override;

    Capture GetCapture() const { return m_capture; }
    PXInputAction GetCaptureAction() const { return m_captureAction; }
    const std::string& GetMessage() const { return m_message; }

    // The words the screen uses for a play action ("Left", "Sound on/off", ...).
    static const char* ActionWords(PXInputAction action);
    // The keys (or pad buttons) of a binding as the plates show them: "Space, Up".
    static std::string KeysText(const PXInputBinding& binding);
    static std::string PadsText(const PXInputBinding& binding);

private:
    SFEntityOptionsMenuSceneType* OptionsType() const { return static_cast<SFEntityOptionsMenuSceneType*>(m_type); }
    static SFGame* Game();
    // Writes every control and text from the game's state.
    void Refresh();
    void SetText(SFEntityOptionsMenuSceneType::Slot slot, const std::string& text);
    void SetSlider(SFEntityOptionsMenuSceneType::Slot slot, int32_t value);
    void ShowMessage(const std::string& text);
    void StartCapture(Capture capture, PXInputAction action);
    void EndCapture(const std::string& message);
    // The key or pad button the wait was for: bound when it is free, refused with a message
    // when another play action holds it; Escape (or the pad's Back) ends the wait.
    void BindCaptured(int32_t code);
    void RestoreDefaults();
    // Applies and stores the options after a change.
    void OptionsChanged();

    Capture m_capture = Capture::None;
    PXInputAction m_captureAction = PXInputAction::None;
    std::string m_message;
};

class SFEntityOptionsMenuScenePrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override;
};

// The prototype registered as class "SFOptionsMenuScene".
extern SFEntityOptionsMenuScenePrototype g_optionsMenuScenePrototype;
