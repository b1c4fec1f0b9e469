// The input box: its shared children, layout, typing into the field and its two results.
#include "engine/gui/PXEntityInputBox.h"

#include <algorithm>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXInputMap.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/gui/PXEntity2DGUIText.h"
#include "engine/gui/PXEntityDialogFrame.h"
#include "engine/gui/PXPropertyIds.h"

namespace {

// Size of a child once it has updated: a text reports its laid-out text, others their box.
PXPoint ChildSize(PXEntity2DGUIElement* child)
{
    if (child == nullptr) {
        return PXPoint{};
    }
    child->Update(0.0f);
    int32_t w = child->GetWidth();
    int32_t h = child->GetHeight();
    if (child->GetType()->IsA(PXKind::Text)) {
        child->GetProperty(PXTextProp::Width, &w);
        child->GetProperty(PXTextProp::Height, &h);
    }
    return PXPoint{w, h};
}

}  // namespace

PXEntityInputBoxType::PXEntityInputBoxType(const PXDefinitionBlock* block) : PXEntityDialogBoxType(block)
{
    static const char* const keys[ChildCount] = {"InstructionsEnt", "InputFrameEnt", "InputEnt",
                                                 "OKButtonEnt", "CancelButtonEnt"};
    ReadChildRefs(block, keys, ChildCount);
}

std::unique_ptr<PXEntityBase> PXEntityInputBoxType::CreateEntity()
{
    return std::make_unique<PXEntityInputBox>(this);
}

bool PXEntityInputBoxType::IsA(uint32_t kind) const
{
    return kind == PXKind::InputBox || PXEntityDialogBoxType::IsA(kind);
}

PXEntityInputBox::PXEntityInputBox(PXEntityBaseType* type) : PXEntityDialogBox(type)
{
    InputType()->Load(false);
    if (PXEntity2DGUIElement* input = InputType()->GetChild(PXEntityInputBoxType::Input)) {
        input->SetProperty(PXTextProp::Editing, 1);
    }
}

PXEntityInputBox::~PXEntityInputBox()
{
    // The buttons belong to the type, which every box of it shares.
    m_focus.Release(FocusElements());
}

void PXEntityInputBox::SetPrompt(const std::string& prompt)
{
    InputType()->Load(false);
    m_prompt = prompt;
    if (PXEntity2DGUIElement* instructions = InputType()->GetChild(PXEntityInputBoxType::Instructions)) {
        instructions->SetStringProperty(PXTextProp::Text, prompt);
    }
    LayOut();
}

void PXEntityInputBox::SetDefaultText(const std::string& text)
{
    InputType()->Load(false);
    m_text = text.substr(0, static_cast<size_t>(std::max(m_maxLength, 0)));
    if (PXEntity2DGUIElement* input = InputType()->GetChild(PXEntityInputBoxType::Input)) {
        input->SetStringProperty(PXTextProp::Text, m_text);
        input->SetProperty(PXTextProp::Editing, 1);
    }
    LayOut();
}

void PXEntityInputBox::SetMaxLength(int32_t maxLength)
{
    m_maxLength = std::max(maxLength, 0);
    if (m_text.size() > static_cast<size_t>(m_maxLength)) {
        SetDefaultText(m_text);
    }
    if (PXEntity2DGUIElement* input = InputType()->GetChild(PXEntityInputBoxType::Input)) {
        input->SetProperty(PXTextProp::MaxLength, m_maxLength);
    }
}

void PXEntityInputBox::LayOut()
{
    PXEntityInputBoxType* type = InputType();
    const PXPoint prompt = ChildSize(type->GetChild(PXEntityInputBoxType::Instructions));
    const PXPoint field = ChildSize(type->GetChild(PXEntityInputBoxType::InputFrame));
    const PXPoint ok = ChildSize(type->GetChild(PXEntityInputBoxType::OKButton));
    const PXPoint cancel = ChildSize(type->GetChild(PXEntityInputBoxType::CancelButton));
    const int32_t fieldTop = prompt.y > 0 ? prompt.y + Gap : 0;
    const int32_t buttonsTop = fieldTop + field.y + Gap;
    const int32_t buttonsWidth = ok.x + cancel.x + (ok.x > 0 && cancel.x > 0 ? Gap : 0);
    const int32_t contentWidth = std::max({prompt.x, field.x, buttonsWidth});
    const int32_t contentHeight = buttonsTop + std::max(ok.y, cancel.y);

    m_offsets[PXEntityInputBoxType::Instructions] = PXPoint{0, 0};
    m_offsets[PXEntityInputBoxType::InputFrame] = PXPoint{0, fieldTop};
    // The text sits a little inside its frame.
    m_offsets[PXEntityInputBoxType::Input] = PXPoint{3, fieldTop + 2};
    const int32_t buttonsLeft = (contentWidth - buttonsWidth) / 2;
    m_offsets[PXEntityInputBoxType::OKButton] = PXPoint{buttonsLeft, buttonsTop};
    m_offsets[PXEntityInputBoxType::CancelButton] =
        PXPoint{buttonsLeft + ok.x + (ok.x > 0 ? Gap : 0), buttonsTop};

    const PXEntityDialogFrame* frame = GetFrame();
    const int32_t extraWidth = frame != nullptr ? frame->GetExtraWidth() : 0;
    const int32_t extraHeight = frame != nullptr ? frame->GetExtraHeight() : 0;
    SetSize(std::max(contentWidth + extraWidth, m_width), std::max(contentHeight + extraHeight, m_height));
}

