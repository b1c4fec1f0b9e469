// The message box: its shared child entities, measuring and layout, and button and key
// answers.
#include "engine/gui/PXEntityMessageBox.h"

#include <algorithm>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXInputMap.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/gui/PXEntityDialogFrame.h"
#include "engine/gui/PXPropertyIds.h"

namespace {

// Result of each button, in button order.
constexpr int32_t ButtonResults[PXEntityMessageBoxType::ButtonCount] = {1, 2, 3, 4};
constexpr int32_t EscapeResult = 0;

}  // namespace

PXEntityMessageBoxType::PXEntityMessageBoxType(const PXDefinitionBlock* block) : PXEntityDialogBoxType(block)
{
    static const char* const keys[1 + ButtonCount] = {"TextEnt", "OKButtonEnt", "YesButtonEnt", "NoButtonEnt",
                                                      "CancelButtonEnt"};
    ReadChildRefs(block, keys, 1 + ButtonCount);
}

std::unique_ptr<PXEntityBase> PXEntityMessageBoxType::CreateEntity()
{
    return std::make_unique<PXEntityMessageBox>(this);
}

bool PXEntityMessageBoxType::IsA(uint32_t kind) const
{
    return kind == PXKind::MessageBox || PXEntityDialogBoxType::IsA(kind);
}

PXEntityMessageBox::PXEntityMessageBox(PXEntityBaseType* type) : PXEntityDialogBox(type)
{
    BoxType()->Load(false);
}

PXEntityMessageBox::~PXEntityMessageBox()
{
    // The buttons belong to the type, which every box of it shares.
    m_focus.Release(FocusElements());
}

void PXEntityMessageBox::SetMessage(const std::string& text)
{
    BoxType()->Load(false);
    m_message = text;
    m_textShown = true;
    if (PXEntity2DGUIElement* element = BoxType()->GetText()) {
        element->SetStringProperty(PXTextProp::Text, text);
        // A text element measures itself when it updates.
        element->Update(0.0f);
        element->GetProperty(PXTextProp::Width, &m_textWidth);
        element->GetProperty(PXTextProp::Height, &m_textHeight);
    }
    Resize();
}

void PXEntityMessageBox::SetButtons(int32_t style)
{
    BoxType()->Load(false);
    for (int i = 0; i < PXEntityMessageBoxType::ButtonCount; ++i) {
        m_shown[static_cast<size_t>(i)] = (style & (1 << i)) != 0;
    }
    if (style != 0) {
        m_buttonsWidth = 0;
        m_buttonsHeight = 0;
        for (int i = 0; i < PXEntityMessageBoxType::ButtonCount; ++i) {
            PXEntity2DGUIElement* button = BoxType()->GetButton(i);
            if (!m_shown[static_cast<size_t>(i)] || button == nullptr) {
                continue;
            }
            // A button takes its size from its picture when it updates.
            button->Update(0.0f);
            m_buttonsHeight = std::max(m_buttonsHeight, button->GetHeight());
            m_buttonsWidth += button->GetWidth() + Gap;
        }
        if (m_buttonsHeight != 0) {
            m_buttonsHeight += Gap;
        }
        if (m_buttonsWidth != 0) {
            m_buttonsWidth -= Gap;
        }
    }
    Resize();
}

void PXEntityMessageBox::Resize()
{
    const PXEntityDialogFrame* frame = GetFrame();
    const int32_t extraWidth = frame != nullptr ? frame->GetExtraWidth() : 0;
    const int32_t extraHeight = frame != nullptr ? frame->GetExtraHeight() : 0;
    SetSize(std::max(m_textWidth, m_buttonsWidth) + extraWidth, m_textHeight + m_buttonsHeight + extraHeight);
}

void PXEntityMessageBox::SetSize(int32_t width, int32_t height)
{
    width = std::max(width, MinWidth);
    height = std::max(height, MinHeight);
    const PXPoint c = GetClientOffset();
    m_textPos = PXPoint{width / 2 - c.x, 0};
    int32_t x = (width - m_buttonsWidth) / 2 - c.x;
    for (int i = 0; i < PXEntityMessageBoxType::ButtonCount; ++i) {
        PXEntity2DGUIElement* button = BoxType()->GetButton(i);
        if (!m_shown[static_cast<size_t>(i)] || button == nullptr) {
            continue;
        }
        m_buttonPos[static_cast<size_t>(i)] = PXPoint{x, m_textHeight + Gap};
        x += button->GetWidth() + Gap;
    }
    PXEntityDialogBox::SetSize(width, height);
}

