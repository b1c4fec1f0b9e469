// The name-entry scene: the offered name replaced by the first character, typing into the
// name field, and closing its host dialog with Enter, Escape or OK.
#include "engine/gui/PXEntityHighScoreInputScene.h"

#include "engine/core/PXEvent.h"
#include "engine/core/PXInputMap.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXSceneDialog.h"
#include "engine/gui/PXEntity2DGUIText.h"
#include "engine/gui/PXPropertyIds.h"

PXEntityHighScoreInputSceneType::PXEntityHighScoreInputSceneType(const PXDefinitionBlock* block)
    : PXEntity2DSceneType(block)
{
    if (block == nullptr) {
        return;
    }
    m_nameEntry = AddSlot("NameEntry", *block);
    m_okButton = AddSlot("OKButton", *block);
}

std::unique_ptr<PXEntityBase> PXEntityHighScoreInputSceneType::CreateEntity()
{
    return std::make_unique<PXEntityHighScoreInputScene>(this);
}

bool PXEntityHighScoreInputSceneType::IsA(uint32_t kind) const
{
    return kind == PXKind::HighScoreInputScene || PXEntity2DSceneType::IsA(kind);
}

PXEntityHighScoreInputScene::PXEntityHighScoreInputScene(PXEntityHighScoreInputSceneType* type)
    : PXEntity2DScene(type)
{
    ShowName();
}

void PXEntityHighScoreInputScene::ShowName()
{
    PXSceneElement* record = InputType()->GetNameEntry();
    if (record != nullptr && record->entity != nullptr) {
        record->entity->SetStringProperty(PXTextProp::Text, m_enteredName);
        record->entity->SetProperty(PXTextProp::Editing, 1);
    }
}

void PXEntityHighScoreInputScene::SetName(const std::string& name)
{
    m_enteredName = name;
    ShowName();
}

bool PXEntityHighScoreInputScene::ReplacesOfferedName(int key)
{
    // Characters and Backspace; arrows, Shift, Control and the function keys leave the
    // offered name alone.
    return key == KeyBackspace || PXEntity2DGUIText::IsCharacterKey(key);
}

void PXEntityHighScoreInputScene::CloseHost()
{
    if (PXSceneDialog* host = GetHostDialog()) {
        host->CloseWithResult(0);
    }
}

bool PXEntityHighScoreInputScene::OnKeyDown(int key)
{
    const PXInputAction action =
        PXEntity2DGUIText::IsCharacterKey(key) ? PXInputAction::None : g_inputMap.ForKey(PXInputContext::Menu, key);
    // Escape closes like Enter and keeps the name shown: the score is entered either way.
    // Enter presses the focused button when the focus is shown; OK is the only one.
    if (action == PXInputAction::Press || action == PXInputAction::Back) {
        if (action == PXInputAction::Back || !GetFocus().IsShown() || !OnInputAction(action)) {
            CloseHost();
        }
        return false;
    }
    if (action == PXInputAction::FocusNext || action == PXInputAction::FocusPrevious) {
        OnInputAction(action);
        return false;
    }
    PXSceneElement* record = InputType()->GetNameEntry();
    if (record == nullptr || record->entity == nullptr) {
        return false;
    }
    if (m_clearOnFirstKey && ReplacesOfferedName(key)) {
        record->entity->SetStringProperty(PXTextProp::Text, "");
        m_clearOnFirstKey = false;
    }
    TypeIntoElement(*record, key, &m_enteredName, MaxNameLength);
    return false;
}

bool PXEntityHighScoreInputScene::OnElementPressed(PXEntity2DGUIElement* element)
{
    if (element == nullptr || element != InputType()->SlotEntity(InputType()->GetOKSlot())) {
        return false;
    }
    CloseHost();
    return true;
}

bool PXEntityHighScoreInputScene::OnBack()
{
    CloseHost();
    return true;
}