void PXEntityInputBox::PlaceChildren()
{
    const PXPoint c = GetClientOffset();
    for (int i = 0; i < PXEntityInputBoxType::ChildCount; ++i) {
        if (PXEntity2DGUIElement* child = InputType()->GetChild(i)) {
            const PXPoint& offset = m_offsets[static_cast<size_t>(i)];
            child->SetPosition({m_x + offset.x + c.x, m_y + offset.y + c.y});
        }
    }
}

bool PXEntityInputBox::Update(float elapsedMs)
{
    InputType()->Load(false);
    PlaceChildren();
    for (int i = 0; i < PXEntityInputBoxType::ChildCount; ++i) {
        if (PXEntity2DGUIElement* child = InputType()->GetChild(i)) {
            child->Update(elapsedMs);
        }
    }
    return PXEntityDialogBox::Update(elapsedMs);
}

bool PXEntityInputBox::Draw()
{
    InputType()->Load(false);
    PXEntityDialogBox::Draw();
    PlaceChildren();
    for (int i = 0; i < PXEntityInputBoxType::ChildCount; ++i) {
        PXEntity2DGUIElement* child = InputType()->GetChild(i);
        if (child != nullptr && child->IsVisible()) {
            child->Draw();
        }
    }
    return true;
}

bool PXEntityInputBox::DialogMouseUp(const PXPoint* point, int button)
{
    if (point != nullptr) {
        PXEntity2DGUIElement* ok = InputType()->GetChild(PXEntityInputBoxType::OKButton);
        PXEntity2DGUIElement* cancel = InputType()->GetChild(PXEntityInputBoxType::CancelButton);
        if (ok != nullptr && ok->Click(*point)) {
            CloseWithResult(ResultOK);
        } else if (cancel != nullptr && cancel->Click(*point)) {
            CloseWithResult(ResultCancel);
        }
    }
    return PXEntityDialogBox::DialogMouseUp(point, button);
}

PXFocusGroup::Elements PXEntityInputBox::FocusElements() const
{
    PXFocusGroup::Elements elements;
    for (int child : {PXEntityInputBoxType::OKButton, PXEntityInputBoxType::CancelButton}) {
        if (PXEntity2DGUIElement* button = InputType()->GetChild(child)) {
            elements.push_back(button);
        }
    }
    return elements;
}

void PXEntityInputBox::OnFocusPressed(PXEntity2DGUIElement* element)
{
    CloseWithResult(element == InputType()->GetChild(PXEntityInputBoxType::CancelButton) ? ResultCancel : ResultOK);
}

bool PXEntityInputBox::OnDialogAction(PXInputAction action)
{
    if (action == PXInputAction::Press && !m_focus.IsShown()) {
        CloseWithResult(ResultOK);
        return true;
    }
    if (action == PXInputAction::Back) {
        CloseWithResult(ResultCancel);
        return true;
    }
    return PXEntityDialogBox::OnDialogAction(action);
}

bool PXEntityInputBox::DialogKeyDown(int key)
{
    PXEntityDialogBox::DialogKeyDown(key);
    // Characters type (space included); of the other keys, those of the dialog's actions act
    // and the rest (Backspace, the arrows) edit the field.
    const PXInputAction action =
        PXEntity2DGUIText::IsCharacterKey(key) ? PXInputAction::None : g_inputMap.ForKey(PXInputContext::Menu, key);
    if (action == PXInputAction::Press || action == PXInputAction::Back || action == PXInputAction::FocusNext ||
        action == PXInputAction::FocusPrevious) {
        OnDialogAction(action);
        return true;
    }
    PXEntity2DGUIElement* input = InputType()->GetChild(PXEntityInputBoxType::Input);
    auto* editor = dynamic_cast<PXEntity2DGUIText*>(input);
    if (editor != nullptr && input->GetType()->IsA(PXKind::Text)) {
        input->SetProperty(PXTextProp::MaxLength, m_maxLength);
        editor->OnTextKey(key);
        input->GetStringProperty(PXTextProp::GetText, &m_text);
    }
    return true;
}
