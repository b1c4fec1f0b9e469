// Class "PXMessageBox": a dialog showing a text over a centred row of up to four buttons
// (OK, Yes, No, Cancel). It measures itself round its content, never smaller than 150 x 50,
// and closes with the chosen button's result (1 OK, 2 Yes, 3 No, 4 Cancel; 0 for Escape
// without Cancel or the close box; 99 on time-out). Keys: Left/Right/Tab move the focus
// between the shown buttons and Return or space presses the focused one (Return answers OK
// while no focus is shown); Y and N answer Yes and No, Escape Cancel.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/entity/PXEntityRef.h"
#include "engine/gui/PXEntityDialogBox.h"

class PXEntityMessageBoxType : public PXEntityDialogBoxType {
public:
    // Buttons in the order they are laid out and tried.
    enum Button { ButtonOK, ButtonYes, ButtonNo, ButtonCancel, ButtonCount };

    explicit PXEntityMessageBoxType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool IsA(uint32_t kind) const override;

    // The children: the text first, then the buttons in button order.
    PXEntity2DGUIElement* GetText() const { return GetChildAt(0); }
    PXEntity2DGUIElement* GetButton(int index) const { return GetChildAt(1 + static_cast<size_t>(index)); }
};

class PXEntityMessageBox : public PXEntityDialogBox {
public:
    static constexpr int32_t MinWidth = 150;
    static constexpr int32_t MinHeight = 50;
    // Space between buttons and between the text and the buttons.
    static constexpr int32_t Gap = 10;

    explicit PXEntityMessageBox(PXEntityBaseType* type);
    ~PXEntityMessageBox() override;

    bool Update(float elapsedMs) override;
    bool Draw() override;
    // Keeps the minimum size and lays out the text and the buttons inside it.
    void SetSize(int32_t width, int32_t height) override;
    bool DialogMouseUp(const PXPoint* point, int button) override;
    bool DialogKeyDown(int key) override;
    // Back answers as Escape does; other actions go to the focus.
    bool OnDialogAction(PXInputAction action) override;
    void SetMessage(const std::string& text) override;
    void SetButtons(int32_t style) override;

    const std::string& GetMessage() const { return m_message; }
    bool IsButtonShown(int index) const { return m_shown[static_cast<size_t>(index)]; }
    // Position of the text or a button relative to the dialog's client area.
    const PXPoint& GetTextOffset() const { return m_textPos; }
    const PXPoint& GetButtonOffset(int index) const { return m_buttonPos[static_cast<size_t>(index)]; }

private:
    PXEntityMessageBoxType* BoxType() const { return static_cast<PXEntityMessageBoxType*>(m_type); }
    void Resize();
    // Moves the children to the dialog position plus their offsets plus the client offset.
    void PlaceChildren();
    void Place(PXEntity2DGUIElement* child, const PXPoint& offset) const;
    // The shown buttons, in button order.
    PXFocusGroup::Elements FocusElements() const override;
    void OnFocusPressed(PXEntity2DGUIElement* element) override;
    // Closes with the result of the button at `index` (one of Button).
    void Answer(int index);

    std::string m_message;
    bool m_textShown = false;
    std::array<bool, PXEntityMessageBoxType::ButtonCount> m_shown{};
    int32_t m_textWidth = 0;
    int32_t m_textHeight = 0;
    int32_t m_buttonsWidth = 0;
    int32_t m_buttonsHeight = 0;
    PXPoint m_textPos;
    std::array<PXPoint, PXEntityMessageBoxType::ButtonCount> m_buttonPos{};
};

using PXEntityMessageBoxPrototype = PXEntityTypePrototypeFor<PXEntityMessageBoxType>;
