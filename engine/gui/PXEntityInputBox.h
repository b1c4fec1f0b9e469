// A dialog asking for one line of text: instructions, a framed text field, OK and Cancel.
// OK (button or Return) closes it with result 3, Cancel (button or Escape) with 4; characters
// and the editing keys edit the field. Tab moves a focus between OK and Cancel; Return (or
// the pad's press) presses the focused one, OK while no focus is shown. It has a type but no
// registered class, so definitions cannot create it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/entity/PXEntityRef.h"
#include "engine/gui/PXEntityDialogBox.h"

class PXEntityInputBoxType : public PXEntityDialogBoxType {
public:
    // The children in drawing order.
    enum Child { Instructions, InputFrame, Input, OKButton, CancelButton, ChildCount };

    explicit PXEntityInputBoxType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool IsA(uint32_t kind) const override;

    PXEntity2DGUIElement* GetChild(int index) const { return GetChildAt(static_cast<size_t>(index)); }
};

class PXEntityInputBox : public PXEntityDialogBox {
public:
    static constexpr int32_t ResultOK = 3;
    static constexpr int32_t ResultCancel = 4;
    static constexpr int32_t Gap = 10;

    explicit PXEntityInputBox(PXEntityBaseType* type);
    ~PXEntityInputBox() override;

    bool Update(float elapsedMs) override;
    bool Draw() override;
    bool DialogMouseUp(const PXPoint* point, int button) override;
    bool DialogKeyDown(int key) override;
    // Press answers OK while no focus is shown, Back answers Cancel; others go to the focus.
    bool OnDialogAction(PXInputAction action) override;
    void SetPrompt(const std::string& prompt) override;
    void SetDefaultText(const std::string& text) override;
    void SetMaxLength(int32_t maxLength) override;

    const std::string& GetPrompt() const { return m_prompt; }
    const std::string& GetEnteredText() const { return m_text; }
    int32_t GetMaxLength() const { return m_maxLength; }

private:
    PXEntityInputBoxType* InputType() const { return static_cast<PXEntityInputBoxType*>(m_type); }
    // Instructions on top, the field (and its frame) below them, the buttons in a row under it.
    void LayOut();
    void PlaceChildren();
    PXFocusGroup::Elements FocusElements() const override;
    void OnFocusPressed(PXEntity2DGUIElement* element) override;

    std::string m_prompt;
    std::string m_text;
    int32_t m_maxLength = 256;
    std::array<PXPoint, PXEntityInputBoxType::ChildCount> m_offsets{};
};

using PXEntityInputBoxPrototype = PXEntityTypePrototypeFor<PXEntityInputBoxType>;