void PXEntityMessageBox::Place(PXEntity2DGUIElement* child, const PXPoint& offset) const
{
    if (child != nullptr) {
        const PXPoint c = GetClientOffset();
        child->SetPosition({m_x + offset.x + c.x, m_y + offset.y + c.y});
    }
}

void PXEntityMessageBox::PlaceChildren()
{
    Place(BoxType()->GetText(), m_textPos);
    for (int i = 0; i < PXEntityMessageBoxType::ButtonCount; ++i) {
        Place(BoxType()->GetButton(i), m_buttonPos[static_cast<size_t>(i)]);
    }
}

bool PXEntityMessageBox::Update(float elapsedMs)
{
    BoxType()->Load(false);
    PlaceChildren();
    if (PXEntity2DGUIElement* text = BoxType()->GetText()) {
        text->Update(elapsedMs);
    }
    for (int i = 0; i < PXEntityMessageBoxType::ButtonCount; ++i) {
        if (PXEntity2DGUIElement* button = BoxType()->GetButton(i)) {
            button->Update(elapsedMs);
        }
    }
    return PXEntityDialogBox::Update(elapsedMs);
}

bool PXEntityMessageBox::Draw()
{
    BoxType()->Load(false);
    PXEntityDialogBox::Draw();
    PlaceChildren();
    PXEntity2DGUIElement* text = BoxType()->GetText();
    if (m_textShown && text != nullptr) {
        text->Draw();
    }
    for (int i = 0; i < PXEntityMessageBoxType::ButtonCount; ++i) {
        PXEntity2DGUIElement* button = BoxType()->GetButton(i);
        if (m_shown[static_cast<size_t>(i)] && button != nullptr) {
            button->Draw();
        }
    }
    return true;
}

bool PXEntityMessageBox::DialogMouseUp(const PXPoint* point, int button)
{
    if (point != nullptr) {
        for (int i = 0; i < PXEntityMessageBoxType::ButtonCount; ++i) {
            PXEntity2DGUIElement* element = BoxType()->GetButton(i);
            if (m_shown[static_cast<size_t>(i)] && element != nullptr && element->Click(*point)) {
                Answer(i);
                break;
            }
        }
    }
    return PXEntityDialogBox::DialogMouseUp(point, button);
}

PXFocusGroup::Elements PXEntityMessageBox::FocusElements() const
{
    PXFocusGroup::Elements elements;
    for (int i = 0; i < PXEntityMessageBoxType::ButtonCount; ++i) {
        PXEntity2DGUIElement* element = BoxType()->GetButton(i);
        if (m_shown[static_cast<size_t>(i)] && element != nullptr) {
            elements.push_back(element);
        }
    }
    return elements;
}

void PXEntityMessageBox::Answer(int index)
{
    CloseWithResult(ButtonResults[index]);
}

void PXEntityMessageBox::OnFocusPressed(PXEntity2DGUIElement* element)
{
    for (int i = 0; i < PXEntityMessageBoxType::ButtonCount; ++i) {
        if (m_shown[static_cast<size_t>(i)] && BoxType()->GetButton(i) == element) {
            Answer(i);
            return;
        }
    }
}

bool PXEntityMessageBox::OnDialogAction(PXInputAction action)
{
    if (action == PXInputAction::Back) {
        CloseWithResult(m_shown[PXEntityMessageBoxType::ButtonCancel]
                            ? ButtonResults[PXEntityMessageBoxType::ButtonCancel]
                            : EscapeResult);
        return true;
    }
    return PXEntityDialogBox::OnDialogAction(action);
}

bool PXEntityMessageBox::DialogKeyDown(int key)
{
    // Any key stops a count-down.
    PXEntityDialogBox::DialogKeyDown(key);
    const auto shown = [this](int index) { return m_shown[static_cast<size_t>(index)]; };
    const PXInputAction action = g_inputMap.ForKey(PXInputContext::Menu, key);
    if ((key == 'N' || key == 'n') && shown(PXEntityMessageBoxType::ButtonNo)) {
        Answer(PXEntityMessageBoxType::ButtonNo);
    } else if ((key == 'Y' || key == 'y') && shown(PXEntityMessageBoxType::ButtonYes)) {
        Answer(PXEntityMessageBoxType::ButtonYes);
    } else if (action == PXInputAction::Press && !m_focus.IsShown() && shown(PXEntityMessageBoxType::ButtonOK)) {
        Answer(PXEntityMessageBoxType::ButtonOK);
    } else {
        OnDialogAction(action);
    }
    return true;
}
